// Axes (automatic ranges, the write rules that refuse a minimum above the maximum), the
// view-change and axis-click events, and the repaint bookkeeping of a chart.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <limits>
#include <vector>

#include "platform/chart_model.h"
#include "platform/chart_scale.h"

using namespace tiderune;

namespace {

int errorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(ChartAxis, AutomaticRangeFollowsOnlyTheSeriesOnTheAxis) {
    Chart chart;
    Series& left = chart.addSeries(SeriesKind::Line);
    Series& right = chart.addSeries(SeriesKind::Line);
    Series& both = chart.addSeries(SeriesKind::Line);
    right.setVerticalAxis(VerticalAxis::Right);
    both.setVerticalAxis(VerticalAxis::Both);
    left.addXY(10, 1);
    left.addXY(11, 3);
    right.addXY(12, 200);
    right.addXY(13, 300);
    EXPECT_EQ(chart.leftAxis().minimum(), 1);
    EXPECT_EQ(chart.leftAxis().maximum(), 3);
    EXPECT_EQ(chart.rightAxis().minimum(), 200);
    EXPECT_EQ(chart.bottomAxis().minimum(), 10);
    EXPECT_EQ(chart.bottomAxis().maximum(), 13);
    both.addXY(14, -5);  // counts on both vertical axes
    EXPECT_EQ(chart.leftAxis().minimum(), -5);
    EXPECT_EQ(chart.rightAxis().minimum(), -5);
    left.deletePoint(0);
    EXPECT_EQ(chart.leftAxis().maximum(), 3);
    left.deletePoint(0);
    EXPECT_EQ(chart.leftAxis().maximum(), -5);
}

TEST(ChartAxis, BarsReachDownToZeroAndNullPointsDoNotCount) {
    Chart chart;
    Series& bars = chart.addSeries(SeriesKind::Bar);
    bars.addXY(1, 5);
    bars.addXY(2, 7);
    Series& line = chart.addSeries(SeriesKind::Line);
    line.setVerticalAxis(VerticalAxis::Right);
    line.addXY(1, 50);
    line.addNullXY(2, 0);
    EXPECT_EQ(chart.leftAxis().minimum(), 0);
    EXPECT_EQ(chart.leftAxis().maximum(), 7);
    EXPECT_EQ(chart.rightAxis().minimum(), 50);
}

TEST(ChartAxis, AGanttSeriesOnTheRightAxisWidensTheBottomAxisToItsEnds) {
    Chart chart;
    Series& g = chart.addSeries(SeriesKind::Gantt);
    g.setVerticalAxis(VerticalAxis::Right);
    g.addGantt(100, 130, 7);
    EXPECT_EQ(chart.bottomAxis().maximum(), 130);
    EXPECT_EQ(chart.rightAxis().maximum(), 7);
}

TEST(ChartAxis, OneEndFixedTheOtherFollowing) {
    Chart chart;
    Axis& left = chart.leftAxis();
    left.setAutomaticMinimum(false);
    left.setMinimum(0);  // "minimum fixed": held at 0, the maximum follows the data
    Series& s = chart.addSeries(SeriesKind::Line);
    s.addXY(1, 4);
    s.addXY(2, 9);
    EXPECT_FALSE(left.automatic());
    EXPECT_TRUE(left.automaticMaximum());
    EXPECT_EQ(left.minimum(), 0);
    EXPECT_EQ(left.maximum(), 9);
    left.setAutomatic(true);
    EXPECT_TRUE(left.automaticMinimum());
    EXPECT_EQ(left.minimum(), 4);
    left.setAutomatic(false);
    EXPECT_FALSE(left.automaticMaximum());
    EXPECT_EQ(left.maximum(), 0) << "a fixed end holds what was last written";
}

TEST(ChartAxis, WithoutDataAnAutomaticAxisShowsWhatWasWritten) {
    Chart chart;
    chart.leftAxis().setMaximum(90);
    EXPECT_EQ(chart.leftAxis().minimum(), 0);
    EXPECT_EQ(chart.leftAxis().maximum(), 90);
}

struct WriteCase {
    const char* name;
    double min0, max0;           // fixed range before
    bool minFirst;               // order of the two writes
    double newMin, newMax;
    bool minRefused, maxRefused;
    double minAfter, maxAfter;
};

// A write that would put the minimum above the maximum in use is refused and the other
// write still goes through: the order of the two writes decides.
TEST(ChartAxis, WriteRulesRefuseAMinimumAboveTheMaximum) {
    const WriteCase cases[] = {
        {"later range, minimum first", 10, 20, true, 30, 40, true, false, 10, 40},
        {"later range, maximum first", 10, 20, false, 30, 40, false, false, 30, 40},
        {"earlier range, minimum first", 10, 20, true, 1, 5, false, false, 1, 5},
        {"earlier range, maximum first", 10, 20, false, 1, 5, false, true, 1, 20},
        {"empty range is allowed", 10, 20, true, 20, 20, false, false, 20, 20},
    };
    for (const auto& c : cases) {
        Chart chart;
        Axis& a = chart.bottomAxis();
        a.setAutomatic(false);
        a.setMaximum(c.max0);
        a.setMinimum(c.min0);
        auto writeMin = [&] { return errorNumber([&] { a.setMinimum(c.newMin); }); };
        auto writeMax = [&] { return errorNumber([&] { a.setMaximum(c.newMax); }); };
        int minErr, maxErr;
        if (c.minFirst) {
            minErr = writeMin();
            maxErr = writeMax();
        } else {
            maxErr = writeMax();
            minErr = writeMin();
        }
        EXPECT_EQ(minErr, c.minRefused ? chart_err::InvalidPropertyValue : 0) << c.name;
        EXPECT_EQ(maxErr, c.maxRefused ? chart_err::InvalidPropertyValue : 0) << c.name;
        EXPECT_EQ(a.minimum(), c.minAfter) << c.name;
        EXPECT_EQ(a.maximum(), c.maxAfter) << c.name;
    }
}

// A value that is no number, at either end and through any of the writes, is refused and
// leaves the axis as it was.
TEST(ChartAxis, NonFiniteEndsAreRefused) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::function<void(Axis&, double)> writes[] = {
        [](Axis& a, double v) { a.setMinimum(v); },
        [](Axis& a, double v) { a.setMaximum(v); },
        [](Axis& a, double v) { a.setMinMax(v, 20); },
        [](Axis& a, double v) { a.setMinMax(10, v); },
    };
    for (double bad : {inf, -inf, nan}) {
        for (std::size_t w = 0; w < std::size(writes); ++w) {
            Chart chart;
            Axis& a = chart.leftAxis();
            a.setAutomatic(false);
            a.setMaximum(20);
            a.setMinimum(10);
            EXPECT_EQ(errorNumber([&] { writes[w](a, bad); }), chart_err::InvalidPropertyValue) << bad << " " << w;
            EXPECT_EQ(a.minimum(), 10) << bad << " " << w;
            EXPECT_EQ(a.maximum(), 20) << bad << " " << w;
        }
    }
}

TEST(ChartAxis, DateValuesOnTheBottomAxis) {
    Chart chart;
    Axis& b = chart.bottomAxis();
    b.setDateTimeFormat("hh:nn");
    EXPECT_TRUE(b.dateTime());
    const double t = dateValue(2020, 1, 31, 23, 59, 59);
    b.setAutomatic(false);
    b.setMaximum(t + 1);
    b.setMinimum(t);
    EXPECT_EQ(formatDateValue(b.minimum(), b.dateTimeFormat()), "23:59");
}

struct Recorder : ChartListener {
    std::vector<std::string> events;
    AxisClickEvent last;
    void onAxisClick(const AxisClickEvent& e) override {
        last = e;
        events.push_back("click");
    }
    void onZoom(int i) override { events.push_back("zoom " + std::to_string(i)); }
    void onUndoZoom(int i) override { events.push_back("undo " + std::to_string(i)); }
    void onScroll(int i) override { events.push_back("scroll " + std::to_string(i)); }
};

TEST(ChartEvents, ZoomScrollAndUndoRestoreTheAxesAsTheyWere) {
    Chart chart;
    chart.setIndex(2);
    Recorder rec;
    chart.addListener(&rec);
    Series& s = chart.addSeries(SeriesKind::Line);
    for (int i = 0; i < 10; ++i) s.addXY(i, i * i);
    chart.rightAxis().setAutomatic(false);
    chart.rightAxis().setMaximum(360);

    chart.zoom({{&chart.bottomAxis(), 2, 4}, {&chart.leftAxis(), 5, 10}, {&chart.rightAxis(), 0, 100}});
    EXPECT_TRUE(chart.zoomed());
    EXPECT_EQ(chart.bottomAxis().minimum(), 2);
    EXPECT_FALSE(chart.bottomAxis().automatic());
    chart.scroll({{&chart.bottomAxis(), 3, 5}});
    EXPECT_EQ(chart.bottomAxis().maximum(), 5);

    chart.undoZoom();
    EXPECT_FALSE(chart.zoomed());
    EXPECT_TRUE(chart.bottomAxis().automatic());
    EXPECT_EQ(chart.bottomAxis().maximum(), 9);
    EXPECT_TRUE(chart.leftAxis().automatic());
    EXPECT_FALSE(chart.rightAxis().automatic());
    EXPECT_EQ(chart.rightAxis().maximum(), 360);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"zoom 2", "scroll 2", "undo 2"}));

    chart.raiseAxisClick({0, AxisCode::Bottom, mouse::Right, shift::Ctrl, 5, 6});
    EXPECT_EQ(rec.last.index, 2);
    EXPECT_EQ(rec.last.axis, AxisCode::Bottom);
    EXPECT_EQ(static_cast<int>(rec.last.axis), 3);
    EXPECT_EQ(rec.last.button, 2);
}

TEST(ChartEvents, AListenerMayLeaveWhileBeingTold) {
    Chart chart;
    struct Leaver : ChartListener {
        Chart* chart;
        ChartListener* other;
        int calls = 0;
        void onZoom(int) override {
            ++calls;
            chart->removeListener(this);
            chart->removeListener(other);
        }
    };
    Recorder rec;
    Leaver leaver;
    leaver.chart = &chart;
    leaver.other = &rec;
    chart.addListener(&leaver);
    chart.addListener(&rec);
    chart.zoom({});
    chart.zoom({});
    EXPECT_EQ(leaver.calls, 1);
    EXPECT_TRUE(rec.events.empty()) << "a listener removed during the call is not told";
}

TEST(ChartRepaint, ObserverHearsOnceUntilTheChartIsPainted) {
    struct Counter : ChartObserver {
        int n = 0;
        void chartChanged() override { ++n; }
    } counter;
    Chart chart;
    chart.markPainted();
    chart.setObserver(&counter);
    Series& s = chart.addSeries(SeriesKind::FastLine);
    for (int i = 0; i < 1000; ++i) s.addXY(i, i);
    chart.leftAxis().setTitle("x");
    EXPECT_EQ(counter.n, 1);
    chart.markPainted();
    s.deletePoint(0);
    EXPECT_EQ(counter.n, 2);
}

TEST(ChartTools, IndexedInTheOrderAdded) {
    Chart chart;
    Tool& line = chart.addColorLine(chart.leftAxis());
    Tool& band = chart.addColorBand(chart.leftAxis());
    line.setValue(50);
    band.setStartValue(-1);
    band.setEndValue(1);
    band.setTransparency(160);
    EXPECT_EQ(&chart.tool(0), &line);
    EXPECT_EQ(chart.tool(1).kind(), ToolKind::ColorBand);
    EXPECT_EQ(chart.tool(1).transparency(), 100);
    EXPECT_EQ(errorNumber([&] { chart.tool(2); }), err::SubscriptOutOfRange);
}

TEST(ChartTitles, LinesAreClearedAndAdded) {
    Chart chart;
    chart.subTitle().addLine("GPS PRN XX");
    chart.subTitle().clear();
    chart.subTitle().addLine("GPS PRN 07");
    chart.title().addLine("Satellites in use");
    chart.title().addLine("second");
    EXPECT_EQ(chart.subTitle().text(), "GPS PRN 07");
    EXPECT_EQ(chart.title().text(), "Satellites in use\nsecond");
}

}  // namespace
