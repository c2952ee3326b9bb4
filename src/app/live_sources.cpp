#include "app/live_sources.h"

#include <algorithm>

#include "app/data_sources.h"
#include "frame/logic/source_texts.h"
#include "app/main_window.h"
#include "frame/shell.h"
#include "core/number_text.h"
#include "platform/qt/qt_edge.h"

namespace tiderune {

namespace {
std::int32_t lineEnds(const std::string& data) {
    return static_cast<std::int32_t>(std::count(data.begin(), data.end(), '\n'));
}
}  // namespace

LiveSources::LiveSources(MainWindow& window, ErrorLog& errorLog)
    : window_(window),
      shell_(window.shell()),
      sources_(window.sources()),
      reception_(
          *this, errorLog, [this](int port) { return static_cast<int>(shell_.config.Comports[port].AssignedSystem); },
          [this](int system) { return shell_.config.EmptyBuffer[system]; }) {
    attach();
    shell_.gate.onFree = [this] { resume(); };
}

LiveSources::~LiveSources() {
    shell_.gate.onFree = nullptr;
    detach();
}

void LiveSources::deliver(std::function<void()> event) { shell_.gate.deliver(std::move(event)); }

bool LiveSources::deliverBounded(std::size_t& waiting, const std::string& data,
                                 std::function<void(const std::string&)> event) {
    if (waiting > 0 && waiting + data.size() > WaitingLimit) return false;
    waiting += data.size();
    deliver([&waiting, data, event = std::move(event)] {
        waiting -= data.size();
        event(data);
    });
    return true;
}

void LiveSources::attach() {
    for (int p = 1; p <= MaxComPorts; ++p) {
        SerialPort& port = sources_.serial(p);
        port.onReceive = [this, p](const std::string& data) {
            if (!deliverBounded(serialWaiting_[p], data, [this, p](const std::string& d) { serialEvent(p, d); }))
                serialDropped(p, data);
            holdSerialWhileFull(p);
        };
        port.onLineError = [this, p](SerialLineError) { deliver([this, p] { reception_.serialLineError(p); }); };
    }
    for (int s = 1; s <= MaxSystems; ++s) {
        TcpClient& tcp = sources_.tcp(s);
        tcp.onConnected = [this, s] { deliver([this, s] { reception_.tcpConnected(s); }); };
        tcp.onData = [this, s](const std::string& data) { tcpData(s, data); };
        tcp.onError = [this, s](int number, const std::string& description) {
            deliver([this, s, number, description] { tcpError(s, number, description); });
        };
        // The peer ending the connection is no error for the user; the socket is closed and
        // the next connection starts with nothing carried over.
        tcp.onPeerClosed = nullptr;
        sources_.udp(s).onDatagram = [this, s](const std::string& datagram) {
            if (!deliverBounded(udpWaiting_[s], datagram,
                                [this, s](const std::string& d) { reception_.udpDatagram(s, d); }))
                reception_.countIgnored(s, lineEnds(datagram));
        };
    }
}

void LiveSources::detach() {
    for (int p = 1; p <= MaxComPorts; ++p) {
        sources_.serial(p).onReceive = nullptr;
        sources_.serial(p).onLineError = nullptr;
    }
    for (int s = 1; s <= MaxSystems; ++s) {
        TcpClient& tcp = sources_.tcp(s);
        tcp.onConnected = nullptr;
        tcp.onData = nullptr;
        tcp.onError = nullptr;
        sources_.udp(s).onDatagram = nullptr;
    }
}

void LiveSources::serialEvent(int port, const std::string& data) {
    reception_.serialReceived(port, data);
    holdSerialWhileFull(port);
    raiseAgainWhileLinesWait(port);
}

void LiveSources::holdSerialWhileFull(int port) {
    // Below the bound the port reads on, lines waiting or not: a device without flow control
    // would lose what it sends meanwhile. At the bound a writer that can wait is held back
    // rather than cut; one that cannot loses data either way.
    const std::size_t backlog = serialWaiting_[port] + reception_.portBuffer(port).text().size();
    sources_.serial(port).holdReading(backlog >= SerialHoldLimit);
}

void LiveSources::raiseAgainWhileLinesWait(int port) {
    if (raiseAgain_[port] || !reception_.portBuffer(port).holdsLine()) return;
    raiseAgain_[port] = true;
    QMetaObject::invokeMethod(
        &eventLoopContext_,
        [this, port] {
            if (!sources_.serial(port).isOpen()) {
                raiseAgain_[port] = false;
                return;
            }
            deliver([this, port] {
                raiseAgain_[port] = false;
                // A port closed meanwhile raises no more events; its lines wait for its reopening.
                if (sources_.serial(port).isOpen()) serialEvent(port, {});
            });
        },
        Qt::QueuedConnection);
}

void LiveSources::serialDropped(int port, const std::string& data) {
    reception_.countIgnored(shell_.config.Comports[port].AssignedSystem, lineEnds(data));
    // The line cut by the drop goes whole, once the data before it has been handled.
    if (serialCutWaiting_[port]) return;
    serialCutWaiting_[port] = true;
    deliver([this, port] {
        serialCutWaiting_[port] = false;
        reception_.serialCut(port);
    });
}

void LiveSources::tcpData(int system, const std::string& data) {
    deliver([this, system, data] { reception_.tcpData(system, data); });
    // It waits in the gate: read no more until the gate is free, so that TCP holds the peer back.
    if (shell_.gate.pendingEvents() > 0 && !tcpHeld_[system]) {
        tcpHeld_[system] = true;
        sources_.tcp(system).holdReading(true);
    }
}

void LiveSources::resume() {
    for (int s = 1; s <= MaxSystems; ++s) {
        if (!tcpHeld_[s]) continue;
        tcpHeld_[s] = false;
        sources_.tcp(s).holdReading(false);
    }
}

void LiveSources::tcpError(int system, int number, const std::string& description) {
    shell_.gate.notice({tcpErrorText(system, number, description), "", NoticeIcon::None});
    // No new connection is tried: the next ONLINE switch or setup opens it again.
    TcpClient& tcp = sources_.tcp(system);
    if (tcp.state() != SocketState::Closed) tcp.close();
}

void LiveSources::processLine(int system, std::string_view line) { shell_.processSentence(system, line); }

void LiveSources::showInputBuffer(int system, std::string_view text) {
    if (!shell_.config.WindowVisible[system][VisibleForms::NMEAMonitor]) return;
    shell_.sink.showInputBuffer(system, text);
}

void LiveSources::ignoredCountChanged(int system, std::int32_t count) {
    window_.setPanelText(system + 8, toQt(StrNumber(count)));
}

}  // namespace tiderune
