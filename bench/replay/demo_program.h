#pragma once
// The whole program as main() puts it together, on the demo setup, without a person: every
// message box is answered with its default button and the settings stay in memory.
#include <QAction>
#include <QToolBar>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/offline_replay.h"
#include "app/program.h"
#include "app/program_core.h"
#include "platform/app_folder.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/qt/qt_devices.h"
#include "platform/settings_store.h"
#include "views/nmea_monitor_window.h"

namespace tiderune::demo {

// Writes a demo setup (examples/Tiderune.ini.in, or the second demo's Tiderune-nav.ini.in)
// into the program folder `home`, replaying `recording`.
inline bool installDemoSetup(const std::string& home, const std::string& recording,
                             const std::string& setupTemplate = "Tiderune.ini.in") {
    std::ifstream in(std::string(TIDERUNE_SOURCE_DIR) + "/examples/" + setupTemplate, std::ios::binary);
    if (!in) return false;
    std::stringstream text;
    text << in.rdbuf();
    std::string setup = text.str();
    // The recording's path in the template: "@EXAMPLES@/<name>.nmea".
    const std::string marker = "@EXAMPLES@/";
    for (auto at = setup.find(marker); at != std::string::npos; at = setup.find(marker, at + recording.size())) {
        const auto end = setup.find('"', at);
        setup.replace(at, end - at, recording);
    }
    AppFolder(home).ensureExists();
    std::ofstream(home + "/Tiderune.ini", std::ios::binary) << setup;
    return true;
}

struct Program {
    explicit Program(const std::string& home) : folder(home) {
        shell = std::make_unique<Shell>(core, ShellServices{boxes, settings, fileDialogs, devices, clock, folder.text()});
        program = std::make_unique<tiderune::Program>(*shell, [] {});
        window = &program->window();
        replay = &program->replay();
        replay->beep = [] {};
        program->start();
    }
    ~Program() {
        window->hide();
        program.reset();
    }
    void click(const char* key) { MainWindow::button(window->offlineToolBar(), key)->trigger(); }

    ProgramCore core;
    ScriptedMessageBoxes boxes;
    MemorySettingsStore settings;
    ScriptedFileDialogs fileDialogs;
    QtDeviceFactory devices;
    SystemClock clock;
    AppFolder folder;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<tiderune::Program> program;
    MainWindow* window = nullptr;
    OfflineReplay* replay = nullptr;
};

}  // namespace tiderune::demo
