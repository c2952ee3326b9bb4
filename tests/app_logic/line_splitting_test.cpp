#include "app/logic/line_splitting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tiderune {
namespace {

using Lines = std::vector<std::string>;

struct SerialCase {
    const char* name;
    std::vector<std::string> events;  // what each receive event brings
    bool emptyBuffer;
    Lines taken;          // the line taken at each event ("" for none)
    int discarded;        // lines discarded in all
    std::string remains;  // the buffer afterwards
};

void PrintTo(const SerialCase& c, std::ostream* os) { *os << c.name; }

class SerialLineBufferTest : public testing::TestWithParam<SerialCase> {};

TEST_P(SerialLineBufferTest, TakesOneLinePerEvent) {
    const SerialCase& c = GetParam();
    SerialLineBuffer buffer;
    Lines taken;
    int discarded = 0;
    for (const std::string& e : c.events) {
        buffer.append(e);
        auto line = buffer.takeLine();
        taken.push_back(line.value_or(""));
        if (line && c.emptyBuffer) discarded += buffer.discardCompleteLines();
    }
    EXPECT_EQ(taken, c.taken);
    EXPECT_EQ(discarded, c.discarded);
    EXPECT_EQ(buffer.text(), c.remains);
}

INSTANTIATE_TEST_SUITE_P(
    Events, SerialLineBufferTest,
    testing::Values(
        SerialCase{"TwoLinesOneEventWait", {"$GPGGA,1*00\r\n$GPRMC,2*00\r\n", "x"}, false,
                   {"$GPGGA,1*00\r\n", "$GPRMC,2*00\r\n"}, 0, "x"},
        SerialCase{"TwoLinesOneEventEmptied", {"$GPGGA,1*00\r\n$GPRMC,2*00\r\n$GP"}, true, {"$GPGGA,1*00\r\n"}, 1,
                   "$GP"},
        SerialCase{"LineSplitOverEvents", {"$GPGGA,1", "23*00\r", "\n"}, false, {"", "", "$GPGGA,123*00\r\n"}, 0,
                   ""},
        SerialCase{"BareLineFeedEndsLine", {"abc\ndef"}, false, {"abc\n"}, 0, "def"},
        SerialCase{"EmptyLine", {"\n\n"}, true, {"\n"}, 1, ""},
        SerialCase{"NoLineFeedNothingTaken", {"$GPGGA", ",1,2"}, true, {"", ""}, 0, "$GPGGA,1,2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SerialLineBuffer, ClearLosesTheFirstHalfOfASplitLine) {
    SerialLineBuffer buffer;
    buffer.append("$GPGGA,12");
    buffer.clear();  // a framing error between the halves
    buffer.append("3*00\r\n");
    EXPECT_EQ(buffer.takeLine(), "3*00\r\n");
}

TEST(SerialLineBuffer, ACutDropsTheLineItSplitsWholeAndKeepsTheLinesBeforeIt) {
    SerialLineBuffer buffer;
    buffer.append("$GPGGA,1*00\r\n$GPGGA,2");
    buffer.cut();  // "*00\r\n$GPGGA,3" never came in
    buffer.append("*00\r\n$GPGGA,4*00\r\n");
    EXPECT_EQ(buffer.takeLine(), "$GPGGA,1*00\r\n");
    EXPECT_EQ(buffer.takeLine(), "$GPGGA,4*00\r\n");
    EXPECT_TRUE(buffer.empty());
}

TEST(SerialLineBuffer, TextWithoutLineFeedDoesNotGrowWithoutBound) {
    SerialLineBuffer buffer(100, 1000);
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(buffer.append(std::string(10, 'x')));
    EXPECT_FALSE(buffer.append("x"));  // 101 characters, no line feed
    EXPECT_TRUE(buffer.empty());
    EXPECT_EQ(buffer.overflowCount(), 1);
    buffer.append("$GPZDA*00\r\n");
    EXPECT_EQ(buffer.takeLine(), "$GPZDA*00\r\n");
}

TEST(SerialLineBuffer, WaitingLinesAreBoundedToo) {
    SerialLineBuffer buffer(100, 1000);
    const std::string line(49, 'a');
    int taken = 0;
    bool overflowed = false;
    for (int i = 0; i < 100 && !overflowed; ++i) {
        overflowed = !buffer.append(line + "\n" + line + "\n");  // two lines in, one out
        taken += buffer.takeLine().has_value();
    }
    EXPECT_TRUE(overflowed);
    EXPECT_LE(buffer.text().size(), 1000u);
    EXPECT_EQ(buffer.overflowLines(), 2 * (taken + 1) - taken);  // all that waited went

    // Overflowing in the middle of a line: the rest of that line goes when it comes, so the
    // next line handed on is a whole one.
    SerialLineBuffer cut(100, 1000);
    cut.append(std::string(990, 'a') + "\n$GPGGA,1");
    EXPECT_FALSE(cut.append("2,3"));
    cut.append(",4*00\r\n$GPZDA*00\r\n");
    EXPECT_EQ(cut.takeLine(), "$GPZDA*00\r\n");
    EXPECT_EQ(cut.overflowLines(), 2);
}

TEST(SerialLineBuffer, LongBacklogKeepsOrder) {
    SerialLineBuffer buffer;
    std::string all;
    for (int i = 0; i < 500; ++i) all += "line " + std::to_string(i) + "\r\n";
    buffer.append(all);
    for (int i = 0; i < 500; ++i) {
        auto line = buffer.takeLine();
        ASSERT_TRUE(line);
        EXPECT_EQ(*line, "line " + std::to_string(i) + "\r\n");
        buffer.append("");  // an event without data still compacts safely
    }
    EXPECT_TRUE(buffer.empty());
}

TEST(StreamLineSplitter, JoinsLinesSplitAcrossReads) {
    struct Case {
        std::vector<std::string> reads;
        Lines lines;
        std::string carry;
    };
    const Case cases[] = {
        {{"$GPGGA,1*00\r\n$GPRMC,2*00\r\n"}, {"$GPGGA,1*00\r\n", "$GPRMC,2*00\r\n"}, ""},
        {{"$GPGGA,1", "*00\r\n$GPR", "MC,2*00\r", "\n"}, {"$GPGGA,1*00\r\n", "$GPRMC,2*00\r\n"}, ""},
        {{"a\nb", "c\nd"}, {"a\n", "bc\n"}, "d"},
        {{"\n"}, {"\n"}, ""},
        {{"no line feed"}, {}, "no line feed"},
    };
    for (const Case& c : cases) {
        StreamLineSplitter splitter;
        Lines got;
        for (const auto& r : c.reads) splitter.feed(r, [&](std::string_view l) { got.emplace_back(l); });
        EXPECT_EQ(got, c.lines);
        EXPECT_EQ(splitter.carry(), c.carry);
    }
}

TEST(StreamLineSplitter, DropsAnUnfinishedLineBeyondTheLimit) {
    StreamLineSplitter splitter(10);
    Lines got;
    auto add = [&](std::string_view l) { got.emplace_back(l); };
    splitter.feed("0123456789", add);
    splitter.feed("A", add);  // 11 characters without a line feed
    EXPECT_EQ(splitter.carry(), "");
    EXPECT_EQ(splitter.droppedCount(), 1);
    splitter.feed("ok\n", add);
    EXPECT_EQ(got, Lines{"ok\n"});
    // The same for a tail behind the last line feed of a read.
    splitter.feed("ok\n0123456789A", add);
    EXPECT_EQ(splitter.carry(), "");
    EXPECT_EQ(splitter.droppedCount(), 2);
}

TEST(StreamLineSplitter, ResetForgetsTheCarry) {
    StreamLineSplitter splitter;
    Lines got;
    splitter.feed("$GPGG", [&](std::string_view l) { got.emplace_back(l); });
    splitter.reset();
    splitter.feed("$GPZDA*00\r\n", [&](std::string_view l) { got.emplace_back(l); });
    EXPECT_EQ(got, Lines{"$GPZDA*00\r\n"});
}

TEST(StreamLineSplitter, HandlerFeedingTheSameSplitterKeepsEveryLine) {
    StreamLineSplitter splitter;
    Lines got;
    bool fedAgain = false;
    std::function<void(std::string_view)> add = [&](std::string_view l) {
        got.emplace_back(l);
        if (!fedAgain) {
            fedAgain = true;
            splitter.feed("c\n", add);
        }
    };
    splitter.feed("a\nb\n", add);
    EXPECT_EQ(got, (Lines{"a\n", "c\n", "b\n"}));
}

TEST(SplitDatagram, EveryCompleteLineTailDropped) {
    Lines got;
    splitDatagram("$A*00\r\n$B*00\r\n$C*00\r\n$D", [&](std::string_view l) { got.emplace_back(l); });
    EXPECT_EQ(got, (Lines{"$A*00\r\n", "$B*00\r\n", "$C*00\r\n"}));
    got.clear();
    splitDatagram("no line feed", [&](std::string_view l) { got.emplace_back(l); });
    EXPECT_TRUE(got.empty());
}

}  // namespace
}  // namespace tiderune
