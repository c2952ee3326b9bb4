#include "frame/redraw_tick.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "frame/child_window.h"

namespace tiderune {

namespace {

double steadyMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

RedrawTick::RedrawTick(QObject* parent, std::function<double()> nowMs)
    : QObject(parent), nowMs_(nowMs ? std::move(nowMs) : steadyMs), pace_(IntervalMs, nowMs_) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RedrawTick::tick);
}

void RedrawTick::armTimer() {
    // The timer runs only while something waits to be drawn: an idle program never wakes.
    // The first change waits the tick's interval, or longer after a dear drawing.
    if (timer_.isActive()) return;
    const double wait = std::max<double>(IntervalMs, nextTickMs_ - nowMs_());
    timer_.start(static_cast<int>(std::ceil(wait)));
}

void RedrawTick::schedule(ChildWindow* window) {
    changed_.emplace_back(window);
    armTimer();
}

void RedrawTick::scheduleStatusBarDraw(std::function<void()> draw) {
    statusBarDraw_ = std::move(draw);
    armTimer();
}

void RedrawTick::tick() {
    pace_.drawStarted();
    const long long before = ticks_;
    drawNow();
    // A refreshed window asks Qt to paint it at the event loop's next turn: painted here, the
    // drawing is timed whole.
    if (ticks_ != before) QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    const int wait = pace_.drawFinished();
    drawnMs_ += pace_.lastDrawMs();
    nextTickMs_ = nowMs_() + wait;
    if (!changed_.empty() || statusBarDraw_) timer_.start(wait);
}

void RedrawTick::drawNow() {
    if (statusBarDraw_) std::exchange(statusBarDraw_, nullptr)();
    std::vector<QPointer<ChildWindow>> due;
    due.swap(changed_);
    bool drew = false;
    for (const QPointer<ChildWindow>& w : due) {
        // A hidden window stays marked and is drawn when it is shown (ChildWindow::showEvent).
        if (w && w->isVisible()) drew = w->refreshIfChanged() || drew;
    }
    if (drew) ++ticks_;
    if (changed_.empty() && !statusBarDraw_) timer_.stop();
}

}  // namespace tiderune
