// From received lines through the intake and parsers to the epoch values and statistics.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/intake.h"
#include "core/parsers.h"
#include "core/processing.h"
#include "core/statistics_dump.h"

namespace tiderune {
namespace {

struct FakeClock final : PcClock {
    double now() const override { return dateFromYmd(2026, 12, 8) + 0.5; }
};

std::string sentence(const std::string& body) { return body + "*" + CalcChecksum(body); }

class AnalysisChain : public testing::Test {
protected:
    AnalysisChain() {
        state->analysis.clock = &clock;
        state->config.Mode = "OFFLINE";
        state->SentenceDate[1] = dateFromYmd(2026, 12, 8);
        const char* names[] = {"GGA", "RMC", "GSV", "HDT", "GSA", "VTG", "GST", "DBT"};
        int i = 1;
        for (const char* n : names) state->config.MessagesToAnalyse[1][i++] = n;
        SetAnalysedMessageTypes(state->config, 1);
    }
    void feed(const std::string& body) { ProcessSentence(*state, sink, ais, 1, sentence(body)); }
    SystemStatistics& stats() { return state->analysis.statistics(1); }

    FakeClock clock;
    std::unique_ptr<CoreState> state = std::make_unique<CoreState>();
    CoreSink sink;
    NullAisServices ais;
};

TEST_F(AnalysisChain, PositionsHeadingsAndSatellites) {
    feed("$GPGGA,235958,5200.0000,N,00400.0000,E,1,08,0.9,10.0,M,46.9,M,,");
    feed("$GPGGA,235959,5200.0010,N,00400.0000,E,2,09,1.1,12.0,M,46.9,M,3.0,0120");
    feed("$GPGGA,000000,5200.0000,N,00400.0016,E,0,00,,,M,,M,,");
    feed("$GPGGA,000001,,,,,1,05,2.0,,M,,M,,");
    feed("$GPRMC,000002,A,5200.0000,N,00400.0000,E,5.5,90.0,091226,,,A");
    feed("$HEHDT,359.0,T");
    feed("$HEHDT,2.0,T");
    feed("$GPGSV,2,1,08,01,40,083,46,02,17,308,,12,07,344,39,14,22,228,45");
    feed("$GPGSV,2,2,08,70,40,083,30,33,17,308,41,120,07,344,0,160,22,228,45");
    feed("$GPGSA,A,3,01,02,12,14,,,,,,,,,1.8,1.0,1.5");
    feed("$GPVTG,90.0,T,,M,5.5,N,10.2,K,A");
    feed("$SDDBT,32.8,f,10.0,M,5.4,F");
    feed("$GPGST,000003,1.2,0.9,0.5,45,0.8,0.6,1.5");

    // The midnight crossing of the GGA times moved the date on; the RMC date agrees.
    EXPECT_DOUBLE_EQ(state->SentenceDate[1], dateFromYmd(2026, 12, 9));
    // Neither the quality-0 fix nor the empty position with a fix is a position sample; the
    // empty one is a missing sample of the offsets.
    EXPECT_EQ(stats().LatitudeStats.count, 3);
    EXPECT_NEAR(stats().LatitudeStats.mean * 57.29577951307855, 52.0, 1e-4);
    EXPECT_EQ(stats().GGAStats[0].record.count, 2);
    EXPECT_EQ(stats().GGAStats[6].record.count, 3);
    EXPECT_EQ(stats().GGAStats[0].missing.count, 1);  // the empty position
    EXPECT_NEAR(stats().GGAStats[1].record.maximum, 1.853, 0.01);  // 0.001' of latitude
    EXPECT_EQ(stats().GGAStats[0].record.firstTime, "23:59:58");
    EXPECT_EQ(stats().GGAStats[0].record.firstDate, "08 Dec 2026");
    EXPECT_FLOAT_EQ(state->analysis.EpochValues[1].EpochHeadingDev, 3);  // 2 against 359, the short way
    EXPECT_EQ(stats().GPSSNRStats[1].record.lastValue, 46);
    EXPECT_EQ(stats().GPSSNRStats[2].missing.count, 1);
    EXPECT_EQ(stats().GLONASSSNRStats[6].record.lastValue, 30);
    EXPECT_EQ(stats().SBASSNRStats[1].record.lastValue, 41);
    EXPECT_EQ(stats().BeiDouSNRStats[20].missing.count, 1);
    EXPECT_EQ(stats().GSVStats.record.count, 1);
    EXPECT_EQ(stats().GSTStats[3].record.lastValue, 45);

    const std::string dump = formatStatisticsDump(state->analysis, 1);
    EXPECT_NE(dump.find("GGA  0 dRad      count 2 "), std::string::npos) << dump;
    EXPECT_NE(dump.find("DBT  0 Depth     count 1 mean 10.0000"), std::string::npos) << dump;
    EXPECT_NE(dump.find("GPS       1      count 1 mean 46.0000"), std::string::npos) << dump;
}

}  // namespace
}  // namespace tiderune
