#include "replay_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/errors.h"

namespace tiderune {

namespace {
constexpr std::size_t BufferSize = 1 << 16;

[[noreturn]] void throwOpenError(const std::string& path, int error) {
    switch (error) {
    case ENOENT: {
        // The users tell "the file is missing" from "the folder is missing".
        const auto slash = path.find_last_of('/');
        struct stat st {};
        if (slash != std::string::npos && slash > 0 && ::stat(path.substr(0, slash).c_str(), &st) != 0)
            throw RuntimeError(err::PathNotFound, "Path not found");
        throw RuntimeError(err::FileNotFound, "File not found");
    }
    case ENOTDIR: throw RuntimeError(err::PathNotFound, "Path not found");
    case EACCES:
    case EPERM: throw RuntimeError(err::PermissionDenied, "Permission denied");
    default: throw RuntimeError(err::PathFileAccessError, "Path/File access error");
    }
}
}  // namespace

ReplayFile::~ReplayFile() { close(); }

void ReplayFile::open(const std::string& path) {
    close();
    if (path.empty()) throw RuntimeError(52, "Bad file name or number");
    // Opened without waiting, so that a named pipe cannot hold the replay up before it is
    // refused: only a regular file has an end to replay up to (a folder, a pipe or a device
    // such as /dev/zero has none).
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throwOpenError(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw RuntimeError(err::PathFileAccessError, "Path/File access error");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        const int e = errno;
        ::close(fd);
        throwOpenError(path, e);
    }
    file_ = f;
    buffer_.resize(BufferSize);
    pos_ = end_ = 0;
    lfAt_ = NoLineFeed;
    lfSearched_ = 0;
    eof_ = false;
    skipping_ = false;
    dropped_ = 0;
    readError_.clear();
}

void ReplayFile::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    pos_ = end_ = 0;
    lfAt_ = NoLineFeed;
    lfSearched_ = 0;
    eof_ = true;
    skipping_ = false;
}

bool ReplayFile::fill() {
    if (!file_ || eof_) return false;
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        lfAt_ = lfAt_ == NoLineFeed || lfAt_ < pos_ ? NoLineFeed : lfAt_ - pos_;
        lfSearched_ = lfSearched_ > pos_ ? lfSearched_ - pos_ : 0;
        pos_ = 0;
    }
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    const std::size_t n = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
    end_ += n;
    if (n == 0) {
        if (std::ferror(file_)) readError_ = std::strerror(errno);
        eof_ = true;
        return false;
    }
    return true;
}

bool ReplayFile::atEnd() {
    if (pos_ < end_) return false;
    if (fill()) return false;
    // An over-long last line ends with the file.
    if (skipping_) {
        ++dropped_;
        skipping_ = false;
    }
    return true;
}

std::size_t ReplayFile::nextLineFeed() {
    if (lfAt_ == NoLineFeed || lfAt_ < pos_) {
        const std::size_t from = std::max(pos_, lfSearched_);
        const void* lf = std::memchr(buffer_.data() + from, '\n', end_ - from);
        lfAt_ = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - buffer_.data()) : NoLineFeed;
        lfSearched_ = lf ? lfAt_ + 1 : end_;
    }
    return lfAt_ == NoLineFeed ? end_ : lfAt_;
}

bool ReplayFile::readLine(std::string& line) {
    for (;;) {
        const Read r = read(line);
        if (r != Read::Skipping) return r == Read::Line;
    }
}

ReplayFile::Read ReplayFile::read(std::string& line) {
    line.clear();
    if (atEnd()) return Read::End;
    std::size_t crFrom = pos_;  // no carriage return lies before this
    std::size_t passed = 0;     // bytes of an over-long line passed over in this call
    for (;;) {
        // The next line feed is searched for only past where the last search ended, and a
        // carriage return only before it: each byte is looked at about once, whatever ends
        // the lines (a file of lone carriage returns would otherwise be searched to the end
        // of the buffer for a line feed once per line).
        const std::size_t limit = nextLineFeed();
        const void* cr = std::memchr(buffer_.data() + crFrom, '\r', limit - crFrom);
        const std::size_t stop = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - buffer_.data()) : limit;
        if (stop < end_) {
            // A carriage return at the very end of what is buffered may have its line feed in
            // the next block: read on before deciding.
            if (cr && stop + 1 == end_ && !eof_) {
                const std::size_t rel = stop - pos_;
                fill();  // may move the buffered bytes: look again from the same place
                crFrom = pos_ + rel;
                continue;
            }
            const bool keep = !skipping_ && stop - pos_ <= MaxLineLength;
            if (keep) line.assign(buffer_.data() + pos_, stop - pos_);
            pos_ = stop + 1;
            if (cr && pos_ < end_ && buffer_[pos_] == '\n') ++pos_;
            if (keep) return Read::Line;
            // The end of a line too long to be a sentence: it is dropped whole, and the next
            // line is read in its place.
            ++dropped_;
            skipping_ = false;
            if (atEnd()) return Read::End;
            crFrom = pos_;
            continue;
        }
        // No line end buffered yet. A line already longer than any sentence is not kept: its
        // bytes are passed over as they come, so the buffer never grows for it, and every few
        // megabytes the caller gets its turn.
        if (skipping_ || end_ - pos_ > MaxLineLength) {
            skipping_ = true;
            passed += end_ - pos_;
            pos_ = end_;
            if (passed >= SkipStep) return Read::Skipping;
        }
        // Read more, or hand out the last unterminated line.
        const std::size_t rel = end_ - pos_;
        if (!fill()) {
            if (skipping_) {
                ++dropped_;
                skipping_ = false;
                return Read::End;
            }
            line.assign(buffer_.data() + pos_, end_ - pos_);
            pos_ = end_;
            return Read::Line;
        }
        crFrom = pos_ + rel;
    }
}

}  // namespace tiderune
