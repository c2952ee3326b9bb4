#pragma once
// The one redraw tick of all child windows, about 25 times a second. A window keeps what it
// shows in memory as sentences arrive and marks itself changed; on the tick each changed
// window that can be seen copies that memory into its widgets. A window costs its sentences
// no drawing, and a replay running as fast as the lines can be read still repaints the
// screen at the tick's rate, or slower while drawing is dear (RedrawPace): drawing never
// takes more than about a third of the time. A drawing of many windows is made in slices of
// about RedrawPace::SliceMs, window by window, with the event loop's turn between slices: a
// click or a menu waits for a slice, not for every window on the screen.
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

#include "frame/logic/redraw_pace.h"

namespace tiderune {

class ChildWindow;

class RedrawTick : public QObject {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 40;

    // `nowMs`: a steady clock in milliseconds (tests give their own).
    explicit RedrawTick(QObject* parent = nullptr, std::function<double()> nowMs = {});

    // Called by ChildWindow::markChanged: the window is refreshed on the next tick.
    void schedule(ChildWindow* window);
    // The status bar's panels, which may change with every line (the checksum counts):
    // `draw` runs on the next tick, once however often it was asked for before. The main
    // window is the one caller, and each of its requests draws every panel then waiting, so
    // the latest request stands for the earlier ones.
    void scheduleStatusBarDraw(std::function<void()> draw);
    // Refreshes every changed window that can be seen now, in one go (the end of a replay,
    // tests).
    void drawNow();
    // Ticks so far that refreshed at least one window.
    long long ticks() const { return ticks_; }

    // What the last tick's drawing took, painting included, in milliseconds.
    double lastDrawMs() const { return pace_.lastDrawMs(); }
    // What every tick's drawing took so far, in milliseconds.
    double drawnMs() const { return drawnMs_; }
    // Milliseconds from the timer's start to the next tick; 0 while no tick is due.
    int waitMs() const { return timer_.isActive() ? timer_.interval() : 0; }

private:
    void tick();
    void armTimer();
    // Refreshes and paints the windows of the drawing under way, one by one, until they are
    // all drawn (true) or, when `sliced`, the slice is over.
    bool drawDue(bool sliced);

    QTimer timer_;
    std::vector<QPointer<ChildWindow>> changed_;
    // The windows of the drawing under way not yet drawn, and whether one of them drew.
    std::vector<QPointer<ChildWindow>> due_;
    std::size_t nextDue_ = 0;
    bool drawing_ = false;
    bool drew_ = false;
    std::function<void()> statusBarDraw_;
    long long ticks_ = 0;
    double drawnMs_ = 0;
    std::function<double()> nowMs_;
    RedrawPace pace_;
    // Steady-clock milliseconds before which the next tick does not come.
    double nextTickMs_ = 0;
};

}  // namespace tiderune
