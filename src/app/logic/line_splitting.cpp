#include "line_splitting.h"

#include <cstring>
#include <vector>

namespace tiderune {

bool SerialLineBuffer::append(std::string_view received) {
    if (skipToLineFeed_) {
        const auto lf = received.find('\n');
        if (lf == std::string_view::npos) return true;
        received.remove_prefix(lf + 1);
        skipToLineFeed_ = false;
    }
    compact();
    text_.append(received);
    const std::string_view t = text();
    const bool overflow =
        t.size() > totalLimit_ || (t.size() > noLineFeedLimit_ && t.find('\n') == std::string_view::npos);
    if (overflow) {
        for (char c : t) overflowLines_ += c == '\n';
        // Waiting lines overflowed: the unfinished one goes whole, its end included, so that
        // no fragment is handed on as a line. Text without any line feed is emptied as a
        // receive overflow of the port would, and what follows starts afresh.
        const bool cutLine = t.back() != '\n' && t.find('\n') != std::string_view::npos;
        overflowLines_ += cutLine;
        clear();
        skipToLineFeed_ = cutLine;
        ++overflows_;
        return false;
    }
    return true;
}

std::optional<std::string> SerialLineBuffer::takeLine() {
    const std::string_view t = text();
    const auto lf = t.find('\n');
    if (lf == std::string_view::npos) return std::nullopt;
    std::string line(t.substr(0, lf + 1));
    start_ += lf + 1;
    if (start_ == text_.size()) clear();
    return line;
}

int SerialLineBuffer::discardCompleteLines() {
    const std::string_view t = text();
    const auto last = t.rfind('\n');
    if (last == std::string_view::npos) return 0;
    int n = 0;
    for (char c : t.substr(0, last + 1)) n += c == '\n';
    start_ += last + 1;
    if (start_ == text_.size()) clear();
    return n;
}

void SerialLineBuffer::clear() {
    text_.clear();
    start_ = 0;
}

void SerialLineBuffer::cut() {
    const std::string_view t = text();
    const auto last = t.rfind('\n');
    if (last == std::string_view::npos) {
        clear();
    } else {
        text_.resize(start_ + last + 1);
    }
    skipToLineFeed_ = true;
}

void SerialLineBuffer::compact() {
    if (start_ > 0 && start_ * 2 >= text_.size()) {
        text_.erase(0, start_);
        start_ = 0;
    }
}

void StreamLineSplitter::feed(std::string_view data, const LineHandler& onLine) {
    const auto lastLf = data.rfind('\n');
    if (lastLf == std::string_view::npos) {
        carry_.append(data);
        if (carry_.size() > carryLimit_) {
            carry_.clear();
            ++dropped_;
        }
        return;
    }
    // Settle the carry before handing anything on, so that a handler that comes back here
    // finds a consistent state.
    std::string head = std::move(carry_);
    head.append(data.substr(0, lastLf + 1));
    carry_.assign(data.substr(lastLf + 1));
    if (carry_.size() > carryLimit_) {
        carry_.clear();
        ++dropped_;
    }
    std::string_view rest = head;
    while (!rest.empty()) {
        const auto lf = rest.find('\n');
        onLine(rest.substr(0, lf + 1));
        rest.remove_prefix(lf + 1);
    }
}

void splitDatagram(std::string_view datagram, const LineHandler& onLine) {
    const auto lastLf = datagram.rfind('\n');
    if (lastLf == std::string_view::npos) return;
    std::string_view rest = datagram.substr(0, lastLf + 1);
    while (!rest.empty()) {
        const auto lf = rest.find('\n');
        onLine(rest.substr(0, lf + 1));
        rest.remove_prefix(lf + 1);
    }
}

}  // namespace tiderune
