#include "app/live_sources.h"

#include <QLabel>

#include "app/data_sources.h"
#include "app/logic/source_texts.h"
#include "app/main_window.h"
#include "app/shell.h"

namespace tiderune {

LiveSources::LiveSources(MainWindow& window, ErrorLog& errorLog)
    : window_(window),
      shell_(window.shell()),
      sources_(window.sources()),
      reception_(
          *this, errorLog, [this](int port) { return static_cast<int>(shell_.config.Comports[port].AssignedSystem); },
          [this](int system) { return shell_.config.EmptyBuffer[system]; }) {
    attach();
}

LiveSources::~LiveSources() { detach(); }

void LiveSources::deliver(std::function<void()> event) { shell_.gate.deliver(std::move(event)); }

void LiveSources::attach() {
    for (int p = 1; p <= MaxComPorts; ++p) {
        SerialPort& port = sources_.serial(p);
        port.onReceive = [this, p](const std::string& data) {
            deliver([this, p, data] { reception_.serialReceived(p, data); });
        };
        port.onLineError = [this, p](SerialLineError) { deliver([this, p] { reception_.serialLineError(p); }); };
    }
    for (int s = 1; s <= MaxSystems; ++s) {
        TcpClient& tcp = sources_.tcp(s);
        tcp.onConnected = [this, s] { deliver([this, s] { reception_.tcpConnected(s); }); };
        tcp.onData = [this, s](const std::string& data) { deliver([this, s, data] { reception_.tcpData(s, data); }); };
        tcp.onError = [this, s](int number, const std::string& description) {
            deliver([this, s, number, description] { tcpError(s, number, description); });
        };
        // The peer ending the connection is no error for the user; the socket is closed and
        // the next connection starts with nothing carried over.
        tcp.onPeerClosed = nullptr;
        sources_.udp(s).onDatagram = [this, s](const std::string& datagram) {
            deliver([this, s, datagram] { reception_.udpDatagram(s, datagram); });
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

void LiveSources::tcpError(int system, int number, const std::string& description) {
    shell_.gate.notice({tcpErrorText(system, number, description), "", NoticeIcon::None});
    // No new connection is tried: the next ONLINE switch or setup opens it again.
    TcpClient& tcp = sources_.tcp(system);
    if (tcp.state() != SocketState::Closed) tcp.close();
}

void LiveSources::processLine(int system, std::string_view line) { shell_.processSentence(system, line); }

void LiveSources::showInputBuffer(int system, std::string_view text) {
    if (!shell_.config.WindowVisible[system][VisibleForms::NMEAMonitor] || !shell_.windows.created()) return;
    ChildWindow* monitor = shell_.windows.slot(WindowKind::NMEA, system).window();
    if (!monitor) return;
    if (auto* label = monitor->findChild<QLabel*>("lblInputBuffer2"))
        label->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void LiveSources::ignoredCountChanged(int system, std::int32_t count) {
    window_.setPanelText(system + 8, qs(strForm(count)));
}

}  // namespace tiderune
