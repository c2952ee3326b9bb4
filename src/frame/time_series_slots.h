#pragma once
// How the time-series engine reaches the chart windows: through the window's slot, afresh
// for every sentence, so that a window re-created by a reset is the one fed. A window that
// is not loaded is loaded hidden, for the system whose slot it is.
#include "frame/window_kinds.h"
#include "timeseries/scatter.h"
#include "timeseries/time_series_engine.h"
#include "timeseries/time_series_form.h"

namespace tiderune {

class ChildWindow;
class Shell;
class SNRChartsHolder;

// The window last found in a slot and what it holds. The engine asks for a chart window at
// every sentence and a GSV group end for one SNR chart per satellite: only a slot holding
// another window needs the look-up (a cross-cast, dearer than the sentence's points) again.
// A slot always makes windows of one class, so a new window where the last one lay holds
// what that one held in the same place.
template <typename Holder>
class WindowSeen {
public:
    Holder* holderOf(ChildWindow* window);

private:
    const ChildWindow* window_ = nullptr;
    Holder* holder_ = nullptr;
};

class SlotTimeSeriesWindows final : public TimeSeriesWindows {
public:
    explicit SlotTimeSeriesWindows(Shell& shell) : shell_(shell) {}
    TimeSeriesForm* timeSeriesForm(int chartKind, int system) override;
    Chart* snrChart(int system, int constellation, int chart) override;

private:
    Shell& shell_;
    WindowSeen<TimeSeriesFormHolder> formSeen_[WindowKindCount][MaxSystems + 1] = {};
    WindowSeen<SNRChartsHolder> snrSeen_[MaxSystems + 1][SNRConstellations + 1] = {};
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
