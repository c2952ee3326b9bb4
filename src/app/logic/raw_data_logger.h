#pragma once
// Raw-data logging: while logging is on, every line received from a system in use is written
// to that system's file in the program folder's "log" folder, so that the session can be
// replayed later.
#include <string>
#include <string_view>

#include "appended_file.h"
#include "core/indexed.h"
#include "core/notices.h"
#include "platform/app_folder.h"
#include "platform/clock.h"
#include "platform/message_box.h"

namespace tiderune {

struct LoggedSystem {
    bool inUse = false;
    std::string name;
};

class RawDataLogger {
public:
    RawDataLogger(const AppFolder& folder, const Clock& clock, MessageBoxes& boxes, NoticeSink& notices);
    ~RawDataLogger();
    RawDataLogger(const RawDataLogger&) = delete;
    RawDataLogger& operator=(const RawDataLogger&) = delete;

    // The LOG key and the program's end: switches logging on (a file per system in use,
    // appended to when it exists already, so that switching on twice within a minute keeps
    // the first part) or off, and shows the "Logging started." or "Logging stopped." message.
    // A file that cannot be opened is reported in one message; when no file of a system in
    // use could be opened, logging stays off.
    void toggle(const PerSystem<LoggedSystem>& systems);

    // One received line of a system; nothing when the system has no open file. A line longer
    // than 5 characters loses its line end; every line is written with CR LF, straight to the
    // file. A file that cannot be written (a full disk) keeps its whole lines only, is closed
    // and reported once, as a notice: a later replay of it meets no torn sentence.
    void writeLine(int system, std::string_view text);

    // Closes every file without a message and switches logging off: the program is ending.
    void closeAll();

    bool isOn() const { return on_; }
    bool isOpen(int system) const { return isValidSystem(system) && files_[system].isOpen(); }
    // The name (without folder) of the system's last log file.
    const std::string& fileName(int system) const { return names_[system]; }

private:
    std::string folderText() const;

    const AppFolder& folder_;
    const Clock& clock_;
    MessageBoxes& boxes_;
    NoticeSink& notices_;
    bool on_ = false;
    PerSystem<AppendedFile> files_;
    PerSystem<std::string> names_;
};

}  // namespace tiderune
