#pragma once
// The TCP client as QTcpSocket and the UDP listener as QUdpSocket.
#include <QSocketNotifier>
#include <QTcpSocket>
#include <QUdpSocket>

#include <memory>

#include "platform/sockets.h"

namespace tiderune {

// The socket control's error number of a Qt socket error.
int socketErrorNumber(QAbstractSocket::SocketError error);

class QtTcpClient final : public TcpClient {
public:
    QtTcpClient();
    ~QtTcpClient() override;

    void connectTo(const std::string& host, int port) override;
    void close() override;
    SocketState state() const override;
    std::string remoteHost() const override { return host_; }
    int remotePort() const override { return port_; }
    void holdReading(bool hold) override;

    // The most the socket takes in from the system before it is read.
    static constexpr qint64 ReadBufferSize = 64 * 1024;

private:
    void readArrived();
    void errorArrived(QAbstractSocket::SocketError error);
    void disconnectedArrived();
    void watchAttempt();
    void attemptChanged();
    void stopWatching();

    QTcpSocket socket_;
    // Watches a connection attempt until Qt has it connected or failed.
    std::unique_ptr<QSocketNotifier> attempt_;
    std::string host_;
    int port_ = 0;
    bool failed_ = false;   // an error left the socket in the Error state
    bool closing_ = false;  // our own close: its disconnection is no event
    bool held_ = false;
};

class QtUdpListener final : public UdpListener {
public:
    QtUdpListener();
    ~QtUdpListener() override;

    void bind(int localPort) override;
    void close() override;
    SocketState state() const override;
    int localPort() const override { return localPort_; }

    // What a listener asks of the system for its receive buffer, so that a burst of datagrams
    // sent without pacing waits in it rather than being dropped; the system grants at most
    // net.core.rmem_max.
    static constexpr int WantedReceiveBuffer = 4 << 20;
    // The receive buffer the system granted, in bytes as the system counts them (on Linux
    // twice the payload it holds, for its own bookkeeping); 0 when not bound.
    int receiveBufferSize() const;
    // The most datagrams handled in one turn of the event loop.
    static constexpr int DatagramsPerTurn = 64;

private:
    void readArrived();

    QUdpSocket socket_;
    int localPort_ = 0;
};

}  // namespace tiderune
