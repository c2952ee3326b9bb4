#pragma once
// The chart windows' one install call.
namespace tiderune {

class WindowRegistry;

// The time-series windows of the single-sentence family (VTG, GLL, RMC, HDT, ATT, ROT, VHW,
// DBT, GST): one generic window built from each kind's chart design.
void installChartWindows(WindowRegistry& registry);

}  // namespace tiderune
