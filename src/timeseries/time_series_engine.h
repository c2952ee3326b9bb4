#pragma once
// The time-series engine: after the pipeline has processed a sentence of a system, the
// updater of its type stamps the epoch time, moves the time axis, adds one point per series
// to the system's window of that type and, with the automatic filter in "Automatic" mode,
// adapts the decimation to the number of points.
#include <array>

#include "core/core_state.h"
#include "timeseries/chart_point.h"
#include "timeseries/chart_settings.h"

namespace tiderune {

class TimeSeriesForm;

// How the engine reaches a window: through its slot, afresh for every sentence, so that a
// window re-created by a reset is the one fed. A window that is not loaded is loaded hidden.
class TimeSeriesWindows {
public:
    virtual ~TimeSeriesWindows() = default;
    virtual TimeSeriesForm* timeSeriesForm(int chartKind, int system) = 0;
};

class TimeSeriesEngine {
public:
    TimeSeriesEngine(CoreState& core, TimeSeriesWindows& windows) : core_(core), windows_(windows) {}

    // The entry from the pipeline, for every processed sentence.
    void UpdateTimeSeriesCharts(int system, SentenceType type);

    void UpdateTimeSeriesVTG(int system);
    void UpdateTimeSeriesGLL(int system, float horizontal, float north, float east);
    void UpdateTimeSeriesRMC(int system, float horizontal, float north, float east);
    void UpdateTimeSeriesHDT(int system, float headingDev);
    void UpdateTimeSeriesATT(int system, float headingDev);
    void UpdateTimeSeriesROT(int system);
    void UpdateTimeSeriesVHW(int system);
    void UpdateTimeSeriesDBT(int system);
    void UpdateTimeSeriesGST(int system);

    ChartSettings settings;
    PerSystem<double> ChartXValue;
    AxisDialogTarget axisDialog;

    // Per window kind up to eight series states, each per system; a kind's updater numbers
    // its series in the order it feeds them.
    static constexpr int MaxFedSeries = 8;
    SeriesFilter& filter(int kind, int slot, int system) { return filters_[kind][slot][system]; }

    CoreState& core() { return core_; }

private:
    struct Feed {
        int chart;
        int series;
        double value;
    };
    // Steps 1 to 2 of every updater: the x of the sentence and the time axis. Null when the
    // window cannot be had.
    TimeSeriesForm* begin(int system, int kind);
    void feed(TimeSeriesForm& window, int system, int kind, std::initializer_list<Feed> feeds);
    void autoFilterByPointCount(TimeSeriesForm& window, int system, int kind);

    CoreState& core_;
    TimeSeriesWindows& windows_;
    IndexedArray<std::array<PerSystem<SeriesFilter>, MaxFedSeries>, 0, chart_kind::Last> filters_;
};

}  // namespace tiderune
