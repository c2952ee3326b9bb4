// The sky plot inside a whole main window on the real core: opened for a system, fed GSA and
// GSV sentences, drawn on the tick; the mask box's refusal and its value in a window reopened
// by the resets; and the polar plot's pixels.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>

#include <cmath>
#include <functional>
#include <numbers>

#include "app/program_core.h"
#include "app/reset_family.h"
#include "charts/skyplot_window.h"
#include "charts/time_series_window.h"
#include "platform/qt/chart_widget.h"
#include "core/parsers.h"
#include "platform/qt/drawing_surface_qt.h"
#include "shell_fixture.h"

namespace tiderune::test {
namespace {

std::string sentence(const std::string& body) { return body + "*" + CalcChecksum(body + "*") + "\r\n"; }

class SkyplotWindowTest : public ShellTest {
protected:
    SkyplotWindow* open() {
        startOnRealCore(real);
        useSystem(shell->config, 1, "Bridge", {SentenceType::GSA, SentenceType::GSV});
        shell->config.ElevationMask = 10;
        shell->state.StartupDone = true;
        boxes.shown.clear();
        ShowSkyplotWindow(*shell, 1);
        return qobject_cast<SkyplotWindow*>(shell->windows.slot(WindowKind::Skyplot, 1).window());
    }
    void feed(const std::string& body) { shell->processSentence(1, sentence(body)); }
    ProgramCore real;
};

// Whether a pixel within `slack` of (x, y) has colour c.
bool colourNear(const QImage& img, QPointF at, QColor c, int slack = 1) {
    for (int dy = -slack; dy <= slack; ++dy)
        for (int dx = -slack; dx <= slack; ++dx) {
            const QPoint p(static_cast<int>(std::lround(at.x())) + dx, static_cast<int>(std::lround(at.y())) + dy);
            if (img.rect().contains(p) && img.pixelColor(p) == c) return true;
        }
    return false;
}

}  // namespace

TEST_F(SkyplotWindowTest, FedWhileOpenAndDrawnOnTheTick) {
    SkyplotWindow* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle().toStdString(), "Skyplot 1 - Bridge - GSA/GSV Numerics");
    EXPECT_EQ(w->txtElMask->text(), "10");

    feed("$GPGSA,A,3,07,,,,,,,,,,,,1.8,0.9,1.5");
    feed("$GPGSV,2,1,05,07,40,083,46,08,05,308,41,12,07,344,0,14,22,228,45");
    EXPECT_TRUE(w->changed()) << "fed in memory; the widgets wait for the tick";
    EXPECT_EQ(w->rows[1].sv->text(), "*");
    feed("$GPGSV,2,2,05,16,60,100,33");
    window->redrawTick().drawNow();
    EXPECT_EQ(w->rows[1].sv->text(), " 7");
    EXPECT_EQ(w->rows[1].elevation->text(), "40  ") << "no trend before its first change";
    EXPECT_EQ(w->rows[2].sv->palette().color(QPalette::WindowText), QColor(Qt::red)) << "not used in the fix";
    EXPECT_EQ(w->rows[2].elevation->palette().color(QPalette::WindowText), QColor(Qt::red)) << "below the mask";
    EXPECT_EQ(w->rows[5].sv->text(), " 16");
    EXPECT_EQ(w->rows[6].sv->text(), "*");
    EXPECT_EQ(w->lblCurrentMode->text(), " 3D Auto");
    EXPECT_EQ(w->lblPdop->text(), "1.8");
    EXPECT_EQ(w->lblSvsInView->text(), " 5");
    EXPECT_EQ(w->lblUsedSvs[0]->text(), " 1 -  7");

    // A refused mask is reported and the value stays; a good one is floored and redrawn.
    w->txtElMask->setText("90");
    w->txtElMask_LostFocus();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{InvalidElevationMaskMessage});
    EXPECT_EQ(shell->config.ElevationMask, 10);
    w->txtElMask->setText("12,9");
    w->txtElMask_LostFocus();
    EXPECT_EQ(shell->config.ElevationMask, 12);
    EXPECT_EQ(w->txtElMask->text(), "12");

    // Closed, the sky plot takes nothing in.
    w->closeFromCode();
    EXPECT_FALSE(shell->config.WindowVisible[1][VisibleForms::Skyplot]);
    feed("$GPGSV,1,1,01,09,50,090,40");
    EXPECT_EQ(shell->timeSeries.SatelliteTable[1][9].Elevation, 0);
}

TEST_F(SkyplotWindowTest, PolarPlotPixels) {
    SkyplotWindow* w = open();
    ImageDrawingSurface& surface = w->picSkyplot->surface();
    surface.resize(QSize(361, 361));  // 2 pixels a degree, the zenith at (180.5, 180.5)
    feed("$GPGSA,A,3,07,,,,,,,,,,,,1.8,0.9,1.5");
    feed("$GPGSV,1,1,02,07,45,135,46,21,30,270,40");
    w->refreshIfChanged();  // the redraw tick
    const QImage img = surface.image();
    auto at = [&](double x, double y) { return surface.toPixel(x, y); };

    // The rings at elevations 60, 30 and 0 on a diagonal, away from the axes.
    const double d = std::sqrt(0.5);
    for (double r : {30.0, 60.0, 90.0}) EXPECT_TRUE(colourNear(img, at(r * d, r * d), Qt::blue)) << r;
    EXPECT_FALSE(colourNear(img, at(45 * d, 45 * d), Qt::blue)) << "nothing between the rings";
    // The dashed mask ring at 90 - 10, somewhere on its quarter.
    bool mask = false;
    for (int a = 0; a < 90 && !mask; a += 2)
        mask = colourNear(img, at(80 * std::sin(a * std::numbers::pi / 180), 80 * std::cos(a * std::numbers::pi / 180)), Qt::red, 0);
    EXPECT_TRUE(mask);

    // PRN 7 (used: black) at elevation 45, azimuth 135: south-east of the zenith, radius 45.
    const QPointF sat7 = at(45 * d, -45 * d);
    EXPECT_EQ(img.pixelColor(sat7.toPoint()), QColor(Qt::black));
    EXPECT_NEAR(sat7.x(), 180.5 + 90 * d, 1);
    EXPECT_NEAR(sat7.y(), 180.5 + 90 * d, 1);
    // PRN 21 (not used: red) due west at elevation 30.
    EXPECT_EQ(img.pixelColor(at(-60, 0).toPoint()), QColor(Qt::red));
}

// The plot shows the last group drawn whatever happens to its window: maximized, restored,
// resized, moved, repainted, with the focus going into the mask box and out again (an
// unchanged mask). Only a new mask clears it until the next group.
TEST_F(SkyplotWindowTest, TheLastGroupStaysDrawnThroughResizesAndRepaints) {
    SkyplotWindow* w = open();
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    ASSERT_NE(sub, nullptr);
    sub->show();
    feed("$GPGSA,A,3,07,,,,,,,,,,,,1.8,0.9,1.5");
    feed("$GPGSV,1,1,02,07,45,135,46,21,30,270,40");
    window->redrawTick().drawNow();
    ImageDrawingSurface& surface = w->picSkyplot->surface();
    // The colours at PRN 7 (used: black) and PRN 21 (not used: red).
    auto drawn = [&] {
        const QImage img = surface.image();
        const double d = std::sqrt(0.5);
        return (img.pixelColor(surface.toPixel(45 * d, -45 * d).toPoint()).name() + " " +
                img.pixelColor(surface.toPixel(-60, 0).toPoint()).name())
            .toStdString();
    };
    const std::string plotted = "#000000 #ff0000";
    ASSERT_EQ(drawn(), plotted);
    const QPoint where = sub->pos();
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"maximized", [&] { sub->showMaximized(); }},
        {"restored", [&] { sub->showNormal(); }},
        {"resized", [&] { sub->resize(sub->width() + 150, sub->height() - 60); }},
        {"moved", [&] { sub->move(where + QPoint(40, 30)); }},
        {"focus into the mask box", [&] { w->txtElMask->setFocus(Qt::MouseFocusReason); }},
        {"maximized from the mask box", [&] { sub->showMaximized(); }},
        {"focus out of the mask box", [&] { w->txtElMask->clearFocus(); }},
        {"mask left as it was", [&] { w->txtElMask_LostFocus(); }},
        {"restored again", [&] { sub->showNormal(); }},
        {"repainted", [&] { w->picSkyplot->repaint(); }},
    };
    for (const auto& [name, step] : steps) {
        step();
        QApplication::processEvents();
        window->redrawTick().drawNow();
        EXPECT_EQ(drawn(), plotted) << name;
    }
    // A new mask clears the plot until the next group's end.
    w->txtElMask->setText("15");
    w->txtElMask_LostFocus();
    window->redrawTick().drawNow();
    EXPECT_EQ(drawn(), "#ffffff #ffffff");
    feed("$GPGSV,1,1,02,07,45,135,46,21,30,270,40");
    window->redrawTick().drawNow();
    EXPECT_EQ(drawn(), plotted);
}

TEST_F(SkyplotWindowTest, GsaAndGsvWindowsAreFamilyMembersThatColourTheSkyPlot) {
    SkyplotWindow* sky = open();
    ShowTimeSeriesWindows(*shell, 1);
    auto member = [&](WindowKind k) { return qobject_cast<TimeSeriesWindow*>(shell->windows.slot(k, 1).window()); };
    TimeSeriesWindow* gsa = member(WindowKind::TimeSeriesGSA);
    TimeSeriesWindow* gsv = member(WindowKind::TimeSeriesGSV);
    ASSERT_NE(gsa, nullptr);
    ASSERT_NE(gsv, nullptr);
    EXPECT_EQ(gsv->windowTitle().toStdString(), "GSV Time Series 1 - Bridge");
    const Chart& elevation = gsv->chartWidget(0)->chart();
    ASSERT_EQ(elevation.seriesCount(), 152);

    feed("$GPGSA,M,3,07,,,,,,,,,,,,1.8,0.9,1.5");
    feed("$GPGSV,1,1,01,07,40,083,46");
    feed("$GPGSV,1,1,01,07,41,083,46");
    window->redrawTick().drawNow();
    EXPECT_EQ(gsa->chartWidget(1)->chart().series(7).count(), 1);
    EXPECT_EQ(elevation.series(7).count(), 1) << "the first group end came before the sky plot took PRN 7 in";
    const Colour c = elevation.series(7).colour();
    EXPECT_EQ(shell->timeSeries.SatelliteTable[1][7].ChartColour, c);
    EXPECT_EQ(sky->rows[1].colour->palette().color(QPalette::Window), QColor(redOf(c), greenOf(c), blueOf(c)));
}

// A reset reopens the sky plot, which may take the focus straight into the mask box: the
// box shows the mask all the same, and the focus leaving it changes nothing.
TEST_F(SkyplotWindowTest, TheMaskBoxOfAWindowReopenedByResetsKeepsTheMask) {
    open();
    ResetFamily resets(*shell);
    for (int i = 0; i < 3; ++i) {
        resets.ResetSkyplot();
        QApplication::processEvents();
        auto* w = qobject_cast<SkyplotWindow*>(shell->windows.slot(WindowKind::Skyplot, 1).window());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->txtElMask->text(), "10") << "reset " << i;
        EXPECT_EQ(shell->config.ElevationMask, 10) << "reset " << i;
    }
}

}  // namespace tiderune::test
