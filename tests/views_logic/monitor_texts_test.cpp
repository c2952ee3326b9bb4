// The NMEA monitor's texts without Qt: status panels per source, the TCP state text with its
// poll interval, and the text box and counter-label rules.
#include <gtest/gtest.h>

#include "views/logic/monitor_texts.h"

namespace tiderune {
namespace {

TEST(MonitorTexts, PanelsFollowTheSourceOfTheSystem) {
    Config c;
    c.Systems[2].ComPort = 5;
    c.Comports[5] = {};
    c.Comports[5].Baud = 38400;
    c.Comports[5].DataBits = 7;
    c.Comports[5].Parity = "even";
    c.Comports[5].StopBits = 2;
    c.Systems[3].UseTCP = true;
    c.Systems[3].UseUDP = true;  // TCP wins
    c.Systems[3].ComPort = 5;  // a TCP or UDP system shows its source whatever port it holds
    c.Systems[3].TCPHost = "10.0.0.1";
    c.Systems[3].TCPPort = 8040;
    c.Systems[1].UseUDP = true;
    c.Systems[1].ComPort = 5;
    c.Systems[1].UDPPort = 18042;
    c.Systems[4].ComPort = 0;
    // The file system's UTF-8 name in the monitor's Latin-1 text.
    c.Systems[3].OfflineFile = "/data/a b\xC3\xA5.nmea";
    using P = std::array<std::optional<std::string>, 5>;
    const std::optional<SocketState> load, connected = SocketState::Connected, connecting = SocketState::Connecting;
    // The monitor's load and the setup's OK: the same texts, but for the TCP state in OK's words.
    const struct {
        const char* mode;
        int system;
        std::optional<SocketState> tcp;
        P panels;
        bool polls;
    } cases[] = {
        {"ONLINE", 2, load, {"Comport : 5", "Baud rate : 38400", "Data bits : 7", "Parity : even", "Stop bits : 2"}, false},
        {"ONLINE", 2, connected, {"Comport : 5", "Baud rate : 38400", "Data bits : 7", "Parity : even", "Stop bits : 2"}, false},
        {"ONLINE", 3, load, {"TCP/IP", "IP :10.0.0.1", "Port : 8040", std::nullopt, ""}, true},
        {"ONLINE", 3, connected, {"TCP/IP", "IP :10.0.0.1", "Port : 8040", "State : Connected", ""}, true},
        {"ONLINE", 3, connecting, {"TCP/IP", "IP :10.0.0.1", "Port : 8040", "State :  6", ""}, true},
        {"ONLINE", 1, load, {"UDP", "", "Port : 18042", "", ""}, false},
        {"ONLINE", 1, connected, {"UDP", "", "Port : 18042", "", ""}, false},
        {"ONLINE", 4, load, {"Comport", "Baud rate", "Data bits", "Parity", "Stop bits"}, false},
        {"ONLINE", 9, load, {}, false},
        {"OFFLINE", 3, load, {"File : /data/a b\xE5.nmea  ", "", "", "", ""}, false},
        {"OFFLINE", 3, connected, {"File : /data/a b\xE5.nmea  ", "", "", "", ""}, false},
    };
    for (const auto& k : cases) {
        c.Mode = k.mode;
        const MonitorPanels p = monitorPanels(c, k.system, k.tcp);
        EXPECT_EQ(p.text, k.panels) << k.mode << " " << k.system;
        EXPECT_EQ(p.pollsTcpState, k.polls) << k.mode << " " << k.system;
    }
    c.Mode = "ONLINE";
    EXPECT_STREQ(inputBufferCaption(c), "COM-port inputbuffer :");
    c.Mode = "OFFLINE";
    EXPECT_STREQ(inputBufferCaption(c), "File inputbuffer :");
}

TEST(MonitorTexts, TcpStateTextAndNextPoll) {
    const struct {
        SocketState state;
        const char* text;
        int interval;
    } cases[] = {
        {SocketState::Connecting, "Connecting to h", 200},   {SocketState::Connected, "Connected to h", 10000},
        {SocketState::Closed, "Closed", 10000},              {SocketState::Closing, "Closing", 1000},
        {SocketState::ResolvingHost, "Resolving host", 1000}, {SocketState::Error, "Error", 1000},
        {SocketState::Open, " 1", 0},  // no text of its own: the number, the interval kept
    };
    for (const auto& c : cases) {
        const TcpStateText t = tcpStateText(c.state, "h");
        EXPECT_EQ(t.text, c.text);
        EXPECT_EQ(t.intervalMs, c.interval) << c.text;
    }
}

MonitorCounters counters(int messages, int nmea, int ais, int ok, int bad) {
    MonitorCounters m;
    m.MonitorSentenceCount = messages;
    m.MonitorNMEACount = nmea;
    m.MonitorAISCount = ais;
    m.MonitorChecksumOK = ok;
    m.MonitorChecksumError = bad;
    return m;
}

TEST(MonitorView, TextBoxStartsAgainWhenFullAndFreezeKeepsIt) {
    MonitorView v;
    v.showLine("$A\r\n", counters(1, 1, 0, 0, 1), 1, false);
    v.showLine("$B\r", counters(2, 2, 0, 0, 2), 1, false);  // a lone CR stays
    EXPECT_EQ(v.text(), "$A\n$B\r");
    const auto g = v.generation();
    v.showLine("$C", counters(3, 3, 0, 0, 3), 1, true);  // more lines than room: empty first
    EXPECT_EQ(v.text(), "$C\n");
    EXPECT_EQ(v.lineCount(), 1);
    EXPECT_GT(v.generation(), g);

    EXPECT_TRUE(v.toggleFreeze());
    v.showLine("$D", counters(4, 4, 0, 0, 4), 9, true);
    EXPECT_EQ(v.text(), "$C\n  \n");
    EXPECT_EQ(v.labels(), (std::array<std::int32_t, 5>{4, 4, 0, 0, 4}));  // counters go on
    EXPECT_FALSE(v.toggleFreeze());
}

TEST(MonitorView, InputBufferShowsABlockOfLinesOnOneLineAndKeepsOnlyItsStart) {
    MonitorView v;
    v.setInputBuffer("$A*00\r\n$B*00\r\n$C");
    EXPECT_EQ(v.inputBuffer(), "$A*00\r\n$B*00\r\n$C");
    EXPECT_EQ(v.inputBufferLine(), "$A*00<CR><LF>$B*00<CR><LF>$C");
    const std::string backlog(100000, 'x');
    v.setInputBuffer(backlog);
    EXPECT_EQ(v.inputBuffer(), backlog.substr(0, MonitorView::InputBufferKept));
}

TEST(MonitorView, AfterACounterResetEachLabelWaitsForItsOwnCounterToGrow) {
    MonitorView v;
    v.showLine("x", counters(3, 1, 2, 0, 3), 9, false);
    v.countersReset();
    v.showLine("y", counters(1, 1, 0, 1, 0), 9, false);
    // Messages always; NMEA and checksum OK moved from 0; AIS and errors keep their old text.
    EXPECT_EQ(v.labels(), (std::array<std::int32_t, 5>{1, 1, 2, 1, 3}));
}

}  // namespace
}  // namespace tiderune
