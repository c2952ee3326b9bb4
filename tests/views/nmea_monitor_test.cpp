// The NMEA monitor inside a whole main window: its load for each kind of source, the text
// box and counter rules of the monitor feed, freeze, clear, reset and the TCP state poll.
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include <cctype>

#include "app/reset_family.h"
#include "platform/qt/qt_edge.h"
#include "core/intake.h"
#include "core/parsers.h"
#include "shell_fixture.h"
#include "views/nmea_monitor_window.h"

namespace tiderune::test {
namespace {

std::string withChecksum(const std::string& body) { return body + "*" + CalcChecksum(body + "*"); }

// A TCP client whose state the test sets.
class ControlledTcp final : public TcpClient {
public:
    void connectTo(const std::string& h, int) override {
        host = h;
        st = SocketState::Connecting;
    }
    void close() override { st = SocketState::Closed; }
    SocketState state() const override { return st; }
    std::string remoteHost() const override { return host; }
    int remotePort() const override { return 0; }
    SocketState st = SocketState::Closed;
    std::string host;
};

class MonitorDevices final : public DeviceFactory {
public:
    std::unique_ptr<SerialPort> makeSerialPort(int com, const std::string& path) override {
        return inner.makeSerialPort(com, path);
    }
    std::unique_ptr<TcpClient> makeTcpClient() override {
        auto t = std::make_unique<ControlledTcp>();
        tcp.push_back(t.get());
        return t;
    }
    std::unique_ptr<UdpListener> makeUdpListener() override { return inner.makeUdpListener(); }
    std::unique_ptr<Timer> makeTimer() override { return std::make_unique<FakeTimer>(); }
    FakeDevices inner;
    std::vector<ControlledTcp*> tcp;  // one per system, in order
};

class MonitorTest : public ShellTest {
protected:
    void startWith(std::function<void(Config&)> fill) {
        haveSetupFile(std::move(fill));
        deviceFactory = &monitorDevices;
        start();
        boxes.shown.clear();
    }
    NMEAMonitorWindow* open(int system) {
        ShowNMEAWindow(*shell, system);
        return monitorWindow(*shell, system);
    }
    // One received line of a system through the core's monitor feed, drawn at once.
    void feed(int system, const std::string& text) {
        ShowRawMessage(shell->coreState, shell->sink, system, text);
        window->redrawTick().drawNow();
    }
    static std::string counters(NMEAMonitorWindow* m) {
        std::string s;
        for (QLabel* l : {m->lblMessages, m->lblNMEACount, m->lblAISCount, m->lblCheckSumOK, m->lblCheckSumError})
            s += (s.empty() ? "" : " ") + l->text().toStdString();
        return s;
    }
    static std::string box(NMEAMonitorWindow* m) { return m->txtNMEA->toPlainText().toStdString(); }

    MonitorDevices monitorDevices;
};

TEST_F(MonitorTest, LoadCaptionsColoursAndPlacesTheMonitorOfEachSystem) {
    startWith([](Config& c) {
        c.Mode = "ONLINE";
        for (int s = 1; s <= 4; ++s) useSystem(c, s, "Sys" + std::to_string(s), {});
    });
    const QColor plain = open(1)->txtNMEA->palette().color(QPalette::Base);
    const QColor colours[] = {plain, QColor(0xC0, 0xFF, 0xC0), QColor(0xFF, 0xE0, 0xC0), QColor(0xFF, 0xFF, 0xC0)};
    for (int s = 1; s <= 4; ++s) {
        SCOPED_TRACE(s);
        NMEAMonitorWindow* m = open(s);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->objectName(), "frmNMEA");
        EXPECT_EQ(m->windowTitle().toStdString(), "NMEA Monitor " + std::to_string(s) + " - Sys" + std::to_string(s));
        EXPECT_EQ(m->txtNMEA->palette().color(QPalette::Base), colours[s - 1]);
        EXPECT_TRUE(shell->config.WindowVisible[s][VisibleForms::NMEAMonitor]);
        // Left and top 100 twips per system number, 8000 x 4000 twips.
        EXPECT_EQ(m->parentWidget()->geometry(),
                  QRect(fromTwips(s * 100), fromTwips(s * 100), fromTwips(8000), fromTwips(4000)));
        EXPECT_EQ(m->lblInputBuffer1->text(), "COM-port inputbuffer :");
        EXPECT_EQ(m->panelText(1).toStdString(), "Comport : " + std::to_string(s));
        EXPECT_FALSE(m->stateTimer().isActive());
    }
    // Port 3 at 4800 baud, 8 data bits, no parity, 1 stop bit: one blank after each colon.
    NMEAMonitorWindow* m = monitorWindow(*shell, 3);
    const char* panels[] = {"Comport : 3", "Baud rate : 4800", "Data bits : 8", "Parity : none", "Stop bits : 1"};
    for (int p = 1; p <= 5; ++p) EXPECT_EQ(m->panelText(p).toStdString(), panels[p - 1]);
    // At the default size every counter and its caption is whole.
    int captions = 0;
    for (QLabel* l : m->findChildren<QLabel*>()) {
        const QString t = l->text();
        const bool caption = t == "Number of messages" || t.startsWith("Recognized as") || t.startsWith("Checksum");
        if (!caption && !l->objectName().contains("Count") && !l->objectName().contains("Messages") &&
            !l->objectName().contains("CheckSum"))
            continue;
        captions += caption;
        SCOPED_TRACE(t.toStdString());
        EXPECT_GE(l->width(), l->sizeHint().width());
        EXPECT_LE(l->geometry().right(), m->width());
    }
    EXPECT_EQ(captions, 5);

    // Closing saves the placement and clears the open word; the next load restores it.
    m->parentWidget()->move(40, 50);
    ASSERT_TRUE(shell->windows.slot(WindowKind::NMEA, 3).unload());
    EXPECT_FALSE(shell->config.WindowVisible[3][VisibleForms::NMEAMonitor]);
    EXPECT_EQ(open(3)->parentWidget()->pos(), QPoint(40, 50));
}

TEST_F(MonitorTest, ReplayedAndPortlessSerialSystemsShowWhatTheyHave) {
    startWith([](Config& c) {
        c.Mode = "OFFLINE";
        useSystem(c, 1, "GPS1", {});
        c.Systems[1].ComPort = 0;
        c.Systems[1].OfflineFile = "/data/run 1.nmea";
    });
    NMEAMonitorWindow* m = open(1);
    EXPECT_EQ(m->lblInputBuffer1->text(), "File inputbuffer :");
    EXPECT_EQ(m->panelText(1).toStdString(), "File : /data/run 1.nmea  ");
    for (int p = 2; p <= 5; ++p) EXPECT_EQ(m->panelText(p), "");
    // In OFFLINE mode each line is followed by a line end of its own.
    feed(1, "$A*00");
    feed(1, "$B*00");
    EXPECT_EQ(box(m), "$A*00\n$B*00\n");

    // A serial system without a port keeps the design texts. The mode switch leaves an open
    // monitor as it is; the next one loaded shows the new source.
    boxes.answers = {MessageAnswer::Yes};
    action("mnuModeOnline")->trigger();
    EXPECT_EQ(monitorWindow(*shell, 1), m);
    ASSERT_TRUE(shell->windows.slot(WindowKind::NMEA, 1).unload());
    NMEAMonitorWindow* online = open(1);
    EXPECT_EQ(online->panelText(1), "Comport");
    EXPECT_EQ(online->panelText(5), "Stop bits");
}

TEST_F(MonitorTest, TcpStateIsPolledFastWhileConnectingAndSlowlyOnceConnectedOrClosed) {
    startWith([](Config& c) {
        c.Mode = "ONLINE";
        useSystem(c, 1, "Radar", {});
        c.Systems[1].ComPort = 0;  // a TCP system needs no serial port
        c.Systems[1].UseTCP = true;
        c.Systems[1].TCPHost = "10.0.0.1";
        c.Systems[1].TCPPort = 8040;
    });
    NMEAMonitorWindow* m = open(1);
    EXPECT_EQ(m->panelText(1), "TCP/IP");
    EXPECT_EQ(m->panelText(2), "IP :10.0.0.1");
    EXPECT_EQ(m->panelText(3), "Port : 8040");
    EXPECT_EQ(m->panelText(5), "");
    EXPECT_TRUE(m->stateTimer().isActive());
    EXPECT_EQ(m->stateTimer().interval(), 200);

    ControlledTcp& tcp = *monitorDevices.tcp.at(0);
    struct Case {
        SocketState state;
        const char* text;
        int interval;
    };
    const Case cases[] = {
        {SocketState::Connecting, "Connecting to 10.0.0.1", 200},
        {SocketState::Connected, "Connected to 10.0.0.1", 10000},
        {SocketState::Open, " 1", 10000},  // no text of its own: the number, the interval kept
        {SocketState::Closing, "Closing", 1000},
        {SocketState::Closed, "Closed", 10000},
        {SocketState::Listening, "Listening", 1000},
        {SocketState::ConnectionPending, "Connection pending", 1000},
        {SocketState::ResolvingHost, "Resolving host", 1000},
        {SocketState::HostResolved, "Host Resolved", 1000},
        {SocketState::Error, "Error", 1000},
    };
    for (const Case& c : cases) {
        tcp.st = c.state;
        m->stateTimer().onTimeout();
        EXPECT_EQ(m->panelText(4).toStdString(), c.text);
        EXPECT_EQ(m->stateTimer().interval(), c.interval) << c.text;
    }
    ASSERT_TRUE(shell->windows.slot(WindowKind::NMEA, 1).unload());
}

TEST_F(MonitorTest, FormatCountersFollowTheFirstCharacterAndTheChecksum) {
    startWith([](Config& c) {
        c.Mode = "ONLINE";
        useSystem(c, 1, "GPS1", {});
    });
    NMEAMonitorWindow* m = open(1);
    const std::string gga = withChecksum("$GPGGA,120000.00,5900.0,N,01000.0,E,1,08,0.9,10.0,M,38.0,M,,");
    // A sentence whose checksum has a letter, given in lower case.
    std::string lower;
    for (int i = 0; lower.empty(); ++i) {
        const std::string body = "$GPZDA,12000" + std::to_string(i) + ".00,08,12,2026,00,00";
        const std::string sum = CalcChecksum(body + "*");
        if (sum.find_first_of("ABCDEF") == std::string::npos) continue;
        lower = body + "*" + char(std::tolower(sum[0])) + char(std::tolower(sum[1]));
    }
    struct Case {
        const char* name;
        std::string line;
        const char* counters;  // messages, NMEA, AIS, checksum OK, checksum error
    };
    const Case cases[] = {
        {"good NMEA with CR LF", gga + "\r\n", "1 1 0 1 0"},
        {"good AIS", withChecksum("!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0"), "2 1 1 2 0"},
        {"ends in *", "$GPZDA,120000.00,08,12,2026,00,00*", "3 2 1 2 1"},
        {"no checksum", "$GPZDA,120000.00,08,12,2026,00,00", "4 3 1 2 2"},
        {"lower-case digits", lower, "5 4 1 2 3"},
        {"CR without LF after the digits", gga + "\r", "6 5 1 2 4"},
        {"tag block", "\\s:r1,c:1*0A\\" + gga, "7 5 1 2 4"},
        {"neither $ nor !", "junk", "8 5 1 2 4"},
    };
    for (const Case& c : cases) {
        feed(1, c.line);
        EXPECT_EQ(counters(m), c.counters) << c.name;
    }
    // Lines arrive with their own line ends here: the box shows each on its line.
    EXPECT_EQ(m->lineCount(), 8);
    EXPECT_EQ(box(m).substr(0, gga.size() + 1), gga + "\n");
}

TEST_F(MonitorTest, TextBoxStartsAgainOnceItHoldsMoreLinesThanItsHeightAllows) {
    startWith([](Config& c) {
        c.Mode = "ONLINE";
        useSystem(c, 1, "GPS1", {});
    });
    NMEAMonitorWindow* m = open(1);
    const int room = static_cast<int>(m->textBoxHeightTwips() / 255);
    ASSERT_GT(room, 2);
    for (int i = 1; i <= room + 1; ++i) feed(1, "$L" + std::to_string(i) + "\r\n");
    EXPECT_EQ(m->lineCount(), room + 1);
    EXPECT_EQ(m->txtNMEA->document()->blockCount(), room + 2);  // the last line end opens one more
    feed(1, "$NEXT\r\n");
    EXPECT_EQ(m->lineCount(), 1);
    EXPECT_EQ(box(m), "$NEXT\n");

    m->cmdCLS->click();
    EXPECT_EQ(box(m), "");
    EXPECT_EQ(m->lineCount(), 0);
}

TEST_F(MonitorTest, FreezeKeepsTheTextWhileTheCountersCountAndContinueShowsLinesAgain) {
    startWith([](Config& c) {
        c.Mode = "ONLINE";
        useSystem(c, 1, "GPS1", {});
    });
    NMEAMonitorWindow* m = open(1);
    feed(1, "$A*00\r\n");
    m->cmdFreeze->click();
    EXPECT_TRUE(m->frozen());
    EXPECT_EQ(m->cmdFreeze->text(), "Continue");
    EXPECT_EQ(box(m), "$A*00\n  \n");
    feed(1, "$B*00\r\n");
    feed(1, "!C*00\r\n");
    EXPECT_EQ(box(m), "$A*00\n  \n");
    EXPECT_EQ(counters(m), "3 2 1 0 3");
    m->cmdFreeze->click();
    EXPECT_FALSE(m->frozen());
    EXPECT_EQ(m->cmdFreeze->text(), "Freeze");
    feed(1, "$D*00\r\n");
    EXPECT_EQ(box(m), "$A*00\n  \n$D*00\n");
}

TEST_F(MonitorTest, ResetAndClosingZeroTheCountersAndTheLabelsCatchUpLineByLine) {
    startWith([](Config& c) {
        c.Mode = "ONLINE";
        useSystem(c, 1, "GPS1", {});
    });
    NMEAMonitorWindow* m = open(1);
    feed(1, "$A*00");
    feed(1, "!B*00");
    feed(1, "!C*00");
    EXPECT_EQ(counters(m), "3 1 2 0 3");

    m->cmdResetCounters->click();
    const MonitorCounters& core = shell->coreState.Monitor[1];
    EXPECT_EQ(core.MonitorSentenceCount + core.MonitorNMEACount + core.MonitorAISCount + core.MonitorChecksumOK +
                  core.MonitorChecksumError,
              0);
    EXPECT_EQ(counters(m), "3 1 2 0 3");  // the labels wait for the next line
    feed(1, withChecksum("$D"));
    EXPECT_EQ(counters(m), "1 1 2 1 3");  // only the counters that grew are shown anew

    // Closing zeroes them too; the next monitor starts from 0 and unfrozen.
    m->cmdFreeze->click();
    feed(1, "$E*00");
    ASSERT_TRUE(shell->windows.slot(WindowKind::NMEA, 1).unload());
    EXPECT_EQ(shell->coreState.Monitor[1].MonitorSentenceCount, 0);
    m = open(1);
    EXPECT_EQ(counters(m), "0 0 0 0 0");
    EXPECT_FALSE(m->frozen());
    EXPECT_EQ(m->cmdFreeze->text(), "Freeze");
    feed(1, "$F*00");
    EXPECT_EQ(counters(m), "1 1 0 0 1");
}

}  // namespace
}  // namespace tiderune::test
