#include "timeseries/time_series_form.h"

#include <cmath>

#include "core/errors.h"
#include "core/number_text.h"
#include "timeseries/satellite_series.h"

namespace tiderune {

namespace {

constexpr std::int32_t Intervals[] = {600, 900, 1800, 3600, 7200, 21600, 43200, 86400};

}  // namespace

TimeSeriesForm::TimeSeriesForm(const FormDesign& design, ChartSettings& settings, Config& config,
                               std::vector<Chart*> screenCharts)
    : design_(design), settings_(settings), config_(config) {
    ChartKind = static_cast<std::int16_t>(design.chartKind);
    ChartCount = static_cast<std::int16_t>(design.chartCount());
    if (screenCharts.empty()) {
        for (int i = 0; i < ChartCount; ++i) {
            own_.push_back(std::make_unique<Chart>());
            screenCharts.push_back(own_.back().get());
        }
    }
    charts_ = std::move(screenCharts);
    for (int i = 0; i < ChartCount; ++i) {
        charts_[static_cast<std::size_t>(i)]->setIndex(i);
        buildChart(*charts_[static_cast<std::size_t>(i)], design.charts[static_cast<std::size_t>(i)]);
        const ChartDesign& cd = design.charts[static_cast<std::size_t>(i)];
        const int narrow = i < design.narrowCharts ? 480 : 0;
        chartPlaces.push_back({0, cd.top, design.innerWidth - narrow, cd.height});
    }
    lblSystemColor.caption = "PRIMARY SYSTEM (blue)";
    lblSystemColor.foreColour = colours::Blue;
    lblFilter.caption = "0";
    chkDGPS.visible = design.dgpsChart;
    chkAgeOff.visible = design.ageOffBox;
}

int TimeSeriesForm::system() const {
    const int s = static_cast<int>(ValDecimal(Tag));
    return isValidSystem(s) ? s : 1;
}

Chart& TimeSeriesForm::TChart(int i) {
    if (i < 0 || i >= ChartCount) throwChartIndex("Chart", i);
    return *charts_[static_cast<std::size_t>(i)];
}

const Chart& TimeSeriesForm::TChart(int i) const {
    if (i < 0 || i >= ChartCount) throwChartIndex("Chart", i);
    return *charts_[static_cast<std::size_t>(i)];
}

void TimeSeriesForm::load(std::int16_t handOverWord, const std::string& systemName) {
    Tag = std::to_string(handOverWord);
    if (handOverWord == 0) Tag = "1";
    const int s = system();
    caption = std::string(design_.captionPrefix) + Tag + " - " + systemName;
    config_.WindowVisible[s][design_.visibleWord] = true;
    if (design_.dgpsChart && config_.NoDGPSChart[s]) chkDGPS_Click(0, false);
    AddSatelliteSeries(*this);
    switch (s) {
    case 2: lblSystemColor = {"(Green)", true, 65280}; break;
    case 3: lblSystemColor = {"(red)", true, 255}; break;
    case 4: lblSystemColor = {"(yellow)", true, 65535}; break;
    default: break;
    }

    for (const char* item : {"Automatic", "Scrolling time", "Fixed time", "Manual"}) cmbOption.add(item);
    cmbOption_Click(cmbOption.listIndex = 0);
    const char* intervals[] = {"10 min", "15 min", "30 min", "01 hour", "02 hours", "06 hours", "12 hours", "24 hours"};
    for (int i = 0; i < 8; ++i) cmbInterval.add(intervals[i], Intervals[i]);
    cmbInterval_Click(cmbInterval.listIndex = 0);
    const std::pair<const char*, int> filters[] = {{"Automatic", -99}, {"Off", 0},     {"2 fix", 2},   {"5 fix", 5},
                                                   {"10 fix", 10},     {"30 fix", 30}, {"60 fix", 60}, {"100 fix", 100}};
    for (const auto& [item, data] : filters) cmbFilter.add(item, data);
    cmbFilter_Click(cmbFilter.listIndex = 0);
    touch();
}

void TimeSeriesForm::unload() {
    config_.WindowVisible[system()][design_.visibleWord] = false;
    if (design_.type == SentenceType::GGA) settings_.GanttResetGGA[system()] = true;
    if (design_.type == SentenceType::GNS) settings_.GanttResetGNS[system()] = true;
}

bool TimeSeriesForm::chkDGPS_Click(int value, bool maximised) {
    chkDGPS.value = value;
    touch();
    if (maximised) return false;
    const int s = system();
    if (value != 0) {
        heightRequest += chartPlaces[0].height;
        config_.NoDGPSChart[s] = false;
    } else {
        heightRequest -= chartPlaces[3].height;
        config_.NoDGPSChart[s] = true;
    }
    return true;
}

void TimeSeriesForm::cmbOption_Click(int index) {
    cmbOption.listIndex = index;
    // Switching the automatic range off holds the range then in use, so "Manual" freezes
    // what the user sees.
    auto setAutomatic = [](Axis& a, bool on) {
        if (on) a.setAutomatic(true);
        else if (a.automatic()) a.restore({false, false, a.minimum(), a.maximum()});
    };
    Axis& bottom0 = TChart(0).bottomAxis();
    cmbInterval.visible = index != 0 && index < 3;
    setAutomatic(bottom0, index == 0);
    for (int i = 1; i < ChartCount; ++i) setAutomatic(TChart(i).bottomAxis(), bottom0.automatic());
    settings_.TimeAxisOption[ChartKind][system()] = cmbOption.text();
    SetAutoFilterByInterval(*this, settings_, system(), ChartKind);
    touch();
}

void TimeSeriesForm::cmbInterval_Click(int index) {
    cmbInterval.listIndex = index;
    if (index >= 0 && index < 8) settings_.ChartInterval[ChartKind][system()] = Intervals[index];
    for (int i = 0; i < (design_.dgpsChart ? ChartCount : 1); ++i) TChart(i).bottomAxis().setDateTimeFormat("hh:nn");
    SetAutoFilterByInterval(*this, settings_, system(), ChartKind);
    touch();
}

void TimeSeriesForm::cmbFilter_Click(int index) {
    cmbFilter.listIndex = index;
    const int s = system();
    if (index == 0) {
        settings_.AutoFilter[ChartKind][s] = true;
        settings_.FilterLength[ChartKind][s] = 0;
        lblFilter.visible = true;
        lblFilter.caption = "0";
        SetAutoFilterByInterval(*this, settings_, s, ChartKind);
    } else if (index == 1) {
        settings_.AutoFilter[ChartKind][s] = false;
        settings_.FilterLength[ChartKind][s] = -1;
        lblFilter.visible = false;
    } else {
        const auto n = static_cast<std::int16_t>(ValDecimal(cmbFilter.text()));
        settings_.AutoFilter[ChartKind][s] = false;
        settings_.FilterLength[ChartKind][s] = n;
        lblFilter.visible = true;
        lblFilter.caption = std::to_string(n);
    }
    touch();
}

int TimeSeriesForm::sharedCharts() const {
    // All four of the position windows are laid out; without the DGPS chart the upper three
    // share the height and the fourth lies below the window's edge.
    if (design_.dgpsChart) return chkDGPS.value != 0 ? 4 : 3;
    return ChartCount;
}

int TimeSeriesForm::shareLoss() const {
    // Each chart's share less 110 in the position windows; elsewhere less 300 for one chart,
    // 240 for two, 180 for three.
    return design_.dgpsChart ? 110 : (4 - ChartCount) * 60 + 120;
}

void TimeSeriesForm::resize(int width, int height) {
    for (int i = 0; i < ChartCount; ++i)
        chartPlaces[static_cast<std::size_t>(i)].width = width - (i < design_.narrowCharts ? 480 : 0);
    const int top0 = chartPlaces[0].top;
    const int n = sharedCharts();
    if (height + 300 > top0) {
        // A window too low for that keeps the former heights.
        const long h = std::lround(static_cast<double>(height - top0) / n) - shareLoss();
        if (h >= 0) chartPlaces[0].height = static_cast<int>(h);
        for (std::size_t k = 1; k < chartPlaces.size(); ++k) {
            chartPlaces[k].height = chartPlaces[0].height;
            chartPlaces[k].top = chartPlaces[k - 1].top + chartPlaces[k - 1].height;
        }
    }
    if (design_.dgpsChart) chkAgeOff.left = chartPlaces[3].width - 972;
    touch();
}

int TimeSeriesForm::widthForCharts(int chartWidth) const { return chartWidth + (design_.narrowCharts > 0 ? 480 : 0); }

int TimeSeriesForm::heightForCharts(int chartHeight) const {
    return chartPlaces[0].top + sharedCharts() * (chartHeight + shareLoss());
}

AxisClickAction TimeSeriesForm::axisClick(int index, AxisCode axis, int button, AxisDialogTarget& target) {
    const bool anyButton = index >= 0 && index < 32 && ((design_.anyButtonCharts >> index) & 1u);
    if (!anyButton && button != mouse::Right) return AxisClickAction::None;
    target.AxisDialogForm = this;
    target.AxisDialogChart = &TChart(index);
    target.AxisDialogChartCount = ChartCount;
    switch (axis) {
    case AxisCode::Left:
        target.AxisDialogAxis = "left";
        return AxisClickAction::YAxisDialog;
    case AxisCode::Right:
        if (!design_.rightAxisDialog) return AxisClickAction::None;
        target.AxisDialogAxis = "right";
        return AxisClickAction::YAxisDialog;
    case AxisCode::Bottom:
        if (cmbOption.text() != "Manual") return AxisClickAction::RefuseBottom;
        target.AxisDialogAxis = "bottom";
        return AxisClickAction::XAxisDialog;
    case AxisCode::Top:
        break;
    }
    return AxisClickAction::None;
}

void TimeSeriesForm::viewChange(int index) {
    if (design_.viewChangeCopies) CopyTimeAxisToCharts(*this, index, ChartCount);
}

}  // namespace tiderune
