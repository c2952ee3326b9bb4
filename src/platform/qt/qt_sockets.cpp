#include "qt_sockets.h"

#include <sys/socket.h>

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
    socket_.connectToHost(toQt(host), static_cast<quint16>(port));
}

void QtTcpClient::close() {
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
    if (held_) return;
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
