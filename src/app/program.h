#pragma once
// The program put together, in one place for main(), the tests and the benchmarks: every
// window library registered, the main window and the parts of the session control made in a
// fixed order, and every hook of the main window and of the data path wired here. No part
// fills a hook by being made, so nothing depends on which part happened to be made last,
// and no part can be left out of one assembly and not of another.
#include <functional>
#include <memory>

#include "app/main_window.h"

namespace tiderune {

class AppSetupSession;
class LiveSources;
class LoggingControl;
class OfflineReplay;
class SessionPrint;
class SetupWindows;

class Program {
public:
    // `endProgram` ends the program at once when the user answers No to the question after
    // too many errors; the logs are closed before it runs.
    Program(Shell& shell, std::function<void()> endProgram);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The start-up (placement, setup file, sources), then the main window is shown.
    void start();

    MainWindow& window() { return window_; }
    LoggingControl& logging() { return *logging_; }
    LiveSources& live() { return *live_; }
    OfflineReplay& replay() { return *replay_; }
    SetupWindows& setup() { return *setup_; }
    SessionPrint& print() { return *print_; }

private:
    void wireHooks();

    Shell& shell_;
    // Made in this order, destroyed in the reverse one: every part works on the main window;
    // the live sources and the replay write to the logging's error log; the setup session
    // reads the live sources' counts of ignored lines and the setup windows use it. Each is
    // made by the constructor and never empty.
    MainWindow window_;
    std::unique_ptr<LoggingControl> logging_;
    std::unique_ptr<LiveSources> live_;
    std::unique_ptr<OfflineReplay> replay_;
    std::unique_ptr<AppSetupSession> setupSession_;
    std::unique_ptr<SetupWindows> setup_;
    std::unique_ptr<SessionPrint> print_;
};

}  // namespace tiderune
