#pragma once
// How long the redraw tick waits before its next turn. A tick that draws little keeps the
// screen at the tick's rate; one whose drawing takes long (every window tiled on a large
// screen during a fast replay) would otherwise leave the event loop nothing but drawing, so
// the wait after it is at least twice what it took: drawing then takes at most a third of
// the time, the replay the rest, and the screen keeps repainting.
//
// A drawing of many windows is made in slices: once a slice has drawn for SliceMs, the
// windows still due wait for the event loop's next turn, so that a click or a menu waits
// for one slice, not for the whole drawing. The time between slices is no drawing time.
#include <functional>

namespace tiderune {

class RedrawPace {
public:
    static constexpr double SliceMs = 10;

    // `nowMs`: a steady clock in milliseconds.
    RedrawPace(int intervalMs, std::function<double()> nowMs);

    void drawStarted();
    // The slice under way has drawn SliceMs: the rest of the drawing waits for a turn.
    bool sliceOver() const;
    // The drawing stops for the event loop's turn, and goes on with a new slice.
    void drawPaused();
    void drawResumed();
    // The drawing started last has ended: the milliseconds to wait until the next tick.
    int drawFinished();
    // What the last drawing took, in milliseconds, its pauses left out.
    double lastDrawMs() const { return lastDrawMs_; }

private:
    int intervalMs_;
    std::function<double()> nowMs_;
    double startedMs_ = 0;
    double sliceStartedMs_ = 0;
    double pausedAtMs_ = 0;
    double pausedMs_ = 0;
    double lastDrawMs_ = 0;
};

}  // namespace tiderune
