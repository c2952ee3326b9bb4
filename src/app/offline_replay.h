#pragma once
// The replay of the primary system's recorded file in OFFLINE mode: as fast as the lines can
// be analysed, one line at a time, giving the window system its turn between two lines once
// a millisecond of replay has passed by the coarse clock (ReplayTurns). The offline toolbar
// steers it only through the run flags (running, pause, step, stop), which the loop reads
// between two lines; the status window follows it with a one-second clock.
#include <QString>
#include <functional>
#include <memory>

#include "platform/timer.h"

class QAction;

namespace tiderune {

class ErrorLog;
class MainWindow;
class OfflineStatusWindow;
class Shell;

class OfflineReplay {
public:
    // Works the offline toolbar of the main window, whose clicks the program hands to
    // tbOfflineButtonClick. Run-time errors of the replay go to `errorLog`.
    OfflineReplay(MainWindow& window, ErrorLog& errorLog);
    ~OfflineReplay();
    OfflineReplay(const OfflineReplay&) = delete;
    OfflineReplay& operator=(const OfflineReplay&) = delete;

    // A click on the offline toolbar, by the button's key: "PLAY", "CONT", "PAUSE", "Step",
    // "STOP". PLAY and Step from idle return only when the replay has ended.
    void tbOfflineButtonClick(const QString& key);

    // The replay loop; returns when the replay ends.
    void PlayOfflineFiles();

    // The status window's clock: the time of day and the processing time so far.
    void Timer1Timer();
    Timer& statusClock() { return *timer1_; }

    // Sounds when a replay ends; the system's beep unless replaced.
    std::function<void()> beep;

    // Lines handed to the analysis by the running or the last replay.
    long long linesReplayed() const { return lines_; }
    // The replay sits in its pause wait, for a step, a continue or a stop.
    bool isWaiting() const { return waiting_; }

private:
    QAction* button(int number) const;
    void setButtons(bool b1, bool b2, bool b3, bool b4);
    void setPlayKey(const char* key);
    void setStatus(const char* text, bool red);
    OfflineStatusWindow* statusWindow() const;
    // The current time as the program keeps it: whole seconds as a day count.
    double now() const;
    // The start of every replay: the core's dates, the charts' decimation and the SNR
    // windows' taking back of the last pass begin afresh.
    void startNewRun();
    // The pause wait: sleeps in the event loop until a step, a continue or a stop.
    void waitWhilePaused();
    // Writes an error to the error log and asks the question when it is due; false when
    // the user chose to end the program.
    bool logError(const std::exception& e);
    // A stop asked for by the mode switch, another setup file or the closing program rather
    // than by STOP or the replay itself: the status window no longer shows this replay (it
    // is gone, or shows the new setup), so the end of the run leaves it alone.
    bool stoppedElsewhere() const;

    MainWindow& window_;
    Shell& shell_;
    ErrorLog& errorLog_;
    std::unique_ptr<Timer> timer1_;
    long long lines_ = 0;
    bool waiting_ = false;
    bool ownStop_ = false;  // OfflineStop was set by STOP or by the replay itself
};

}  // namespace tiderune
