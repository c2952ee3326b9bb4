// Chart series: points, null points, deletes, Gantt bars, the computed average and
// deviation lines, and the running figures that must match a plain recount at every step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <random>
#include <vector>

#include "platform/chart_columns.h"
#include "platform/chart_model.h"

using namespace tiderune;

namespace {

int errorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(ChartSeries, PointsGoToTheEndAndDeletesMoveLaterPointsDown) {
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Line);
    EXPECT_EQ(s.addXY(1, 10), 0);
    EXPECT_EQ(s.addXY(2, 20, "two", rgb(1, 2, 3)), 1);
    EXPECT_EQ(s.addNullXY(3, 0), 2);
    EXPECT_EQ(s.addXY(4, 40, "four"), 3);
    EXPECT_EQ(s.count(), 4);
    EXPECT_EQ(s.xValues().first(), 1);
    EXPECT_EQ(s.xValues().last(), 4);

    s.deletePoint(1);  // from the middle: colour, label and null flag move with their points
    ASSERT_EQ(s.count(), 3);
    EXPECT_EQ(s.x(1), 3);
    EXPECT_TRUE(s.isNull(1));
    EXPECT_EQ(s.label(2), "four");
    EXPECT_EQ(s.pointColour(0), SeriesColour);

    s.deletePoint(0);  // the oldest
    ASSERT_EQ(s.count(), 2);
    EXPECT_EQ(s.xValues().first(), 3);
    EXPECT_EQ(s.label(1), "four");
    EXPECT_EQ(s.nullCount(), 1);

    s.addXY(5, 50, "five");
    s.deletePointsFrom(1);  // the newest, with their labels
    s.addXY(6, 60);
    ASSERT_EQ(s.count(), 2);
    EXPECT_EQ(s.x(1), 6);
    EXPECT_EQ(s.label(1), "");
    EXPECT_EQ(s.nullCount(), 1);

    EXPECT_EQ(errorNumber([&] { s.deletePointsFrom(2); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { s.deletePoint(2); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { s.deletePoint(-1); }), err::SubscriptOutOfRange);
    s.clear();
    EXPECT_EQ(errorNumber([&] { s.xValues().first(); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { chart.series(1); }), err::SubscriptOutOfRange);
}

TEST(ChartSeries, PointColourFollowsTheSeriesColourUnlessGiven) {
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Bar);
    s.setColour(colours::Blue);
    s.addXY(1, 5);
    s.addXY(2, 3, {}, 0x0000FF);
    EXPECT_EQ(s.drawColour(0), colours::Blue);
    EXPECT_EQ(s.drawColour(1), colours::Red);
    s.setColour(colours::Green);
    EXPECT_EQ(s.drawColour(0), colours::Green);
    EXPECT_EQ(s.drawColour(1), colours::Red);
}

TEST(ChartSeries, NewSeriesTakeNineteenDistinctColoursInOrder) {
    Chart chart;
    std::vector<Colour> seen;
    for (int i = 0; i < 40; ++i) seen.push_back(chart.addSeries(SeriesKind::Line).colour());
    std::vector<Colour> first(seen.begin(), seen.begin() + 19);
    std::sort(first.begin(), first.end());
    EXPECT_EQ(std::unique(first.begin(), first.end()), first.end());
    for (int i = 19; i < 40; ++i) EXPECT_EQ(seen[static_cast<std::size_t>(i)], seen[static_cast<std::size_t>(i % 19)]);
}

TEST(ChartSeries, GanttBarsSpanStartToEnd) {
    Chart chart;
    Series& g = chart.addSeries(SeriesKind::Gantt);
    g.addGantt(10, 12, 101);
    g.addGantt(10, 15, 101);
    g.addGantt(20, 21, 7);
    EXPECT_EQ(g.count(), 3);
    EXPECT_EQ(g.endValue(1), 15);
    EXPECT_EQ(g.y(2), 7);
    ASSERT_TRUE(g.xRange());
    EXPECT_EQ(g.xRange()->min, 10);
    EXPECT_EQ(g.xRange()->max, 21);
    g.deletePoint(0);
    EXPECT_EQ(g.endValue(0), 15);
    Series& line = chart.addSeries(SeriesKind::Line);
    EXPECT_EQ(errorNumber([&] { line.addGantt(1, 2, 3); }), chart_err::InvalidPropertyValue);
}

TEST(ChartSeries, AverageAndDeviationLinesFollowTheirSource) {
    Chart chart;
    Series& src = chart.addSeries(SeriesKind::Line);
    Series& avg = chart.addSeries(SeriesKind::FastLine);
    Series& dev = chart.addSeries(SeriesKind::FastLine);
    avg.setFunction(SeriesFunction::Average, &src);
    dev.setFunction(SeriesFunction::StdDeviation, &src);
    EXPECT_EQ(avg.count(), 0);

    src.addXY(1, 2);
    src.addXY(2, 4);
    src.addNullXY(3, 100);  // not a value
    src.addXY(4, 9);
    EXPECT_EQ(avg.count(), 2);
    EXPECT_DOUBLE_EQ(avg.y(0), 5);
    EXPECT_DOUBLE_EQ(avg.y(1), 5);
    EXPECT_EQ(avg.x(0), 1);
    EXPECT_EQ(avg.x(1), 4);
    EXPECT_NEAR(dev.y(0), std::sqrt(13.0), 1e-12);  // sample deviation of 2, 4, 9

    src.deletePoint(0);
    EXPECT_DOUBLE_EQ(avg.y(0), 6.5);
    EXPECT_EQ(avg.x(0), 2);
    EXPECT_EQ(errorNumber([&] { avg.addXY(1, 1); }), chart_err::InvalidPropertyValue);
    EXPECT_EQ(errorNumber([&] { avg.setFunction(SeriesFunction::Average, &avg); }), chart_err::InvalidPropertyValue);
}

TEST(ChartSeries, DeviationStaysExactFarFromZero) {
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Line);
    // Date-like magnitudes with tiny spread: a naive sum of squares loses everything.
    for (int i = 0; i < 100000; ++i) s.addXY(i, 46000.0 + (i % 2 ? 0.001 : -0.001));
    for (int i = 0; i < 50000; ++i) s.deletePoint(0);
    EXPECT_NEAR(s.mean(), 46000.0, 1e-9);
    EXPECT_NEAR(s.stdDeviation(), 0.001, 1e-8);
}

// Every running figure against a recount, over a long random mix of appends (with nulls and
// colours), trims of the oldest point, deletes from the middle, cuts of the newest points
// and clears.
TEST(ChartSeries, RunningFiguresMatchARecountAtEveryStep) {
    for (SeriesKind kind : {SeriesKind::Line, SeriesKind::Bar, SeriesKind::Point}) {
        Chart chart;
        Series& s = chart.addSeries(kind);
        std::mt19937 rng(1234 + static_cast<int>(kind));
        std::uniform_real_distribution<double> value(-50, 50);
        double x = 0;
        for (int step = 0; step < 6000; ++step) {
            const int op = static_cast<int>(rng() % 100);
            if (op < 60 || s.count() == 0) {
                x += (rng() % 10 == 0) ? -3 : 1;  // mostly ascending, sometimes not
                if (rng() % 15 == 0) s.addNullXY(x, 0);
                else s.addXY(x, value(rng), {}, rng() % 3 ? SeriesColour : static_cast<Colour>(rng() & 0xFFFFFF));
            } else if (op < 90) {
                s.deletePoint(0);
            } else if (op < 99) {
                const int i = static_cast<int>(rng() % static_cast<unsigned>(s.count()));
                if (step % 2) s.deletePoint(i);
                else s.deletePointsFrom(i);
            } else {
                s.clear();
            }
            // Recount.
            int n = 0, coloured = 0;
            double sum = 0, ymin = 1e300, ymax = -1e300, xmin = 1e300, xmax = -1e300;
            bool asc = true;
            for (int i = 0; i < s.count(); ++i) {
                coloured += s.pointColour(i) != SeriesColour;
                xmin = std::min(xmin, s.x(i));
                xmax = std::max(xmax, s.x(i));
                if (i && s.x(i) < s.x(i - 1)) asc = false;
                if (s.isNull(i)) continue;
                ++n;
                sum += s.y(i);
                ymin = std::min(ymin, s.y(i));
                ymax = std::max(ymax, s.y(i));
            }
            ASSERT_EQ(s.valueCount(), n) << "step " << step;
            ASSERT_EQ(s.colouredCount(), coloured) << "step " << step;
            if (s.count() > 0) {
                ASSERT_EQ(s.firstX(), s.x(0)) << "step " << step;
                ASSERT_TRUE(s.xRange());
                ASSERT_EQ(s.xRange()->min, xmin) << "step " << step;
                ASSERT_EQ(s.xRange()->max, xmax) << "step " << step;
            }
            if (n > 0) {
                if (kind == SeriesKind::Bar) {
                    ymin = std::min(ymin, 0.0);
                    ymax = std::max(ymax, 0.0);
                }
                ASSERT_EQ(s.yRange()->min, ymin) << "step " << step;
                ASSERT_EQ(s.yRange()->max, ymax) << "step " << step;
                ASSERT_NEAR(s.mean(), sum / n, 1e-9) << "step " << step;
            } else {
                ASSERT_FALSE(s.yRange());
            }
            ASSERT_EQ(s.xAscending(), asc) << "step " << step;
        }
    }
}

// Hundreds of thousands of points, past many chunks of every column's storage (from a buffer
// gone round), trimmed at the front (its chunks going round to the back), cut at the back and
// grown into the room kept: the points keep their order and values and the running figures
// match a recount. Values that rise or fall for a whole phase keep every point a candidate
// extreme.
TEST(ChartSeries, LongSeriesKeepTheirPointsAndFiguresAcrossChunks) {
    struct Phase {
        int add;         // points appended, every 1000th a null point
        double slope;    // y step per point
        bool xDescends;  // x falls back every 7th point
        int trimFront;   // then deleted from the front
        int cutFrom;     // then deleted from this index on (-1: none)
    };
    const Phase phases[] = {
        {6000, 0.5, false, 5000, -1},  // gone round in its one buffer before it takes chunks
        {200000, 0.5, false, 0, -1}, {0, 0, false, 150000, -1}, {100000, -0.25, true, 0, -1},
        {0, 0, false, 0, 1000},      {70000, 1, false, 30000, -1}, {0, 0, false, 0, 0},
        {20000, -1, true, 19990, -1},
    };
    struct Point {
        double x, y;
        Colour c;
        bool null;
    };
    for (SeriesKind kind : {SeriesKind::Point, SeriesKind::Line}) {
        Chart chart;
        Series& s = chart.addSeries(kind);
        std::deque<Point> want;
        double x = 0, y = 0;
        for (int n = 0, phase = 0; phase < static_cast<int>(std::size(phases)); ++phase) {
            const Phase& p = phases[phase];
            for (int i = 0; i < p.add; ++i, ++n) {
                x += p.xDescends && n % 7 == 0 ? -3 : 1;
                y += p.slope;
                const Colour c = n % 5 ? SeriesColour : static_cast<Colour>(n & 0xFFFFFF);
                want.push_back(n % 1000 == 999 ? Point{x, 0, SeriesColour, true} : Point{x, y, c, false});
                if (want.back().null) s.addNullXY(x, 0);
                else s.addXY(x, y, {}, c);
            }
            for (int i = 0; i < p.trimFront; ++i, want.pop_front()) s.deletePoint(0);
            if (p.cutFrom >= 0) {
                s.deletePointsFrom(p.cutFrom);
                want.resize(static_cast<std::size_t>(p.cutFrom));
            }
            ASSERT_EQ(s.count(), static_cast<int>(want.size())) << "phase " << phase;
            double xmin = 1e300, xmax = -1e300, ymin = 1e300, ymax = -1e300;
            bool asc = true;
            for (int i = 0; i < s.count(); ++i) {
                const Point& w = want[static_cast<std::size_t>(i)];
                ASSERT_TRUE(s.x(i) == w.x && s.y(i) == w.y && s.pointColour(i) == w.c && s.isNull(i) == w.null)
                    << "phase " << phase << " point " << i;
                xmin = std::min(xmin, w.x);
                xmax = std::max(xmax, w.x);
                if (i && w.x < want[static_cast<std::size_t>(i) - 1].x) asc = false;
                if (!w.null) ymin = std::min(ymin, w.y), ymax = std::max(ymax, w.y);
            }
            ASSERT_EQ(s.xAscending(), asc) << "phase " << phase;
            if (want.empty()) continue;
            ASSERT_TRUE(s.xRange() && s.yRange()) << "phase " << phase;
            EXPECT_EQ(s.xRange()->min, xmin) << "phase " << phase;
            EXPECT_EQ(s.xRange()->max, xmax) << "phase " << phase;
            EXPECT_EQ(s.yRange()->min, ymin) << "phase " << phase;
            EXPECT_EQ(s.yRange()->max, ymax) << "phase " << phase;
        }
    }
}

// Per-column reduction (with the summary blocks, whole and in pieces) against a point-by-point
// reduction: series with null points, and series without, at uneven times with gaps.
TEST(ChartColumns, ReductionMatchesAPointByPointReduction) {
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Line);
    Series& b = chart.addSeries(SeriesKind::Bar);
    Series& unbroken = chart.addSeries(SeriesKind::Line);
    Series& unbrokenBars = chart.addSeries(SeriesKind::Bar);
    std::mt19937 rng(99);
    for (int i = 0; i < 20000; ++i) {
        const double y = static_cast<double>(rng() % 1000) - 500;
        const Colour colour = rng() % 2 ? SeriesColour : static_cast<Colour>(rng() & 0xFFFFFF);
        const double x = i + (i / 5000) * 3000 + (rng() % 900) / 1000.0;
        unbroken.addXY(x, y);
        unbrokenBars.addXY(x, y, {}, i % 3000 < 1500 ? SeriesColour : colour);
        if (i % 997 == 0) {
            s.addNullXY(i, 0);
            b.addNullXY(i, 0);
        } else {
            s.addXY(i, y);
            b.addXY(i, y, {}, colour);
        }
    }
    for (int i = 0; i < 777; ++i) {  // leave a partly trimmed first block
        for (Series* series : {&s, &b, &unbroken, &unbrokenBars}) series->deletePoint(0);
    }
    // A recording replayed over the same times: the series emptied from its first point (its
    // storage kept), then taken back from its middle, each time filled again with other
    // values and one peak.
    Series& replayed = chart.addSeries(SeriesKind::Line);
    for (int from : {-1, 0, 9000}) {
        const double start = from > 0 ? replayed.x(from) : 0;
        if (from >= 0) replayed.deletePointsFrom(from);
        for (int i = 0; i < 11000; ++i)
            replayed.addXY(start + i * 0.9 + (rng() % 500) / 1000.0, i == 7777 ? 1e6 : static_cast<double>(rng() % 100));
    }
    ASSERT_EQ(replayed.yRange()->max, 1e6);
    // Days of points, far past the chunks their storage is kept in, the oldest half trimmed.
    Series& days = chart.addSeries(SeriesKind::Line);
    for (int i = 0; i < 400000; ++i) days.addXY(i * 0.1, static_cast<double>(rng() % 2000) - (i % 100000 == 5 ? 1e5 : 0));
    for (int i = 0; i < 150000; ++i) days.deletePoint(0);
    for (const Series* series : {&s, &b, &unbroken, &unbrokenBars, &replayed, &days}) {
        const bool bars = series->kind() == SeriesKind::Bar;
        for (double width : {37.0, 300.0, 5000.0, 40000.0, -450.0}) {
            const AxisMap map(series->x(0), series->x(series->count() - 1), 0, width);
            std::vector<ColumnSample> fast;
            const std::pair<int, int> all{0, series->count()};
            if (bars) reduceBars(*series, map, all, fast);
            else reduceLine(*series, map, all, fast);
            // Reference.
            std::vector<ColumnSample> ref;
            bool inRun = false;
            double bigMag = 0;
            for (int i = 0; i < series->count(); ++i) {
                if (series->isNull(i)) {
                    if (!bars) inRun = false;
                    continue;
                }
                const double px = map.toPixel(series->x(i));
                const double y = series->y(i);
                const bool sameCol = !ref.empty() && std::floor(ref.back().px) == std::floor(px) &&
                                     (bars || inRun);
                if (sameCol) {
                    auto& c = ref.back();
                    c.min = std::min(c.min, y);
                    c.max = std::max(c.max, y);
                    c.last = y;
                    if (bars && std::fabs(y) > bigMag) {
                        bigMag = std::fabs(y);
                        c.colour = series->drawColour(i);
                    }
                } else {
                    ref.push_back({px, y, y, y, y, bars ? series->drawColour(i) : series->colour(), bars || !inRun});
                    bigMag = std::fabs(y);
                }
                inRun = true;
            }
            // Cut into pieces (as for several threads), then joined: the same samples.
            for (int parts : {2, 7, 50}) {
                std::vector<ColumnSample> joined;
                for (const ColumnPiece& piece : columnPieces(*series, map, all, parts))
                    reducePiece(*series, map, piece, bars, joined);
                ASSERT_EQ(joined.size(), fast.size()) << "parts " << parts;
                for (std::size_t k = 0; k < fast.size(); ++k) {
                    ASSERT_EQ(joined[k].px, fast[k].px) << k;
                    ASSERT_TRUE(joined[k].min == fast[k].min && joined[k].max == fast[k].max && joined[k].first == fast[k].first &&
                                joined[k].last == fast[k].last && joined[k].colour == fast[k].colour &&
                                joined[k].startsRun == fast[k].startsRun)
                        << "parts " << parts << " sample " << k;
                }
            }
            ASSERT_EQ(fast.size(), ref.size()) << "width " << width;
            for (std::size_t k = 0; k < ref.size(); ++k) {
                ASSERT_EQ(std::floor(fast[k].px), std::floor(ref[k].px)) << k;
                ASSERT_EQ(fast[k].first, ref[k].first) << k;
                ASSERT_EQ(fast[k].min, ref[k].min) << k;
                ASSERT_EQ(fast[k].max, ref[k].max) << k;
                ASSERT_EQ(fast[k].last, ref[k].last) << k;
                ASSERT_EQ(fast[k].startsRun, ref[k].startsRun) << k;
                if (bars) {
                    ASSERT_EQ(fast[k].colour, ref[k].colour) << k;
                }
            }
        }
    }
}

TEST(ChartColumns, VisiblePointsIncludeOneNeighbourEachSide) {
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Line);
    for (int i = 0; i < 100; ++i) s.addXY(i, i);
    EXPECT_EQ(visiblePoints(s, 10, 20), (std::pair<int, int>{9, 22}));
    EXPECT_EQ(visiblePoints(s, -5, 200), (std::pair<int, int>{0, 100}));
    EXPECT_EQ(visiblePoints(s, 500, 600).second - visiblePoints(s, 500, 600).first, 1);
    s.addXY(50, 0);  // no longer ascending: everything
    EXPECT_EQ(visiblePoints(s, 10, 20), (std::pair<int, int>{0, 101}));
}

}  // namespace

namespace {

TEST(ChartSeries, ValuesThatAreNotNumbersNeverReachAnAxis) {
    Chart chart;
    Series& s = chart.addSeries(SeriesKind::Line);
    s.addXY(1, 1);
    s.addXY(2, std::nan(""));  // kept as a break in the line
    s.addXY(3, INFINITY);
    s.addXY(4, 3);
    EXPECT_EQ(s.count(), 4);
    EXPECT_TRUE(s.isNull(1));
    EXPECT_TRUE(s.isNull(2));
    EXPECT_EQ(s.yRange()->max, 3);
    EXPECT_DOUBLE_EQ(s.mean(), 2);
    EXPECT_EQ(errorNumber([&] { s.addXY(std::nan(""), 1); }), chart_err::InvalidPropertyValue);
    EXPECT_EQ(errorNumber([&] { chart.leftAxis().setMaximum(INFINITY); }), chart_err::InvalidPropertyValue);
    EXPECT_EQ(errorNumber([&] { chart.addColorLine(chart.leftAxis()).setValue(std::nan("")); }),
              chart_err::InvalidPropertyValue);
    EXPECT_EQ(s.count(), 4);
    EXPECT_EQ(chart.bottomAxis().maximum(), 4);
}

}  // namespace
