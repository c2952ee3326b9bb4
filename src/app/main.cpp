// Tiderune: statistical analysis of NMEA 0183 sentences from up to four sources.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/about_box.h"
#include "app/all_windows.h"
#include "app/live_sources.h"
#include "app/logging_control.h"
#include "app/main_window.h"
#include "app/offline_replay.h"
#include "app/program_core.h"
#include "app/session_print.h"
#include "app/setup_session.h"
#include "platform/app_folder.h"
#include "platform/qt/qt_devices.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_settings_store.h"
#include "setup/setup_windows.h"

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
    tiderune::installAllWindows(shell.registry);
    tiderune::MainWindow window(shell);
    // No at the question after too many errors ends the program at once: no setup file, no
    // window placement; the logs are closed by then.
    tiderune::LoggingControl logging(window, [&settings] {
        settings.sync();
        std::fflush(nullptr);
        std::_Exit(0);
    });
    tiderune::LiveSources live(window, logging.errorLog());
    tiderune::OfflineReplay replay(window, logging.errorLog());
    tiderune::AppSetupSession setupSession(window, [&live](int s) { return live.IgnoredCount(s); });
    tiderune::SetupWindows setup(shell, setupSession, &window);
    window.hooks.setupSystem = [&setup](int s) { setup.mnuSetupSystemClick(s); };
    window.hooks.latLonFormat = [&setup] { setup.mnuOptionLatLonFormatClick(); };
    tiderune::SessionPrint print(window);
    window.hooks.about = [&shell, &window] { tiderune::showAboutBox(shell, &window); };
    boxes.setParent(&window);
    fileDialogs.setParent(&window);
    window.MDIFormLoad();
    window.show();
    int rc = app.exec();
    settings.sync();
    return rc;
}
