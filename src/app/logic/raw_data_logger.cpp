#include "raw_data_logger.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/number_text.h"
#include "session_files.h"

namespace tiderune {

RawDataLogger::RawDataLogger(const AppFolder& folder, const Clock& clock, MessageBoxes& boxes, NoticeSink& notices)
    : folder_(folder), clock_(clock), boxes_(boxes), notices_(notices) {}

RawDataLogger::~RawDataLogger() { closeAll(); }

bool RawDataLogger::isOpen(int system) const { return isValidSystem(system) && files_[system].fd >= 0; }

void RawDataLogger::closeFile(int system) {
    File& f = files_[system];
    if (f.fd >= 0) ::close(f.fd);
    f = File{};
}

std::string RawDataLogger::folderText() const { return latin1FromFileName(folder_.text() + "log/"); }

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
                const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
                struct stat st {};
                if (fd >= 0 && ::fstat(fd, &st) == 0) {
                    closeFile(s);
                    files_[s] = File{fd, static_cast<std::int64_t>(st.st_size)};
                    opened += (got++ ? "\r\n" : "") + latin1FromFileName(name);
                    continue;
                }
                reason = std::strerror(errno);
                if (fd >= 0) ::close(fd);
            }
            failed += "\r\n" + latin1FromFileName(path) + " : " + reason;
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
        if (files_[s].fd < 0) continue;
        closeFile(s);
        closed += (n++ ? "\r\n" : "") + latin1FromFileName(names_[s]);
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
    // The line and its end go in one write, so that a line is either in the file whole or,
    // after a failure, cut off again.
    std::string whole;
    whole.reserve(text.size() + 2);
    whole.append(text).append("\r\n");
    File& f = files_[system];
    std::size_t done = 0;
    int error = 0;
    while (done < whole.size()) {
        const ssize_t n = ::write(f.fd, whole.data() + done, whole.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            // A short write is followed by one that says why (a full disk, a size limit).
            error = n < 0 ? errno : ENOSPC;
            break;
        }
    }
    if (error == 0) {
        f.wholeSize += static_cast<std::int64_t>(whole.size());
        return;
    }
    // What went in of the torn line is taken out again (a device such as /dev/full has no
    // size to cut back to, and holds nothing anyway).
    if (done > 0) {
        struct stat st {};
        if (::fstat(f.fd, &st) == 0 && S_ISREG(st.st_mode)) (void)::ftruncate(f.fd, f.wholeSize);
    }
    const std::string reason = std::strerror(error);
    closeFile(system);
    notices_.notice({"Logging stopped for system " + std::to_string(system) + ". The file " +
                         latin1FromFileName((folder_.logFolder() / names_[system]).string()) + " could not be written : " + reason,
                     "", NoticeIcon::Critical});
}

void RawDataLogger::closeAll() {
    for (int s = 1; s <= MaxSystems; ++s) closeFile(s);
    on_ = false;
}

}  // namespace tiderune
