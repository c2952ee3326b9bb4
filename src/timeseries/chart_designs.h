#pragma once
// The designed charts of the time-series windows: every series with its kind, title, colour
// and axis, the fixed axis ranges, legends and marker tools, and what differs between the
// members of the window family. One generic window builds itself from these.
#include <string>
#include <vector>

#include "core/records.h"
#include "platform/chart_series.h"
#include "platform/chart_types.h"

namespace tiderune {

class Chart;

struct SeriesDesign {
    SeriesKind kind = SeriesKind::Line;
    std::string title;  // as shown in the legend, trailing blanks included
    Colour colour = colours::Black;
    VerticalAxis axis = VerticalAxis::Left;
    bool outline = false;     // pen round lines and bars
    bool gradient = false;    // bars shaded from top to bottom
    PenStyle style = PenStyle::Solid;
    SeriesFunction function = SeriesFunction::None;  // computed from series 0
};

enum class AxisRange { Automatic, MinimumFixed, Fixed };

// The series per satellite (1-151) that the GSA and GSV windows add at load, after the
// design's series 0, so that series i belongs to satellite i.
enum class SatelliteSeries {
    None,
    Palette,          // the chart's colours for new series, repeating every 19
    OutlinedPalette,  // the same, each with an outline in its own colour
    AsFirstChart,     // the colours of the window's chart 0, so a satellite has one colour
};

struct ChartDesign {
    int top = 0;     // twips, design place
    int height = 0;
    std::vector<SeriesDesign> series;
    AxisRange left = AxisRange::Automatic;
    double leftMin = 0, leftMax = 0;
    bool leftInverted = false;
    double leftIncrement = 0.1;
    bool rightFixed = false;
    double rightMin = 0, rightMax = 0;
    bool legendValues = false;
    int tools = 1;  // 0 none; 1 the colour line; 2 and the colour band; 3 and a dashed red line
    double marginRight = 4;
    double tool0Value = 0;
    double tool1Start = 0, tool1End = 0;
    int customAxes = 0;  // extra vertical axes without series
    std::string title;           // shown above the chart when not empty
    bool legendHidden = false;
    bool legendSeriesColours = false;  // legend titles in their series' colours
    SatelliteSeries satellites = SatelliteSeries::None;
    int ganttHeight = 0;  // Gantt bars' half height in pixels; 0: the chart's default
    std::string hint;     // the chart's tooltip
};

struct FormDesign {
    SentenceType type;
    int chartKind;
    const char* formName;       // "frmTimeSeriesVTG"
    const char* captionPrefix;  // "VTG Time Series "
    int visibleWord;            // open flag in the system's WindowVisible record
    int innerWidth, innerHeight;  // twips, before the first resize
    int chart0Top;
    // Axis clicks: charts (bit per index) that take any mouse button; others take the
    // right button (code 2) only.
    unsigned anyButtonCharts = 0;
    bool rightAxisDialog = false;  // a right-axis click opens the axis dialog
    bool viewChangeCopies = false;  // zoom and scroll of one chart reach the others
    int narrowCharts = 0;           // charts 0 .. narrowCharts-1 are 480 twips narrower
    // The position windows: a DGPS chart (the last) that a check box switches off, their own
    // resize rule, "hh:nn" on every chart, and in GGA an "Age off" box.
    bool dgpsChart = false;
    bool ageOffBox = false;
    std::vector<ChartDesign> charts;
    int chartCount() const { return static_cast<int>(charts.size()); }
};

// The design of a window kind (chart_kind::*); null for a kind without one.
const FormDesign* formDesign(int chartKind);
const FormDesign* formDesignOf(SentenceType type);
// Every kind with a design, in the order of the window kinds.
const std::vector<const FormDesign*>& allFormDesigns();

// Puts a design onto an empty chart: its series in order, axes, legend and tools.
void buildChart(Chart& chart, const ChartDesign& design);

}  // namespace tiderune
