#include "core/statistics_dump.h"

#include <gtest/gtest.h>

namespace tiderune {
namespace {

struct NoDate final : StatDateSource {
    std::string todayText() const override { return "01 Jan 2026"; }
};

TEST(StatisticsDumpTest, ListsOnlyWhatReceivedData) {
    AnalysisState a;
    NoDate d;
    SystemStatistics& s = a.statistics(2);
    EXPECT_EQ(formatStatisticsDump(a, 2), "");

    UpdateStatRecordDbl(s.LatitudeStats, 0.9, "t", d);
    for (float v : {1.0f, 2.0f, 3.0f}) AddSample(v, s.GGAStats[1], "t", d);
    AddSample(-9999.0f, s.GGAStats[8], "t", d);
    for (float v : {40.0f, 45.0f, 0.0f}) AddSampleNonZero(v, s.SBASSNRStats[32], "t", d);
    EXPECT_EQ(formatStatisticsDump(a, 2),
              "Latitude         count 1 mean 51.56620156 sdev 0.00000000 max 51.56620156 min 51.56620156\n"
              "GGA  1 dN        count 3 mean 2.0000 sdev 1.0000 max 3.0000 min 1.0000 p68 3.00 p95 3.00 missing 0\n"
              "GGA  8 Age       count 0 mean 0.0000 sdev 0.0000 max 0.0000 min 0.0000 p68 0.00 p95 0.00 missing 1\n"
              "SBAS     32      count 2 mean 42.5000 sdev 3.5355 max 45.0000 min 40.0000 l68 39 l95 39 missing 1\n");
    EXPECT_EQ(formatStatisticsDump(a, 1), "");
}

}  // namespace
}  // namespace tiderune
