#pragma once
// The NMEA monitor's texts: its status-bar panels for the system's source, the TCP state text
// with the next poll interval, and what the text box and the counter labels hold.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/config.h"
#include "core/core_state.h"
#include "platform/sockets.h"

namespace tiderune {

// Panels 1-5 for the source the system reads, however the monitor comes to show them (its
// load, the setup dialog's OK): the recorded file in OFFLINE mode, else the TCP connection, the
// UDP port, or the serial port with its settings; a system without any of them shows the design
// texts. A TCP system's panel 4 tells the socket's state: in OK's words (setupStateText) when
// `tcp` is given, else it is left to the poll. An empty optional keeps the panel's text.
struct MonitorPanels {
    std::array<std::optional<std::string>, 5> text;
    bool pollsTcpState = false;  // a TCP system: the state goes to panel 4 by a poll
};
MonitorPanels monitorPanels(const Config& config, int system, std::optional<SocketState> tcp = std::nullopt);
std::string setupStateText(SocketState state);

// Panel 4 of a TCP system and the next poll: fast while a connection is being made, slowly
// once connected or closed. An interval of 0 keeps the current one.
struct TcpStateText {
    std::string text;
    int intervalMs;
};
TcpStateText tcpStateText(SocketState state, const std::string& host);

// The text box's label for the raw input buffer.
const char* inputBufferCaption(const Config& config);

// What the monitor shows, kept in memory line by line and copied into its widgets on the
// redraw tick.
class MonitorView {
public:
    // The labels: messages, NMEA, AIS, checksum OK, checksum error.
    static constexpr int Counters = 5;

    // One line of the system, already counted in `now`. The box keeps about as many lines as
    // `room` allows, then starts again; a frozen view keeps its text. `offline` lines get a
    // line end of their own.
    void showLine(std::string_view text, const MonitorCounters& now, int room, bool offline);
    void clear();
    // Freezes (with a closing empty-looking line) or continues; gives the new state.
    bool toggleFreeze();
    // The counters were zeroed: each label keeps its text until its own counter grows.
    void countersReset() { compared_ = {}; }
    // The raw input of the source. A line of the window shows no more than the start of it: only
    // that much is kept, so that a long backlog costs nothing per line.
    static constexpr std::size_t InputBufferKept = 1024;
    void setInputBuffer(std::string_view text) { inputBuffer_.assign(text.substr(0, InputBufferKept)); }

    bool frozen() const { return frozen_; }
    int lineCount() const { return lineCount_; }
    // The box's text since it was last emptied, with "\r\n" as one line break "\n".
    const std::string& text() const { return text_; }
    // Bumped each time the box is emptied: a widget that drew an older generation starts
    // again from text(), else it appends text() from where it stopped.
    std::uint64_t generation() const { return generation_; }
    const std::array<std::int32_t, Counters>& labels() const { return labels_; }
    const std::string& inputBuffer() const { return inputBuffer_; }
    // The input buffer on one line: a block of several lines shows each carriage return as
    // "<CR>" and each line feed as "<LF>".
    std::string inputBufferLine() const;

private:
    void append(std::string_view text);

    std::string text_;
    std::uint64_t generation_ = 0;
    int lineCount_ = 0;
    bool frozen_ = false;
    std::array<std::int32_t, Counters> labels_{};
    std::array<std::int32_t, Counters> compared_{};
    std::string inputBuffer_;
};

}  // namespace tiderune
