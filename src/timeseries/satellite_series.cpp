#include "timeseries/satellite_series.h"

#include <cstdio>

#include "platform/chart_model.h"
#include "timeseries/time_series_engine.h"
#include "timeseries/time_series_form.h"

namespace tiderune {

Colour satelliteSeriesColour(int i, Colour first) {
    if (i <= 19) return defaultSeriesColour(i);
    const int k = i % 19;
    return k == 0 ? first : defaultSeriesColour(k);
}

void AddSatelliteSeries(TimeSeriesForm& window) {
    const FormDesign& design = window.design();
    for (int c = 0; c < window.ChartCount; ++c) {
        const SatelliteSeries kind = design.charts[static_cast<std::size_t>(c)].satellites;
        Chart& chart = window.TChart(c);
        if (kind == SatelliteSeries::None || chart.seriesCount() != 1) continue;
        const Colour first = chart.series(0).colour();
        for (int i = 1; i <= MaxPRN; ++i) {
            Series& s = chart.addSeries(SeriesKind::Line);
            char title[8];
            std::snprintf(title, sizeof title, "%02d", i);
            s.setTitle(title);
            const Colour colour =
                kind == SatelliteSeries::AsFirstChart ? window.TChart(0).series(i).colour() : satelliteSeriesColour(i, first);
            s.setColour(colour);
            if (kind == SatelliteSeries::OutlinedPalette) s.setOutline(true, colour);
        }
    }
}

void TimeSeriesEngine::TakeChartColours(const TimeSeriesForm& window) {
    const FormDesign& design = window.design();
    SatelliteRecords& table = SatelliteTable[window.system()];
    for (int c = 0; c < window.ChartCount; ++c) {
        const Chart& chart = window.TChart(c);
        if (design.charts[static_cast<std::size_t>(c)].satellites == SatelliteSeries::None) continue;
        if (chart.seriesCount() <= MaxPRN) continue;
        for (int i = 1; i <= MaxPRN; ++i) table[i].ChartColour = chart.series(i).colour();
    }
}

namespace {

// Series i of a chart with the satellite series; null when the chart has none.
Series* satelliteSeries(Chart& chart, int prn) { return chart.seriesCount() > prn ? &chart.series(prn) : nullptr; }

}  // namespace

void TimeSeriesEngine::UpdateTimeSeriesGSA(int system) {
    TimeSeriesForm* w = begin(system, chart_kind::GSA);
    if (!w) return;
    constexpr int K = chart_kind::GSA;
    const GSARecord& r = core_.NMEAMessages[system].GSA;
    const double x = ChartXValue[system];
    Chart& dops = w->TChart(0);
    AddChartPoint(settings, system, K, dops.series(0), x, r.PDOP, filters_[K][0][system]);
    AddChartPoint(settings, system, K, dops.series(1), x, r.HDOP, filters_[K][1][system]);
    AddChartPoint(settings, system, K, dops.series(2), x, r.VDOP, filters_[K][2][system]);
    Series& fix = dops.series(3);
    fix.setOutline(fix.outlinePen().visible, r.SelectionMode == 'M' ? colours::Yellow : colours::Black);
    AddChartPoint(settings, system, K, fix, x, r.FixType, filters_[K][3][system]);

    // Each used satellite draws a line at the height of its number. A slot without a
    // satellite number from 1 to 151 (0 included) is empty.
    Chart& used = w->TChart(1);
    IndexedArray<bool, 1, MaxPRN> listed{};
    auto& states = satelliteFilters_[system];
    for (int i = 1; i <= 12; ++i) {
        const std::int16_t prn = r.PRN[i];
        if (!isTablePRN(prn)) continue;
        if (Series* s = satelliteSeries(used, prn)) AddChartPoint(settings, system, K, *s, x, prn, states[prn].used);
        listed[prn] = true;
    }
    // A satellite that left the fix ends its line; a sentence of another constellation says
    // nothing of it.
    const GsaScope scope(r, GSANamedBefore[system]);
    GSANamedBefore[system] = scope.named();
    auto& previous = GSAUsedPrevious[system];
    for (int prn = 1; prn <= 99; ++prn) {
        if (!scope.covers(prn)) continue;
        if (previous[prn] && !listed[prn])
            if (Series* s = satelliteSeries(used, prn)) s->addNullXY(x, 0);
        previous[prn] = listed[prn];
    }
    autoFilterByPointCount(*w, system, K);
}

void TimeSeriesEngine::UpdateTimeSeriesGSV(int system) {
    const GSVRecord& r = core_.NMEAMessages[system].GSV;
    if (!isGroupEnd(r)) return;
    TimeSeriesForm* w = begin(system, chart_kind::GSV);
    if (!w) return;
    constexpr int K = chart_kind::GSV;
    const double x = ChartXValue[system];
    Chart& elevation = w->TChart(0);
    Chart& azimuth = w->TChart(1);
    Chart& snr = w->TChart(2);
    const SatelliteRecords& table = SatelliteTable[system];
    auto& states = satelliteFilters_[system];
    if (elevation.seriesCount() > MaxPRN && azimuth.seriesCount() > MaxPRN && snr.seriesCount() > MaxPRN) {
        // Another constellation's group feeds none of these: only the talker's own numbers are
        // gone over, its name read once for the whole group.
        GsvCoverage(r.Talker).forEachCovered(MaxPRN, [&](int prn) {
            const SatelliteRecord& sat = table[prn];
            if (sat.Elevation == 0) return;  // not in view, or right on the horizon
            AddChartPoint(settings, system, K, elevation.series(prn), x, sat.Elevation, states[prn].elevation);
            AddChartPoint(settings, system, K, azimuth.series(prn), x, sat.Azimuth, states[prn].azimuth);
            AddChartPoint(settings, system, K, snr.series(prn), x, sat.SNR, states[prn].snr);
        });
    }
    Series& inView = snr.series(0);
    AddChartPoint(settings, system, K, inView, x, r.SatellitesInView, filters_[K][0][system]);
    autoFilterByCount(*w, system, K, inView.count());
}

void TimeSeriesEngine::UpdateTimeSeriesSNR(int system, int prn) {
    ChartXValue[system] = core_.EpochTime[system];
    const SNRChartPlace place = snrChartOf(prn);
    if (place.constellation == 0) return;
    // The SNR windows follow the GSV window's filter and time-axis choices.
    constexpr int K = chart_kind::GSV;
    const std::int16_t length = settings.FilterLength[K][system];
    const double x = ChartXValue[system];
    const SatelliteRecord& sat = SatelliteTable[system][prn];
    SatelliteFilters& f = satelliteFilters_[system][prn];
    // A satellite out of view gets zeros, so every satellite has a point at every group.
    const bool inView = sat.Elevation != 0;
    const double values[3] = {inView ? sat.SNR : 0.0, inView ? sat.Elevation : 0.0, inView ? sat.Azimuth : 0.0};
    SeriesFilter* states[3] = {&f.snrSnr, &f.snrElevation, &f.snrAzimuth};
    auto& newRun = snrNewRun_[system][prn];
    // A missing value adds nothing, so it cannot take the old pass's points back either: the
    // series' first value of the run does, as the 24-hour window does for a point dated
    // before the run's first date.
    bool restart[3], due[3];
    for (int i = 0; i < 3; ++i) {
        restart[i] = newRun[i] && values[i] != MissingValueD;
        due[i] = TakeSample(length, *states[i], values[i]);
    }
    // A group end feeds every satellite of its constellations, and under a filter most of
    // those samples only go into a decimation block: the chart is looked up only when there
    // is something to draw. Either way the samples are taken, with the window there or not.
    if (!restart[0] && !restart[1] && !restart[2] && !due[0] && !due[1] && !due[2]) return;
    Chart* chart = windows_.snrChart(system, place.constellation, place.chart);
    if (!chart || chart->seriesCount() < 3) return;
    for (int i = 0; i < 3; ++i) {
        Series& series = chart->series(i);
        if (restart[i]) {
            newRun[i] = false;
            RestartSeriesAt(series, x);
        }
        if (due[i]) AddDuePoint(series, x, *states[i]);
    }
}

void TimeSeriesEngine::UpdateTimeSeriesSNRGroup(int system, const GsvCoverage& group) {
    group.forEachCovered(MaxPRN - 1, [&](int prn) { UpdateTimeSeriesSNR(system, prn); });
}

void TimeSeriesEngine::MarkSNRSeriesForNewRun() {
    for (auto& system : snrNewRun_) system.fill({true, true, true});
}

void TimeSeriesEngine::RestartDecimation() {
    for (auto& kind : filters_)
        for (auto& slot : kind) slot.fill(SeriesFilter{});
    for (auto& system : satelliteFilters_) system.fill(SatelliteFilters{});
    // What the last pass left of its last sentences would mark the new pass's first points:
    // a DGPS transition (a break in the age line) or satellites leaving the fix.
    PreviousQuality = {};
    for (auto& system : GSAUsedPrevious) system = {};
    GSANamedBefore = {};
}

}  // namespace tiderune
