#include "raw_data_logger.h"

#include <cerrno>
#include <cstring>

#include "session_files.h"

namespace tiderune {

RawDataLogger::RawDataLogger(const AppFolder& folder, const Clock& clock, MessageBoxes& boxes, NoticeSink& notices)
    : folder_(folder), clock_(clock), boxes_(boxes), notices_(notices) {}

RawDataLogger::~RawDataLogger() = default;

bool RawDataLogger::isOpen(int system) const { return isValidSystem(system) && files_[system] != nullptr; }

std::string RawDataLogger::folderText() const { return folder_.text() + "log/"; }

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
                if (std::FILE* f = std::fopen(path.c_str(), "ab")) {
                    files_[s].reset(f);
                    opened += (got++ ? "\r\n" : "") + name;
                    continue;
                }
                reason = std::strerror(errno);
            }
            failed += "\r\n" + path + " : " + reason;
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
        if (!files_[s]) continue;
        files_[s].reset();
        closed += (n++ ? "\r\n" : "") + names_[s];
    }
    boxes_.inform("Logging stopped. Data stored in file " + folderText() + "\r\n" + closed, MessageIcon::Information);
}

void RawDataLogger::writeLine(int system, std::string_view text) {
    if (!isValidSystem(system) || !files_[system]) return;
    // Received lines keep their line end, replayed ones have none: both are written with one
    // CR LF, so that the file replays again.
    if (text.size() > 5 && text.back() == '\n') {
        text.remove_suffix(1);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    }
    std::FILE* f = files_[system].get();
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size() && std::fwrite("\r\n", 1, 2, f) == 2 &&
                    std::fflush(f) == 0;
    if (ok) return;
    const std::string reason = std::strerror(errno);
    files_[system].reset();
    notices_.notice({"Logging stopped for system " + std::to_string(system) + ". The file " +
                         (folder_.logFolder() / names_[system]).string() + " could not be written : " + reason,
                     "", NoticeIcon::Critical});
}

void RawDataLogger::closeAll() {
    for (auto& f : files_) f.reset();
    on_ = false;
}

}  // namespace tiderune
