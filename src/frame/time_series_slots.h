#pragma once
// How the time-series engine reaches the chart windows: through the window's slot, afresh
// for every sentence, so that a window re-created by a reset is the one fed. A window that
// is not loaded is loaded hidden, for the system whose slot it is.
#include "timeseries/scatter.h"
#include "timeseries/time_series_engine.h"

namespace tiderune {

class Shell;
class SNRChartsHolder;

class SlotTimeSeriesWindows final : public TimeSeriesWindows {
public:
    explicit SlotTimeSeriesWindows(Shell& shell) : shell_(shell) {}
    TimeSeriesForm* timeSeriesForm(int chartKind, int system) override;
    Chart* snrChart(int system, int constellation, int chart) override;

private:
    Shell& shell_;
    // The SNR window last found in each slot, and its charts: a GSV group end asks for one
    // chart per satellite, and only a slot holding another window needs the look-up again.
    struct SNRWindowSeen {
        const void* window = nullptr;
        SNRChartsHolder* holder = nullptr;
    };
    SNRWindowSeen snrSeen_[MaxSystems + 1][SNRConstellations + 1] = {};
};

// The scatter update's way to each system's scatter chart, loading the window hidden for
// that system when it is not loaded.
class SlotScatterWindows final : public ScatterWindows {
public:
    explicit SlotScatterWindows(Shell& shell) : shell_(shell) {}
    Chart* scatterChart(int system) override;

private:
    Shell& shell_;
};

// A window holding the SNR charts of one system and constellation, chart 0 to 32.
class SNRChartsHolder {
public:
    virtual ~SNRChartsHolder() = default;
    virtual Chart& snrChart(int i) = 0;
};

}  // namespace tiderune
