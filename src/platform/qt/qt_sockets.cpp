#include "qt_sockets.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include <QNetworkDatagram>

#include "core/errors.h"
#include "platform/qt/qt_edge.h"

namespace tiderune {

int socketErrorNumber(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return sockerr::ConnectionRefused;
    case QAbstractSocket::RemoteHostClosedError: return sockerr::ConnectionReset;
    case QAbstractSocket::HostNotFoundError: return sockerr::HostNotFound;
    case QAbstractSocket::SocketAccessError: return sockerr::AccessDenied;
    case QAbstractSocket::SocketResourceError: return sockerr::NoBufferSpace;
    case QAbstractSocket::SocketTimeoutError: return sockerr::TimedOut;
    case QAbstractSocket::NetworkError: return sockerr::NetworkUnreachable;
    case QAbstractSocket::AddressInUseError: return sockerr::AddressInUse;
    case QAbstractSocket::SocketAddressNotAvailableError: return sockerr::AddressNotAvailable;
    default: return sockerr::ConnectionAborted;
    }
}

QtTcpClient::QtTcpClient() {
    socket_.setReadBufferSize(ReadBufferSize);
    QObject::connect(&socket_, &QTcpSocket::readyRead, &socket_, [this] { readArrived(); });
    QObject::connect(&socket_, &QTcpSocket::connected, &socket_, [this] {
        failed_ = false;
        if (onConnected) onConnected();
    });
    QObject::connect(&socket_, &QTcpSocket::errorOccurred, &socket_,
                     [this](QAbstractSocket::SocketError e) { errorArrived(e); });
    QObject::connect(&socket_, &QTcpSocket::disconnected, &socket_, [this] { disconnectedArrived(); });
    QObject::connect(&socket_, &QTcpSocket::stateChanged, &socket_, [this](QAbstractSocket::SocketState s) {
        if (s != QAbstractSocket::ConnectingState) {
            stopWatching();
        } else {
            // After a host lookup the socket exists once Qt is back in the event loop.
            QMetaObject::invokeMethod(&socket_, [this] { watchAttempt(); }, Qt::QueuedConnection);
        }
    });
}

QtTcpClient::~QtTcpClient() {
    QObject::disconnect(&socket_, nullptr, nullptr, nullptr);
    socket_.abort();
}

void QtTcpClient::connectTo(const std::string& host, int port) {
    close();
    host_ = host;
    port_ = port;
    failed_ = false;
    // Bound first, to any address and a port of the system's choice as the connection would
    // be anyway: QTcpSocket tells its descriptor (socketDescriptor()) only once it is bound or
    // connected, and keeps a bound socket for the connection, so the watcher below can see
    // the attempt's own socket while it is under way.
    socket_.bind(QHostAddress::Any, 0);
    socket_.connectToHost(toQt(host), static_cast<quint16>(port));
    watchAttempt();  // an address needs no lookup: the attempt has started
}

// QTcpSocket learns the outcome of an attempt, once the socket turns writable, by calling
// connect() on it again; when the peer has reset the attempt by then, Linux takes that call as
// a new attempt, so Qt starts one connection after another, without end as long as the peer
// resets, none of which the user asked for. The attempt is watched here through a second
// notifier, for reading, on Qt's own socket, which wakes when the attempt ends: the kernel's
// connection state (TCP_INFO) then says whether the system has ended it, and if so it ends as
// a failed connection with the system's reason, and nothing is retried.
void QtTcpClient::watchAttempt() {
    const qintptr fd = socket_.socketDescriptor();
    if (attempt_ || fd < 0 || socket_.state() != QAbstractSocket::ConnectingState) return;
    attempt_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(attempt_.get(), &QSocketNotifier::activated, &socket_, [this] { attemptChanged(); });
}

void QtTcpClient::stopWatching() {
    if (!attempt_) return;
    attempt_->setEnabled(false);
    attempt_.release()->deleteLater();
}

void QtTcpClient::attemptChanged() {
    const int fd = static_cast<int>(socket_.socketDescriptor());
    if (socket_.state() != QAbstractSocket::ConnectingState || fd < 0) {
        stopWatching();
        return;
    }
    tcp_info info{};
    socklen_t length = sizeof info;
    if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &length) != 0 || info.tcpi_state != TCP_CLOSE) return;
    int reason = 0;
    length = sizeof reason;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &reason, &length);
    // No reason left: Qt's own test took it, and it was a reset (a refusal Qt reports itself).
    if (reason == 0) reason = ECONNRESET;
    stopWatching();
    closing_ = true;
    socket_.abort();
    closing_ = false;
    failed_ = true;
    int number = sockerr::ConnectionAborted;
    switch (reason) {
    case ECONNREFUSED: number = sockerr::ConnectionRefused; break;
    case ECONNRESET: number = sockerr::ConnectionReset; break;
    case ETIMEDOUT: number = sockerr::TimedOut; break;
    case ENETUNREACH:
    case EHOSTUNREACH: number = sockerr::NetworkUnreachable; break;
    default: break;
    }
    if (onError) onError(number, std::strerror(reason));
}

void QtTcpClient::close() {
    stopWatching();
    closing_ = true;
    socket_.abort();
    closing_ = false;
    failed_ = false;
    held_ = false;
}

SocketState QtTcpClient::state() const {
    if (failed_) return SocketState::Error;
    switch (socket_.state()) {
    case QAbstractSocket::UnconnectedState: return SocketState::Closed;
    case QAbstractSocket::HostLookupState: return SocketState::ResolvingHost;
    case QAbstractSocket::ConnectingState: return SocketState::Connecting;
    case QAbstractSocket::ConnectedState: return SocketState::Connected;
    case QAbstractSocket::BoundState: return SocketState::Open;
    case QAbstractSocket::ListeningState: return SocketState::Listening;
    case QAbstractSocket::ClosingState: return SocketState::Closing;
    }
    return SocketState::Closed;
}

void QtTcpClient::holdReading(bool hold) {
    if (hold == held_) return;
    held_ = hold;
    if (!hold) QMetaObject::invokeMethod(&socket_, [this] { readArrived(); }, Qt::QueuedConnection);
}

void QtTcpClient::readArrived() {
    // A reading asked for on release may come round after the socket was closed.
    if (held_ || !socket_.isOpen()) return;
    const QByteArray data = socket_.readAll();
    if (!data.isEmpty() && onData) onData(bytesOf(data));
}

void QtTcpClient::errorArrived(QAbstractSocket::SocketError error) {
    if (closing_) return;
    // The peer ending the connection is an ordinary close, reported by disconnectedArrived.
    if (error == QAbstractSocket::RemoteHostClosedError) return;
    failed_ = true;
    if (onError) onError(socketErrorNumber(error), fromQt(socket_.errorString()));
}

void QtTcpClient::disconnectedArrived() {
    if (closing_ || failed_) return;
    // The last of the data goes on even while held: the connection is over.
    held_ = false;
    if (socket_.bytesAvailable() > 0) readArrived();
    if (onPeerClosed) onPeerClosed();
}

QtUdpListener::QtUdpListener() {
    QObject::connect(&socket_, &QUdpSocket::readyRead, &socket_, [this] { readArrived(); });
}

QtUdpListener::~QtUdpListener() {
    QObject::disconnect(&socket_, nullptr, nullptr, nullptr);
    socket_.abort();
}

void QtUdpListener::bind(int localPort) {
    close();
    if (localPort < 0 || localPort > 65535)
        throw RuntimeError(sockerr::AddressNotAvailable, "The requested address is not available");
    // Exclusive: a port that another socket listens on must fail here rather than share.
    if (!socket_.bind(QHostAddress::Any, static_cast<quint16>(localPort), QAbstractSocket::DontShareAddress)) {
        const int number = socketErrorNumber(socket_.error());
        const std::string description = fromQt(socket_.errorString());
        socket_.abort();
        throw RuntimeError(number, description);
    }
    localPort_ = socket_.localPort();
    socket_.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, WantedReceiveBuffer);
}

int QtUdpListener::receiveBufferSize() const {
    if (socket_.state() != QAbstractSocket::BoundState) return 0;
    int size = 0;
    socklen_t length = sizeof size;
    if (::getsockopt(static_cast<int>(socket_.socketDescriptor()), SOL_SOCKET, SO_RCVBUF, &size, &length) != 0)
        return 0;
    return size;
}

void QtUdpListener::close() {
    socket_.abort();
    localPort_ = 0;
}

SocketState QtUdpListener::state() const {
    return socket_.state() == QAbstractSocket::BoundState ? SocketState::Open : SocketState::Closed;
}

void QtUdpListener::readArrived() {
    // A few datagrams per turn of the event loop, then back to it: a sender faster than the
    // analysis must not keep the other sources, the clock and the windows waiting. What it
    // sends beyond the system's buffer meanwhile is dropped there. The socket reports the
    // datagrams still waiting again on the next turn.
    for (int n = 0; n < DatagramsPerTurn; ++n) {
        if (socket_.state() != QAbstractSocket::BoundState || !socket_.hasPendingDatagrams()) return;
        const QNetworkDatagram d = socket_.receiveDatagram();
        if (onDatagram) onDatagram(bytesOf(d.data()));
    }
}

}  // namespace tiderune
