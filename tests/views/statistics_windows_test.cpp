// The statistics and SNR statistics windows inside a whole main window on the real core: the
// layout they load with, the cells and labels drawn on the redraw tick, the SNR window closed
// while the statistics window stays open, the OFFLINE load that fills at once, and the SNR
// window's scroll bars along its inner edges at any size.
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <ostream>

#include "app/program_core.h"
#include "app/reset_family.h"
#include "core/parsers.h"
#include "platform/qt/grid_widget.h"
#include "shell_fixture.h"
#include "views/statistics_windows.h"

// Rectangles in failure messages as places, not bytes.
inline void PrintTo(const QRect& r, std::ostream* o) {
    *o << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace tiderune::test {
namespace {

using T = SentenceType;

class StatisticsWindowsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        startOnRealCore(real);
        useSystem(shell->config, 1, "GPS1", {T::GGA, T::GSA, T::GSV, T::HDT});
        shell->config.Mode = "ONLINE";
    }
    StatisticsWindow* statistics() {
        return qobject_cast<StatisticsWindow*>(shell->windows.slot(WindowKind::Statistics, 1).window());
    }
    StatisticsSNRWindow* snr() {
        return qobject_cast<StatisticsSNRWindow*>(shell->windows.slot(WindowKind::StatisticsSNR, 1).window());
    }
    void line(const std::string& body) { shell->processSentence(1, body + "*" + CalcChecksum(body) + "\r\n"); }
    ProgramCore real;
};

TEST_F(StatisticsWindowsTest, LayoutCellsAndTheClosedSNRWindow) {
    ShowStatisticsWindow(*shell, 1);
    ShowStatisticsSNRWindow(*shell, 1);
    StatisticsWindow* w = statistics();
    StatisticsSNRWindow* s = snr();
    ASSERT_TRUE(w && s);
    EXPECT_EQ(w->windowTitle(), "Statistics 1 - GPS1");
    EXPECT_EQ(s->windowTitle(), "Statistics SNR 1 - GPS1");
    EXPECT_TRUE(shell->config.WindowVisible[1][VisibleForms::SNRStatistics]);
    EXPECT_TRUE(w->frameRefPos->isVisible() && w->frameHeading->isVisible());
    EXPECT_TRUE(w->findChild<QLabel*>("lblAvgHgt")->isVisible());
    EXPECT_EQ(w->label(StatLabel::RefPosOption)->text(), "Ref is : First sample");
    // GSA stacked under GGA, GSV beside it.
    EXPECT_EQ(w->frameOf(T::GGA)->y(), 112);
    EXPECT_EQ(w->frameOf(T::GSA)->y(), w->frameOf(T::GGA)->y() + w->frameOf(T::GGA)->height());
    EXPECT_EQ(w->frameOf(T::GSV)->pos(), QPoint(w->frameOf(T::GSA)->width(), w->frameOf(T::GSA)->y()));
    GridWidget* gga = w->grid(T::GGA);
    EXPECT_EQ(gga->text(0, 5), "Qual");
    EXPECT_EQ(gga->text(6, 0), "68%  <");
    EXPECT_EQ(gga->text(6, 5), "     n/a");
    EXPECT_EQ(s->grid(2)->text(0, 0), "id / PRN");
    EXPECT_EQ(s->grid(1)->text(0, 1), "33/120");
    EXPECT_EQ(s->grid(0)->text(6, 0), "68%  >");

    line("$GPGGA,120000,5200.0000,N,00400.0000,E,1,08,0.9,10.0,M,46.9,M,,");
    line("$HEHDT,100.0,T");
    line("$GPGSV,1,1,02,01,40,083,46,152,17,308,40");
    window->redrawTick().drawNow();
    EXPECT_EQ(gga->text(8, 6), "1");
    EXPECT_EQ(gga->text(6, 8), "       n/a");
    EXPECT_EQ(w->label(StatLabel::AvgPosCount)->text(), "1");
    EXPECT_EQ(w->label(StatLabel::RefHdg)->text(), "100.00");
    EXPECT_EQ(w->label(StatLabel::StartTime)->text().left(9), "12:00:00 ");
    EXPECT_EQ(s->grid(0)->text(1, 1), "46");
    EXPECT_EQ(s->grid(4)->text(1, 2), "     n/a") << "Galileo is never written";

    // The SNR window closed: the statistics window goes on, nothing reopens it.
    ASSERT_TRUE(shell->windows.slot(WindowKind::StatisticsSNR, 1).unload());
    line("$GPGSV,1,1,01,02,40,083,41");
    window->redrawTick().drawNow();
    EXPECT_EQ(snr(), nullptr);
    EXPECT_EQ(w->grid(T::GSV)->text(8, 1), "2");

    // In OFFLINE a window opened later shows what was gathered at once; the scroll bars
    // show for a window smaller than the five tables.
    shell->config.Mode = "OFFLINE";
    ShowStatisticsSNRWindow(*shell, 1);
    EXPECT_EQ(snr()->grid(0)->text(8, 2), "1");
    EXPECT_TRUE(snr()->HScroll->isVisible() && snr()->VScroll->isVisible());
    snr()->HScroll->setValue(100);
    EXPECT_LT(snr()->frameMain->x(), 0);
}

// The part of `w` its ancestors up to `top` let show, in `top`'s coordinates.
QRect shownPart(const QWidget* w, const QWidget* top) {
    QRect shown(w->mapTo(top, QPoint(0, 0)), w->size());
    for (const QWidget* p = w->parentWidget(); p && p != top; p = p->parentWidget())
        shown &= QRect(p->mapTo(top, QPoint(0, 0)), p->size());
    return shown & top->rect();
}

TEST_F(StatisticsWindowsTest, SNRScrollBarsLieAlongTheInnerEdgesAndReachTheLastTable) {
    ShowStatisticsSNRWindow(*shell, 1);
    StatisticsSNRWindow* s = snr();
    ASSERT_NE(s, nullptr);
    QWidget* frame = s->parentWidget();
    const QSize border = frame->size() - s->size();  // the sub-window's title bar and edges
    const QSize tables = s->frameMain->size();
    const int thick = s->HScroll->sizeHint().height();
    ASSERT_GT(tables.width(), 1000);
    struct Case {
        const char* name;
        QSize inner;  // the window's inside
        bool across, down;  // the bars shown
    };
    const QSize all = tables + QSize(thick, thick);
    for (const Case& c : {Case{"its default size", frame->size() - border, true, true},
                          Case{"everything in view", all, false, false},
                          Case{"a few pixels too narrow", QSize(tables.width() - 4, all.height() + 20), true, false},
                          Case{"a few pixels too low", QSize(all.width() + 20, tables.height() - 4), false, true},
                          Case{"wide, the bar down leaving too little width", QSize(tables.width() + 4, tables.height() - 4), true, true},
                          Case{"high, the bar across leaving too little height", QSize(tables.width() - 4, tables.height() + 4), true, true},
                          Case{"the outer size the tables' own", tables - border, true, true}}) {
        SCOPED_TRACE(c.name);
        frame->resize(c.inner + border);
        ASSERT_EQ(s->size(), c.inner);
        EXPECT_EQ(s->HScroll->isVisible(), c.across);
        EXPECT_EQ(s->VScroll->isVisible(), c.down);
        // Scrolled to the end by the case before, the tables start again at the edge that
        // needs no bar.
        const QPoint corner = s->frameMain->mapTo(s, QPoint(0, 0));
        if (!c.across) {
            EXPECT_EQ(corner.x(), 0);
        }
        if (!c.down) {
            EXPECT_EQ(corner.y(), 0);
        }
        // The bars along the right and the bottom edge of the inside, meeting at the corner;
        // the tables show only in the room they leave.
        const QRect room(0, 0, c.inner.width() - (c.down ? thick : 0), c.inner.height() - (c.across ? thick : 0));
        if (c.across) {
            EXPECT_EQ(s->HScroll->geometry(), QRect(0, room.bottom() + 1, room.width(), thick));
        }
        if (c.down) {
            EXPECT_EQ(s->VScroll->geometry(), QRect(room.right() + 1, 0, thick, room.height()));
        }
        for (int value : {0, 50, 100}) {
            SCOPED_TRACE(value);
            s->HScroll->setValue(c.across ? value : 0);
            s->VScroll->setValue(c.down ? value : 0);
            const QRect shown = shownPart(s->frameMain, s);
            EXPECT_TRUE(room.contains(shown)) << "tables beyond the bars";
            const QRect placed(s->frameMain->mapTo(s, QPoint(0, 0)), tables);
            if (value == 0) {
                EXPECT_EQ(placed.topLeft(), QPoint(0, 0));
            }
            if (value == 50) {
                // Halfway along a bar, halfway through what the room cannot show.
                if (c.across) {
                    EXPECT_NEAR(placed.left(), -(tables.width() - room.width()) / 2, 1);
                }
                if (c.down) {
                    EXPECT_NEAR(placed.top(), -(tables.height() - room.height()) / 2, 1);
                }
            }
            if (value == 100) {
                // The last column and the last table's bottom in view.
                EXPECT_LE(placed.right(), room.right());
                EXPECT_LE(placed.bottom(), room.bottom());
            }
        }
    }
}

}  // namespace
}  // namespace tiderune::test
