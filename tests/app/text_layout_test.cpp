// Texts that stay readable in the windows' fixed layouts: every label as drawn lies inside its
// own rectangle and its window, a blank clear of every other (long values, a start time with
// its date), the statistics and numerics windows scroll to all they show, the SNR windows keep
// their caption and axis titles whole, the ARPA list's headings fit their columns, the scatter
// plot's tick labels stay inside its frame, and the scatter and offline status windows fill the
// work area when maximized.
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include <cmath>

#include "ais/windows/arpa_targets_window.h"
#include "app/offline_status_window.h"
#include "app/program_core.h"
#include "app/reset_family.h"
#include "charts/scatter_window.h"
#include "charts/snr_window.h"
#include "core/parsers.h"
#include "platform/qt/chart_widget.h"
#include "platform/qt/fitting_label.h"
#include "platform/qt/grid_widget.h"
#include "shell_fixture.h"
#include "views/statistics_windows.h"

namespace tiderune::test {
namespace {

using T = SentenceType;

// Where a label's text is drawn, in its parent's coordinates.
QRect drawnText(const QLabel* l) {
    if (auto* f = dynamic_cast<const FittingLabel*>(l)) return f->textRect().translated(l->pos());
    return l->style()->itemTextRect(l->fontMetrics(), l->contentsRect(), l->alignment(), true, l->text())
        .translated(l->pos());
}

// Texts on one line are read as separate words when a blank's width lies between them; a unit
// may stand right after its number.
void expectApart(const QLabel* a, const QLabel* b) {
    const QRect ra = drawnText(a), rb = drawnText(b);
    EXPECT_FALSE(ra.intersects(rb)) << a->text().toStdString() << " runs into " << b->text().toStdString();
    if (ra.bottom() < rb.top() || rb.bottom() < ra.top() || a->text() == "m" || b->text() == "m") return;
    auto blank = [](const QLabel* l) {
        const auto* f = dynamic_cast<const FittingLabel*>(l);
        return QFontMetrics(f ? f->fittedFont() : l->font()).horizontalAdvance(QLatin1Char(' '));
    };
    const int gap = std::max(rb.left() - ra.right(), ra.left() - rb.right()) - 1;
    EXPECT_GE(gap, std::min(blank(a), blank(b)))
        << a->text().toStdString() << " and " << b->text().toStdString() << " read as one";
}

// Every shown label of the window: its text inside its rectangle and clear of its neighbours'.
void expectTextsClear(QWidget* window) {
    QList<QWidget*> parents = window->findChildren<QWidget*>();
    parents.prepend(window);
    for (QWidget* parent : parents) {
        std::vector<QLabel*> labels;
        for (QLabel* l : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (l->isVisibleTo(window) && !l->text().isEmpty()) labels.push_back(l);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const QRect r = drawnText(labels[i]);
            EXPECT_TRUE(labels[i]->geometry().contains(r) && parent->rect().contains(r))
                << labels[i]->text().toStdString() << " is cut";
            for (std::size_t j = i + 1; j < labels.size(); ++j) expectApart(labels[i], labels[j]);
        }
    }
}

// Every shown text of the window (labels, frame captions, grid cells and headings) drawn
// whole and in a readable type: the smallest type of them all.
double smallestType(QWidget* window) {
    double smallest = 100;
    auto take = [&](const QFont& font, const QString& what) {
        const double pt = QFontInfo(font).pointSizeF();
        if (pt < smallest) smallest = pt;
        EXPECT_GE(pt, 8.0) << what.toStdString() << " drawn at " << pt << " pt";
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) continue;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->text().isEmpty()) continue;
            const auto* f = dynamic_cast<const FittingLabel*>(l);
            take(f ? f->fittedFont() : l->font(), l->text());
            if (f) {
                EXPECT_EQ(f->shownText().toStdString(), f->text().toStdString()) << "shortened";
            }
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            if (!g->title().isEmpty()) take(g->font(), g->title());
        } else if (auto* grid = qobject_cast<GridWidget*>(w)) {
            if (grid->rows() > 0 && grid->cols() > 0) take(grid->font(), grid->objectName());
        } else if (auto* h = qobject_cast<QHeaderView*>(w)) {
            take(h->font(), QStringLiteral("a grid's heading"));
        }
    }
    return smallest;
}

class TextLayoutTest : public ShellTest {
protected:
    void line(const std::string& body) { shell->processSentence(1, body + "*" + CalcChecksum(body) + "\r\n"); }
    QMdiArea* mdi() { return window->findChild<QMdiArea*>(); }
    ProgramCore real;
};

TEST_F(TextLayoutTest, LongValuesStayInsideTheirLabelsAndClearOfTheirCaptions) {
    startOnRealCore(real);
    Config& c = shell->config;
    useSystem(c, 1, "GPS1", {T::GGA, T::HDT, T::ATT, T::GSV});
    c.Mode = "ONLINE";
    c.WindowVisible[1][windowKindInfo(WindowKind::Statistics).visibleWord] = true;
    c.WindowVisible[1][windowKindInfo(WindowKind::Numerics).visibleWord] = true;
    ResetFamily reset(*shell);
    // The widest texts of each format the format dialog offers: three-figure longitudes west of
    // Greenwich, every decimal; positions, heights and attitudes hundreds of metres and degrees
    // apart, below the ellipsoid, with negative pitch and roll.
    struct Case {
        bool dms;
        int decimals;
        const char* lat[2];
        const char* lon[2];
        const char* height[2];
    };
    const Case cases[] = {
        {false, 5, {"5959.80000", "5959.99999"}, {"17959.80000", "17959.99999"}, {"-310.0", "-9.5"}},
        {true, 4, {"5959.80000", "5959.99999"}, {"17959.80000", "17959.99999"}, {"-310.0", "-9.5"}},
        {true, 0, {"0800.0000", "0800.2000"}, {"00800.0000", "00800.2000"}, {"10.0", "320.0"}},
        // A voyage: deviations of tens of kilometres.
        {true, 4, {"5900.00000", "5959.99999"}, {"17900.00000", "17959.99999"}, {"-15000.0", "15000.0"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.dms ? "DMS " : "DM ") + std::to_string(k.decimals));
        c.LatLonFormatDMS = k.dms;
        c.LatLonDecimals = static_cast<std::int16_t>(k.decimals);
        c.ReferenceMode[1] = 2;
        c.ReferenceLat[1] = -59.99999 / 57.29577951307855;
        c.ReferenceLon[1] = -179.99999 / 57.29577951307855;
        c.ReferenceHeight[1] = -1234.5f;
        c.ReferencePitch[1] = -12.5f;
        reset.ResetStatistics();
        reset.ResetNumerics();
        auto* w = qobject_cast<StatisticsWindow*>(shell->windows.slot(WindowKind::Statistics, 1).window());
        ASSERT_NE(w, nullptr);
        for (int i = 0; i < 20; ++i) {
            const int odd = i % 2;
            char body[128];
            std::snprintf(body, sizeof body, "$GPGGA,1200%02d,%s,N,%s,W,1,08,0.9,%s,M,46.9,M,,", i, k.lat[odd],
                          k.lon[odd], k.height[odd]);
            line(body);
            line(odd ? "$HEHDT,350.0,T" : "$HEHDT,170.0,T");
            line(odd ? "$PFEC,GPatt,359.9,-89.9,-179.9" : "$PFEC,GPatt,0.1,-0.1,-0.1");
            line(odd ? "$GPGSV,1,1,02,07,45,135,46,21,30,270,40" : "$GPGSV,1,1,02,07,46,136,9,21,29,271,51");
        }
        window->redrawTick().drawNow();
        EXPECT_GE(w->label(StatLabel::SdLat)->text().size(), 7) << "a deviation of hundreds of metres";
        EXPECT_GE(w->label(StatLabel::SdHgt)->text().size(), 7);
        EXPECT_GT(w->label(StatLabel::StartTime)->text().size(), 15) << "time and date";
        EXPECT_EQ(w->label(StatLabel::RefLon)->text().back(), 'W');
        expectTextsClear(w);
        // At their own size and maximized, no text of the windows with values shrinks below a
        // readable type.
        for (WindowKind kind : {WindowKind::Statistics, WindowKind::StatisticsSNR, WindowKind::Numerics}) {
            QWidget* shown = shell->windows.slot(kind, 1).window();
            ASSERT_NE(shown, nullptr);
            SCOPED_TRACE(shown->windowTitle().toStdString());
            EXPECT_GE(smallestType(shown), 8.0) << "own size";
            shown->parentWidget()->showMaximized();
            QApplication::processEvents();
            if (kind == WindowKind::Statistics) expectTextsClear(w);
            EXPECT_GE(smallestType(shown), 8.0) << "maximized";
            shown->parentWidget()->showNormal();
            QApplication::processEvents();
        }
    }
    EXPECT_GE(qobject_cast<StatisticsWindow*>(shell->windows.slot(WindowKind::Statistics, 1).window())
                  ->label(StatLabel::SdLat)
                  ->text()
                  .toDouble(),
              10000.0)
        << "the voyage's deviation";

    // At their own size the statistics and numerics windows scroll to the far edges of
    // everything they show.
    window->show();
    ShowNumericsWindow(*shell, 1);
    for (WindowKind kind : {WindowKind::Statistics, WindowKind::Numerics}) {
        auto* w = shell->windows.slot(kind, 1).window();
        auto* area = w->findChild<QScrollArea*>();
        ASSERT_NE(area, nullptr);
        QRect shown;
        for (QGroupBox* f : w->findChildren<QGroupBox*>())
            if (f->isVisibleTo(w)) shown |= f->geometry();
        EXPECT_EQ(w->parentWidget()->size(), QSize(fromTwips(3000), fromTwips(6000)));
        EXPECT_EQ(area->horizontalScrollBar()->maximum() + area->viewport()->width(), shown.right() + 1);
        EXPECT_EQ(area->verticalScrollBar()->maximum() + area->viewport()->height(), shown.bottom() + 1);
    }
}

TEST_F(TextLayoutTest, SnrWindowsKeepTheirTextsWholeAtTheirDefaultSizeAndMaximized) {
    startOnRealCore(real);
    Config& c = shell->config;
    useSystem(c, 1, "GPS1", {T::GSV});
    c.SNRSeriesCount[1] = 10;
    c.SNRSeriesColumns[1] = 2;
    for (int i = 1; i <= 10; ++i) c.SNRSeriesVisible[1][i] = true;
    shell->timeSeries.settings.FilterLength[chart_kind::GSV][1] = 120;
    window->resize(1400, 1000);
    window->show();
    ShowTimeSeriesWindows(*shell, 1);
    auto* snr = qobject_cast<SnrTimeSeriesWindow*>(shell->windows.slot(WindowKind::TimeSeriesSNR, 1, 1).window());
    ASSERT_NE(snr, nullptr);
    // An axis title is drawn whole along its plot, clear of the chart's heading, or not at all.
    for (bool maximized : {false, true}) {
        SCOPED_TRACE(maximized ? "maximized" : "default size");
        if (maximized) snr->parentWidget()->showMaximized();
        else EXPECT_EQ(snr->parentWidget()->size(), QSize(fromTwips(3000), fromTwips(6000)));
        QApplication::processEvents();
        expectTextsClear(snr);
        int titles = 0;
        for (int i = 1; i <= 10; ++i) {
            ChartWidget* chart = snr->chartWidget(i);
            ASSERT_TRUE(chart->isVisible());
            chart->renderImage();
            const ChartLayout& l = chart->layout();
            for (const AxisPlacement& ap : l.axes) {
                if (!ap.shown || ap.axis->title().empty() || ap.title.isEmpty()) continue;
                ++titles;
                const QRect along = ap.axis->horizontal() ? QRect(l.plot.left(), 0, l.plot.width(), chart->height())
                                                          : QRect(0, l.plot.top(), chart->width(), l.plot.height());
                EXPECT_TRUE(along.contains(ap.title)) << ap.axis->title();
            }
        }
        if (maximized) {
            EXPECT_EQ(titles, 20) << "room for both titles of every chart";
        }
    }
}

TEST_F(TextLayoutTest, ArpaHeadingsFitTheirColumns) {
    startOnRealCore(real);
    useSystem(shell->config, 1, "Radar", {T::TTM});
    ShowARPATargetsWindow(*shell, 1);
    auto* arpa = qobject_cast<ARPATargetsWindow*>(shell->windows.slot(WindowKind::ARPATargets, 1).window());
    ASSERT_NE(arpa, nullptr);
    GridWidget* g = arpa->fgARPATargets;
    // The columns the window chooses (all but the narrow ones its setup sets) hold their headings.
    for (int c : {2, 3, 5, 6, 8, 9, 10, 12, 13, 14})
        EXPECT_LE(g->fontMetrics().horizontalAdvance(QString::fromStdString(g->text(0, c))) + 6,
                  fromTwips(g->colWidth(c)))
            << g->text(0, c);
}

TEST_F(TextLayoutTest, ScatterLabelsStayInsideItsFrameAndMaximizedWindowsFillTheWorkArea) {
    startOnRealCore(real);
    useSystem(shell->config, 1, "GPS1", {T::GGA});
    shell->config.Mode = "ONLINE";
    window->resize(1400, 1000);
    window->show();
    ShowScatterWindow(*shell, 1);
    auto* scatter = qobject_cast<ScatterWindow*>(shell->windows.slot(WindowKind::Scatter, 1).window());
    ASSERT_NE(scatter, nullptr);
    for (int i = 0; i < 10; ++i) {
        char body[128];
        // Offsets of a few metres: a whole-metre scale whose end ticks lie on the frame.
        std::snprintf(body, sizeof body, "$GPGGA,1200%02d,5200.00%d0,N,00400.00%d0,E,1,08,0.9,10.0,M,46.9,M,,", i,
                      i % 3, i % 4);
        line(body);
    }
    window->redrawTick().drawNow();

    // The axes across the plot label their ends inside the frame and clear of it: the frame's
    // lines and the two pixels inside them are the same drawn with and without those labels.
    auto frameLines = [&] {
        const QImage image = scatter->chartWidget()->renderImage();
        const QRect plot = scatter->chartWidget()->layout().plot;
        std::vector<QRgb> pixels;
        for (int d = 0; d <= 2; ++d) {
            for (int x = plot.left() + d; x <= plot.right() + 1 - d; ++x)
                for (int y : {plot.top() + d, plot.bottom() + 1 - d}) pixels.push_back(image.pixel(x, y));
            for (int y = plot.top() + d; y <= plot.bottom() + 1 - d; ++y)
                for (int x : {plot.left() + d, plot.right() + 1 - d}) pixels.push_back(image.pixel(x, y));
        }
        return pixels;
    };
    std::vector<Axis*> across;
    for (Axis* a : scatter->scatterChart().allAxes())
        if (a->positionPercent() != 0 && a->labelsVisible()) across.push_back(a);
    ASSERT_EQ(across.size(), 2u);
    scatter->chartWidget()->setIncrementalPoints(false);  // each drawing whole
    const std::vector<QRgb> labelled = frameLines();
    for (Axis* a : across) a->setLabelsVisible(false);
    EXPECT_EQ(frameLines(), labelled);
    for (Axis* a : across) a->setLabelsVisible(true);

    // Metres per pixel east and north, and the plot's share of the chart's height: one scale
    // for both axes at any window size, the plot as high as the chart lets it be.
    struct Scale {
        double east, north, heightShare;
    };
    auto scale = [&] {
        ChartWidget* chart = scatter->chartWidget();
        chart->renderImage();
        const ChartLayout& l = chart->layout();
        Chart& c = scatter->scatterChart();
        EXPECT_TRUE(chart->rect().contains(l.plot)) << "the whole plot in the chart";
        // Tick labels inside the chart and clear of each other (a blank side by side, a few
        // pixels one above the other), the end labels kept inside the frame too.
        const int blank = QFontMetrics(QFont()).horizontalAdvance(QLatin1Char(' '));
        for (const AxisPlacement& ap : l.axes) {
            for (std::size_t i = 0; i < ap.labels.size(); ++i) {
                EXPECT_TRUE(chart->rect().contains(ap.labels[i])) << "label " << i << " cut";
                for (std::size_t j = 0; j < i; ++j) {
                    const QRect &r = ap.labels[j], &s = ap.labels[i];
                    const int apart = ap.axis->horizontal() ? std::max(s.left() - r.right(), r.left() - s.right()) - 1
                                                             : std::max(s.top() - r.bottom(), r.top() - s.bottom()) - 1;
                    EXPECT_GE(apart, ap.axis->horizontal() ? blank : 2) << "labels " << j << " and " << i;
                }
            }
        }
        EXPECT_GE(l.find(&c.bottomAxis())->labels.size(), 3u) << "labels either side of the middle";
        const AxisMap& e = l.find(&c.bottomAxis())->map;
        const AxisMap& n = l.find(&c.leftAxis())->map;
        return Scale{1 / std::fabs(e.toPixel(1) - e.toPixel(0)), 1 / std::fabs(n.toPixel(1) - n.toPixel(0)),
                     double(l.plot.height()) / chart->height()};
    };
    const Scale own = scale();
    EXPECT_DOUBLE_EQ(own.east, own.north) << "at its own size";
    EXPECT_GT(own.heightShare, 0.75) << "the plot as wide as the chart lets it be";

    // Maximized, the scatter plot and the offline status window fill the work area; the plot
    // keeps one scale for both axes.
    const QSize area = mdi()->viewport()->size();
    scatter->parentWidget()->showMaximized();
    EXPECT_EQ(scatter->parentWidget()->size(), area);
    EXPECT_EQ(scatter->chartWidget()->width(), scatter->width());
    const Scale maximized = scale();
    EXPECT_DOUBLE_EQ(maximized.east, maximized.north) << "maximized";
    EXPECT_GT(maximized.heightShare, 0.8);
    EXPECT_LT(maximized.north, own.north) << "larger maximized";
    const QRect plot = scatter->chartWidget()->layout().plot;
    EXPECT_NEAR(plot.center().x(), scatter->chartWidget()->width() / 2, scatter->chartWidget()->width() / 20)
        << "the plot in the middle of the window";
    scatter->parentWidget()->showNormal();
    EXPECT_LT(scatter->chartWidget()->width(), scatter->chartWidget()->height()) << "near square again";
    EXPECT_EQ(scale().north, own.north);

    window->showOfflineStatus();
    OfflineStatusWindow* status = window->offlineStatusWindow();
    ASSERT_NE(status, nullptr);
    QWidget* statusFrame = status->parentWidget();
    const QSize design = statusFrame->size();
    statusFrame->showMaximized();
    EXPECT_EQ(statusFrame->size(), area);
    statusFrame->showNormal();
    EXPECT_EQ(statusFrame->size(), design) << "its fixed size again";
    expectTextsClear(status);
}

}  // namespace
}  // namespace tiderune::test
