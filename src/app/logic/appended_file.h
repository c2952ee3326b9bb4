#pragma once
// A file the program appends lines to (the raw-data logs, the error log). A line goes in
// with one write, and a write that fails part way (a full disk, a size limit) is taken out
// again: the file holds whole lines only, and the line after a failure starts a line of its
// own instead of finishing a torn one.
#include <filesystem>
#include <string_view>

namespace tiderune {

class AppendedFile {
public:
    AppendedFile() = default;
    ~AppendedFile() { close(); }
    AppendedFile(const AppendedFile&) = delete;
    AppendedFile& operator=(const AppendedFile&) = delete;

    // Opens `path` for appending, made when missing (an open file is closed first). Returns
    // 0, or the errno value of the failure.
    int open(const std::filesystem::path& path);
    bool isOpen() const { return fd_ >= 0; }
    // Appends `line`, its line end included, whole or not at all. Returns 0, or the errno
    // value of the failure; the file then holds what it held before.
    int append(std::string_view line);
    // Returns 0, or the errno value of a failed close (what was written may be lost).
    int close();

private:
    int fd_ = -1;
};

}  // namespace tiderune
