#include "raw_data_logger.h"

#include <cstring>

#include "core/code_page.h"
#include "session_files.h"

namespace tiderune {

RawDataLogger::RawDataLogger(const AppFolder& folder, const Clock& clock, MessageBoxes& boxes, NoticeSink& notices)
    : folder_(folder), clock_(clock), boxes_(boxes), notices_(notices) {}

RawDataLogger::~RawDataLogger() { closeAll(); }

std::string RawDataLogger::folderText() const { return fileNameText(folder_.text() + "log/"); }

void RawDataLogger::toggle(const PerSystem<LoggedSystem>& systems) {
    if (!on_) {
        on_ = true;
        std::string folderError;
        const bool haveFolder = ensureFolder(folder_.logFolder(), &folderError);
        std::string opened, failed;
        int wanted = 0, got = 0;
        for (int s = 1; s <= MaxSystems; ++s) {
            if (!systems[s].inUse) continue;
            ++wanted;
            const std::string name = sessionFileName(clock_.now(), s, systems[s].name, ".log");
            names_[s] = name;
            const std::string path = (folder_.logFolder() / name).string();
            std::string reason = folderError;
            if (haveFolder) {
                const int error = files_[s].open(path);
                if (error == 0) {
                    opened += (got++ ? "\r\n" : "") + fileNameText(name);
                    continue;
                }
                reason = std::strerror(error);
            }
            failed += "\r\n" + fileNameText(path) + " : " + reason;
        }
        if (wanted > 0 && got == 0) on_ = false;
        if (on_)
            boxes_.inform("Logging started. Data will be stored in file " + folderText() + "\r\n" + opened,
                          MessageIcon::Information);
        if (!failed.empty())
            boxes_.inform("Logging failed. These files could not be opened :" + failed, MessageIcon::Critical);
        return;
    }
    on_ = false;
    std::string closed;
    int n = 0;
    for (int s = 1; s <= MaxSystems; ++s) {
        if (!files_[s].isOpen()) continue;
        files_[s].close();
        closed += (n++ ? "\r\n" : "") + fileNameText(names_[s]);
    }
    boxes_.inform("Logging stopped. Data stored in file " + folderText() + "\r\n" + closed, MessageIcon::Information);
}

void RawDataLogger::writeLine(int system, std::string_view text) {
    if (!isOpen(system)) return;
    // Received lines keep their line end, replayed ones have none: both are written with one
    // CR LF, so that the file replays again.
    if (text.size() > 5 && text.back() == '\n') {
        text.remove_suffix(1);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    }
    std::string whole;
    whole.reserve(text.size() + 2);
    whole.append(text).append("\r\n");
    const int error = files_[system].append(whole);
    if (error == 0) return;
    files_[system].close();
    notices_.notice({"Logging stopped for system " + std::to_string(system) + ". The file " +
                         fileNameText((folder_.logFolder() / names_[system]).string()) +
                         " could not be written : " + std::strerror(error),
                     "", NoticeIcon::Critical});
}

void RawDataLogger::closeAll() {
    for (AppendedFile& f : files_) f.close();
    on_ = false;
}

}  // namespace tiderune
