#include "charts/logic/snr_form.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"
#include "timeseries/chart_designs.h"

namespace tiderune {

namespace {

bool validConstellation(int k) { return k >= 1 && k <= SNRConstellations; }

std::string index(const char* name, int prn, const char* prnFormat, int nmea, const char* nmeaFormat) {
    return std::string(name) + " PRN " + FormatNumber(prn, prnFormat) + " (NMEA Index " + FormatNumber(nmea, nmeaFormat) + ")";
}

}  // namespace

std::string snrChartHeading(int k, int i) {
    switch (k) {
    case 1: return "GPS PRN " + FormatNumber(i, "00");
    case 2: return index("SBAS", i + 119, "000", i + 32, "00");  // an SBAS satellite's own number is its index + 87
    case 3: return index("GLONASS", i, "00", i + 64, "00");
    case 4: return index("BeiDou", i, "00", i + 100, "000");
    case 5: return index("Galileo", i, "00", i + 150, "000");
    default: return {};
    }
}

std::string snrChooserCaption(int k, int i) {
    return k == 2 ? "PRN" + FormatNumber(i + 119, "000") : "PRN" + FormatNumber(i, "00");
}

void buildSnrChart(Chart& chart) {
    ChartDesign d;
    d.series = {
        {SeriesKind::Bar, "SNR", rgb(255, 255, 128), VerticalAxis::Left, false, true},
        {SeriesKind::Line, "Elevation", colours::Blue, VerticalAxis::Left},
        {SeriesKind::Line, "Azimuth", colours::Black, VerticalAxis::Right},
    };
    d.left = AxisRange::Fixed;
    d.leftMin = 0;
    d.leftMax = 90;
    d.rightFixed = true;
    d.rightMin = 0;
    d.rightMax = 360;
    d.legendHidden = true;
    d.legendValues = true;
    d.tools = 3;
    buildChart(chart, d);
    chart.leftAxis().setTitle("SNR & Elevation");
    chart.rightAxis().setTitle("Azimuth");
    chart.subTitle().clear();
    chart.subTitle().addLine("GPS PRN XX");
}

namespace {

// The columns and rows the chosen charts of a constellation are laid out in.
struct SnrGrid {
    int columns = 1, rows = 0;
};

SnrGrid snrGrid(const Config& config, int k) {
    const int count = config.SNRSeriesCount[k];
    SnrGrid g;
    g.columns = std::max<int>(1, config.SNRSeriesColumns[k]);
    g.rows = static_cast<int>(std::nearbyint(static_cast<double>(count) / g.columns));
    if (g.columns * g.rows < count) ++g.rows;
    return g;
}

// The strip above the charts and what the client keeps below them.
constexpr double SnrChartsTop = 480, SnrClientLoss = 1480;

}  // namespace

SnrClientSize snrClientForCharts(const Config& config, int k, double chartWidth, double chartHeight) {
    if (!validConstellation(k) || config.SNRSeriesCount[k] <= 0) return {0, SnrClientLoss};
    const SnrGrid g = snrGrid(config, k);
    // A column ends after its rows only with charts higher than the 1000 twips the client
    // keeps below them; lower ones run on below the window's edge.
    chartHeight = std::max(chartHeight, SnrClientLoss - SnrChartsTop + 1);
    return {g.columns * chartWidth, SnrClientLoss + g.rows * chartHeight};
}

void ArrangeTimeSeries(const Config& config, int k, double clientWidth, double clientHeight, SnrChartPlaces& places) {
    if (!validConstellation(k)) return;
    const double usable = clientHeight <= SnrClientLoss ? 0 : std::nearbyint(clientHeight - SnrClientLoss);
    const int count = config.SNRSeriesCount[k];
    if (count <= 0) return;
    const auto [columns, rows] = snrGrid(config, k);
    const double width = std::nearbyint(clientWidth / columns);

    double top = SnrChartsTop, left = 0;
    int placed = 0;
    for (int i = 1; i <= SNRCharts; ++i) {
        SnrChartPlace& p = places[i];
        if (!config.SNRSeriesVisible[k][i]) {
            p.visible = false;
            continue;
        }
        p = {true, left, top, width, usable / rows};
        if (placed < count) {
            top = std::nearbyint(p.height + top);
            if (clientHeight - p.height < top) {
                top = SnrChartsTop;
                left += width;
            }
        }
        ++placed;
    }
}

void SnrChooserForm::setBox(int i, bool checked) {
    // Setting a box from code is a click on it, when its state changes.
    if (chkPRN[static_cast<std::size_t>(i)] == checked) return;
    chkPRN_Click(i, checked);
}

void SnrChooserForm::load(const Config& config, int k) {
    if (!validConstellation(k)) k = 1;
    for (int i = 1; i <= SNRCharts; ++i) {
        captions[static_cast<std::size_t>(i)] = snrChooserCaption(k, i);
        if (config.SNRSeriesVisible[k][i]) setBox(i, true);
    }
    const int columns = config.SNRSeriesColumns[k];
    cmbColumns = columns != 0 ? std::clamp(columns - 1, 0, 2) : 2;
}

void SnrChooserForm::chkPRN_Click(int index, bool checked) {
    if (index < 0 || index > SNRCharts + 1) return;
    chkPRN[static_cast<std::size_t>(index)] = checked;
    if (index == 0 && checked) {
        for (int i = 1; i <= SNRCharts; ++i) chkPRN[static_cast<std::size_t>(i)] = true;
        chkPRN[SNRCharts + 1] = false;
    } else if (index == SNRCharts + 1 && checked) {
        for (int i = 1; i <= SNRCharts; ++i) chkPRN[static_cast<std::size_t>(i)] = false;
        chkPRN[0] = false;
    } else {
        chkPRN[0] = false;
        chkPRN[SNRCharts + 1] = false;
    }
    const auto n = std::count(chkPRN.begin() + 1, chkPRN.begin() + SNRCharts + 1, true);
    lblNoOfSeries = StrNumber(static_cast<long long>(n));
}

void SnrChooserForm::cmdOk_Click(Config& config, int k) const {
    if (!validConstellation(k)) return;
    std::int16_t count = 0;
    for (int i = 1; i <= SNRCharts; ++i) {
        config.SNRSeriesVisible[k][i] = chkPRN[static_cast<std::size_t>(i)];
        if (config.SNRSeriesVisible[k][i]) ++count;
    }
    config.SNRSeriesCount[k] = count;
    std::int16_t columns = static_cast<std::int16_t>(std::clamp(cmbColumns, 0, 2) + 1);
    if (count == 1) columns = 1;
    if (columns == 3 && count == 2) columns = 2;
    config.SNRSeriesColumns[k] = columns;
}

}  // namespace tiderune
