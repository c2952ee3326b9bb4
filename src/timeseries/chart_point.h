#pragma once
// The one door through which the series updaters add a sample to a chart series: the
// decimation filter of the window kind, the missing-value rule and the 24-hour window.
#include <cstdint>

#include "platform/chart_types.h"
#include "timeseries/chart_settings.h"

namespace tiderune {

class Series;

// The decimation state of one series of one system. The resets leave it alone, so a block
// begun before a reset is completed by samples after it; only a new run of the recording
// starts every block afresh (TimeSeriesEngine::RestartDecimation).
struct SeriesFilter {
    double HeldValue = 0;  // the block's sample of largest magnitude (without decimation, the last)
    std::int16_t SampleCount = 0;  // samples the open block has taken; 0: no block open
};

// With FilterLength N of (kind, system) above 0, every N samples give one point holding the
// block's sample of largest magnitude (the earlier on a tie) in the colour of the block's
// last call; otherwise every sample is a point. A missing sample (-9999) gives no point, and
// neither does a block in which it has the largest magnitude.
// Then the oldest points go while the series spans more than 86400 whole seconds, also when
// the newest point lies before the oldest (the epoch stepped back).
void AddChartPoint(const ChartSettings& settings, int system, int kind, Series& series, double x, double value,
                   SeriesFilter& state, Colour colour = SeriesColour);

// AddChartPoint in two steps, for an updater that can leave its series alone until a point
// is due: TakeSample is the decimation with filter length `length`, the one place that
// decides when a block closes, true when a point of state.HeldValue is due; AddDuePoint then
// adds it and keeps the 24-hour window.
bool TakeSample(std::int16_t length, SeriesFilter& state, double value);
void AddDuePoint(Series& series, double x, const SeriesFilter& state, Colour colour = SeriesColour);

// A series kept over a reset, at the first sample of the new run, at x: when the run goes
// back over times the series holds (the same recording replayed), its points from x on
// give way, so that the series stays in time order and shows the newest pass. Older
// points stay.
void RestartSeriesAt(Series& series, double x);

}  // namespace tiderune
