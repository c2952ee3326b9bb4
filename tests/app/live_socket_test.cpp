// TCP and UDP reception end to end, with the peers on 127.0.0.1.
#include <QTcpServer>
#include <QTcpSocket>
#include <QElapsedTimer>
#include <QUdpSocket>
#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "app/data_sources.h"
#include "core/number_text.h"
#include "live_fixture.h"

namespace tiderune::test {
namespace {

void tcpSystem(Config& c, int system, const std::string& name, int port) {
    SystemSetup& sys = c.Systems[system];
    sys.InUse = true;
    sys.Name = name;
    sys.UseTCP = true;
    sys.TCPHost = "127.0.0.1";
    sys.TCPPort = port;
}

void udpSystem(Config& c, int system, const std::string& name, int port) {
    SystemSetup& sys = c.Systems[system];
    sys.InUse = true;
    sys.Name = name;
    sys.UseUDP = true;
    sys.UDPPort = port;
}

// A local port with nobody on it (just now).
int freeTcpPort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
    return probe.serverPort();
}
int freeUdpPort() {
    QUdpSocket probe;
    if (!probe.bind(QHostAddress::LocalHost, 0)) return 0;
    return probe.localPort();
}

class LiveTcpTest : public LiveTest {
protected:
    void SetUp() override {
        LiveTest::SetUp();
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    }
    // The program's connection as the server sees it, once the program knows it is connected.
    QTcpSocket* accept(int system) {
        if (!waitFor([&] {
                return server.hasPendingConnections() &&
                       window->sources().tcp(system).state() == SocketState::Connected;
            }))
            return nullptr;
        return server.nextPendingConnection();
    }
    void send(QTcpSocket* peer, const QByteArray& data) {
        peer->write(data);
        ASSERT_TRUE(peer->waitForBytesWritten(5000));
    }
    bool waitForLines(std::size_t n) {
        return waitFor([&] { return lines().size() >= n; });
    }
    QTcpServer server;
};

TEST_F(LiveTcpTest, LinesSplitOrBunchedByTheStreamArriveWholeAndInOrder) {
    start([&](Config& c) { tcpSystem(c, 1, "GPS1", server.serverPort()); });
    QTcpSocket* peer = accept(1);
    ASSERT_TRUE(peer);
    send(peer, "$GPGGA,1\r\n$GPGGA,");
    ASSERT_TRUE(waitForLines(1));
    send(peer, "2\r\n$GPGGA,3\r\n$GPGGA,4\r\n");
    ASSERT_TRUE(waitForLines(4));
    EXPECT_EQ(lines(),
              (std::vector<std::string>{"1:$GPGGA,1\r\n", "1:$GPGGA,2\r\n", "1:$GPGGA,3\r\n", "1:$GPGGA,4\r\n"}));

    // The peer hangs up after one more line and half of another: the line arrives, the
    // closing is no error for the user, and the socket ends closed.
    send(peer, "$GPGGA,5\r\n$GPGGA,");
    peer->disconnectFromHost();
    ASSERT_TRUE(waitFor([&] { return window->sources().tcp(1).state() == SocketState::Closed; }));
    ASSERT_TRUE(waitForLines(5));
    EXPECT_EQ(lines().back(), "1:$GPGGA,5\r\n");
    EXPECT_TRUE(boxTexts().empty());

    // A new connection (the mode switch opens the sources again) starts afresh: the half line of the old one is not joined to it.
    boxes.script.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    window->mnuModeOfflineClick();
    window->mnuModeOnlineClick();
    QTcpSocket* again = accept(1);
    ASSERT_TRUE(again);
    send(again, "6\r\n$GPGGA,7\r\n");
    ASSERT_TRUE(waitForLines(7));
    EXPECT_EQ(lines()[5], "1:6\r\n");
    EXPECT_EQ(lines()[6], "1:$GPGGA,7\r\n");
}

TEST_F(LiveTcpTest, ARefusedConnectionIsToldOnceAndLeavesTheSocketClosed) {
    const int port = freeTcpPort();
    ASSERT_NE(port, 0);
    start([&](Config& c) { tcpSystem(c, 1, "GPS1", port); });
    ASSERT_TRUE(waitFor([&] { return !boxTexts().empty(); }));
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"TCP/IP Error, system  1 : 10061 - Connection refused"});
    EXPECT_EQ(boxes.script.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(boxes.script.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(window->sources().tcp(1).state(), SocketState::Closed);
    EXPECT_TRUE(shell->config.Systems[1].InUse);  // no retry, but still the system's source
}

TEST_F(LiveTcpTest, APeerThatResetsTheConnectionAtOnceIsToldAndNotConnectedAgain) {
    // A plain listener, so that the peer can reset the connection before the program has
    // looked at it.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    start([&](Config& c) { tcpSystem(c, 1, "GPS1", ntohs(address.sin_port)); });
    const int peer = ::accept(listener, nullptr, nullptr);
    ASSERT_GE(peer, 0);
    const linger reset{1, 0};
    ::setsockopt(peer, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(peer);

    ASSERT_TRUE(waitFor([&] {
        return !boxTexts().empty() || window->sources().tcp(1).state() == SocketState::Connected;
    }));
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"TCP/IP Error, system  1 : 10054 - Connection reset by peer"});
    EXPECT_EQ(window->sources().tcp(1).state(), SocketState::Closed);
    ::fcntl(listener, F_SETFL, O_NONBLOCK);
    const int again = ::accept(listener, nullptr, nullptr);
    EXPECT_LT(again, 0) << "the program connected again";
    if (again >= 0) ::close(again);
    ::close(listener);
}

TEST_F(LiveTcpTest, DataArrivingWhileABoxIsOpenWaitsUntilItCloses) {
    start([&](Config& c) { tcpSystem(c, 1, "GPS1", server.serverPort()); });
    QTcpSocket* peer = accept(1);
    ASSERT_TRUE(peer);
    std::size_t linesWhileOpen = 99;
    boxes.whileOpen = [&](const MessageRequest&) {
        send(peer, "$GPGGA,1\r\n");
        // The user reads the box; the data has come in and waits in the gate.
        EXPECT_TRUE(waitFor([&] { return shell->gate.pendingEvents() > 0; }));
        linesWhileOpen = lines().size();
    };
    onlineButton("LOG")->trigger();  // "Logging started. ..."
    EXPECT_EQ(linesWhileOpen, 0u);
    EXPECT_EQ(lines(), std::vector<std::string>{"1:$GPGGA,1\r\n"});
    EXPECT_EQ(shell->gate.pendingEvents(), 0);
}

// Qt's warnings while it lives, in order.
class QtWarnings {
public:
    QtWarnings() {
        seen_ = &texts;
        previous_ = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            seen_->push_back(text.toStdString());
        });
    }
    ~QtWarnings() {
        qInstallMessageHandler(previous_);
        seen_ = nullptr;
    }
    std::vector<std::string> texts;

private:
    static inline std::vector<std::string>* seen_ = nullptr;
    QtMessageHandler previous_;
};

TEST_F(LiveTcpTest, AModeSwitchWithDataWaitingClosesTheConnectionWithoutReadingIt) {
    start([&](Config& c) { tcpSystem(c, 1, "GPS1", server.serverPort()); });
    QTcpSocket* peer = accept(1);
    ASSERT_TRUE(peer);
    QtWarnings warnings;
    // The data comes in while the mode question is open and waits; the answer closes the
    // connection before the reading that the freed gate asked for comes round.
    boxes.whileOpen = [&](const MessageRequest&) {
        send(peer, "$GPGGA,1\r\n");
        EXPECT_TRUE(waitFor([&] { return shell->gate.pendingEvents() > 0; }));
    };
    boxes.script.answers = {MessageAnswer::Yes};
    window->mnuModeOfflineClick();
    waitFor([] { return false; }, 200);
    EXPECT_EQ(window->sources().tcp(1).state(), SocketState::Closed);
    EXPECT_EQ(warnings.texts, std::vector<std::string>{});
    EXPECT_EQ(boxTexts(), std::vector<std::string>{
                              "Are you sure you want to change mode ? All statistics and timeseries wil be reset."});
}

// The program's resident memory, in bytes.
long residentBytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

TEST_F(LiveTcpTest, AFloodWhileTheErrorQuestionIsOpenIsHeldBackAndArrivesWholeAfterIt) {
    start([&](Config& c) { tcpSystem(c, 1, "GPS1", server.serverPort()); });
    core.onLine = [](CoreSink&, int, std::string_view line) {
        if (line.rfind("$BAD", 0) == 0) throw RuntimeError(9, "Subscript out of range");
    };
    bool inReadHandler = false;
    TcpClient& tcp = window->sources().tcp(1);
    tcp.onData = [&, handler = tcp.onData](const std::string& data) {
        inReadHandler = true;
        handler(data);
        inReadHandler = false;
    };
    QTcpSocket* peer = accept(1);
    ASSERT_TRUE(peer);
    const std::size_t callsBefore = core.calls.size();
    // The peer writes straight to its socket, as fast as TCP lets it, without buffering.
    const int fd = static_cast<int>(peer->socketDescriptor());
    int next = 0;  // lines made
    long sentBytes = 0;
    std::string pending;
    auto sendSome = [&](int upTo) {
        for (;;) {
            if (pending.empty()) {
                if (next == upTo) return;
                for (int i = 0; i < 1000 && next < upTo; ++i) pending += "$GPGGA," + std::to_string(next++) + "\r\n";
            }
            const ssize_t n = ::send(fd, pending.data(), pending.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
            if (n <= 0) return;  // TCP holds the peer back
            pending.erase(0, static_cast<std::size_t>(n));
            sentBytes += n;
        }
    };

    const int cap = 4'000'000;  // lines: far more than the system buffers between the two ends
    long grown = -1, sentWhileOpen = 0;
    std::size_t linesWhileOpen = 0;
    boxes.whileOpen = [&](const MessageRequest&) {
        EXPECT_FALSE(inReadHandler);
        const long before = residentBytes();
        // The user reads the question while the peer floods: once it is held back for 300 ms
        // the flood is over.
        QElapsedTimer stalled;
        stalled.start();
        while (next < cap && stalled.elapsed() < 300) {
            const long before = sentBytes;
            sendSome(cap);
            if (sentBytes != before) stalled.restart();
            QCoreApplication::processEvents();
        }
        sentWhileOpen = sentBytes;
        linesWhileOpen = lines().size();
        grown = residentBytes() - before;
    };
    std::string bad;
    for (int i = 0; i < 2200; ++i) bad += "$BAD," + std::to_string(i) + "\r\n";
    send(peer, QByteArray::fromStdString(bad));
    ASSERT_TRUE(waitFor([&] { return !boxTexts().empty(); }));

    // One question however many errors; nothing of the flood analysed while it was open; the
    // peer was held back long before the end of the flood, with the memory hardly grown.
    EXPECT_EQ(boxTexts().size(), 1u);
    EXPECT_EQ(linesWhileOpen, 2200u);
    EXPECT_LT(next, cap);
    EXPECT_LT(grown, 32L << 20);
    std::printf("flood while the question was open: %.1f MB sent, resident memory grew %.1f MB\n",
                sentWhileOpen / 1e6, grown / 1e6);

    // After the answer every line arrives, in order. Only the count is looked at while
    // waiting: the lines are gathered once, at the end.
    const int total = next + 10000;
    ASSERT_TRUE(waitFor([&] {
        sendSome(total);
        return core.calls.size() >= callsBefore + 2200u + total;
    }, 60000));
    const std::vector<std::string> got = lines();
    ASSERT_EQ(got.size(), 2200u + total);
    for (int i = 0; i < total; ++i) {
        if (got[2200 + i] != "1:$GPGGA," + std::to_string(i) + "\r\n") {
            ADD_FAILURE() << "line " << i << " is " << got[2200 + i];
            break;
        }
    }
    EXPECT_EQ(boxTexts().size(), 1u);
}

TEST_F(LiveTcpTest, AUdpFloodLeavesTheTcpSourceAndTheClockTheirTurn) {
    const int udpPort = freeUdpPort();
    ASSERT_NE(udpPort, 0);
    start([&](Config& c) {
        tcpSystem(c, 1, "GPS1", server.serverPort());
        udpSystem(c, 2, "AIS", udpPort);
    });
    // Each UDP line takes the analysis a while, so that the sender always has more waiting.
    core.onLine = [](CoreSink&, int system, std::string_view) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(20);
        while (system == 2 && std::chrono::steady_clock::now() < until) {
        }
    };
    QTcpSocket* peer = accept(1);
    ASSERT_TRUE(peer);
    const int tcpFd = static_cast<int>(peer->socketDescriptor());

    // The flood goes on until the test has seen what it waits for, or for 10 s at most.
    std::atomic<bool> stop = false, stoppedByTest = false;
    std::atomic<long> datagrams = 0;
    std::thread flood([&] {
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(static_cast<std::uint16_t>(udpPort));
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const std::string datagram = "!AIVDM,1,1,,A,13u?etPv2;0n:dDPwUM1U1Cb069D,0*24\r\n";
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!stop && std::chrono::steady_clock::now() < end) {
            ::sendto(fd, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
            ++datagrams;
        }
        stoppedByTest = stop.load();
        ::close(fd);
    });
    // Once the flood is on, the TCP peer sends 20 lines, one every 25 ms.
    const int tcpLines = 20;
    std::thread paced([&] {
        while (datagrams < 10000 && !stop) std::this_thread::yield();
        for (int i = 0; i < tcpLines && !stop; ++i) {
            const std::string line = "$GPGGA," + std::to_string(i) + "\r\n";
            ::send(tcpFd, line.data(), line.size(), MSG_NOSIGNAL);
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
    });
    auto tcpArrived = [&] {
        int n = 0;
        for (const std::string& l : lines()) n += l.rfind("1:", 0) == 0;
        return n;
    };
    clock.time.minute = 33;
    waitFor([&] { return tcpArrived() == tcpLines && window->panelText(13) == "14:33"; }, 30000);
    stop = true;
    paced.join();
    flood.join();

    // Every TCP line arrived, and the clock moved on, while the flood was still going.
    EXPECT_EQ(tcpArrived(), tcpLines);
    EXPECT_EQ(window->panelText(13), "14:33");
    EXPECT_TRUE(stoppedByTest) << datagrams << " datagrams sent";
    // The TCP lines came in between the datagrams' lines, not after them.
    const std::vector<std::string> got = lines();
    const auto firstTcp = std::find(got.begin(), got.end(), "1:$GPGGA,0\r\n");
    const auto lastTcp = std::find(got.begin(), got.end(), "1:$GPGGA," + std::to_string(tcpLines - 1) + "\r\n");
    ASSERT_NE(firstTcp, got.end());
    ASSERT_NE(lastTcp, got.end());
    EXPECT_GT(std::count_if(firstTcp, lastTcp, [](const std::string& l) { return l.rfind("2:", 0) == 0; }), 0);
}

class LiveUdpTest : public LiveTest {
protected:
    void sendDatagram(int port, const QByteArray& data) {
        ASSERT_EQ(sender.writeDatagram(data, QHostAddress::LocalHost, static_cast<quint16>(port)), data.size());
    }
    QUdpSocket sender;
};

TEST_F(LiveUdpTest, EveryCompleteLineOfADatagramInOrderAndNothingCarriedOver) {
    const int port = freeUdpPort();
    ASSERT_NE(port, 0);
    start([&](Config& c) { udpSystem(c, 3, "AIS", port); });
    ASSERT_EQ(window->sources().udp(3).state(), SocketState::Open);
    sendDatagram(port, "!AIVDM,1\r\n!AIVDM,2\r\n!AIVDM,3\r\n!AIVDM,");
    ASSERT_TRUE(waitFor([&] { return lines().size() >= 3; }));
    sendDatagram(port, "4\r\n");
    ASSERT_TRUE(waitFor([&] { return lines().size() >= 4; }));
    EXPECT_EQ(lines(), (std::vector<std::string>{"3:!AIVDM,1\r\n", "3:!AIVDM,2\r\n", "3:!AIVDM,3\r\n", "3:4\r\n"}));
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(LiveUdpTest, WhatWaitsForABoxIsBoundedAndWhatIsDroppedIsCounted) {
    const int port = freeUdpPort();
    ASSERT_NE(port, 0);
    start([&](Config& c) { udpSystem(c, 1, "GPS1", port); });
    std::string datagram;
    for (int line = 0; line < 20; ++line) datagram += "$GPGGA," + std::string(58, 'x') + "*00\r\n";
    const int sent = 1000;
    boxes.whileOpen = [&](const MessageRequest&) {
        for (int i = 0; i < sent; ++i) {
            sendDatagram(port, QByteArray::fromStdString(datagram));
            QCoreApplication::processEvents();  // taken in at once: the system's buffer never fills
        }
        EXPECT_TRUE(waitFor([&] { return live->IgnoredCount(1) > 0; }));
        waitFor([] { return false; }, 100);  // let the rest come in
    };
    onlineButton("LOG")->trigger();  // "Logging started. ..."
    const std::size_t kept = LiveSources::WaitingLimit / datagram.size();
    EXPECT_EQ(lines().size(), kept * 20);
    EXPECT_EQ(live->IgnoredCount(1), static_cast<std::int32_t>((sent - kept) * 20));
    EXPECT_EQ(window->panelText(9).toStdString(), StrNumber(live->IgnoredCount(1)));
}

TEST_F(LiveUdpTest, APortInUseIsToldAndDisablesTheSystem) {
    QUdpSocket holder;
    ASSERT_TRUE(holder.bind(QHostAddress::Any, 0));
    const int port = holder.localPort();
    start([&](Config& c) {
        udpSystem(c, 1, "GPS1", port);
        udpSystem(c, 2, "Gyro", freeUdpPort());
    });
    const std::string tail = ". UDP Port " + StrNumber(port) + " not available! System  1 -GPS1 disabled";
    ASSERT_EQ(boxTexts().size(), 1u);
    const std::string text = boxTexts()[0];
    ASSERT_GT(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_FALSE(shell->config.Systems[1].InUse);
    EXPECT_EQ(shell->config.Systems[1].ComPort, 0);
    // The next system is still opened.
    EXPECT_EQ(window->sources().udp(2).state(), SocketState::Open);
}

}  // namespace
}  // namespace tiderune::test

namespace tiderune::test {
namespace {

// A setup file may hold any number as a port: one that no socket can take is told, naming
// the port and why, in the way of the source's own failures (a TCP error leaves the system
// in use; a UDP source that cannot listen is disabled), and nothing is tried on it.
class LivePortTest : public LiveTest, public testing::WithParamInterface<bool> {
protected:
    static constexpr int Ports[MaxSystems] = {0, -5, 65536, 99999999};
    // Systems 1, 2, ... on the ports given.
    void startOn(const std::vector<int>& ports) {
        start([&](Config& c) {
            for (std::size_t i = 0; i < ports.size(); ++i) {
                const int s = static_cast<int>(i) + 1;
                if (GetParam())
                    tcpSystem(c, s, "S" + std::to_string(s), ports[i]);
                else
                    udpSystem(c, s, "S" + std::to_string(s), ports[i]);
            }
        });
    }
};

TEST_P(LivePortTest, APortOutsideTheRangeIsToldWithItsNumberAndNotTried) {
    const bool tcp = GetParam();
    startOn({std::begin(Ports), std::end(Ports)});
    std::vector<std::string> expected;
    for (int s = 1; s <= MaxSystems; ++s) {
        const std::string port = std::to_string(Ports[s - 1]);
        const std::string why = port + " is not a valid port number! Has to be an integer value in the range 1-65535";
        expected.push_back(tcp ? "TCP/IP Error, system " + StrNumber(s) + " : 10049 - " + why
                               : why + ". UDP Port " + StrNumber(Ports[s - 1]) + " not available! System " +
                                     StrNumber(s) + " -S" + std::to_string(s) + " disabled");
    }
    EXPECT_EQ(boxTexts(), expected);
    for (int s = 1; s <= MaxSystems; ++s) {
        const SystemSetup& sys = shell->config.Systems[s];
        EXPECT_EQ(window->sources().tcp(s).state(), SocketState::Closed) << s;
        EXPECT_EQ(window->sources().udp(s).state(), SocketState::Closed) << s;
        EXPECT_EQ(sys.InUse, tcp) << s;
        // The port the setup holds stays as it was.
        EXPECT_EQ(tcp ? sys.TCPPort : sys.UDPPort, Ports[s - 1]) << s;
    }
}

TEST_P(LivePortTest, TheEndsOfTheRangeArePorts) {
    const bool tcp = GetParam();
    startOn({1, 65535});
    // A port in use or kept for the system's own services is told otherwise, not as invalid.
    for (const std::string& text : boxTexts()) EXPECT_EQ(text.find("valid port"), std::string::npos) << text;
    if (tcp) {
        EXPECT_EQ(window->sources().tcp(1).remotePort(), 1);
        EXPECT_EQ(window->sources().tcp(2).remotePort(), 65535);
    } else if (boxTexts().empty()) {
        EXPECT_EQ(window->sources().udp(1).localPort(), 1);
        EXPECT_EQ(window->sources().udp(2).localPort(), 65535);
    }
}

INSTANTIATE_TEST_SUITE_P(TcpAndUdp, LivePortTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& p) { return p.param ? "Tcp" : "Udp"; });

}  // namespace
}  // namespace tiderune::test
