// Draws an example picture of the chart control: the four charts of a position window
// (offset with its average, deviation and band; north, east and height; colour-coded
// satellite bars with HDOP; quality bars, correction age and station runs) over six hours,
// beside a sky plot on the drawing surface. Everything is made up here.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/chart_scale.h"
#include "platform/qt/chart_painter.h"
#include "platform/qt/drawing_surface_qt.h"

using namespace tiderune;

namespace {

void designCommon(Chart& c, int index) {
    c.setIndex(index);
    c.setMarginRight(4);
    c.leftAxis().setIncrement(0.1);
    c.bottomAxis().setDateTimeFormat("hh:nn");
}

void drawSkyplot(ImageDrawingSurface& s) {
    s.setKeepAsBackground(true);
    s.setDrawWidth(1);
    s.setForeColour(colours::Blue);
    s.setScale(-90, 90, 90, -90);
    s.line(-90, 0, 90, 0);
    s.line(0, -90, 0, 90);
    s.circle(0, 0, 30);
    s.print(" 90\xB0");
    s.setCurrentY(-30);
    s.print(" 60\xB0");
    s.circle(0, 0, 60);
    s.setCurrentY(-60);
    s.print(" 30\xB0");
    s.circle(0, 0, 90);
    const int mask = 10;
    s.setForeColour(colours::Red);
    s.setDrawStyle(PenStyle::Dash);
    s.circle(0, 0, 90 - mask);
    s.setCurrentY(mask - 90);
    s.print("10\xB0");
    s.setKeepAsBackground(false);
    s.setDrawWidth(5);
    s.setForeColour(colours::Black);
    s.setDrawStyle(PenStyle::Solid);
    const struct { int prn, el, az; bool used; } sats[] = {
        {3, 67, 40, true}, {7, 25, 300, true}, {9, 48, 130, true}, {16, 12, 200, false},
        {22, 80, 250, true}, {27, 33, 75, true}, {30, 6, 330, false}};
    for (const auto& v : sats) {
        const double r = 90 - v.el, a = v.az * 0.017453292519944444;
        s.setForeColour(v.used ? colours::Black : colours::Red);
        s.point(r * std::sin(a), r * std::cos(a));
        s.print(" " + std::to_string(v.prn) + " ");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const char* out = argc > 1 ? argv[1] : "chart-example.png";

    std::vector<std::unique_ptr<Chart>> charts;
    for (int i = 0; i < 4; ++i) {
        charts.push_back(std::make_unique<Chart>());
        designCommon(*charts.back(), i);
    }
    Chart& c0 = *charts[0];
    c0.leftAxis().setAutomaticMinimum(false);
    c0.leftAxis().setMinimum(0);
    Series& dRad = c0.addSeries(SeriesKind::Line);
    dRad.setTitle("dRad");
    dRad.setColour(colours::Red);
    Series& avg = c0.addSeries(SeriesKind::FastLine);
    avg.setTitle("Avg");
    avg.setColour(colours::Black);
    avg.linePen().style = PenStyle::Dash;
    avg.setFunction(SeriesFunction::Average, &dRad);
    Series& sdev = c0.addSeries(SeriesKind::FastLine);
    sdev.setTitle("sDev");
    sdev.setColour(colours::Yellow);
    sdev.setFunction(SeriesFunction::StdDeviation, &dRad);
    Tool& meanLine = c0.addColorLine(c0.leftAxis());
    Tool& band = c0.addColorBand(c0.leftAxis());
    band.setColour(rgb(255, 255, 128));
    band.setTransparency(60);

    Chart& c1 = *charts[1];
    Series* offsets[3];
    const char* titles[] = {"dLat", "dLon", "dh"};
    const Colour cols[] = {colours::Blue, colours::Green, colours::Yellow};
    for (int k = 0; k < 3; ++k) {
        offsets[k] = &c1.addSeries(SeriesKind::Line);
        offsets[k]->setTitle(titles[k]);
        offsets[k]->setColour(cols[k]);
    }

    Chart& c2 = *charts[2];
    c2.leftAxis().setAutomatic(false);
    c2.leftAxis().setMaximum(14);
    Series& svs = c2.addSeries(SeriesKind::Bar);
    svs.setTitle("Svs (Color-coded)");
    svs.setColour(rgb(255, 255, 128));
    svs.setOutline(false, 0);
    svs.setGradient(true);
    Series& hdop = c2.addSeries(SeriesKind::Line);
    hdop.setTitle("hdop");
    hdop.setColour(colours::Green);

    Chart& c3 = *charts[3];
    c3.setMarginRight(1);
    c3.leftAxis().setAutomaticMinimum(false);
    c3.leftAxis().setMinimum(0);
    Series& quality = c3.addSeries(SeriesKind::Bar);
    quality.setTitle("Quality (Color-coded)");
    quality.setColour(colours::Blue);
    quality.setOutline(false, 0);
    quality.setGradient(true);
    Series& age = c3.addSeries(SeriesKind::Line);
    age.setTitle("Age");
    age.setColour(rgb(255, 0, 128));
    Series& stn = c3.addSeries(SeriesKind::Gantt);
    stn.setTitle("Stn ID");
    stn.setColour(colours::Black);
    stn.setVerticalAxis(VerticalAxis::Right);
    stn.setGanttHeight(3);
    c3.rightAxis().setAutomatic(false);
    c3.rightAxis().setMaximum(401);
    c3.rightAxis().setMinimum(399);

    // Six hours at one fix per second, with a loss of corrections in the middle.
    const double t0 = dateValue(2026, 12, 8, 6, 0, 0);
    double runStart = t0;
    int runId = 0;
    int previousQuality = 0;
    for (int i = 0; i < 6 * 3600; ++i) {
        const double x = t0 + i / SecondsPerDay;
        const bool dgps = i < 9000 || i > 13000;
        const double spread = dgps ? 0.4 : 2.0;
        const double n = spread * std::sin(i * 0.0021) + 0.1 * std::sin(i * 0.37);
        const double e = spread * std::cos(i * 0.0017) + 0.1 * std::cos(i * 0.41);
        dRad.addXY(x, std::hypot(n, e));
        offsets[0]->addXY(x, n);
        offsets[1]->addXY(x, e);
        offsets[2]->addXY(x, 1.5 * std::sin(i * 0.0009));
        const int sats = 7 + static_cast<int>(4 * std::sin(i * 0.0004)) - (i > 15000 && i < 15600 ? 5 : 0);
        svs.addXY(x, sats, {}, sats > 4 ? SeriesColour : sats == 4 ? 0xFF00FF : 0x0000FF);
        hdop.addXY(x, 0.8 + 6.0 / sats);
        const int q = dgps ? 2 : 1;
        quality.addXY(x, q, {}, q < 2 ? 0x0000FF : SeriesColour);
        if ((q >= 2) != (previousQuality >= 2)) age.addNullXY(x, 0);
        previousQuality = q;
        if (dgps) age.addXY(x, 5 + 3 * std::sin(i * 0.004) + (i % 60 == 0 ? 2 : 0));
        const int id = dgps ? (i < 9000 ? 402 : 403) : 0;
        if (id == 0) runId = 0;
        else if (id == runId) stn.addGantt(runStart, x, id);
        else {
            runId = id;
            runStart = x;
        }
        if (id != 0 && id + 1 > c3.rightAxis().maximum()) {
            if (c3.rightAxis().minimum() > id) c3.rightAxis().setMinimum(id - 1);
            c3.rightAxis().setMaximum(id + 1);
        }
        if (id != 0 && id - 1 < c3.rightAxis().minimum()) c3.rightAxis().setMinimum(id - 1);
    }
    meanLine.setValue(dRad.mean());
    band.setStartValue(dRad.mean() - dRad.stdDeviation());
    band.setEndValue(dRad.mean() + dRad.stdDeviation());

    QImage img(1400, 820, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    ChartPainter painter;
    const int heights[] = {200, 210, 195, 200};
    int top = 5;
    for (int i = 0; i < 4; ++i) {
        painter.paint(p, *charts[static_cast<std::size_t>(i)], QRect(0, top, 1000, heights[i]));
        top += heights[i];
    }
    ImageDrawingSurface sky(QSize(380, 380));
    sky.setFont(p.font());
    drawSkyplot(sky);
    p.setPen(Qt::black);
    p.drawText(QRect(1010, 20, 380, 20), Qt::AlignCenter, "North");
    p.drawImage(1010, 45, sky.image());
    p.drawText(QRect(1010, 430, 380, 20), Qt::AlignCenter, "South");
    p.end();
    if (!img.save(out)) {
        std::fprintf(stderr, "cannot write %s\n", out);
        return 1;
    }
    return 0;
}
