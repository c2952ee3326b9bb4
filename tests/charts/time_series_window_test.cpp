// The time-series windows of the single-sentence family inside a whole main window, fed
// through the real intake: every member gets its points, a hidden window keeps being fed,
// a reset re-creates the windows, and each member answers axis clicks by its own rules.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>

#include "app/program_core.h"
#include "app/reset_family.h"
#include "charts/time_series_window.h"
#include "core/parsers.h"
#include "platform/qt/chart_widget.h"
#include "shell_fixture.h"
#include "timeseries/time_series_engine.h"

namespace tiderune::test {
namespace {

std::string sentence(const std::string& body) { return body + "*" + CalcChecksum(body + "*") + "\r\n"; }

struct Member {
    SentenceType type;
    const char* body;
    int points;        // one per fed series
    bool leftAnyButton;  // a left-button click on chart 0's left axis opens the dialog
    bool rightDialog;    // a right-button click on the right axis opens it
};

const Member Members[] = {
    {SentenceType::VTG, "$GNVTG,54.7,T,51.1,M,5.5,N,10.2,K,D", 2, true, true},
    {SentenceType::GLL, "$GNGLL,5925.12420,N,01029.52887,E,080000.00,A,D", 3, false, false},
    {SentenceType::RMC, "$GNRMC,080000.00,A,5925.12420,N,01029.52887,E,5.5,54.7,150626,3.6,E,D", 5, false, true},
    {SentenceType::HDT, "$HEHDT,183.84,T", 1, false, false},
    {SentenceType::ATT, "$PADHRS,att,183.95,-0.11,0.92,080000.50", 3, false, false},
    {SentenceType::ROT, "$HEROT,3.8,A", 1, false, false},
    {SentenceType::VHW, "$VWVHW,183.8,T,180.2,M,0.32,N,0.59,K", 3, false, true},
    {SentenceType::DBT, "$SDDBT,29.5,f,9.0,M,4.9,F", 1, false, false},
    {SentenceType::GST, "$GNGST,080000.00,1.15,0.30,0.23,11.3,0.29,0.24,0.48", 7, false, false},
};

class TimeSeriesWindowTest : public ShellTest {
protected:
    void startAnalysing() {
        startOnRealCore(real);
        useSystem(shell->config, 1, "Bridge", {});
        for (const Member& m : Members) shell->config.Systems[1].analysed(m.type) = true;
        shell->state.StartupDone = true;
        window->resets().ResetAll();  // loads the analysed windows hidden
        boxes.shown.clear();
    }
    // A GNSS system analysing GGA alone, its window loaded hidden by the reset.
    void startWithGGA() {
        startOnRealCore(real);
        useSystem(shell->config, 1, "GNSS", {SentenceType::GGA});
        shell->state.StartupDone = true;
        window->resets().ResetAll();
    }
    TimeSeriesWindow* member(SentenceType t) {
        const std::optional<WindowKind> kind = timeSeriesKindOf(t);
        EXPECT_TRUE(kind);
        return qobject_cast<TimeSeriesWindow*>(shell->windows.slot(*kind, 1).window());
    }
    static int points(TimeSeriesWindow* w) {
        int n = 0;
        TimeSeriesForm& f = *w->timeSeriesForm();
        for (int c = 0; c < f.ChartCount; ++c)
            for (int s = 0; s < f.TChart(c).seriesCount(); ++s) n += f.TChart(c).series(s).count();
        return n;
    }
    void feedAll() {
        for (const Member& m : Members) shell->processSentence(1, sentence(m.body));
    }
    ProgramCore real;
};

TEST_F(TimeSeriesWindowTest, EveryMemberIsFedHiddenOrShownAndAResetStartsItEmpty) {
    startAnalysing();
    feedAll();
    for (const Member& m : Members) {
        TimeSeriesWindow* w = member(m.type);
        ASSERT_NE(w, nullptr) << sentenceTypeName(m.type);
        EXPECT_FALSE(w->parentWidget()->isVisible());
        EXPECT_EQ(points(w), m.points) << sentenceTypeName(m.type);
    }

    // Shown, drawn on the tick, closed by the user (only hidden), fed on.
    ShowTimeSeriesWindows(*shell, 1);
    TimeSeriesWindow* gst = member(SentenceType::GST);
    window->redrawTick().drawNow();
    EXPECT_EQ(gst->windowTitle().toStdString(), "GST Time Series 1 - Bridge");
    EXPECT_FALSE(gst->changed()) << "the tick refreshed the shown window";
    QApplication::processEvents();
    EXPECT_FALSE(gst->chartWidget(2)->chart().dirty()) << "and its charts were drawn";
    shell->processSentence(1, sentence(Members[8].body));
    EXPECT_TRUE(gst->changed()) << "a new point waits for the next tick";
    gst->parentWidget()->close();
    EXPECT_FALSE(gst->parentWidget()->isVisible());
    EXPECT_TRUE(shell->config.WindowVisible[1][VisibleForms::GSTTimeSeries]);
    feedAll();
    EXPECT_EQ(member(SentenceType::GST), gst);
    EXPECT_EQ(points(gst), 21);

    // A reset re-creates every window; the engine finds the new ones through their slots.
    window->resets().ResetGraphics();
    for (const Member& m : Members) EXPECT_EQ(points(member(m.type)), 0) << sentenceTypeName(m.type);
    feedAll();
    for (const Member& m : Members) EXPECT_EQ(points(member(m.type)), m.points) << sentenceTypeName(m.type);
}

TEST_F(TimeSeriesWindowTest, AWindowLoadedByItsFeedTakesTheSystemItIsFedFor) {
    startAnalysing();
    useSystem(shell->config, 2, "Gyro", {SentenceType::ROT});
    WindowSlot& slot = shell->windows.slot(WindowKind::TimeSeriesROT, 2);
    slot.unload();
    shell->handOverWord(HandOver::ROT) = 1;  // the last opener's system
    shell->processSentence(2, sentence(Members[5].body));
    ASSERT_TRUE(slot.isLoaded());
    EXPECT_EQ(slot.window()->system(), 2);
    EXPECT_FALSE(slot.isVisible());
    EXPECT_EQ(points(qobject_cast<TimeSeriesWindow*>(slot.window())), 1);
    // Its icon tells its system apart from system 1's window of the kind.
    const QIcon icon = slot.window()->parentWidget()->windowIcon();
    EXPECT_FALSE(icon.isNull());
    EXPECT_NE(icon.cacheKey(),
              shell->windows.slot(WindowKind::TimeSeriesROT, 1).window()->parentWidget()->windowIcon().cacheKey());
}

TEST_F(TimeSeriesWindowTest, AxisClicksFollowEachMembersRules) {
    startAnalysing();
    AxisDialogTarget& target = shell->timeSeries.axisDialog;
    for (const Member& m : Members) {
        TimeSeriesForm& f = *member(m.type)->timeSeriesForm();
        const char* name = sentenceTypeName(m.type).data();
        EXPECT_EQ(f.axisClick(0, AxisCode::Left, mouse::Left, target) == AxisClickAction::YAxisDialog, m.leftAnyButton)
            << name;
        EXPECT_EQ(f.axisClick(0, AxisCode::Left, mouse::Right, target), AxisClickAction::YAxisDialog) << name;
        EXPECT_EQ(target.AxisDialogAxis, "left");
        EXPECT_EQ(target.AxisDialogChartCount, f.ChartCount);
        EXPECT_EQ(f.axisClick(0, AxisCode::Right, mouse::Right, target) == AxisClickAction::YAxisDialog, m.rightDialog)
            << name;
        EXPECT_EQ(f.axisClick(0, AxisCode::Top, mouse::Right, target), AxisClickAction::None) << name;
    }
    // RMC: the lower chart takes any button, the upper the right one only.
    TimeSeriesForm& rmc = *member(SentenceType::RMC)->timeSeriesForm();
    EXPECT_EQ(rmc.axisClick(1, AxisCode::Left, mouse::Left, target), AxisClickAction::YAxisDialog);
    EXPECT_EQ(rmc.axisClick(0, AxisCode::Left, mouse::Left, target), AxisClickAction::None);

    // The bottom axis through the screen: refused with a box unless the mode is "Manual".
    TimeSeriesWindow* dbt = member(SentenceType::DBT);
    dbt->chartWidget(0)->chart().raiseAxisClick({0, AxisCode::Bottom, mouse::Right, 0, 0, 0});
    EXPECT_EQ(boxTexts(), std::vector<std::string>{ManualTimeAxisMessage});
    auto* option = dbt->findChild<QComboBox*>("cmbOption");
    ASSERT_NE(option, nullptr);
    option->setCurrentIndex(3);
    emit option->activated(3);
    EXPECT_EQ(shell->timeSeries.settings.TimeAxisOption[chart_kind::DBT][1], "Manual");
    EXPECT_FALSE(dbt->findChild<QComboBox*>("cmbInterval")->isVisibleTo(dbt));
    EXPECT_EQ(dbt->timeSeriesForm()->axisClick(0, AxisCode::Bottom, mouse::Right, target), AxisClickAction::XAxisDialog);
    EXPECT_EQ(target.AxisDialogAxis, "bottom");
}

TEST_F(TimeSeriesWindowTest, PositionWindowFedWithItsDGPSChartSwitchedOffAndOn) {
    startWithGGA();
    for (const char* id : {"0017", "0017", "0017"})
        shell->processSentence(
            1, sentence(std::string("$GNGGA,080000.00,5925.12420,N,01029.52887,E,2,04,0.9,6.3,M,39.8,M,3.0,") + id));
    TimeSeriesWindow* gga = member(SentenceType::GGA);
    ASSERT_NE(gga, nullptr);
    TimeSeriesForm& f = *gga->timeSeriesForm();
    EXPECT_EQ(f.TChart(2).series(0).pointColour(0), Colour{0xFF00FF}) << "four satellites: magenta";
    EXPECT_EQ(f.TChart(3).series(2).count(), 1) << "one station bar for the run";
    EXPECT_EQ(gga->chartWidget(3)->toolTip().left(24).toStdString(), "Quality Bar Color Code :");

    ShowTimeSeriesWindows(*shell, 1);
    auto* box = gga->findChild<QCheckBox*>("chkDGPS");
    ASSERT_NE(box, nullptr);
    const int before = gga->parentWidget()->height();
    const int shrink = f.chartPlaces[3].height / 15;
    box->click();
    EXPECT_TRUE(shell->config.NoDGPSChart[1]);
    EXPECT_EQ(gga->parentWidget()->height(), before - shrink);
    shell->processSentence(1, sentence("$GNGGA,080001.00,5925.12420,N,01029.52887,E,2,04,0.9,6.3,M,39.8,M,3.0,0017"));
    EXPECT_EQ(f.TChart(3).series(2).count(), 1) << "the DGPS chart is not fed while off";
    EXPECT_EQ(f.TChart(0).series(0).count(), 4);
    box->click();
    EXPECT_FALSE(shell->config.NoDGPSChart[1]);
}

TEST_F(TimeSeriesWindowTest, PositionWindowStripControlsDoNotOverlap) {
    startWithGGA();
    ShowTimeSeriesWindows(*shell, 1);
    TimeSeriesWindow* gga = member(SentenceType::GGA);
    ASSERT_NE(gga, nullptr);
    for (int width : {0, 500, 1400}) {  // as opened, then narrowed and widened by the user
        if (width) gga->parentWidget()->resize(width, gga->parentWidget()->height());
        window->redrawTick().drawNow();
        std::vector<QWidget*> strip;
        for (QWidget* w : gga->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!qobject_cast<ChartWidget*>(w) && w->isVisibleTo(gga)) strip.push_back(w);
        ASSERT_GE(strip.size(), 8u);
        for (QWidget* a : strip)
            for (QWidget* b : strip)
                EXPECT_TRUE(a == b || !a->geometry().intersects(b->geometry()))
                    << width << ": " << a->objectName().toStdString() << " over " << b->objectName().toStdString();
    }
}

}  // namespace
}  // namespace tiderune::test
