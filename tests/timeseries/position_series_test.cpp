// The GGA and GNS windows fed through the real intake: bar colours, the age line's break at a
// DGPS transition, station runs, the station axis and the DGPS switches.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

#include "core/epoch_time.h"
#include "core/intake.h"
#include "core/parsers.h"
#include "timeseries/time_series_engine.h"
#include "timeseries/time_series_form.h"
#include "test_windows.h"

using namespace tiderune;

namespace {

struct FakeClock final : PcClock {
    double now() const override { return dateFromYmd(2026, 12, 8) + 0.5; }
};

using test::Windows;

// The core's fan-out into the engine, as the program's sink does it.
struct Sink : CoreSink {
    TimeSeriesEngine* engine = nullptr;
    void updateTimeSeriesCharts(int s, SentenceType t) override { engine->UpdateTimeSeriesCharts(s, t); }
};

class PositionSeries : public testing::Test {
protected:
    PositionSeries() {
        core->analysis.clock = &clock;
        core->config.Mode = "OFFLINE";
        for (int s = 1; s <= 2; ++s) {
            core->config.Systems[s].InUse = true;
            core->config.Systems[s].GGAAnalysed = true;
            core->SentenceDate[s] = dateFromYmd(2026, 12, 8);
        }
        core->config.Systems[3].InUse = core->config.Systems[3].GNSAnalysed = true;
        windows.settings = &engine.settings;
        sink.engine = &engine;
    }
    // One GGA epoch a second from 12:00:00 with quality, satellites, age and station.
    void gga(int q, const char* sats, const char* age, const char* station, int system = 1) {
        const int t = seconds_[system]++;
        char body[160];
        std::snprintf(body, sizeof body, "$GPGGA,12%02d%02d.00,5925.1242,N,01029.5289,E,%d,%s,0.9,6.3,M,39.8,M,%s,%s",
                      t / 60, t % 60, q, sats, age, station);
        ProcessSentence(*core, sink, ais, system, std::string(body) + "*" + CalcChecksum(body));
    }
    void gns(const char* age, const char* station) {
        const int t = seconds_[3]++;
        char body[160];
        std::snprintf(body, sizeof body, "$GNGNS,12%02d%02d.00,5925.1242,N,01029.5289,E,DD,10,0.9,6.3,39.8,%s,%s",
                      t / 60, t % 60, age, station);
        ProcessSentence(*core, sink, ais, 3, std::string(body) + "*" + CalcChecksum(body));
    }
    TimeSeriesForm& window(int kind = chart_kind::GGA, int system = 1) { return *windows.timeSeriesForm(kind, system); }
    Series& dgps(int series, int kind = chart_kind::GGA, int system = 1) {
        return window(kind, system).TChart(3).series(series);
    }
    static double sec(double x) { return std::round((x - dateFromYmd(2026, 12, 8)) * 86400.0 - 43200.0); }

    FakeClock clock;
    std::unique_ptr<CoreState> core = std::make_unique<CoreState>();
    Windows windows{core->config, "GNSS"};
    TimeSeriesEngine engine{*core, windows};
    Sink sink;
    NullAisServices ais;
    std::map<int, int> seconds_;
};

}  // namespace

TEST_F(PositionSeries, SatelliteAndQualityBarColours) {
    struct Case {
        int q;
        const char* sats;
        int satBars;  // bars after this epoch
        Colour satColour;
        int qualityBars;
        Colour qualityColour;
    };
    const Case cases[] = {
        {1, "12", 1, SeriesColour, 1, 0x0000FF}, {2, "04", 2, 0xFF00FF, 2, SeriesColour}, {3, "03", 3, 0x0000FF, 3, 0x00FF00},
        {4, "", 3, 0, 4, 0xFF00FF},              {5, "05", 4, SeriesColour, 5, 0x00FFFF}, {6, "05", 5, SeriesColour, 6, 0xFFFF00},
        {7, "05", 6, SeriesColour, 7, 0xFFFFFF}, {8, "05", 7, SeriesColour, 8, 0x00FFFF}, {9, "05", 8, SeriesColour, 8, 0},
    };
    for (const Case& c : cases) {
        gga(c.q, c.sats, "1.0", "17");
        const Series& svs = window().TChart(2).series(0);
        ASSERT_EQ(svs.count(), c.satBars) << c.q;
        if (c.satColour) {
            EXPECT_EQ(svs.pointColour(svs.count() - 1), c.satColour) << c.q;
        }
        const Series& quality = dgps(0);
        ASSERT_EQ(quality.count(), c.qualityBars) << c.q;
        if (c.qualityColour) {
            EXPECT_EQ(quality.pointColour(quality.count() - 1), c.qualityColour) << c.q;
        }
    }
    EXPECT_EQ(engine.PreviousQuality[1], 9) << "a quality beyond the table still counts as the previous one";
}

TEST_F(PositionSeries, AgeLineBreaksAtEachDGPSTransitionAndAgeOffStopsIt) {
    for (int q : {2, 2, 1, 1, 2}) gga(q, "08", "3.0", "17");
    const Series& age = dgps(1);
    ASSERT_EQ(age.count(), 8);  // five ages and a break at the first epoch, at 1 after 2 and at 2 after 1
    const std::vector<bool> nulls = {true, false, false, true, false, false, true, false};
    for (int i = 0; i < age.count(); ++i) EXPECT_EQ(age.isNull(i), nulls[static_cast<std::size_t>(i)]) << i;
    window().chkAgeOff_Click(1);
    gga(1, "08", "3.0", "17");
    EXPECT_EQ(age.count(), 8);
    EXPECT_EQ(dgps(0).count(), 6) << "the quality bars go on";

    // Without the DGPS chart nothing of it changes and the previous quality stays.
    window().chkDGPS_Click(0, false);
    EXPECT_TRUE(core->config.NoDGPSChart[1]);
    gga(2, "08", "3.0", "17");
    EXPECT_EQ(dgps(0).count(), 6);
    EXPECT_EQ(engine.PreviousQuality[1], 1);
}

TEST_F(PositionSeries, StationRunsOneBarPerRunAcrossIdsMissingAndAReset) {
    for (const char* id : {"17", "17", "17", "23", "23", "", "23", "0", "23", "23"}) gga(2, "08", "3.0", id);
    const Series& bars = dgps(2);
    ASSERT_EQ(bars.count(), 3);
    EXPECT_EQ(bars.y(0), 17);
    EXPECT_EQ(sec(bars.x(0)), 0);
    EXPECT_EQ(sec(bars.endValue(0)), 2) << "one bar lengthened in place";
    EXPECT_EQ(bars.y(1), 23);
    EXPECT_EQ(sec(bars.x(1)), 3);
    EXPECT_EQ(sec(bars.endValue(1)), 4);
    EXPECT_EQ(sec(bars.x(2)), 8) << "a missing or 0 id ends the run; the next 23 opens a new one";
    EXPECT_EQ(sec(bars.endValue(2)), 9);

    // The station axis only grows.
    const Axis& right = window().TChart(3).rightAxis();
    EXPECT_EQ(right.minimum(), -1);
    EXPECT_EQ(right.maximum(), 24);

    // System 2's window unloads: the next run-bar update of system 2 restarts the runs of all.
    gga(2, "08", "3.0", "41", 2);
    window(chart_kind::GGA, 2).unload();
    gga(2, "08", "3.0", "41", 2);
    EXPECT_EQ(dgps(2, chart_kind::GGA, 2).count(), 0) << "the run of 41 began anew";
    gga(2, "08", "3.0", "23");
    EXPECT_EQ(bars.count(), 3) << "system 1's run of 23 began anew too";

    // The epoch steps back into the run: a new run from there, not a bar reaching back.
    seconds_[1] = 0;
    gga(2, "08", "3.0", "23");
    gga(2, "08", "3.0", "23");
    ASSERT_EQ(bars.count(), 4);
    EXPECT_EQ(sec(bars.x(3)), 0);
    EXPECT_EQ(sec(bars.endValue(3)), 1);
}

TEST_F(PositionSeries, RunBarsThatEndedADayBeforeTheNewestGo) {
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Gantt);
    s.setTitle("Stn ID");
    const double d0 = dateFromYmd(2026, 12, 8);
    const double second = 1.0 / 86400;
    for (auto [t, id] : {std::pair{0.0, 5}, {1.0, 5}, {2.0, 6}, {3.0, 6}}) engine.UpdateGanttGNS(4, s, d0 + t * second, id);
    ASSERT_EQ(s.count(), 2);
    engine.UpdateGanttGNS(4, s, d0 + 86401 * second, 6);  // exactly a day after the first run ended
    EXPECT_EQ(s.count(), 2);
    engine.UpdateGanttGNS(4, s, d0 + 86402 * second, 6);
    ASSERT_EQ(s.count(), 1);
    EXPECT_EQ(s.y(0), 6);
}

TEST_F(PositionSeries, GnsFeedsAgeAndStationsButNoModeBars) {
    for (int i = 0; i < 3; ++i) gns("2.0", "17");
    EXPECT_EQ(dgps(0, chart_kind::GNS, 3).count(), 0);
    EXPECT_EQ(dgps(1, chart_kind::GNS, 3).count(), 3);
    EXPECT_EQ(dgps(1, chart_kind::GNS, 3).nullCount(), 0);
    EXPECT_EQ(dgps(2, chart_kind::GNS, 3).count(), 1);
    EXPECT_EQ(engine.PreviousQuality[3], 0);
    gns("", "");
    const Series& hdop = window(chart_kind::GNS, 3).TChart(2).series(1);
    ASSERT_EQ(hdop.count(), 4) << "a fix without a DGPS age keeps its hdop";
    EXPECT_FLOAT_EQ(static_cast<float>(hdop.y(3)), 0.9f);
}

TEST_F(PositionSeries, AverageLinesFollowAndTheDGPSSwitchResizes) {
    for (int i = 0; i < 5; ++i) gga(2, "08", "3.0", "17");
    TimeSeriesForm& w = window();
    const Chart& offsets = w.TChart(0);
    EXPECT_EQ(offsets.series(0).count(), 5);
    EXPECT_DOUBLE_EQ(offsets.series(1).functionValue(), offsets.series(0).mean());
    EXPECT_DOUBLE_EQ(offsets.tool(0).value(), core->analysis.statistics(1).GGAStats[0].record.mean);

    w.resize(12000, 10600);
    const int tops[] = {600, 2990, 5380, 7770};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(w.chartPlaces[static_cast<std::size_t>(k)].top, tops[k]);
    EXPECT_EQ(w.chartPlaces[0].height, 2390);
    EXPECT_FALSE(w.chkDGPS_Click(0, true)) << "maximised: refused, the box keeps the change";
    EXPECT_EQ(w.chkDGPS.value, 0);
    EXPECT_FALSE(core->config.NoDGPSChart[1]);
    EXPECT_TRUE(w.chkDGPS_Click(0, false));
    EXPECT_EQ(w.heightRequest, -2390);
    w.resize(12000, 10600 - 2390);
    EXPECT_EQ(w.chartPlaces[0].height, 2427);  // 7610 / 3 rounded, less 110

    // A window loaded for a system whose DGPS chart is off starts without it.
    core->config.NoDGPSChart[4] = true;
    TimeSeriesForm& fourth = window(chart_kind::GGA, 4);
    EXPECT_EQ(fourth.chkDGPS.value, 0);
    EXPECT_LT(fourth.heightRequest, 0);
}
