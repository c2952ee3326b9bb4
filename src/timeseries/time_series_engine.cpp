#include "timeseries/time_series_engine.h"

#include <cmath>

#include "core/errors.h"
#include "core/number_text.h"
#include "timeseries/time_series_form.h"

namespace tiderune {

void TimeSeriesEngine::UpdateTimeSeriesCharts(int system, SentenceType type) {
    const SystemSetup& setup = core_.config.Systems[system];
    if (!setup.analysed(type)) return;
    const EpochValueSet& ev = core_.analysis.EpochValues[system];
    switch (type) {
    case SentenceType::GGA:
        UpdateTimeSeriesGGA(system, ev.EpochHorizontalError, ev.EpochNorth, ev.EpochEast, ev.EpochHeightDiff,
                            core_.NMEAMessages[system].GGA);
        break;
    case SentenceType::GNS:
        UpdateTimeSeriesGNS(system, ev.EpochHorizontalError, ev.EpochNorth, ev.EpochEast, ev.EpochHeightDiff,
                            core_.NMEAMessages[system].GNS);
        break;
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
    default: break;  // ZDA, TTM, VDM none
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

namespace {

// Fix quality to bar colour (0x00BBGGRR); 2 (DGPS) takes the series' own colour. Qualities
// outside the table give no bar.
bool qualityColour(std::int16_t q, Colour& colour) {
    static constexpr Colour Table[] = {0x0000FF, 0x0000FF, SeriesColour, 0x00FF00, 0xFF00FF,
                                       0x00FFFF, 0xFFFF00, 0xFFFFFF, 0x00FFFF};
    if (q > 8) return false;
    colour = q < 2 ? Table[0] : Table[q];
    return true;
}

}  // namespace

void TimeSeriesEngine::UpdateTimeSeriesGGA(int system, float horizontal, float north, float east, float heightDiff,
                                           const GGARecord& r) {
    updatePosition(system, chart_kind::GGA, horizontal, north, east, heightDiff, r.Satellites, r.HDOP, r.DGPSAge,
                   r.StationID, &r.Quality);
}

void TimeSeriesEngine::UpdateTimeSeriesGNS(int system, float horizontal, float north, float east, float heightDiff,
                                           const GNSRecord& r) {
    updatePosition(system, chart_kind::GNS, horizontal, north, east, heightDiff, r.Satellites, r.HDOP, r.DGPSAge,
                   r.StationID, nullptr);
}

void TimeSeriesEngine::updatePosition(int system, int kind, float horizontal, float north, float east, float heightDiff,
                                      std::int16_t satellites, float hdop, float age, std::int32_t station,
                                      const std::int16_t* quality) {
    TimeSeriesForm* w = begin(system, kind);
    if (!w) return;
    const bool gga = kind == chart_kind::GGA;
    const SystemStatistics& st = core_.analysis.statistics(system);
    auto block = [&](int i) -> const StatRecord& { return gga ? st.GGAStats[i].record : st.GNSStats[i].record; };
    // GGA and GNS share their eight states: a system analyses one of the two only.
    auto state = [&](int slot) -> SeriesFilter& { return filters_[chart_kind::GGA][slot][system]; };
    const double x = ChartXValue[system];

    Chart& offsets = w->TChart(0);
    if (!block(0).noData) {
        AddChartPoint(settings, system, kind, offsets.series(0), x, horizontal, state(0));
        const double m = block(0).mean;
        const double d = block(0).standardDeviation;
        offsets.tool(0).setValue(m);
        offsets.tool(1).setStartValue(m - d);
        offsets.tool(1).setEndValue(m + d);
    }
    const float parts[] = {north, east, heightDiff};
    for (int i = 0; i < 3; ++i)
        if (!block(i + 1).noData) AddChartPoint(settings, system, kind, w->TChart(1).series(i), x, parts[i], state(i + 1));

    Chart& svs = w->TChart(2);
    if (satellites != MissingValue) {
        const Colour c = satellites > 4 ? SeriesColour : satellites == 4 ? Colour{0xFF00FF} : Colour{0x0000FF};
        AddChartPoint(settings, system, kind, svs.series(0), x, satellites, state(4), c);
    }
    if (!block(gga ? 7 : 6).noData) AddChartPoint(settings, system, kind, svs.series(1), x, hdop, state(5));

    if (w->chkDGPS.value != 0) {
        Chart& dgps = w->TChart(3);
        if (quality) {
            const std::int16_t q = *quality;
            const std::int16_t previous = PreviousQuality[system];
            const bool transition = (q >= 2 && previous < 2) || (q < 2 && previous >= 2);
            Colour c = SeriesColour;
            if (qualityColour(q, c)) AddChartPoint(settings, system, kind, dgps.series(0), x, q, state(6), c);
            PreviousQuality[system] = q;
            if (w->chkAgeOff.value < 1) {
                // The age line breaks where the fix crosses between autonomous and differential.
                if (transition) dgps.series(1).addNullXY(x, 0);
                AddChartPoint(settings, system, kind, dgps.series(1), x, age, state(7));
            }
            UpdateGanttGGA(system, dgps.series(2), x, station);
        } else {
            AddChartPoint(settings, system, kind, dgps.series(1), x, age, state(7));
            UpdateGanttGNS(system, dgps.series(2), x, station);
        }
        // The station axis only grows, holding every identifier seen with a margin of one.
        if (station != MissingValue) {
            Axis& right = dgps.rightAxis();
            const double id = station;
            if (id + 1 > right.maximum()) {
                if (right.minimum() > id) right.setMinimum(id - 1);
                right.setMaximum(id + 1);
            }
            if (id - 1 < right.minimum()) right.setMinimum(id - 1);
        }
    }
    autoFilterByPointCount(*w, system, kind);
}

void TimeSeriesEngine::UpdateGanttGGA(int system, Series& series, double x, std::int32_t value) {
    updateGantt(ganttGGA, settings.GanttResetGGA[system], system, series, x, value);
}

void TimeSeriesEngine::UpdateGanttGNS(int system, Series& series, double x, std::int32_t value) {
    updateGantt(ganttGNS, settings.GanttResetGNS[system], system, series, x, value);
}

void TimeSeriesEngine::updateGantt(GanttSlots& slots, bool& reset, int system, Series& series, double x,
                                   std::int32_t value) {
    if (reset) {
        for (auto& perSystem : slots) perSystem.fill(GanttSlot{});
        reset = false;
    }
    GanttSlot* slot = nullptr;
    for (GanttSlot& candidate : slots[system]) {
        if (candidate.SlotTitle == series.title()) {
            slot = &candidate;
            break;
        }
        if (candidate.SlotTitle.empty()) {
            candidate.SlotTitle = series.title();
            slot = &candidate;
            break;
        }
    }
    if (!slot) return;
    if (value == MissingValue || value == 0) {
        slot->RunValue = value;
        return;
    }
    // A new identifier opens a run; so does an epoch before the run's start (the epoch
    // stepped back), whose bar would otherwise reach back across the step for good.
    if (value != slot->RunValue || x < slot->RunStart) {
        slot->RunValue = value;
        slot->RunStart = x;
        return;
    }
    // One bar per run, lengthened in place: the run's bar of the previous epoch gives way.
    const int last = series.count() - 1;
    if (last >= 0 && series.x(last) == slot->RunStart && series.y(last) == value) series.deletePoint(last);
    series.addGantt(slot->RunStart, x, value);
    while (series.count() > 1 && std::llround((x - series.endValue(0)) * 86400.0) > 86400) series.deletePoint(0);
}

}  // namespace tiderune
