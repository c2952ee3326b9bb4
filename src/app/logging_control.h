#pragma once
// Raw-data logging and the error log in the running program: the LOG key switches the
// logger and keeps its caption and the logging panel in step with it, every line the intake
// logs goes to the system's file, and the error log asks its question once the event that
// raised it is over.
#include <functional>
#include <string_view>

#include "frame/gated_message_boxes.h"
#include "app/logic/error_log.h"
#include "app/logic/raw_data_logger.h"
#include "platform/app_folder.h"

namespace tiderune {

class MainWindow;
class Shell;

class LoggingControl {
public:
    // endProgram ends the program at once when the user answers No to the error question;
    // the logs are closed before it runs.
    LoggingControl(MainWindow& window, std::function<void()> endProgram);
    LoggingControl(const LoggingControl&) = delete;
    LoggingControl& operator=(const LoggingControl&) = delete;

    // The LOG key and the program's end: logging on or off for the systems in use now.
    void ToggleLogging();
    // A line the intake logs, to the system's file.
    void WriteLogLine(int system, std::string_view text);
    // The error question, when one is due; for the event gate once it is free again.
    void askErrorQuestions();

    RawDataLogger& logger() { return logger_; }
    // Shared by the receive handlers and the replay: one count for the whole run.
    ErrorLog& errorLog() { return errorLog_; }

private:
    void showLoggingState();

    MainWindow& window_;
    Shell& shell_;
    AppFolder folder_;
    GatedMessageBoxes boxes_;
    RawDataLogger logger_;
    ErrorLog errorLog_;
    bool asking_ = false;
};

}  // namespace tiderune
