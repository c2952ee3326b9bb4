#include "app/logic/reception.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "app/logic/error_log.h"
#include "core/errors.h"
#include "temp_folder.h"

namespace tiderune {
namespace {

struct Call {
    std::string what;
    int system;
    std::string text;
    bool operator==(const Call&) const = default;
};
void PrintTo(const Call& c, std::ostream* os) { *os << c.what << '(' << c.system << ", \"" << c.text << "\")"; }

struct RecordingSink : ReceptionSink {
    void processLine(int system, std::string_view line) override {
        calls.push_back({"line", system, std::string(line)});
        if (line.find("BAD") != std::string_view::npos) throw RuntimeError(9, "Subscript out of range");
    }
    void showInputBuffer(int system, std::string_view text) override {
        calls.push_back({"buffer", system, std::string(text)});
    }
    void ignoredCountChanged(int system, std::int32_t count) override {
        calls.push_back({"ignored", system, std::to_string(count)});
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (const Call& c : calls)
            if (c.what == "line") out.push_back(std::to_string(c.system) + ":" + c.text);
        return out;
    }
    std::vector<Call> calls;
};

struct NoNotices : NoticeSink {
    void notice(const Notice&) override {}
};

class ReceptionTest : public testing::Test {
protected:
    ReceptionTest() {
        owner.fill(0);
        owner[3] = 2;  // COM3 feeds system 2
    }
    std::string errorLogText() { return test::readFile(folder.errorLogFile()); }

    test::TempFolder temp;
    AppFolder folder{temp.path()};
    FixedClock clock{ClockTime{2019, 10, 26, 14, 32, 5, 0}};
    ScriptedMessageBoxes boxes;
    NoNotices notices;
    ErrorLog errorLog{folder, clock, boxes, notices, [] {}};
    RecordingSink sink;
    PerComPort<int> owner;
    PerSystem<bool> emptyBuffer;
    Reception reception{sink, errorLog, [this](int p) { return owner[p]; }, [this](int s) { return emptyBuffer[s]; }};
};

TEST_F(ReceptionTest, SerialEventShowsTheBufferAndAnalysesOneLine) {
    reception.serialReceived(3, "$GPGGA,1*00\r\n$GPRMC,2*00\r\n");
    reception.serialReceived(3, "$GP");
    EXPECT_EQ(sink.calls, (std::vector<Call>{
                              {"buffer", 2, "$GPGGA,1*00\r\n$GPRMC,2*00\r\n"},
                              {"line", 2, "$GPGGA,1*00\r\n"},
                              {"buffer", 2, "$GPRMC,2*00\r\n$GP"},
                              {"line", 2, "$GPRMC,2*00\r\n"},
                          }));
    EXPECT_EQ(reception.portBuffer(3).text(), "$GP");
    EXPECT_EQ(reception.ignoredCount(2), 0);
}

TEST_F(ReceptionTest, BufferEmptyingDiscardsAndCounts) {
    emptyBuffer[2] = true;
    reception.serialReceived(3, "$GPGGA,1*00\r\n$GPRMC,2*00\r\n$GPZDA,3*00\r\n$GP");
    reception.serialReceived(3, "GSV*00\r\n");
    EXPECT_EQ(sink.lines(), (std::vector<std::string>{"2:$GPGGA,1*00\r\n", "2:$GPGSV*00\r\n"}));
    EXPECT_EQ(reception.ignoredCount(2), 2);
    EXPECT_EQ(sink.calls[1], (Call{"ignored", 2, "2"}));
    EXPECT_EQ(sink.calls[2], (Call{"line", 2, "$GPGGA,1*00\r\n"}));  // counted before the line is analysed
    // A long run's count stops at its largest value instead of turning negative.
    reception.countIgnored(2, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(reception.ignoredCount(2), std::numeric_limits<std::int32_t>::max());
}

// A port that delivers more than its buffer holds loses what waited, and the lines lost are
// counted once: the receives after the overflow add nothing to the count unless they overflow
// again.
TEST_F(ReceptionTest, LinesLostToAnOverflowAreCountedOnce) {
    std::string flood;  // more than the buffer holds, in whole lines of 17 bytes
    for (int i = 0; i < 70000; ++i) flood += "$GPZDA," + std::to_string(10000 + i) + "*00\r\n";
    ASSERT_GT(flood.size(), SerialLineBuffer::DefaultTotalLimit);
    struct Step {
        std::string received;
        std::vector<std::string> analysed;  // by this receive
        std::int32_t ignored;
    };
    const Step steps[] = {
        {flood, {}, 70000},
        {"$A*00\r\n", {"2:$A*00\r\n"}, 70000},
        {"$B*00\r\n$C*00\r\n", {"2:$B*00\r\n"}, 70000},
        {"", {"2:$C*00\r\n"}, 70000},
        // Cut in the middle of a line: that line is lost whole and counted with the rest.
        {flood + "$GPZ", {}, 140001},
        {"DA*00\r\n$D*00\r\n", {"2:$D*00\r\n"}, 140001},
        {"$E*00\r\n", {"2:$E*00\r\n"}, 140001},
    };
    std::vector<std::string> ignoredShown, expectedShown;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.received.substr(0, 20));
        sink.calls.clear();
        reception.serialReceived(3, step.received);
        EXPECT_EQ(sink.lines(), step.analysed);
        EXPECT_EQ(reception.ignoredCount(2), step.ignored);
        for (const Call& c : sink.calls)
            if (c.what == "ignored") ignoredShown.push_back(c.text);
        if (expectedShown.empty() || expectedShown.back() != std::to_string(step.ignored))
            expectedShown.push_back(std::to_string(step.ignored));
    }
    // The panel is told at each change only.
    EXPECT_EQ(ignoredShown, expectedShown);
}

TEST_F(ReceptionTest, LineErrorBetweenHalvesOfALine) {
    reception.serialReceived(3, "$GPGGA,1");
    reception.serialLineError(3);
    reception.serialReceived(3, "23*00\r\n");
    EXPECT_EQ(sink.lines(), (std::vector<std::string>{"2:23*00\r\n"}));
}

TEST_F(ReceptionTest, AFailingLineIsLoggedAndTheNextStillArrives) {
    reception.serialReceived(3, "$BAD*00\r\n");
    reception.serialReceived(3, "$GOOD*00\r\n");
    reception.udpDatagram(1, "$BAD*00\r\n$GOOD*01\r\n");
    EXPECT_EQ(sink.lines(),
              (std::vector<std::string>{"2:$BAD*00\r\n", "2:$GOOD*00\r\n", "1:$BAD*00\r\n", "1:$GOOD*01\r\n"}));
    EXPECT_EQ(errorLogText(), "2019 Oct 26 14:32:05 - Error description : Subscript out of range\r\n"
                              "2019 Oct 26 14:32:05 - Error description : Subscript out of range\r\n");
    EXPECT_EQ(errorLog.count(), 2);
}

TEST_F(ReceptionTest, APortWithoutAValidSystemIsIgnoredAndLoggedOnce) {
    owner[5] = 7;
    for (int i = 0; i < 3; ++i) reception.serialReceived(5, "$GPGGA*00\r\n");
    owner[6] = 0;
    reception.serialReceived(6, "$GPGGA*00\r\n");
    reception.serialReceived(6, "$GPGGA*00\r\n");
    EXPECT_TRUE(sink.calls.empty());
    // Port 6 given a system and then, by another damaged setup, the same wrong one again:
    // logged again.
    owner[6] = 1;
    reception.serialReceived(6, "$GPGGA*00\r\n");
    owner[6] = 0;
    reception.serialReceived(6, "$GPGGA*00\r\n");
    EXPECT_EQ(sink.lines(), (std::vector<std::string>{"1:$GPGGA*00\r\n"}));
    const std::string port6 =
        "2019 Oct 26 14:32:05 - Error description : Comport 6 belongs to system 0, which does not exist. Its "
        "data is ignored\r\n";
    EXPECT_EQ(errorLogText(),
              "2019 Oct 26 14:32:05 - Error description : Comport 5 belongs to system 7, which does not exist. Its "
              "data is ignored\r\n" +
                  port6 + port6);
    EXPECT_EQ(errorLog.count(), 0);  // not a run-time error of the data path
    reception.serialReceived(17, "$GPGGA*00\r\n");  // no such port: nothing at all
}

TEST_F(ReceptionTest, TcpCarriesSplitLinesUntilANewConnection) {
    reception.tcpData(4, "$GPGGA,1*00\r\n$GPR");
    reception.tcpData(4, "MC,2*00\r\n$GPZ");
    reception.tcpConnected(4);
    reception.tcpData(4, "$GPGSV*00\r\n");
    EXPECT_EQ(sink.lines(), (std::vector<std::string>{"4:$GPGGA,1*00\r\n", "4:$GPRMC,2*00\r\n", "4:$GPGSV*00\r\n"}));
    EXPECT_EQ(sink.calls[0], (Call{"buffer", 4, "$GPGGA,1*00\r\n$GPR"}));
}

TEST_F(ReceptionTest, SocketsIgnoreBufferEmptying) {
    emptyBuffer[1] = true;
    reception.tcpData(1, "$A*00\r\n$B*00\r\n");
    reception.udpDatagram(2, "$C*00\r\n$D*00\r\n$E");
    reception.udpDatagram(2, "*00\r\n");
    // "$E" ends its datagram unfinished and is dropped; the next datagram stands alone.
    EXPECT_EQ(sink.lines(), (std::vector<std::string>{"1:$A*00\r\n", "1:$B*00\r\n", "2:$C*00\r\n", "2:$D*00\r\n",
                                                      "2:*00\r\n"}));
    EXPECT_EQ(reception.ignoredCount(1), 0);
}

}  // namespace
}  // namespace tiderune
