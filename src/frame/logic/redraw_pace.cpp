#include "frame/logic/redraw_pace.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tiderune {

RedrawPace::RedrawPace(int intervalMs, std::function<double()> nowMs) : intervalMs_(intervalMs), nowMs_(std::move(nowMs)) {}

void RedrawPace::drawStarted() { startedMs_ = nowMs_(); }

int RedrawPace::drawFinished() {
    // A clock that stepped back counts as no time spent.
    lastDrawMs_ = std::max(0.0, nowMs_() - startedMs_);
    // The tick's own rate, counted from the drawing's start, while drawing is cheap; twice
    // the drawing's time after it once drawing takes more than a third of the interval.
    const double wait = std::max(intervalMs_ - lastDrawMs_, 2 * lastDrawMs_);
    return static_cast<int>(std::ceil(wait));
}

}  // namespace tiderune
