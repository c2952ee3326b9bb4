// Date values and axis label steps.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/chart_scale.h"

using namespace tiderune;

namespace {

TEST(ChartDates, DaysCountFromTheThirtiethOfDecember1899) {
    EXPECT_EQ(dateValue(1899, 12, 30), 0);
    EXPECT_EQ(dateValue(1899, 12, 31), 1);
    EXPECT_EQ(dateValue(2000, 1, 1), 36526);
    EXPECT_EQ(dateValue(1899, 12, 29), -1);
    EXPECT_DOUBLE_EQ(dateValue(2000, 1, 1, 12), 36526.5);
}

TEST(ChartDates, LabelTexts) {
    struct Case {
        double v;
        const char* format;
        const char* text;
    } cases[] = {
        {dateValue(2020, 1, 31, 23, 59, 59), "hh:nn", "23:59"},
        {dateValue(2020, 1, 31, 23, 59, 59), "dd.mm.yyyy hh:nn:ss", "31.01.2020 23:59:59"},
        {dateValue(2020, 2, 29, 7, 5, 0), "d mmm yy h:n", "29 Feb 20 7:5"},
        {0, "dd.mm.yyyy hh:nn", "30.12.1899 00:00"},
        // 10:45 as the sum of an hour count and a minute count lands a hair below 10:45.
        {dateValue(2026, 12, 8) + 10.0 / 24 + 45.0 / 1440 - 1e-12, "hh:nn:ss", "10:45:00"},
        {dateValue(2100, 3, 1), "dd.mm.yyyy", "01.03.2100"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatDateValue(c.v, c.format), c.text) << c.format;
}

TEST(ChartScale, StepsAreRoundAndRespectTheSmallestStep) {
    EXPECT_EQ(niceStep(3.2, 0), 5);
    EXPECT_EQ(niceStep(0.013, 0), 0.02);
    EXPECT_EQ(niceStep(0.03, 0.1), 0.1);
    EXPECT_EQ(niceStep(0.4, 1), 1);
    EXPECT_EQ(niceStep(0.15, 0.2), 0.2);
    EXPECT_EQ(niceDateStep(50 / SecondsPerDay) * SecondsPerDay, 60);
    EXPECT_EQ(niceDateStep(1000 / SecondsPerDay) * SecondsPerDay, 1800);
    EXPECT_EQ(formatAxisNumber(0.30000000000000004, 0.1), "0.3");
    EXPECT_EQ(formatAxisNumber(-1e-17, 0.2), "0.0");
    EXPECT_EQ(formatAxisNumber(250, 50), "250");
    EXPECT_EQ(formatLegendNumber(12.5), "12.5");
    EXPECT_EQ(formatLegendNumber(-0.0001), "0");
}

TEST(ChartScale, TicksLieOnMultiplesOfTheStep) {
    // Both ends of a range on a multiple of the step are labelled, also when the multiple as
    // computed lies a hair outside the range (7 x 0.1 is a little more than 0.7).
    struct Case {
        double min, max, step;
        std::vector<double> ticks;
    } cases[] = {
        {-1, 1, 0.5, {-1, -0.5, 0, 0.5, 1}},
        {0, 0.7, 0.1, {0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7}},
        {0.3, 0.9, 0.3, {0.3, 0.6, 0.9}},
        {-0.7, 0, 0.1, {-0.7, -0.6, -0.5, -0.4, -0.3, -0.2, -0.1, 0}},
        {1.1, 1.4, 0.1, {1.1, 1.2, 1.3, 1.4}},
        {0.05, 0.35, 0.05, {0.05, 0.1, 0.15, 0.2, 0.25, 0.3, 0.35}},
        {0.01, 0.99, 0.5, {0.5}},
    };
    for (const Case& c : cases) {
        const std::vector<double> got = tickValues(c.min, c.max, c.step);
        ASSERT_EQ(got.size(), c.ticks.size()) << c.min << " .. " << c.max << " step " << c.step;
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.ticks[i], c.step * 1e-9) << c.min << " .. " << c.max;
    }
    EXPECT_TRUE(tickValues(1, 0, 1).empty());
    // Beyond 2^53 odd multiples round to even ones: each value once.
    const double big = 9007199254740992.0;
    EXPECT_EQ(tickValues(big, big + 8, 1), (std::vector<double>{big, big + 2, big + 4, big + 6, big + 8}));
    double lo = 5, hi = 5;
    drawableRange(lo, hi, false);
    EXPECT_EQ(lo, 4.5);
    EXPECT_EQ(hi, 5.5);
}

// A narrow range of real values keeps its own ends, labelled at both, so that its curve is
// drawn across the plot; only a range too narrow to divide is widened round its middle.
TEST(ChartScale, ANarrowRangeKeepsItsEnds) {
    struct Case {
        double min, max;
        double shownMin, shownMax;  // the range drawn
        double firstTick, lastTick;
    } cases[] = {
        {100, 100.0001, 100, 100.0001, 100, 100.0001},
        {1000, 1000.001, 1000, 1000.001, 1000, 1000.001},
        {-2000, -1999.998, -2000, -1999.998, -2000, -1999.998},
        {0, 0.7, 0, 0.7, 0, 0.7},
        {5, 5, 4.5, 5.5, 4.5, 5.5},
    };
    for (const Case& c : cases) {
        const AxisTicks t = axisTicks(c.min, c.max, false, 0, 400, [](double, double, double) { return 20.0; });
        const double tol = (c.shownMax - c.shownMin) * 1e-9;
        EXPECT_NEAR(t.min, c.shownMin, tol) << c.min << " .. " << c.max;
        EXPECT_NEAR(t.max, c.shownMax, tol) << c.min << " .. " << c.max;
        ASSERT_GE(t.values.size(), 2u) << c.min << " .. " << c.max;
        EXPECT_NEAR(t.values.front(), c.firstTick, tol) << c.min << " .. " << c.max;
        EXPECT_NEAR(t.values.back(), c.lastTick, tol) << c.min << " .. " << c.max;
    }
}

// Whatever range an axis is given, it gets a drawable range holding the values, a finite step
// and a bounded number of ascending labels that read apart.
TEST(ChartScale, EveryRangeGetsABoundedScale) {
    constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double huge = std::numeric_limits<double>::max();
    struct Case {
        double min, max;
        bool date;
        double increment;
    } cases[] = {
        {1.2e16, 1.2e16, false, 0},       {1e20, 1e20, false, 0},        {-1e20, -1e20, false, 0},
        {1e300, 1e300, false, 0},         {-1e300, 1e300, false, 0},     {-huge, huge, false, 0},
        {1e-300, 1e-300, false, 0},       {1e-300, 2e-300, false, 0},    {0, 1e-300, false, 0},
        {1, std::nextafter(1.0, 2.0), false, 0}, {1e15, std::nextafter(1e15, 2e15), false, 0},
        {0, 1e300, false, 1e-300},        {0, 10, false, 1e300},         {5, 5, false, 0},
        {nan, 5, false, 0},               {3, inf, false, 0},            {-inf, inf, false, 0},
        {1e20, 1e20, true, 0},            {46000, 46000, true, 0},       {46000, 46000.001, true, 1e300},
        {-1e300, 1e300, true, 0},
    };
    constexpr int length = 400;
    for (const Case& c : cases) {
        const std::string name = std::to_string(c.min) + " .. " + std::to_string(c.max) + (c.date ? " (dates)" : "");
        const AxisTicks t = axisTicks(c.min, c.max, c.date, c.increment, length, [](double, double, double) { return 20.0; });
        ASSERT_TRUE(std::isfinite(t.min) && std::isfinite(t.max) && t.min < t.max) << name;
        ASSERT_TRUE(std::isfinite(t.step) && t.step > 0) << name;
        if (std::isfinite(c.min) && std::fabs(c.min) <= RangeLimit) {
            EXPECT_LE(t.min, c.min) << name;
        }
        if (std::isfinite(c.max) && std::fabs(c.max) <= RangeLimit) {
            EXPECT_GE(t.max, c.max) << name;
        }
        EXPECT_LE(t.values.size(), static_cast<std::size_t>(length / 20 + 1)) << name;
        if (c.increment < 1e300) {
            EXPECT_GE(t.values.size(), 2u) << name;
        }
        std::string previous;
        for (std::size_t i = 0; i < t.values.size(); ++i) {
            const double slack = (t.max - t.min) * 1e-9;
            EXPECT_TRUE(t.values[i] >= t.min - slack && t.values[i] <= t.max + slack) << name;
            if (i > 0) {
                EXPECT_GT(t.values[i], t.values[i - 1]) << name;
            }
            const std::string label = c.date ? formatDateValue(t.values[i], "dd.mm.yyyy hh:nn:ss")
                                             : formatAxisNumber(t.values[i], t.step);
            if (!c.date) {
                EXPECT_NE(label, previous) << name;
            }
            previous = label;
        }
    }
    EXPECT_EQ(formatAxisNumber(-1e300, 1e290).size(), 302u) << "every digit written";
}

}  // namespace
