// Repaint times offscreen at 1920x1200: a window of four stacked charts whose series hold a
// day of 10 Hz data (864,000 points each, laid out like the position window: a line with
// its average and deviation lines and a band, three lines, colour-coded bars with a line,
// quality bars with a line and station run bars), and a window of 32 small charts (bars and
// two lines each, a day at one point per second).
#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/chart_scale.h"
#include "platform/qt/chart_painter.h"
#include "platform/qt/chart_widget.h"
#include "resident_memory.h"

using namespace tiderune;

namespace {

constexpr int DayAt10Hz = 864000;
const double Start = dateValue(2026, 12, 8);

using bench::residentKiB;

void fillLine(Series& s, int n, double step, double phase, double scale) {
    for (int i = 0; i < n; ++i) {
        const double x = Start + i * step;
        if (i % 50000 == 49999) s.addNullXY(x, 0);
        else s.addXY(x, scale * (1.5 + std::sin(i * 0.0007 + phase) + 0.3 * std::sin(i * 0.31)));
    }
}

void buildFour(Chart& c0, Chart& c1, Chart& c2, Chart& c3, int n) {
    const double step = 0.1 / SecondsPerDay;
    for (Chart* c : {&c0, &c1, &c2, &c3}) c->bottomAxis().setDateTimeFormat("hh:nn");
    {
        Series& dRad = c0.addSeries(SeriesKind::Line);
        dRad.setTitle("dRad");
        dRad.setColour(colours::Red);
        fillLine(dRad, n, step, 0, 1);
        Series& avg = c0.addSeries(SeriesKind::FastLine);
        avg.setTitle("Avg");
        avg.setColour(colours::Black);
        avg.linePen().style = PenStyle::Dash;
        avg.setFunction(SeriesFunction::Average, &dRad);
        Series& dev = c0.addSeries(SeriesKind::FastLine);
        dev.setTitle("sDev");
        dev.setColour(colours::Yellow);
        dev.setFunction(SeriesFunction::StdDeviation, &dRad);
        c0.addColorLine(c0.leftAxis()).setValue(dRad.mean());
        Tool& band = c0.addColorBand(c0.leftAxis());
        band.setTransparency(60);
        band.setStartValue(dRad.mean() - dRad.stdDeviation());
        band.setEndValue(dRad.mean() + dRad.stdDeviation());

        const char* titles[] = {"dLat", "dLon", "dh"};
        const Colour cols[] = {colours::Blue, colours::Green, colours::Yellow};
        for (int k = 0; k < 3; ++k) {
            Series& s = c1.addSeries(SeriesKind::Line);
            s.setTitle(titles[k]);
            s.setColour(cols[k]);
            fillLine(s, n, step, k, k - 1.0);
        }

        Series& svs = c2.addSeries(SeriesKind::Bar);
        svs.setTitle("Svs (Color-coded)");
        svs.setColour(rgb(255, 255, 128));
        svs.setOutline(false, 0);
        svs.setGradient(true);
        for (int i = 0; i < n; ++i) {
            const int v = 3 + (i / 20000) % 10;
            svs.addXY(Start + i * step, v, {}, v > 4 ? SeriesColour : v == 4 ? 0xFF00FF : 0x0000FF);
        }
        Series& hdop = c2.addSeries(SeriesKind::Line);
        hdop.setTitle("hdop");
        hdop.setColour(colours::Green);
        fillLine(hdop, n, step, 2, 0.5);

        Series& q = c3.addSeries(SeriesKind::Bar);
        q.setTitle("Quality (Color-coded)");
        q.setColour(colours::Blue);
        q.setOutline(false, 0);
        for (int i = 0; i < n; ++i) q.addXY(Start + i * step, 1 + (i / 30000) % 5, {}, (i / 30000) % 5 == 0 ? 0x0000FF : SeriesColour);
        Series& age = c3.addSeries(SeriesKind::Line);
        age.setTitle("Age");
        age.setColour(rgb(255, 0, 128));
        fillLine(age, n, step, 3, 4);
        Series& stn = c3.addSeries(SeriesKind::Gantt);
        stn.setTitle("Stn ID");
        stn.setColour(colours::Black);
        stn.setVerticalAxis(VerticalAxis::Right);
        double runStart = Start;
        for (int i = 1; i < n; ++i) {
            const int id = 100 + (i / 100000) % 3;
            if (i % 100000 == 0) runStart = Start + i * step;
            else stn.addGantt(runStart, Start + i * step, id);
        }
    }
}

struct FourCharts {
    std::vector<std::unique_ptr<Chart>> charts;
    FourCharts(int n) {
        for (int c = 0; c < 4; ++c) {
            charts.push_back(std::make_unique<Chart>());
            charts.back()->setIndex(c);
        }
        buildFour(*charts[0], *charts[1], *charts[2], *charts[3], n);
    }
};

void paintStack(std::vector<std::unique_ptr<Chart>>& charts, QImage& img, int columns) {
    QPainter p(&img);
    ChartPainter painter;
    const int rows = static_cast<int>((charts.size() + columns - 1) / columns);
    const int w = img.width() / columns, h = img.height() / rows;
    for (std::size_t i = 0; i < charts.size(); ++i) {
        const int r = static_cast<int>(i) / columns, c = static_cast<int>(i) % columns;
        painter.paint(p, *charts[i], QRect(c * w, r * h, w, h));
    }
}

void BM_RepaintFourChartsDay10Hz(benchmark::State& state) {
    const long before = residentKiB();
    FourCharts w(DayAt10Hz);
    const long after = residentKiB();
    QImage img(1920, 1200, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) paintStack(w.charts, img, 1);
    state.counters["points_per_series"] = DayAt10Hz;
    state.counters["MiB_for_window"] = static_cast<double>(after - before) / 1024.0;
    if (state.range(0)) img.save("chart_paint_bench_4charts.png");
}
BENCHMARK(BM_RepaintFourChartsDay10Hz)->Arg(0)->Unit(benchmark::kMillisecond);

// The same window zoomed into its last ten minutes.
void BM_RepaintFourChartsZoomed(benchmark::State& state) {
    FourCharts w(DayAt10Hz);
    for (auto& c : w.charts) {
        const double end = Start + DayAt10Hz * 0.1 / SecondsPerDay;
        c->bottomAxis().setMinMax(end - 600 / SecondsPerDay, end);
    }
    QImage img(1920, 1200, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) paintStack(w.charts, img, 1);
}
BENCHMARK(BM_RepaintFourChartsZoomed)->Unit(benchmark::kMillisecond);

void BM_Repaint32SmallCharts(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<Chart>> charts;
    for (int c = 0; c < 32; ++c) {
        auto chart = std::make_unique<Chart>();
        chart->subTitle().addLine("GPS PRN " + std::to_string(c + 1));
        chart->leftAxis().setAutomatic(false);
        chart->leftAxis().setMaximum(90);
        chart->rightAxis().setAutomatic(false);
        chart->rightAxis().setMaximum(360);
        chart->legend().setVisible(false);
        chart->bottomAxis().setDateTimeFormat("hh:nn");
        Series& snr = chart->addSeries(SeriesKind::Bar);
        snr.setColour(rgb(255, 255, 128));
        snr.setOutline(false, 0);
        snr.setGradient(true);
        Series& el = chart->addSeries(SeriesKind::Line);
        el.setColour(colours::Blue);
        Series& az = chart->addSeries(SeriesKind::Line);
        az.setColour(colours::Black);
        az.setVerticalAxis(VerticalAxis::Right);
        const double step = 1 / SecondsPerDay;
        for (int i = 0; i < n; ++i) {
            const double x = Start + i * step;
            snr.addXY(x, 30 + 15 * std::sin(i * 0.001 + c));
            el.addXY(x, 45 + 40 * std::sin(i * 0.0001 + c));
            az.addXY(x, 180 + 170 * std::sin(i * 0.00005 + c));
        }
        charts.push_back(std::move(chart));
    }
    QImage img(1920, 1200, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) paintStack(charts, img, 4);
    state.counters["points_per_series"] = n;
}
BENCHMARK(BM_Repaint32SmallCharts)->Arg(86400)->Unit(benchmark::kMillisecond);

// The same four charts as widgets of one 1920x1200 window: one new point on every series
// (the oldest trimmed, as the 24-hour window does), then the window drawn as the screen
// would, through each chart's throttled repaint.
void BM_WindowNewPointAndRepaint(benchmark::State& state) {
    QWidget window;
    window.resize(1920, 1200);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ChartWidget* w[4];
    for (auto& c : w) {
        c = new ChartWidget(&window);
        layout->addWidget(c);
    }
    buildFour(w[0]->chart(), w[1]->chart(), w[2]->chart(), w[3]->chart(), DayAt10Hz);
    window.show();
    QImage img(1920, 1200, QImage::Format_ARGB32_Premultiplied);
    long i = DayAt10Hz;
    for (auto _ : state) {
        const double x = Start + i * 0.1 / SecondsPerDay;
        for (auto* cw : w) {
            Chart& c = cw->chart();
            for (int s = 0; s < c.seriesCount(); ++s) {
                Series& series = c.series(s);
                if (series.function() != SeriesFunction::None || series.kind() == SeriesKind::Gantt) continue;
                series.addXY(x, 1 + (i % 7));
                series.deletePoint(0);
            }
        }
        window.render(&img);
        ++i;
    }
}
BENCHMARK(BM_WindowNewPointAndRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
