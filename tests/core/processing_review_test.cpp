// The epoch date across midnight with PC-timed sentences in between, with dates from RMC
// and ZDA far from the PC's date and after a new run, averaged references
// across the 180th meridian, and values that do not fit a single.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/processing.h"

namespace tiderune {
namespace {

constexpr double deg = std::numbers::pi / 180;
const double Day = dateFromYmd(2026, 12, 8);

struct FakeClock final : PcClock {
    double t = 0;
    double now() const override { return t; }
};

struct QuietSink final : CoreSink {};

class ProcessingReview : public testing::Test {
protected:
    ProcessingReview() { fresh(); }

    // A new session on system 1 with the positions, headings and speeds analysed.
    void fresh() {
        state = CoreState{};
        state.analysis.clock = &clock;
        clock.t = Day + 0.25;
        state.config.Mode = "ONLINE";
        state.config.OutlierLimit = 15;
        state.SentenceDate[1] = Day;
        const char* names[] = {"GGA", "GLL", "RMC", "HDT", "VTG", "ZDA"};
        for (int i = 0; i < 6; ++i) state.config.MessagesToAnalyse[1][i + 1] = names[i];
        SetAnalysedMessageTypes(state.config, 1);
    }

    void run(SentenceType t) { ProcessMessageType(state, sink, 1, t); }
    void gga(const char* time, double latDeg, double lonDeg, float altitude = 10) {
        GGARecord& r = state.NMEAMessages[1].GGA;
        r.Time = time;
        r.Latitude = latDeg * deg;
        r.Longitude = lonDeg * deg;
        r.Quality = 1;
        r.Altitude = altitude;
        run(SentenceType::GGA);
    }
    void hdt(float heading) {
        state.NMEAMessages[1].HDT.Heading = heading;
        run(SentenceType::HDT);
    }
    EpochValueSet& epoch() { return state.analysis.EpochValues[1]; }
    SystemStatistics& stats() { return state.analysis.statistics(1); }

    FakeClock clock;
    CoreState state;
    QuietSink sink;
};

TEST_F(ProcessingReview, MidnightIsCrossedWhateverLiesBetweenTwoSentenceTimes) {
    struct Case {
        const char* name;
        bool pcTime;
        int headingsBetween;  // they take the PC time when SetTimeFromPC is on
    };
    const Case cases[] = {
        {"sentence times only", false, 0},
        {"PC time, nothing between", true, 0},
        {"PC time, one heading between", true, 1},
        {"PC time, several headings between", true, 3},
        {"sentence times, headings between", false, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        state.config.SetTimeFromPC[1] = c.pcTime;
        gga("23:59:59", 52, 4);
        for (int i = 0; i < c.headingsBetween; ++i) hdt(90);
        gga("00:00:01", 52, 4);
        EXPECT_DOUBLE_EQ(state.SentenceDate[1], Day + 1);
        EXPECT_NEAR(state.EpochTime[1], Day + 1 + 1 / 86400.0, 1e-9);
        // An out-of-order position after a PC-timed sentence is still no new day.
        hdt(90);
        gga("00:00:00", 52, 4);
        EXPECT_DOUBLE_EQ(state.SentenceDate[1], Day + 1);
    }
}

// Each step is one sentence ("GGA hh:mm:ss", "RMC hh:mm:ss ddmmyy", "ZDA hhmmss dd mm yyyy";
// "-" for an empty time field) and the date of the epoch it leaves (of SentenceDate after a
// ZDA or an RMC without a time), or "new run", the dates started afresh in the afternoon,
// and the sentence date it leaves. The PC's date is 8 Dec 2026; the data are of 29 Feb 2024.
TEST_F(ProcessingReview, DatesFromRmcAndZdaAreNeverRolledOver) {
    struct Step {
        std::string sentence;
        const char* date;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"GGA then RMC",
         {{"GGA 12:00:00", "08 Dec 2026"}, {"RMC 12:00:00 290224", "29 Feb 2024"}, {"GGA 12:00:01", "29 Feb 2024"},
          {"RMC 12:00:01 290224", "29 Feb 2024"}, {"GGA 12:00:02", "29 Feb 2024"}, {"RMC 12:00:02 290224", "29 Feb 2024"}}},
        {"RMC then GGA",
         {{"RMC 12:00:00 290224", "29 Feb 2024"}, {"GGA 12:00:00", "29 Feb 2024"}, {"RMC 12:00:01 290224", "29 Feb 2024"},
          {"GGA 12:00:01", "29 Feb 2024"}, {"RMC 12:00:02 290224", "29 Feb 2024"}, {"GGA 12:00:02", "29 Feb 2024"}}},
        {"GGA then ZDA",
         {{"GGA 12:00:00", "08 Dec 2026"}, {"ZDA 120000 29 02 2024", "29 Feb 2024"}, {"GGA 12:00:01", "29 Feb 2024"},
          {"ZDA 120001 29 02 2024", "29 Feb 2024"}, {"GGA 12:00:02", "29 Feb 2024"}}},
        {"midnight, GGA only", {{"GGA 23:59:59", "08 Dec 2026"}, {"GGA 00:00:00", "09 Dec 2026"}}},
        {"midnight, GGA then RMC",
         {{"GGA 23:59:59", "08 Dec 2026"}, {"RMC 23:59:59 290224", "29 Feb 2024"}, {"GGA 00:00:00", "01 Mar 2024"},
          {"RMC 00:00:00 010324", "01 Mar 2024"}, {"GGA 00:00:01", "01 Mar 2024"}}},
        {"midnight, RMC then GGA",
         {{"RMC 23:59:59 290224", "29 Feb 2024"}, {"GGA 23:59:59", "29 Feb 2024"}, {"RMC 00:00:00 010324", "01 Mar 2024"},
          {"GGA 00:00:00", "01 Mar 2024"}, {"GGA 00:00:01", "01 Mar 2024"}}},
        {"midnight, GGA then ZDA",
         {{"GGA 23:59:58", "08 Dec 2026"}, {"ZDA 235958 29 02 2024", "29 Feb 2024"}, {"GGA 23:59:59", "29 Feb 2024"},
          {"GGA 00:00:00", "01 Mar 2024"}, {"ZDA 000000 01 03 2024", "01 Mar 2024"}, {"GGA 00:00:01", "01 Mar 2024"}}},
        {"ZDA without a time", {{"GGA 23:00:00", "08 Dec 2026"}, {"ZDA - 29 02 2024", "29 Feb 2024"}, {"GGA 01:00:00", "29 Feb 2024"}}},
        {"RMC without a time", {{"GGA 23:00:00", "08 Dec 2026"}, {"RMC - 290224", "29 Feb 2024"}, {"GGA 01:00:00", "29 Feb 2024"}}},
        {"a step back of just over half a day is midnight",
         {{"GGA 23:00:00", "08 Dec 2026"}, {"GGA 10:59:59", "09 Dec 2026"}}},
        {"a new run dates the next time on the PC's date, with no earlier time to step back from",
         {{"RMC 23:59:59 290224", "29 Feb 2024"}, {"new run", "08 Dec 2026"}, {"GGA 10:00:00", "08 Dec 2026"}}},
        {"a step back of just under half a day is not",
         {{"GGA 23:00:00", "08 Dec 2026"}, {"GGA 11:00:01", "08 Dec 2026"}, {"GGA 10:00:00", "08 Dec 2026"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        for (const Step& step : c.steps) {
            SCOPED_TRACE(step.sentence);
            const std::string type = step.sentence.substr(0, 3), time = step.sentence.substr(4, 8);  // GGA
            NMEAMessageSet& m = state.NMEAMessages[1];
            double date;
            if (step.sentence == "new run") {
                StartDates(state, Day + 0.6);
                date = state.SentenceDate[1];
                EXPECT_EQ(date + state.EpochTime[1], Day) << "the whole day, no epoch yet";
            } else if (type == "GGA") {
                gga(time.c_str(), 52, 4);
                date = state.EpochTime[1];
            } else if (type == "RMC") {
                char rmcTime[9] = {}, rmcDate[7] = {};
                std::sscanf(step.sentence.c_str(), "RMC %8s %6s", rmcTime, rmcDate);
                const bool timed = rmcTime != std::string("-");
                m.RMC = RMCRecord{timed ? rmcTime : "::", "A", 52 * deg, 4 * deg, 0, 0, rmcDate, 0, ' ', 'A'};
                run(SentenceType::RMC);
                date = timed ? state.EpochTime[1] : state.SentenceDate[1];
            } else {
                char zdaTime[8] = {};
                std::int16_t day = 0, month = 0, year = 0;
                std::sscanf(step.sentence.c_str(), "ZDA %7s %hd %hd %hd", zdaTime, &day, &month, &year);
                m.ZDA = {zdaTime == std::string("-") ? "" : zdaTime, day, month, year, 0, 0};
                run(SentenceType::ZDA);
                date = state.SentenceDate[1];
            }
            EXPECT_EQ(formatDayMonthYear(date), step.date);
        }
    }
}

TEST_F(ProcessingReview, AveragedReferenceAcrossTheAntimeridian) {
    struct Case {
        const char* name;
        std::vector<double> lonDeg;
        double meanDeg;  // of LongitudeStats, within +-180
        double sdevM;    // of LongitudeStats in metres east at the equator, roughly
    };
    const double m = 6378137.0 * deg;  // metres per degree of longitude at the equator
    const std::vector<Case> cases = {
        {"east of Greenwich", {4.0, 4.0002}, 4.0001, 0.0002 / std::sqrt(2.0) * m},
        {"crossing eastwards", {179.9999, -179.9999}, 180.0, 0.0002 / std::sqrt(2.0) * m},
        {"crossing westwards", {-179.9999, 179.9999}, -180.0, 0.0002 / std::sqrt(2.0) * m},
        {"mostly west of it", {-179.9999, -179.9999, 179.9999}, -179.99996667, 0.0002 / std::sqrt(3.0) * m},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetSystemStatistics(state, 1);
        state.config.ReferenceMode[1] = 1;
        for (double lon : c.lonDeg) gga("10:00:00", 0, lon);
        const StatRecordDbl& lons = stats().LongitudeStats;
        EXPECT_LE(std::fabs(lons.mean), std::numbers::pi);
        // The mean is a longitude; +180 and -180 are the same meridian.
        EXPECT_NEAR(std::remainder(lons.mean / deg - c.meanDeg, 360.0), 0, 1e-6);
        EXPECT_NEAR(lons.standardDeviation / deg * m, c.sdevM, 0.05);
        EXPECT_DOUBLE_EQ(lons.lastValue, c.lonDeg.back() * deg);
        // The averaged reference lies on the track: the last position is metres from it.
        EXPECT_DOUBLE_EQ(state.config.ReferenceLon[1], lons.mean);
        EXPECT_LT(std::fabs(epoch().EpochEast), 25);
        EXPECT_LT(stats().GGAStats[0].record.maximum, 25);
    }
}

TEST_F(ProcessingReview, DeviationsThatDoNotFitASingleRaiseAndLeaveTheStatistics) {
    state.config.ReferenceMode[1] = 2;
    state.config.ReferenceHeading[1] = -3e38f;
    try {
        hdt(3e38f);  // 6e38 off its reference
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::Overflow);
    }
    // The block is as it was and keeps working for sound samples.
    EXPECT_EQ(stats().HDTStats[0].record.count, 0);
    state.config.ReferenceHeading[1] = 10;
    hdt(12);
    EXPECT_EQ(stats().HDTStats[0].record.count, 1);
    EXPECT_FLOAT_EQ(stats().HDTStats[0].record.mean, 2);

    // A non-finite value handed to a record directly is refused before anything changes.
    struct NoDate final : StatDateSource {
        std::string todayText() const override { return "08 Dec 2026"; }
    } dates;
    for (float bad : {INFINITY, -INFINITY, NAN}) {
        StatBlock b;
        AddSample(2.0f, b, "a", dates);
        EXPECT_THROW(AddSample(bad, b, "b", dates), RuntimeError);
        EXPECT_EQ(b.record.count, 1);
        EXPECT_EQ(b.percentiles.counts()[0], 1);
        AddSample(4.0f, b, "c", dates);
        EXPECT_FLOAT_EQ(b.record.mean, 3);
        EXPECT_FLOAT_EQ(b.record.standardDeviation, std::sqrt(2.0f));
    }
}

}  // namespace
}  // namespace tiderune
