// The axis range dialogs and the date and time picker without their screens: typed numbers,
// refusals, the time captions, the range copied to every chart, and the picker's lists.
#include <gtest/gtest.h>

#include "charts/logic/axis_dialogs.h"
#include "charts/logic/time_date_picker.h"
#include "platform/chart_scale.h"
#include "timeseries/time_series_form.h"

using namespace tiderune;

namespace {

void setRange(Axis& a, double min, double max) {
    a.setAutomatic(false);
    a.restore({false, false, min, max});
}

}  // namespace

TEST(AxisDialogs, TypedNumbersAndValueAxisOk) {
    struct Typed {
        const char* text;
        std::optional<float> value;
    } typed[] = {{"12,5", 12.5f}, {" -3.25 m", -3.25f}, {"abc", 0.0f}, {"", 0.0f},
                 {"3e38", 3e38f}, {"1e39", std::nullopt}, {"-4E+38", std::nullopt}, {"1e400", 0.0f}};
    for (const Typed& t : typed) EXPECT_EQ(typedAxisValue(t.text), t.value) << t.text;

    struct Case {
        AxisChecks checks;
        const char* max;
        const char* min;
        AxisOk result;
        double wantMin, wantMax;  // the range afterwards
        bool autoMin, autoMax;
    } cases[] = {
        {{false, false, false}, "12,5", "2", AxisOk::Applied, 2, 12.5, false, false},
        // A range wholly below the current one (50 to 100): the chart must not refuse the
        // first of the two writes.
        {{false, false, false}, "10", "0", AxisOk::Applied, 0, 10, false, false},
        {{false, false, false}, "300", "200", AxisOk::Applied, 200, 300, false, false},
        {{false, false, false}, "7", "7", AxisOk::Refused, 50, 100, false, false},
        {{false, false, false}, "x", "5", AxisOk::Refused, 50, 100, false, false},
        {{false, false, false}, "1e39", "5", AxisOk::Refused, 50, 100, false, false},
        {{false, false, false}, "10", "-1e39", AxisOk::Refused, 50, 100, false, false},
        // The data runs from 20 to 80: an automatic end stands there.
        {{false, true, false}, "", "30", AxisOk::Applied, 30, 80, false, true},
        {{false, true, false}, "", "90", AxisOk::Refused, 50, 80, false, true},
        {{false, false, true}, "25", "", AxisOk::Applied, 20, 25, true, false},
        {{true, false, false}, "1", "2", AxisOk::Applied, 20, 80, true, true},
    };
    for (const Case& c : cases) {
        Chart chart;
        Series& s = chart.addSeries(SeriesKind::Line);
        s.addXY(1, 20);
        s.addXY(2, 80);
        Axis& left = chart.leftAxis();
        setRange(left, 50, 100);
        EXPECT_EQ(applyValueAxis(left, c.checks, c.max, c.min), c.result) << c.max << " " << c.min;
        EXPECT_EQ(left.minimum(), c.wantMin) << c.max << " " << c.min;
        EXPECT_EQ(left.maximum(), c.wantMax) << c.max << " " << c.min;
        EXPECT_EQ(left.automaticMinimum(), c.autoMin) << c.max << " " << c.min;
        EXPECT_EQ(left.automaticMaximum(), c.autoMax) << c.max << " " << c.min;
    }

    Chart chart;
    EXPECT_EQ(&valueDialogAxis(chart, "left"), &chart.leftAxis());
    EXPECT_EQ(&valueDialogAxis(chart, "Left"), &chart.rightAxis());
    EXPECT_EQ(axisValueText(12.46), "12.5");
    const struct {
        AxisChecks checks;
        AxisEnables want;
    } enables[] = {{{true, false, false}, {false, false, false, false}},
                   {{false, true, false}, {true, true, false, true}},
                   {{false, false, true}, {true, true, true, false}}};
    for (const auto& e : enables) {
        const AxisEnables got = axisEnables(e.checks);
        EXPECT_EQ(got.autoMax, e.want.autoMax);
        EXPECT_EQ(got.autoMin, e.want.autoMin);
        EXPECT_EQ(got.max, e.want.max);
        EXPECT_EQ(got.min, e.want.min);
    }
}

TEST(AxisDialogs, TimeCaptions) {
    const double t = dateValue(2020, 1, 31, 23, 59, 59);
    EXPECT_EQ(axisTimeCaption(t), "31.01.2020 23:59:59");
    EXPECT_EQ(axisTimeCaption(t + 0.6 / SecondsPerDay), "01.02.2020 00:00:00");  // to the nearest second
    EXPECT_EQ(axisTimeCaption(0), "30.12.1899 00:00:00");
    EXPECT_EQ(axisTimeCaption(-1e30), "01.01.0001 00:00:00");
    EXPECT_EQ(axisTimeCaption(1e30), "31.12.9999 23:59:59");
    EXPECT_EQ(parseAxisTimeCaption("31.01.2020 23:59:59"), t);
    EXPECT_EQ(parseAxisTimeCaption("29.02.2100 00:00:00"), std::nullopt);  // the caption is never carried
    for (const char* bad : {"", "31.01.2020", "31/01/2020 23:59:59", "31.01.2020 24:00:00", "32.01.2020 00:00:00",
                            "1.01.2020 00:00:00 ", "3a.01.2020 00:00:00", "00.01.2020 00:00:00"})
        EXPECT_EQ(parseAxisTimeCaption(bad), std::nullopt) << bad;
}

TEST(AxisDialogs, TimeAxisOkGoesToEveryChart) {
    ChartSettings settings;
    Config config;
    TimeSeriesForm form(*formDesign(chart_kind::GST), settings, config);
    ASSERT_EQ(form.ChartCount, 3);
    const double day = dateValue(2026, 12, 9);
    for (int i = 0; i < 3; ++i) setRange(form.TChart(i).bottomAxis(), day + 0.5, day + 0.6);
    const std::string start = axisTimeCaption(day + 0.25), end = axisTimeCaption(day + 0.3);

    // Equal times are refused on the edited chart alone, with its flags written.
    EXPECT_EQ(applyTimeAxis(form, 1, 3, {false, false, false}, start, start), AxisOk::Refused);
    EXPECT_EQ(applyTimeAxis(form, 1, 3, {false, true, false}, end, axisTimeCaption(day + 0.7)), AxisOk::Refused);
    EXPECT_TRUE(form.TChart(1).bottomAxis().automaticMaximum());
    EXPECT_FALSE(form.TChart(0).bottomAxis().automaticMaximum());

    // A range wholly before the old one, set on the second chart, reaches all three.
    EXPECT_EQ(applyTimeAxis(form, 1, 3, {false, false, false}, end, start), AxisOk::Applied);
    for (int i = 0; i < 3; ++i) {
        const Axis& a = form.TChart(i).bottomAxis();
        EXPECT_FALSE(a.automaticMaximum() || a.automaticMinimum()) << i;
        EXPECT_EQ(axisTimeCaption(a.minimum()), start) << i;
        EXPECT_EQ(axisTimeCaption(a.maximum()), end) << i;
    }

    EXPECT_EQ(applyTimeAxis(form, 2, 3, {true, false, false}, "", ""), AxisOk::Applied);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(form.TChart(i).bottomAxis().automatic()) << i;
    // A chart the window no longer has is left alone.
    EXPECT_EQ(applyTimeAxis(form, 7, 3, {false, false, false}, end, start), AxisOk::Applied);
    EXPECT_TRUE(form.TChart(0).bottomAxis().automatic());
}

TEST(TimeDatePicker, ListsFollowTheMonthAndTheLeapRule) {
    TimeDatePicker p(false, dateValue(2020, 1, 31, 23, 59, 59));
    EXPECT_EQ(p.caption, "Set X-Axis End Date & Time");
    EXPECT_EQ(p.lstYear.items, (std::vector<std::string>{"2019", "2020", "2021"}));
    EXPECT_EQ(p.lstYear.listIndex, 1);
    EXPECT_EQ(p.lstMonth.items.front(), "Jan");
    EXPECT_EQ(p.lstMonth.items.size(), 12u);
    EXPECT_EQ(p.lstDay.text(), "31");
    EXPECT_EQ(p.lstHour.text(), "23");
    EXPECT_EQ(p.lstMin.text(), "59");
    EXPECT_EQ(p.lstSec.text(), "59");
    EXPECT_EQ(p.lstSec.items.size(), 60u);
    EXPECT_EQ(p.okCaption(), "31.01.2020 23:59:59");
    EXPECT_EQ(TimeDatePicker(true, 0).caption, "Set X-Axis Start Date & Time");

    struct Step {
        char list;  // y year, m month, d day, n minute
        int index;
        std::size_t days;  // entries in the day list afterwards
        const char* day;   // the day entry chosen
        const char* date;  // lblDate
    } steps[] = {
        {'y', 2, 31, "31", "31.01.2021"},
        {'m', 1, 28, "28", "28.02.2021"},   // February 2021: the day moves down to 28
        {'m', 2, 31, "28", "28.03.2021"},   // March brings 29, 30 and 31 back
        {'d', 30, 31, "31", "31.03.2021"},
        {'m', 3, 30, "30", "30.04.2021"},   // April: 31 goes, the day moves to 30
        {'y', 0, 30, "30", "30.04.2019"},
        {'m', 1, 28, "28", "28.02.2019"},
        {'m', 0, 31, "28", "28.01.2019"},
        {'d', 30, 31, "31", "31.01.2019"},
        {'m', 7, 31, "31", "31.08.2019"},   // August keeps its 31st
        {'m', 8, 30, "30", "30.09.2019"},   // September has none
        {'m', 11, 31, "30", "30.12.2019"},
        {'d', 30, 31, "31", "31.12.2019"},
        {'m', 10, 30, "30", "30.11.2019"},
    };
    for (const Step& s : steps) {
        if (s.list == 'y') p.lstYear_Click(s.index);
        if (s.list == 'm') p.lstMonth_Click(s.index);
        if (s.list == 'd') p.lstDay_Click(s.index);
        EXPECT_EQ(p.lstDay.items.size(), s.days) << s.date;
        EXPECT_EQ(p.lstDay.text(), s.day) << s.date;
        EXPECT_EQ(p.lblDate, s.date);
    }

    // 2100 counts as a leap year for the list; the calendar carries the 29th into March.
    TimeDatePicker leap(true, dateValue(2100, 1, 31, 10, 30, 15));
    leap.lstMonth_Click(1);
    EXPECT_EQ(leap.lstDay.items.size(), 29u);
    EXPECT_EQ(leap.lblDate, "01.03.2100");  // the 29th chosen for the 31st, counted on from 1 February
    leap.lstDay_Click(27);
    EXPECT_EQ(leap.lblDate, "28.03.2100");  // the month the label holds now
    leap.lstMonth_Click(1);
    leap.lstDay_Click(28);
    EXPECT_EQ(leap.lblDate, "01.03.2100");
    leap.lstMin_Click(5);
    EXPECT_EQ(leap.lblTime, "10:05:15");
    EXPECT_EQ(leap.okCaption(), "01.03.2100 10:05:15");
}
