// The time-series engine headless: decimation, the 24-hour window, the automatic filter,
// the time-axis modes and the copying of a range between the charts of a window.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/epoch_time.h"
#include "timeseries/chart_point.h"
#include "timeseries/time_series_engine.h"
#include "timeseries/time_series_form.h"
#include "test_windows.h"

using namespace tiderune;

namespace {

constexpr double Sec = 1.0 / 86400.0;
const double Day = dateFromYmd(2026, 12, 8);

using test::Windows;

struct Engine {
    CoreState core;
    std::unique_ptr<Windows> windows = std::make_unique<Windows>(core.config);
    std::unique_ptr<TimeSeriesEngine> engine = std::make_unique<TimeSeriesEngine>(core, *windows);
    Engine() { windows->settings = &engine->settings; }
    TimeSeriesForm& window(int kind, int system = 1) { return *windows->timeSeriesForm(kind, system); }
};

std::vector<double> ys(const Series& s) {
    std::vector<double> v;
    for (int i = 0; i < s.count(); ++i) v.push_back(s.y(i));
    return v;
}

}  // namespace

// Each row through the doors a sample comes in by: AddChartPoint itself, a GSA sentence's
// PDOP in the engine, and a satellite's SNR at a GSV group end, which takes its samples before
// it looks its chart up.
TEST(AddChartPoint, DecimationSequences) {
    struct Case {
        const char* name;
        int length;
        std::vector<double> samples;
        std::vector<double> points;
    };
    const Case cases[] = {
        {"block of five keeps the earlier of a tie", 5, {1, -3, 2, 3, -1}, {-3}},
        {"block of two, larger second", 2, {1, -2, 4, 3}, {-2, 4}},
        {"block of two, tie keeps the first", 2, {2, -2}, {2}},
        {"no decimation", 0, {1, -9999, 2}, {1, 2}},
        {"filter off", -1, {1, 2, -9999}, {1, 2}},
        {"missing value wins a block: no point, next block afresh", 3, {5, -9999, 1, 7, 2, 3}, {7}},
        {"a value beyond the missing value's magnitude still wins its block", 3, {5, -9999, 12000, 7, 2, 3}, {12000, 7}},
        {"a missing sample closing a block outweighs the values before it", 3, {2, -3, -9999, 1, 4, 6}, {6}},
        {"a block of missing samples alone gives no point", 2, {-9999, -9999, 4, 1}, {4}},
        {"open block gives nothing", 4, {1, 2, 3}, {}},
    };
    enum class Door { AddChartPoint, GsaPdop, SnrWindow };
    for (const Case& c : cases) {
        for (const Door door : {Door::AddChartPoint, Door::GsaPdop, Door::SnrWindow}) {
            Engine e;
            ChartSettings& settings = e.engine->settings;
            Chart chart;
            Series* s = &chart.addSeries(SeriesKind::Line);
            SeriesFilter state;
            double x = Day;
            int kind = chart_kind::ROT;
            if (door == Door::GsaPdop) {
                kind = chart_kind::GSA;
                s = &e.window(kind).TChart(0).series(0);
            }
            if (door == Door::SnrWindow) kind = chart_kind::GSV;  // the SNR windows follow the GSV window's filter
            settings.AutoFilter[kind][1] = false;
            settings.FilterLength[kind][1] = static_cast<std::int16_t>(c.length);
            SatelliteRecord& sat = e.engine->SatelliteTable[1][7];
            sat.Elevation = 40;
            for (double v : c.samples) {
                e.core.EpochTime[1] = x += Sec;
                if (door == Door::AddChartPoint) AddChartPoint(settings, 1, kind, *s, x, v, state);
                if (door == Door::GsaPdop) {
                    e.core.NMEAMessages[1].GSA.PDOP = static_cast<float>(v);
                    e.engine->UpdateTimeSeriesGSA(1);
                }
                if (door == Door::SnrWindow) {
                    sat.SNR = static_cast<std::int16_t>(v);
                    e.engine->UpdateTimeSeriesSNR(1, 7);
                }
            }
            if (door == Door::SnrWindow) s = &e.windows->snrChart(1, 1, 7)->series(0);
            EXPECT_EQ(ys(*s), c.points) << c.name << ", door " << static_cast<int>(door);
        }
    }
}

TEST(AddChartPoint, PointTakesTheColourOfTheClosingCallAndFilterChangesKeepTheBlock) {
    ChartSettings settings;
    settings.FilterLength[chart_kind::ROT][1] = 3;
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Bar);
    SeriesFilter state;
    AddChartPoint(settings, 1, chart_kind::ROT, s, Day, 9, state, colours::Red);
    AddChartPoint(settings, 1, chart_kind::ROT, s, Day, 1, state, colours::Green);
    AddChartPoint(settings, 1, chart_kind::ROT, s, Day, 2, state, colours::Blue);
    ASSERT_EQ(s.count(), 1);
    EXPECT_EQ(s.y(0), 9);
    EXPECT_EQ(s.pointColour(0), colours::Blue);

    // Two samples into a block of ten, then the length drops to two: the next sample closes it.
    settings.FilterLength[chart_kind::ROT][1] = 10;
    AddChartPoint(settings, 1, chart_kind::ROT, s, Day, 4, state);
    AddChartPoint(settings, 1, chart_kind::ROT, s, Day, 5, state);
    settings.FilterLength[chart_kind::ROT][1] = 2;
    AddChartPoint(settings, 1, chart_kind::ROT, s, Day, 1, state);
    EXPECT_EQ(ys(s), (std::vector<double>{9, 5}));
    EXPECT_EQ(s.pointColour(1), SeriesColour);
}

TEST(AddChartPoint, TwentyFourHourWindowTrimsByWholeSeconds) {
    ChartSettings settings;
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Line);
    SeriesFilter state;
    const double t0 = Day + 0.3;
    for (double dt : {0.0, 10.0, 20.0, 86400.0}) AddChartPoint(settings, 1, 1, s, t0 + dt * Sec, dt, state);
    EXPECT_EQ(s.count(), 4) << "exactly 86400 s apart keeps every point";
    AddChartPoint(settings, 1, 1, s, t0 + 86425 * Sec, 1, state);
    EXPECT_EQ(ys(s), (std::vector<double>{86400, 1})) << "beyond a day the oldest go until the span fits";
    // The epoch steps back by half a year (the sentence date corrected): the points ahead go.
    AddChartPoint(settings, 1, 1, s, t0 - 180, 2, state);
    EXPECT_EQ(ys(s), (std::vector<double>{2}));
}

TEST(TimeSeriesEngine, AutomaticFilterFollowsThePointCount) {
    const std::pair<int, int> table[] = {{600, 0}, {601, 2}, {1800, 2}, {1801, 5}, {3601, 10}, {7201, 20}};
    for (const auto& [points, length] : table) {
        Engine e;
        e.core.config.Systems[1].ROTAnalysed = true;
        TimeSeriesForm& w = e.window(chart_kind::ROT);
        Series& s = w.TChart(0).series(0);
        for (int i = 0; i < points - 1; ++i) s.addXY(Day + i * Sec, 1);
        e.core.EpochTime[1] = Day + points * Sec;
        e.engine->UpdateTimeSeriesCharts(1, SentenceType::ROT);
        EXPECT_EQ(e.engine->settings.FilterLength[chart_kind::ROT][1], length) << points;
        EXPECT_EQ(w.lblFilter.caption, std::to_string(length)) << points;
    }
}

TEST(TimeSeriesEngine, IntervalRuleOutsideAutomaticMode) {
    const std::pair<int, int> table[] = {{0, 0}, {1, 0}, {2, 5}, {3, 10}, {4, 20}, {7, 20}};
    Engine e;
    TimeSeriesForm& w = e.window(chart_kind::VTG);
    w.cmbOption_Click(0);
    w.cmbInterval_Click(2);
    EXPECT_EQ(e.engine->settings.FilterLength[chart_kind::VTG][1], 0) << "Automatic mode leaves the interval rule out";
    w.cmbOption_Click(1);
    for (const auto& [index, length] : table) {
        w.cmbInterval_Click(index);
        EXPECT_EQ(e.engine->settings.FilterLength[chart_kind::VTG][1], length) << index;
        EXPECT_EQ(w.lblFilter.caption, std::to_string(length));
    }
}

TEST(TimeSeriesEngine, TimeAxisModes) {
    struct Case {
        int mode;      // cmbOption index
        int interval;  // cmbInterval index
        const char* epoch;
        const char* min;  // expected bottom range, "" when the axis stays automatic
        const char* max;
    };
    const Case cases[] = {
        {2, 1, "10:44:59", "10:30:00", "10:45:00"},
        {2, 1, "10:45:00", "10:45:00", "11:00:00"},
        {2, 1, "10:44:59.6", "10:45:00", "11:00:00"},  // hour and minute of the rounded epoch
        {2, 5, "17:59:00", "12:00:00", "18:00:00"},
        {2, 6, "07:00:00", "00:00:00", "12:00:00"},
        {2, 6, "13:00:00", "12:00:00", "00:00:00"},
        {2, 7, "17:59:00", "00:00:00", "00:00:00"},
        {1, 0, "08:00:00", "07:50:00", "08:00:00"},
        {0, 0, "08:00:00", "", ""},
        {3, 0, "08:00:00", "", ""},
    };
    for (const Case& c : cases) {
        Engine e;
        e.core.config.Systems[1].GSTAnalysed = true;
        TimeSeriesForm& w = e.window(chart_kind::GST);
        w.cmbOption_Click(c.mode);
        w.cmbInterval_Click(c.interval);
        double tod = 0;
        const std::string epoch = c.epoch;
        ASSERT_TRUE(timeOfDayFromText(epoch.substr(0, 8), tod));
        if (epoch.size() > 8) tod += 0.6 * Sec;
        e.core.SentenceDate[1] = Day;
        e.core.EpochTime[1] = Day + tod;
        // The first sentence after the switch finds the other charts at their frozen range and
        // their minimum write refused; from the second on all three agree.
        e.engine->UpdateTimeSeriesCharts(1, SentenceType::GST);
        e.engine->UpdateTimeSeriesCharts(1, SentenceType::GST);
        for (int k = 0; k < 3; ++k) {
            const Axis& b = w.TChart(k).bottomAxis();
            if (*c.min == 0) {
                EXPECT_EQ(b.automatic(), c.mode == 0) << c.epoch;
                continue;
            }
            EXPECT_EQ(formatClock(b.minimum()).view(), c.min) << c.epoch << " chart " << k;
            EXPECT_EQ(formatClock(b.maximum()).view(), c.max) << c.epoch << " chart " << k;
            EXPECT_LT(b.minimum(), b.maximum());
        }
    }
}

TEST(TimeSeriesEngine, ScrollingIntoThePastMovesTheMinimumFirst) {
    Engine e;
    e.core.config.Systems[1].VTGAnalysed = true;
    TimeSeriesForm& w = e.window(chart_kind::VTG);
    w.cmbOption_Click(1);
    e.core.EpochTime[1] = Day + 0.5;
    e.engine->UpdateTimeSeriesCharts(1, SentenceType::VTG);
    e.core.EpochTime[1] = Day + 0.25;  // a clock step back
    e.engine->UpdateTimeSeriesCharts(1, SentenceType::VTG);
    EXPECT_DOUBLE_EQ(w.TChart(0).bottomAxis().maximum(), Day + 0.25);
    EXPECT_DOUBLE_EQ(w.TChart(0).bottomAxis().minimum(), Day + 0.25 - 600 * Sec);
}

TEST(CopyTimeAxisToCharts, WriteOrderFollowsTheCopiedRangeAndRefusalsAreSkipped) {
    Engine e;
    TimeSeriesForm& w = e.window(chart_kind::GST);
    w.cmbOption_Click(3);
    for (int k = 0; k < 3; ++k) w.TChart(k).bottomAxis().setMinMax(100, 200);
    // A range wholly above the others: the copied range says minimum first, which the
    // targets refuse (above their maximum); their maximum is still written.
    w.TChart(1).bottomAxis().setMinMax(300, 400);
    w.viewChange(1);
    for (int k : {0, 2}) {
        EXPECT_EQ(w.TChart(k).bottomAxis().minimum(), 100) << k;
        EXPECT_EQ(w.TChart(k).bottomAxis().maximum(), 400) << k;
    }
    // Below: the minimum first, then the maximum, both taken.
    w.TChart(2).bottomAxis().setMinMax(10, 20);
    w.viewChange(2);
    for (int k : {0, 1}) {
        EXPECT_EQ(w.TChart(k).bottomAxis().minimum(), 10);
        EXPECT_EQ(w.TChart(k).bottomAxis().maximum(), 20);
    }
    // An inverted copied range: maximum first, then minimum.
    w.TChart(1).bottomAxis().setMinMax(0, 100);
    w.TChart(0).bottomAxis().restore({false, false, 50, 5});
    w.viewChange(0);
    EXPECT_EQ(w.TChart(1).bottomAxis().maximum(), 5);
    EXPECT_EQ(w.TChart(1).bottomAxis().minimum(), 0) << "the minimum above the new maximum is refused";
    w.TChart(0).bottomAxis().setMinMax(10, 20);

    // Writes the chart refuses (beyond single precision, not finite) leave the axis as it was.
    Axis& a = w.TChart(0).bottomAxis();
    for (double bad : {DBL_MAX, -1e300, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_THROW(a.setMaximum(bad), RuntimeError) << bad;
        EXPECT_THROW(a.setMinimum(bad), RuntimeError) << bad;
    }
    EXPECT_EQ(a.minimum(), 10);
    EXPECT_EQ(a.maximum(), 20);
}

TEST(TimeSeriesEngine, DispatchFeedsTheAnalysedTypesOnly) {
    Engine e;
    SystemSetup& sys = e.core.config.Systems[1];
    sys.GSTAnalysed = sys.RMCAnalysed = true;
    e.core.EpochTime[1] = Day + 0.5;
    GSTRecord& g = e.core.NMEAMessages[1].GST;
    g = {"", 1, 2, 3, 45, 4, 5, 6};
    e.engine->UpdateTimeSeriesCharts(1, SentenceType::GST);
    e.engine->UpdateTimeSeriesCharts(1, SentenceType::VTG);  // not analysed
    e.engine->UpdateTimeSeriesCharts(1, SentenceType::ZDA);  // no window
    e.core.analysis.EpochValues[1].EpochNorth = MissingValueF;
    e.engine->UpdateTimeSeriesCharts(1, SentenceType::RMC);
    EXPECT_EQ(e.windows->forms.size(), 2u);
    TimeSeriesForm& gst = e.window(chart_kind::GST);
    int points = 0;
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < gst.TChart(k).seriesCount(); ++i) points += gst.TChart(k).series(i).count();
    EXPECT_EQ(points, 7);
    EXPECT_EQ(gst.TChart(2).series(2).y(0), 45);
    EXPECT_EQ(gst.TChart(0).series(1).count(), 0) << "the \".\" series is never fed";
    EXPECT_EQ(e.window(chart_kind::RMC).TChart(0).series(1).count(), 0) << "a missing north offset gives no point";
    EXPECT_EQ(e.window(chart_kind::RMC).TChart(0).series(2).count(), 1);
}

TEST(TimeSeriesEngine, EverySeriesTakesItsOwnQuantity) {
    Engine e;
    SystemSetup& sys = e.core.config.Systems[1];
    sys.VTGAnalysed = sys.GLLAnalysed = sys.RMCAnalysed = sys.ATTAnalysed = sys.VHWAnalysed = true;
    sys.ROTAnalysed = sys.DBTAnalysed = sys.GSTAnalysed = true;
    NMEAMessageSet& m = e.core.NMEAMessages[1];
    m.VTG = {181, 179, 6.5f, 12};
    m.RMC.SpeedKnots = 7.25f;
    m.RMC.CourseTrue = 212;
    m.ATT = {33, 2.5f, -4.25f};
    m.VHW = {91, 88, 5.5f, 10.2f};
    m.ROT.RateOfTurn = -12;
    m.DBT = {77, 23.5f, 12.8f};
    m.GST = {"", 1.5f, 0.75f, 0.25f, 45, 0.5f, 0.625f, 1.125f};
    EpochValueSet& ev = e.core.analysis.EpochValues[1];
    ev.EpochHorizontalError = 3;
    ev.EpochNorth = 1.75f;
    ev.EpochEast = -2.5f;
    ev.EpochHeadingDev = 0.375f;
    e.core.EpochTime[1] = Day + 0.5;

    constexpr VerticalAxis L = VerticalAxis::Left, R = VerticalAxis::Right, B = VerticalAxis::Both;
    struct Point {
        int chart, series;
        const char* title;
        VerticalAxis axis;
        double value;
    };
    struct Case {
        SentenceType type;
        int kind;
        std::vector<Point> points;
    };
    const Point offsets[] = {{0, 0, "dRad", L, 3}, {0, 1, "dLat", L, 1.75}, {0, 2, "dLon", L, -2.5}};
    const Case cases[] = {
        {SentenceType::VTG, chart_kind::VTG, {{0, 0, "SOG (Knots)", L, 6.5}, {0, 1, "COG (True)", R, 181}}},
        {SentenceType::GLL, chart_kind::GLL, {offsets[0], offsets[1], offsets[2]}},
        {SentenceType::RMC, chart_kind::RMC,
         {offsets[0], offsets[1], offsets[2], {1, 0, "SOG (Knots)", L, 7.25}, {1, 1, "COG (True)", R, 212}}},
        {SentenceType::ATT, chart_kind::ATT,
         {{0, 0, "deltaHeading", L, 0.375}, {1, 0, "Pitch", L, 2.5}, {1, 1, "Roll", L, -4.25}}},
        {SentenceType::VHW, chart_kind::VHW,
         {{0, 0, "WaterSpeed (Knots)", L, 5.5}, {0, 1, "Water Hdg (True)", R, 91}, {0, 2, "Hdg (Magnetic)", L, 88}}},
        {SentenceType::ROT, chart_kind::ROT, {{0, 0, "Rate Of Turn", L, -12}}},
        {SentenceType::DBT, chart_kind::DBT, {{0, 0, "Depth (below transducer)", L, 23.5}}},
        {SentenceType::GST, chart_kind::GST,
         {{0, 0, "RMS Pseudo Range", L, 1.5},
          {1, 0, "sd Lat", L, 0.5},
          {1, 1, "sd Lon", L, 0.625},
          {1, 2, "sd Alt", L, 1.125},
          {2, 0, "sd Semi-MajorAxis", B, 0.75},
          {2, 1, "sd Semi-MinorAxis", L, 0.25},
          {2, 2, "Dir Semi-MajorAxis (Right axis)", R, 45}}},
    };
    for (const Case& c : cases) {
        e.engine->UpdateTimeSeriesCharts(1, c.type);
        TimeSeriesForm& w = e.window(c.kind);
        for (const Point& p : c.points) {
            const Series& s = w.TChart(p.chart).series(p.series);
            SCOPED_TRACE(p.title);
            EXPECT_EQ(s.title(), p.title) << c.kind;
            EXPECT_EQ(s.verticalAxis(), p.axis) << c.kind;
            EXPECT_EQ(ys(s), std::vector<double>{p.value}) << c.kind;
            EXPECT_EQ(s.x(0), Day + 0.5) << c.kind;
        }
    }
}

TEST(TimeSeriesEngine, HeadingWindowRightAxisAndMarkers) {
    struct Case {
        int referenceMode;
        double line, bandStart, bandEnd;
    };
    for (const Case& c : {Case{1, 0, -2, 2}, Case{0, 5, 3, 7}, Case{2, 5, 3, 7}}) {
        Engine e;
        e.core.config.Systems[1].HDTAnalysed = true;
        e.core.config.ReferenceMode[1] = static_cast<std::int16_t>(c.referenceMode);
        e.core.config.ReferenceHeading[1] = 100;
        StatRecord& st = e.core.analysis.statistics(1).HDTStats[0].record;
        st.mean = 5;
        st.standardDeviation = 2;
        TimeSeriesForm& w = e.window(chart_kind::HDT);
        Chart& chart = w.TChart(0);
        chart.series(0).addXY(Day, -3);
        chart.series(0).addXY(Day + Sec, 4);
        e.core.EpochTime[1] = Day + 2 * Sec;
        e.engine->UpdateTimeSeriesHDT(1, 9);
        EXPECT_EQ(chart.series(0).count(), 3);
        EXPECT_EQ(chart.rightAxis().minimum(), 97) << "the left range before the new point, plus the reference";
        EXPECT_EQ(chart.rightAxis().maximum(), 104);
        EXPECT_EQ(chart.tool(2).value(), c.line);
        EXPECT_EQ(chart.tool(1).startValue(), c.bandStart);
        EXPECT_EQ(chart.tool(1).endValue(), c.bandEnd);
        // A missing heading leaves the window as it was: not even the x moves.
        st.noData = true;
        e.core.EpochTime[1] = Day + 3 * Sec;
        e.engine->UpdateTimeSeriesHDT(1, MissingValueF);
        EXPECT_EQ(chart.series(0).count(), 3);
        EXPECT_EQ(e.engine->ChartXValue[1], Day + 2 * Sec);
    }
}

TEST(TimeSeriesEngine, UsedLineEndsOnlyWhereItsOwnConstellationLeavesItOut) {
    // Each epoch: GSA sentences "talker fix[/constellation]: satellites" split by ';', one
    // second apart; "F2" sets the filter length from there on. The lines: a satellite's
    // values, -1 a break.
    struct Case {
        const char* name;
        std::vector<std::string> epochs;
        std::map<int, std::vector<double>> lines;
    };
    const std::string perConstellation = "GN3:1,6;GN3:67,70;GN3:301,315;GN3:120";
    const Case cases[] = {
        {"one GN sentence per constellation", {perConstellation, perConstellation},
         {{1, {1, 1}}, {6, {6, 6}}, {67, {67, 67}}, {120, {120, 120}}}},
        {"the same across a filter step",
         {perConstellation, perConstellation, "F2", perConstellation, perConstellation, perConstellation,
          perConstellation},
         {{1, {1, 1, 1, 1}}, {70, {70, 70, 70, 70}}}},
        {"a satellite its own constellation's sentence leaves out",
         {"GN3:1,6;GN3:67,70", "GN3:1;GN3:67,70", "GN3:1,6;GN3:67"},
         {{1, {1, 1, 1}}, {6, {6, -1, 6}}, {67, {67, 67, 67}}, {70, {70, 70, -1}}}},
        {"GP and GL talkers; a GP sentence without satellites ends GPS and SBAS lines",
         {"GP3:1,40;GL3:67", "GP3:1;GL3:67", "GP3:;GL3:67"},
         {{1, {1, 1, -1}}, {40, {40, -1}}, {67, {67, 67, 67}}}},
        {"a GN sentence without satellites: with a fix it names none, without one all",
         {"GN3:1;GN3:67;GN3:", "GN3:1;GN3:67;GN3:", "GN1:"}, {{1, {1, 1, -1}}, {67, {67, 67, -1}}}},
        {"one sentence per fix: every satellite left out ends, a whole constellation too",
         {"GN3:1,6,67,70", "GN3:1,67", "GN3:1", "GN3:1,67"},
         {{1, {1, 1, 1, 1}}, {6, {6, -1}}, {67, {67, 67, -1, 67}}, {70, {70, -1}}}},
        {"numbered constellations: Galileo's satellites 4 and 5 end no GPS line",
         {"GN3/1:1,6;GN3/2:67;GN3/3:4,5", "GN3/1:1,6;GN3/2:67;GN3/3:4", "GN3/1:1;GN3/2:67;GN3/3:4"},
         {{1, {1, 1, 1}}, {6, {6, 6, -1}}, {67, {67, 67, 67}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Engine e;
        e.core.config.Systems[1].GSAAnalysed = true;
        TimeSeriesForm& w = e.window(chart_kind::GSA);
        w.cmbFilter_Click(1);  // "Off"
        GSARecord& r = e.core.NMEAMessages[1].GSA;
        double t = Day + 0.5;
        for (const std::string& epoch : c.epochs) {
            if (epoch[0] == 'F') {
                e.engine->settings.FilterLength[chart_kind::GSA][1] = static_cast<std::int16_t>(std::stoi(epoch.substr(1)));
                continue;
            }
            e.core.EpochTime[1] = t += Sec;
            std::stringstream sentences(epoch);
            for (std::string s; std::getline(sentences, s, ';');) {
                r.Talker = s.substr(0, 2);
                r.FixType = static_cast<std::int16_t>(s[2] - '0');
                r.SystemId = s[3] == '/' ? static_cast<std::int16_t>(s[4] - '0') : MissingValue;
                r.PRN.fill(MissingValue);
                std::stringstream prns(s.substr(s.find(':') + 1));
                int i = 0;
                for (std::string prn; std::getline(prns, prn, ',');) r.PRN[++i] = static_cast<std::int16_t>(std::stoi(prn));
                e.engine->UpdateTimeSeriesCharts(1, SentenceType::GSA);
            }
        }
        for (const auto& [prn, line] : c.lines) {
            const Series& s = w.TChart(1).series(prn);
            std::vector<double> seen;
            for (int i = 0; i < s.count(); ++i) seen.push_back(s.isNull(i) ? -1 : s.y(i));
            EXPECT_EQ(seen, line) << prn;
        }
    }
}
