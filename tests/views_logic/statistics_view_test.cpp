// The statistics and SNR statistics texts: how the frames stack, the reference captions, the
// cells after known sentences through the intake and the core's fan-out, the SNR columns and
// their heads, and the start time that waits for a first position.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/epoch_time.h"
#include "core/intake.h"
#include "core/parsers.h"
#include "core/processing.h"
#include "views/logic/statistics_view.h"

namespace tiderune {
namespace {

using T = SentenceType;

std::pair<T, int> key(T t, int c) { return {t, c}; }

struct FakeClock final : PcClock {
    double now() const override { return dateFromYmd(2026, 12, 9) + 0.5; }
};

struct StatisticsSink final : CoreSink {
    StatisticsSink(const Config& c, const SystemStatistics& s) : config(c), stats(s) {}
    void updateStatisticsWindow(int, SentenceType type) override {
        view.sentence(type, config, stats);
        snr.sentence(type, config.Systems[1]);
    }
    const Config& config;
    const SystemStatistics& stats;
    StatisticsView view;
    SNRStatisticsView snr;
};

class Statistics : public testing::Test {
protected:
    Statistics() {
        state->analysis.clock = &clock;
        state->SentenceDate[1] = dateFromYmd(2026, 12, 9);
        state->config.Mode = "OFFLINE";
        state->config.LatLonDecimals = 4;
        analyse({"GGA", "HDT", "GSV"});
        state->config.WindowVisible[1][VisibleForms::Statistics] = true;
        sink.view.load(state->config, 1);
    }
    void analyse(std::vector<const char*> types) {
        auto& slots = state->config.MessagesToAnalyse[1];
        for (int i = 1; i <= MessageSlots; ++i) slots[i] = i <= int(types.size()) ? types[i - 1] : "";
        SetAnalysedMessageTypes(state->config, 1);
    }
    void feed(const std::string& body) { ProcessSentence(*state, sink, ais, 1, body + "*" + CalcChecksum(body)); }
    // The window's refresh: grid columns by type and column.
    std::map<std::pair<T, int>, StatColumnTexts> refresh() {
        std::map<std::pair<T, int>, StatColumnTexts> shown;
        sink.view.flush(stats(), [&](T t, int c, const StatColumnTexts& texts) { shown[{t, c}] = texts; });
        return shown;
    }
    const SystemStatistics& stats() { return state->analysis.statistics(1); }

    FakeClock clock;
    std::unique_ptr<CoreState> state = std::make_unique<CoreState>();
    StatisticsSink sink{state->config, state->analysis.statistics(1)};
    NullAisServices ais;
};

TEST_F(Statistics, LayoutMatrix) {
    struct Case {
        std::vector<const char*> analysed;
        StatisticsTopBand band;
        // Each shown frame, with the partner it stands beside (GGA when stacked).
        std::vector<std::pair<T, T>> frames;
    };
    const Case cases[] = {
        {{"HDT", "ATT", "ROT"}, {false, false, true}, {{T::HDT, T::GGA}, {T::ATT, T::GGA}, {T::ROT, T::HDT}}},
        {{"ATT", "ROT"}, {false, false, true}, {{T::ATT, T::GGA}, {T::ROT, T::ATT}}},
        {{"ROT", "DBT"}, {false, false, false}, {{T::ROT, T::GGA}, {T::DBT, T::GGA}}},
        {{"GLL", "RMC", "VTG"}, {true, false, false}, {{T::GLL, T::GGA}, {T::RMC, T::GGA}, {T::VTG, T::GLL}}},
        {{"VTG", "GSV", "GNS"}, {true, true, false}, {{T::GNS, T::GGA}, {T::VTG, T::GGA}, {T::GSV, T::GGA}}},
        {{"GST", "GSV", "GSA", "GGA"}, {true, true, false},
         {{T::GGA, T::GGA}, {T::GSA, T::GGA}, {T::GSV, T::GSA}, {T::GST, T::GGA}}},
    };
    for (const Case& c : cases) {
        analyse(c.analysed);
        const SystemSetup& s = state->config.Systems[1];
        const StatisticsTopBand b = statisticsTopBand(s);
        EXPECT_EQ(b.positions, c.band.positions) << c.analysed[0];
        EXPECT_EQ(b.heights, c.band.heights) << c.analysed[0];
        EXPECT_EQ(b.heading, c.band.heading) << c.analysed[0];
        std::vector<std::pair<T, T>> frames;
        for (const StatisticsPlacement& p : statisticsStack(s)) frames.push_back({p.type, p.beside ? p.partner : T::GGA});
        EXPECT_EQ(frames, c.frames) << c.analysed[0];
    }
    EXPECT_EQ(statisticsGrids().size(), 13u);
    EXPECT_STREQ(statisticsGrid(T::GST)->heads[3], "Dir MajorAxis");
    EXPECT_STREQ(statisticsRowLabels(true)[5], "68%  >");
    EXPECT_STREQ(statisticsRowLabels(false)[6], "95%  <");
}

TEST_F(Statistics, ReferenceCaptionsPerMode) {
    auto& cfg = state->config;
    cfg.ReferenceLat[1] = 52.5 * 0.017453292519944444;
    cfg.ReferenceLon[1] = -4.25 * 0.017453292519944444;
    cfg.ReferenceHeight[1] = 12.3456f;
    cfg.ReferenceHeading[1] = 7.5f;
    cfg.ReferencePitch[1] = -1.25f;
    struct Case {
        int mode;
        const char *pos, *hdg, *lat, *lon, *hgt, *heading, *pitch;
    };
    const Case cases[] = {
        {0, "Ref is : First sample", "Ref is : First sample", "n/a", "n/a", "n/a", "n/a", "n/a"},
        {1, "Ref is : Average over time", "Ref is : Average over time", "equal to average", "equal to average",
         "equal to average", "= avg", "= avg"},
        {2, "Ref is : True position", "Ref is : True value", "52\xB0 30.0000' N", "004\xB0 15.0000' W", "12.346",
         "007.50", "-1.25"},
        {7, "Option", "Option", "n/a", "n/a", "n/a", "n/a", "n/a"},
    };
    for (const Case& c : cases) {
        cfg.ReferenceMode[1] = static_cast<std::int16_t>(c.mode);
        StatisticsView v;
        v.load(cfg, 1);
        EXPECT_EQ(v.label(StatLabel::RefPosOption), c.pos) << c.mode;
        EXPECT_EQ(v.label(StatLabel::RefHdgOption), c.hdg) << c.mode;
        EXPECT_EQ(v.label(StatLabel::RefLat), c.lat) << c.mode;
        EXPECT_EQ(v.label(StatLabel::RefLon), c.lon) << c.mode;
        EXPECT_EQ(v.label(StatLabel::RefHgt), c.hgt) << c.mode;
        EXPECT_EQ(v.label(StatLabel::RefHdg), c.heading) << c.mode;
        EXPECT_EQ(v.label(StatLabel::RefPitch), c.pitch) << c.mode;
        EXPECT_EQ(v.label(StatLabel::AvgLat), "n/a");
    }
    // Average over time: the updates never overwrite the reference labels.
    cfg.ReferenceMode[1] = 1;
    sink.view.load(cfg, 1);
    feed("$GPGGA,120000,5200.0000,N,00400.0000,E,1,08,0.9,10.0,M,46.9,M,,");
    refresh();
    EXPECT_EQ(sink.view.label(StatLabel::RefLat), "equal to average");
    EXPECT_EQ(sink.view.label(StatLabel::RefHdg), "= avg");
}

TEST_F(Statistics, CellsAfterKnownGGAAndHDT) {
    feed("$GPGGA,120000,5200.0000,N,00400.0000,E,1,08,0.9,10.0,M,46.9,M,,");
    feed("$GPGGA,120001,5200.0010,N,00400.0020,E,2,09,1.1,12.0,M,46.9,M,3.0,0120");
    feed("$HEHDT,100.0,T");
    feed("$HEHDT,100.5,T");
    feed("$HEHDT,125.0,T");
    auto shown = refresh();
    ASSERT_EQ(shown.size(), 9u + 1);
    // Svs (block 6): current, mean, sdev, max, min, levels, count, rejected.
    EXPECT_EQ(shown[key(T::GGA, 6)], (StatColumnTexts{"9.00", "8.50", "0.71", "9.00", "8.00", "9.00", "9.00", "2", "0"}));
    // Qual comes from block 5 and keeps its levels; the geoid column (block 4) has none.
    EXPECT_EQ(shown[key(T::GGA, 5)][4], "1.00");
    EXPECT_EQ(shown[key(T::GGA, 5)][5], "2.00");
    EXPECT_EQ(shown[key(T::GGA, 8)], (StatColumnTexts{"46.90", "46.90", "0.00", "46.90", "46.90", "       n/a",
                                                   "       n/a", "2", "0"}));
    // Age (block 8): the first was empty, so one rejected.
    EXPECT_EQ(shown[key(T::GGA, 9)][7], "1");
    EXPECT_EQ(shown[key(T::GGA, 9)][8], "1");
    // dN (block 1) from the first fix as the reference: 0 and 1.8496 m, whose level is the
    // lower edge of its 0.01-wide bin.
    EXPECT_EQ(shown[key(T::GGA, 2)][0], "1.85");
    EXPECT_EQ(shown[key(T::GGA, 2)][5], "1.84");
    // Heading deviations 0, 0.5 and 25: the 68 % level lies in the bin of 10 and more.
    EXPECT_EQ(shown[key(T::HDT, 1)], (StatColumnTexts{"25.00", "8.50", "14.29", "25.00", "0.00", ">10", ">10", "3", "0"}));

    // The labels of the top band.
    const StatisticsView& v = sink.view;
    EXPECT_EQ(v.label(StatLabel::RefLat), "52\xB0 00.0000' N");
    EXPECT_EQ(v.label(StatLabel::RefHgt), "10.000");
    EXPECT_EQ(v.label(StatLabel::AvgLat), "52\xB0 00.0005' N");
    EXPECT_EQ(v.label(StatLabel::SdLat), "1.306");
    EXPECT_EQ(v.label(StatLabel::SdLon), "1.619") << "0.002' of longitude apart";
    EXPECT_EQ(v.label(StatLabel::AvgHgt), "11.000");
    EXPECT_EQ(v.label(StatLabel::SdHgt), "1.414");
    EXPECT_EQ(v.label(StatLabel::AvgPosCount), "2");
    EXPECT_EQ(v.label(StatLabel::CurrentTime), "12:00:01");
    EXPECT_EQ(v.label(StatLabel::RefHdg), "100.00") << "the first heading, not the empty reference the GGA saw";
    EXPECT_EQ(v.label(StatLabel::AvgHdg), "108.50");
    EXPECT_EQ(v.label(StatLabel::SdHdg), "14.29");
    EXPECT_EQ(v.label(StatLabel::AvgHdgCount), "3");
    EXPECT_TRUE(refresh().empty()) << "nothing new";
}

TEST_F(Statistics, AttitudeLabelsEachFromTheirOwnRecord) {
    analyse({"GGA", "ATT"});
    sink.view.load(state->config, 1);
    // A position first shows the empty reference; the first attitude replaces it. Four
    // headings, three pitches and two rolls: every mean, deviation and count differs.
    feed("$GPGGA,120000,5200.0000,N,00400.0000,E,1,08,0.9,10.0,M,46.9,M,,");
    EXPECT_EQ(sink.view.label(StatLabel::RefHdg), "000.00");
    for (const char* hpr : {"100.0,1.0,-3.0", "102.0,2.0,-7.0", "104.0,3.0,", "106.0,,"})
        feed(std::string("$PFEC,GPatt,") + hpr);
    refresh();
    const StatisticsView& v = sink.view;
    const std::pair<StatLabel, const char*> labels[] = {
        {StatLabel::RefHdg, "100.00"},   {StatLabel::RefPitch, "1.00"},  {StatLabel::RefRoll, "-3.00"},
        {StatLabel::AvgHdg, "103.00"},   {StatLabel::SdHdg, "2.58"},     {StatLabel::AvgHdgCount, "4"},
        {StatLabel::AvgPitch, "2.00"},   {StatLabel::SdPitch, "1.00"},   {StatLabel::AvgPitchCount, "3"},
        {StatLabel::AvgRoll, "-5.00"},   {StatLabel::SdRoll, "2.83"},    {StatLabel::AvgRollCount, "2"},
    };
    for (const auto& [label, text] : labels) EXPECT_EQ(v.label(label), text) << static_cast<int>(label);
}

// The reference height is the first height sample, whichever sentence gave the first
// position: the window shows the height that the dHgt column and the report measure from,
// from that sample on. Each step is a sentence and the Ref Hgt label it leaves.
TEST_F(Statistics, ReferenceHeightIsTheFirstHeightSample) {
    const char* rmc = "$GPRMC,120000,A,5200.0000,N,00400.0000,E,5.0,90.0,091226,,,A";
    const char* gll = "$GPGLL,5200.0000,N,00400.0000,E,120000,A,A";
    const char* gga1 = "$GPGGA,120001,5200.0000,N,00400.0000,E,1,08,0.9,83.1,M,46.9,M,,";
    const char* gga2 = "$GPGGA,120002,5200.0000,N,00400.0000,E,1,08,0.9,84.1,M,46.9,M,,";
    const char* gns1 = "$GNGNS,120001,5200.0000,N,00400.0000,E,AN,12,0.8,83.1,46.9,,";
    const char* gns2 = "$GNGNS,120002,5200.0000,N,00400.0000,E,AN,12,0.8,84.1,46.9,,";
    struct Case {
        std::vector<const char*> analysed;
        std::vector<std::pair<const char*, const char*>> steps;
        T heights;  // the type whose dHgt column measures from the reference height
    };
    const Case cases[] = {
        {{"GGA"}, {{gga1, "83.100"}, {gga2, "83.100"}}, T::GGA},
        {{"GNS"}, {{gns1, "83.100"}, {gns2, "83.100"}}, T::GNS},
        {{"RMC", "GGA"}, {{rmc, "0.000"}, {gga1, "83.100"}, {gga2, "83.100"}}, T::GGA},
        {{"RMC", "GNS"}, {{rmc, "0.000"}, {gns1, "83.100"}, {gns2, "83.100"}}, T::GNS},
        {{"GLL", "GNS"}, {{gll, "0.000"}, {gns1, "83.100"}, {gns2, "83.100"}}, T::GNS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.analysed[0]);
        ResetSystemStatistics(state->analysis.statistics(1));
        state->config.ReferenceHeight[1] = 0;
        analyse(c.analysed);
        sink.view.load(state->config, 1);
        for (const auto& [line, hgt] : c.steps) {
            feed(line);
            EXPECT_EQ(sink.view.label(StatLabel::RefHgt), hgt) << line;
        }
        EXPECT_FLOAT_EQ(state->config.ReferenceHeight[1], 83.1f);
        EXPECT_EQ(refresh()[key(c.heights, 4)][1], "0.50");  // dHgt: 0 and 1 m from that height
    }
}

TEST_F(Statistics, LevelRuleAndUnwrittenColumns) {
    StatBlock b;
    for (float x : {9.999f, 10.0f, 12.0f}) {
        ResetStatBlock(b);
        UpdatePercentileTable(b.percentiles, x);
        EXPECT_EQ(WriteStatisticsCells(b, false)[5], x < 10 ? "9.99" : ">10") << x;
    }
    // GNS never writes its "Mode" column; a type the system does not analyse writes nothing.
    analyse({"GNS", "GGA"});
    sink.view.load(state->config, 1);
    feed("$GNGNS,120000,5200.0000,N,00400.0000,E,AN,12,0.8,10.0,46.9,,");
    feed("$HEHDT,100.0,T");
    auto shown = refresh();
    EXPECT_EQ(shown.count(key(T::GNS, 5)), 0u);
    EXPECT_EQ(shown.count(key(T::GNS, 6)), 1u);
    EXPECT_EQ(shown.count(key(T::HDT, 1)), 0u);
}

TEST_F(Statistics, StartTimeWaitsForAFirstPosition) {
    feed("$GPGGA,115959,5200.0000,N,00400.0000,E,0,00,,,M,,M,,");
    refresh();
    EXPECT_EQ(sink.view.label(StatLabel::StartTime), "n/a") << "an invalid fix is no sample";
    feed("$GPGGA,120000,5200.0000,N,00400.0000,E,1,08,0.9,10.0,M,46.9,M,,");
    feed("$GPGGA,120001,5200.0000,N,00400.0000,E,1,08,0.9,10.0,M,46.9,M,,");
    EXPECT_EQ(sink.view.label(StatLabel::StartTime), "12:00:00 09 Dec 2026");
    // A window laid out again (after PLAY) before any sample, then the statistics reset.
    sink.view.load(state->config, 1);
    ResetSystemStatistics(state->analysis.statistics(1));
    feed("$HEHDT,100.0,T");
    EXPECT_EQ(sink.view.label(StatLabel::StartTime), "n/a");
    feed("$GPGGA,120005,5200.0000,N,00400.0000,E,1,08,0.9,10.0,M,46.9,M,,");
    EXPECT_EQ(sink.view.label(StatLabel::StartTime), "12:00:05 09 Dec 2026");
    // A window opened while the samples run shows when they started, not the latest one.
    feed("$GPGGA,120006,5200.0000,N,00400.0000,E,1,08,0.9,10.0,M,46.9,M,,");
    sink.view.load(state->config, 1);
    feed("$GPGGA,120007,5200.0000,N,00400.0000,E,1,08,0.9,10.0,M,46.9,M,,");
    EXPECT_EQ(sink.view.label(StatLabel::StartTime), "12:00:05 09 Dec 2026");
}

TEST_F(Statistics, SNRColumnsAndHeads) {
    // GPS 1 and 2 (2 without a ratio), SBAS 33, GLONASS 70, BeiDou 120 and 140, Galileo 160.
    feed("$GPGSV,2,1,08,01,40,083,46,02,17,308,,33,07,344,39,70,22,228,45");
    feed("$GPGSV,2,2,08,120,40,083,30,140,17,308,41,160,07,344,44,,,,");
    std::map<std::pair<int, int>, StatColumnTexts> shown;
    sink.snr.flush(stats(), [&](int g, int c, const StatColumnTexts& t) { shown[{g, c}] = t; });
    std::vector<std::pair<int, int>> columns;
    for (const auto& [k, t] : shown) columns.push_back(k);
    EXPECT_EQ(columns, (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}, {1, 1}, {2, 6}, {3, 20}}))
        << "only seen satellites, only the first 32 of a constellation, never Galileo";
    EXPECT_EQ(shown[std::pair(0, 1)], (StatColumnTexts{"46", "46.0", "0.0", "46", "46", "45", "45", "1", "0"}));
    EXPECT_EQ(shown[std::pair(0, 2)][7], "0");
    EXPECT_EQ(shown[std::pair(0, 2)][8], "1") << "only missing samples: zeros and its rejected count";

    struct Head {
        int grid, column;
        const char* text;
    };
    for (const Head h : {Head{0, 1, "01"}, Head{0, 32, "32"}, Head{1, 1, "33/120"}, Head{1, 32, "64/151"},
                         Head{2, 1, "65/01"}, Head{3, 1, "101/01"}, Head{4, 1, "151/01"}, Head{4, 32, "182/32"}})
        EXPECT_EQ(snrHead(h.grid, h.column), h.text) << h.grid << "/" << h.column;
    EXPECT_STREQ(snrGrids()[0].corner, "PRN");
    EXPECT_STREQ(snrGrids()[2].corner, "id / PRN");
}

TEST(SNRScroll, FrameOffsetsAndTheLastFivePercent) {
    struct Case {
        int value;
        double offset;
    };
    // A 21450-twip frame in a 3000-twip window.
    for (const Case c : {Case{0, 0}, Case{50, -9225}, Case{95, -17527.5}, Case{96, -18212}, Case{100, -18950},
                         Case{250, -18950}, Case{-3, 0}})
        EXPECT_DOUBLE_EQ(snrScrollOffset(c.value, 21450, 3000), c.offset) << c.value;
}

}  // namespace
}  // namespace tiderune
