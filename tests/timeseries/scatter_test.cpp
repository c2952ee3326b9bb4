// The scatter update headless: the symmetric half-range (automatic and fixed) with its axis
// titles, what a sentence adds, and the scale dialog's load and OK.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "platform/chart_model.h"
#include "timeseries/scatter.h"

using namespace tiderune;

namespace {

struct Scatter : ScatterWindows {
    CoreState core;
    PerSystem<std::uint32_t> colours{};
    std::unique_ptr<Chart> chart;
    ScatterUpdate update{core, *this, colours};
    int loads = 0;

    Scatter() { colours[1] = colours::Blue; }
    Chart* scatterChart(int system) override {
        if (!chart) {
            chart = std::make_unique<Chart>();
            buildScatterChart(*chart);
            update.LoadScatter(*chart, system);
            ++loads;
        }
        return chart.get();
    }
    Chart& c() { return *scatterChart(1); }
};

}  // namespace

TEST(UpdateScatter, HalfRangeAndTitles) {
    struct Step {
        float north, east;
        bool autoScale;
        float fixed;
        double axisMax;  // both axes, after the step
        const char* northTitle;
        const char* eastTitle;
        int points;  // held after the step: a position already held is not added again
    };
    const std::vector<Step> steps = {
        {0.5f, -0.2f, true, 0, 1, "Northing +/- 1 m", "Easting +/- 1 m", 1},  // empty series
        {-0.3f, 2.4f, true, 0, 1, "Northing +/- 1 m", "Easting +/- 1 m", 2},  // counted from the next point
        {0.1f, 0.1f, true, 0, 3, "Northing +/- 3 m", "Easting +/- 3 m", 3},
        {0, 0, false, 2.5f, 2.5, "Northing +/- 2.5 m", "Easting +/- 2.5 m", 4},
        {0, 0, false, 2, 2, "Northing +/- 2 m", "Easting +/- 2 m", 4},
        // A fixed range of 0 or less cannot make an axis: the automatic one stands in.
        {0, 0, false, 0, 3, "Northing +/- 3 m", "Easting +/- 3 m", 4},
        {-7.9f, 0, false, -4, 3, "Northing +/- 3 m", "Easting +/- 3 m", 5},
        {0, 0, true, 0, 8, "Northing +/- 8 m", "Easting +/- 8 m", 5},
    };
    Scatter s;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& st = steps[i];
        SCOPED_TRACE(i);
        s.update.ScatterAutoScale[1] = st.autoScale;
        s.update.ScatterScale[1] = st.fixed;
        s.update.UpdateScatter(1, st.north, st.east);
        Chart& c = s.c();
        EXPECT_EQ(c.leftAxis().maximum(), st.axisMax);
        EXPECT_EQ(c.leftAxis().minimum(), -st.axisMax);
        EXPECT_EQ(c.bottomAxis().maximum(), st.axisMax);
        EXPECT_EQ(c.bottomAxis().minimum(), -st.axisMax);
        EXPECT_EQ(c.customAxis(0).title(), st.northTitle);
        EXPECT_EQ(c.customAxis(1).title(), st.eastTitle);
        EXPECT_EQ(c.series(0).count(), st.points);
        // The colour lines follow the newest point, drawn in the system's colour.
        EXPECT_EQ(c.tool(0).value(), st.east);
        EXPECT_EQ(c.tool(1).value(), st.north);
        EXPECT_EQ(c.series(0).pointColour(c.series(0).count() - 1), colours::Blue);
    }
    EXPECT_EQ(s.loads, 1);
}

TEST(UpdateScatter, RangeHoldsTheLargestOffsetOfThePointsBefore) {
    // Each of the four extremes in turn decides the half-range, counted from the next point.
    struct Step {
        float north, east;
        double range;  // after the step
    };
    const Step steps[] = {
        {0.4f, -0.6f, 1}, {0.2f, 0.3f, 1},    {-1.0f, 0.5f, 1}, {0, 0, 2},  // south 1.0 exactly
        {0, 1.9999f, 2},  {0, 0, 2},          {2.5f, 0, 2},     {0, 0, 3},  // east 1.9999, north 2.5
        {0, -3.0f, 3},    {0, 0, 4},          {-0.5f, 0, 4},                // west 3.0; never shrinks
    };
    Scatter s;
    for (const Step& st : steps) {
        s.update.UpdateScatter(1, st.north, st.east);
        EXPECT_EQ(s.c().leftAxis().maximum(), st.range) << st.north << " " << st.east;
        EXPECT_EQ(s.c().bottomAxis().minimum(), -st.range) << st.north << " " << st.east;
    }
}

TEST(DispatchPositionToScatter, OnlyPositionsWithAValidNorthOffset) {
    struct Case {
        SentenceType type;
        bool noData;
        float north;
        int points;
    };
    const std::vector<Case> cases = {
        {SentenceType::GGA, false, 1.5f, 1}, {SentenceType::GNS, false, 1.5f, 1},
        {SentenceType::GLL, false, 1.5f, 1}, {SentenceType::RMC, false, 1.5f, 1},
        {SentenceType::GGA, true, 1.5f, 0},  {SentenceType::GST, false, 1.5f, 0},
        {SentenceType::VTG, false, 1.5f, 0}, {SentenceType::GGA, false, MissingValue, 0},
        {SentenceType::RMC, false, NAN, 0},
    };
    for (const Case& c : cases) {
        Scatter s;
        SystemStatistics& st = s.core.analysis.statistics(1);
        for (StatBlock* b : {&st.GGAStats[1], &st.GNSStats[1], &st.GLLStats[1], &st.RMCStats[1]})
            b->record.noData = c.noData;
        s.core.analysis.EpochValues[1].EpochNorth = c.north;
        s.core.analysis.EpochValues[1].EpochEast = -2;
        s.update.DispatchPositionToScatter(1, c.type);
        EXPECT_EQ(s.c().series(0).count(), c.points) << static_cast<int>(c.type);
        if (c.points) {
            EXPECT_EQ(s.c().series(0).x(0), -2);
            EXPECT_EQ(s.c().series(0).y(0), c.north);
        }
    }
}

// A receiver standing still for days sends the same positions day after day: the plot holds
// each once, in the order first seen, so a second day adds nothing; a plot emptied by a reset
// (a new chart, or the series cleared) takes them again.
TEST(UpdateScatter, EachPositionIsHeldOnceAndTheSecondDayAddsNothing) {
    // A day: positions on a 1 cm grid wandering within a few decimetres, many repeated.
    std::vector<std::pair<float, float>> day;  // north, east
    for (int i = 0; i < 5000; ++i)
        day.emplace_back(static_cast<float>((i * 7) % 23 - 11) / 100.0f, static_cast<float>((i * 5) % 31 - 15) / 100.0f);
    std::vector<std::pair<double, double>> distinct;  // east, north: first seen first
    for (const auto& [n, e] : day)
        if (std::find(distinct.begin(), distinct.end(), std::pair<double, double>(e, n)) == distinct.end())
            distinct.emplace_back(e, n);
    ASSERT_LT(distinct.size(), day.size() / 2);

    auto held = [](Scatter& s) {
        std::vector<std::pair<double, double>> v;
        const Series& p = s.c().series(0);
        for (int i = 0; i < p.count(); ++i) v.emplace_back(p.x(i), p.y(i));
        return v;
    };
    Scatter s;
    for (int pass = 1; pass <= 2; ++pass) {
        for (const auto& [n, e] : day) s.update.UpdateScatter(1, n, e);
        EXPECT_EQ(held(s), distinct) << "day " << pass;
        EXPECT_EQ(s.update.heldPositions(1).size(), distinct.size()) << "day " << pass;
        // The colour lines still follow the newest position.
        EXPECT_EQ(s.c().tool(0).value(), day.back().second);
        EXPECT_EQ(s.c().tool(1).value(), day.back().first);
    }
    // A reset's new chart, then the same chart's series cleared: the positions come back.
    s.chart.reset();
    for (int pass = 1; pass <= 2; ++pass) {
        for (const auto& [n, e] : day) s.update.UpdateScatter(1, n, e);
        EXPECT_EQ(held(s), distinct) << "after the reset, pass " << pass;
        s.c().series(0).clear();
    }
    // Points cut from the series are taken again.
    for (const auto& [n, e] : day) s.update.UpdateScatter(1, n, e);
    s.c().series(0).deletePointsFrom(1);
    s.update.UpdateScatter(1, static_cast<float>(distinct[1].second), static_cast<float>(distinct[1].first));
    EXPECT_EQ(held(s), (std::vector<std::pair<double, double>>{distinct[0], distinct[1]}));

    // A vessel under way: every position is a point, and what is remembered of them stays
    // bounded; the newest position sent again still adds nothing.
    Scatter way;
    const int points = 300000;
    for (int i = 0; i < points; ++i) way.update.UpdateScatter(1, i * 0.25f, i * 0.125f);
    way.update.UpdateScatter(1, (points - 1) * 0.25f, (points - 1) * 0.125f);
    EXPECT_EQ(way.c().series(0).count(), points);
    EXPECT_LE(way.update.heldPositions(1).size(), HeldPositions::MaxSlots / 2);
    EXPECT_EQ(way.c().leftAxis().maximum(), std::floor((points - 1) * 0.25) + 1);
}

TEST(XYAxisForm, LoadShowsTheRangeInUseAndOkSetsTheScaling) {
    Scatter s;
    s.update.UpdateScatter(1, 2.2f, 0);
    s.update.UpdateScatter(1, 0, 0);  // automatic range 3
    XYAxisForm f;
    f.load(s.update, s.c(), 1);
    EXPECT_EQ(f.txtMax, "3.0");
    EXPECT_TRUE(f.chkAutomatic);
    EXPECT_FALSE(f.txtMaxEnabled());

    f.chkAutomatic = false;
    f.txtMax = "12,5";
    f.ok(s.update, 1);
    EXPECT_FALSE(s.update.ScatterAutoScale[1]);
    EXPECT_EQ(s.update.ScatterScale[1], 12.5f);
    XYAxisForm again;
    again.load(s.update, s.c(), 1);
    EXPECT_EQ(again.txtMax, "12.5");

    // A half-range no axis can hold counts as none; checked keeps the fixed value.
    f.txtMax = "1e40";
    f.ok(s.update, 1);
    EXPECT_EQ(s.update.ScatterScale[1], 0);
    f.txtMax = "4";
    f.ok(s.update, 1);
    f.chkAutomatic = true;
    f.ok(s.update, 1);
    EXPECT_TRUE(s.update.ScatterAutoScale[1]);
    EXPECT_EQ(s.update.ScatterScale[1], 4);
}
