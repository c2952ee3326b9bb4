#pragma once
// The per kind and system choices of the time-series windows (time-axis mode, interval,
// decimation filter), which outlive the windows, and the hand-over from an axis click to the
// axis dialogs.
#include <cstdint>
#include <string>

#include "core/indexed.h"

namespace tiderune {

class Chart;
class TimeSeriesForm;

// The kind of a time-series window, its index into the settings tables. 12 is not used.
namespace chart_kind {
inline constexpr int GGA = 0;
inline constexpr int GLL = 1;
inline constexpr int RMC = 2;
inline constexpr int VTG = 3;
inline constexpr int GSA = 4;
inline constexpr int GSV = 5;
inline constexpr int HDT = 6;
inline constexpr int ATT = 7;
inline constexpr int ROT = 8;
inline constexpr int VHW = 9;
inline constexpr int DBT = 10;
inline constexpr int GNS = 11;
inline constexpr int GST = 13;
inline constexpr int Last = 13;
}  // namespace chart_kind

template <typename T>
using PerChartKind = IndexedArray<PerSystem<T>, 0, chart_kind::Last>;

// All start at 0, empty or false; a window's load puts its lists' first items in place.
struct ChartSettings {
    PerChartKind<std::int32_t> ChartInterval;  // seconds shown: 600 ... 86400
    PerChartKind<std::string> TimeAxisOption;  // "Automatic", "Scrolling time", "Fixed time", "Manual"
    PerChartKind<bool> AutoFilter;             // the filter list's "Automatic"
    PerChartKind<std::int16_t> FilterLength;   // -1 "Off", 0 no decimation, else the block length
    // Set when the system's GGA or GNS window unloads: the next run-bar update of the
    // system starts the station runs of all systems afresh.
    PerSystem<bool> GanttResetGGA;
    PerSystem<bool> GanttResetGNS;
};

// Filled by a window's axis click just before it opens an axis dialog; kept until the next.
struct AxisDialogTarget {
    TimeSeriesForm* AxisDialogForm = nullptr;
    Chart* AxisDialogChart = nullptr;
    std::int16_t AxisDialogChartCount = 0;
    std::string AxisDialogAxis;  // "left", "right" or "bottom"
};

// FilterLength for the interval when the filter list says "Automatic" and the time axis is
// not "Automatic" (there the updaters go by point count); the window's filter label follows.
void SetAutoFilterByInterval(TimeSeriesForm& window, ChartSettings& settings, int system, int kind);

// Moves the bottom axis of chart 0 for "Fixed time" and "Scrolling time" (the window's own
// mode list decides) and copies the range to the window's other charts. epochTime and
// sentenceDate are the system's.
void SetTimeAxis(TimeSeriesForm& window, const ChartSettings& settings, int system, double x, int chartCount,
                 int kind, double epochTime, double sentenceDate);

// The bottom-axis range of one chart onto every chart of the window. The order of the two
// writes follows the copied range, so that no chart passes through an inverted range; a
// write the chart refuses is skipped and the other still happens.
void CopyTimeAxisToCharts(TimeSeriesForm& window, int sourceIndex, int chartCount);

}  // namespace tiderune
