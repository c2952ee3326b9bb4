#include "app/program.h"

#include "app/about_box.h"
#include "app/all_windows.h"
#include "app/live_sources.h"
#include "app/logging_control.h"
#include "app/offline_replay.h"
#include "app/session_print.h"
#include "app/setup_session.h"
#include "setup/setup_windows.h"

namespace tiderune {

Program::Program(Shell& shell, std::function<void()> endProgram)
    : shell_(shell),
      window_(shell),
      logging_(std::make_unique<LoggingControl>(window_, std::move(endProgram))),
      live_(std::make_unique<LiveSources>(window_, logging_->errorLog())),
      replay_(std::make_unique<OfflineReplay>(window_, logging_->errorLog())),
      setupSession_(std::make_unique<AppSetupSession>(window_, [this](int s) { return live_->IgnoredCount(s); })),
      setup_(std::make_unique<SetupWindows>(shell, *setupSession_, &window_)),
      print_(std::make_unique<SessionPrint>(window_)) {
    installAllWindows(shell_.registry);
    wireHooks();
}

Program::~Program() {
    // Nothing may reach a part while the parts go.
    shell_.gate.onIdle = nullptr;
    shell_.sink.onLogLine = nullptr;
    window_.hooks = {};
}

void Program::wireHooks() {
    window_.hooks = SessionHooks{
        .toggleLogging = [this] { logging_->ToggleLogging(); },
        .offlineButton = [this](const QString& key) { replay_->tbOfflineButtonClick(key); },
        .print = [this] { print_->filePrint(); },
        .setupSystem = [this](int s) { setup_->mnuSetupSystemClick(s); },
        .latLonFormat = [this] { setup_->mnuOptionLatLonFormatClick(); },
        .about = [this] { showAboutBox(shell_, &window_); },
    };
    shell_.sink.onLogLine = [this](int system, std::string_view text) { logging_->WriteLogLine(system, text); };
    // The error question is asked once the event that raised it is over, never inside a line.
    shell_.gate.onIdle = [this] { logging_->askErrorQuestions(); };
}

void Program::start() {
    window_.MDIFormLoad();
    window_.show();
}

}  // namespace tiderune
