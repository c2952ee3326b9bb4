// The window family without a screen: what a load leaves, the list handlers and the resize.
#include <gtest/gtest.h>

#include "timeseries/time_series_form.h"

using namespace tiderune;

TEST(TimeSeriesForm, LoadListsAndFilterChoices) {
    ChartSettings settings;
    Config config;
    TimeSeriesForm w(*formDesign(chart_kind::VTG), settings, config);
    w.load(0, "Gyro");  // a hand-over word never written counts as system 1
    EXPECT_EQ(w.caption, "VTG Time Series 1 - Gyro");
    EXPECT_TRUE(config.WindowVisible[1][VisibleForms::VTGTimeSeries]);
    EXPECT_EQ(settings.TimeAxisOption[chart_kind::VTG][1], "Automatic");
    EXPECT_EQ(settings.ChartInterval[chart_kind::VTG][1], 600);
    EXPECT_TRUE(settings.AutoFilter[chart_kind::VTG][1]);
    EXPECT_FALSE(w.cmbInterval.visible);
    EXPECT_EQ(w.lblFilter.caption, "0");

    const struct {
        int index;
        int length;
        bool labelShown;
        const char* caption;
    } filters[] = {{1, -1, false, "0"}, {5, 30, true, "30"}, {0, 0, true, "0"}};
    for (const auto& f : filters) {
        w.cmbFilter_Click(f.index);
        EXPECT_EQ(settings.FilterLength[chart_kind::VTG][1], f.length) << f.index;
        EXPECT_EQ(w.lblFilter.visible, f.labelShown) << f.index;
        EXPECT_EQ(w.lblFilter.caption, f.caption) << f.index;
    }

    TimeSeriesForm sys3(*formDesign(chart_kind::DBT), settings, config);
    sys3.load(3, "Echo");
    EXPECT_EQ(sys3.lblSystemColor.caption, "(red)");
    EXPECT_EQ(sys3.lblSystemColor.foreColour, 255u);
    EXPECT_TRUE(sys3.TChart(0).leftAxis().inverted());
    EXPECT_EQ(sys3.TChart(0).series(0).title(), "Depth (below transducer)");
    sys3.unload();
    EXPECT_FALSE(config.WindowVisible[3][VisibleForms::DBTTimeSeries]);
}

TEST(TimeSeriesForm, ResizeSharesTheHeightAndKeepsItWhenTooLow) {
    ChartSettings settings;
    Config config;
    struct Case {
        int kind, width, height;
        std::vector<int> tops, heights, widths;
    };
    const Case cases[] = {
        {chart_kind::ATT, 9000, 4000, {600, 2060}, {1460, 1460}, {9000, 9000}},
        {chart_kind::ROT, 9000, 4000, {600}, {3100}, {9000}},
        {chart_kind::GST, 9000, 4200, {720, 1700, 2680}, {980, 980, 980}, {8520, 8520, 9000}},
        {chart_kind::ATT, 9000, 700, {600, 4095}, {3495, 3495}, {9000, 9000}},  // too low: former heights
    };
    for (const Case& c : cases) {
        TimeSeriesForm w(*formDesign(c.kind), settings, config);
        w.resize(c.width, c.height);
        for (std::size_t i = 0; i < c.tops.size(); ++i) {
            EXPECT_EQ(w.chartPlaces[i].top, c.tops[i]) << c.kind << " chart " << i;
            EXPECT_EQ(w.chartPlaces[i].height, c.heights[i]) << c.kind << " chart " << i;
            EXPECT_EQ(w.chartPlaces[i].width, c.widths[i]) << c.kind << " chart " << i;
        }
    }
}

TEST(TimeSeriesForm, TheSizeForChartsGivesEveryChartItsSizeAndNoLess) {
    ChartSettings settings;
    Config config;
    struct Case {
        int kind;
        bool dgps;
        int charts;  // laid out in the window's height
    };
    for (const Case& c : {Case{chart_kind::ROT, false, 1}, Case{chart_kind::ATT, false, 2}, Case{chart_kind::GST, false, 3},
                          Case{chart_kind::GGA, true, 4}, Case{chart_kind::GGA, false, 3}}) {
        TimeSeriesForm w(*formDesign(c.kind), settings, config);
        if (!c.dgps) w.chkDGPS.value = 0;
        for (int chart : {1200, 1515}) {
            SCOPED_TRACE("kind " + std::to_string(c.kind) + (c.dgps ? " with DGPS" : "") + ", chart " + std::to_string(chart));
            w.resize(w.widthForCharts(4000), w.heightForCharts(chart));
            for (int i = 0; i < c.charts; ++i) {
                EXPECT_EQ(w.chartPlaces[static_cast<std::size_t>(i)].height, chart) << i;
                EXPECT_GE(w.chartPlaces[static_cast<std::size_t>(i)].width, 4000) << i;
            }
            w.resize(w.widthForCharts(4000) - 15, w.heightForCharts(chart) - 2 * c.charts);
            EXPECT_LT(w.chartPlaces[0].height, chart);
            EXPECT_LT(w.chartPlaces[0].width, 4000);
        }
    }
}
