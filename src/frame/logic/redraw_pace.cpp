#include "frame/logic/redraw_pace.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tiderune {

RedrawPace::RedrawPace(int intervalMs, std::function<double()> nowMs) : intervalMs_(intervalMs), nowMs_(std::move(nowMs)) {}

void RedrawPace::drawStarted() {
    startedMs_ = sliceStartedMs_ = nowMs_();
    pausedMs_ = 0;
}

bool RedrawPace::sliceOver() const { return nowMs_() - sliceStartedMs_ >= SliceMs; }

void RedrawPace::drawPaused() { pausedAtMs_ = nowMs_(); }

void RedrawPace::drawResumed() {
    sliceStartedMs_ = nowMs_();
    pausedMs_ += std::max(0.0, sliceStartedMs_ - pausedAtMs_);
}

int RedrawPace::drawFinished() {
    // A clock that stepped back counts as no time spent.
    const double elapsed = std::max(0.0, nowMs_() - startedMs_);
    lastDrawMs_ = std::max(0.0, elapsed - pausedMs_);
    // The tick's own rate, counted from the drawing's start, while drawing is cheap; twice
    // the drawing's time after it once drawing takes more than a third of the interval.
    const double wait = std::max(intervalMs_ - elapsed, 2 * lastDrawMs_);
    return static_cast<int>(std::ceil(wait));
}

}  // namespace tiderune
