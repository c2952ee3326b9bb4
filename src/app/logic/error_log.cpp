#include "error_log.h"

#include <cstdio>
#include <cstring>

#include "appended_file.h"
#include "core/code_page.h"
#include "core/errors.h"
#include "raw_data_logger.h"

namespace tiderune {

ErrorLog::ErrorLog(const AppFolder& folder, const Clock& clock, MessageBoxes& boxes, NoticeSink& notices,
                   std::function<void()> endProgram)
    : folder_(folder), clock_(clock), boxes_(boxes), notices_(notices), endProgram_(std::move(endProgram)) {}

std::string ErrorLog::entryLine(const ClockTime& t, std::string_view description) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%04d %s %02d %02d:%02d:%02d", t.year % 10000, monthAbbreviation(t.month),
                  t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
    std::string line = stamp;
    line += " - Error description : ";
    line += description;
    line += "\r\n";
    return line;
}

std::string ErrorLog::questionText(const ClockTime& t, std::string_view description, const std::string& logFile) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, " %02d:%02d:%02d %s %02d", t.hour % 100, t.minute % 100, t.second % 100,
                  monthAbbreviation(t.month), t.day % 100);
    std::string text = stamp;
    text += " - Error description : ";
    text += description;
    text += "   More than 10 errors has occurred. Do you wan't to continue anyway? (All Error messages are stored in file ";
    text += logFile;
    return text;
}

void ErrorLog::append(std::string_view description, const ClockTime& t) {
    std::string reason;
    if (ensureFolder(folder_.errorLogFolder(), &reason)) {
        // Opened and closed again for every entry. An entry that does not fit (a full disk)
        // is left out whole, so that the next one starts a line of its own.
        AppendedFile file;
        int error = file.open(folder_.errorLogFile());
        if (error == 0) error = file.append(entryLine(t, description));
        const int closed = file.close();
        if (error == 0) error = closed;
        if (error == 0) return;
        reason = std::strerror(error);
    }
    if (failureReported_) return;
    failureReported_ = true;
    notices_.notice({"The error log " + fileNameText(folder_.errorLogFile().string()) + " could not be written : " + reason, "",
                     NoticeIcon::Critical});
}

void ErrorLog::write(std::string_view description) {
    const ClockTime t = clock_.now();
    ++count_;
    append(description, t);
    if (count_ > 10) {
        count_ = 0;
        if (!question_ && !asking_) question_ = questionText(t, description, fileNameText(folder_.errorLogFile().string()));
    }
}

void ErrorLog::write(const std::exception& error) {
    if (auto* r = dynamic_cast<const RuntimeError*>(&error))
        write(r->description());
    else
        write(std::string_view(error.what()));
}

void ErrorLog::writeEntry(std::string_view description) { append(description, clock_.now()); }

bool ErrorLog::askIfDue() {
    while (question_) {
        const std::string text = std::move(*question_);
        question_.reset();
        asking_ = true;
        const bool goOn = boxes_.askYesNo(text, MessageAnswer::Yes, MessageIcon::Critical);
        asking_ = false;
        if (goOn) continue;
        if (logger_) logger_->closeAll();
        if (endProgram_) endProgram_();
        return false;
    }
    return true;
}

}  // namespace tiderune
