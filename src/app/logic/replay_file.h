#pragma once
// A recorded file read back line by line for the offline replay. Lines end at a line feed,
// a carriage return and line feed, or a lone carriage return; the line end is not part of the
// line. The bytes are handed on as they stand, so any recording replays, binary
// junk included; only a line longer than any sentence (as live sources cut it) is dropped.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/logic/line_splitting.h"

namespace tiderune {

class ReplayFile {
public:
    ReplayFile() = default;
    ~ReplayFile();
    ReplayFile(const ReplayFile&) = delete;
    ReplayFile& operator=(const ReplayFile&) = delete;

    // A line longer than this (without its line end) is dropped whole and counted.
    static constexpr std::size_t MaxLineLength = StreamLineSplitter::DefaultCarryLimit;
    // While such a line is passed over, read() returns after about this many of its bytes, so
    // that a line without an end (gigabytes of binary zeros) does not hold the caller up.
    static constexpr std::size_t SkipStep = std::size_t{4} << 20;

    enum class Read {
        Line,     // the next line is in `line`
        End,      // no further line
        Skipping  // part of an over-long line was passed over: call again
    };

    // Opens the file for reading. Raises RuntimeError with the number and description the
    // program's users know: 52 "Bad file name or number" for an empty name, 53 "File not
    // found", 76 "Path not found", 70 "Permission denied", 75 "Path/File access error" (also
    // for anything that is not a regular file: a folder, a named pipe, a device).
    void open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // No further line: the end of the file, or a read error (which ends the file too).
    bool atEnd();
    // The next line without its line end. Lines longer than MaxLineLength are passed over, a
    // SkipStep at a time.
    Read read(std::string& line);
    // The same without the pauses: false at the end.
    bool readLine(std::string& line);
    // Lines dropped for their length since the file was opened.
    std::int64_t droppedLines() const { return dropped_; }

    // A read error ended the file; its description, empty when none.
    const std::string& readError() const { return readError_; }

private:
    static constexpr std::size_t NoLineFeed = static_cast<std::size_t>(-1);

    bool fill();
    // Index of the next line feed at or after pos_, or end_ when none is buffered.
    std::size_t nextLineFeed();

    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    // The line feed search: no line feed lies in [pos_, lfSearched_) other than at lfAt_
    // (NoLineFeed when none was found there).
    std::size_t lfAt_ = NoLineFeed;
    std::size_t lfSearched_ = 0;
    bool skipping_ = false;  // the line under way is too long and is being passed over
    std::int64_t dropped_ = 0;
    std::string readError_;
};

}  // namespace tiderune
