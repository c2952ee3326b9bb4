// Date values and axis label steps.
#include <gtest/gtest.h>

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
    EXPECT_EQ(tickValues(-1, 1, 0.5), (std::vector<double>{-1, -0.5, 0, 0.5, 1}));
    EXPECT_TRUE(tickValues(1, 0, 1).empty());
    double lo = 5, hi = 5;
    drawableRange(lo, hi, false);
    EXPECT_LT(lo, hi);
}

}  // namespace
