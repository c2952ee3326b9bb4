#include "app/offline_replay.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QToolBar>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "app/logic/error_log.h"
#include "app/logic/replay_file.h"
#include "app/logic/replay_turns.h"
#include "frame/redraw_tick.h"
#include "app/main_window.h"
#include "app/offline_status_window.h"
#include "app/reset_family.h"
#include "frame/shell.h"
#include "core/code_page.h"
#include "core/errors.h"
#include "core/number_text.h"
#include "core/processing.h"

namespace tiderune {

namespace {

ClockTime wholeSeconds(ClockTime t) {
    t.millisecond = 0;
    return t;
}

// The replay's clock for its turns, read after every line. The kernel's coarse clock costs a
// tenth of the fine one (which costs a few percent of a line) and moves on at the kernel's
// tick, every 1 to 10 ms: a turn then comes about once a tick, soon enough for a click.
double coarseMs() {
#ifdef CLOCK_MONOTONIC_COARSE
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
#else
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
#endif
}

QString hms(const ClockTime& t) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
    return buf;
}

// "hh:mm:ss dd mmm yyyy"
QString startText(const ClockTime& t) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d %02d %s %04d", t.hour % 100, t.minute % 100, t.second % 100,
                  t.day % 100, monthAbbreviation(t.month), t.year % 10000);
    return buf;
}

}  // namespace

OfflineReplay::OfflineReplay(MainWindow& window, ErrorLog& errorLog)
    : window_(window), shell_(window.shell()), errorLog_(errorLog) {
    beep = [] { QApplication::beep(); };
    timer1_ = shell_.services.devices.makeTimer();
    timer1_->setInterval(1000);
    timer1_->onTimeout = [this] { Timer1Timer(); };
}

OfflineReplay::~OfflineReplay() {
    timer1_->stop();
    timer1_->onTimeout = nullptr;
}

QAction* OfflineReplay::button(int number) const {
    const QList<QAction*> actions = window_.offlineToolBar()->actions();
    return number >= 1 && number <= actions.size() ? actions[number - 1] : nullptr;
}

void OfflineReplay::setButtons(bool b1, bool b2, bool b3, bool b4) {
    button(1)->setEnabled(b1);
    button(2)->setEnabled(b2);
    button(3)->setEnabled(b3);
    button(4)->setEnabled(b4);
}

void OfflineReplay::setPlayKey(const char* key) {
    MainWindow::setButtonKey(button(1), key);
    button(1)->setText(key);
}

OfflineStatusWindow* OfflineReplay::statusWindow() const { return window_.offlineStatusWindow(); }

void OfflineReplay::setStatus(const char* text, bool red) {
    OfflineStatusWindow* w = statusWindow();
    if (!w) return;
    QPalette p = w->lblStatus->palette();
    p.setColor(QPalette::WindowText, red ? QColor(0xFF, 0, 0) : QColor(0, 0, 0));
    w->lblStatus->setPalette(p);
    w->lblStatus->setText(text);
}

void OfflineReplay::startNewRun() {
    // Dated afresh as at start-up, the lines before the recording's first date lie where they
    // lay in the first pass, not on the date the last pass ended with; no decimation block,
    // fix quality or satellite in use of the last pass marks the new one; and the SNR
    // windows, which keep their points, give up the last pass's from the new one's times
    // on. The statistics and the windows are PLAY's reset, which Step from idle leaves out.
    StartDates(shell_.coreState, now());
    shell_.timeSeries.RestartDecimation();
    shell_.timeSeries.MarkSNRSeriesForNewRun();
}

double OfflineReplay::now() const { return wholeSeconds(shell_.services.clock.now()).dayCount(); }

void OfflineReplay::tbOfflineButtonClick(const QString& key) {
    RunState& run = shell_.run;
    if (key == "PLAY") {
        setButtons(false, false, true, true);
        run.OfflineStop = false;
        ownStop_ = false;
        run.OfflinePause = false;
        const ClockTime started = wholeSeconds(shell_.services.clock.now());
        run.ProcessingStart = started.dayCount();
        setStatus("PROCESSING IN PROGRESS", false);
        if (OfflineStatusWindow* w = statusWindow()) {
            w->lblStartTime->setText(startText(started));
            w->lblProcessingTime->setText("00:00:00");
        }
        timer1_->start();
        // The primary system's charts start afresh even when it is out of use: its file is read.
        window_.resets().ResetAll(1);
        if (!run.OfflineRunning) {
            run.OfflineRunning = true;
            PlayOfflineFiles();
        }
    } else if (key == "PAUSE") {
        setButtons(true, true, false, button(4)->isEnabled());
        setPlayKey("CONT");
        run.OfflinePause = true;
        setStatus("PROCESSING PAUSED", true);
        if (OfflineStatusWindow* w = statusWindow()) w->lblPause->setVisible(true);
    } else if (key == "CONT") {
        setButtons(false, false, true, button(4)->isEnabled());
        run.OfflinePause = false;
        setStatus("PROCESSING IN PROGRESS", false);
        timer1_->start();
    } else if (key == "Step") {
        button(4)->setEnabled(true);
        run.OfflineStep = true;
        if (!run.OfflineRunning) {
            // The replay starts paused and lets one line through: no reset, no start time.
            run.OfflineRunning = true;
            run.OfflinePause = true;
            PlayOfflineFiles();
        }
    } else if (key == "STOP") {
        if (shell_.ask("Are you sure?", MessageButtons::YesNo, MessageAnswer::Yes) != MessageAnswer::Yes) return;
        setButtons(true, true, false, false);
        setPlayKey("PLAY");
        run.OfflinePause = false;
        run.OfflineStop = true;
        ownStop_ = true;
        setStatus("PROCESSING STOPPED", true);
    }
}

bool OfflineReplay::stoppedElsewhere() const { return shell_.run.OfflineStop && !ownStop_; }

void OfflineReplay::waitWhilePaused() {
    RunState& run = shell_.run;
    // Every flag change comes from a handler of some event, so the loop sleeps until the next
    // event has been handled and looks again.
    waiting_ = true;
    while (run.OfflinePause && !run.OfflineStep && !run.OfflineStop)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    waiting_ = false;
}

bool OfflineReplay::logError(const std::exception& e) {
    errorLog_.write(e);
    return errorLog_.askIfDue();
}

void OfflineReplay::PlayOfflineFiles() {
    RunState& run = shell_.run;
    const Config& config = shell_.config;
    lines_ = 0;
    // Whatever started it (PLAY, Step, after a stop, at the end of the file or after another
    // setup), the replay reads the recording from its first line: a new run.
    startNewRun();

    // Every named file is opened; only the primary system's is read.
    PerSystem<ReplayFile> files;
    bool readable = true;
    for (int s = 1; s <= MaxSystems; ++s) {
        const std::string& path = config.Systems[s].OfflineFile;
        if (path.empty() && s != 1) continue;
        try {
            files[s].open(path);
        } catch (const RuntimeError& e) {
            const bool goOn = logError(e);
            if (s != 1) {
                if (!goOn) run.OfflineStop = ownStop_ = true;
                continue;
            }
            // Without its file the replay cannot run: say so once and end it.
            readable = false;
            if (goOn)
                shell_.ask(e.description() + " : " + (path.empty() ? std::string("no file selected") : fileNameText(path)),
                           MessageButtons::Ok, MessageAnswer::Ok, MessageIcon::Exclamation);
            run.OfflineStop = ownStop_ = true;
            setStatus("PROCESSING STOPPED", true);
        }
    }

    // Between two lines the other events get their turn, once a millisecond of replay has
    // passed since the last by the coarse clock (ReplayTurns): toolbar clicks, menus, timers
    // and the live sources are served within a few milliseconds, and the replay does not pay
    // a look at every event source for every line. The windows keep what a line changes in
    // memory and are redrawn by the shared redraw tick, about 25 times a second, which these
    // turns let through like any other event, during the run and in a pause alike.
    ReplayFile& input = files[1];
    ReplayTurns turns(coarseMs);
    auto turnWhenDue = [&turns] {
        if (!turns.due()) return;
        QCoreApplication::processEvents();
        turns.taken();
    };
    std::string line;
    while (readable) {
        if (run.OfflineStop || input.atEnd()) break;
        if (run.OfflinePause && !run.OfflineStep) {
            waitWhilePaused();
            turns.taken();
            // A stop asked for elsewhere while paused (mode switch, another setup file, the
            // program closing) ends the replay here. The toolbar's STOP lifts the pause
            // itself and lets one more line through.
            if (run.OfflineStop && run.OfflinePause) break;
        }
        ReplayFile::Read got = ReplayFile::Read::End;
        try {
            got = input.read(line);
        } catch (const std::exception& e) {
            // Reading can fail only for want of memory or of the file itself: the replay
            // ends, said once in the log, like a file that cannot be read on.
            logError(RuntimeError(err::PathFileAccessError, std::string("Path/File access error : ") + e.what()));
            break;
        }
        if (got == ReplayFile::Read::End) break;
        if (got == ReplayFile::Read::Skipping) {
            // Passing over a line without an end (a binary file, gigabytes of zeros) takes
            // its time: STOP, PAUSE, the menus and the clock work meanwhile.
            turnWhenDue();
            continue;
        }
        if (config.WindowVisible[1][VisibleForms::NMEAMonitor]) {
            shell_.coreState.NMEACurrentSystem = 1;
            shell_.sink.showInputBuffer(1, line);
        }
        try {
            shell_.processSentence(1, line);
        } catch (const std::exception& e) {
            if (!logError(e)) run.OfflineStop = ownStop_ = true;
        }
        ++lines_;
        run.OfflineStep = false;
        turnWhenDue();
    }
    // The end of the run shows where it ended at once.
    window_.redrawTick().drawNow();
    if (!input.readError().empty()) {
        // A file that cannot be read on ends like one that is at its end.
        logError(RuntimeError(err::PathFileAccessError, "Path/File access error : " + input.readError()));
    }
    if (input.droppedLines() > 0) {
        // Lines no sentence can be (a file without line ends, a binary file) are passed over
        // as live sources pass them over; the log says how many.
        errorLog_.writeEntry(std::to_string(input.droppedLines()) + " line(s) longer than " +
                             std::to_string(ReplayFile::MaxLineLength) + " characters skipped : " +
                             config.Systems[1].OfflineFile);
    }

    beep();
    if (!run.OfflineStop) setStatus("END OF FILE REACHED", true);
    // A replay shorter than the clock's second still shows when it ended.
    if (timer1_->isActive()) Timer1Timer();  // says nothing after a stop from elsewhere
    timer1_->stop();
    setButtons(true, true, false, false);
    setPlayKey("PLAY");
    run.OfflineRunning = false;
    run.OfflineStop = false;
    ownStop_ = false;
    run.OfflinePause = false;
    run.ProcessingEnd = now();
    for (ReplayFile& f : files) f.close();
}

void OfflineReplay::Timer1Timer() {
    OfflineStatusWindow* w = statusWindow();
    if (!w || stoppedElsewhere()) return;
    const ClockTime t = wholeSeconds(shell_.services.clock.now());
    w->lblCurrentTime->setText(hms(t));
    // The processing time runs on through pauses.
    const double seconds = std::round((t.dayCount() - shell_.run.ProcessingStart) * 86400.0);
    w->lblProcessingTime->setText(toQt(FormatHMS(seconds, 0)));
}

}  // namespace tiderune
