#include "replay_file.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

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
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw RuntimeError(err::PathFileAccessError, "Path/File access error");
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) throwOpenError(path, errno);
    file_ = f;
    buffer_.resize(BufferSize);
    pos_ = end_ = 0;
    eof_ = false;
    readError_.clear();
}

void ReplayFile::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    pos_ = end_ = 0;
    eof_ = true;
}

bool ReplayFile::fill() {
    if (!file_ || eof_) return false;
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
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
    return !fill();
}

bool ReplayFile::readLine(std::string& line) {
    line.clear();
    if (atEnd()) return false;
    std::size_t scanned = pos_;
    for (;;) {
        const char* begin = buffer_.data() + scanned;
        const std::size_t left = end_ - scanned;
        // The line feed first, then a carriage return only before it: each byte is looked
        // at about once, however long the buffer.
        const char* lf = static_cast<const char*>(std::memchr(begin, '\n', left));
        const std::size_t limit = lf ? static_cast<std::size_t>(lf - begin) : left;
        const char* cr = static_cast<const char*>(std::memchr(begin, '\r', limit));
        const char* stop = cr ? cr : lf;
        if (stop) {
            const std::size_t at = static_cast<std::size_t>(stop - buffer_.data());
            // A carriage return at the very end of what is buffered may have its line feed in
            // the next block: read on before deciding.
            if (*stop == '\r' && at + 1 == end_ && !eof_) {
                const std::size_t rel = at - pos_;
                fill();  // may move the buffered bytes: look again from the same place
                scanned = pos_ + rel;
                continue;
            }
            const std::size_t stopAt = at;
            line.assign(buffer_.data() + pos_, stopAt - pos_);
            pos_ = stopAt + 1;
            if (*stop == '\r' && pos_ < end_ && buffer_[pos_] == '\n') ++pos_;
            return true;
        }
        // No line end buffered yet: read more, or hand out the last unterminated line.
        const std::size_t rel = end_ - pos_;
        if (!fill()) {
            line.assign(buffer_.data() + pos_, end_ - pos_);
            pos_ = end_;
            return true;
        }
        scanned = pos_ + rel;
    }
}

}  // namespace tiderune
