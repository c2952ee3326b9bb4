// The numerics window inside a whole main window on the real core: its load (caption, open
// word, the frames of the analysed types stacked, the placeholders), a sentence drawn on the
// redraw tick, and a reset that reopens it where the user left it.
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>

#include "app/program_core.h"
#include "app/reset_family.h"
#include "core/parsers.h"
#include "platform/qt/grid_widget.h"
#include "shell_fixture.h"
#include "views/numerics_window.h"

namespace tiderune::test {
namespace {

using T = SentenceType;

class NumericsWindowTest : public ShellTest {
protected:
    NumericsWindow* open() {
        ShowNumericsWindow(*shell, 1);
        return qobject_cast<NumericsWindow*>(shell->windows.slot(WindowKind::Numerics, 1).window());
    }
    void line(const std::string& body) { shell->processSentence(1, body + "*" + CalcChecksum(body) + "\r\n"); }
    ProgramCore real;
};

TEST_F(NumericsWindowTest, LoadsTheAnalysedTypesAndShowsSentencesOnTheTick) {
    startOnRealCore(real);
    useSystem(shell->config, 1, "GPS1", {T::GGA, T::RMC, T::GSA});
    shell->config.LatLonDecimals = 2;
    NumericsWindow* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName(), "frmNumerics");
    EXPECT_EQ(w->windowTitle(), "Numerics 1 - GPS1");
    EXPECT_TRUE(shell->config.WindowVisible[1][VisibleForms::Numerics]);

    // GGA at the top, RMC under it, the GSA note under that; the rest hidden.
    QGroupBox* gga = w->frameOf(T::GGA);
    QGroupBox* rmc = w->frameOf(T::RMC);
    QGroupBox* gsa = w->frameOf(T::GSA);
    EXPECT_TRUE(gga->isVisible() && rmc->isVisible() && gsa->isVisible());
    EXPECT_FALSE(w->frameOf(T::GNS)->isVisible());
    EXPECT_EQ(gga->pos(), QPoint(0, 0));
    EXPECT_EQ(rmc->y(), gga->height());
    EXPECT_EQ(gsa->y(), gga->height() + rmc->height());
    EXPECT_EQ(gsa->title(), "GSA Numerics");
    EXPECT_EQ(gsa->findChild<QLabel*>("Label1")->text(), "See Skyplot Window");
    GridWidget* g = w->grid(T::GGA);
    EXPECT_EQ(g->rows(), 12);
    EXPECT_EQ(g->text(0, 1), "Current value");
    EXPECT_EQ(g->text(6, 0), "Quality");
    EXPECT_EQ(g->text(6, 1), "           n/a");

    line("$GPGGA,120000,5230.5000,N,00412.2500,E,2,08,0.9,545.4,M,46.9,M,,");
    EXPECT_EQ(g->text(6, 1), "           n/a") << "drawn on the tick, not per sentence";
    window->redrawTick().drawNow();
    EXPECT_EQ(g->text(1, 1), "52\xB0 30.50' N");
    EXPECT_EQ(g->text(6, 1), " 2 - dGPS");
    EXPECT_EQ(w->grid(T::RMC)->text(1, 1), "           n/a");

    // Closed, the window is not written; a reset reopens it where the user left it.
    w->parentWidget()->move(30, 40);
    shell->state.StartupDone = true;
    window->resets().ResetNumerics();
    w = qobject_cast<NumericsWindow*>(shell->windows.slot(WindowKind::Numerics, 1).window());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget()->pos(), QPoint(30, 40));
    EXPECT_EQ(w->grid(T::GGA)->text(6, 1), "           n/a");
    ASSERT_TRUE(shell->windows.slot(WindowKind::Numerics, 1).unload());
    EXPECT_FALSE(shell->config.WindowVisible[1][VisibleForms::Numerics]);
    line("$GPGGA,120001,5230.5000,N,00412.2500,E,1,08,0.9,545.4,M,46.9,M,,");
    window->redrawTick().drawNow();
}

}  // namespace
}  // namespace tiderune::test
