#include "platform/qt/qt_serial_port.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QTest>
#include <gtest/gtest.h>

#include "app/logic/error_log.h"
#include "app/logic/reception.h"
#include "core/errors.h"

namespace tiderune {
namespace {

// A pseudo-terminal pair: the program opens the slave as its serial port, the test writes to
// the master as the device on the other end of the cable.
class PtyFixture : public testing::Test {
protected:
    void SetUp() override {
        int slave = -1;
        char name[256] = {};
        ASSERT_EQ(openpty(&master_, &slave, name, nullptr, nullptr), 0);
        slavePath_ = name;
        // Keep the slave open here too, so the master does not see a hang-up while the port
        // is closed between test steps.
        slaveKeep_ = slave;
        termios t{};
        tcgetattr(slave, &t);
        cfmakeraw(&t);
        tcsetattr(slave, TCSANOW, &t);
    }
    void TearDown() override {
        if (master_ >= 0) ::close(master_);
        if (slaveKeep_ >= 0) ::close(slaveKeep_);
    }
    void send(const std::string& s) { ASSERT_EQ(::write(master_, s.data(), s.size()), static_cast<ssize_t>(s.size())); }

    int master_ = -1;
    int slaveKeep_ = -1;
    std::string slavePath_;
};

int errorNumberOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST_F(PtyFixture, ReceivesWhatArrivedSinceTheLastEvent) {
    QtSerialPort port(3, slavePath_);
    port.setSettings("4800,n,8,1");
    std::string received;
    int events = 0;
    port.onReceive = [&](const std::string& s) {
        received += s;
        ++events;
    };
    port.open();
    ASSERT_TRUE(port.isOpen());
    send("$GPGGA,1*00\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 13; }, 5000));
    send(std::string("\xB0\x00\xFF\r\n", 5));  // any byte is one character
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 18; }, 5000));
    EXPECT_EQ(received, std::string("$GPGGA,1*00\r\n\xB0\x00\xFF\r\n", 18));
    EXPECT_GE(events, 2);
    port.close();
    EXPECT_FALSE(port.isOpen());
}

TEST_F(PtyFixture, OpenAndSettingsErrors) {
    QtSerialPort port(1, slavePath_);
    for (const char* bad : {"", "4800,n,8", "4800,x,8,1", "abc,n,8,1", "4800,n,9,1", "4800,n,8,3", "4800,n,8,1,"})
        EXPECT_EQ(errorNumberOf([&] { port.setSettings(bad); }), 380) << bad;
    port.setSettings("9600,e,7,2");
    EXPECT_EQ(port.settings(), "9600,e,7,2");
    port.open();
    EXPECT_EQ(errorNumberOf([&] { port.open(); }), 8005);
    EXPECT_EQ(errorNumberOf([&] { port.setSettings("4800,n,8,1"); }), 0);  // applies to the open port

    QtSerialPort other(2, slavePath_);  // the same device held by another port object
    EXPECT_EQ(errorNumberOf([&] { other.open(); }), 8005);
    EXPECT_FALSE(other.isOpen());

    QtSerialPort missing(4, "/dev/tiderune-no-such-port");
    EXPECT_EQ(errorNumberOf([&] { missing.open(); }), 8002);
    QtSerialPort notADevice(5, "/etc/hostname");
    EXPECT_EQ(errorNumberOf([&] { notADevice.open(); }), 8002);

    port.close();
    other.open();  // free again
    EXPECT_TRUE(other.isOpen());
}

TEST_F(PtyFixture, HangUpOfTheOtherEndIsALineError) {
    QtSerialPort port(1, slavePath_);
    int lineErrors = 0;
    port.onLineError = [&](SerialLineError) { ++lineErrors; };
    port.open();
    ::close(slaveKeep_);
    slaveKeep_ = -1;
    ::close(master_);
    master_ = -1;
    EXPECT_TRUE(QTest::qWaitFor([&] { return lineErrors > 0; }, 5000));
}

struct Lines : ReceptionSink {
    void processLine(int, std::string_view line) override { lines.emplace_back(line); }
    void showInputBuffer(int, std::string_view) override {}
    void ignoredCountChanged(int, std::int32_t count) override { ignored = count; }
    std::vector<std::string> lines;
    std::int32_t ignored = 0;
};

struct NoNotices : NoticeSink {
    void notice(const Notice&) override {}
};

// The port feeding the reception of system 1, as the main window wires them.
class PtyReceptionTest : public PtyFixture {
protected:
    void SetUp() override {
        PtyFixture::SetUp();
        port = std::make_unique<QtSerialPort>(1, slavePath_);
        port->onReceive = [this](const std::string& s) {
            ++events;
            reception.serialReceived(1, s);
        };
        port->onLineError = [this](SerialLineError) { reception.serialLineError(1); };
        port->open();
    }
    // Waits until the port buffer holds `text` after the last event.
    bool waitForBuffer(std::string_view text) {
        return QTest::qWaitFor([&] { return reception.portBuffer(1).text() == text; }, 5000);
    }

    char tmpl[64] = "/tmp/tiderune-pty-XXXXXX";
    AppFolder folder{mkdtemp(tmpl)};
    SystemClock clock;
    ScriptedMessageBoxes boxes;
    NoNotices notices;
    ErrorLog errorLog{folder, clock, boxes, notices, [] {}};
    Lines sink;
    bool emptyBuffer = false;
    Reception reception{sink, errorLog, [](int) { return 1; }, [this](int) { return emptyBuffer; }};
    std::unique_ptr<QtSerialPort> port;
    int events = 0;

    void TearDown() override {
        port.reset();
        PtyFixture::TearDown();
        std::filesystem::remove_all(folder.root());
    }
};

TEST_F(PtyReceptionTest, OneLinePerEventTheRestWaits) {
    send("$A*00\r\n$B*00\r\n$C*00\r\n");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return sink.lines.size() + (reception.portBuffer(1).text().size() / 7) == 3 && events > 0; }, 5000));
    EXPECT_LE(sink.lines.size(), static_cast<std::size_t>(events));
    // Every further event takes the next waiting line, in order.
    while (sink.lines.size() < 3) {
        const auto before = sink.lines.size();
        send("x");
        ASSERT_TRUE(QTest::qWaitFor([&] { return sink.lines.size() > before; }, 5000));
    }
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"$A*00\r\n", "$B*00\r\n", "$C*00\r\n"}));
    EXPECT_EQ(reception.portBuffer(1).text().find_first_not_of('x'), std::string_view::npos);
}

TEST_F(PtyReceptionTest, LineSplitAcrossWrites) {
    send("$GPGGA,1");
    ASSERT_TRUE(waitForBuffer("$GPGGA,1"));
    EXPECT_TRUE(sink.lines.empty());
    send("23*00\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sink.lines.empty(); }, 5000));
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"$GPGGA,123*00\r\n"}));
}

TEST_F(PtyReceptionTest, BufferEmptyingKeepsTheNewest) {
    emptyBuffer = true;
    std::string burst;
    for (int i = 0; i < 20; ++i) burst += "$L" + std::to_string(i % 10) + "*00\r\n";
    send(burst + "$GP");
    ASSERT_TRUE(waitForBuffer("$GP"));
    // Each event analyses one line and discards the complete lines behind it.
    EXPECT_EQ(sink.lines.size() + static_cast<std::size_t>(sink.ignored), 20u);
    EXPECT_LE(sink.lines.size(), static_cast<std::size_t>(events));
    EXPECT_EQ(sink.lines.front(), "$L0*00\r\n");
}

}  // namespace
}  // namespace tiderune
