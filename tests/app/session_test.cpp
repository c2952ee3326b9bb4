// The resets, the mode switch, the source opening, the online toolbar and the New Window
// dialog, driven through the menus, buttons and scripted answers.
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolBar>
#include <algorithm>

#include "app/data_sources.h"
#include "app/new_window_dialog.h"
#include "app/offline_status_window.h"
#include "app/reset_family.h"
#include "shell_fixture.h"

namespace tiderune::test {
namespace {

const char* const ChangeMode =
    "Are you sure you want to change mode ? All statistics and timeseries wil be reset.";

int count(const std::vector<std::string>& calls, const std::string& prefix) {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

class SessionTest : public ShellTest {
protected:
    void startWith(std::function<void(Config&)> fill) {
        haveSetupFile(std::move(fill));
        start();
        core.calls.clear();
        devices.log.calls.clear();
        boxes.shown.clear();
    }
};

TEST_F(SessionTest, ResetButtonsAskFirstAndReloadTheOpenWindows) {
    startWith([](Config& c) {
        useSystem(c, 1, "GPS1", {SentenceType::GGA, SentenceType::RMC});
        c.WindowVisible[1][VisibleForms::Numerics] = true;
        c.WindowVisible[1][VisibleForms::Statistics] = true;
    });
    auto& w = shell->windows;
    // The user shows the GGA chart and leaves RMC hidden.
    w.slot(WindowKind::TimeSeriesGGA, 1).show();
    ChildWindow* numerics = w.slot(WindowKind::Numerics, 1).window();
    ChildWindow* gga = w.slot(WindowKind::TimeSeriesGGA, 1).window();
    ChildWindow* rmc = w.slot(WindowKind::TimeSeriesRMC, 1).window();
    ChildWindow* scatter = w.slot(WindowKind::Scatter, 1).window();

    struct Case {
        const char* key;
        bool numericsReloaded, chartsReloaded;
        int statisticsResets;
    };
    for (Case c : {Case{"RESET ALL", true, true, 4}, Case{"Reset Statistics", false, false, 4},
                   Case{"Reset Graphics", false, true, 0}}) {
        SCOPED_TRACE(c.key);
        // Answered No: nothing at all.
        boxes.answers = {MessageAnswer::No};
        onlineButton(c.key)->trigger();
        ASSERT_EQ(boxTexts(), std::vector<std::string>{"Are you sure ?"});
        EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(boxes.shown[0].defaultAnswer, MessageAnswer::Yes);
        EXPECT_TRUE(core.calls.empty());
        EXPECT_EQ(w.slot(WindowKind::Numerics, 1).window(), numerics);

        boxes.shown.clear();
        onlineButton(c.key)->trigger();  // Enter: Yes
        EXPECT_EQ(count(core.calls, "ResetSystemStatistics"), c.statisticsResets);
        EXPECT_EQ(w.slot(WindowKind::Numerics, 1).window() != numerics, c.numericsReloaded);
        EXPECT_EQ(w.slot(WindowKind::TimeSeriesGGA, 1).window() != gga, c.chartsReloaded);
        EXPECT_EQ(w.slot(WindowKind::Scatter, 1).window() != scatter, c.chartsReloaded);
        // Visible stays visible, hidden stays hidden; the open windows stay open.
        EXPECT_TRUE(w.slot(WindowKind::TimeSeriesGGA, 1).isVisible());
        EXPECT_TRUE(w.slot(WindowKind::TimeSeriesRMC, 1).isLoaded());
        EXPECT_FALSE(w.slot(WindowKind::TimeSeriesRMC, 1).isVisible());
        EXPECT_FALSE(w.slot(WindowKind::Scatter, 1).isVisible());
        EXPECT_TRUE(w.slot(WindowKind::Numerics, 1).isVisible());
        EXPECT_TRUE(w.slot(WindowKind::Statistics, 1).isVisible());
        EXPECT_EQ(windowsLoaded(WindowKind::Numerics, 1), 1);
        EXPECT_EQ(windowsLoaded(WindowKind::TimeSeriesGGA, 1), 1);
        numerics = w.slot(WindowKind::Numerics, 1).window();
        gga = w.slot(WindowKind::TimeSeriesGGA, 1).window();
        rmc = w.slot(WindowKind::TimeSeriesRMC, 1).window();
        scatter = w.slot(WindowKind::Scatter, 1).window();
        core.calls.clear();
        boxes.shown.clear();
    }
    (void)rmc;
}

TEST_F(SessionTest, ChartClosedByTheUserIsOnlyHiddenAndATypeNoLongerAnalysedKeepsItsWindow) {
    startWith([](Config& c) { useSystem(c, 1, "GPS1", {SentenceType::GGA, SentenceType::VTG}); });
    auto& w = shell->windows;
    w.slot(WindowKind::TimeSeriesVTG, 1).show();
    ChildWindow* vtg = w.slot(WindowKind::TimeSeriesVTG, 1).window();
    vtg->parentWidget()->close();
    EXPECT_TRUE(w.slot(WindowKind::TimeSeriesVTG, 1).isLoaded());
    EXPECT_FALSE(w.slot(WindowKind::TimeSeriesVTG, 1).isVisible());
    EXPECT_TRUE(shell->config.WindowVisible[1][VisibleForms::VTGTimeSeries]);

    shell->config.Systems[1].VTGAnalysed = false;
    window->resets().ResetGraphics();
    EXPECT_EQ(w.slot(WindowKind::TimeSeriesVTG, 1).window(), vtg);
}

TEST_F(SessionTest, AWindowLoadedFromCodeStaysHiddenUntilShown) {
    startWith([](Config& c) { useSystem(c, 1, "GPS1", {SentenceType::GGA}); });
    for (WindowKind kind : {WindowKind::Numerics, WindowKind::TimeSeriesGGA, WindowKind::Skyplot}) {
        WindowSlot& slot = shell->windows.slot(kind, 1);
        slot.unload();
        slot.load();
        QCoreApplication::processEvents();
        EXPECT_TRUE(slot.isLoaded());
        EXPECT_FALSE(slot.isVisible()) << windowKindInfo(kind).formName;
        slot.setVisible(true);
        EXPECT_TRUE(slot.isVisible()) << windowKindInfo(kind).formName;
    }
}

TEST_F(SessionTest, ChartsShownForASystemLoadForThatSystem) {
    startWith([](Config& c) {
        useSystem(c, 1, "GPS1", {SentenceType::GGA});
        useSystem(c, 2, "GPS2", {SentenceType::GGA});
    });
    WindowSlot& gga2 = shell->windows.slot(WindowKind::TimeSeriesGGA, 2);
    gga2.unload();
    ShowNumericsWindow(*shell, 1);
    shell->handOverWord(HandOver::GGA) = 1;
    ShowTimeSeriesWindows(*shell, 2);
    ASSERT_TRUE(gga2.isVisible());
    EXPECT_EQ(gga2.window()->system(), 2);
    EXPECT_EQ(gga2.window()->windowTitle(), "GGA Time Series 2 - GPS2");
}

TEST_F(SessionTest, ModeSwitchAsksAndNoLeavesEverythingAsItWas) {
    startWith([](Config& c) {
        useSystem(c, 1, "GPS1", {SentenceType::GGA});
        useSystem(c, 2, "Log", {});
        c.Systems[2].UseTCP = true;
        c.Systems[2].TCPHost = "10.0.0.2";
        c.Systems[2].TCPPort = 8040;
        c.Systems[3].UseUDP = true;  // out of use: opens nothing
        c.Systems[1].OfflineFile = "/data/run1.nmea";
    });
    ASSERT_TRUE(devices.log.calls.empty());
    EXPECT_TRUE(shell->windows.slot(WindowKind::TimeSeriesGGA, 1).isLoaded());

    // Selecting the mode in force does nothing, not even a reset.
    action("mnuModeOnline")->trigger();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(core.calls.empty());
    EXPECT_TRUE(action("mnuModeOnline")->isChecked());

    boxes.answers = {MessageAnswer::No};
    action("mnuModeOffline")->trigger();
    ASSERT_EQ(boxTexts(), std::vector<std::string>{ChangeMode});
    EXPECT_EQ(boxes.shown[0].defaultAnswer, MessageAnswer::No);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(shell->config.Mode, "ONLINE");
    EXPECT_TRUE(action("mnuModeOnline")->isChecked());
    EXPECT_FALSE(action("mnuModeOffline")->isChecked());
    EXPECT_TRUE(core.calls.empty());
    EXPECT_TRUE(shell->config.Systems[2].InUse);

    // Yes: OFFLINE. Serial ports and sockets close, systems 2-4 leave use, all is reset and
    // the status window shows.
    ASSERT_TRUE(devices.log.calls.empty());
    devices.log.calls.clear();
    shell->run.OnlinePaused = true;
    boxes.shown.clear();
    boxes.answers = {MessageAnswer::Yes};
    action("mnuModeOffline")->trigger();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{ChangeMode});
    EXPECT_EQ(shell->config.Mode, "OFFLINE");
    EXPECT_TRUE(action("mnuModeOffline")->isChecked());
    EXPECT_FALSE(action("mnuModeOnline")->isChecked());
    EXPECT_FALSE(window->onlineToolBar()->isVisible());
    EXPECT_TRUE(window->offlineToolBar()->isVisible());
    EXPECT_EQ(window->panelText(1), "Mode : OFFLINE");
    EXPECT_FALSE(shell->run.OnlinePaused);
    EXPECT_FALSE(shell->config.Systems[2].InUse);
    EXPECT_TRUE(shell->config.Systems[1].InUse);
    for (QAction* a : window->findChildren<QAction*>("mnuSetupSystem")) EXPECT_FALSE(a->isEnabled());
    EXPECT_EQ(count(core.calls, "ResetSystemStatistics"), 4);
    ASSERT_TRUE(window->offlineStatusWindow());
    EXPECT_TRUE(window->offlineStatusWindow()->isVisible());
    EXPECT_EQ(window->offlineStatusWindow()->windowTitle(), "Tiderune-  OFFLINE STATUS");
    EXPECT_EQ(window->offlineStatusWindow()->lblFileName->text(), "/data/run1.nmea");
    EXPECT_EQ(window->offlineStatusWindow()->lblStartTime->text(), "   n/a");
    EXPECT_EQ(window->offlineStatusWindow()->parentWidget()->pos(), QPoint(0, 0));
}

TEST_F(SessionTest, SwitchingToOfflineClosesLiveSocketsTooAndBackToOnlineReopensWhatIsInUse) {
    startWith([](Config& c) {
        useSystem(c, 1, "GPS1", {});
        c.Systems[1].UseTCP = true;
        c.Systems[1].TCPHost = "10.0.0.1";
        c.Systems[1].TCPPort = 2000;
        useSystem(c, 2, "Depth", {});
        c.Systems[2].UseUDP = true;
        c.Systems[2].UDPPort = 10110;
        useSystem(c, 3, "Gyro", {});
    });
    // Started ONLINE: each system's source in order of precedence.
    window->mnuModeOfflineClick();  // no confirmation needed? it is: ONLINE was in force
    // (answered by Enter: No) - nothing changes
    EXPECT_EQ(shell->config.Mode, "ONLINE");
    devices.log.calls.clear();
    boxes.answers = {MessageAnswer::Yes};
    window->mnuModeOfflineClick();
    EXPECT_EQ(devices.log.calls, (std::vector<std::string>{"COM3 close", "TCP1 close", "UDP2 close"}));

    // Back ONLINE while a replay runs: the replay is told to stop, the status window goes,
    // and only system 1 (still in use) is opened.
    shell->run.OfflineRunning = true;
    devices.log.calls.clear();
    boxes.answers = {MessageAnswer::Yes};
    action("mnuModeOnline")->trigger();
    EXPECT_TRUE(shell->run.OfflineStop);
    EXPECT_FALSE(window->offlineStatusWindow());
    EXPECT_EQ(shell->config.Mode, "ONLINE");
    EXPECT_EQ(devices.log.calls, (std::vector<std::string>{"TCP1 connect 10.0.0.1:2000"}));
    for (QAction* a : window->findChildren<QAction*>("mnuSetupSystem")) EXPECT_TRUE(a->isEnabled());
    EXPECT_FALSE(shell->config.Systems[2].InUse);
}

TEST_F(SessionTest, StartUpOpensEachSystemsSourceByPrecedence) {
    haveSetupFile([](Config& c) {
        useSystem(c, 1, "GPS1", {});
        c.Systems[1].UseTCP = true;
        c.Systems[1].UseUDP = true;  // TCP wins
        c.Systems[1].TCPHost = "h";
        c.Systems[1].TCPPort = 1;
        useSystem(c, 2, "B", {});
        c.Systems[2].UseUDP = true;
        c.Systems[2].UDPPort = 7;
        useSystem(c, 4, "D", {});
        c.Comports[4].Baud = 38400;
        c.Comports[4].Parity = "even";
        c.Comports[4].DataBits = 7;
        c.Comports[4].StopBits = 2;
    });
    start();
    EXPECT_EQ(devices.log.calls,
              (std::vector<std::string>{"TCP1 connect h:1", "UDP2 bind 7", "COM4 settings", "COM4 open"}));
    EXPECT_EQ(window->sources().serial(4).settings(), "38400,e,7,2");
}

TEST_F(SessionTest, FailedSourceIsReportedAndTakenOutOfUse) {
    devices.log.failures.emplace("COM3 open", RuntimeError(8005, "Port already open"));
    devices.log.failures.emplace("UDP1 bind 10110", RuntimeError(10048, "Address in use"));
    devices.log.failures.emplace("COM4 settings", RuntimeError(380, "Invalid property value"));
    haveSetupFile([](Config& c) {
        useSystem(c, 1, "GPS1", {});
        c.Systems[1].UseUDP = true;
        c.Systems[1].UDPPort = 10110;
        useSystem(c, 3, "Gyro", {});
        useSystem(c, 4, "Log", {});
    });
    start();
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{
                              "Address in use. UDP Port  10110 not available! System  1 -GPS1 disabled",
                              "Port already open. Comport  3 not available! System  3 -Gyro disabled",
                              // a refused settings text: reported, and the port is still opened
                              "Invalid property value. Comport  4 not available! System  4 -Log disabled",
                          }));
    for (const auto& b : boxes.shown) {
        EXPECT_EQ(b.buttons, MessageButtons::Ok);
        EXPECT_EQ(b.icon, MessageIcon::None);
    }
    for (int s : {1, 3, 4}) {
        EXPECT_FALSE(shell->config.Systems[s].InUse) << s;
        EXPECT_EQ(shell->config.Systems[s].ComPort, 0) << s;
    }
    EXPECT_TRUE(window->sources().serial(4).isOpen());
}

TEST_F(SessionTest, OnlineToolbarPauseContinueAndLogging) {
    startWith([](Config& c) { useSystem(c, 1, "GPS1", {}); });
    QAction* start = onlineButton("START");
    EXPECT_FALSE(start->isEnabled());
    EXPECT_EQ(start->text(), "START");
    EXPECT_EQ(onlineButton("Connect 1")->isEnabled(), false);

    onlineButton("PAUSE")->trigger();
    EXPECT_TRUE(shell->run.OnlinePaused);
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(start->text(), "CONTINUE");
    start->trigger();
    EXPECT_FALSE(shell->run.OnlinePaused);
    EXPECT_EQ(start->text(), "CONTINUE");
    EXPECT_EQ(MainWindow::buttonKey(start), "START");

    // The main window's side of LOG: its captions follow the logging state, whatever the
    // logger does with its files (the live logging tests look at those).
    window->hooks.toggleLogging = [this] { shell->run.LoggingOn = !shell->run.LoggingOn; };
    onlineButton("LOG")->trigger();
    EXPECT_TRUE(shell->run.LoggingOn);
    EXPECT_EQ(onlineButton("LOG")->text(), "LOG Off");
    EXPECT_EQ(window->panelText(2), "Logging : On");
    onlineButton("LOG")->trigger();
    EXPECT_EQ(onlineButton("LOG")->text(), "LOG On");
    EXPECT_EQ(window->panelText(2), "Logging : Off");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SessionTest, NewWindowNeedsAPrimarySystem) {
    startWith([](Config&) {});
    action("mnuWindowNewWindow")->trigger();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"No primary system are defined. Go to Setup first !"});
    EXPECT_FALSE(window->newWindowDialog());
}

TEST_F(SessionTest, NewWindowDialogListsAndOpens) {
    startWith([](Config& c) {
        useSystem(c, 1, "GPS1", {SentenceType::GSA, SentenceType::GSV});
        useSystem(c, 3, "Radar", {SentenceType::RMC});
    });
    action("mnuWindowNewWindow")->trigger();
    NewWindowDialog* d = window->newWindowDialog();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->windowTitle(), "New Window Setup");
    ASSERT_EQ(d->systemList()->count(), 2);
    EXPECT_EQ(d->systemList()->itemText(0), "Primary System          - GPS1");
    EXPECT_EQ(d->systemList()->itemText(1), "Secondary System 2 - Radar");
    EXPECT_EQ(d->systemList()->itemData(1).toInt(), 3);
    QStringList types;
    for (int i = 0; i < d->typeList()->count(); ++i) types << d->typeList()->itemText(i);
    EXPECT_EQ(types, (QStringList{"Numerics", "Statistics", "Time Serie Plot", "ScatterPlot", "SkyPlot",
                                  "ARPA Targets", "NMEA Monitor"}));

    // Scatter for a system without a position sentence: refused, the dialog stays.
    d->typeList()->setCurrentIndex(3);
    d->okButton()->click();
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{"Scatterplot not relevant when neither GGA, GNS, GLL nor RMC message is enabled"});
    EXPECT_TRUE(d->isVisible());

    // Time series of system 1: its charts plus SNR windows of constellations 1-4.
    d->typeList()->setCurrentIndex(2);
    d->okButton()->click();
    EXPECT_FALSE(d->isVisible());
    auto& w = shell->windows;
    EXPECT_TRUE(w.slot(WindowKind::TimeSeriesGSA, 1).isVisible());
    EXPECT_TRUE(w.slot(WindowKind::TimeSeriesGSV, 1).isVisible());
    for (int k = 1; k <= 4; ++k) {
        ASSERT_TRUE(w.slot(WindowKind::TimeSeriesSNR, 1, k).isVisible()) << k;
        EXPECT_EQ(w.slot(WindowKind::TimeSeriesSNR, 1, k).window()->constellation(), k);
    }
    EXPECT_EQ(w.slot(WindowKind::TimeSeriesSNR, 1, 1).window()->windowTitle(), "GPS SNR Timeseries 1 - GPS1");
    EXPECT_FALSE(w.slot(WindowKind::TimeSeriesSNR, 1, 5).isLoaded());

    // Statistics with GSV analysed brings the SNR statistics too; the monitor of system 3.
    action("mnuWindowNewWindow")->trigger();
    d = window->newWindowDialog();
    d->typeList()->setCurrentIndex(1);
    d->okButton()->click();
    EXPECT_TRUE(w.slot(WindowKind::Statistics, 1).isVisible());
    EXPECT_TRUE(w.slot(WindowKind::StatisticsSNR, 1).isVisible());

    action("mnuWindowNewWindow")->trigger();
    d = window->newWindowDialog();
    d->systemList()->setCurrentIndex(1);
    d->typeList()->setCurrentIndex(6);
    d->okButton()->click();
    ASSERT_TRUE(w.slot(WindowKind::NMEA, 3).isVisible());
    EXPECT_EQ(w.slot(WindowKind::NMEA, 3).window()->windowTitle(), "NMEA Monitor 3 - Radar");
    EXPECT_TRUE(shell->config.WindowVisible[3][VisibleForms::NMEAMonitor]);

    // Opening an open window only brings it forward.
    ChildWindow* monitor = w.slot(WindowKind::NMEA, 3).window();
    ShowNMEAWindow(*shell, 3);
    EXPECT_EQ(w.slot(WindowKind::NMEA, 3).window(), monitor);
}

TEST_F(SessionTest, FileSaveReportsWhereItSavedOrThatItCouldNot) {
    startWith([](Config&) {});
    action("mnuFileSave")->trigger();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Setup saved as " + home + "Tiderune.ini"});
    boxes.shown.clear();
    core.failSave = true;
    fileDialogs.answers = {std::string("/nowhere/x.ini")};
    action("mnuFileSaveAs")->trigger();
    EXPECT_EQ(fileDialogs.shown.back().request.title, "Save Setup As");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"The setup was not saved as /nowhere/x.ini : Disk full"});
    // The exit still closes when the setup cannot be written, and says so.
    boxes.shown.clear();
    EXPECT_TRUE(exitProgram());
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"The setup was not saved as " + home + "Tiderune.ini : Disk full"});
}

TEST_F(SessionTest, FileOpenClosesTheSystemWindowsAndAppliesTheNewSetup) {
    startWith([](Config& c) {
        useSystem(c, 1, "GPS1", {});
        c.WindowVisible[1][VisibleForms::Numerics] = true;
    });
    fileDialogs.answers = {std::string(home + "missing.ini")};
    action("mnuFileOpen")->trigger();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"File " + home + "missing.ini do not exist."});
    EXPECT_TRUE(core.calls.empty());

    ChildWindow* numerics = shell->windows.slot(WindowKind::Numerics, 1).window();
    fileDialogs.answers = {std::string(home + "Tiderune.ini")};
    core.setupFile = [](Config& c) {
        c.Systems[1].Name = "Other";
        c.WindowVisible[1][VisibleForms::Numerics] = true;  // as the file records it
    };
    boxes.shown.clear();
    action("mnuFileOpen")->trigger();
    EXPECT_TRUE(boxes.shown.empty());  // the mode menu was unchecked: no question
    EXPECT_EQ(fileDialogs.shown.back().request.title, "Open Setup File");
    EXPECT_EQ(action("mnuSetupPrimarySystem")->text(), "&Primary System         - Other");
    // The numerics window was closed and shown afresh by the reset.
    ASSERT_TRUE(shell->windows.slot(WindowKind::Numerics, 1).isVisible());
    EXPECT_NE(shell->windows.slot(WindowKind::Numerics, 1).window(), numerics);
    EXPECT_EQ(shell->windows.slot(WindowKind::Numerics, 1).window()->windowTitle(), "Numerics 1 - Other");
}

}  // namespace
}  // namespace tiderune::test
