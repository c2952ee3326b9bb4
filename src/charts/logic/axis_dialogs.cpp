#include "charts/logic/axis_dialogs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/civil_date.h"
#include "core/number_text.h"
#include "platform/chart_model.h"
#include "platform/chart_scale.h"
#include "timeseries/time_series_form.h"

namespace tiderune {

namespace {

std::optional<double> typedEnd(std::string_view text) {
    const std::optional<float> v = typedAxisValue(text);
    return v ? std::optional<double>(*v) : std::nullopt;
}

// The years a caption can show.
const double FirstCaptionTime = dateValue(1, 1, 1);
const double LastCaptionTime = dateValue(9999, 12, 31, 23, 59, 59);

bool digits(std::string_view s, std::size_t at, std::size_t n, int& out) {
    out = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        out = out * 10 + (s[i] - '0');
    }
    return true;
}

}  // namespace

AxisChecks axisChecks(const Axis& axis) {
    return {axis.automatic(), axis.automaticMaximum(), axis.automaticMinimum()};
}

AxisEnables axisEnables(const AxisChecks& c) {
    if (c.automatic) return {false, false, false, false};
    return {true, true, !c.autoMax, !c.autoMin};
}

Axis& valueDialogAxis(Chart& chart, const std::string& axisName) {
    return axisName == "left" ? chart.leftAxis() : chart.rightAxis();
}

std::string axisValueText(double value) { return FormatNumber(value, "0.0"); }

std::optional<float> typedAxisValue(std::string_view text) {
    float v = 0;
    if (!toSingle(ValDecimal(text), v)) return std::nullopt;
    return v;
}

AxisOk applyValueAxis(Axis& axis, const AxisChecks& checks, std::string_view txtMax, std::string_view txtMin) {
    if (checks.automatic) {
        axis.setAutomatic(true);
        return AxisOk::Applied;
    }
    axis.setAutomatic(false);
    // An automatic end keeps the value it stands at, which the check below compares.
    axis.setAutomaticMaximum(checks.autoMax);
    const std::optional<double> max = checks.autoMax ? std::optional<double>(axis.maximum()) : typedEnd(txtMax);
    axis.setAutomaticMinimum(checks.autoMin);
    const std::optional<double> min = checks.autoMin ? std::optional<double>(axis.minimum()) : typedEnd(txtMin);
    if (!max || !min || !(*max > *min)) return AxisOk::Refused;
    axis.restore({checks.autoMin, checks.autoMax, *min, *max});
    return AxisOk::Applied;
}


std::string axisTimeCaption(double v) {
    if (!(v >= FirstCaptionTime)) v = FirstCaptionTime;  // NaN as well
    if (v > LastCaptionTime) v = LastCaptionTime;
    const CivilTime t = civilTime(std::round(v * SecondsPerDay) / SecondsPerDay);
    char b[40];
    std::snprintf(b, sizeof b, "%02d.%02d.%04d %02d:%02d:%02d", t.day, t.month, t.year, t.hour, t.minute, t.second);
    return b;
}

std::optional<double> parseAxisTimeCaption(std::string_view s) {
    // dd.mm.yyyy hh:nn:ss
    if (s.size() != 19 || s[2] != '.' || s[5] != '.' || s[10] != ' ' || s[13] != ':' || s[16] != ':')
        return std::nullopt;
    int d, m, y, h, n, sec;
    if (!digits(s, 0, 2, d) || !digits(s, 3, 2, m) || !digits(s, 6, 4, y) || !digits(s, 11, 2, h) ||
        !digits(s, 14, 2, n) || !digits(s, 17, 2, sec))
        return std::nullopt;
    if (y < 1 || m < 1 || m > 12 || d < 1 || h > 23 || n > 59 || sec > 59) return std::nullopt;
    // The day must be one the month has.
    if (civilFromDays(daysFromCivil(y, m, d)).day != d) return std::nullopt;
    return dateValue(y, m, d, h, n, sec);
}

AxisOk applyTimeAxis(TimeSeriesForm& form, int chartIndex, int chartCount, const AxisChecks& checks,
                     std::string_view cmdEnd, std::string_view cmdStart) {
    if (chartIndex < 0 || chartIndex >= form.ChartCount) return AxisOk::Applied;  // nothing left to edit
    Axis& axis = form.TChart(chartIndex).bottomAxis();
    if (checks.automatic) {
        axis.setAutomatic(true);
    } else {
        axis.setAutomatic(false);
        axis.setAutomaticMaximum(checks.autoMax);
        const std::optional<double> end =
            checks.autoMax ? std::optional<double>(axis.maximum()) : parseAxisTimeCaption(cmdEnd);
        axis.setAutomaticMinimum(checks.autoMin);
        const std::optional<double> start =
            checks.autoMin ? std::optional<double>(axis.minimum()) : parseAxisTimeCaption(cmdStart);
        if (!end || !start || !(*end > *start)) return AxisOk::Refused;
        axis.restore({checks.autoMin, checks.autoMax, *start, *end});
    }
    // Every chart of the window, the edited one among them, gets the edited axis as it stands.
    const Axis::State edited{axis.automaticMinimum(), axis.automaticMaximum(), axis.minimum(), axis.maximum()};
    for (int i = 0; i < std::min<int>(chartCount, form.ChartCount); ++i) form.TChart(i).bottomAxis().restore(edited);
    return AxisOk::Applied;
}

}  // namespace tiderune
