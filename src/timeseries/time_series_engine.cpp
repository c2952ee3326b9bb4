#include "timeseries/time_series_engine.h"

#include "core/errors.h"
#include "core/number_text.h"
#include "timeseries/time_series_form.h"

namespace tiderune {

void TimeSeriesEngine::UpdateTimeSeriesCharts(int system, SentenceType type) {
    const SystemSetup& setup = core_.config.Systems[system];
    if (!setup.analysed(type)) return;
    const EpochValueSet& ev = core_.analysis.EpochValues[system];
    switch (type) {
    case SentenceType::GLL: UpdateTimeSeriesGLL(system, ev.EpochHorizontalError, ev.EpochNorth, ev.EpochEast); break;
    case SentenceType::RMC: UpdateTimeSeriesRMC(system, ev.EpochHorizontalError, ev.EpochNorth, ev.EpochEast); break;
    case SentenceType::VTG: UpdateTimeSeriesVTG(system); break;
    case SentenceType::HDT: UpdateTimeSeriesHDT(system, ev.EpochHeadingDev); break;
    case SentenceType::ATT: UpdateTimeSeriesATT(system, ev.EpochHeadingDev); break;
    case SentenceType::ROT: UpdateTimeSeriesROT(system); break;
    case SentenceType::VHW: UpdateTimeSeriesVHW(system); break;
    case SentenceType::DBT: UpdateTimeSeriesDBT(system); break;
    case SentenceType::GST: UpdateTimeSeriesGST(system); break;
    case SentenceType::GSA: UpdateTimeSeriesGSA(system); break;
    case SentenceType::GSV: UpdateTimeSeriesGSV(system); break;
    default: break;  // GGA and GNS have windows of their own kind; ZDA, TTM, VDM none
    }
}

TimeSeriesForm* TimeSeriesEngine::begin(int system, int kind) {
    ChartXValue[system] = core_.EpochTime[system];
    TimeSeriesForm* window = windows_.timeSeriesForm(kind, system);
    if (!window) return nullptr;
    const std::string& mode = settings.TimeAxisOption[kind][system];
    if (mode != "Manual" && mode != "Automatic")
        SetTimeAxis(*window, settings, system, ChartXValue[system], window->ChartCount, kind, core_.EpochTime[system],
                    core_.SentenceDate[system]);
    return window;
}

void TimeSeriesEngine::feed(TimeSeriesForm& window, int system, int kind, std::initializer_list<Feed> feeds) {
    int slot = 0;
    for (const Feed& f : feeds)
        AddChartPoint(settings, system, kind, window.TChart(f.chart).series(f.series), ChartXValue[system], f.value,
                      filters_[kind][slot++][system]);
    autoFilterByPointCount(window, system, kind);
}

void TimeSeriesEngine::autoFilterByPointCount(TimeSeriesForm& window, int system, int kind) {
    autoFilterByCount(window, system, kind, window.TChart(0).series(0).count());
}

void TimeSeriesEngine::autoFilterByCount(TimeSeriesForm& window, int system, int kind, int n) {
    if (settings.TimeAxisOption[kind][system] != "Automatic" || !settings.AutoFilter[kind][system]) return;
    std::int16_t length = 0;
    if (n > 7200) length = 20;
    else if (n > 3600) length = 10;
    else if (n > 1800) length = 5;
    else if (n > 600) length = 2;
    settings.FilterLength[kind][system] = length;
    if (ValDecimal(window.lblFilter.caption) != length) {
        window.lblFilter.caption = std::to_string(length);
        window.touch();
    }
}

void TimeSeriesEngine::UpdateTimeSeriesVTG(int system) {
    TimeSeriesForm* w = begin(system, chart_kind::VTG);
    if (!w) return;
    const VTGRecord& r = core_.NMEAMessages[system].VTG;
    feed(*w, system, chart_kind::VTG, {{0, 0, r.SpeedKnots}, {0, 1, r.CourseTrue}});
}

void TimeSeriesEngine::UpdateTimeSeriesGLL(int system, float horizontal, float north, float east) {
    TimeSeriesForm* w = begin(system, chart_kind::GLL);
    if (!w) return;
    feed(*w, system, chart_kind::GLL, {{0, 0, horizontal}, {0, 1, north}, {0, 2, east}});
}

void TimeSeriesEngine::UpdateTimeSeriesRMC(int system, float horizontal, float north, float east) {
    TimeSeriesForm* w = begin(system, chart_kind::RMC);
    if (!w) return;
    const RMCRecord& r = core_.NMEAMessages[system].RMC;
    feed(*w, system, chart_kind::RMC,
         {{0, 0, horizontal}, {0, 1, north}, {0, 2, east}, {1, 0, r.SpeedKnots}, {1, 1, r.CourseTrue}});
}

void TimeSeriesEngine::UpdateTimeSeriesHDT(int system, float headingDev) {
    const StatRecord& stats = core_.analysis.statistics(system).HDTStats[0].record;
    // The last heading deviation was missing: the window stays exactly as it was.
    if (stats.noData) return;
    TimeSeriesForm* w = begin(system, chart_kind::HDT);
    if (!w) return;
    Chart& c = w->TChart(0);
    // The right axis reads the absolute heading beside the deviation on the left.
    const float reference = core_.config.ReferenceHeading[system];
    try {
        c.rightAxis().setMinimum(c.leftAxis().minimum() + reference);
    } catch (const RuntimeError&) {
    }
    try {
        c.rightAxis().setMaximum(c.leftAxis().maximum() + reference);
    } catch (const RuntimeError&) {
    }
    AddChartPoint(settings, system, chart_kind::HDT, c.series(0), ChartXValue[system], headingDev,
                  filters_[chart_kind::HDT][0][system]);
    const double m = stats.mean;
    const double d = stats.standardDeviation;
    if (core_.config.ReferenceMode[system] == 1) {
        c.tool(2).setValue(0);
        c.tool(1).setStartValue(-d);
        c.tool(1).setEndValue(d);
    } else {
        c.tool(2).setValue(m);
        c.tool(1).setStartValue(m - d);
        c.tool(1).setEndValue(m + d);
    }
    autoFilterByPointCount(*w, system, chart_kind::HDT);
}

void TimeSeriesEngine::UpdateTimeSeriesATT(int system, float headingDev) {
    TimeSeriesForm* w = begin(system, chart_kind::ATT);
    if (!w) return;
    const ATTRecord& r = core_.NMEAMessages[system].ATT;
    feed(*w, system, chart_kind::ATT, {{0, 0, headingDev}, {1, 0, r.Pitch}, {1, 1, r.Roll}});
}

void TimeSeriesEngine::UpdateTimeSeriesROT(int system) {
    TimeSeriesForm* w = begin(system, chart_kind::ROT);
    if (!w) return;
    feed(*w, system, chart_kind::ROT, {{0, 0, core_.NMEAMessages[system].ROT.RateOfTurn}});
}

void TimeSeriesEngine::UpdateTimeSeriesVHW(int system) {
    TimeSeriesForm* w = begin(system, chart_kind::VHW);
    if (!w) return;
    const VHWRecord& r = core_.NMEAMessages[system].VHW;
    feed(*w, system, chart_kind::VHW, {{0, 0, r.SpeedKnots}, {0, 1, r.HeadingTrue}, {0, 2, r.HeadingMagnetic}});
}

void TimeSeriesEngine::UpdateTimeSeriesDBT(int system) {
    TimeSeriesForm* w = begin(system, chart_kind::DBT);
    if (!w) return;
    feed(*w, system, chart_kind::DBT, {{0, 0, core_.NMEAMessages[system].DBT.DepthMetres}});
}

void TimeSeriesEngine::UpdateTimeSeriesGST(int system) {
    TimeSeriesForm* w = begin(system, chart_kind::GST);
    if (!w) return;
    const GSTRecord& r = core_.NMEAMessages[system].GST;
    feed(*w, system, chart_kind::GST,
         {{0, 0, r.RMS},
          {1, 0, r.SdLatitude},
          {1, 1, r.SdLongitude},
          {1, 2, r.SdAltitude},
          {2, 0, r.SdSemiMajor},
          {2, 1, r.SdSemiMinor},
          {2, 2, static_cast<double>(r.Orientation)}});
}

}  // namespace tiderune
