#pragma once
// The time-series engine: after the pipeline has processed a sentence of a system, the
// updater of its type stamps the epoch time, moves the time axis, adds one point per series
// to the system's window of that type and, with the automatic filter in "Automatic" mode,
// adapts the decimation to the number of points.
#include <array>
#include <string>

#include "core/core_state.h"
#include "timeseries/chart_point.h"
#include "timeseries/chart_settings.h"
#include "timeseries/satellite_table.h"

namespace tiderune {

class TimeSeriesForm;

// How the engine reaches a window: through its slot, afresh for every sentence, so that a
// window re-created by a reset is the one fed. A window that is not loaded is loaded hidden.
class TimeSeriesWindows {
public:
    virtual ~TimeSeriesWindows() = default;
    virtual TimeSeriesForm* timeSeriesForm(int chartKind, int system) = 0;
    // Chart `chart` of the system's SNR window of a constellation (1-5), the window loaded
    // hidden for that constellation when it is not; null when the program has none.
    virtual Chart* snrChart(int /*system*/, int /*constellation*/, int /*chart*/) { return nullptr; }
};

class TimeSeriesEngine {
public:
    TimeSeriesEngine(CoreState& core, TimeSeriesWindows& windows) : core_(core), windows_(windows) {}

    // The entry from the pipeline, for every processed sentence.
    void UpdateTimeSeriesCharts(int system, SentenceType type);

    void UpdateTimeSeriesVTG(int system);
    void UpdateTimeSeriesGLL(int system, float horizontal, float north, float east);
    void UpdateTimeSeriesRMC(int system, float horizontal, float north, float east);
    void UpdateTimeSeriesHDT(int system, float headingDev);
    void UpdateTimeSeriesATT(int system, float headingDev);
    void UpdateTimeSeriesROT(int system);
    void UpdateTimeSeriesVHW(int system);
    void UpdateTimeSeriesDBT(int system);
    void UpdateTimeSeriesGST(int system);
    void UpdateTimeSeriesGGA(int system, float horizontal, float north, float east, float heightDiff,
                             const GGARecord& record);
    void UpdateTimeSeriesGNS(int system, float horizontal, float north, float east, float heightDiff,
                             const GNSRecord& record);

    // The station run bars of a system's GGA or GNS window: a run opens with the first epoch
    // of a new identifier and shows, from its second epoch on, as one bar from its start to
    // the current epoch; 0 or -9999 ends it. Bars that ended more than a day before the
    // newest epoch are dropped.
    struct GanttSlot {
        std::string SlotTitle;  // the title of the series owning the slot; empty when free
        double RunStart = 0;    // x of the run's first epoch
        double RunValue = 0;    // the run's identifier; 0 or -9999 with no run open
    };
    using GanttSlots = PerSystem<std::array<GanttSlot, 6>>;
    void UpdateGanttGGA(int system, Series& series, double x, std::int32_t value);
    void UpdateGanttGNS(int system, Series& series, double x, std::int32_t value);
    GanttSlots ganttGGA, ganttGNS;
    // The GGA fix quality of the last update that fed the DGPS chart.
    PerSystem<std::int16_t> PreviousQuality;

    // The satellite series: DOPs, fix type and satellites used (GSA); satellites in view
    // and each satellite's elevation, azimuth and SNR at the end of a GSV group, from
    // SatelliteTable; and a satellite's SNR window chart, fed by the sky plot's group end.
    void UpdateTimeSeriesGSA(int system);
    void UpdateTimeSeriesGSV(int system);
    void UpdateTimeSeriesSNR(int system, int prn);
    // The same for every satellite from 1 to MaxPRN - 1 that `group` covers, as a group's end
    // feeds them.
    void UpdateTimeSeriesSNRGroup(int system, const GsvCoverage& group);
    // A new run begins (the resets, the start of a replay): the SNR windows keep their
    // points, but each satellite's first group of the run takes back the points from its
    // time on, so that replaying a recording again replaces the earlier pass instead of
    // piling a second one onto it.
    void MarkSNRSeriesForNewRun();
    // A replay starts the recording from its beginning: no decimation block of the last run
    // may lend its samples to the new one, and neither the last fix quality nor the last
    // satellites in use may mark its first points, so that each replay of the same lines
    // draws the same points.
    void RestartDecimation();
    // A GSA or GSV window just loaded: its satellites' series colours into SatelliteTable.
    void TakeChartColours(const TimeSeriesForm& window);

    SatelliteTables SatelliteTable;
    // Satellites listed in the previous GSA sentence of their constellation (1-99 only), and
    // the constellations the system's previous GSA sentence named (GsaScope).
    PerSystem<IndexedArray<bool, 1, MaxPRN>> GSAUsedPrevious;
    PerSystem<unsigned> GSANamedBefore;

    ChartSettings settings;
    PerSystem<double> ChartXValue;
    AxisDialogTarget axisDialog;

    // Per window kind up to eight series states, each per system; a kind's updater numbers
    // its series in the order it feeds them.
    static constexpr int MaxFedSeries = 8;
    SeriesFilter& filter(int kind, int slot, int system) { return filters_[kind][slot][system]; }

    CoreState& core() { return core_; }

private:
    struct Feed {
        int chart;
        int series;
        double value;
    };
    // Steps 1 to 2 of every updater: the x of the sentence and the time axis. Null when the
    // window cannot be had.
    TimeSeriesForm* begin(int system, int kind);
    void feed(TimeSeriesForm& window, int system, int kind, std::initializer_list<Feed> feeds);
    void autoFilterByPointCount(TimeSeriesForm& window, int system, int kind);
    void autoFilterByCount(TimeSeriesForm& window, int system, int kind, int n);
    void updatePosition(int system, int kind, float horizontal, float north, float east, float heightDiff,
                        std::int16_t satellites, float hdop, float age, std::int32_t station, const std::int16_t* quality);
    void updateGantt(GanttSlots& slots, bool& reset, int system, Series& series, double x, std::int32_t value);

    CoreState& core_;
    TimeSeriesWindows& windows_;
    IndexedArray<std::array<PerSystem<SeriesFilter>, MaxFedSeries>, 0, chart_kind::Last> filters_;

    // Per system and satellite. The SNR windows keep states of their own: sharing the GSV
    // window's would hand every other sample of a block to the other window, so that with a
    // filter of 2 one of them never got a point.
    struct SatelliteFilters {
        SeriesFilter used;  // GSA: satellites in use
        SeriesFilter elevation, azimuth, snr;  // GSV window
        SeriesFilter snrSnr, snrElevation, snrAzimuth;  // SNR windows
    };
    PerSystem<IndexedArray<SatelliteFilters, 1, MaxPRN>> satelliteFilters_;
    // Per system, satellite and series of its SNR chart: no value since the run began.
    PerSystem<IndexedArray<std::array<bool, 3>, 1, MaxPRN>> snrNewRun_;
};

}  // namespace tiderune
