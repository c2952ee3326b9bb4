#include "core/processing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/intake.h"

namespace tiderune {
namespace {

constexpr float Missing = -9999.0f;
constexpr double deg = std::numbers::pi / 180;
const double Day = dateFromYmd(2026, 12, 8);

struct FakeClock final : PcClock {
    double t = 0;
    double now() const override { return t; }
};

// Records every outward call of the fan-out, in order.
struct RecordingSink final : CoreSink {
    std::vector<std::string> calls;
    void add(const char* what, int s, SentenceType t) {
        calls.push_back(std::string(what) + " " + std::to_string(s) + " " + std::string(sentenceTypeName(t)));
    }
    void updateNumericsWindow(int s, SentenceType t) override { add("numerics", s, t); }
    void updateARPATargetGrid(int s, SentenceType t) override { add("arpa", s, t); }
    void updateAISTargetGrid(int s, SentenceType t) override { add("ais", s, t); }
    void updateStatisticsWindow(int s, SentenceType t) override { add("statistics", s, t); }
    void updateTimeSeriesCharts(int s, SentenceType t) override { add("timeseries", s, t); }
    void dispatchPositionToScatter(int s, SentenceType t) override { add("scatter", s, t); }
    void updateSkyplotGSA(int s) override { calls.push_back("skyplotGSA " + std::to_string(s)); }
    void drawSkyplotGSV(int s) override { calls.push_back("skyplotGSV " + std::to_string(s)); }
};

class ProcessingTest : public testing::Test {
protected:
    ProcessingTest() {
        state.analysis.clock = &clock;
        clock.t = Day + 0.5;
        state.config.Mode = "ONLINE";
        state.config.OutlierLimit = 15;
        state.SentenceDate[1] = Day;
        analyse({"GGA", "GNS", "GLL", "RMC", "ZDA", "VTG", "HDT", "ATT", "GSV", "GST"});
    }

    void analyse(std::vector<std::string> names, int s = 1) {
        for (int i = 1; i <= MessageSlots; ++i) state.config.MessagesToAnalyse[s][i].clear();
        for (std::size_t i = 0; i < names.size(); ++i) state.config.MessagesToAnalyse[s][static_cast<int>(i) + 1] = names[i];
        SetAnalysedMessageTypes(state.config, s);
    }

    NMEAMessageSet& msg(int s = 1) { return state.NMEAMessages[s]; }
    SystemStatistics& stats(int s = 1) { return state.analysis.statistics(s); }
    EpochValueSet& epoch(int s = 1) { return state.analysis.EpochValues[s]; }
    void run(SentenceType t, int s = 1) { ProcessMessageType(state, sink, s, t); }

    void gga(const char* time, double latDeg, double lonDeg, std::int16_t quality, float altitude = 10) {
        GGARecord& r = msg().GGA;
        r.Time = time;
        r.Latitude = latDeg * deg;
        r.Longitude = lonDeg * deg;
        r.Quality = quality;
        r.Satellites = 8;
        r.HDOP = 0.9f;
        r.Altitude = altitude;
        r.GeoidSeparation = 47;
        r.DGPSAge = Missing;
        run(SentenceType::GGA);
    }
    void att(float heading, float pitch = 0, float roll = 0) {
        msg().ATT = {heading, pitch, roll};
        run(SentenceType::ATT);
    }

    FakeClock clock;
    CoreState state;
    RecordingSink sink;
};

TEST_F(ProcessingTest, AnalyseFlagsFromTheChosenNames) {
    struct Case {
        const char* name;
        std::vector<std::string> slots;
        std::vector<SentenceType> analysed;
    };
    const std::vector<Case> cases = {
        {"empty slot ends the list", {"GGA", "", "RMC"}, {SentenceType::GGA}},
        {"names are exact", {"gga", "GGA ", "XTE", "VDM"}, {SentenceType::VDM}},
        {"only ten slots are read",
         {"GGA", "GNS", "GLL", "RMC", "VTG", "GSA", "GST", "GSV", "ZDA", "HDT", "ATT", "ROT"},
         {SentenceType::GGA, SentenceType::GNS, SentenceType::GLL, SentenceType::RMC, SentenceType::VTG,
          SentenceType::GSA, SentenceType::GST, SentenceType::GSV, SentenceType::ZDA, SentenceType::HDT}},
        {"nothing chosen clears all", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (SentenceType t : AllSentenceTypes) state.config.Systems[2].analysed(t) = true;
        analyse(c.slots, 2);
        for (SentenceType t : AllSentenceTypes) {
            const bool expected = std::find(c.analysed.begin(), c.analysed.end(), t) != c.analysed.end();
            EXPECT_EQ(state.config.Systems[2].analysed(t), expected) << sentenceTypeName(t);
        }
    }
}

TEST_F(ProcessingTest, FirstSampleReferenceFollowsUntilAFixIsAccumulated) {
    gga("10:00:00", 52.0, 4.0, 0);
    gga("10:00:01", 52.1, 4.1, 0);
    EXPECT_DOUBLE_EQ(state.config.ReferenceLat[1], 52.1 * deg);
    EXPECT_EQ(stats().LatitudeStats.count, 0);
    EXPECT_EQ(stats().GGAStats[1].record.count, 0);  // quality 0 adds nothing
    EXPECT_EQ(epoch().EpochNorth, Missing);
    EXPECT_FLOAT_EQ(epoch().EpochHeightDiff, 0);

    gga("10:00:02", 52.2, 4.2, 1, 12);
    EXPECT_DOUBLE_EQ(state.config.ReferenceLat[1], 52.2 * deg);
    EXPECT_FLOAT_EQ(state.config.ReferenceHeight[1], 12);
    EXPECT_EQ(stats().LatitudeStats.count, 1);
    EXPECT_EQ(epoch().EpochNorth, 0);

    gga("10:00:03", 52.2 + 1.0 / 3600, 4.2, 1, 15);
    EXPECT_DOUBLE_EQ(state.config.ReferenceLat[1], 52.2 * deg);
    EXPECT_NEAR(epoch().EpochNorth, 30.9, 0.2);
    EXPECT_NEAR(epoch().EpochHorizontalError, epoch().EpochNorth, 1e-3);
    EXPECT_FLOAT_EQ(epoch().EpochHeightDiff, 3);
    EXPECT_EQ(stats().GGAStats[3].record.lastValue, 3);
    EXPECT_EQ(stats().GGAStats[0].record.firstTime, "10:00:02");
}

TEST_F(ProcessingTest, ReferenceModes) {
    struct Case {
        const char* name;
        int mode;
        double expectLat;  // degrees, after samples at 10 and 12 degrees
    };
    const Case cases[] = {{"first sample", 0, 10}, {"average", 1, 11}, {"true value", 2, 50}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetSystemStatistics(state, 1);
        state.config.ReferenceMode[1] = static_cast<std::int16_t>(c.mode);
        state.config.ReferenceLat[1] = 50 * deg;
        state.config.ReferenceLon[1] = 0;
        gga("10:00:00", 10, 0, 1);
        gga("10:00:01", 12, 0, 1);
        EXPECT_NEAR(state.config.ReferenceLat[1], c.expectLat * deg, 1e-9);
    }
    // Averaging on a system that never delivered a position gives a reference of 0.
    ResetSystemStatistics(state, 1);
    state.config.ReferenceMode[1] = 1;
    msg().HDT.Heading = 90;
    run(SentenceType::HDT);
    EXPECT_EQ(state.config.ReferenceLat[1], 0);
    EXPECT_FLOAT_EQ(state.config.ReferenceHeading[1], 90);
}

TEST_F(ProcessingTest, MissingValuesNeverBecomeAReference) {
    gga("10:00:00", 52, 4, 1, Missing);
    EXPECT_FLOAT_EQ(state.config.ReferenceHeight[1], 0);  // kept, not -9999
    EXPECT_EQ(epoch().EpochHeightDiff, Missing);
    EXPECT_EQ(stats().GGAStats[3].missing.count, 1);

    // A reference that is missing gives missing deviations, not offsets of thousands.
    state.config.ReferenceMode[1] = 2;
    state.config.ReferenceHeight[1] = Missing;
    state.config.ReferenceHeading[1] = Missing;
    gga("10:00:01", 52, 4, 1, 20);
    EXPECT_EQ(epoch().EpochHeightDiff, Missing);
    state.config.OutlierLimit = 0;
    msg().HDT.Heading = 10;
    run(SentenceType::HDT);
    EXPECT_EQ(epoch().EpochHeadingDev, Missing);
    EXPECT_EQ(stats().HDTStats[0].missing.count, 1);
}

TEST_F(ProcessingTest, EmptyPositionGivesMissingOffsetsButCountsWithAFix) {
    gga("10:00:00", 52, 4, 1);
    gga("10:00:01", 0, 0, 1);
    EXPECT_EQ(epoch().EpochNorth, Missing);
    EXPECT_EQ(epoch().EpochEast, Missing);
    EXPECT_EQ(epoch().EpochHorizontalError, Missing);
    for (int k = 0; k <= 2; ++k) {
        EXPECT_EQ(stats().GGAStats[k].missing.count, 1) << k;
        EXPECT_TRUE(stats().GGAStats[k].record.noData) << k;
    }
    EXPECT_EQ(stats().GGAStats[6].record.count, 2);
    EXPECT_EQ(stats().GGAStats[8].missing.count, 2);  // no DGPS age
    EXPECT_EQ(stats().GGAStats[9].record.count + stats().GGAStats[9].missing.count, 0);
    // Nor is the empty position a sample of the running position.
    EXPECT_EQ(stats().LatitudeStats.count, 1);
    EXPECT_DOUBLE_EQ(stats().LongitudeStats.mean, 4 * deg);
}

TEST_F(ProcessingTest, HeightReferenceIsTheFirstHeightSample) {
    msg().GLL = {52 * deg, 4 * deg, "10:00:00", 'A', 'A'};
    run(SentenceType::GLL);  // the first position sample carries no height
    gga("10:00:01", 52, 4, 1, Missing);
    gga("10:00:02", 52, 4, 1, 30);
    EXPECT_FLOAT_EQ(state.config.ReferenceHeight[1], 30);
    gga("10:00:03", 52, 4, 1, 31.5);
    EXPECT_FLOAT_EQ(state.config.ReferenceHeight[1], 30);
    EXPECT_FLOAT_EQ(epoch().EpochHeightDiff, 1.5);
}

TEST_F(ProcessingTest, AnEmptyFirstPositionDoesNotFixTheReference) {
    gga("10:00:00", 0, 0, 1);
    gga("10:00:01", 52, 4, 1);
    EXPECT_DOUBLE_EQ(state.config.ReferenceLat[1], 52 * deg);
    EXPECT_EQ(epoch().EpochNorth, 0);
}

TEST_F(ProcessingTest, StatusAndModeGateThePositionTypes) {
    gga("10:00:00", 52, 4, 1);
    const float north = epoch().EpochNorth;

    msg().GLL = {52.5 * deg, 4 * deg, "10:00:01", 'V', 'N'};
    run(SentenceType::GLL);
    EXPECT_EQ(epoch().EpochNorth, north);  // a void GLL leaves every epoch value
    EXPECT_EQ(stats().GLLStats[0].record.count + stats().GLLStats[0].missing.count, 0);

    struct Case {
        const char* mode;
        bool fix;
    };
    const Case modes[] = {{"NN", false}, {"", false}, {"N", false}, {"NNNN", false}, {"AN", true}, {"D", true}};
    for (const auto& c : modes) {
        SCOPED_TRACE(c.mode);
        ResetSystemStatistics(state, 1);
        GNSRecord& r = msg().GNS;
        r = GNSRecord{};
        r.Time = "10:00:02";
        r.Latitude = 52.001 * deg;
        r.Longitude = 4 * deg;
        r.ModeIndicator = c.mode;
        r.Altitude = 11;
        run(SentenceType::GNS);
        EXPECT_EQ(stats().LatitudeStats.count, c.fix ? 1 : 0);
        EXPECT_EQ(stats().GNSStats[0].record.count, c.fix ? 1 : 0);
        EXPECT_NE(epoch().EpochNorth, Missing);  // the epoch values follow even without a fix
    }
}

TEST_F(ProcessingTest, HeadingDeviationWrapsAndAttitudeOutliers) {
    struct Hdt {
        float heading, reference, dev;
    };
    for (const Hdt& h : {Hdt{350, 10, -20}, Hdt{10, 350, 20}, Hdt{180, 0, 180}, Hdt{Missing, 5, Missing}}) {
        SCOPED_TRACE(h.heading);
        state.config.ReferenceMode[1] = 2;
        state.config.ReferenceHeading[1] = h.reference;
        msg().HDT.Heading = h.heading;
        run(SentenceType::HDT);
        EXPECT_FLOAT_EQ(epoch().EpochHeadingDev, h.dev);
    }

    struct Att {
        const char* name;
        float heading, reference, limit;
        bool accumulated;  // into HeadingStats (plain difference)
        float dev;         // EpochHeadingDev (wrapped, then limited)
    };
    const Att cases[] = {
        {"40 off, limit 15", 40, 0, 15, false, Missing},
        {"40 off, limit 40", 40, 0, 40, true, 40},
        {"40 off, no test", 40, 0, 0, true, 40},
        {"359 against 1", 359, 1, 15, false, -2},
        {"359 against 1, limit 358", 359, 1, 358, true, -2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetSystemStatistics(state, 1);
        state.config.ReferenceHeading[1] = c.reference;
        // Pitch and roll are each checked against their own reference: the roll of 21 lies 1
        // from its own and 21 from the pitch's.
        state.config.ReferencePitch[1] = 0;
        state.config.ReferenceRoll[1] = 20;
        state.config.OutlierLimit = c.limit;
        att(c.heading, 20, 21);
        EXPECT_EQ(stats().HeadingStats.count, c.accumulated ? 1 : 0);
        EXPECT_FLOAT_EQ(epoch().EpochHeadingDev, c.dev);
        const bool pitchKept = c.limit == 0 || c.limit >= 20;
        EXPECT_EQ(stats().PitchStats.count, pitchKept ? 1 : 0);
        EXPECT_EQ(epoch().EpochPitchDev, pitchKept ? 20.0f : Missing);
        EXPECT_EQ(stats().ATTStats[1].missing.count, pitchKept ? 0 : 1);
        EXPECT_FLOAT_EQ(epoch().EpochRollDev, 1);
        EXPECT_EQ(stats().RollStats.count, 1);
    }
}

TEST_F(ProcessingTest, HeadingReferenceFollowsUntilTheFirstSample) {
    analyse({"HDT"});
    state.run.OnlinePaused = true;  // nothing accumulates, the reference keeps following
    for (float h : {10.0f, 20.0f}) {
        msg().HDT.Heading = h;
        run(SentenceType::HDT);
        EXPECT_FLOAT_EQ(state.config.ReferenceHeading[1], h);
    }
    state.run.OnlinePaused = false;
    for (float h : {30.0f, 40.0f}) {
        msg().HDT.Heading = h;
        run(SentenceType::HDT);
    }
    EXPECT_FLOAT_EQ(state.config.ReferenceHeading[1], 30);
    EXPECT_EQ(stats().HeadingStats.count, 2);
    EXPECT_FLOAT_EQ(epoch().EpochHeadingDev, 10);
}

TEST_F(ProcessingTest, SatelliteTablesAndGroupEnds) {
    GSVRecord& r = msg().GSV;
    auto sentence = [&](std::int16_t number, std::initializer_list<std::pair<int, int>> sats) {
        r.SentenceCount = 3;
        r.SentenceNumber = number;
        r.SatellitesInView = 11;
        const std::vector<std::pair<int, int>> given(sats);
        for (int k = 1; k <= 4; ++k) {
            const bool present = k <= static_cast<int>(given.size());
            r.PRN[k] = present ? static_cast<std::int16_t>(given[static_cast<std::size_t>(k - 1)].first) : MissingValue;
            r.SNR[k] = present ? static_cast<std::int16_t>(given[static_cast<std::size_t>(k - 1)].second) : MissingValue;
        }
        run(SentenceType::GSV);
    };
    sentence(1, {{1, 40}, {32, 41}, {33, 42}, {64, 43}});
    sentence(2, {{65, 44}, {99, 45}, {100, 46}, {101, 47}});
    EXPECT_EQ(stats().GSVStats.record.count, 0);
    sentence(3, {{149, 48}, {150, 49}, {0, 50}, {-3, 51}});
    EXPECT_EQ(stats().GSVStats.record.count, 1);
    EXPECT_EQ(stats().GSVStats.record.lastValue, 11);

    struct Where {
        const char* name;
        const SNRStatBlock& block;
        float snr;
    };
    const Where where[] = {
        {"GPS 1", stats().GPSSNRStats[1], 40},         {"GPS 32", stats().GPSSNRStats[32], 41},
        {"SBAS 33", stats().SBASSNRStats[1], 42},      {"SBAS 64", stats().SBASSNRStats[32], 43},
        {"GLONASS 65", stats().GLONASSSNRStats[1], 44}, {"GLONASS 99", stats().GLONASSSNRStats[35], 45},
        {"100", stats().GLONASSSNRStats[36], 46},      {"BeiDou 101", stats().BeiDouSNRStats[1], 47},
        {"BeiDou 149", stats().BeiDouSNRStats[49], 48},
    };
    for (const auto& w : where) {
        SCOPED_TRACE(w.name);
        EXPECT_EQ(w.block.record.count, 1);
        EXPECT_EQ(w.block.record.lastValue, w.snr);
    }
    EXPECT_EQ(stats().BeiDouSNRStats[50].record.count, 0);  // 150 and above have no element

    // An empty, zero or negative SNR is a missing sample of that satellite.
    for (int snr : {static_cast<int>(MissingValue), 0, -5}) sentence(3, {{7, snr}});
    EXPECT_EQ(stats().GPSSNRStats[7].record.count, 0);
    EXPECT_EQ(stats().GPSSNRStats[7].missing.count, 3);
    // A negative satellites-in-view count is missing too.
    r.SatellitesInView = -2;
    r.SentenceNumber = r.SentenceCount = 1;
    run(SentenceType::GSV);
    EXPECT_EQ(stats().GSVStats.missing.count, 1);
}

TEST_F(ProcessingTest, FanOutOrderAndGating) {
    VisibleForms& open = state.config.WindowVisible[1];
    for (int w : {VisibleForms::Numerics, VisibleForms::ARPATargets, VisibleForms::AISTargets,
                  VisibleForms::Statistics, VisibleForms::Skyplot})
        open[w] = true;
    analyse({"GGA", "GSA", "GSV", "GST", "VTG"});

    struct Case {
        const char* name;
        SentenceType type;
        const char* mode;
        bool paused;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {"GGA", SentenceType::GGA, "ONLINE", false,
         {"numerics 1 GGA", "arpa 1 GGA", "ais 1 GGA", "statistics 1 GGA", "timeseries 1 GGA", "scatter 1 GGA"}},
        {"GGA paused online", SentenceType::GGA, "ONLINE", true, {"numerics 1 GGA", "arpa 1 GGA", "ais 1 GGA"}},
        {"GGA paused offline", SentenceType::GGA, "OFFLINE", true,
         {"numerics 1 GGA", "arpa 1 GGA", "ais 1 GGA", "statistics 1 GGA", "timeseries 1 GGA", "scatter 1 GGA"}},
        {"GST reaches the scatter", SentenceType::GST, "ONLINE", false,
         {"numerics 1 GST", "arpa 1 GST", "ais 1 GST", "statistics 1 GST", "timeseries 1 GST", "scatter 1 GST"}},
        {"GSA", SentenceType::GSA, "ONLINE", false,
         {"numerics 1 GSA", "arpa 1 GSA", "ais 1 GSA", "statistics 1 GSA", "timeseries 1 GSA", "skyplotGSA 1"}},
        {"GSV", SentenceType::GSV, "ONLINE", false,
         {"numerics 1 GSV", "arpa 1 GSV", "ais 1 GSV", "statistics 1 GSV", "timeseries 1 GSV", "skyplotGSV 1"}},
        {"not analysed", SentenceType::HDT, "ONLINE", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sink.calls.clear();
        state.config.Mode = c.mode;
        state.run.OnlinePaused = c.paused;
        msg().GGA.Time = "10:00:00";
        msg().GGA.Quality = 1;
        run(c.type);
        EXPECT_EQ(sink.calls, c.calls);
    }

    // Closed windows are not called; the charts always are.
    for (int w : {VisibleForms::Numerics, VisibleForms::ARPATargets, VisibleForms::AISTargets,
                  VisibleForms::Statistics, VisibleForms::Skyplot})
        open[w] = false;
    state.run.OnlinePaused = false;
    sink.calls.clear();
    run(SentenceType::GSV);
    run(SentenceType::VTG);
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"timeseries 1 GSV", "timeseries 1 VTG"}));
}

TEST_F(ProcessingTest, PausedOnlineAccumulatesNothing) {
    state.run.OnlinePaused = true;
    gga("10:00:00", 52, 4, 1);
    EXPECT_EQ(stats().LatitudeStats.count, 0);
    EXPECT_EQ(stats().GGAStats[0].record.count, 0);
    EXPECT_DOUBLE_EQ(state.EpochTime[1], Day + 10 / 24.0);  // the epoch time still moves
    // Nor does any other sentence that feeds the running records, each with a valid fix.
    msg().GNS = GNSRecord{"10:00:01", 52 * deg, 4 * deg, "AN", 8, 0.9f, 11};
    run(SentenceType::GNS);
    msg().GLL = {52 * deg, 4 * deg, "10:00:02", 'A', 'A'};
    run(SentenceType::GLL);
    msg().RMC = RMCRecord{"10:00:03", "A", 52 * deg, 4 * deg, 0, 0, "", 0, ' ', 'A'};
    run(SentenceType::RMC);
    msg().HDT.Heading = 100;
    run(SentenceType::HDT);
    att(100, 2, 3);
    const SystemStatistics& t = stats();
    EXPECT_EQ((std::vector<std::int32_t>{t.LatitudeStats.count, t.LongitudeStats.count, t.HeightStats.count,
                                         t.HeadingStats.count, t.PitchStats.count, t.RollStats.count}),
              std::vector<std::int32_t>(6, 0));
    EXPECT_NEAR(state.EpochTime[1], Day + (36000 + 3) / 86400.0, 1e-9);
}

TEST_F(ProcessingTest, EpochTimeDatesAndDayRollOver) {
    gga("23:59:59", 52, 4, 1);
    EXPECT_NEAR(state.EpochTime[1], Day + 86399 / 86400.0, 1e-9);
    gga("00:00:01", 52, 4, 1);  // midnight crossing
    EXPECT_DOUBLE_EQ(state.SentenceDate[1], Day + 1);
    EXPECT_NEAR(state.EpochTime[1], Day + 1 + 1 / 86400.0, 1e-9);

    // One sentence out of order is no new day, nor is a step back of exactly half a day.
    gga("10:00:05", 52, 4, 1);
    gga("10:00:03", 52, 4, 1);
    EXPECT_DOUBLE_EQ(state.SentenceDate[1], Day + 1);
    EXPECT_NEAR(state.EpochTime[1], Day + 1 + 36003 / 86400.0, 1e-9);
    gga("22:00:03", 52, 4, 1);
    gga("10:00:03", 52, 4, 1);
    EXPECT_DOUBLE_EQ(state.SentenceDate[1], Day + 1);
    EXPECT_NEAR(state.EpochTime[1], Day + 1 + 36003 / 86400.0, 1e-9);

    // An invalid GGA time keeps the epoch time.
    gga("::", 52, 4, 1);
    EXPECT_NEAR(state.EpochTime[1], Day + 1 + 36003 / 86400.0, 1e-9);

    // RMC and ZDA set the date.
    RMCRecord& rmc = msg().RMC;
    rmc.Time = "12:00:00";
    rmc.Status = "A";
    rmc.Date = "010127";
    rmc.Latitude = 52 * deg;
    rmc.Longitude = 4 * deg;
    run(SentenceType::RMC);
    EXPECT_DOUBLE_EQ(state.SentenceDate[1], dateFromYmd(2027, 1, 1));
    EXPECT_DOUBLE_EQ(state.EpochTime[1], dateFromYmd(2027, 1, 1) + 0.5);
    msg().ZDA = {"120001.00", 3, 2, 2027, 0, 0};
    run(SentenceType::ZDA);
    EXPECT_DOUBLE_EQ(state.SentenceDate[1], dateFromYmd(2027, 2, 3));
}

TEST_F(ProcessingTest, BadDatesAndTimesRaiseAndLeaveTheEpoch) {
    gga("10:00:00", 52, 4, 1);
    const double epoch = state.EpochTime[1], date = state.SentenceDate[1];
    auto expectMismatch = [&](SentenceType t) {
        sink.calls.clear();
        try {
            run(t);
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), err::TypeMismatch);
        }
        EXPECT_EQ(state.EpochTime[1], epoch);
        EXPECT_EQ(state.SentenceDate[1], date);
        EXPECT_TRUE(sink.calls.empty());
    };
    msg().RMC = RMCRecord{"10:00:01", "A", 52 * deg, 4 * deg, 0, 0, "0x1226", 0, ' ', 'A'};
    expectMismatch(SentenceType::RMC);  // no date
    msg().RMC.Date = "081226";
    msg().RMC.Time = "ab:cd:ef";
    expectMismatch(SentenceType::RMC);  // good date, bad time: the date is not taken either
    msg().GLL = {52 * deg, 4 * deg, "25:00:00", 'A', 'A'};
    expectMismatch(SentenceType::GLL);
    msg().ZDA = {"", 31, 2, 2027, 0, 0};
    expectMismatch(SentenceType::ZDA);
    EXPECT_EQ(stats().LatitudeStats.count, 1);
}

struct NoAis final : AisServices {
    void processVDM(int, const std::string&, VDMRecord&) override {}
    void storeAISTarget(int) override {}
};

// An empty field is "not available": sentences of receivers without a fix, of talkers that
// never send a date and of later NMEA editions (fields added at the end) raise nothing and
// leave what they do not give as it was. A field holding something unreadable still raises.
TEST_F(ProcessingTest, EmptyFieldsAndLaterEditionsRaiseNothing) {
    analyse({"GGA", "GLL", "RMC", "ZDA", "TTM"});
    NoAis ais;
    const double July20 = dateFromYmd(2015, 7, 20);
    struct Case {
        const char* line;
        int error;    // 0: none
        double date;  // SentenceDate afterwards; 0: as before
        int seconds;  // epoch time of day afterwards; -1: the epoch as before
    };
    const Case cases[] = {
        {"$IIRMC,092210,A,5759.095,N,01144.342,E,5.5,31.1,,0.0,E,A*30", 0, 0, 33730},
        {"$GPRMC,,V,,,,,,,,,,N*53", 0, 0, -1},
        {"$GPRMC,,A,5738.7695,N,1142.5722,E,9.700,79.436,200715,,W*44", 0, July20, -1},
        {"$GPRMC,092211.00,A,5759.097,N,01144.343,E,5.2,28.2,200715,,,A,V*58", 0, July20, 33731},
        {"$GPZDA,095559,,,,00,*4D", 0, 0, -1},
        {"$GPZDA,095559,20,07,,00,", 0, 0, -1},
        {"$GPZDA,095559,20,,2015,00,", 0, 0, -1},
        {"$GPZDA,095559,,07,2015,00,", 0, 0, -1},
        {"$GPGLL,,,,,,V,N*64", 0, 0, -1},
        {"$RATTM,11,11.4,13.6,T,7.0,20.0,T,0.0,0.0,N,,Q,,154125.82,A,*17", 0, 0, -1},
        {"$GPRMC,092210,A,5759.095,N,01144.342,E,5.5,31.1,2x0715,0.0,E,A", err::TypeMismatch, 0, -1},
        {"$GPRMC,9z2210,A,5759.095,N,01144.342,E,5.5,31.1,200715,0.0,E,A", err::TypeMismatch, 0, -1},
        {"$GPZDA,095559,31,02,2026,00,00", err::TypeMismatch, 0, -1},
        {"$GPGLL,5759.095,N,01144.342,E,ab2210,A,A", err::TypeMismatch, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        state.SentenceDate[1] = Day;
        gga("10:00:00", 52, 4, 1);
        const double epochBefore = state.EpochTime[1];
        state.parserNotices.reset();
        int error = 0;
        try {
            ProcessSentence(state, sink, ais, 1, c.line);
        } catch (const RuntimeError& e) {
            error = e.number();
        }
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(state.parserNotices.entries().empty());
        const double date = c.date != 0 ? c.date : Day;
        EXPECT_EQ(state.SentenceDate[1], date);
        EXPECT_NEAR(state.EpochTime[1], c.seconds < 0 ? epochBefore : date + c.seconds / 86400.0, 1e-9);
    }
    EXPECT_EQ(msg().TTM.TargetNumber, 11);
    EXPECT_EQ(msg().TTM.TargetStatus, 'Q');
}

TEST_F(ProcessingTest, PcTimeMixedWithSentenceTimes) {
    state.config.SetTimeFromPC[1] = true;
    clock.t = Day + 0.25;  // the PC runs hours behind the sentences
    gga("20:00:00", 52, 4, 1);
    EXPECT_DOUBLE_EQ(state.EpochTime[1], Day + 20 / 24.0);  // a position sentence uses its own time
    msg().HDT.Heading = 5;
    run(SentenceType::HDT);
    EXPECT_DOUBLE_EQ(state.EpochTime[1], Day + 0.25);  // other types keep the PC time
    EXPECT_EQ(stats().HeadingStats.lastTime, "06:00:00");
    gga("20:00:01", 52, 4, 1);
    EXPECT_DOUBLE_EQ(state.SentenceDate[1], Day);  // no day was added on the way
    EXPECT_NEAR(state.EpochTime[1], Day + 72001 / 86400.0, 1e-9);

    // A type that is not analysed still takes the PC time.
    clock.t = Day + 0.3;
    run(SentenceType::TTM);
    EXPECT_DOUBLE_EQ(state.EpochTime[1], Day + 0.3);
}

TEST_F(ProcessingTest, PositionsAcrossTheAntimeridian) {
    gga("10:00:00", 0, 179.9999, 1);
    gga("10:00:01", 0, -179.9999, 1);
    EXPECT_NEAR(epoch().EpochEast, 22.26, 0.01);
    EXPECT_NEAR(stats().GGAStats[0].record.maximum, 22.26, 0.01);
}

TEST_F(ProcessingTest, ResetIsPerSystem) {
    gga("10:00:00", 52, 4, 1);
    state.NMEAMessages[2].GGA = msg().GGA;
    analyse({"GGA"}, 2);
    state.SentenceDate[2] = Day;
    run(SentenceType::GGA, 2);
    ResetSystemStatistics(state, 1);
    EXPECT_EQ(stats(1).LatitudeStats.count, 0);
    EXPECT_EQ(stats(1).GGAStats[6].record.count, 0);
    EXPECT_EQ(stats(2).LatitudeStats.count, 1);
    EXPECT_EQ(stats(2).GGAStats[6].record.count, 1);
}

}  // namespace
}  // namespace tiderune
