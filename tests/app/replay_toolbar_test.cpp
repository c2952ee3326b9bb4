// The offline replay driven through the offline toolbar as a person would: PLAY, PAUSE, Step,
// CONT and STOP, with the actions taken while the replay runs inside its button's click.
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QUdpSocket>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/data_sources.h"
#include "app/logic/error_log.h"
#include "app/logic/replay_file.h"
#include "app/offline_replay.h"
#include "app/offline_status_window.h"
#include "app/program_core.h"
#include "app/reset_family.h"
#include "core/intake.h"
#include "core/parsers.h"
#include "platform/qt/qt_devices.h"
#include "shell_fixture.h"
#include "views/nmea_monitor_window.h"

namespace tiderune::test {
namespace {

std::string withChecksum(const std::string& body) { return body + "*" + CalcChecksum(body + "*"); }

// Actions taken while a replay runs: each waits until its condition holds, looked at after
// every event the replay lets through. A script that cannot finish stops the replay, so that
// a broken test fails instead of waiting for ever.
class Script {
public:
    Script(RunState& run, const OfflineReplay& replay) : run_(run), replay_(replay) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start(0);
        clock_.start();
    }
    void when(std::function<bool()> ready, std::function<void()> act) { steps_.push_back({std::move(ready), std::move(act)}); }
    // The replay sits in its pause wait.
    void whenWaiting(std::function<void()> act) {
        when([this] { return replay_.isWaiting(); }, std::move(act));
    }
    bool done() const { return steps_.empty(); }
    bool timedOut() const { return timedOut_; }

private:
    void tick() {
        if (steps_.empty()) return;
        if (clock_.elapsed() > 10000) {
            timedOut_ = true;
            steps_.clear();
            run_.OfflinePause = false;
            run_.OfflineStop = true;
            return;
        }
        if (!steps_.front().ready()) return;
        auto act = std::move(steps_.front().act);
        steps_.pop_front();
        act();
    }
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };
    RunState& run_;
    const OfflineReplay& replay_;
    QTimer timer_;
    QElapsedTimer clock_;
    std::deque<Step> steps_;
    bool timedOut_ = false;
};

class ReplayTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        recording = dir.path().toStdString() + "/run.nmea";
        writeRecording(1000);
    }
    void TearDown() override {
        replay = nullptr;
        ShellTest::TearDown();
    }
    // A fresh program for the next row of a table.
    void startAgain() {
        TearDown();
        boxes.shown.clear();
        lines = beeps = 0;
        onLine = nullptr;
        SetUp();
    }

    void writeRecording(int lines) {
        std::ofstream f(recording, std::ios::binary);
        for (int i = 0; i < lines; ++i) {
            char body[64];
            std::snprintf(body, sizeof body, "$GPZDA,%02d%02d%02d.00,08,12,2026,00,00", 14 + i / 3600, i / 60 % 60, i % 60);
            f << withChecksum(body) << "\r\n";
        }
    }

    // Starts the program in OFFLINE mode on the recording, with the replay on its toolbar.
    void startOffline(std::function<void(Config&)> more = {}) {
        haveSetupFile([this, more](Config& c) {
            c.Mode = "OFFLINE";
            useSystem(c, 1, "GPS1", {SentenceType::GGA});
            c.Systems[1].ComPort = 0;
            c.Systems[1].OfflineFile = recording;
            if (more) more(c);
        });
        start();
        replay = &program->replay();
        replay->beep = [this] { ++beeps; };
        core.onLine = [this](CoreSink& sink, int s, std::string_view line) {
            ++lines;
            if (realIntake) ProcessSentence(core.state(), sink, ais, s, line);
            if (onLine) onLine(lines);
        };
        core.calls.clear();
        boxes.shown.clear();
    }

    QAction* button(const char* key) { return MainWindow::button(window->offlineToolBar(), key); }
    QAction* button(int number) { return window->offlineToolBar()->actions().at(number - 1); }
    void click(const char* key) {
        QAction* b = button(key);
        ASSERT_NE(b, nullptr) << key;
        b->trigger();
    }
    // The keys and enabled states of buttons 1 to 4, as "PLAY+ Step+ PAUSE- STOP-".
    std::string toolbar() {
        std::string s;
        for (int i = 1; i <= 4; ++i) {
            if (i > 1) s += ' ';
            s += MainWindow::buttonKey(button(i)).toStdString() + (button(i)->isEnabled() ? "+" : "-");
        }
        return s;
    }
    OfflineStatusWindow* status() { return window->offlineStatusWindow(); }
    std::string statusText() { return status()->lblStatus->text().toStdString(); }
    bool statusRed() { return status()->lblStatus->palette().color(QPalette::WindowText) == QColor(255, 0, 0); }
    bool anyReset() const {
        for (const auto& c : core.calls)
            if (c.rfind("ResetSystemStatistics", 0) == 0) return true;
        return false;
    }
    std::vector<std::string> errorLogLines() {
        std::ifstream f(home + "ErrorLog/ErrorLog.txt");
        std::vector<std::string> out;
        for (std::string l; std::getline(f, l);) out.push_back(l);
        return out;
    }
    void expectIdleFlags() {
        EXPECT_FALSE(shell->run.OfflineRunning);
        EXPECT_FALSE(shell->run.OfflinePause);
        EXPECT_FALSE(shell->run.OfflineStop);
    }

    std::string recording;
    OfflineReplay* replay = nullptr;
    NullAisServices ais;
    bool realIntake = false;
    int lines = 0;
    int beeps = 0;
    std::function<void(int line)> onLine;
};

TEST_F(ReplayTest, PlayReplaysEveryLineInOrderThenEndsAtTheEndOfTheFile) {
    startOffline();
    EXPECT_EQ(toolbar(), "PLAY+ Step+ PAUSE- STOP-");
    EXPECT_EQ(statusText(), "not started");
    bool runningDuringLines = true;
    onLine = [&](int) { runningDuringLines = runningDuringLines && shell->run.OfflineRunning; };
    clock.time = {2026, 12, 8, 14, 32, 5, 700};

    click("PLAY");

    EXPECT_EQ(lines, 1000);
    EXPECT_TRUE(runningDuringLines);
    // The reset comes first, then the lines of system 1 in file order, without line ends.
    ASSERT_GE(core.calls.size(), 1000u);
    EXPECT_TRUE(anyReset());
    std::vector<std::string> processed;
    for (const auto& c : core.calls)
        if (c.rfind("ProcessSentence ", 0) == 0) processed.push_back(c);
    ASSERT_EQ(processed.size(), 1000u);
    EXPECT_EQ(processed.front(), "ProcessSentence 1 " + withChecksum("$GPZDA,140000.00,08,12,2026,00,00"));
    EXPECT_EQ(processed.back(), "ProcessSentence 1 " + withChecksum("$GPZDA,141639.00,08,12,2026,00,00"));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(statusText(), "END OF FILE REACHED");
    EXPECT_TRUE(statusRed());
    EXPECT_EQ(status()->lblStartTime->text().toStdString(), "14:32:05 08 Dec 2026");
    // Over within the clock's first second, and still the clock shows the end.
    EXPECT_EQ(status()->lblCurrentTime->text().toStdString(), "14:32:05");
    EXPECT_EQ(status()->lblProcessingTime->text().toStdString(), "00:00:00");
    EXPECT_EQ(toolbar(), "PLAY+ Step+ PAUSE- STOP-");
    EXPECT_FALSE(replay->statusClock().isActive());
    expectIdleFlags();
    EXPECT_EQ(shell->run.ProcessingEnd, (ClockTime{2026, 12, 8, 14, 32, 5, 0}.dayCount()));
    EXPECT_TRUE(boxes.shown.empty());

    // A second PLAY starts again from the top.
    click("PLAY");
    EXPECT_EQ(lines, 2000);
    EXPECT_EQ(beeps, 2);
}

TEST_F(ReplayTest, PauseThenThreeStepsAddExactlyThreeLinesAndContinueRunsToTheEnd) {
    startOffline();
    onLine = [&](int n) {
        if (n == 5) click("PAUSE");
    };
    Script script(shell->run, *replay);
    std::vector<int> seen;
    std::vector<std::string> statuses, bars;
    auto look = [&] {
        seen.push_back(lines);
        statuses.push_back(statusText());
        bars.push_back(toolbar());
    };
    script.whenWaiting([&] { look(); click("Step"); });
    script.whenWaiting([&] { look(); click("Step"); });
    script.whenWaiting([&] { look(); click("Step"); });
    script.whenWaiting([&] {
        look();
        EXPECT_TRUE(status()->lblPause->isVisible());
        click("CONT");
        bars.push_back(toolbar());
        statuses.push_back(statusText());
    });

    click("PLAY");

    EXPECT_FALSE(script.timedOut());
    EXPECT_EQ(seen, (std::vector<int>{5, 6, 7, 8}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(statuses[i], "PROCESSING PAUSED");
        EXPECT_EQ(bars[i], "CONT+ Step+ PAUSE- STOP+");
    }
    EXPECT_EQ(bars[4], "CONT- Step- PAUSE+ STOP+");
    EXPECT_EQ(statuses[4], "PROCESSING IN PROGRESS");
    EXPECT_EQ(lines, 1000);
    EXPECT_EQ(statusText(), "END OF FILE REACHED");
    EXPECT_EQ(toolbar(), "PLAY+ Step+ PAUSE- STOP-");
    expectIdleFlags();
}

TEST_F(ReplayTest, StopEndsTheReplayAtItsNextLineWhileRunningAndLetsOneMoreLineThroughWhilePaused) {
    struct Case {
        const char* name;
        bool paused;
        int expectedLines;
    };
    for (const Case& c : {Case{"running", false, 10}, Case{"paused", true, 11}}) {
        SCOPED_TRACE(c.name);
        startOffline();
        Script script(shell->run, *replay);
        std::string barAfterStop;
        onLine = [&](int n) {
            if (n != 10) return;
            clock.time = {2026, 12, 8, 14, 32, 47, 0};
            if (c.paused)
                click("PAUSE");
            else
                click("STOP");  // Enter: Yes
        };
        if (c.paused) script.whenWaiting([&] { click("STOP"); barAfterStop = toolbar(); });

        clock.time = {2026, 12, 8, 14, 32, 5, 0};
        click("PLAY");
        // The stopped replay's clock shows when it ended.
        EXPECT_EQ(status()->lblCurrentTime->text().toStdString(), "14:32:47");
        EXPECT_EQ(status()->lblProcessingTime->text().toStdString(), "00:00:42");

        EXPECT_FALSE(script.timedOut());
        EXPECT_EQ(lines, c.expectedLines);
        ASSERT_EQ(boxTexts(), std::vector<std::string>{"Are you sure?"});
        EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(boxes.shown[0].icon, MessageIcon::None);
        EXPECT_EQ(statusText(), "PROCESSING STOPPED");
        EXPECT_TRUE(statusRed());
        EXPECT_EQ(beeps, 1);
        EXPECT_EQ(toolbar(), "PLAY+ Step+ PAUSE- STOP-");
        if (c.paused) {
            EXPECT_EQ(barAfterStop, "PLAY+ Step+ PAUSE- STOP-");
        }
        expectIdleFlags();
        startAgain();
    }
}

// What comes from outside the replay while it runs (a person's click on the toolbar, a live
// source's data) is served between two of its lines, long before the end of the file, and
// the replay goes on from the line where it was: the order of events, whatever the speed.
TEST_F(ReplayTest, ClicksAndLiveSourcesAreServedBetweenTheLinesOfALongReplay) {
    constexpr int Lines = 50000;
    writeRecording(Lines);
    QtDeviceFactory qtDevices;  // a real UDP port for system 2
    deviceFactory = &qtDevices;
    // A person's click: a mouse press and release that wait in the event queue.
    const auto clickOn = [this](const char* key) {
        QWidget* b = window->offlineToolBar()->widgetForAction(button(key));
        const QPointF at = QRectF(b->rect()).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(b, new QMouseEvent(type, at, b->mapToGlobal(at), Qt::LeftButton,
                                                           type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                           Qt::NoModifier));
    };
    QUdpSocket peer;
    const std::string live = withChecksum("$GPZDA,235959.00,08,12,2026,00,00");
    enum class Then { Pauses, Stops, GoesOn };
    struct Case {
        const char* name;
        std::function<void()> act;  // done while the first line is analysed
        Then then;
    };
    int servedAt = -1;  // lines analysed when it was served
    const Case cases[] = {
        {"PAUSE, then CONT", [&] { clickOn("PAUSE"); }, Then::Pauses},
        {"STOP", [&] { clickOn("STOP"); }, Then::Stops},
        {"a datagram of a live source",
         [&] {
             const QByteArray d = QByteArray::fromStdString(live + "\r\n");
             peer.writeDatagram(d, QHostAddress::LocalHost, static_cast<quint16>(window->sources().udp(2).localPort()));
         },
         Then::GoesOn},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        servedAt = -1;
        startOffline();
        window->sources().udp(2).bind(0);
        auto clicked = window->hooks.offlineButton;
        window->hooks.offlineButton = [&](const QString& key) {
            if (key != "PLAY" && servedAt < 0) servedAt = lines;
            clicked(key);
        };
        core.onLine = [&, replayed = core.onLine](CoreSink& sink, int s, std::string_view line) {
            if (s == 2 && line.substr(0, live.size()) == live) servedAt = lines;  // with its line end
            replayed(sink, s, line);
        };
        onLine = [&](int n) {
            if (n == 1) c.act();
        };
        Script script(shell->run, *replay);
        int linesAtWait = -1;
        script.whenWaiting([&] {
            linesAtWait = lines;
            click("CONT");
        });

        click("PLAY");

        EXPECT_GE(servedAt, 1);
        EXPECT_LT(servedAt, Lines);
        // Stopped before the next line, paused before it, or one line more for the datagram.
        EXPECT_EQ(lines, c.then == Then::Stops ? servedAt : c.then == Then::Pauses ? Lines : Lines + 1);
        EXPECT_EQ(linesAtWait, c.then == Then::Pauses ? servedAt : -1);
        EXPECT_EQ(statusText(), c.then == Then::Stops ? "PROCESSING STOPPED" : "END OF FILE REACHED");
        expectIdleFlags();
        startAgain();
        writeRecording(Lines);
        deviceFactory = &qtDevices;
    }
}

TEST_F(ReplayTest, StopAnsweredNoChangesNothing) {
    startOffline();
    boxes.answers = {MessageAnswer::No};
    std::string bar;
    onLine = [&](int n) {
        if (n != 10) return;
        click("STOP");
        bar = toolbar();
    };
    click("PLAY");
    EXPECT_EQ(bar, "PLAY- Step- PAUSE+ STOP+");
    EXPECT_EQ(lines, 1000);
    EXPECT_EQ(statusText(), "END OF FILE REACHED");
}

TEST_F(ReplayTest, StepFromIdleStartsPausedWithOneLineAndNoResetNorStartTime) {
    startOffline();
    Script script(shell->run, *replay);
    int linesAtWait = -1;
    bool resetSeen = true;
    std::string startTime, statusAtWait, bar;
    script.whenWaiting([&] {
        linesAtWait = lines;
        resetSeen = anyReset();
        startTime = status()->lblStartTime->text().toStdString();
        statusAtWait = statusText();
        bar = toolbar();
        click("Step");
    });
    script.whenWaiting([&] { click("STOP"); });

    click("Step");

    EXPECT_FALSE(script.timedOut());
    EXPECT_EQ(linesAtWait, 1);
    EXPECT_FALSE(resetSeen);
    EXPECT_EQ(startTime, "   n/a");
    EXPECT_EQ(statusAtWait, "not started");
    EXPECT_EQ(bar, "PLAY+ Step+ PAUSE- STOP+");
    // The second step and the line STOP lets through.
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(statusText(), "PROCESSING STOPPED");
    EXPECT_EQ(status()->lblCurrentTime->text().toStdString(), "   n/a");  // no clock without PLAY
    expectIdleFlags();
}

// A stop asked for by something other than the toolbar while the replay is paused ends it
// at once: no further line, and nothing left waiting.
TEST_F(ReplayTest, ModeSwitchOrClosingTheProgramWhilePausedEndsTheReplay) {
    struct Case {
        const char* name;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"mode switch to ONLINE",
         [this] {
             boxes.answers = {MessageAnswer::Yes};
             action("mnuModeOnline")->trigger();
         }},
        {"closing the main window", [this] { action("mnuFileExit")->trigger(); }},
        {"another setup file",
         [this] {
             fileDialogs.answers.push_back(home + "Tiderune.ini");
             action("mnuFileOpen")->trigger();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startOffline();
        Script script(shell->run, *replay);
        onLine = [&](int n) {
            if (n == 5) click("PAUSE");
        };
        script.whenWaiting([&] { c.act(); });

        click("PLAY");

        EXPECT_FALSE(script.timedOut());
        EXPECT_EQ(lines, 5);
        EXPECT_EQ(beeps, 1);
        expectIdleFlags();
        startAgain();
    }
}

// An exit that a window's question refuses leaves the replay running: it goes on to the end
// of the file as if nothing had been asked.
TEST_F(ReplayTest, AnExitAnsweredNoLetsTheReplayGoOn) {
    startOffline([](Config& c) { c.Systems[1].analysed(SentenceType::GSV) = true; });
    ShowTimeSeriesWindows(*shell, 1);
    onLine = [&](int n) {
        if (n != 20) return;
        boxes.answers = {MessageAnswer::No};
        action("mnuFileExit")->trigger();
    };
    click("PLAY");
    EXPECT_EQ(lines, 1000);
    EXPECT_TRUE(window->isVisible());
    ASSERT_NE(status(), nullptr);
    EXPECT_EQ(statusText(), "END OF FILE REACHED");
    EXPECT_FALSE(shell->state.AppClosing);
    expectIdleFlags();
}

TEST_F(ReplayTest, ModeSwitchWhileRunningEndsTheReplayAndItNeverTouchesTheUnloadedStatusWindow) {
    startOffline();
    onLine = [&](int n) {
        if (n != 20) return;
        boxes.answers = {MessageAnswer::Yes};
        action("mnuModeOnline")->trigger();
    };
    click("PLAY");
    EXPECT_EQ(lines, 20);
    EXPECT_EQ(status(), nullptr);
    EXPECT_EQ(shell->config.Mode, "ONLINE");
    expectIdleFlags();
    EXPECT_EQ(toolbar(), "PLAY+ Step+ PAUSE- STOP-");
}

// Another setup file opened after a replay, during one or in its pause: the status window
// shows the new setup as a window that has seen no replay, and the old replay, ending after
// it, writes nothing there (its clock neither).
TEST_F(ReplayTest, AnotherSetupFileShowsItsOwnStateInTheStatusWindow) {
    enum class When { AfterTheEnd, WhileRunning, WhilePaused };
    const std::pair<const char*, When> cases[] = {{"after the end", When::AfterTheEnd},
                                                  {"while running", When::WhileRunning},
                                                  {"while paused", When::WhilePaused}};
    for (const auto& [name, when] : cases) {
        SCOPED_TRACE(name);
        startOffline();
        const auto openOther = [this] {
            core.setupFile = [](Config& c) {
                c.Mode = "OFFLINE";
                useSystem(c, 1, "GPS2", {SentenceType::GGA});
                c.Systems[1].ComPort = 0;
                // A file's name as the file system spells it (UTF-8), shown as such.
                c.Systems[1].OfflineFile = "/data/m\xC3\xA5ling.nmea";
            };
            fileDialogs.answers.push_back(home + "Tiderune.ini");
            action("mnuFileOpen")->trigger();
            // The clock's tick after it, before the old replay has ended.
            if (replay->statusClock().isActive()) replay->statusClock().onTimeout();
        };
        Script script(shell->run, *replay);
        onLine = [&](int n) {
            if (n == 5 && when == When::WhilePaused) click("PAUSE");
            if (n == 20 && when == When::WhileRunning) openOther();
        };
        if (when == When::WhilePaused) script.whenWaiting(openOther);
        clock.time = {2026, 12, 8, 14, 32, 5, 0};
        click("PLAY");
        if (when == When::AfterTheEnd) {
            ASSERT_EQ(statusText(), "END OF FILE REACHED");
            openOther();
        }
        EXPECT_FALSE(script.timedOut());
        ASSERT_NE(status(), nullptr);
        const std::vector<std::string> texts = {
            status()->lblFileName->text().toStdString(),    statusText(),
            status()->lblStartTime->text().toStdString(),   status()->lblCurrentTime->text().toStdString(),
            status()->lblProcessingTime->text().toStdString()};
        EXPECT_EQ(texts, (std::vector<std::string>{"/data/m\xC3\xA5ling.nmea", "not started", "   n/a", "   n/a", "   n/a"}));
        EXPECT_FALSE(statusRed());
        EXPECT_TRUE(status()->lblPause->isHidden());
        EXPECT_EQ(toolbar(), "PLAY+ Step+ PAUSE- STOP-");
        EXPECT_FALSE(replay->statusClock().isActive());
        expectIdleFlags();
        startAgain();
    }
}

TEST_F(ReplayTest, AFileThatCannotBeOpenedIsReportedOnceAndTheReplayEnds) {
    struct Case {
        const char* name;
        std::string file;
        std::string message;
        std::string logged;
    };
    // The message shows the file system's UTF-8 name as the program's text.
    const std::string missing = "/nonexistent-folder-of-tests/m\xC3\xA5ling.nmea";
    // A named pipe would hold PLAY until something wrote to it.
    const std::string pipe = dir.path().toStdString() + "/pipe.nmea";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const Case& c : {Case{"missing", missing, "Path not found : /nonexistent-folder-of-tests/m\xE5ling.nmea", "Path not found"},
                          Case{"no file", "", "Bad file name or number : no file selected", "Bad file name or number"},
                          Case{"named pipe", pipe, "Path/File access error : " + pipe, "Path/File access error"}}) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(home + "ErrorLog/ErrorLog.txt");
        startOffline([&](Config& cfg) { cfg.Systems[1].OfflineFile = c.file; });
        click("PLAY");
        EXPECT_EQ(lines, 0);
        ASSERT_EQ(boxTexts(), std::vector<std::string>{c.message});
        const auto log = errorLogLines();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_NE(log[0].find(" - Error description : " + c.logged), std::string::npos) << log[0];
        EXPECT_EQ(statusText(), "PROCESSING STOPPED");
        EXPECT_EQ(status()->lblCurrentTime->text().toStdString(), "14:32:05");  // when it ended
        EXPECT_EQ(toolbar(), "PLAY+ Step+ PAUSE- STOP-");
        EXPECT_EQ(beeps, 1);
        expectIdleFlags();
        startAgain();
    }
}

// Lines no sentence can be are passed over and counted in one entry of the error log, after
// the replay; the lines around them are analysed.
TEST_F(ReplayTest, OverlongLinesAreSkippedAndCountedInTheErrorLog) {
    const std::string longLine(ReplayFile::MaxLineLength + 1, 'x');
    const std::string longest(ReplayFile::MaxLineLength, 'k');
    struct Case {
        int overlong;
        std::vector<std::string> log;
    };
    const std::string entry = "2026 Dec 08 14:32:05 - Error description : ";
    const Case cases[] = {
        {0, {}},
        {1, {entry + "1 line(s) longer than 4096 characters skipped : " + recording + "\r"}},
        {3, {entry + "3 line(s) longer than 4096 characters skipped : " + recording + "\r"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.overlong);
        std::filesystem::remove(home + "ErrorLog/ErrorLog.txt");
        {
            std::ofstream f(recording, std::ios::binary);
            f << "$A*00\r\n" << longest << "\r\n";
            for (int i = 0; i < c.overlong; ++i) f << longLine << "\r\n$B" << i << "*00\r\n";
        }
        clock.time = {2026, 12, 8, 14, 32, 5, 0};
        startOffline();
        click("PLAY");
        EXPECT_EQ(lines, 2 + c.overlong);
        EXPECT_EQ(errorLogLines(), c.log);
        EXPECT_EQ(statusText(), "END OF FILE REACHED");
        startAgain();
    }
}

// A recording that turns into gigabytes without a line end (a damaged or sparse file): while
// the replay passes over them the window goes on working, and STOP ends the replay there.
TEST_F(ReplayTest, StopEndsTheReplayWhileItPassesOverALineWithoutAnEnd) {
    {
        const int fd = ::open(recording.c_str(), O_WRONLY | O_TRUNC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "$A*00\r\n", 7), 7);
        // 2 GB of zeros that take no disk space, then one more line.
        ASSERT_EQ(::ftruncate(fd, off_t{2} << 30), 0);
        ASSERT_EQ(::lseek(fd, 0, SEEK_END), off_t{2} << 30);
        ASSERT_EQ(::write(fd, "\r\n$B*00\r\n", 9), 9);
        ::close(fd);
    }
    startOffline();
    Script script(shell->run, *replay);
    QElapsedTimer sinceFirstLine;
    onLine = [&](int n) {
        if (n == 1) sinceFirstLine.start();
    };
    // The user clicks STOP a moment after the first line, while the replay reads the zeros.
    script.when([&] { return sinceFirstLine.isValid() && sinceFirstLine.elapsed() >= 50; }, [&] { click("STOP"); });

    click("PLAY");

    EXPECT_FALSE(script.timedOut());
    EXPECT_EQ(lines, 1);  // the line after the zeros was never reached
    EXPECT_TRUE(errorLogLines().empty());  // nor the end of the line that was passed over
    EXPECT_EQ(statusText(), "PROCESSING STOPPED");
    EXPECT_EQ(toolbar(), "PLAY+ Step+ PAUSE- STOP-");
    expectIdleFlags();
}

TEST_F(ReplayTest, FilesOfTheOtherSystemsAreOpenedButNeverRead) {
    const std::string other = dir.path().toStdString() + "/other.nmea";
    std::ofstream(other) << "$OTHER,1*00\r\n";
    startOffline([&](Config& c) {
        c.Systems[2].OfflineFile = other;
        c.Systems[3].OfflineFile = "/nonexistent-folder-of-tests/x.nmea";
    });
    click("PLAY");
    EXPECT_EQ(lines, 1000);
    for (const auto& call : core.calls) EXPECT_EQ(call.find("OTHER"), std::string::npos);
    // The one that cannot be opened is logged; the replay goes on without it.
    EXPECT_EQ(errorLogLines().size(), 1u);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ReplayTest, ErrorsOfLinesAreLoggedAndTheReplayGoesOnUntilTheUserSaysNo) {
    startOffline();
    onLine = [&](int n) {
        if (n % 10 == 0) throw RuntimeError(err::TypeMismatch, "Type mismatch");
    };
    boxes.answers = {MessageAnswer::Yes, MessageAnswer::No};
    click("PLAY");
    // The 11th error asks (Yes), the 22nd asks again (No): the program ends, the replay too.
    EXPECT_EQ(lines, 220);
    EXPECT_EQ(programEnded, 1);
    EXPECT_EQ(errorLogLines().size(), 22u);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_NE(boxes.shown[0].text.find("More than 10 errors has occurred"), std::string::npos);
    expectIdleFlags();
}

TEST_F(ReplayTest, StatusClockShowsTheTimeAndTheProcessingTimeWhileRunningAndPaused) {
    startOffline();
    Script script(shell->run, *replay);
    std::vector<std::string> shown;
    onLine = [&](int n) {
        if (n == 3) click("PAUSE");
    };
    script.whenWaiting([&] {
        EXPECT_TRUE(replay->statusClock().isActive());
        EXPECT_EQ(replay->statusClock().interval(), 1000);
        clock.time = {2026, 12, 8, 15, 33, 10, 400};
        replay->statusClock().onTimeout();
        shown.push_back(status()->lblCurrentTime->text().toStdString());
        shown.push_back(status()->lblProcessingTime->text().toStdString());
        click("CONT");
    });
    clock.time = {2026, 12, 8, 14, 32, 5, 900};
    click("PLAY");
    EXPECT_EQ(shown, (std::vector<std::string>{"15:33:10", "01:01:05"}));
    EXPECT_FALSE(replay->statusClock().isActive());
}

TEST_F(ReplayTest, MonitorOfThePrimarySystemShowsTheReplayedLinesAndTheirCounters) {
    writeRecording(0);
    {
        std::ofstream f(recording, std::ios::binary);
        f << withChecksum("$GPZDA,140000.00,08,12,2026,00,00") << "\r\n"
          << "$GPZDA,140001.00,08,12,2026,00,00*00\n"
          << withChecksum("!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0") << "\r\n"
          << "junk";
    }
    startOffline();
    realIntake = true;
    ShowNMEAWindow(*shell, 1);
    NMEAMonitorWindow* m = monitorWindow(*shell, 1);
    ASSERT_NE(m, nullptr);
    click("PLAY");
    EXPECT_EQ(lines, 4);
    EXPECT_EQ(m->lblInputBuffer1->text().toStdString(), "File inputbuffer :");
    EXPECT_EQ(m->lblInputBuffer2->text().toStdString(), "junk");
    EXPECT_EQ(m->lblMessages->text().toStdString(), "4");
    EXPECT_EQ(m->lblNMEACount->text().toStdString(), "2");
    EXPECT_EQ(m->lblAISCount->text().toStdString(), "1");
    EXPECT_EQ(m->lblCheckSumOK->text().toStdString(), "2");
    EXPECT_EQ(m->lblCheckSumError->text().toStdString(), "1");
    EXPECT_EQ(m->txtNMEA->toPlainText().toStdString(),
              withChecksum("$GPZDA,140000.00,08,12,2026,00,00") + "\n$GPZDA,140001.00,08,12,2026,00,00*00\n" +
                  withChecksum("!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0") + "\njunk\n");
    EXPECT_EQ(m->panelText(1).toStdString(), "File : " + recording + "  ");
}

// The demo setups record the primary system's monitor as open, which nothing opens at the
// start: no line is counted for it until it is opened, and each PLAY then counts the file once.
TEST_F(ReplayTest, AMonitorTheSetupFileRecordsAsOpenCountsNothingUntilItIsOpened) {
    const std::string examples = std::string(TIDERUNE_SOURCE_DIR) + "/examples/";
    for (const char* demo : {"Tiderune.ini.in", "Tiderune-nav.ini.in"}) {
        SCOPED_TRACE(demo);
        std::ifstream in(examples + demo, std::ios::binary);
        std::string setup((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t file = setup.find("\"@EXAMPLES@/");
        ASSERT_NE(file, std::string::npos);
        setup.replace(file, setup.find('"', file + 1) + 1 - file, "\"" + recording + "\"");
        std::filesystem::create_directories(home);
        std::ofstream(home + "Tiderune.ini", std::ios::binary) << setup;
        ProgramCore real;
        realCore = &real;
        start();
        replay = &program->replay();
        replay->beep = [] {};
        ASSERT_TRUE(boxes.shown.empty()) << boxes.shown.front().text;
        ASSERT_FALSE(shell->windows.slot(WindowKind::NMEA, 1).isLoaded());

        click("PLAY");
        ASSERT_EQ(statusText(), "END OF FILE REACHED");
        EXPECT_EQ(shell->coreState.Monitor[1].MonitorSentenceCount, 0);
        ShowNMEAWindow(*shell, 1);
        NMEAMonitorWindow* m = monitorWindow(*shell, 1);
        ASSERT_NE(m, nullptr);
        click("PLAY");
        EXPECT_EQ(shell->coreState.Monitor[1].MonitorSentenceCount, 1000);
        EXPECT_EQ(m->lblMessages->text().toStdString(), "1000");
        EXPECT_EQ(m->lblCheckSumOK->text().toStdString(), "1000");
        TearDown();
        SetUp();
    }
}

// Counts the paint events of a widget while a condition holds.
class PaintCounter : public QObject {
public:
    PaintCounter(QWidget* w, std::function<bool()> counting) : counting_(std::move(counting)) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && counting_()) ++paints;
        return false;
    }
    int paints = 0;

private:
    std::function<bool()> counting_;
};

TEST_F(ReplayTest, TheStatusWindowAndTheMonitorAreRedrawnWhileTheReplayRuns) {
    writeRecording(1500);
    startOffline();
    realIntake = true;
    ShowNMEAWindow(*shell, 1);
    NMEAMonitorWindow* m = monitorWindow(*shell, 1);
    ASSERT_NE(m, nullptr);
    // About 1.5 s of replay: the screen must follow it, not only show where it ended.
    onLine = [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); };
    auto running = [this] { return shell->run.OfflineRunning && lines < 1500; };
    PaintCounter status(window->offlineStatusWindow()->lblStatus, running);
    PaintCounter monitor(m->txtNMEA->viewport(), running);
    click("PLAY");
    EXPECT_EQ(lines, 1500);
    EXPECT_GT(status.paints, 0);
    EXPECT_GT(monitor.paints, 1);
}

}  // namespace
}  // namespace tiderune::test
