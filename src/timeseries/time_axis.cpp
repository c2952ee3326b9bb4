#include <string>

#include "core/epoch_time.h"
#include "core/errors.h"
#include "timeseries/chart_settings.h"
#include "timeseries/time_series_form.h"

namespace tiderune {

namespace {

constexpr double Second = 1.0 / 86400.0;

// Seconds after midnight where the aligned window holding hour h, minute m begins.
long alignedStart(std::int32_t interval, int h, int m) {
    switch (interval) {
    case 600: return 3600L * h + 600L * (m / 10);
    case 900: return 3600L * h + 900L * (m / 15);
    case 1800: return 3600L * h + 1800L * (m / 30);
    case 3600: return 3600L * h;
    case 7200: return 7200L * (h / 2);
    case 21600: return 21600L * (h / 6);
    case 43200: return 43200L * (h / 12);
    default: return 0;  // 86400 and anything else: from midnight
    }
}

}  // namespace

void SetAutoFilterByInterval(TimeSeriesForm& window, ChartSettings& settings, int system, int kind) {
    if (settings.TimeAxisOption[kind][system] == "Automatic") return;
    if (!settings.AutoFilter[kind][system]) return;
    const std::int32_t interval = settings.ChartInterval[kind][system];
    std::int16_t n = 20;
    if (interval <= 900) n = 0;
    else if (interval <= 1800) n = 5;
    else if (interval <= 3600) n = 10;
    settings.FilterLength[kind][system] = n;
    window.lblFilter.caption = std::to_string(n);
    window.touch();
}

void SetTimeAxis(TimeSeriesForm& window, const ChartSettings& settings, int system, double x, int chartCount,
                 int kind, double epochTime, double sentenceDate) {
    const std::string mode = window.cmbOption.text();
    Axis& bottom = window.TChart(0).bottomAxis();
    if (mode == "Fixed time") {
        // Hour and minute as the epoch's "hh:mm:ss" text shows them (rounded to the second).
        const ClockText clock = formatClock(epochTime);
        const int h = (clock.text[0] - '0') * 10 + (clock.text[1] - '0');
        const int m = (clock.text[3] - '0') * 10 + (clock.text[4] - '0');
        const double start = sentenceDate + alignedStart(window.cmbInterval.selectedData(), h, m) * Second;
        // Push the maximum out of the way first so the minimum never passes it.
        if (start > bottom.maximum()) bottom.setMaximum(start + 1);
        bottom.setMinimum(start);
        bottom.setMaximum(bottom.minimum() + settings.ChartInterval[kind][system] * Second);
    } else if (mode == "Scrolling time") {
        if (bottom.minimum() > x) bottom.setMinimum(x - 1);
        bottom.setMaximum(x);
        bottom.setMinimum(x - window.cmbInterval.selectedData() * Second);
    }
    if (chartCount > 1) CopyTimeAxisToCharts(window, 0, chartCount);
}

void CopyTimeAxisToCharts(TimeSeriesForm& window, int sourceIndex, int chartCount) {
    double min = 0;
    double max = 0;
    try {
        const Axis& source = window.TChart(sourceIndex).bottomAxis();
        min = source.minimum();
        max = source.maximum();
    } catch (const RuntimeError&) {
        return;  // no such chart: nothing to copy
    }
    for (int i = 0; i < chartCount; ++i) {
        Axis* axis = nullptr;
        try {
            axis = &window.TChart(i).bottomAxis();
        } catch (const RuntimeError&) {
            continue;
        }
        auto write = [](auto&& step) {
            try {
                step();
            } catch (const RuntimeError&) {
            }
        };
        if (min < max) {
            write([&] { axis->setMinimum(min); });
            write([&] { axis->setMaximum(max); });
        } else {
            write([&] { axis->setMaximum(max); });
            write([&] { axis->setMinimum(min); });
        }
    }
}

}  // namespace tiderune
