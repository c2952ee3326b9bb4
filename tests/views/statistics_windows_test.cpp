// The statistics and SNR statistics windows inside a whole main window on the real core: the
// layout they load with, the cells and labels drawn on the redraw tick, the SNR window closed
// while the statistics window stays open, and the OFFLINE load that fills at once.
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QScrollBar>

#include "app/program_core.h"
#include "app/reset_family.h"
#include "core/parsers.h"
#include "platform/qt/grid_widget.h"
#include "shell_fixture.h"
#include "views/statistics_windows.h"

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

}  // namespace
}  // namespace tiderune::test
