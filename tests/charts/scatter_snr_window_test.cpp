// The scatter plot and the SNR time series inside a whole main window: positions become
// points hidden or shown and the scale dialog fixes the range; an SNR window is always the
// window of its slot, asks before every close (close, exit) and outlives the resets, the
// run after a reset replacing the times it goes over again; the chooser stores the choice
// and re-arranges only a loaded system-1 window.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

#include <fstream>

#include "app/program_core.h"
#include "app/offline_replay.h"
#include "app/reset_family.h"
#include "charts/scatter_window.h"
#include "charts/snr_window.h"
#include "charts/time_series_window.h"
#include "core/parsers.h"
#include "platform/qt/chart_widget.h"
#include "platform/twips.h"
#include "shell_fixture.h"

namespace tiderune::test {
namespace {

std::string sentence(const std::string& body) { return body + "*" + CalcChecksum(body + "*") + "\r\n"; }

class ScatterSnrTest : public ShellTest {
protected:
    void startAnalysing() {
        startOnRealCore(real);
        useSystem(shell->config, 1, "Bridge", {});
        shell->config.Systems[1].analysed(SentenceType::GGA) = true;
        shell->config.Systems[1].analysed(SentenceType::GSV) = true;
        shell->state.StartupDone = true;
        window->resets().ResetAll();
        ShowTimeSeriesWindows(*shell, 1);  // the SNR windows of constellations 1 to 4 with them
        boxes.shown.clear();
    }
    template <typename W>
    W* loaded(WindowKind kind, int system, int constellation = 1) {
        return qobject_cast<W*>(shell->windows.slot(kind, system, constellation).window());
    }
    int questions() const {
        int n = 0;
        for (const auto& r : boxes.shown) n += r.text == SNRCloseQuestion;
        return n;
    }
    // A satellite in view of system 1 as the sky plot leaves it, then its group's end.
    void satellite(int prn, int snr) {
        SatelliteRecord& s = shell->timeSeries.SatelliteTable[1][prn];
        s.Elevation = 40;
        s.Azimuth = 120;
        s.SNR = static_cast<std::int16_t>(snr);
        shell->timeSeries.UpdateTimeSeriesSNR(1, prn);
    }
    ProgramCore real;
};

TEST_F(ScatterSnrTest, PositionsBecomePointsAndTheScaleDialogFixesTheRange) {
    startAnalysing();
    auto* w = loaded<ScatterWindow>(WindowKind::Scatter, 1);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->parentWidget()->isVisible());
    shell->processSentence(1, sentence("$GNGGA,080000.00,5925.12420,N,01029.52887,E,2,12,0.8,35.2,M,39.1,M,1.0,0100"));
    shell->processSentence(1, sentence("$GNGGA,080001.00,5925.12520,N,01029.52887,E,2,12,0.8,35.2,M,39.1,M,1.0,0100"));
    Chart& c = w->scatterChart();
    ASSERT_EQ(c.series(0).count(), 2);  // fed while hidden
    EXPECT_NEAR(c.series(0).y(1), 1.85, 0.01);
    EXPECT_EQ(c.title().text(), "PRIMARY SYSTEM (blue)");
    EXPECT_EQ(w->windowTitle().toStdString(), "Scatter plot 1 - Bridge");

    ShowScatterWindow(*shell, 1);
    window->redrawTick().drawNow();
    EXPECT_EQ(w->chartWidget()->renderImage().isNull(), false);

    // A right-button click on an axis opens the scale dialog with the range in use.
    c.raiseAxisClick({0, AxisCode::Left, mouse::Left});
    EXPECT_EQ(window->findChild<QDialog*>("frmXYAxis"), nullptr);
    c.raiseAxisClick({0, AxisCode::Bottom, mouse::Right});
    auto* dialog = window->findChild<QDialog*>("frmXYAxis");
    ASSERT_NE(dialog, nullptr);
    auto* txtMax = dialog->findChild<QLineEdit*>("txtMax");
    EXPECT_EQ(txtMax->text(), "1.0");
    EXPECT_FALSE(txtMax->isEnabled());
    dialog->findChild<QCheckBox*>("chkAutomatic")->click();
    EXPECT_TRUE(txtMax->isEnabled());
    txtMax->setText("2,5");
    dialog->findChild<QPushButton*>("cmdOk")->click();
    EXPECT_FALSE(shell->scatter.ScatterAutoScale[1]);
    shell->processSentence(1, sentence("$GNGGA,080002.00,5925.12520,N,01029.52887,E,2,12,0.8,35.2,M,39.1,M,1.0,0100"));
    EXPECT_EQ(c.customAxis(0).title(), "Northing +/- 2.5 m");
    EXPECT_EQ(c.leftAxis().maximum(), 2.5);

    // The user's close only hides it; its points stay (the third position repeats the second
    // and is held once), and it is not reopened at the next start.
    w->parentWidget()->close();
    EXPECT_EQ(loaded<ScatterWindow>(WindowKind::Scatter, 1), w);
    EXPECT_EQ(c.series(0).count(), 2);
    EXPECT_FALSE(shell->config.WindowVisible[1][VisibleForms::Scatter]);
}

// The filter labels of the GSV window and of the SNR windows it governs show the length in
// force, though the covered windows are never repainted.
TEST_F(ScatterSnrTest, CoveredWindowsShowTheFilterInForce) {
    startAnalysing();
    window->redrawTick().drawNow();
    QApplication::processEvents();  // drawn once, then covered
    for (int i = 0; i < 601; ++i) {
        shell->processSentence(1, sentence("$GPGSV,1,1,05,07,40,120,44"));
        window->redrawTick().drawNow();
    }
    for (WindowKind kind : {WindowKind::TimeSeriesGSV, WindowKind::TimeSeriesSNR})
        EXPECT_EQ(shell->windows.slot(kind, 1).window()->findChild<QLabel*>("lblFilter")->text(), "2");
}

// PLAY twice on the same recording draws the same chart: no decimation block of the first
// replay's end reaches into the second.
TEST_F(ScatterSnrTest, PlayingARecordingTwiceDrawsTheSameChart) {
    startAnalysing();
    const std::string recording = home + "gsv.nmea";
    {
        std::ofstream f(recording, std::ios::binary);
        for (int i = 0; i < 1400; ++i) f << sentence("$GPGSV,1,1," + std::to_string(5 + i % 7) + ",07,40,120,44");
    }
    shell->config.Mode = "OFFLINE";
    shell->config.Systems[1].OfflineFile = recording;
    program->replay().beep = [] {};
    std::vector<double> first;
    for (int pass = 0; pass < 2; ++pass) {
        MainWindow::button(window->offlineToolBar(), "PLAY")->trigger();
        const Series& inView = loaded<TimeSeriesWindow>(WindowKind::TimeSeriesGSV, 1)->timeSeriesForm()->TChart(2).series(0);
        std::vector<double> values;
        for (int i = 0; i < inView.count(); ++i) values.push_back(inView.y(i));
        if (pass == 0) first = values;
        EXPECT_EQ(values, first);
    }
    EXPECT_EQ(first.size(), 1000u);  // 601 points, then one for each two lines
}

TEST_F(ScatterSnrTest, AnSNRWindowIsTheWindowOfItsSlot) {
    startAnalysing();
    auto* shown = loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, 2);
    // Whatever the hand-over words say, a window loaded by its feed takes its slot's identity.
    boxes.answers = {MessageAnswer::Yes};
    shell->windows.slot(WindowKind::TimeSeriesSNR, 1, 2).unload();
    boxes.shown.clear();
    shell->handOverWord(HandOver::SNRTimeSeries) = 3;
    shell->state.SNRWindowConstellation = 5;
    satellite(40, 44);  // SBAS, chart 8
    auto* w = loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, 2);
    ASSERT_NE(w, nullptr);
    EXPECT_NE(shown, nullptr);
    EXPECT_EQ(w->system(), 1);
    EXPECT_EQ(w->constellation(), 2);
    EXPECT_EQ(w->windowTitle().toStdString(), "SBAS SNR Timeseries 1 - Bridge");
    EXPECT_FALSE(w->parentWidget()->isVisible());
    EXPECT_EQ(w->snrChart(8).subTitle().text(), "SBAS PRN 127 (NMEA Index 40)");
    EXPECT_EQ(w->snrChart(8).series(0).y(0), 44);
    EXPECT_EQ(w->snrChart(8).series(1).y(0), 40);
    EXPECT_EQ(w->snrChart(8).series(2).y(0), 120);
    EXPECT_TRUE(shell->config.WindowVisible[1][VisibleForms::SNRTimeSeries]);

    // The last satellite of each constellation has its chart; PRN 100 plots into chart 0.
    for (auto [prn, constellation, chart] : {std::tuple{32, 1, 32}, {96, 3, 32}, {132, 4, 32}, {100, 4, 0}}) {
        satellite(prn, prn / 4);
        auto* k = loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, constellation);
        ASSERT_NE(k, nullptr) << prn;
        EXPECT_EQ(k->snrChart(chart).series(0).count(), 1) << prn;
        EXPECT_EQ(k->snrChart(chart).series(0).y(0), prn / 4) << prn;
    }
}

TEST_F(ScatterSnrTest, TheClosingQuestionOnCloseResetAndExit) {
    startAnalysing();
    auto* w = loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, 1);
    ASSERT_NE(w, nullptr);
    // The windows of a system share one placement, each constellation 400 twips further on.
    for (int k = 1; k <= 4; ++k) {
        const QWidget* f = loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, k)->parentWidget();
        EXPECT_EQ(f->pos(), QPoint(fromTwips(100 + 400 * k), fromTwips(100 + 400 * k))) << k;
    }
    satellite(7, 38);

    boxes.answers = {MessageAnswer::No};
    w->parentWidget()->close();
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, 1), w);

    // A reset neither closes nor empties the SNR windows.
    window->resets().ResetAll();
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, 1), w);
    EXPECT_EQ(w->snrChart(7).series(0).count(), 1);
    // The run after it replaces what it goes over again, here the same epoch.
    satellite(7, 39);
    EXPECT_EQ(w->snrChart(7).series(0).count(), 1);
    EXPECT_EQ(w->snrChart(7).series(0).y(0), 39);

    // No at the exit keeps the program as it was.
    boxes.answers = {MessageAnswer::No};
    EXPECT_FALSE(exitProgram());
    EXPECT_FALSE(shell->state.AppClosing);
    EXPECT_NE(loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, 1), nullptr);

    // Yes closes it and stores its placement, stagger included.
    boxes.answers = {MessageAnswer::Yes};
    auto* gps = loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, 1);
    gps->parentWidget()->move(100, 200);
    gps->parentWidget()->close();
    EXPECT_EQ(loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, 1), nullptr);
    EXPECT_EQ(shell->settingNumber("TimeSeriesSNRLeft 1", 0), 1500);
    EXPECT_FALSE(shell->config.WindowVisible[1][VisibleForms::SNRTimeSeries]);
    shell->state.SNRWindowConstellation = 1;
    shell->windows.slot(WindowKind::TimeSeriesSNR, 1, 1).load();
    EXPECT_EQ(loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, 1)->parentWidget()->pos(),
              QPoint(fromTwips(1900), fromTwips(3400)))
        << "reopened 400 twips further right and down than where it was closed";
}

TEST_F(ScatterSnrTest, TheChooserStoresTheChoiceAndArrangesOnlyALoadedSystemOneWindow) {
    startAnalysing();
    auto* w = loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, 1);
    ASSERT_NE(w, nullptr);
    w->findChild<QAction*>("mnuWindow")->trigger();
    auto* chooser = window->findChild<SnrChooserDialog*>("frmVisibleSNRTimeSeries");
    ASSERT_NE(chooser, nullptr);
    chooser->findChild<QCheckBox*>("chkPRN3")->click();
    chooser->findChild<QCheckBox*>("chkPRN5")->click();
    chooser->findChild<QComboBox*>("cmbColumns")->setCurrentIndex(2);
    chooser->findChild<QPushButton*>("cmdOk")->click();
    EXPECT_EQ(shell->config.SNRSeriesCount[1], 2);
    EXPECT_EQ(shell->config.SNRSeriesColumns[1], 2);  // two charts in three columns take two
    EXPECT_TRUE(w->chartWidget(3)->isVisibleTo(w));
    EXPECT_TRUE(w->chartWidget(5)->isVisibleTo(w));
    EXPECT_FALSE(w->chartWidget(4)->isVisibleTo(w));
    EXPECT_GT(w->chartWidget(5)->x(), w->chartWidget(3)->x());

    // From a system-2 window of a constellation whose system-1 window is not loaded: the
    // choice is stored and no window loads.
    boxes.answers = {MessageAnswer::Yes};
    shell->windows.slot(WindowKind::TimeSeriesSNR, 1, 4).unload();
    boxes.shown.clear();
    shell->handOverWord(HandOver::SNRTimeSeries) = 2;
    shell->windows.slot(WindowKind::TimeSeriesSNR, 2, 4).load();
    auto* beidou2 = loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 2, 4);
    ASSERT_NE(beidou2, nullptr);
    beidou2->findChild<QAction*>("mnuWindow")->trigger();
    chooser = nullptr;
    for (auto* d : window->findChildren<SnrChooserDialog*>("frmVisibleSNRTimeSeries"))
        if (d->isVisible()) chooser = d;
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->constellation(), 4);
    chooser->findChild<QCheckBox*>("chkPRN0")->click();
    chooser->findChild<QPushButton*>("cmdOk")->click();
    EXPECT_EQ(shell->config.SNRSeriesCount[4], 32);
    EXPECT_EQ(loaded<SnrTimeSeriesWindow>(WindowKind::TimeSeriesSNR, 1, 4), nullptr);
    EXPECT_EQ(questions(), 0);
}

}  // namespace
}  // namespace tiderune::test
