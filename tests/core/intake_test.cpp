#include "core/intake.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/parsers.h"

using namespace tiderune;

namespace {

// Every outward call, in order, as one line of text.
class RecordingSink : public CoreSink {
public:
    void notice(const Notice& n) override { calls.push_back("notice " + n.title + " | " + n.text); }
    void showRawMessage(int system, std::string_view text) override {
        calls.push_back("monitor " + std::to_string(system) + " " + std::string(text));
    }
    void writeLogLine(int system, std::string_view text) override {
        calls.push_back("log " + std::to_string(system) + " " + std::string(text));
    }
    void showChecksumRejected(int system, int panel, const std::string& text) override {
        calls.push_back("rejected " + std::to_string(system) + " panel " + std::to_string(panel) + " '" + text + "'");
    }
    std::vector<std::string> calls;
};

class RecordingAis : public AisServices {
public:
    void processVDM(int system, const std::string& text, VDMRecord& vdm) override {
        calls.push_back("vdm " + std::to_string(system) + " " + text);
        vdm.Payload = "seen";
    }
    void storeAISTarget(int system) override { calls.push_back("store " + std::to_string(system)); }
    std::vector<std::string> calls;
};

std::string withChecksum(const std::string& body) { return body + "*" + CalcChecksum(body); }

class Intake : public ::testing::Test {
protected:
    void feed(int system, const std::string& text) { ProcessSentence(*state, sink, ais, system, text); }
    std::unique_ptr<CoreState> state = std::make_unique<CoreState>();
    RecordingSink sink;
    RecordingAis ais;
};

const std::string kGGA = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";

}  // namespace

TEST_F(Intake, MonitorAndLogSeeTheLineBeforeAnythingElse) {
    state->config.WindowVisible[2][VisibleForms::NMEAMonitor] = true;
    state->run.LoggingOn = true;
    state->config.ChecksumTest[2] = true;
    feed(2, "$GPGGA,bad*00\r\n");
    EXPECT_EQ(state->NMEACurrentSystem, 2);
    ASSERT_EQ(sink.calls.size(), 3u);
    EXPECT_EQ(sink.calls[0], "monitor 2 $GPGGA,bad*00\r\n");
    EXPECT_EQ(sink.calls[1], "log 2 $GPGGA,bad*00\r\n");
    EXPECT_EQ(sink.calls[2], "rejected 2 panel 5 ' 1'");
    EXPECT_EQ(state->ChecksumRejected[2], 1);
    EXPECT_EQ(state->NMEAMessages[2].GGAText, "");  // dropped by the gate
}

TEST_F(Intake, TagBlocks) {
    state->config.ChecksumTest[1] = true;
    state->run.LoggingOn = true;
    const std::string tagged = "\\s:r003669945,c:1241544035*4A\\" + kGGA + "\r\n";
    feed(1, tagged);
    ASSERT_FALSE(sink.calls.empty());
    EXPECT_EQ(sink.calls[0], "log 1 " + tagged);  // the raw log keeps the line whole
    state->run.LoggingOn = false;
    EXPECT_EQ(state->NMEAMessages[1].GGAText, kGGA + "\r\n");
    EXPECT_EQ(state->NMEAMessages[1].GGA.Time, "12:35:19");
    EXPECT_EQ(state->ChecksumRejected[1], 0);

    // One or three backslashes leave nothing to work on: rejected with the test on ...
    feed(1, "\\only one " + kGGA);
    feed(1, "\\a\\b\\" + kGGA);
    EXPECT_EQ(state->ChecksumRejected[1], 2);
    // ... and dropped silently with it off.
    state->config.ChecksumTest[1] = false;
    sink.calls.clear();
    feed(1, "\\only one " + kGGA);
    EXPECT_TRUE(sink.calls.empty());
    EXPECT_EQ(state->ChecksumRejected[1], 2);

    EXPECT_EQ(removeTagBlock("no tag"), std::optional<std::string_view>("no tag"));
    EXPECT_EQ(removeTagBlock("\\\\"), std::optional<std::string_view>(""));
    EXPECT_EQ(removeTagBlock(std::string(10, '\\')), std::optional<std::string_view>(""));
    EXPECT_EQ(removeTagBlock(std::string(11, '\\')), std::nullopt);
}

TEST_F(Intake, ElevenBackslashesAbandonTheLineAfterMonitorAndLog) {
    state->config.WindowVisible[1][VisibleForms::NMEAMonitor] = true;
    state->run.LoggingOn = true;
    const std::string line = std::string(11, '\\') + kGGA;
    try {
        feed(1, line);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::SubscriptOutOfRange);
    }
    EXPECT_EQ(sink.calls.size(), 2u);
    EXPECT_EQ(state->NMEAMessages[1].GGAText, "");
}

TEST_F(Intake, SystemOutsideOneToFourIsRefusedBeforeAnythingHappens) {
    for (int s : {0, 5, -1, 32767}) {
        try {
            feed(s, kGGA);
            FAIL() << "system " << s << " accepted";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), err::SubscriptOutOfRange);
            EXPECT_NE(e.description().find("system"), std::string::npos);
        }
    }
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(Intake, ChecksumGateOffParsesBadSentences) {
    feed(3, "$GPHDT,123.5,T*00");
    feed(3, "$GPVTG,1,T,2,M,3,N,4,K,A");
    EXPECT_FLOAT_EQ(state->NMEAMessages[3].HDT.Heading, 123.5f);
    EXPECT_FLOAT_EQ(state->NMEAMessages[3].VTG.SpeedKmh, 4);
    state->config.ChecksumTest[3] = true;
    feed(3, "$GPHDT,200,T*00");
    EXPECT_FLOAT_EQ(state->NMEAMessages[3].HDT.Heading, 123.5f);
    feed(3, withChecksum("$GPHDT,200,T") + "\r\n");
    EXPECT_FLOAT_EQ(state->NMEAMessages[3].HDT.Heading, 200);
    EXPECT_EQ(state->ChecksumRejected[3], 1);
}

// Both checksum digits count, for the gate and for the monitor's counters alike.
TEST_F(Intake, ChecksumGateAndMonitorCheckBothDigits) {
    const std::string body = "$GPHDT,200,T";  // checksum 29
    const struct Case {
        const char* sum;
        bool ok;
    } cases[] = {{"29", true}, {"39", false}, {"19", false}, {"28", false}, {"2A", false}, {"92", false}};
    state->config.ChecksumTest[1] = true;
    for (const Case& c : cases) {
        const std::string line = body + "*" + c.sum + "\r\n";
        state->NMEAMessages[1].HDT.Heading = 0;
        feed(1, line);
        EXPECT_EQ(state->NMEAMessages[1].HDT.Heading, c.ok ? 200.0f : 0.0f) << c.sum;
        CoreState counted;
        CoreSink quiet;
        ShowRawMessage(counted, quiet, 1, line);
        EXPECT_EQ(counted.Monitor[1].MonitorChecksumOK, c.ok ? 1 : 0) << c.sum;
    }
}

TEST(Recognition, TableOrderAndPositions) {
    struct Case { const char* text; std::optional<SentenceType> type; };
    const Case cases[] = {
        {"$GPGGA,", SentenceType::GGA},       {"$GNGNS,", SentenceType::GNS},
        {"$GPGLL,", SentenceType::GLL},       {"$GPRMC,", SentenceType::RMC},
        {"$GPZDA,", SentenceType::ZDA},       {"$GPVTG,", SentenceType::VTG},
        {"$GPGSA,", SentenceType::GSA},       {"$GPGST,", SentenceType::GST},
        {"$GPGSV,", SentenceType::GSV},       {"$PGSV,", std::nullopt},
        {"$GPXGSV,", SentenceType::GSV},      {"$HEHDT,", SentenceType::HDT},
        {"$PFEC,GPatt,1,2,3", SentenceType::ATT}, {"$PFEC,GPATT,1,2,3", std::nullopt},
        {"$TIROT,", SentenceType::ROT},       {"$VWVHW,", SentenceType::VHW},
        {"$SDDBT,", SentenceType::DBT},       {"$RATTM,", SentenceType::TTM},
        {"!AIVDM,", SentenceType::VDM},       {"!AIVDO,", SentenceType::VDM},
        {"$GPXTE,", std::nullopt},            {"$gpgga,", std::nullopt},
        {"$GPGG", std::nullopt},              {"", std::nullopt},
        {"$GPGGA,Patt", SentenceType::GGA},  // the first row wins
        {"$GPROT,Patt", SentenceType::ATT},  // att comes before ROT
        {"$GPGSA,GSV", SentenceType::GSA},    {"$GPRMCGSV", SentenceType::RMC},
        {"GGA", std::nullopt},                {"$GPHDTatt", SentenceType::HDT},
    };
    for (const Case& c : cases) EXPECT_EQ(recogniseSentence(c.text), c.type) << c.text;
}

TEST_F(Intake, VDOGoesToTheVDMSlotAndTheAISServices) {
    const std::string vdo = "!AIVDO,1,1,,A,15M67FC000G?ufbE`FepT@3n00Sa,0*5C\r\n";
    feed(4, vdo);
    EXPECT_EQ(state->NMEAMessages[4].VDMText, vdo);
    EXPECT_EQ(state->NMEAMessages[4].VDM.Payload, "seen");
    ASSERT_EQ(ais.calls.size(), 2u);
    EXPECT_EQ(ais.calls[0], "vdm 4 " + vdo);
    EXPECT_EQ(ais.calls[1], "store 4");
}

TEST_F(Intake, UnknownTypeReachesOnlyMonitorAndLog) {
    state->config.WindowVisible[1][VisibleForms::NMEAMonitor] = true;
    state->run.LoggingOn = true;
    feed(1, withChecksum("$GPXTE,A,A,0.67,L,N"));
    EXPECT_EQ(sink.calls.size(), 2u);
    EXPECT_TRUE(ais.calls.empty());
}

TEST_F(Intake, RawTextIsStoredEvenWhenTheParserFails) {
    const std::string rmc = "$GPRMC,081836,A,3751.65,S,14507.36,E,000.0,1e39,130998,011.3,E,A*3C";
    feed(1, rmc);
    EXPECT_EQ(state->NMEAMessages[1].RMCText, rmc);
    EXPECT_EQ(state->NMEAMessages[1].RMC.Date, "130998");
    ASSERT_EQ(sink.calls.size(), 1u);
    EXPECT_EQ(sink.calls[0], "notice Error ExtractRMC | Error  6 : Overflow  RMC-message : " + rmc);
}

TEST_F(Intake, AFloodOfOneFailureShowsOneNoticeAndCountsTheRest) {
    const std::string rmc = "$GPRMC,081836,A,3751.65,S,14507.36,E,000.0,1e39,130998,011.3,E,A*3C";
    for (int i = 0; i < 1000; ++i) feed(1, rmc);
    feed(2, "$GPGGA,1,,,,,1,99999,,,,,,,");  // another kind is still shown
    feed(2, "$GPGGA,1,,,,,1,99999,,,,,,,");
    ASSERT_EQ(sink.calls.size(), 2u);
    EXPECT_NE(sink.calls[1].find("Error ExtractGGA"), std::string::npos);
    EXPECT_EQ(state->parserNotices.suppressedTotal(), 999 + 1);
    const auto& entries = state->parserNotices.entries();
    EXPECT_EQ(entries.at({"Error ExtractRMC", 6}).count, 1000);
    state->parserNotices.reset();
    feed(1, rmc);
    EXPECT_EQ(sink.calls.size(), 3u);
}

TEST(MonitorCounters, FormatCountersPerLine) {
    struct Case { std::string line; int nmea, ais, ok, bad; };
    const std::string good = withChecksum("$GPHDT,1,T");
    const Case cases[] = {
        {good, 1, 0, 1, 0},
        {good + "\r\n", 1, 0, 1, 0},
        {good + "\r", 1, 0, 0, 1},                 // CR without LF stays with the checksum
        {withChecksum("!AIVDM,1"), 0, 1, 1, 0},
        {"$GPHDT,1,T*", 1, 0, 0, 1},                // "*" as last character
        {"$GPHDT,1,T", 1, 0, 0, 1},                 // no "*"
        {"$ABCDEFGHIJ*0b", 1, 0, 0, 1},             // lower-case checksum
        {"$*XX", 1, 0, 0, 1},                       // nothing to check
        {"\\tag\\" + good, 0, 0, 0, 0},             // a tag-block line counts only as a line
        {"", 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        CoreState state;
        CoreSink sink;
        ShowRawMessage(state, sink, 1, c.line);
        const MonitorCounters& m = state.Monitor[1];
        EXPECT_EQ(m.MonitorSentenceCount, 1) << c.line;
        EXPECT_EQ(m.MonitorNMEACount, c.nmea) << c.line;
        EXPECT_EQ(m.MonitorAISCount, c.ais) << c.line;
        EXPECT_EQ(m.MonitorChecksumOK, c.ok) << c.line;
        EXPECT_EQ(m.MonitorChecksumError, c.bad) << c.line;
    }
}

TEST_F(Intake, HostileBytesLeaveRecordsConsistent) {
    state->config.WindowVisible[1][VisibleForms::NMEAMonitor] = true;
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 131) & 0xFF));
    const std::string hostile[] = {
        binary,
        "$GPGGA," + std::string(1 << 20, '9'),
        "$GPGSV," + std::string(100000, ','),
        std::string("$GPGGA,\0\0\0,", 11),
        "$GPGGA,1,&HFFFFFFFFF,N,1e308,E,1e400,-1e400,NaN,inf,,,,,,,,,",
        "$PFEC,GPatt,1e39,-1e39,1e-400*00",
    };
    for (const std::string& line : hostile) {
        try {
            feed(1, line);
        } catch (const RuntimeError&) {
        }
    }
    const GGARecord& g = state->NMEAMessages[1].GGA;
    EXPECT_TRUE(std::isfinite(g.Latitude));
    EXPECT_TRUE(std::isfinite(g.Longitude));
    EXPECT_TRUE(std::isfinite(g.HDOP));
    EXPECT_TRUE(std::isfinite(state->NMEAMessages[1].ATT.Heading));
    EXPECT_EQ(state->Monitor[1].MonitorSentenceCount, 6);
}
