#pragma once
// How the time-series engine reaches the chart windows: through the window's slot, afresh
// for every sentence, so that a window re-created by a reset is the one fed. A window that
// is not loaded is loaded hidden, for the system whose slot it is.
#include "timeseries/time_series_engine.h"

namespace tiderune {

class Shell;

class SlotTimeSeriesWindows final : public TimeSeriesWindows {
public:
    explicit SlotTimeSeriesWindows(Shell& shell) : shell_(shell) {}
    TimeSeriesForm* timeSeriesForm(int chartKind, int system) override;

private:
    Shell& shell_;
};

}  // namespace tiderune
