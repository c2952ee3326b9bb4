// Point intake on chart series that already hold a day of 10 Hz data (864,000 points):
// the cost of one new point with the 24-hour trim, of the running average and deviation,
// and of reading an automatic axis range.
#include <benchmark/benchmark.h>

#include <cmath>

#include "platform/chart_model.h"
#ifdef TIDERUNE_BENCH_ENGINE
#include <unistd.h>

#include <fstream>
#include <map>
#include <memory>

#include "timeseries/chart_point.h"
#include "timeseries/time_series_engine.h"
#include "timeseries/time_series_form.h"
#endif

using namespace tiderune;

namespace {

constexpr int DayAt10Hz = 864000;
constexpr double Tick = 0.1 / 86400.0;  // 100 ms as a date value

double sample(long i) { return 2.0 + std::sin(i * 0.001) + 0.1 * ((i * 7919) % 13); }

void fillDay(Series& s) {
    for (long i = 0; i < DayAt10Hz; ++i) s.addXY(46000.0 + i * Tick, sample(i));
}

// A new point at the end of a full day, and the oldest point trimmed, as the engine's
// 24-hour window does at steady state.
void BM_AddPointFullDay(benchmark::State& state) {
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Line);
    fillDay(s);
    long i = DayAt10Hz;
    for (auto _ : state) {
        s.addXY(46000.0 + i * Tick, sample(i));
        s.deletePoint(0);
        ++i;
    }
    state.counters["points"] = s.count();
}
BENCHMARK(BM_AddPointFullDay);

// Appending only (the series grows past a day): includes the ring's occasional doubling.
void BM_AddPointGrowing(benchmark::State& state) {
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Line);
    fillDay(s);
    long i = DayAt10Hz;
    for (auto _ : state) {
        s.addXY(46000.0 + i * Tick, sample(i));
        ++i;
    }
}
BENCHMARK(BM_AddPointGrowing);

void BM_DeleteFront(benchmark::State& state) {
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Line);
    for (auto _ : state) {
        state.PauseTiming();
        fillDay(s);
        state.ResumeTiming();
        while (s.count() > 0) s.deletePoint(0);
    }
    state.SetItemsProcessed(state.iterations() * DayAt10Hz);
    state.counters["ns_per_delete"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * DayAt10Hz, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DeleteFront);

// The "Avg" and "sDev" lines follow their source: one new point, then both values read.
void BM_AverageAndDeviationFollow(benchmark::State& state) {
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Line);
    Series& avg = chart.addSeries(SeriesKind::FastLine);
    Series& dev = chart.addSeries(SeriesKind::FastLine);
    avg.setFunction(SeriesFunction::Average, &s);
    dev.setFunction(SeriesFunction::StdDeviation, &s);
    fillDay(s);
    long i = DayAt10Hz;
    double sink = 0;
    for (auto _ : state) {
        s.addXY(46000.0 + i * Tick, sample(i));
        s.deletePoint(0);
        sink += avg.y(0) + dev.y(0);
        ++i;
    }
    benchmark::DoNotOptimize(sink);
}
BENCHMARK(BM_AverageAndDeviationFollow);

// One new point, then the automatic ranges of the left and bottom axes read.
void BM_AutomaticRangeFollow(benchmark::State& state) {
    Chart chart;
    Series* series[3];
    for (auto& s : series) {
        s = &chart.addSeries(SeriesKind::Line);
        fillDay(*s);
    }
    long i = DayAt10Hz;
    double sink = 0;
    for (auto _ : state) {
        for (Series* s : series) {
            s->addXY(46000.0 + i * Tick, sample(i));
            s->deletePoint(0);
        }
        sink += chart.leftAxis().minimum() + chart.leftAxis().maximum() + chart.bottomAxis().maximum();
        ++i;
    }
    benchmark::DoNotOptimize(sink);
}
BENCHMARK(BM_AutomaticRangeFollow);

#ifdef TIDERUNE_BENCH_ENGINE
// The engine's point intake at steady state: a day of 10 Hz points already in the series,
// each call adds one through the decimation (Arg: block length, 0 for none) and trims the
// series back to 24 hours. With a block length N only every N-th call adds a point.
void BM_AddChartPoint(benchmark::State& state) {
    ChartSettings settings;
    settings.FilterLength[chart_kind::ROT][1] = static_cast<std::int16_t>(state.range(0));
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Line);
    fillDay(s);
    SeriesFilter filter;
    long i = DayAt10Hz;
    for (auto _ : state) {
        AddChartPoint(settings, 1, chart_kind::ROT, s, 46000.0 + i * Tick, sample(i), filter);
        ++i;
    }
    state.counters["points"] = s.count();
}
BENCHMARK(BM_AddChartPoint)->Arg(0)->Arg(5)->Arg(20);

long residentKiB() {
    std::ifstream in("/proc/self/statm");
    long pages = 0, resident = 0;
    in >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Windows made on first use, as the program's slots load them.
struct HeadlessWindows : TimeSeriesWindows {
    explicit HeadlessWindows(Config& c) : config(c) {}
    TimeSeriesForm* timeSeriesForm(int kind, int system) override {
        auto& w = forms[kind];
        if (!w) {
            w = std::make_unique<TimeSeriesForm>(*formDesign(kind), *settings, config);
            w->load(static_cast<std::int16_t>(system), "Bench");
            w->cmbFilter_Click(1);  // "Off": every sample a point
        }
        return w.get();
    }
    ChartSettings* settings = nullptr;
    Config& config;
    std::map<int, std::unique_ptr<TimeSeriesForm>> forms;
};

// A day at 10 Hz of every single-sentence type into the nine windows of one system, filter
// Off: the memory it takes beside what the series' columns hold (x, y, colour, null flag and
// the run summaries; the rings grow by doubling, so up to twice that).
void BM_DayIntoNineWindows(benchmark::State& state) {
    for (auto _ : state) {
        const long before = residentKiB();
        auto core = std::make_unique<CoreState>();
        SystemSetup& sys = core->config.Systems[1];
        for (SentenceType t : {SentenceType::VTG, SentenceType::GLL, SentenceType::RMC, SentenceType::HDT, SentenceType::ATT,
                               SentenceType::ROT, SentenceType::VHW, SentenceType::DBT, SentenceType::GST})
            sys.analysed(t) = true;
        HeadlessWindows real(core->config);
        TimeSeriesEngine fed(*core, real);
        real.settings = &fed.settings;
        NMEAMessageSet& m = core->NMEAMessages[1];
        for (long i = 0; i < DayAt10Hz; ++i) {
            core->EpochTime[1] = 46000.0 + i * Tick;
            const double v = sample(i);
            m.VTG.SpeedKnots = m.RMC.SpeedKnots = m.VHW.SpeedKnots = static_cast<float>(v);
            m.VTG.CourseTrue = m.RMC.CourseTrue = m.VHW.HeadingTrue = m.VHW.HeadingMagnetic = static_cast<float>(v * 90);
            m.ATT.Pitch = m.ATT.Roll = m.ROT.RateOfTurn = m.DBT.DepthMetres = static_cast<float>(v);
            m.GST.RMS = m.GST.SdLatitude = m.GST.SdLongitude = m.GST.SdAltitude = m.GST.SdSemiMajor = m.GST.SdSemiMinor =
                static_cast<float>(v);
            m.GST.Orientation = static_cast<std::int16_t>(i % 360);
            core->analysis.EpochValues[1] = {static_cast<float>(v), static_cast<float>(-v), static_cast<float>(v * 2), 0,
                                             static_cast<float>(v - 2), 0, 0};
            for (SentenceType t : {SentenceType::VTG, SentenceType::GLL, SentenceType::RMC, SentenceType::HDT,
                                   SentenceType::ATT, SentenceType::ROT, SentenceType::VHW, SentenceType::DBT,
                                   SentenceType::GST})
                fed.UpdateTimeSeriesCharts(1, t);
        }
        long points = 0;
        for (auto& [kind, form] : real.forms)
            for (int c = 0; c < form->ChartCount; ++c)
                for (int s = 0; s < form->TChart(c).seriesCount(); ++s) points += form->TChart(c).series(s).count();
        const double perPoint = 8 + 8 + 4 + 1 + (sizeof(Series::Block) / 16.0) + (sizeof(Series::Block) / 256.0);
        state.counters["points"] = static_cast<double>(points);
        state.counters["MiB_resident"] = (residentKiB() - before) / 1024.0;
        state.counters["MiB_columns"] = points * perPoint / (1024.0 * 1024.0);
    }
}
BENCHMARK(BM_DayIntoNineWindows)->Iterations(1)->Unit(benchmark::kSecond);

// The GGA window kept open for a day at 10 Hz (filter Off): every series of its four charts
// holds a day, the station runs change now and then; one GGA sentence's update at steady
// state (eight series, the run bars, the station axis, the 24-hour trim), and the memory of
// the window after the day.
void BM_GGAUpdateFullDay(benchmark::State& state) {
    const long before = residentKiB();
    auto core = std::make_unique<CoreState>();
    core->config.Systems[1].GGAAnalysed = true;
    HeadlessWindows windows(core->config);
    TimeSeriesEngine engine(*core, windows);
    windows.settings = &engine.settings;
    GGARecord& r = core->NMEAMessages[1].GGA;
    EpochValueSet& ev = core->analysis.EpochValues[1];
    long i = 0;
    auto sentence = [&] {
        core->EpochTime[1] = 46000.0 + i * Tick;
        const double v = sample(i);
        ev = {static_cast<float>(v), static_cast<float>(-v), static_cast<float>(v * 2), static_cast<float>(v / 2), 0, 0, 0};
        r.Quality = static_cast<std::int16_t>((i / 6000) % 3 == 0 ? 1 : 2);
        r.Satellites = static_cast<std::int16_t>(3 + (i / 100) % 10);
        r.HDOP = static_cast<float>(v / 3);
        r.DGPSAge = static_cast<float>(i % 50) / 10;
        r.StationID = static_cast<std::int32_t>(100 + (i / 36000) % 4);
        engine.UpdateTimeSeriesCharts(1, SentenceType::GGA);
        ++i;
    };
    for (long k = 0; k < DayAt10Hz; ++k) sentence();
    const long filled = residentKiB() - before;
    for (auto _ : state) sentence();
    TimeSeriesForm& w = *windows.forms[chart_kind::GGA];
    state.counters["dRad_points"] = w.TChart(0).series(0).count();
    state.counters["run_bars"] = w.TChart(3).series(2).count();
    state.counters["MiB_after_day"] = filled / 1024.0;
}
BENCHMARK(BM_GGAUpdateFullDay)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace

BENCHMARK_MAIN();
