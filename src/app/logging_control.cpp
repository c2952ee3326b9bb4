#include "app/logging_control.h"

#include <QAction>

#include "app/main_window.h"
#include "frame/shell.h"

namespace tiderune {

LoggingControl::LoggingControl(MainWindow& window, std::function<void()> endProgram)
    : window_(window),
      shell_(window.shell()),
      folder_(shell_.appFolder()),
      boxes_(shell_.gate),
      logger_(folder_, shell_.services.clock, boxes_, shell_.gate),
      errorLog_(folder_, shell_.services.clock, boxes_, shell_.gate, [this, end = std::move(endProgram)] {
          shell_.run.LoggingOn = false;
          if (end) end();
      }) {
    errorLog_.setRawDataLogger(&logger_);
}

void LoggingControl::ToggleLogging() {
    PerSystem<LoggedSystem> systems;
    for (int s = 1; s <= MaxSystems; ++s) systems[s] = {shell_.config.Systems[s].InUse, shell_.config.Systems[s].Name};
    logger_.toggle(systems);
    // When no file could be opened the logger stays off, and so does everything that shows it.
    shell_.run.LoggingOn = logger_.isOn();
}

void LoggingControl::WriteLogLine(int system, std::string_view text) {
    const bool wasOpen = logger_.isOpen(system);
    logger_.writeLine(system, text);
    if (!wasOpen || logger_.isOpen(system)) return;
    // The file failed and was closed (the logger has said so). With no file left open,
    // logging is over: switch it off so that the LOG key and the panel tell the truth and the
    // next press starts afresh.
    for (int s = 1; s <= MaxSystems; ++s)
        if (logger_.isOpen(s)) return;
    logger_.closeAll();
    shell_.run.LoggingOn = false;
    showLoggingState();
}

void LoggingControl::showLoggingState() {
    const bool on = shell_.run.LoggingOn;
    if (QAction* b = MainWindow::button(window_.onlineToolBar(), "LOG")) b->setText(on ? "LOG Off" : "LOG On");
    window_.setPanelText(2, on ? "Logging : On" : "Logging : Off");
}

void LoggingControl::askErrorQuestions() {
    // The question's own box lets waiting events through when it closes; the questions they
    // raise are taken by the loop that is already asking.
    if (asking_) return;
    asking_ = true;
    struct Reset {
        bool& b;
        ~Reset() { b = false; }
    } reset{asking_};
    errorLog_.askIfDue();
}

}  // namespace tiderune
