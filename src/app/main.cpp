// Tiderune: statistical analysis of NMEA 0183 sentences from up to four sources.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/program.h"
#include "app/program_core.h"
#include "platform/app_folder.h"
#include "platform/qt/qt_devices.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_settings_store.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(tiderune::ApplicationTitle);

    tiderune::ProgramCore core;
    tiderune::QtMessageBoxes boxes;
    tiderune::QtSettingsStore settings(tiderune::QtSettingsStore::defaultPath());
    tiderune::QtFileDialogs fileDialogs;
    tiderune::QtDeviceFactory devices;
    tiderune::SystemClock clock;
    tiderune::AppFolder folder = tiderune::AppFolder::fromEnvironment();

    tiderune::Shell shell(core, {boxes, settings, fileDialogs, devices, clock, folder.text()});
    // No at the question after too many errors ends the program at once: no setup file, no
    // window placement; the logs are closed by then.
    tiderune::Program program(shell, [&settings] {
        settings.sync();
        std::fflush(nullptr);
        std::_Exit(0);
    });
    boxes.setParent(&program.window());
    fileDialogs.setParent(&program.window());
    program.start();
    int rc = app.exec();
    settings.sync();
    return rc;
}
