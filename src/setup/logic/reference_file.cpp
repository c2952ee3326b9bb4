#include "setup/logic/reference_file.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "core/code_page.h"
#include "core/number_text.h"

namespace tiderune {

namespace {
std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool numberField(std::string_view field, double& out) {
    field = trimBlanks(field);
    if (field.empty() || field.find_first_of("0123456789") == std::string_view::npos) return false;
    const char c = field.front();
    if (!(c == '-' || c == '+' || c == '.' || (c >= '0' && c <= '9'))) return false;
    return readNumber(field, out);
}

template <typename T>
std::string shortest(T v) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

// The file's lines without their line ends; false when it cannot be read. Only a regular
// file is read: a folder, a named pipe or a device at its name is a file that cannot be read
// (a pipe is not waited on). A missing file reads as no lines when `missingIsEmpty`.
bool readLines(const std::string& path, std::vector<std::string>& lines, bool missingIsEmpty) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return missingIsEmpty && errno == ENOENT;
    struct stat st {};
    std::string all;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    char buf[65536];
    while (ok) {
        const ssize_t got = ::read(fd, buf, sizeof buf);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        all.append(buf, static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (!ok) return false;
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t lf = all.find('\n', start);
        std::string line = all.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
    return true;
}

std::string unreadableMessage(const std::string& path) { return "The file " + fileNameText(path) + " could not be read."; }
}  // namespace

std::optional<ReferenceRecord> parseReferenceLine(std::string_view line) {
    line = trimBlanks(line);
    if (line.size() < 2 || line.front() != '"') return std::nullopt;
    const std::size_t close = line.find('"', 1);
    if (close == std::string_view::npos) return std::nullopt;
    ReferenceRecord r;
    r.name = std::string(line.substr(1, close - 1));
    std::string_view rest = trimBlanks(line.substr(close + 1));
    if (rest.empty() || rest.front() != ',') return std::nullopt;
    rest.remove_prefix(1);
    double values[3];
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = rest.find(',');
        if ((comma == std::string_view::npos) != (i == 2)) return std::nullopt;
        if (!numberField(rest.substr(0, comma), values[i])) return std::nullopt;
        if (comma != std::string_view::npos) rest.remove_prefix(comma + 1);
    }
    // The height is kept in single precision: one beyond its range (it would be infinite,
    // and written back as a text no line takes) makes the line unreadable, kept as it stands.
    // Below 2^128 - 2^103 a value still rounds to the largest single.
    if (!(std::fabs(values[2]) < 0x1.ffffffp+127)) return std::nullopt;
    r.latitude = values[0];
    r.longitude = values[1];
    r.height = static_cast<float>(values[2]);
    return r;
}

std::string referenceLineText(const ReferenceRecord& r) {
    return '"' + r.name + "\"," + shortest(r.latitude) + ',' + shortest(r.longitude) + ',' + shortest(r.height);
}

std::vector<ReferenceRecord> readReferenceRecords(const std::string& path, std::string* error) {
    std::vector<ReferenceRecord> records;
    std::vector<std::string> lines;
    if (!readLines(path, lines, true)) {
        if (error) *error = unreadableMessage(path);
        return records;
    }
    for (const std::string& l : lines)
        if (auto r = parseReferenceLine(l)) records.push_back(std::move(*r));
    return records;
}

ReferenceUpdate UpdateReferenceFile(const std::string& folder, const ReferenceRecord& record,
                                    const std::function<void(const std::string&)>& tell) {
    const std::string path = folder + ReferenceFileName;
    const std::string buffer = folder + ReferenceBufferFileName;
    std::vector<std::string> lines;
    std::error_code ec;
    if (!readLines(path, lines, true)) return {false, unreadableMessage(path)};
    bool matched = false;
    for (std::string& l : lines) {
        auto r = parseReferenceLine(l);
        if (!r || r->name != record.name) continue;
        if (tell) tell("The reference target '" + r->name + "' already exist. The position will be updated!");
        l = referenceLineText(record);
        matched = true;
    }
    if (!matched) lines.push_back(referenceLineText(record));
    {
        std::ofstream out(buffer, std::ios::binary | std::ios::trunc);
        for (const std::string& l : lines) out << l << "\r\n";
        out.flush();
        if (!out) {
            const std::string why = std::strerror(errno);
            out.close();
            std::filesystem::remove(buffer, ec);
            return {false, "The file " + fileNameText(buffer) + " could not be written: " + why};
        }
    }
    std::filesystem::rename(buffer, path, ec);
    if (ec) {
        const std::string why = ec.message();
        std::filesystem::remove(buffer, ec);
        return {false, "The file " + fileNameText(path) + " could not be replaced: " + why};
    }
    return {true, {}};
}

}  // namespace tiderune
