#include "frame/redraw_tick.h"

#include <utility>

#include "frame/child_window.h"

namespace tiderune {

RedrawTick::RedrawTick(QObject* parent) : QObject(parent) {
    timer_.setInterval(IntervalMs);
    connect(&timer_, &QTimer::timeout, this, &RedrawTick::drawNow);
}

void RedrawTick::schedule(ChildWindow* window) {
    changed_.emplace_back(window);
    // The timer runs only while something waits to be drawn: an idle program never wakes.
    if (!timer_.isActive()) timer_.start();
}

void RedrawTick::scheduleCall(std::function<void()> draw) {
    call_ = std::move(draw);
    if (!timer_.isActive()) timer_.start();
}

void RedrawTick::drawNow() {
    if (call_) std::exchange(call_, nullptr)();
    std::vector<QPointer<ChildWindow>> due;
    due.swap(changed_);
    bool drew = false;
    for (const QPointer<ChildWindow>& w : due) {
        // A hidden window stays marked and is drawn when it is shown (ChildWindow::showEvent).
        if (w && w->isVisible()) drew = w->refreshIfChanged() || drew;
    }
    if (drew) ++ticks_;
    if (changed_.empty() && !call_) timer_.stop();
}

}  // namespace tiderune
