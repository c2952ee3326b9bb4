#include "timeseries/chart_point.h"

#include <cmath>
#include <cstdlib>

#include "core/number_text.h"
#include "core/records.h"
#include "platform/chart_series.h"

namespace tiderune {

bool TakeSample(std::int16_t n, SeriesFilter& state, double value) {
    if (n <= 0) {
        state.HeldValue = value;
    } else if (state.SampleCount == 0) {
        state.HeldValue = value;
        state.SampleCount = 1;
        return false;
    } else {
        // The larger magnitude wins, the earlier sample on a tie. A missing sample (-9999)
        // outweighs every value below 9999 in magnitude, and its block then gives no point.
        state.HeldValue = PickByMagnitude(value, state.HeldValue, false);
        ++state.SampleCount;
        if (state.SampleCount < n) return false;
        state.SampleCount = 0;
    }
    return state.HeldValue != MissingValueD;
}

void AddDuePoint(Series& series, double x, const SeriesFilter& state, Colour colour) {
    series.addXY(x, state.HeldValue, {}, colour);

    // Whole seconds between the first and the last point (rounded half away from zero: more
    // than 86400 of them from 86400.5 on), read afresh after each removal. Either way: after
    // the epoch steps back (a sentence date corrected by a later date sentence, a clock set
    // back) the points ahead of it would otherwise never go, and the chart would span the
    // step for good.
    const auto& xs = series.rawX();
    while (std::fabs((xs.back() - series.firstX()) * 86400.0) >= 86400.5) series.deletePoint(0);
}

void AddChartPoint(const ChartSettings& settings, int system, int kind, Series& series, double x, double value,
                   SeriesFilter& state, Colour colour) {
    if (TakeSample(settings.FilterLength[kind][system], state, value)) AddDuePoint(series, x, state, colour);
}

void RestartSeriesAt(Series& series, double x) {
    // From the back: a replayed stretch costs what it removes, not what the series holds.
    int from = series.count();
    while (from > 0 && series.x(from - 1) >= x) --from;
    if (from < series.count()) series.deletePointsFrom(from);
}

}  // namespace tiderune
