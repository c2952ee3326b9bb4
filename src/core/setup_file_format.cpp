#include "setup_file_format.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "errors.h"

namespace tiderune {

namespace {

[[noreturn]] void typeMismatch() { throw RuntimeError(err::TypeMismatch, "Type mismatch"); }
[[noreturn]] void overflowError() { throw RuntimeError(err::Overflow, "Overflow"); }

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// Whole numbers as the Integer and Long items take them: rounded to the nearest, halves to
// even, then checked against the type's range.
long long roundedWithin(double v, long long lo, long long hi) {
    const double r = std::nearbyint(v);
    if (!(r >= static_cast<double>(lo) && r <= static_cast<double>(hi))) overflowError();
    return static_cast<long long>(r);
}

// `reading`: a missing file is "File not found"; when writing, it is the folder that is missing.
[[noreturn]] void fileError(int errnoValue, bool reading) {
    switch (errnoValue) {
    case ENOENT:
        if (reading) throw RuntimeError(err::FileNotFound, "File not found");
        throw RuntimeError(err::PathNotFound, "Path not found");
    case ENOTDIR:
        throw RuntimeError(err::PathNotFound, "Path not found");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        throw RuntimeError(err::DiskFull, "Disk full");
    case EACCES:
    case EPERM:
    case EROFS:
        throw RuntimeError(err::PermissionDenied, "Permission denied");
    default:
        throw RuntimeError(err::PathFileAccessError, "Path/File access error");
    }
}

}  // namespace

// ---- reading ----------------------------------------------------------------------------

SetupFileReader::SetupFileReader(std::string content) : content_(std::move(content)) {}

bool SetupFileReader::atEnd() {
    while (pos_ < content_.size() && (isBlank(content_[pos_]) || isLineBreak(content_[pos_])))
        ++pos_;
    return pos_ >= content_.size();
}

SetupItem SetupFileReader::next() {
    if (atEnd()) throw RuntimeError(err::InputPastEndOfFile, "Input past end of file");
    SetupItem item;
    const std::size_t n = content_.size();
    if (content_[pos_] == '"') {
        item.quoted = true;
        const std::size_t close = content_.find('"', pos_ + 1);
        const std::size_t end = close == std::string::npos ? n : close;
        item.text = content_.substr(pos_ + 1, end - pos_ - 1);
        pos_ = close == std::string::npos ? n : close + 1;
        // Whatever stands between the closing quote and the separator is not part of it.
        while (pos_ < n && content_[pos_] != ',' && !isLineBreak(content_[pos_])) ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < n && content_[pos_] != ',' && !isLineBreak(content_[pos_])) ++pos_;
        std::size_t end = pos_;
        while (end > start && isBlank(content_[end - 1])) --end;
        item.text = content_.substr(start, end - start);
    }
    if (pos_ < n) {
        if (content_[pos_] == ',') {
            ++pos_;
        } else if (content_[pos_] == '\r') {
            ++pos_;
            if (pos_ < n && content_[pos_] == '\n') ++pos_;
        } else {
            ++pos_;  // a bare line feed
        }
    }
    return item;
}

std::string SetupFileReader::readText() { return next().text; }

bool SetupFileReader::readBoolean() {
    const SetupItem item = next();
    if (equalsNoCase(item.text, "#TRUE#")) return true;
    if (equalsNoCase(item.text, "#FALSE#")) return false;
    return setupItemNumber(item.text) != 0.0;
}

double SetupFileReader::readNumber() { return setupItemNumber(next().text); }

std::int16_t SetupFileReader::readInteger() {
    return static_cast<std::int16_t>(roundedWithin(readNumber(), -32768, 32767));
}

std::int32_t SetupFileReader::readLong() {
    return static_cast<std::int32_t>(
        roundedWithin(readNumber(), std::numeric_limits<std::int32_t>::min(),
                      std::numeric_limits<std::int32_t>::max()));
}

float SetupFileReader::readSingle() {
    const double v = readNumber();
    if (std::fabs(v) > FLT_MAX) overflowError();
    return static_cast<float>(v);
}

double SetupFileReader::readDouble() { return readNumber(); }

double setupItemNumber(std::string_view item) {
    std::string s;
    for (char c : item)
        if (!isBlank(c) && !isLineBreak(c)) s += c;
    if (s.empty()) return 0.0;

    if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        double v = 0;
        for (std::size_t i = 2; i < s.size(); ++i) {
            const char c = s[i];
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                typeMismatch();
            if (digit >= base) typeMismatch();
            v = v * base + digit;
            if (v > 4294967295.0) overflowError();
        }
        return v;
    }

    // sign, digits, point, digits, exponent: checked by hand so that nothing is left over.
    std::size_t i = 0;
    std::string plain;
    if (s[i] == '+' || s[i] == '-') plain += s[i++];
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') plain += s[i++], ++digits;
    if (i < s.size() && s[i] == '.') {
        plain += s[i++];
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') plain += s[i++], ++digits;
    }
    if (digits == 0) typeMismatch();
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        plain += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
        std::size_t expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') plain += s[i++], ++expDigits;
        if (expDigits == 0) typeMismatch();
    }
    if (i != s.size()) typeMismatch();
    const double v = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(v)) overflowError();
    return v;
}

// ---- writing ----------------------------------------------------------------------------

void SetupFileWriter::separate() {
    if (lineStarted_) out_ += ',';
    lineStarted_ = true;
}

void SetupFileWriter::text(std::string_view s) {
    separate();
    out_ += '"';
    for (char c : s) out_ += c == '"' ? '\'' : c;
    out_ += '"';
}

void SetupFileWriter::boolean(bool b) {
    separate();
    out_ += b ? "#TRUE#" : "#FALSE#";
}

void SetupFileWriter::integer(long long v) {
    separate();
    out_ += std::to_string(v);
}

void SetupFileWriter::single(float v) {
    separate();
    out_ += setupFileNumber(v, 7);
}

void SetupFileWriter::dbl(double v) {
    separate();
    out_ += setupFileNumber(v, 15);
}

void SetupFileWriter::endLine() {
    out_ += "\r\n";
    lineStarted_ = false;
}

std::string setupFileNumber(double v, int significantDigits) {
    // A value that is not a number cannot be written in a form the file can take back;
    // 0 keeps the file readable.
    if (!std::isfinite(v) || v == 0.0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", significantDigits - 1, v);
    // buf: [-]d.ddddde[+-]xx
    std::string mantissa;
    const char* p = buf;
    const bool negative = *p == '-';
    if (negative) ++p;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.') mantissa += *p;
    const int exponent = std::atoi(p + 1);
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    std::string out;
    const int pointAfter = exponent + 1;  // digits before the decimal point
    if (pointAfter <= 0) {
        out = "0." + std::string(static_cast<std::size_t>(-pointAfter), '0') + mantissa;
    } else if (static_cast<std::size_t>(pointAfter) >= mantissa.size()) {
        out = mantissa + std::string(static_cast<std::size_t>(pointAfter) - mantissa.size(), '0');
    } else {
        out = mantissa.substr(0, static_cast<std::size_t>(pointAfter)) + "." +
              mantissa.substr(static_cast<std::size_t>(pointAfter));
    }
    out = negative ? "-" + out : out;
    // The largest Doubles round up beyond the Double range at 15 digits; a file holding such a
    // value could not be loaded again, so they keep the digits that read back as themselves.
    if (significantDigits < 17 && !std::isfinite(std::strtod(out.c_str(), nullptr)))
        return setupFileNumber(v, 17);
    return out;
}

// ---- files ------------------------------------------------------------------------------

std::string readSetupFileBytes(const std::string& path) {
    // Not blocking: a named pipe chosen by mistake is refused below instead of waiting for a
    // writer that never comes. Reads from a regular file are unaffected.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) fileError(errno, true);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw RuntimeError(err::PathFileAccessError, "Path/File access error");
    }
    // Refused before anything is read: a setup file is a few kilobytes, and a file of
    // gigabytes chosen or damaged by mistake must not be taken into memory.
    auto tooLarge = [&] {
        ::close(fd);
        throw RuntimeError(err::PathFileAccessError, "File larger than 4 MB");
    };
    if (st.st_size > MaxSetupFileBytes) tooLarge();
    std::string bytes;
    char buf[65536];
    for (;;) {
        if (bytes.size() > static_cast<std::size_t>(MaxSetupFileBytes)) tooLarge();
        const ssize_t got = ::read(fd, buf, sizeof buf);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd);
            fileError(e, true);
        }
        if (got == 0) break;
        bytes.append(buf, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

void replaceFileAtomically(const std::string& requested, std::string_view bytes) {
    // A setup file kept elsewhere through a link stays a link: the file it points to is
    // the one replaced.
    std::string path = requested;
    struct stat st {};
    if (::lstat(requested.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(requested.c_str(), nullptr)) {
            path = real;
            std::free(real);
        }
    }
    // The new file keeps the permissions the user gave the old one.
    const bool replacing = ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    const std::string temp = path + ".saving";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) fileError(errno, false);
    if (replacing) (void)::fchmod(fd, st.st_mode & 07777);
    auto fail = [&](int e) {
        ::close(fd);
        ::unlink(temp.c_str());
        fileError(e, false);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        done += static_cast<std::size_t>(put);
    }
    if (::fsync(fd) != 0) fail(errno);
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        fileError(e, false);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        fileError(e, false);
    }
    // Make the rename itself durable.
    const std::size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

std::string keepCopyBeside(const std::string& path) {
    const int src = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    bool readable = src >= 0 && ::fstat(src, &st) == 0 && S_ISREG(st.st_mode) &&
                    st.st_size <= MaxSetupFileBytes;
    std::string bytes;
    if (readable) {
        char buf[65536];
        for (ssize_t got; (got = ::read(src, buf, sizeof buf)) != 0;) {
            if (bytes.size() > static_cast<std::size_t>(MaxSetupFileBytes)) {
                readable = false;  // grown while read: kept like a large one
                bytes.clear();
                break;
            }
            if (got < 0) {
                if (errno == EINTR) continue;
                const int e = errno;
                ::close(src);
                fileError(e, true);
            }
            bytes.append(buf, static_cast<std::size_t>(got));
        }
    }
    if (src >= 0) ::close(src);

    // Never over an older copy: the first free name of "<path>.bak", "<path>.bak.2", ...
    // The name is taken by creating it, so two copies can never end up under one name.
    constexpr int MaxCopies = 99;
    for (int n = 1; n <= MaxCopies; ++n) {
        const std::string name = path + ".bak" + (n == 1 ? std::string() : "." + std::to_string(n));
        if (!readable) {
            // A file that cannot be read, or one too large to read, is kept by a second name
            // for the same file: saving puts a new file in its place and leaves this one.
            if (::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                return name;
            if (errno == EEXIST) continue;
            fileError(errno, false);
        }
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            fileError(errno, false);
        }
        (void)::fchmod(fd, st.st_mode & 07777);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) {
                const int e = errno;
                ::close(fd);
                ::unlink(name.c_str());
                fileError(e, false);
            }
            done += static_cast<std::size_t>(put);
        }
        const int synced = ::fsync(fd) == 0 ? 0 : errno;
        const int closed = ::close(fd) == 0 ? 0 : errno;
        if (synced != 0 || closed != 0) {
            ::unlink(name.c_str());
            fileError(synced != 0 ? synced : closed, false);
        }
        return name;
    }
    throw RuntimeError(err::PathFileAccessError, "Path/File access error");
}

}  // namespace tiderune
