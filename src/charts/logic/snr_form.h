#pragma once
// The SNR time-series windows and their chooser without Qt: the heading of each satellite's
// chart per constellation, the layout of the charts chosen for a constellation, and the
// chooser's boxes, count and OK. The choice (SNRSeriesVisible, SNRSeriesCount,
// SNRSeriesColumns) lives in the setup and is shared by the windows of all four systems.
#include <array>
#include <string>

#include "core/config.h"
#include "platform/chart_model.h"

namespace tiderune {

// Charts 1-32 are the satellite charts of a window; chart 0 takes no part in the layout.
inline constexpr int SNRCharts = SNRSeriesPerConstellation;

// The subtitle of chart i (1-32) of constellation k (1-5): "GPS PRN 07",
// "SBAS PRN 120 (NMEA Index 33)", "GLONASS PRN 05 (NMEA Index 69)", ...
std::string snrChartHeading(int constellation, int chart);
// The chooser's box of chart i: "PRN07"; SBAS satellites by their own number, "PRN120".
std::string snrChooserCaption(int constellation, int chart);

// The design of every SNR chart: SNR bars, elevation on the left axis (0-90), azimuth on
// the right (0-360), the legend hidden.
void buildSnrChart(Chart& chart);

// Where chart i sits in the window's client area, in twips.
struct SnrChartPlace {
    bool visible = false;
    double left = 0, top = 0, width = 0, height = 0;
};
using SnrChartPlaces = IndexedArray<SnrChartPlace, 1, SNRCharts>;

// Arrange_TimeSeries: the charts chosen for the constellation, column by column in
// satellite order, below a strip of 480 twips; the others hidden. With no chart chosen the
// places stay as they are. A count without columns (a damaged setup) lays out in one.
void ArrangeTimeSeries(const Config& config, int constellation, double clientWidth, double clientHeight,
                       SnrChartPlaces& places);
// The smallest client size (twips) at which ArrangeTimeSeries gives each chosen chart at
// least `chartWidth` x `chartHeight` in its columns; the strip alone with no chart chosen.
struct SnrClientSize {
    double width = 0, height = 0;
};
SnrClientSize snrClientForCharts(const Config& config, int constellation, double chartWidth, double chartHeight);

// frmVisibleSNRTimeSeries without its screen: box 0 "All visible", 1-32 the charts, 33
// "Uncheck all".
class SnrChooserForm {
public:
    // The boxes and the columns of the constellation as the setup holds them.
    void load(const Config& config, int constellation);
    // The user set box `index` to `checked`.
    void chkPRN_Click(int index, bool checked);
    // OK: the boxes and the columns into the setup, one column for one chart and two for
    // two charts in three columns.
    void cmdOk_Click(Config& config, int constellation) const;

    std::array<bool, SNRCharts + 2> chkPRN{};
    std::array<std::string, SNRCharts + 2> captions{};
    int cmbColumns = 2;  // selected index of "1", "2", "3"
    std::string lblNoOfSeries = "0";

private:
    void setBox(int index, bool checked);
};

}  // namespace tiderune
