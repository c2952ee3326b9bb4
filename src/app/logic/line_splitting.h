#pragma once
// Cutting received text into lines. A line ends with a line feed and includes it; a carriage
// return before the line feed stays in the line. Text without a line feed is never handed on
// as a line.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tiderune {

using LineHandler = std::function<void(std::string_view line)>;

// The text buffer of one serial port, kept between receive events. A receive event appends
// what arrived and takes at most one line; with buffer emptying on, the complete lines behind
// it are discarded so that a port faster than the analysis keeps its newest data.
class SerialLineBuffer {
public:
    // A buffer holding no line feed is emptied, like a receive overflow of the port, once it
    // holds more than this: no sentence is that long.
    static constexpr std::size_t DefaultNoLineFeedLimit = 4096;
    // Whatever it holds, the buffer never grows beyond this; at that point it is emptied,
    // and the rest of the line it cut is dropped when it arrives.
    static constexpr std::size_t DefaultTotalLimit = std::size_t{1} << 20;

    SerialLineBuffer() = default;
    SerialLineBuffer(std::size_t noLineFeedLimit, std::size_t totalLimit)
        : noLineFeedLimit_(noLineFeedLimit), totalLimit_(totalLimit) {}

    // Appends received text. Returns false when the buffer overflowed and was emptied.
    bool append(std::string_view received);
    // The first complete line, cut off; nothing when the buffer holds no line feed.
    std::optional<std::string> takeLine();
    // Removes every complete line; text after the last line feed stays. Returns how many.
    int discardCompleteLines();
    // A line error of the port: everything goes.
    void clear();
    // The data of the port was cut (some of it could not be taken in): the unfinished line
    // goes, and so does what arrives next up to and with its first line feed, so that no line
    // joined from two pieces is handed on.
    void cut();

    // The buffer holds a complete line.
    bool holdsLine() const { return text().find('\n') != std::string_view::npos; }

    std::string_view text() const { return std::string_view(text_).substr(start_); }
    bool empty() const { return start_ == text_.size(); }
    // How often the buffer overflowed and was emptied, and the complete lines lost with it.
    std::int64_t overflowCount() const { return overflows_; }
    std::int64_t overflowLines() const { return overflowLines_; }

private:
    void compact();

    std::string text_;
    std::size_t start_ = 0;  // consumed text before this is dropped lazily
    std::size_t noLineFeedLimit_ = DefaultNoLineFeedLimit;
    std::size_t totalLimit_ = DefaultTotalLimit;
    std::int64_t overflows_ = 0;
    std::int64_t overflowLines_ = 0;
    bool skipToLineFeed_ = false;
};

// A TCP stream: a read may end in the middle of a sentence, so the text after the last line
// feed is kept and joined to the next data of the same connection.
class StreamLineSplitter {
public:
    // An unfinished line longer than this is dropped: no sentence is that long.
    static constexpr std::size_t DefaultCarryLimit = 4096;

    StreamLineSplitter() = default;
    explicit StreamLineSplitter(std::size_t carryLimit) : carryLimit_(carryLimit) {}

    // Hands every complete line to onLine, in order; keeps the rest for the next call.
    void feed(std::string_view data, const LineHandler& onLine);
    // A new connection starts with nothing carried over.
    void reset() { carry_.clear(); }

    std::string_view carry() const { return carry_; }
    std::int64_t droppedCount() const { return dropped_; }

private:
    std::string carry_;
    std::size_t carryLimit_ = DefaultCarryLimit;
    std::int64_t dropped_ = 0;
};

// One UDP datagram: every complete line goes to onLine; text after the last line feed is
// dropped, since a datagram is whole and nothing follows it.
void splitDatagram(std::string_view datagram, const LineHandler& onLine);

}  // namespace tiderune
