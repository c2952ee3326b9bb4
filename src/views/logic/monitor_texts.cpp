#include "views/logic/monitor_texts.h"

#include "core/code_page.h"
#include "core/indexed.h"

namespace tiderune {

namespace {
// The number form with a leading blank for non-negative numbers, " 5".
std::string num(long long n) { return (n >= 0 ? " " : "") + std::to_string(n); }
}  // namespace

MonitorPanels monitorPanels(const Config& config, int system, std::optional<SocketState> tcp) {
    MonitorPanels p;
    if (!isValidSystem(system)) return p;
    const SystemSetup& sys = config.Systems[system];
    // A replayed, TCP or UDP system shows its source whatever serial port number it still holds.
    if (config.Mode != "ONLINE") {
        p.text = {"File : " + fileNameText(sys.OfflineFile) + "  ", "", "", "", ""};
    } else if (sys.UseTCP) {
        p.text = {"TCP/IP", "IP :" + sys.TCPHost, "Port :" + num(sys.TCPPort), std::nullopt, ""};
        if (tcp) p.text[3] = setupStateText(*tcp);
        p.pollsTcpState = true;
    } else if (sys.UseUDP) {
        p.text = {"UDP", "", "Port :" + num(sys.UDPPort), "", ""};
    } else if (sys.ComPort != 0 && PerComPort<int>::inRange(sys.ComPort)) {
        const ComportSetting& port = config.Comports[sys.ComPort];
        p.text = {"Comport :" + num(sys.ComPort), "Baud rate :" + num(port.Baud), "Data bits :" + num(port.DataBits),
                  "Parity : " + port.Parity, "Stop bits :" + num(port.StopBits)};
    } else {
        // No port: the design texts, rather than those of a source the system left.
        p.text = {"Comport", "Baud rate", "Data bits", "Parity", "Stop bits"};
    }
    return p;
}

std::string setupStateText(SocketState state) {
    switch (state) {
    case SocketState::Closed: return "State : Closed";
    case SocketState::Connected: return "State : Connected";
    default: return "State : " + num(static_cast<int>(state));
    }
}

TcpStateText tcpStateText(SocketState state, const std::string& host) {
    switch (state) {
    case SocketState::Closed: return {"Closed", 10000};
    case SocketState::Listening: return {"Listening", 1000};
    case SocketState::ConnectionPending: return {"Connection pending", 1000};
    case SocketState::ResolvingHost: return {"Resolving host", 1000};
    case SocketState::HostResolved: return {"Host Resolved", 1000};
    case SocketState::Connecting: return {"Connecting to " + host, 200};
    case SocketState::Connected: return {"Connected to " + host, 10000};
    case SocketState::Closing: return {"Closing", 1000};
    case SocketState::Error: return {"Error", 1000};
    default: return {num(static_cast<int>(state)), 0};
    }
}

const char* inputBufferCaption(const Config& config) {
    return config.Mode == "OFFLINE" ? "File inputbuffer :" : "COM-port inputbuffer :";
}

void MonitorView::append(std::string_view text) {
    // The box shows a carriage return and line feed as one line break: the text goes in whole
    // but for the carriage return of each such pair.
    std::size_t from = 0;
    for (std::size_t cr = text.find("\r\n"); cr != std::string_view::npos; cr = text.find("\r\n", cr + 1)) {
        text_.append(text.substr(from, cr - from));
        from = cr + 1;
    }
    text_.append(text.substr(from));
}

void MonitorView::showLine(std::string_view text, const MonitorCounters& now, int room, bool offline) {
    const std::int32_t counts[Counters] = {now.MonitorSentenceCount, now.MonitorNMEACount, now.MonitorAISCount,
                                           now.MonitorChecksumOK, now.MonitorChecksumError};
    if (!frozen_) {
        if (room < lineCount_) clear();
        append(text);
        if (offline) append("\r\n");
        ++lineCount_;
    }
    // The message count is always shown; the others only when they moved, so that after a
    // reset of the counters each label keeps its text until its own counter grows.
    for (int i = 0; i < Counters; ++i) {
        if (i == 0 || compared_[i] != counts[i]) labels_[i] = counts[i];
        compared_[i] = counts[i];
    }
}

std::string MonitorView::inputBufferLine() const {
    std::string line;
    line.reserve(inputBuffer_.size() + 16);
    for (char c : inputBuffer_) {
        if (c == '\r')
            line += "<CR>";
        else if (c == '\n')
            line += "<LF>";
        else
            line += c;
    }
    return line;
}

void MonitorView::clear() {
    text_.clear();
    lineCount_ = 0;
    ++generation_;
}

bool MonitorView::toggleFreeze() {
    if (!frozen_) append("  \r\n");
    frozen_ = !frozen_;
    return frozen_;
}

}  // namespace tiderune
