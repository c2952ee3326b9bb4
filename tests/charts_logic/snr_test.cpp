// The SNR windows' texts and layout and their chooser, without Qt.
#include <gtest/gtest.h>

#include <vector>

#include "charts/logic/snr_form.h"
#include "timeseries/satellite_table.h"

using namespace tiderune;

TEST(SnrCharts, SatelliteToChartAndHeadingPerConstellation) {
    struct Case {
        int prn;  // as it arrives in GSV
        int constellation, chart;
        const char* heading;
        const char* box;
    };
    const std::vector<Case> cases = {
        {7, 1, 7, "GPS PRN 07", "PRN07"},
        {33, 2, 1, "SBAS PRN 120 (NMEA Index 33)", "PRN120"},
        {64, 2, 32, "SBAS PRN 151 (NMEA Index 64)", "PRN151"},
        {69, 3, 5, "GLONASS PRN 05 (NMEA Index 69)", "PRN05"},
        {112, 4, 12, "BeiDou PRN 12 (NMEA Index 112)", "PRN12"},
        {132, 4, 32, "BeiDou PRN 32 (NMEA Index 132)", "PRN32"},
    };
    for (const Case& c : cases) {
        const SNRChartPlace place = snrChartOf(c.prn);
        EXPECT_EQ(place.constellation, c.constellation) << c.prn;
        EXPECT_EQ(place.chart, c.chart) << c.prn;
        EXPECT_EQ(snrChartHeading(c.constellation, c.chart), c.heading);
        EXPECT_EQ(snrChooserCaption(c.constellation, c.chart), c.box);
    }
    EXPECT_EQ(snrChartHeading(5, 3), "Galileo PRN 03 (NMEA Index 153)");
    EXPECT_EQ(snrChartOf(100).chart, 0);  // BeiDou's chart 0, outside the layout
    for (int prn : {97, 98, 99, 133, 140, 151}) EXPECT_EQ(snrChartOf(prn).constellation, 0) << prn;
}

TEST(SnrCharts, AGroupGoesOverTheNumbersItsTalkerCovers) {
    // Each talker: the numbers it goes over (up to 150, as a group's end feeds them), as
    // first-last ranges, and covers() agreeing on every number.
    const struct {
        const char* talker;
        std::vector<std::pair<int, int>> ranges;
    } cases[] = {
        {"GP", {{1, 64}}},
        {"GL", {{65, 96}}},
        {"GB", {{100, 132}}},
        {"BD", {{100, 132}}},
        {"GA", {}},
        {"GN", {{1, 150}}},
        {"", {{1, 150}}},
    };
    for (const auto& c : cases) {
        const GsvCoverage group(c.talker);
        std::vector<int> expected, seen, covered;
        for (const auto& [first, last] : c.ranges)
            for (int prn = first; prn <= last; ++prn) expected.push_back(prn);
        group.forEachCovered(MaxPRN - 1, [&](int prn) { seen.push_back(prn); });
        for (int prn = 1; prn < MaxPRN; ++prn)
            if (group.covers(prn)) covered.push_back(prn);
        EXPECT_EQ(seen, expected) << c.talker;
        EXPECT_EQ(covered, expected) << c.talker;
    }
    std::vector<int> upTo40;
    GsvCoverage("GP").forEachCovered(40, [&](int prn) { upTo40.push_back(prn); });
    EXPECT_EQ(upTo40.size(), 40u);
    EXPECT_EQ(upTo40.back(), 40);
}

TEST(SnrCharts, ArrangeFillsColumnByColumn) {
    struct Case {
        const char* name;
        std::vector<int> charts;
        int count, columns;
        double width, height;
        std::vector<SnrChartPlace> expected;  // of the chosen charts, in order
    };
    const std::vector<Case> cases = {
        // 3 rows of (7480 - 1480) / 3 = 2000: three charts fill the left column.
        {"five in two columns", {1, 2, 3, 4, 5}, 5, 2, 6000, 7480,
         {{true, 0, 480, 3000, 2000}, {true, 0, 2480, 3000, 2000}, {true, 0, 4480, 3000, 2000},
          {true, 3000, 480, 3000, 2000}, {true, 3000, 2480, 3000, 2000}}},
        {"too low for charts", {2, 9}, 2, 2, 3000, 1480, {{true, 0, 480, 1500, 0}, {true, 0, 480, 1500, 0}}},
        // A damaged setup with a count but no columns lays out in one column.
        {"no columns", {4, 6}, 2, 0, 3000, 5480, {{true, 0, 480, 3000, 2000}, {true, 0, 2480, 3000, 2000}}},
    };
    for (const Case& c : cases) {
        Config config;
        for (int i : c.charts) config.SNRSeriesVisible[1][i] = true;
        config.SNRSeriesCount[1] = static_cast<std::int16_t>(c.count);
        config.SNRSeriesColumns[1] = static_cast<std::int16_t>(c.columns);
        SnrChartPlaces places;
        places[32].visible = true;  // shown before, not chosen now
        ArrangeTimeSeries(config, 1, c.width, c.height, places);
        for (std::size_t n = 0; n < c.charts.size(); ++n) {
            const SnrChartPlace& p = places[c.charts[n]];
            const SnrChartPlace& e = c.expected[n];
            SCOPED_TRACE(std::string(c.name) + " chart " + std::to_string(c.charts[n]));
            EXPECT_TRUE(p.visible);
            EXPECT_EQ(p.left, e.left);
            EXPECT_EQ(p.top, e.top);
            EXPECT_EQ(p.width, e.width);
            EXPECT_EQ(p.height, e.height);
        }
        EXPECT_FALSE(places[32].visible) << c.name;
    }
    // Nothing chosen: the charts keep their places and visibility.
    Config none;
    SnrChartPlaces places;
    places[3] = {true, 10, 20, 30, 40};
    ArrangeTimeSeries(none, 1, 6000, 7000, places);
    EXPECT_TRUE(places[3].visible);
    EXPECT_EQ(places[3].top, 20);
}

TEST(SnrCharts, TheClientForChartsHoldsEveryChartAtItsSize) {
    struct Case {
        const char* name;
        int count, columns;
        double chartWidth, chartHeight;
        double width, height;  // the client
    };
    for (const Case& c : {Case{"five in two columns", 5, 2, 3000, 1500, 6000, 1480 + 3 * 1500},
                          Case{"ten in two columns", 10, 2, 2500, 1200, 5000, 1480 + 5 * 1200},
                          Case{"three in one", 3, 1, 4000, 1100, 4000, 1480 + 3 * 1100},
                          // Charts this low would run on below the edge: raised to end each column.
                          Case{"charts too low for their columns", 4, 2, 3000, 600, 6000, 1480 + 2 * 1001},
                          Case{"none chosen", 0, 2, 3000, 1500, 0, 1480}}) {
        SCOPED_TRACE(c.name);
        Config config;
        for (int i = 1; i <= c.count; ++i) config.SNRSeriesVisible[1][i * 3] = true;
        config.SNRSeriesCount[1] = static_cast<std::int16_t>(c.count);
        config.SNRSeriesColumns[1] = static_cast<std::int16_t>(c.columns);
        const SnrClientSize client = snrClientForCharts(config, 1, c.chartWidth, c.chartHeight);
        EXPECT_EQ(client.width, c.width);
        EXPECT_EQ(client.height, c.height);
        SnrChartPlaces places;
        ArrangeTimeSeries(config, 1, client.width, client.height, places);
        for (int i = 1; i <= c.count; ++i) {
            const SnrChartPlace& p = places[i * 3];
            EXPECT_GE(p.width, c.chartWidth) << i;
            EXPECT_GE(p.height, std::min(c.chartHeight, client.height)) << i;
            EXPECT_LE(p.left + p.width, client.width) << i;
            EXPECT_LE(p.top + p.height, client.height) << i;
        }
    }
}

TEST(SnrChooser, BoxesCountAndTheColumnFixUps) {
    Config config;
    SnrChooserForm f;
    f.load(config, 1);
    EXPECT_EQ(f.cmbColumns, 2);  // "3" without a setup
    EXPECT_EQ(f.lblNoOfSeries, "0");
    EXPECT_EQ(f.captions[1], "PRN01");

    f.chkPRN_Click(0, true);  // All visible
    EXPECT_EQ(f.lblNoOfSeries, " 32");
    EXPECT_TRUE(f.chkPRN[0]);
    f.chkPRN_Click(5, false);
    EXPECT_FALSE(f.chkPRN[0]);
    EXPECT_EQ(f.lblNoOfSeries, " 31");
    f.chkPRN_Click(33, true);  // Uncheck all
    EXPECT_EQ(f.lblNoOfSeries, " 0");
    EXPECT_TRUE(f.chkPRN[33]);
    f.chkPRN_Click(4, true);
    EXPECT_FALSE(f.chkPRN[33]);

    struct Case {
        std::vector<int> boxes;
        int columnsIndex;
        int count, columns;
    };
    const std::vector<Case> cases = {
        {{1, 2}, 2, 2, 2}, {{7}, 2, 1, 1}, {{7}, 1, 1, 1}, {{1, 2, 3}, 2, 3, 3}, {{}, 1, 0, 2}, {{1, 2, 3, 4, 5}, 1, 5, 2},
    };
    for (const Case& c : cases) {
        config = Config{};
        SnrChooserForm g;
        g.load(config, 2);
        for (int i : c.boxes) g.chkPRN_Click(i, true);
        g.cmbColumns = c.columnsIndex;
        g.cmdOk_Click(config, 2);
        EXPECT_EQ(config.SNRSeriesCount[2], c.count);
        EXPECT_EQ(config.SNRSeriesColumns[2], c.columns);
        for (int i : c.boxes) EXPECT_TRUE(config.SNRSeriesVisible[2][i]);
    }
    // The chooser opens on what OK stored.
    SnrChooserForm again;
    again.load(config, 2);
    EXPECT_EQ(again.lblNoOfSeries, " 5");
    EXPECT_EQ(again.cmbColumns, 1);
    EXPECT_EQ(again.captions[1], "PRN120");
}
