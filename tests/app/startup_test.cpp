// Start-up and closing of the program, driven as a user starts and ends it.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>
#include <filesystem>
#include <tuple>

#include "app/all_windows.h"
#include "app/offline_status_window.h"
#include "app/reset_family.h"
#include "charts/snr_window.h"
#include "frame/shell.h"
#include "shell_fixture.h"

namespace tiderune::test {
namespace {

const char* const NoSetupMessage =
    "No setupfile exist. You have to define a primary system under Setup and open relevant windows for "
    "display under Window! ";

TEST_F(ShellTest, FirstStartCreatesTheFolderShowsTheMessageOnceAndLoadsTheDefaults) {
    start();
    EXPECT_TRUE(std::filesystem::is_directory(home));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, NoSetupMessage);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(boxes.shown[0].effectiveTitle(), "Tiderune");

    // The order of the start-up: sentence dates, defaults, AIS tables, analysed types, the
    // mode switch's reset, all before the start-up is done.
    std::vector<std::string> expected = {"LoadDefaultSetup", "InitAISTables"};
    for (int s = 1; s <= 4; ++s) expected.push_back("SetAnalysedMessageTypes " + std::to_string(s));
    for (int s = 1; s <= 4; ++s) expected.push_back("ResetSystemStatistics " + std::to_string(s));
    EXPECT_EQ(core.calls, expected);

    EXPECT_EQ(shell->config.Mode, "ONLINE");
    EXPECT_TRUE(action("mnuModeOnline")->isChecked());
    EXPECT_FALSE(action("mnuModeOffline")->isChecked());
    EXPECT_TRUE(window->onlineToolBar()->isVisible());
    EXPECT_FALSE(window->offlineToolBar()->isVisible());
    EXPECT_EQ(window->panelText(1), "Mode : ONLINE");
    for (int p : {4, 5, 6, 7, 9, 10, 11, 12}) EXPECT_FALSE(window->isPanelShown(p)) << p;
    for (int p : {1, 2, 3, 8, 13}) EXPECT_TRUE(window->isPanelShown(p)) << p;
    EXPECT_EQ(shell->windows.count(), 104);
    EXPECT_TRUE(shell->state.StartupDone);
    EXPECT_EQ(window->windowTitle(), "Tiderune - Version : v 3.02a - 26 Sep 2019 ");
    EXPECT_TRUE(devices.log.calls.empty());
    EXPECT_EQ(window->panelText(13), "14:32");
    EXPECT_EQ(shell->config.OutlierLimit, 15.0f);
    // Today, 8 December 2026, without the time of day.
    EXPECT_EQ(shell->coreState.SentenceDate[3], (ClockTime{2026, 12, 8, 0, 0, 0, 0}.dayCount()));
    EXPECT_EQ(shell->state.SystemColour[1], 0xFF0000u);
    EXPECT_EQ(shell->state.SystemColour[4], 0xC0C0u);

    // The exit writes the setup file, so that the next start shows no message.
    ASSERT_TRUE(exitProgram());
    ASSERT_EQ(core.saves.size(), 1u);
    EXPECT_EQ(core.saves[0].path, home + "Tiderune.ini");
    program.reset();
    shell.reset();
    boxes.shown.clear();
    start();
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ShellTest, SetupAppliedToPanelsAndSetupMenu) {
    haveSetupFile([](Config& c) {
        c.Mode = "ONLINE";
        useSystem(c, 1, "GPS1", {SentenceType::GGA});
        useSystem(c, 3, "Gyro", {SentenceType::HDT});
        c.ChecksumTest[1] = true;
        c.EmptyBuffer[3] = true;
    });
    start();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(core.calls[0], "LoadSetupFile " + home + "Tiderune.ini");
    struct Panel {
        int panel;
        bool shown;
        const char* text;
    };
    for (Panel p : std::initializer_list<Panel>{{4, true, "0"},
                                                {6, true, "n/a"},
                                                {9, true, "n/a"},
                                                {11, true, "0"},
                                                {5, false, "n/a"},
                                                {7, false, "n/a"},
                                                {10, false, "n/a"},
                                                {12, false, "n/a"}}) {
        EXPECT_EQ(window->isPanelShown(p.panel), p.shown) << p.panel;
        EXPECT_EQ(window->panelText(p.panel).toStdString(), p.text) << p.panel;
    }
    QAction* primary = action("mnuSetupPrimarySystem");
    EXPECT_EQ(primary->text(), "&Primary System         - GPS1");
    EXPECT_TRUE(primary->isChecked());
    auto secondary = window->findChildren<QAction*>("mnuSetupSystem");
    ASSERT_EQ(secondary.size(), 3);
    EXPECT_EQ(secondary[0]->text(), "Secondary System &1 - ");  // no name: the prefix alone
    EXPECT_FALSE(secondary[0]->isChecked());
    EXPECT_EQ(secondary[1]->text(), "Secondary System &2 - Gyro");
    EXPECT_TRUE(secondary[1]->isChecked());

    // Applying again cuts the prefix again: the name is not repeated; a hidden panel stays
    // hidden although its system came into use.
    useSystem(shell->config, 2, "Log", {});
    window->ApplySetupToMainWindow();
    EXPECT_EQ(primary->text(), "&Primary System         - GPS1");
    EXPECT_EQ(secondary[0]->text(), "Secondary System &1 - Log");
    EXPECT_EQ(window->panelText(5), "n/a");
    EXPECT_FALSE(window->isPanelShown(5));
}

TEST_F(ShellTest, LatLonDecimalsDefaultOnlyWhenNoFormatWasChosen) {
    struct Case {
        bool dms;
        int decimals;
        int expected;
    };
    for (Case c : {Case{false, 0, 4}, Case{true, 0, 0}, Case{false, 2, 2}}) {
        haveSetupFile([c](Config& cfg) {
            cfg.LatLonFormatDMS = c.dms;
            cfg.LatLonDecimals = static_cast<std::int16_t>(c.decimals);
        });
        start();
        EXPECT_EQ(shell->config.LatLonDecimals, c.expected) << c.dms << " " << c.decimals;
        program.reset();
        shell.reset();
    }
}

TEST_F(ShellTest, StartUpOpensTheWindowsRecordedAsOpenAndLoadsChartsHidden) {
    haveSetupFile([](Config& c) {
        useSystem(c, 1, "GPS1", {SentenceType::GGA, SentenceType::GSV});
        useSystem(c, 2, "Gyro", {SentenceType::HDT, SentenceType::GSV});
        c.WindowVisible[1][VisibleForms::Numerics] = true;
        c.WindowVisible[2][VisibleForms::Statistics] = true;
        c.WindowVisible[1][VisibleForms::Statistics] = true;
        c.WindowVisible[2][VisibleForms::Skyplot] = true;
        c.WindowVisible[2][VisibleForms::ARPATargets] = true;
        // A system out of use still gets its AIS list back.
        c.WindowVisible[4][VisibleForms::AISTargets] = true;
    });
    start();
    auto& w = shell->windows;
    struct Expect {
        WindowKind kind;
        int system;
        bool loaded;
        bool visible;
        const char* caption;
    };
    for (const Expect& e : std::initializer_list<Expect>{
             {WindowKind::Numerics, 1, true, true, "Numerics 1 - GPS1"},
             {WindowKind::Statistics, 1, true, true, "Statistics 1 - GPS1"},
             {WindowKind::StatisticsSNR, 1, true, true, "Statistics SNR 1 - GPS1"},
             {WindowKind::Skyplot, 2, true, true, "Skyplot 2 - Gyro - GSA/GSV Numerics"},
             {WindowKind::ARPATargets, 2, true, true, "ARPA Targets 2 - Gyro"},
             {WindowKind::AISTargets, 4, true, true, "AIS Targets 4 - "},
             {WindowKind::TimeSeriesGGA, 1, true, false, "GGA Time Series 1 - GPS1"},
             {WindowKind::TimeSeriesGSV, 1, true, false, "GSV Time Series 1 - GPS1"},
             {WindowKind::TimeSeriesHDT, 2, true, false, "HDT Time Series 2 - Gyro"},
             {WindowKind::Scatter, 1, true, false, "Scatter plot 1 - GPS1"},
             {WindowKind::Scatter, 2, true, false, "Scatter plot 2 - Gyro"},
             {WindowKind::Numerics, 2, false, false, ""},
             {WindowKind::TimeSeriesGLL, 1, false, false, ""},
             {WindowKind::Scatter, 3, false, false, ""},
             {WindowKind::NMEA, 1, false, false, ""},
         }) {
        WindowSlot& slot = w.slot(e.kind, e.system);
        SCOPED_TRACE(windowKindInfo(e.kind).formName + std::string(" ") + std::to_string(e.system));
        EXPECT_EQ(slot.isLoaded(), e.loaded);
        EXPECT_EQ(slot.isVisible(), e.visible);
        if (e.loaded) {
            EXPECT_EQ(slot.window()->windowTitle().toStdString(), e.caption);
            EXPECT_EQ(slot.window()->system(), e.system);
        }
    }
    // The SNR time series are not touched by the resets.
    EXPECT_FALSE(w.slot(WindowKind::TimeSeriesSNR, 1, 1).isLoaded());

    // A window of systems 2 to 4 carries its kind's picture with the system's badge.
    for (auto [kind, system, picture] :
         {std::tuple{WindowKind::StatisticsSNR, 2, IconPicture::Statistics}, {WindowKind::Statistics, 2, IconPicture::Statistics},
          {WindowKind::Skyplot, 2, IconPicture::Skyplot}, {WindowKind::Scatter, 2, IconPicture::Scatter},
          {WindowKind::TimeSeriesHDT, 2, IconPicture::TimeSeries}, {WindowKind::ARPATargets, 2, IconPicture::ARPAList},
          {WindowKind::AISTargets, 4, IconPicture::AISList}}) {
        ASSERT_TRUE(w.slot(kind, system).isLoaded()) << windowKindInfo(kind).formName;
        EXPECT_EQ(w.slot(kind, system).window()->parentWidget()->windowIcon().cacheKey(),
                  shell->icons.icon(picture, system).cacheKey())
            << windowKindInfo(kind).formName;
    }
}

TEST_F(ShellTest, MainPlacementReadAtStartAndSavedAtExitUnlessMinimised) {
    settings.setValue("Tiderune", "Settings", "MainLeft", "1500");
    settings.setValue("Tiderune", "Settings", "MainWidth", "9000");
    start();
    EXPECT_EQ(window->pos().x(), 100);
    EXPECT_EQ(window->size().width(), 600);
    EXPECT_EQ(window->size().height(), 867);
    window->move(30, 40);
    ASSERT_TRUE(exitProgram());
    EXPECT_EQ(settings.value("Tiderune", "Settings", "MainLeft", ""), "450");
    EXPECT_EQ(settings.value("Tiderune", "Settings", "MainTop", ""), "600");
    EXPECT_EQ(settings.value("Tiderune", "Settings", "MainWidth", ""), "9000");

    const auto stored = [&] {
        std::vector<std::string> values;
        for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight", "MainWindowState"})
            values.push_back(settings.value("Tiderune", "Settings", key, ""));
        return values;
    };
    const std::vector<std::string> saved{"450", "600", "9000", "13005", "0"};
    ASSERT_EQ(stored(), saved);

    // Left minimised, straight from its normal place or from maximised: nothing is written,
    // neither the minimised window's place nor that it was maximised.
    for (bool maximisedFirst : {false, true}) {
        SCOPED_TRACE(maximisedFirst ? "maximised, then minimised" : "minimised");
        program.reset();
        shell.reset();
        start();
        window->move(60, 60);
        if (maximisedFirst) {
            window->showMaximized();
            QCoreApplication::processEvents();
            ASSERT_TRUE(window->isMaximized());
        }
        window->showMinimized();
        QCoreApplication::processEvents();
        ASSERT_TRUE(window->isMinimized());
        ASSERT_TRUE(exitProgram());
        EXPECT_EQ(stored(), saved);
    }
}

TEST_F(ShellTest, ExitSavesTheSetupWithTheOpenWindowsThenClosesThemWritingPlacements) {
    haveSetupFile([](Config& c) {
        useSystem(c, 1, "GPS1", {SentenceType::GGA});
        c.WindowVisible[1][VisibleForms::Numerics] = true;
    });
    bool loggingStopped = false;
    start();
    window->hooks.toggleLogging = [&] {
        loggingStopped = true;
        shell->run.LoggingOn = false;
    };
    shell->run.LoggingOn = true;
    QWidget* numerics = shell->windows.slot(WindowKind::Numerics, 1).window()->parentWidget();
    numerics->move(300, 200);
    ASSERT_TRUE(exitProgram());
    ASSERT_EQ(core.saves.size(), 1u);
    EXPECT_TRUE(core.saves[0].numericsOpen);  // saved before the windows closed
    EXPECT_FALSE(shell->config.WindowVisible[1][VisibleForms::Numerics]);
    EXPECT_EQ(settings.value("Tiderune", "Settings", "NumericsLeft 1", ""), "4500");
    EXPECT_EQ(settings.value("Tiderune", "Settings", "NumericsTop 1", ""), "3000");
    EXPECT_FALSE(shell->windows.slot(WindowKind::TimeSeriesGGA, 1).isLoaded());
    EXPECT_TRUE(loggingStopped);
    EXPECT_TRUE(shell->state.AppClosing);
}

// A window that refuses to close, as a chart window whose question is answered No.
TEST_F(ShellTest, AKindWithoutAWindowStopsTheStartUpAndNoKindIsRegisteredTwice) {
    shell = std::make_unique<Shell>(core, ShellServices{boxes, settings, fileDialogs, devices, clock, home});
    MainWindow bare(*shell);
    EXPECT_THROW(bare.MDIFormLoad(), std::logic_error);
    installAllWindows(shell->registry);
    EXPECT_NO_THROW(shell->registry.checkComplete());
    EXPECT_THROW(shell->registry.addPlaceholder(WindowKind::NMEA), std::logic_error);
}

class StubbornWindow : public ChildWindow {
public:
    using ChildWindow::ChildWindow;
    bool queryUnload(bool) override { return !refuse; }
    bool refuse = true;
};

TEST_F(ShellTest, ExitRefusedByAWindowLeavesTheProgramRunning) {
    start();
    StubbornWindow* stubborn = nullptr;
    shell->registry.replace(WindowKind::NMEA, [&](Shell& s, WindowKind k) {
        stubborn = new StubbornWindow(s, k);
        return stubborn;
    });
    ShowNMEAWindow(*shell, 1);
    EXPECT_FALSE(exitProgram());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(shell->state.AppClosing);
    // Once the window agrees, the exit goes through.
    stubborn->refuse = false;
    EXPECT_TRUE(exitProgram());
}

// The exit asks every window's question before it closes any, by the menu and by the main
// window's own close button alike: a No, to the first question or the last, leaves every
// window open where it was (the replay's status window and the monitor too) and the program
// running; Yes to each closes them all.
TEST_F(ShellTest, ExitAsksEveryQuestionBeforeItClosesAnyWindow) {
    struct Case {
        const char* name;
        bool byMenu;
        int noAt;  // the question answered No, from 1; 0: none, -1: the last
        bool shown = true;  // false: the SNR windows loaded hidden, as the sky plot's feed loads them
    };
    const Case cases[] = {
        {"File Exit, No to the first", true, 1},   {"File Exit, No to the last", true, -1},
        {"close button, No to the second", false, 2}, {"File Exit, Yes to every one", true, 0},
        {"close button, Yes to every one", false, 0}, {"File Exit, hidden SNR windows, No to the last", true, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        haveSetupFile([](Config& cfg) {
            cfg.Mode = "OFFLINE";
            useSystem(cfg, 1, "GPS1", {SentenceType::GGA, SentenceType::GSV});
            cfg.WindowVisible[1][VisibleForms::Numerics] = true;
        });
        start();
        ShowNMEAWindow(*shell, 1);
        if (c.shown)
            ShowTimeSeriesWindows(*shell, 1);
        else
            for (int k = 1; k <= 4; ++k) shell->windows.slot(WindowKind::TimeSeriesSNR, 1, k).load();
        window->mdiArea()->subWindowList().first()->move(40, 30);
        ASSERT_NE(window->offlineStatusWindow(), nullptr);

        struct Seen {
            QPointer<QMdiSubWindow> sub;
            QRect geometry;
            bool visible;
        };
        std::vector<Seen> before;
        int snrWindows = 0;
        for (QMdiSubWindow* sub : window->mdiArea()->subWindowList()) {
            before.push_back({sub, sub->geometry(), sub->isVisible()});
            if (qobject_cast<SnrTimeSeriesWindow*>(sub->widget())) {
                ++snrWindows;
                EXPECT_EQ(sub->isVisible(), c.shown);
            }
        }
        ASSERT_EQ(snrWindows, 4);
        const int noAt = c.noAt < 0 ? snrWindows : c.noAt;
        boxes.shown.clear();
        boxes.answers.clear();
        for (int q = 1; q <= snrWindows; ++q)
            boxes.answers.push_back(q == noAt ? MessageAnswer::No : MessageAnswer::Yes);

        if (c.byMenu)
            action("mnuFileExit")->trigger();
        else
            window->close();

        EXPECT_EQ(boxTexts(), std::vector<std::string>(noAt ? noAt : snrWindows, SNRCloseQuestion));
        EXPECT_EQ(window->isVisible(), noAt != 0);
        EXPECT_EQ(shell->state.AppClosing, noAt == 0);
        for (const Seen& w : before) {
            ASSERT_TRUE(w.sub);
            const QString title = w.sub->widget()->windowTitle();
            if (noAt == 0) {
                EXPECT_FALSE(w.sub->isVisible()) << title.toStdString();
                continue;
            }
            EXPECT_EQ(w.sub->isVisible(), w.visible) << title.toStdString();
            EXPECT_EQ(w.sub->geometry(), w.geometry) << title.toStdString();
        }
        if (noAt != 0) {
            EXPECT_TRUE(shell->windows.slot(WindowKind::NMEA, 1).isVisible());
            EXPECT_TRUE(shell->config.WindowVisible[1][VisibleForms::Numerics]);
            // Asked once more, the exit asks again from the first window.
            boxes.shown.clear();
            boxes.answers = {MessageAnswer::No};
            action("mnuFileExit")->trigger();
            EXPECT_EQ(boxTexts(), std::vector<std::string>{SNRCloseQuestion});
        }
        TearDown();
        SetUp();
    }
}

TEST_F(ShellTest, ChildWindowPlacementRestoredAndPulledInsideTheMainWindow) {
    haveSetupFile([](Config& c) { useSystem(c, 2, "Gyro", {}); });
    settings.setValue("Tiderune", "Settings", "MainHeight", "10000");
    settings.setValue("Tiderune", "Settings", "NumericsTop 2", "9000");
    settings.setValue("Tiderune", "Settings", "StatisticsTop 2", "8000");
    start();
    ShowNumericsWindow(*shell, 2);
    ShowStatisticsWindow(*shell, 2);
    ShowNMEAWindow(*shell, 2);
    const double frameExtra = (window->frameGeometry().height() - window->height()) * 15.0;
    (void)frameExtra;
    QWidget* numerics = shell->windows.slot(WindowKind::Numerics, 2).window()->parentWidget();
    QWidget* statistics = shell->windows.slot(WindowKind::Statistics, 2).window()->parentWidget();
    QWidget* monitor = shell->windows.slot(WindowKind::NMEA, 2).window()->parentWidget();
    // 10000 high: a top at 9000 lies beyond 10000 - 1750 and moves to 10000 - 2250.
    EXPECT_EQ(numerics->y(), (window->frameGeometry().height() * 15 - 2250) / 15);
    EXPECT_EQ(statistics->y(), 8000 / 15);
    EXPECT_EQ(numerics->x(), 200 / 15);
    EXPECT_EQ(numerics->width(), 200);
    EXPECT_EQ(monitor->width(), 533);
    EXPECT_EQ(monitor->height(), 267);
}

}  // namespace
}  // namespace tiderune::test

namespace tiderune::test {
namespace {

// The real setup file between two runs: what the first run leaves open, the second opens.
TEST_F(ShellTest, SecondRunStartsFromWhatTheFirstRunSaved) {
    {
        ProgramCore first;
        realCore = &first;
        start();
        ASSERT_EQ(boxTexts().size(), 1u);  // no setup file yet
        Config& c = shell->config;
        useSystem(c, 1, "GPS1", {});
        c.MessagesToAnalyse[1][1] = "GGA";
        ShowNumericsWindow(*shell, 1);
        ASSERT_TRUE(exitProgram());
        program.reset();
        shell.reset();
    }
    ASSERT_TRUE(std::filesystem::exists(home + "Tiderune.ini"));
    boxes.shown.clear();
    ProgramCore second;
    realCore = &second;
    start();
    EXPECT_TRUE(boxes.shown.empty()) << boxTexts()[0];
    EXPECT_TRUE(shell->config.Systems[1].InUse);
    EXPECT_TRUE(shell->config.Systems[1].GGAAnalysed);
    EXPECT_EQ(action("mnuSetupPrimarySystem")->text(), "&Primary System         - GPS1");
    EXPECT_TRUE(shell->windows.slot(WindowKind::Numerics, 1).isVisible());
    EXPECT_TRUE(shell->windows.slot(WindowKind::TimeSeriesGGA, 1).isLoaded());
    EXPECT_EQ(devices.log.calls, (std::vector<std::string>{"COM1 settings", "COM1 open"}));
}

}  // namespace
}  // namespace tiderune::test

namespace tiderune::test {
namespace {

TEST_F(ShellTest, StartInOfflineModeAsksNothingAndShowsTheReplayControls) {
    haveSetupFile([](Config& c) {
        c.Mode = "OFFLINE";
        useSystem(c, 1, "GPS1", {SentenceType::GGA});
        useSystem(c, 2, "Gyro", {SentenceType::HDT});
        c.Systems[1].OfflineFile = "/data/day1.nmea";
    });
    start();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(action("mnuModeOffline")->isChecked());
    EXPECT_FALSE(window->onlineToolBar()->isVisible());
    EXPECT_TRUE(window->offlineToolBar()->isVisible());
    EXPECT_EQ(window->panelText(1), "Mode : OFFLINE");
    ASSERT_TRUE(window->offlineStatusWindow());
    EXPECT_TRUE(window->offlineStatusWindow()->isVisible());
    EXPECT_FALSE(shell->config.Systems[2].InUse);
    // System 2 left use before the panels were set up: its panels are hidden.
    EXPECT_FALSE(window->isPanelShown(5));
    EXPECT_FALSE(shell->windows.slot(WindowKind::TimeSeriesHDT, 2).isLoaded());
    EXPECT_TRUE(devices.log.calls.empty());
    struct Button {
        const char* key;
        bool enabled;
    };
    for (Button b : {Button{"PLAY", true}, Button{"Step", true}, Button{"PAUSE", false}, Button{"STOP", false},
                     Button{"Real time", false}, Button{"QUICK", false}}) {
        QAction* a = MainWindow::button(window->offlineToolBar(), b.key);
        ASSERT_TRUE(a) << b.key;
        EXPECT_EQ(a->isEnabled(), b.enabled) << b.key;
    }
    // The offline toolbar's clicks go to the replay.
    QString clicked;
    window->hooks.offlineButton = [&](const QString& key) { clicked = key; };
    MainWindow::button(window->offlineToolBar(), "PLAY")->trigger();
    EXPECT_EQ(clicked, "PLAY");
}

}  // namespace
}  // namespace tiderune::test
