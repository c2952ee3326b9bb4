// The chart on screen, offscreen: what it draws (pixels) and what the mouse makes of it
// (axis clicks, rubber-band zoom and its undo, scrolling).
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>
#include <QThreadPool>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "platform/qt/chart_widget.h"
#include "platform/qt/fitting_label.h"

// Rectangles in failure messages as places, not bytes.
inline void PrintTo(const QRect& r, std::ostream* o) {
    *o << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

using namespace tiderune;

namespace {

bool near(QRgb p, QColor c, int tol = 40) {
    return std::abs(qRed(p) - c.red()) <= tol && std::abs(qGreen(p) - c.green()) <= tol &&
           std::abs(qBlue(p) - c.blue()) <= tol;
}

// Pixels of a colour in a column band [x0, x1] of the image, any row of the plot.
int countIn(const QImage& img, const QRect& area, QColor c, int tol = 40) {
    int n = 0;
    const QRect r = area.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (near(img.pixel(x, y), c, tol)) ++n;
    return n;
}

// Where two drawings differ: the count of pixels and the first of them, empty when alike.
std::string difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "sizes differ";
    int n = 0;
    std::string first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && n++ == 0)
                first = " first at " + std::to_string(x) + "," + std::to_string(y);
    return n ? std::to_string(n) + " pixels differ," + first : std::string();
}

// A chart with fixed axes 0..10 both ways, so that values map to known pixels.
struct FixedChart {
    ChartWidget w;
    FixedChart() {
        w.resize(400, 300);
        Chart& c = w.chart();
        c.legend().setVisible(false);
        for (Axis* a : {&c.leftAxis(), &c.bottomAxis()}) {
            a->setAutomatic(false);
            a->setMaximum(10);
            a->setMinimum(0);
        }
    }
    QPoint at(double x, double y) {
        const auto& l = w.layout();
        return QPoint(static_cast<int>(l.axes[3].map.toPixel(x)), static_cast<int>(l.axes[0].map.toPixel(y)));
    }
};

TEST(ChartWidgetDrawing, ALineBreaksAtANullPoint) {
    FixedChart f;
    Series& s = f.w.chart().addSeries(SeriesKind::Line);
    s.setColour(colours::Red);
    for (int x = 0; x <= 10; ++x) {
        if (x == 5) s.addNullXY(x, 5);
        else s.addXY(x, 5);
    }
    QImage img = f.w.renderImage();
    const int y = f.at(0, 5).y();
    auto redNear = [&](double x) {
        const int px = f.at(x, 5).x();
        return countIn(img, QRect(px - 1, y - 1, 3, 3), QColor(Qt::red)) > 0;
    };
    EXPECT_TRUE(redNear(2.5));
    EXPECT_TRUE(redNear(8.5));
    EXPECT_FALSE(redNear(4.5)) << "no segment into the null point";
    EXPECT_FALSE(redNear(5.5)) << "no segment out of the null point";

    // Once the null point is deleted, the line runs through.
    s.deletePoint(5);
    img = f.w.renderImage();
    EXPECT_TRUE(redNear(5));
}

TEST(ChartWidgetDrawing, BandAndColourLineAreDrawnAtTheirValues) {
    FixedChart f;
    Chart& c = f.w.chart();
    Tool& band = c.addColorBand(c.leftAxis());
    band.setColour(rgb(0, 255, 0));
    band.setStartValue(2);
    band.setEndValue(4);
    Tool& line = c.addColorLine(c.leftAxis());
    line.setPen(colours::Blue, PenStyle::Solid, 3);
    line.setValue(7);
    const QImage img = f.w.renderImage();
    EXPECT_TRUE(near(img.pixel(f.at(5, 3)), QColor(0, 255, 0)));
    EXPECT_FALSE(near(img.pixel(f.at(5, 5)), QColor(0, 255, 0)));
    EXPECT_TRUE(near(img.pixel(f.at(5, 7)), QColor(Qt::blue)));

    // A transparent band lets what lies under it show through more.
    band.setTransparency(60);
    const QImage faded = f.w.renderImage();
    const QRgb p = faded.pixel(f.at(5, 3));
    EXPECT_GT(qRed(p), 100);
    EXPECT_GT(qGreen(p), 200);
}

TEST(ChartWidgetDrawing, BarsTakeTheirPointColours) {
    FixedChart f;
    Series& bars = f.w.chart().addSeries(SeriesKind::Bar);
    bars.setColour(colours::Blue);
    bars.setOutline(false, 0);
    bars.addXY(3, 6);
    bars.addXY(7, 6, {}, 0x0000FF);  // red as 0x00BBGGRR
    const QImage img = f.w.renderImage();
    EXPECT_TRUE(near(img.pixel(f.at(3, 3)), QColor(Qt::blue)));
    EXPECT_TRUE(near(img.pixel(f.at(7, 3)), QColor(Qt::red)));
    EXPECT_FALSE(near(img.pixel(f.at(7, 8)), QColor(Qt::red))) << "bars end at their value";
}

// Bars denser than the pixels read as a band, whether a point falls in every column or, with
// a longer decimation block, in every second or fourth; a gap in the data stays open.
TEST(ChartWidgetDrawing, DenseBarsStayABandWhereThePointsThinOut) {
    FixedChart f;
    Series& bars = f.w.chart().addSeries(SeriesKind::Bar);
    bars.setColour(colours::Blue);
    bars.setOutline(false, 0);
    bars.addXY(0, 6);
    f.w.renderImage();
    const double perPixel = 1.0 / (f.at(1, 0).x() - f.at(0, 0).x());
    ASSERT_TRUE(perPixel > 0.001 && perPixel < 1) << perPixel;
    // Steps in pixels: 0.7 (every column), then 1.8 and 3.6 (a filter of 5 and of 10 s at
    // 2 s a pixel), a gap of 12, then 1.8 again.
    const struct {
        double from, to, step;
    } runs[] = {{0.1, 2, 0.7}, {2, 5, 1.8}, {5, 7, 3.6}, {7 + 12 * perPixel, 9.9, 1.8}};
    for (const auto& r : runs)
        for (double x = r.from; x < r.to; x += r.step * perPixel) bars.addXY(x, 6);
    const QImage img = f.w.renderImage();
    const int y = f.at(0, 3).y();
    auto blue = [&](int px) { return near(img.pixel(px, y), QColor(Qt::blue)); };
    std::string holes;
    for (int px = f.at(0.2, 0).x(); px < f.at(6.9, 0).x(); ++px)
        if (!blue(px)) holes += std::to_string(px) + " ";
    EXPECT_EQ(holes, "") << "columns without their bar";
    const int gap = f.at(7, 0).x();
    for (int px = gap + 5; px < gap + 10; ++px) EXPECT_FALSE(blue(px)) << "the gap in the data at " << px;
}

TEST(ChartWidgetDrawing, GanttRunsAndTheAverageLine) {
    FixedChart f;
    Chart& c = f.w.chart();
    Series& g = c.addSeries(SeriesKind::Gantt);
    g.setColour(colours::Black);
    g.setGanttHeight(2);
    for (double end : {4.0, 6.0, 8.0}) g.addGantt(2, end, 5);  // one run growing to the right
    g.addGantt(9, 9.5, 2);
    Series& src = c.addSeries(SeriesKind::Point);
    src.setColour(colours::Lime);
    src.addXY(1, 6);
    src.addXY(9, 8);
    Series& avg = c.addSeries(SeriesKind::FastLine);
    avg.setColour(colours::Red);
    avg.setFunction(SeriesFunction::Average, &src);
    const QImage img = f.w.renderImage();
    auto colourAt = [&](double x, double y, QColor col) {
        const QPoint p = f.at(x, y);
        return countIn(img, QRect(p - QPoint(1, 1), QSize(3, 3)), col) > 0;
    };
    EXPECT_TRUE(colourAt(3, 5, Qt::black));
    EXPECT_TRUE(colourAt(7.5, 5, Qt::black));
    EXPECT_FALSE(colourAt(8.7, 5, Qt::black)) << "the run ends at the latest end";
    EXPECT_TRUE(colourAt(9.2, 2, Qt::black));
    EXPECT_TRUE(colourAt(5, 7, Qt::red)) << "the average of 6 and 8 across the source's span";
    EXPECT_FALSE(colourAt(0.5, 7, Qt::red));
}

TEST(ChartWidgetDrawing, TitlesAndAxisLabelsRender) {
    auto inkIn = [](const QImage& img, const QRect& r) { return countIn(img, r, QColor(Qt::black), 100); };
    ChartWidget w;
    w.resize(400, 300);
    Chart& c = w.chart();
    Series& s = c.addSeries(SeriesKind::Line);
    const double t0 = dateValue(2026, 12, 8, 10, 0, 0);
    for (int i = 0; i < 600; ++i) s.addXY(t0 + i / SecondsPerDay, i % 7);
    c.bottomAxis().setDateTimeFormat("hh:nn");
    QImage img = w.renderImage();
    const QRect plot = w.layout().plot;
    const QRect below(plot.left(), plot.bottom() + 6, plot.width(), 20);
    const QRect above(0, 0, 400, plot.top() - 1);
    EXPECT_GT(inkIn(img, below), 20) << "time labels under the plot";
    const int titleInkBefore = inkIn(img, above);

    c.title().addLine("Satellites in use");
    img = w.renderImage();
    EXPECT_GT(inkIn(img, QRect(0, 0, 400, w.layout().plot.top() - 1)), titleInkBefore + 20);

    c.bottomAxis().setLabelsVisible(false);
    img = w.renderImage();
    const QRect plot2 = w.layout().plot;
    EXPECT_LT(inkIn(img, QRect(plot2.left() + 10, plot2.bottom() + 6, plot2.width() - 20, 20)), 5);
}

// A square plot takes the shorter side of the room the axes leave and stands in its middle,
// in a wide chart and in a tall one alike.
TEST(ChartWidgetDrawing, ASquarePlotStandsInTheMiddleOfItsRoom) {
    for (const QSize size : {QSize(600, 300), QSize(300, 600)}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        FixedChart f;
        f.w.resize(size);
        f.w.renderImage();
        const QRect room = f.w.layout().plot;
        f.w.chart().setSquarePlot(true);
        f.w.renderImage();
        const QRect plot = f.w.layout().plot;
        const int side = std::min(room.width(), room.height());
        EXPECT_EQ(plot.size(), QSize(side, side));
        EXPECT_LE(std::abs(plot.center().x() - room.center().x()), 1);
        EXPECT_LE(std::abs(plot.center().y() - room.center().y()), 1);
    }
}

// Tick labels stand apart, a blank's width between labels side by side, and inside the chart:
// on a short axis with long texts, on an axis whose step needs more decimals than its ends,
// and on axes across a square plot whose end labels are kept inside the frame. They also read
// apart: no label reads like its neighbour, also on a time axis whose labels show hours and
// minutes only ("hh:nn", as the time-series windows have them) over spans from seconds to
// days, where those labels keep their format while the ticks are less than a day apart. Swept
// over chart sizes, as when a window is resized or maximized.
TEST(ChartWidgetDrawing, TickLabelsStandAndReadApartAtEverySize) {
    struct Case {
        const char* name;
        double min, max;
        double position;  // percent of the plot from its edge; 0 at the edge
        bool square;
        int height;
        int separation;      // percent of a label's height kept free between labels on top of each other
        int rowGap;          // pixels that leaves at least
        const char* format;  // the bottom axis's date format, "" for the widget's choice; numbers when none
    };
    const double t0 = dateValue(2026, 12, 9, 7, 59, 47);
    constexpr double second = 1 / SecondsPerDay, minute = 60 * second, hour = 60 * minute;
    const Case cases[] = {
        {"metres at the edge", -4.4, 4.4, 0, false, 240, 10, 0, nullptr},
        {"long numbers", 1000000, 1000009, 0, false, 240, 10, 0, nullptr},
        {"across a square plot", -3, 3, 50, true, 400, 20, 2, nullptr},
        {"tenths across a square plot", -4.4, 4.4, 50, true, 1100, 20, 2, nullptr},
        {"low and flat", -0.9, 0.9, 50, false, 70, 10, 0, nullptr},
        {"20 s in hh:nn", t0, t0 + 20 * second, 0, false, 240, 10, 0, "hh:nn"},
        {"20 s in HH:NN, typed in upper case", t0, t0 + 20 * second, 0, false, 240, 10, 0, "HH:NN"},
        {"20 s", t0, t0 + 20 * second, 0, false, 240, 10, 0, ""},
        {"90 s in hh:nn", t0, t0 + 90 * second, 0, false, 240, 10, 0, "hh:nn"},
        {"90 s", t0, t0 + 90 * second, 0, false, 240, 10, 0, ""},
        {"10 minutes in hh:nn", t0, t0 + 10 * minute, 0, false, 240, 10, 0, "hh:nn"},
        {"10 minutes", t0, t0 + 10 * minute, 0, false, 240, 10, 0, ""},
        {"an hour in hh:nn", t0, t0 + hour, 0, false, 240, 10, 0, "hh:nn"},
        {"6 hours in hh:nn", t0, t0 + 6 * hour, 0, false, 240, 10, 0, "hh:nn"},
        {"a day in hh:nn", t0, t0 + 24 * hour, 0, false, 240, 10, 0, "hh:nn"},
        {"a day", t0, t0 + 24 * hour, 0, false, 240, 10, 0, ""},
        {"3 days in hh:nn", t0, t0 + 72 * hour, 0, false, 240, 10, 0, "hh:nn"},
        {"3 days", t0, t0 + 72 * hour, 0, false, 240, 10, 0, ""},
        {"30 days in hh:nn", t0, t0 + 720 * hour, 0, false, 240, 10, 0, "hh:nn"},
    };
    // A label is left out only where it would touch: when every second tick's labels stand
    // apart, all of them are drawn, not every fifth's. The bottom axis's labels, at one width.
    const std::map<std::pair<std::string, int>, std::string> spots = {
        {{"metres at the edge", 453}, "-4.0 -3.0 -2.0 -1.0 0.0 1.0 2.0 3.0 4.0"},
        {{"across a square plot", 453}, "-3.0 -2.0 -1.0 0.0 1.0 2.0 3.0"},
    };
    const int blank = QFontMetrics(QFont()).horizontalAdvance(QLatin1Char(' '));
    const QRegularExpression hoursAndMinutes("^[0-2][0-9]:[0-5][0-9]$");
    for (const Case& k : cases) {
        for (int width = 120; width <= 1900; width += 37) {
            SCOPED_TRACE(std::string(k.name) + " at " + std::to_string(width) + " pixels");
            ChartWidget w;
            w.resize(width, k.height);
            Chart& c = w.chart();
            c.legend().setVisible(false);
            c.setSquarePlot(k.square);
            for (Axis* a : {&c.leftAxis(), &c.bottomAxis()}) {
                if (k.format && a == &c.leftAxis()) a->setMinMax(-1, 1);
                else a->setMinMax(k.min, k.max);
                a->setPositionPercent(k.position);
                a->setLabelsSeparation(k.separation);
            }
            if (k.format) {
                c.bottomAxis().setDateTime(true);
                c.bottomAxis().setDateTimeFormat(k.format);
            }
            w.renderImage();
            for (Axis* a : {&c.leftAxis(), &c.bottomAxis()}) {
                const std::vector<QRect>& labels = w.layout().find(a)->labels;
                const std::vector<QString>& texts = w.layout().find(a)->labelTexts;
                ASSERT_FALSE(labels.empty());
                ASSERT_EQ(texts.size(), labels.size());
                if (const auto spot = spots.find({k.name, width}); spot != spots.end() && a == &c.bottomAxis()) {
                    std::string shown;
                    for (const QString& t : texts) shown += (shown.empty() ? "" : " ") + t.toStdString();
                    EXPECT_EQ(shown, spot->second);
                }
                for (std::size_t i = 0; i < labels.size(); ++i) {
                    EXPECT_TRUE(w.rect().contains(labels[i])) << "label " << i << " cut";
                    const bool ownFormat = a->dateTime() && *k.format && k.max - k.min < 24 * hour;
                    if (ownFormat) {
                        EXPECT_TRUE(hoursAndMinutes.match(texts[i]).hasMatch()) << texts[i].toStdString();
                    }
                    if (i == 0) continue;
                    EXPECT_NE(texts[i - 1].toStdString(), texts[i].toStdString()) << "labels " << i - 1 << " and " << i;
                    const QRect &r = labels[i - 1], &s = labels[i];
                    if (a->horizontal())
                        EXPECT_GE(std::max(s.left() - r.right(), r.left() - s.right()) - 1, blank) << "labels " << i - 1 << " and " << i;
                    else
                        EXPECT_GE(std::max(s.top() - r.bottom(), r.top() - s.bottom()) - 1, k.rowGap) << "labels " << i - 1 << " and " << i;
                }
            }
        }
    }
}

// The box round the dark pixels of an area of the image; empty when there are none.
QRect inkBox(const QImage& img, const QRect& area) {
    QRect box;
    const QRect r = area.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(img.pixel(x, y)) < 160) box |= QRect(x, y, 1, 1);
    return box;
}

// An axis title is drawn whole in the chart's type when it fits along its plot, else in the
// largest smaller type down to the readable 8 pt that fits, centred along the plot; a title that does not
// fit even in that is left out rather than drawn smaller, and the plot takes its room. Checked
// on what is painted under the plot (the bottom axis) and left of it (the left axis, upright).
TEST(ChartWidgetDrawing, AnAxisTitleFitsItsPlotOrIsLeftOut) {
    enum Outcome { Whole, Smaller, LeftOut };
    const QFont base;
    QFont smallest = base;
    smallest.setPointSizeF(FittingLabel::ReadablePointSize);
    // The ink of a text as drawn in a font on its own.
    auto inkOf = [](const QFont& f, const QString& text) {
        QImage img(2000, 60, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, img.width(), img.height()), Qt::AlignCenter, text);
        p.end();
        return inkBox(img, img.rect());
    };
    for (bool bottom : {true, false}) {
        for (Outcome outcome : {Whole, Smaller, LeftOut}) {
            SCOPED_TRACE(std::string(bottom ? "bottom axis, " : "left axis, ") + "outcome " + std::to_string(outcome));
            ChartWidget w;
            w.resize(400, 300);
            Chart& c = w.chart();
            c.legend().setVisible(false);
            Axis& axis = bottom ? c.bottomAxis() : c.leftAxis();
            axis.setLabelsVisible(false);
            axis.setTicksVisible(false);
            w.renderImage();
            const QRect untitled = w.layout().plot;
            axis.setTitle("x");
            w.renderImage();
            const int room = bottom ? w.layout().plot.width() : w.layout().plot.height();
            // As long as the outcome needs, in the chart's type and in 8 pt: a title just too
            // long for the chart's type shrinks, one too long even in 8 pt is left out.
            QString title = "Easting";
            auto widthIn = [&](const QFont& f) { return QFontMetrics(f).horizontalAdvance(title); };
            if (outcome != Whole)
                while (outcome == Smaller ? widthIn(base) <= room : widthIn(smallest) <= room)
                    title += outcome == Smaller ? "s" : " Easting";
            if (outcome == Smaller) {
                ASSERT_LE(widthIn(smallest), room) << "a title 8 pt fits";
            }
            axis.setTitle(title.toStdString());
            const QImage img = w.renderImage();
            const QRect plot = w.layout().plot;
            // Under the plot, right of the left axis's labels; or left of the plot's left edge.
            const QRect drawn =
                bottom ? inkBox(img, QRect(plot.left() - 4, plot.bottom() + 3, img.width(), img.height() - plot.bottom() - 3))
                       : inkBox(img, QRect(0, plot.top() - 4, plot.left() - 2, plot.height() + 8));
            const AxisPlacement* ap = w.layout().find(&axis);
            ASSERT_NE(ap, nullptr);
            if (outcome == LeftOut) {
                EXPECT_TRUE(ap->title.isEmpty());
                EXPECT_TRUE(drawn.isEmpty()) << "ink at " << drawn.x() << "," << drawn.y() << " size " << drawn.width();
                EXPECT_EQ(plot, untitled) << "the plot takes the title's room";
                continue;
            }
            ASSERT_FALSE(drawn.isEmpty());
            // Along the axis: inside the plot's span and in its middle (glyph edges leave a
            // pixel either way). Across it: the size of the text drawn on its own.
            const int from = bottom ? drawn.left() : drawn.top(), to = bottom ? drawn.right() : drawn.bottom();
            const int first = bottom ? plot.left() : plot.top(), last = bottom ? plot.right() : plot.bottom();
            EXPECT_GE(from, first);
            EXPECT_LE(to, last);
            EXPECT_NEAR((from + to) / 2.0, (first + last) / 2.0, 1.5) << "centred along the plot";
            const QSize along(bottom ? drawn.width() : drawn.height(), bottom ? drawn.height() : drawn.width());
            const QRect whole = inkOf(base, title), least = inkOf(smallest, title);
            const int turned = bottom ? 0 : 1;  // glyphs turned upright land on other pixels
            if (outcome == Whole) {
                EXPECT_NEAR(along.width(), whole.width(), turned);
                EXPECT_NEAR(along.height(), whole.height(), turned);
            } else {
                EXPECT_LT(along.width(), whole.width());
                EXPECT_GE(along.height(), least.height()) << "no smaller than 8 pt";
                // The largest half point size that fits.
                QFont fits = base;
                for (double pt = base.pointSizeF(); pt >= FittingLabel::ReadablePointSize; pt -= 0.5) {
                    fits.setPointSizeF(pt);
                    if (QFontMetrics(fits).horizontalAdvance(title) <= room) break;
                }
                // Its glyphs may start on another sub-pixel than drawn alone: a pixel either way
                // (half a point less is some 20 pixels narrower).
                const QRect want = inkOf(fits, title);
                EXPECT_NEAR(along.width(), want.width(), 1) << fits.pointSizeF() << " pt";
                EXPECT_NEAR(along.height(), want.height(), 1) << fits.pointSizeF() << " pt";
            }
        }
    }
}

// One huge value (a rate of turn of 1.2e16 from a damaged sentence), values too close to tell
// apart, and the largest doubles: each draws on a scale that holds it.
TEST(ChartWidgetDrawing, ExtremeValuesDrawOnAScaleThatHoldsThem) {
    const double most = std::numeric_limits<double>::max();
    const std::vector<std::vector<double>> cases = {
        {1.2e16}, {1e20}, {-1e20}, {1e300}, {-1e300, 1e300}, {-most, most}, {1e-300}, {1, std::nextafter(1.0, 2.0)},
    };
    for (const auto& values : cases) {
        ChartWidget w;
        w.resize(400, 300);
        Series& s = w.chart().addSeries(SeriesKind::Line);
        for (double v : values) s.addXY(dateValue(2026, 12, 8) + s.count() / SecondsPerDay, v);
        w.renderImage();
        const ChartLayout& l = w.layout();
        for (double v : values) {
            const double y = l.axes[0].map.toPixel(std::clamp(v, -RangeLimit, RangeLimit));
            EXPECT_TRUE(y >= l.plot.top() - 1 && y <= l.plot.bottom() + 1) << v << " at " << y;
        }
    }
}

TEST(ChartWidgetDrawing, ADayOfTenHertzDataDraws) {
    ChartWidget w;
    w.resize(800, 200);
    Series& s = w.chart().addSeries(SeriesKind::FastLine);
    s.setColour(colours::Red);
    for (int i = 0; i < 864000; ++i) s.addXY(i * 0.1 / SecondsPerDay, (i / 1000) % 2 ? 10 : 0);
    const QImage img = w.renderImage();
    const QRect plot = w.layout().plot;
    // Every column of the plot is touched by the square wave's vertical strokes or levels.
    int columnsWithRed = 0;
    for (int x = plot.left() + 2; x < plot.right() - 2; ++x)
        if (countIn(img, QRect(x, plot.top(), 1, plot.height()), QColor(Qt::red)) > 0) ++columnsWithRed;
    EXPECT_GT(columnsWithRed, plot.width() - 8);
}

// Long series are reduced in pieces on the thread pool: the drawing is the one a single
// thread makes.
TEST(ChartWidgetDrawing, LongSeriesDrawTheSameOnOneThreadAsOnMany) {
    ChartWidget w;
    w.resize(700, 300);
    Series& bars = w.chart().addSeries(SeriesKind::Bar);
    Series& line = w.chart().addSeries(SeriesKind::Line);
    // Bursts of points at one x each, a few pixels apart: the lines joining them show.
    for (int i = 0; i < 200000; ++i) {
        const double x = i / 1000;
        if (i % 4999 == 0) line.addNullXY(x, 0);
        else line.addXY(x, (i / 1000) % 2 * 30 + i % 3);
        bars.addXY(x, (i * 7919) % 97, {}, (i / 3000) % 2 ? colours::Red : SeriesColour);
    }
    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    pool->setMaxThreadCount(1);
    const QImage serial = w.renderImage();
    pool->setMaxThreadCount(std::max(4, threads));
    w.chart().changed();
    const QImage parallel = w.renderImage();
    pool->setMaxThreadCount(threads);
    EXPECT_TRUE(serial == parallel);
}

struct Recorder : ChartListener {
    std::vector<std::string> events;
    std::vector<AxisClickEvent> clicks;
    void onAxisClick(const AxisClickEvent& e) override {
        clicks.push_back(e);
        events.push_back("click");
    }
    void onZoom(int) override { events.push_back("zoom"); }
    void onUndoZoom(int) override { events.push_back("undo"); }
    void onScroll(int) override { events.push_back("scroll"); }
};

TEST(ChartWidgetEvents, AClickOnEachAxisNamesThatAxis) {
    ChartWidget w;
    w.resize(500, 300);
    Chart& c = w.chart();
    c.setIndex(3);
    Series& s = c.addSeries(SeriesKind::Line);
    s.addXY(0, 0);
    s.addXY(10, 10);
    Series& r = c.addSeries(SeriesKind::Line);  // puts the right and top axes on show
    r.setVerticalAxis(VerticalAxis::Right);
    r.setHorizontalAxis(HorizontalAxis::Top);
    r.addXY(0, 100);
    r.addXY(5, 200);
    w.show();
    w.renderImage();
    Recorder rec;
    c.addListener(&rec);
    const QRect plot = w.layout().plot;
    const struct {
        QPoint at;
        AxisCode axis;
        Qt::MouseButton button;
        int code;
    } cases[] = {
        {QPoint(plot.left() - 8, plot.center().y()), AxisCode::Left, Qt::RightButton, 2},
        {QPoint(plot.center().x(), plot.top() - 8), AxisCode::Top, Qt::LeftButton, 1},
        {QPoint(plot.right() + 8, plot.center().y()), AxisCode::Right, Qt::RightButton, 2},
        {QPoint(plot.center().x(), plot.bottom() + 8), AxisCode::Bottom, Qt::MiddleButton, 4},
    };
    for (const auto& k : cases) {
        rec.clicks.clear();
        QTest::mouseClick(&w, k.button, Qt::ShiftModifier, k.at);
        ASSERT_EQ(rec.clicks.size(), 1u) << static_cast<int>(k.axis);
        EXPECT_EQ(rec.clicks[0].axis, k.axis);
        EXPECT_EQ(rec.clicks[0].button, k.code);
        EXPECT_EQ(rec.clicks[0].shift, shift::Shift);
        EXPECT_EQ(rec.clicks[0].index, 3);
        EXPECT_EQ(rec.clicks[0].x, k.at.x());
    }
    rec.clicks.clear();
    QTest::mouseClick(&w, Qt::RightButton, {}, plot.center());
    EXPECT_TRUE(rec.clicks.empty()) << "a click inside the plot is no axis click";
}

TEST(ChartWidgetEvents, RubberBandZoomsAndDraggingBackUndoes) {
    FixedChart f;
    Series& s = f.w.chart().addSeries(SeriesKind::Line);
    for (int i = 0; i <= 10; ++i) s.addXY(i, i);
    f.w.show();
    f.w.renderImage();
    Recorder rec;
    f.w.chart().addListener(&rec);

    const QPoint from = f.at(2, 8), to = f.at(6, 4);
    QTest::mousePress(&f.w, Qt::LeftButton, {}, from);
    QTest::mouseMove(&f.w, (from + to) / 2);
    QTest::mouseMove(&f.w, to);
    QTest::mouseRelease(&f.w, Qt::LeftButton, {}, to);
    ASSERT_EQ(rec.events, std::vector<std::string>{"zoom"});
    const Axis& b = f.w.chart().bottomAxis();
    const Axis& l = f.w.chart().leftAxis();
    EXPECT_NEAR(b.minimum(), 2, 0.1);
    EXPECT_NEAR(b.maximum(), 6, 0.1);
    EXPECT_NEAR(l.minimum(), 4, 0.1);
    EXPECT_NEAR(l.maximum(), 8, 0.1);

    f.w.renderImage();
    const QPoint a = f.w.layout().plot.center();
    QTest::mousePress(&f.w, Qt::LeftButton, {}, a);
    QTest::mouseMove(&f.w, a - QPoint(40, 20));
    QTest::mouseRelease(&f.w, Qt::LeftButton, {}, a - QPoint(40, 20));
    EXPECT_EQ(rec.events, (std::vector<std::string>{"zoom", "undo"}));
    EXPECT_EQ(b.minimum(), 0);
    EXPECT_EQ(b.maximum(), 10);
    EXPECT_FALSE(f.w.chart().zoomed());
}

TEST(ChartWidgetEvents, RightDragScrollsTheRange) {
    FixedChart f;
    f.w.chart().addSeries(SeriesKind::Line).addXY(5, 5);
    f.w.show();
    f.w.renderImage();
    Recorder rec;
    f.w.chart().addListener(&rec);
    const QPoint from = f.at(5, 5), to = f.at(3, 5);  // drag two units to the left
    QTest::mousePress(&f.w, Qt::RightButton, {}, from);
    QTest::mouseMove(&f.w, to);
    QTest::mouseRelease(&f.w, Qt::RightButton, {}, to);
    ASSERT_FALSE(rec.events.empty());
    EXPECT_EQ(rec.events.back(), "scroll");
    EXPECT_NEAR(f.w.chart().bottomAxis().minimum(), 2, 0.1);
    EXPECT_NEAR(f.w.chart().bottomAxis().maximum(), 12, 0.1);
    EXPECT_NEAR(f.w.chart().leftAxis().minimum(), 0, 0.1);
}

TEST(ChartWidgetRepaint, NewPointsRepaintOnTheTimerNotPerPoint) {
    ChartWidget w;
    w.resize(300, 200);
    w.setRepaintInterval(20);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(50);
    EXPECT_FALSE(w.chart().dirty());
    Series& s = w.chart().addSeries(SeriesKind::Line);
    for (int i = 0; i < 5000; ++i) s.addXY(i, i);
    EXPECT_TRUE(w.chart().dirty()) << "no paint inside the data path";
    QTest::qWait(200);
    EXPECT_FALSE(w.chart().dirty()) << "painted once the timer ran";
}

TEST(ChartWidgetPlacement, TwipsAreFifteenToThePixel) {
    ChartWidget w;
    w.setGeometryTwips(0, 600, 11775, 2775);
    EXPECT_EQ(w.y(), 40);
    EXPECT_EQ(w.width(), 785);
    EXPECT_EQ(w.heightTwips(), 185 * 15);
}

}  // namespace

// A chart that keeps every point draws new ones onto its kept image; what it shows must be
// what a whole drawing shows, also after the range changes and after points are deleted.
TEST(ChartWidgetRepaint, IncrementalPointsMatchAWholeDrawing) {
    auto build = [](ChartWidget& w) {
        w.resize(300, 300);
        Chart& c = w.chart();
        c.legend().setVisible(false);
        for (Axis* a : {&c.leftAxis(), &c.bottomAxis()}) {
            a->setAutomatic(false);
            a->setMaximum(5);
            a->setMinimum(-5);
        }
        Series& s = c.addSeries(SeriesKind::Point);
        s.setPointer(PointerStyle::Circle, 2);
        c.addColorLine(c.bottomAxis()).setPen(colours::Navy, PenStyle::Dash);
    };
    ChartWidget inc, whole;
    build(inc);
    build(whole);
    inc.setIncrementalPoints(true);
    auto step = [&](int from, int to, auto&& change) {
        for (int i = from; i < to; ++i) {
            for (ChartWidget* w : {&inc, &whole}) {
                const double x = std::sin(i * 0.7) * (i % 7), y = std::cos(i * 1.3) * (i % 5);
                w->chart().series(0).addXY(x, y, {}, i % 3 ? colours::Blue : colours::Red);
                w->chart().tool(0).setValue(x);
            }
            inc.renderImage();  // one drawing per point: each adds to the kept image
        }
        for (ChartWidget* w : {&inc, &whole}) change(w->chart());
        EXPECT_EQ(inc.renderImage(), whole.renderImage()) << to;
    };
    step(0, 40, [](Chart&) {});
    step(40, 80, [](Chart& c) {
        c.leftAxis().setMaximum(8);
        c.leftAxis().setMinimum(-8);
    });
    step(80, 90, [](Chart& c) { c.series(0).deletePoint(0); });
}

// Crowded markers of several colours: a whole drawing shows what painting every marker in
// order shows, the last one on top, also where a point's centre pixel held its colour once
// and a neighbour of another colour has painted over it since.
TEST(ChartWidgetRepaint, CrowdedMarkersShowTheLastPointOnTop) {
    struct Case {
        PointerStyle style;
        int size;
        bool (*covers)(int dx, int dy, int r);  // the marker's pixels round its centre
        int crowd;                              // enough points to be drawn as a crowd
    };
    auto square = [](int dx, int dy, int r) { return std::abs(dx) <= r && std::abs(dy) <= r; };
    auto round = [](int dx, int dy, int r) { return dx * dx + dy * dy <= r * r + r; };
    const Case cases[] = {
        {PointerStyle::Rectangle, 2, square, 20000},
        {PointerStyle::Circle, 2, round, 20000},
        {PointerStyle::Circle, 5, round, 20000},
        {PointerStyle::SmallDot, 3, [](int dx, int dy, int) { return dx == 0 && dy == 0; }, 300000},
    };
    const Colour palette[] = {colours::Blue, colours::Red, colours::Green};
    auto check = [&](const Case& k, int count, int colourCount) {
        FixedChart f;
        Series& s = f.w.chart().addSeries(SeriesKind::Point);
        s.setPointer(k.style, k.size);
        QImage want = f.w.renderImage();
        const AxisMap& xm = f.w.layout().axes[3].map;
        const AxisMap& ym = f.w.layout().axes[0].map;
        auto add = [&](double x, double y, Colour c) {
            s.addXY(x, y, {}, c);
            const int r = k.style == PointerStyle::SmallDot ? 0 : k.size;
            const int cx = static_cast<int>(std::floor(xm.toPixel(x) + 0.5));
            const int cy = static_cast<int>(std::floor(ym.toPixel(y) + 0.5));
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                    if (k.covers(dx, dy, r)) want.setPixel(cx + dx, cy + dy, toQColor(c).rgb());
        };
        // As many points deleted from the front first: the columns then wrap round in memory.
        for (int i = 0; i < count; ++i) s.addXY(1, 1, {}, palette[2]);
        for (int i = 0; i < count; ++i) s.deletePoint(0);
        // Blue, red one pixel right of it (and a null point), blue again on the first centre;
        // then a crowd. In one colour, without null points.
        add(5, 5, palette[0]);
        add(xm.toValue(xm.toPixel(5) + 1), 5, palette[1 % colourCount]);
        if (colourCount > 1) s.addNullXY(5.2, 5);
        add(5, 5, palette[0]);
        std::uint32_t seed = 7;
        for (int i = 0; i < count; ++i) {
            seed = seed * 1664525 + 1013904223;
            const double x = 4 + (seed >> 8 & 0xFFFF) / 32768.0, y = 4 + (seed >> 4 & 0xFFF) / 2048.0;
            add(x, y, palette[(seed >> 28) % colourCount]);
        }
        EXPECT_EQ(difference(f.w.renderImage(), want), "")
            << static_cast<int>(k.style) << ' ' << k.size << ' ' << count << ' ' << colourCount;
    };
    for (const Case& k : cases)
        for (const int count : {300, k.crowd})
            for (const int colourCount : {1, 3}) check(k, count, colourCount);
}

// The same on an image at twice the pixel density, which the painter draws on with QPainter:
// blue, red a pixel right of it, blue again on the first centre shows blue there.
TEST(ChartWidgetRepaint, OnADenserImageTheLastPointIsOnTop) {
    FixedChart f;
    Series& s = f.w.chart().addSeries(SeriesKind::Point);
    s.setPointer(PointerStyle::Circle, 3);
    QImage img(800, 600, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(2);
    ChartPainter painter;
    auto paint = [&] {
        QPainter p(&img);
        return painter.paint(p, f.w.chart(), QRect(0, 0, 400, 300));
    };
    const ChartLayout layout = paint();
    const AxisMap& xm = layout.axes[3].map;
    s.addXY(5, 5, {}, colours::Blue);
    s.addXY(xm.toValue(xm.toPixel(5) + 1), 5, {}, colours::Red);
    s.addXY(5, 5, {}, colours::Blue);
    paint();
    const QPoint centre(static_cast<int>(2 * xm.toPixel(5)), static_cast<int>(2 * layout.axes[0].map.toPixel(5)));
    EXPECT_TRUE(near(img.pixel(centre), QColor(Qt::blue), 10)) << std::hex << img.pixel(centre);
}
