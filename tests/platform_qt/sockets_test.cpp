#include "platform/qt/qt_sockets.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include "app/logic/error_log.h"
#include "app/logic/reception.h"
#include "core/errors.h"

namespace tiderune {
namespace {

struct Lines : ReceptionSink {
    void processLine(int system, std::string_view line) override {
        lines.push_back(std::to_string(system) + ":" + std::string(line));
    }
    void showInputBuffer(int, std::string_view) override { ++blocks; }
    void ignoredCountChanged(int, std::int32_t) override {}
    std::vector<std::string> lines;
    int blocks = 0;
};

struct NoNotices : NoticeSink {
    void notice(const Notice&) override {}
};

class SocketTest : public testing::Test {
protected:
    ~SocketTest() override { std::filesystem::remove_all(folder.root()); }

    char tmpl[64] = "/tmp/tiderune-net-XXXXXX";
    AppFolder folder{mkdtemp(tmpl)};
    SystemClock clock;
    ScriptedMessageBoxes boxes;
    NoNotices notices;
    ErrorLog errorLog{folder, clock, boxes, notices, [] {}};
    Lines sink;
    Reception reception{sink, errorLog, [](int) { return 1; }, [](int) { return false; }};
};

class TcpTest : public SocketTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        client.onConnected = [this] {
            ++connected;
            reception.tcpConnected(2);
        };
        client.onData = [this](const std::string& d) { reception.tcpData(2, d); };
        client.onError = [this](int n, const std::string& d) {
            errors.push_back(n);
            lastError = d;
        };
        client.onPeerClosed = [this] { ++peerClosed; };
    }
    // Connects the client and returns the server's end.
    QTcpSocket* accept() {
        client.connectTo("127.0.0.1", server.serverPort());
        if (!QTest::qWaitFor([&] { return server.hasPendingConnections() && connected > 0; }, 5000)) return nullptr;
        return server.nextPendingConnection();
    }
    void sendFrom(QTcpSocket* peer, const QByteArray& data) {
        peer->write(data);
        peer->flush();
        EXPECT_TRUE(QTest::qWaitFor([&] { return peer->bytesToWrite() == 0; }, 5000));
    }

    QTcpServer server;
    QtTcpClient client;
    int connected = 0;
    int peerClosed = 0;
    std::vector<int> errors;
    std::string lastError;
};

TEST_F(TcpTest, StatesAndLinesSplitAcrossArrivals) {
    EXPECT_EQ(client.state(), SocketState::Closed);
    client.connectTo("127.0.0.1", server.serverPort());
    const SocketState during = client.state();
    EXPECT_TRUE(during == SocketState::Connecting || during == SocketState::ResolvingHost ||
                during == SocketState::Connected);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections() && connected > 0; }, 5000));
    QTcpSocket* peer = server.nextPendingConnection();
    EXPECT_EQ(client.state(), SocketState::Connected);
    EXPECT_EQ(client.remoteHost(), "127.0.0.1");
    EXPECT_EQ(client.remotePort(), server.serverPort());

    sendFrom(peer, "$GPGGA,1*00\r\n$GPRMC,2*00\r\n$GPZ");
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink.lines.size() == 2; }, 5000));
    sendFrom(peer, "DA,3*00\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink.lines.size() == 3; }, 5000));
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"2:$GPGGA,1*00\r\n", "2:$GPRMC,2*00\r\n", "2:$GPZDA,3*00\r\n"}));
    EXPECT_TRUE(errors.empty());
    client.close();
    EXPECT_EQ(client.state(), SocketState::Closed);
}

TEST_F(TcpTest, PeerCloseIsNoErrorAndDeliversTheLastData) {
    QTcpSocket* peer = accept();
    ASSERT_NE(peer, nullptr);
    peer->write("$GPGGA,1*00\r\n");
    peer->disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return peerClosed > 0; }, 5000));
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"2:$GPGGA,1*00\r\n"}));
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(client.state(), SocketState::Closed);
}

TEST_F(TcpTest, RefusedConnectionIsOneErrorAndClosesOnRequest) {
    const quint16 port = server.serverPort();
    server.close();  // nobody listens there now
    client.connectTo("127.0.0.1", port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !errors.empty(); }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(errors, std::vector<int>{10061});
    EXPECT_FALSE(lastError.empty());
    EXPECT_EQ(client.state(), SocketState::Error);
    client.close();
    EXPECT_EQ(client.state(), SocketState::Closed);
    EXPECT_EQ(connected, 0);
}

TEST_F(TcpTest, ReconnectStartsWithoutCarry) {
    QTcpSocket* peer = accept();
    ASSERT_NE(peer, nullptr);
    sendFrom(peer, "$GPGG");
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink.blocks > 0; }, 5000));
    connected = 0;
    QTcpSocket* second = accept();  // connectTo closes the old connection first
    ASSERT_NE(second, nullptr);
    sendFrom(second, "$GPZDA*00\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sink.lines.empty(); }, 5000));
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"2:$GPZDA*00\r\n"}));
}

TEST(SocketErrorNumber, WinsockNumbers) {
    EXPECT_EQ(socketErrorNumber(QAbstractSocket::ConnectionRefusedError), 10061);
    EXPECT_EQ(socketErrorNumber(QAbstractSocket::HostNotFoundError), 11001);
    EXPECT_EQ(socketErrorNumber(QAbstractSocket::SocketTimeoutError), 10060);
    EXPECT_EQ(socketErrorNumber(QAbstractSocket::AddressInUseError), 10048);
}

class UdpTest : public SocketTest {
protected:
    void SetUp() override {
        listener.onDatagram = [this](const std::string& d) {
            ++datagrams;
            reception.udpDatagram(3, d);
        };
    }
    void sendTo(int port, const QByteArray& d) { sender.writeDatagram(d, QHostAddress::LocalHost, static_cast<quint16>(port)); }

    QtUdpListener listener;
    QUdpSocket sender;
    int datagrams = 0;
};

TEST_F(UdpTest, OneDatagramOneArrivalEveryLineInOrder) {
    listener.bind(0);
    ASSERT_EQ(listener.state(), SocketState::Open);
    const int port = listener.localPort();
    ASSERT_GT(port, 0);
    sendTo(port, "$A*00\r\n$B*00\r\n$C*00\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return datagrams == 1; }, 5000));
    sendTo(port, "$D*00\r\n$E");
    sendTo(port, "F*00\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return datagrams == 3; }, 5000));
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"3:$A*00\r\n", "3:$B*00\r\n", "3:$C*00\r\n", "3:$D*00\r\n",
                                                    "3:F*00\r\n"}));
    listener.close();
    EXPECT_EQ(listener.state(), SocketState::Closed);
}

TEST_F(UdpTest, ABurstAsLargeAsTheGrantedReceiveBufferArrivesWhole) {
    listener.bind(0);
    const int granted = listener.receiveBufferSize();
    // All that the system allows (Linux reports twice what was asked, up to twice rmem_max).
    long rmemMax = 0;
    std::ifstream("/proc/sys/net/core/rmem_max") >> rmemMax;
    if (rmemMax > 0) {
        EXPECT_EQ(granted, 2 * std::min<long>(rmemMax, QtUdpListener::WantedReceiveBuffer));
    }
    // 1400-byte datagrams, sent without pacing and not read until the burst is over; the
    // system charges each with its own bookkeeping, at most 4 KiB in all.
    const int count = granted / 4096;
    ASSERT_GT(count, 0);
    std::string datagram;
    for (int line = 0; line < 20; ++line) datagram += "$GPGGA," + std::string(58, 'x') + "*00\r\n";
    ASSERT_EQ(datagram.size(), 1400u);
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(sender.writeDatagram(datagram.data(), static_cast<qint64>(datagram.size()), QHostAddress::LocalHost,
                                       static_cast<quint16>(listener.localPort())),
                  1400);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return datagrams == count; }, 10000)) << datagrams << " of " << count;
    EXPECT_EQ(sink.lines.size(), static_cast<std::size_t>(count) * 20);
}

TEST_F(UdpTest, PortInUseFailsTheBind) {
    listener.bind(0);
    const int port = listener.localPort();
    QtUdpListener second;
    int number = 0;
    try {
        second.bind(port);
    } catch (const RuntimeError& e) {
        number = e.number();
        EXPECT_FALSE(e.description().empty());
    }
    EXPECT_EQ(number, 10048);
    EXPECT_EQ(second.state(), SocketState::Closed);

    // Also when another program holds the port, whatever its sharing wish.
    QUdpSocket foreign;
    ASSERT_TRUE(foreign.bind(QHostAddress::Any, 0));
    EXPECT_THROW(second.bind(foreign.localPort()), RuntimeError);
}

}  // namespace
}  // namespace tiderune
