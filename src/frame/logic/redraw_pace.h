#pragma once
// How long the redraw tick waits before its next turn. A tick that draws little keeps the
// screen at the tick's rate; one whose drawing takes long (every window tiled on a large
// screen during a fast replay) would otherwise leave the event loop nothing but drawing, so
// the wait after it is at least twice what it took: drawing then takes at most a third of
// the time, the replay the rest, and the screen keeps repainting.
#include <functional>

namespace tiderune {

class RedrawPace {
public:
    // `nowMs`: a steady clock in milliseconds.
    RedrawPace(int intervalMs, std::function<double()> nowMs);

    void drawStarted();
    // The drawing started last has ended: the milliseconds to wait until the next tick.
    int drawFinished();
    // What the last drawing took, in milliseconds.
    double lastDrawMs() const { return lastDrawMs_; }

private:
    int intervalMs_;
    std::function<double()> nowMs_;
    double startedMs_ = 0;
    double lastDrawMs_ = 0;
};

}  // namespace tiderune
