// The scatter plot with a million points: one update (the model: range, axes, point, colour
// lines), one update with its repaint onto the kept image, and a whole redraw, at 385 x 385
// and 1200 x 1200 pixels. The SNR window: 32 charts laid out at 1920 x 1200 with a day at
// one point per second in every series, repainted as it stands and after a new point in
// every series. And the memory of a day of 1 Hz GSV groups with the sky plot open: every
// SNR series of one system (387, zeros included) full.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "charts/logic/snr_form.h"
#include "platform/chart_scale.h"
#include "platform/qt/chart_painter.h"
#include "platform/qt/chart_widget.h"
#include "resident_memory.h"
#include "timeseries/scatter.h"

using namespace tiderune;

namespace {

constexpr int Million = 1000000;
constexpr int DayAt1Hz = 86400;
const double Start = dateValue(2026, 12, 8);

using bench::residentKiB;

struct OneWidget : ScatterWindows {
    explicit OneWidget(int side) {
        widget.resize(side, side);
        widget.setIncrementalPoints(true);
        buildScatterChart(widget.chart());
        colours[1] = colours::Blue;
        update.LoadScatter(widget.chart(), 1);
    }
    Chart* scatterChart(int) override { return &widget.chart(); }
    ChartWidget widget;
    CoreState core;
    PerSystem<std::uint32_t> colours{};
    ScatterUpdate update{core, *this, colours};
    std::mt19937 gen{3};
    std::normal_distribution<float> spread{0, 1.5f};
    void add(int n) {
        for (int i = 0; i < n; ++i) update.UpdateScatter(1, spread(gen), spread(gen));
    }
};

void BM_ScatterUpdate(benchmark::State& state) {
    OneWidget w(385);
    w.add(Million);
    for (auto _ : state) w.add(1);
    state.counters["points"] = w.widget.chart().series(0).count();
}
BENCHMARK(BM_ScatterUpdate)->Unit(benchmark::kMicrosecond);

void BM_ScatterUpdateAndRepaint(benchmark::State& state) {
    OneWidget w(static_cast<int>(state.range(0)));
    w.add(Million);
    w.widget.renderImage();
    for (auto _ : state) {
        w.add(1);
        benchmark::DoNotOptimize(w.widget.renderImage());
    }
}
BENCHMARK(BM_ScatterUpdateAndRepaint)->Arg(385)->Arg(1200)->Unit(benchmark::kMicrosecond);

void BM_ScatterWholeRedraw(benchmark::State& state) {
    OneWidget w(static_cast<int>(state.range(0)));
    w.add(Million);
    for (auto _ : state) {
        w.widget.setIncrementalPoints(true);  // drops the kept image
        benchmark::DoNotOptimize(w.widget.renderImage());
    }
}
BENCHMARK(BM_ScatterWholeRedraw)->Arg(385)->Arg(1200)->Unit(benchmark::kMillisecond);

// One SNR chart's day: a satellite in view for some hours, zeros around.
void fillSatellite(Chart& c, int prn) {
    for (int i = 0; i < DayAt1Hz; ++i) {
        const double x = Start + i / SecondsPerDay;
        const bool inView = ((i / 3600 + prn) % 3) != 0;
        c.series(0).addXY(x, inView ? 30 + 10 * std::sin(i * 0.001 + prn) : 0);
        c.series(1).addXY(x, inView ? 45 + 40 * std::sin(i * 0.0002 + prn) : 0);
        c.series(2).addXY(x, inView ? std::fmod(i * 0.004 + prn * 11, 360) : 0);
    }
}

// The 32 charts of the window with their day of points, placed as the window places them.
struct SnrWindow {
    SnrWindow() {
        Config config;
        config.SNRSeriesCount[1] = 32;
        config.SNRSeriesColumns[1] = 3;
        for (int i = 1; i <= 32; ++i) config.SNRSeriesVisible[1][i] = true;
        ArrangeTimeSeries(config, 1, 1920 * 15, 1200 * 15, places);
        for (int i = 1; i <= 32; ++i) {
            charts.push_back(std::make_unique<Chart>());
            buildSnrChart(*charts.back());
            charts.back()->subTitle().clear();
            charts.back()->subTitle().addLine(snrChartHeading(1, i));
            fillSatellite(*charts.back(), i);
        }
    }
    void repaint() {
        QPainter p(&img);
        for (int i = 1; i <= 32; ++i) {
            const SnrChartPlace& pl = places[i];
            const QRect r(static_cast<int>(pl.left / 15), static_cast<int>(pl.top / 15), static_cast<int>(pl.width / 15),
                          static_cast<int>(pl.height / 15));
            painter.paint(p, *charts[static_cast<std::size_t>(i - 1)], r);
        }
    }
    std::vector<std::unique_ptr<Chart>> charts;
    SnrChartPlaces places;
    QImage img{1920, 1200, QImage::Format_ARGB32_Premultiplied};
    ChartPainter painter;
};

void BM_SNRWindowRepaint(benchmark::State& state) {
    SnrWindow w;
    for (auto _ : state) w.repaint();
}
BENCHMARK(BM_SNRWindowRepaint)->Unit(benchmark::kMillisecond);

// As the window runs: a new second in every series, the time axis moves, all is redrawn.
void BM_SNRWindowLiveRepaint(benchmark::State& state) {
    SnrWindow w;
    int second = DayAt1Hz;
    for (auto _ : state) {
        const double x = Start + second++ / SecondsPerDay;
        for (auto& c : w.charts)
            for (int s = 0; s < 3; ++s) c->series(s).addXY(x, 20 + s);
        w.repaint();
    }
}
BENCHMARK(BM_SNRWindowLiveRepaint)->Unit(benchmark::kMillisecond);

// The SNR windows of one system after a day of 1 Hz GSV groups with the sky plot open: 129
// charts (32 GPS, 32 SBAS, 32 GLONASS, 33 BeiDou with chart 0) of three series each, every
// series a point per group, zeros included.
void printDayOfSNRMemory() {
    const long before = residentKiB();
    std::vector<std::unique_ptr<Chart>> charts;
    for (int c = 0; c < 129; ++c) {
        charts.push_back(std::make_unique<Chart>());
        buildSnrChart(*charts.back());
    }
    for (int i = 0; i < DayAt1Hz; ++i) {
        const double x = Start + i / SecondsPerDay;
        for (auto& c : charts)
            for (int s = 0; s < 3; ++s) c->series(s).addXY(x, (i % 7) * s);
    }
    const long after = residentKiB();
    const double points = 129.0 * 3 * DayAt1Hz;
    // Each series' columns: x and y (8 bytes each), colour (4), null flag (1), in rings that
    // double from 16, so 86,400 points sit in 131,072 places; plus a summary and its extremes
    // per 16 points and per 256.
    const double ring = 131072.0 * (8 + 8 + 4 + 1) +
                        (131072.0 / 16 + 131072.0 / 256) * (sizeof(Series::Block) + sizeof(Series::Extremes));
    std::printf("SNR windows of one system after a day of 1 Hz GSV: %.1f M points, %.0f MB resident "
                "(%.1f bytes a point; the rings imply %.0f MB)\n",
                points / 1e6, (after - before) / 1024.0, (after - before) * 1024.0 / points, ring * 387 / 1048576.0);
}

// The distribution of the live repaints, each timed alone: a tick must never wait on one,
// so the slowest matters as much as the median. The first drawing (the window opening, with
// cold caches and first allocations) is told apart.
void printLiveRepaintDistribution(int repaints) {
    SnrWindow w;
    int second = DayAt1Hz;
    // Wall time; the drawing thread's own processor time, which the other work on a shared
    // machine does not inflate; and that of every thread, the pool's helpers included.
    auto cpuMs = [](clockid_t clock) {
        timespec t{};
        clock_gettime(clock, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    };
    std::vector<double> wall, cpu, all;
    for (int i = 0; i <= repaints; ++i) {
        const double x = Start + second++ / SecondsPerDay;
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuMs(CLOCK_THREAD_CPUTIME_ID), a0 = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
        for (auto& c : w.charts)
            for (int s = 0; s < 3; ++s) c->series(s).addXY(x, 20 + s);
        w.repaint();
        cpu.push_back(cpuMs(CLOCK_THREAD_CPUTIME_ID) - c0);
        all.push_back(cpuMs(CLOCK_PROCESS_CPUTIME_ID) - a0);
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::printf("SNR window live repaint at 1920 x 1200, a day a series, %d repaints (a new point each) after the\n"
                "first (%.1f ms wall, %.1f ms processor):\n",
                repaints, wall.front(), cpu.front());
    auto print = [&](const char* what, std::vector<double>& v) {
        v.erase(v.begin());
        std::sort(v.begin(), v.end());
        std::printf("  %s: median %.1f ms, 90 %% %.1f ms, 99 %% %.1f ms, max %.1f ms\n", what, v[v.size() / 2],
                    v[v.size() * 9 / 10], v[v.size() * 99 / 100], v.back());
    };
    print("wall time                     ", wall);
    print("processor time, drawing thread", cpu);
    print("processor time, all threads   ", all);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    printDayOfSNRMemory();
    printLiveRepaintDistribution(200);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
