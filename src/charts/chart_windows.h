#pragma once
// The chart windows' one install call.
namespace tiderune {

class WindowRegistry;

// The time-series windows (one generic window built from each kind's chart design, the
// GGA, GNS, GSA and GSV windows included) and the sky plot.
void installChartWindows(WindowRegistry& registry);
// The scatter plot and the SNR time series.
void installScatterAndSNRWindows(WindowRegistry& registry);

}  // namespace tiderune
