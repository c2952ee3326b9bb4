#include "core/epoch_time.h"

#include <gtest/gtest.h>

#include "core/errors.h"

namespace tiderune {
namespace {

TEST(EpochTimeTest, DatesAsDayCounts) {
    EXPECT_EQ(dateFromYmd(1899, 12, 30), 0);
    EXPECT_EQ(dateFromYmd(2023, 3, 15), 45000);
    EXPECT_EQ(dateFromYmd(2024, 2, 29), 45351);
    EXPECT_EQ(dateFromRmcText("150323"), 45000);
    EXPECT_EQ(formatDayMonthYear(45000.75), "15 Mar 2023");
    EXPECT_EQ(formatDayMonthYear(dateFromYmd(2026, 12, 8)), "08 Dec 2026");
}

TEST(EpochTimeTest, DatesThatDoNotExistRaiseTypeMismatch) {
    const struct {
        int y, m, d;
    } bad[] = {{2023, 2, 29}, {2023, 13, 1}, {2023, 0, 10}, {2023, 4, 31}, {2023, 1, 0}, {-9999, -9999, -9999}};
    for (auto b : bad) {
        SCOPED_TRACE(testing::Message() << b.y << "-" << b.m << "-" << b.d);
        try {
            dateFromYmd(b.y, b.m, b.d);
            ADD_FAILURE() << "accepted";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), err::TypeMismatch);
        }
    }
    for (const char* t : {"", "1503", "15032", "aa0323", "320123", "150a23"}) {
        SCOPED_TRACE(t);
        EXPECT_THROW(dateFromRmcText(t), RuntimeError);
    }
}

TEST(EpochTimeTest, TimeTexts) {
    struct Case {
        const char* text;
        bool valid;
        int seconds;
    };
    const Case cases[] = {
        {"12:34:56", true, 45296}, {"00:00:00", true, 0},   {"23:59:59", true, 86399},
        {"1:2:3", true, 3723},     {"12:34", true, 45240},  {"::", false, 0},
        {"", false, 0},            {"24:00:00", false, 0},  {"12:60:00", false, 0},
        {"12:34:5x", false, 0},    {"ab:cd:ef", false, 0},  {"12:3:", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        double f = -1;
        EXPECT_EQ(timeOfDayFromText(c.text, f), c.valid);
        if (c.valid) {
            EXPECT_NEAR(f * 86400, c.seconds, 1e-6);
        }
    }
    EXPECT_EQ(formatClock(45000 + 45296 / 86400.0).view(), "12:34:56");
    EXPECT_EQ(formatClock(45000 + 86399.6 / 86400.0).view(), "00:00:00");
    EXPECT_EQ(formatClock(45000 + 10.4 / 86400.0).view(), "00:00:10");
}

}  // namespace
}  // namespace tiderune
