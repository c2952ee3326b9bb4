#pragma once
// The error log: run-time errors met while reading a serial port or a socket, or while
// replaying a file, are appended to "ErrorLog/ErrorLog.txt" in the program folder, one line
// each. After more than 10 of them the user is asked whether to go on; No ends the program.
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/notices.h"
#include "platform/app_folder.h"
#include "platform/clock.h"
#include "platform/message_box.h"

namespace tiderune {

class RawDataLogger;

class ErrorLog {
public:
    // endProgram ends the program at once, without saving the setup or any placement; it is
    // called after the raw-data logs have been closed.
    ErrorLog(const AppFolder& folder, const Clock& clock, MessageBoxes& boxes, NoticeSink& notices,
             std::function<void()> endProgram);

    // The raw-data logger whose files are closed before the program ends on No.
    void setRawDataLogger(RawDataLogger* logger) { logger_ = logger; }

    // Logs one caught error: counts it and appends its line. After more than 10 the question is
    // due and the count starts again at 0. At most one question is due or open at a time:
    // errors meanwhile are logged and counted, and raise no further question. Never throws: a
    // log that cannot be written is reported once, as a notice, and the data path goes on.
    void write(std::string_view description);
    void write(const std::exception& error);
    // Appends a line without counting it.
    void writeEntry(std::string_view description);

    // Asks the question when it is due. No closes the raw-data logs and ends the program. Call
    // it once the event that logged the errors is done: never while a line is being processed.
    // Returns false when the program is ending.
    bool askIfDue();
    bool questionDue() const { return question_.has_value(); }

    // Errors logged since the last question.
    std::int16_t count() const { return count_; }

    // "yyyy mmm dd hh:mm:ss - Error description : <description>" followed by CR LF.
    static std::string entryLine(const ClockTime& t, std::string_view description);
    // The question after more than 10 errors, naming the log file.
    static std::string questionText(const ClockTime& t, std::string_view description, const std::string& logFile);

private:
    void append(std::string_view description, const ClockTime& t);

    const AppFolder& folder_;
    const Clock& clock_;
    MessageBoxes& boxes_;
    NoticeSink& notices_;
    std::function<void()> endProgram_;
    RawDataLogger* logger_ = nullptr;
    std::int16_t count_ = 0;
    bool failureReported_ = false;
    std::optional<std::string> question_;
    bool asking_ = false;
};

}  // namespace tiderune
