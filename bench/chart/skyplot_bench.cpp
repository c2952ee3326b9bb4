// A GSV group of 40 satellites in view with the sky plot open: its table and trends, the
// group-end drawing, the GSV window's satellite series and every SNR window chart, each
// series holding a day of points so that every new point also trims the oldest. Reported
// per whole group (ten sentences through the intake) and for the group's last sentence.
// Then the sky plot's picture as the redraw tick paints it.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <memory>

#include "charts/logic/skyplot_form.h"
#include "core/intake.h"
#include "core/parsers.h"
#include "core/processing.h"
#include "../../tests/charts_logic/satellite_doubles.h"
#include "platform/qt/drawing_surface_qt.h"
#include "timeseries/time_series_form.h"

using namespace tiderune;

namespace {

constexpr double Second = 1.0 / 86400.0;
constexpr int Satellites = 40;
constexpr int DayPoints = 9000;  // a day of 1 Hz groups under the automatic filter

using test::SatelliteSink;
using test::Windows;

// 40 satellites over GPS, GLONASS, BeiDou and SBAS numbers, moving a little each group.
std::vector<std::string> group(int n) {
    static const int prns[Satellites] = {1,  3,  5,  7,  8,  10, 12, 14, 17, 19, 21, 22, 24, 25,
                                         28, 30, 32, 40, 44, 66, 67, 68, 70, 72, 75, 77, 80, 82,
                                         101, 103, 106, 108, 111, 114, 119, 122, 125, 127, 130, 132};
    std::vector<std::string> lines;
    for (int s = 0; s < Satellites / 4; ++s) {
        std::string body = "$GPGSV,10," + std::to_string(s + 1) + ",40";
        for (int i = 0; i < 4; ++i) {
            const int k = s * 4 + i;
            body += "," + std::to_string(prns[k]) + "," + std::to_string(5 + (k * 7 + n / 60) % 80) + "," +
                    std::to_string((k * 37 + n / 30) % 360) + "," + std::to_string(30 + (k + n) % 20);
        }
        lines.push_back(body + "*" + CalcChecksum(body));
    }
    return lines;
}

struct Bench {
    Bench() {
        core->analysis.clock = &clock;
        core->config.Mode = "OFFLINE";
        core->config.MessagesToAnalyse[1][1] = "GSA";
        core->config.MessagesToAnalyse[1][2] = "GSV";
        SetAnalysedMessageTypes(core->config, 1);
        core->config.WindowVisible[1][VisibleForms::Skyplot] = true;
        windows.engine = engine.get();
        windows.settings = &engine->settings;
        sink.engine = engine.get();
        sink.skyplot = &skyplot;
        surface.resize(QSize(216, 216));
        skyplot.load(1);
        core->EpochTime[1] = t;
        // One group puts every series in place; then each is filled with a day.
        feedGroup();
        TimeSeriesForm& gsv = *windows.timeSeriesForm(chart_kind::GSV, 1);
        gsv.cmbFilter_Click(1);  // "Off": every group end adds a point to every series
        auto fill = [&](Series& s) {
            s.clear();
            for (int i = 0; i < DayPoints; ++i) s.addXY(t - 86400 * Second + i * (86400.0 / DayPoints) * Second, 30 + i % 7);
        };
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i <= MaxPRN; ++i)
                if (i == 0 ? c == 2 : gsv.TChart(c).series(i).count() > 0) fill(gsv.TChart(c).series(i));
        for (auto& [key, chart] : windows.snr)
            for (int i = 0; i < 3; ++i) fill(chart->series(i));
    }
    void feedGroup(bool lastOnly = false) {
        const std::vector<std::string> lines = group(n++);
        core->EpochTime[1] = (t += Second);
        for (std::size_t i = lastOnly ? lines.size() - 1 : 0; i < lines.size(); ++i)
            ProcessSentence(*core, sink, ais, 1, lines[i]);
    }
    struct Clock final : PcClock {
        double now() const override { return 46000.5; }
    } clock;
    std::unique_ptr<CoreState> core = std::make_unique<CoreState>();
    Windows windows{core->config, "Bench"};
    std::unique_ptr<TimeSeriesEngine> engine = std::make_unique<TimeSeriesEngine>(*core, windows);
    ImageDrawingSurface surface;
    SkyplotForm skyplot{*core, *engine, surface};
    SatelliteSink sink;
    NullAisServices ais;
    double t = 46000.5;
    int n = 0;
};

void BM_GsvGroupOf40(benchmark::State& state) {
    Bench b;
    for (auto _ : state) b.feedGroup();
    state.counters["SNR charts"] = static_cast<double>(b.windows.snr.size());
}
BENCHMARK(BM_GsvGroupOf40)->Unit(benchmark::kMillisecond);

// The group's last sentence alone, with the rest of the group already taken in.
void BM_GsvGroupEnd(benchmark::State& state) {
    Bench b;
    for (auto _ : state) {
        state.PauseTiming();
        const std::vector<std::string> lines = group(b.n);
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) ProcessSentence(*b.core, b.sink, b.ais, 1, lines[i]);
        state.ResumeTiming();
        b.feedGroup(true);
    }
}
BENCHMARK(BM_GsvGroupEnd)->Unit(benchmark::kMillisecond);

// The picture the redraw tick shows after a group end: background kept, 40 satellites drawn.
void BM_SkyplotPicture(benchmark::State& state) {
    Bench b;
    for (auto _ : state) {
        state.PauseTiming();
        b.feedGroup(true);
        state.ResumeTiming();
        benchmark::DoNotOptimize(b.surface.image().constBits());
    }
}
BENCHMARK(BM_SkyplotPicture)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
