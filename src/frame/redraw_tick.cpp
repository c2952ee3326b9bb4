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
    if (!drawing_) {
        // A new drawing: the status bar and the windows changed since the last.
        pace_.drawStarted();
        drawing_ = true;
        drew_ = false;
        if (statusBarDraw_) std::exchange(statusBarDraw_, nullptr)();
        due_.swap(changed_);
        changed_.clear();
        nextDue_ = 0;
    } else {
        pace_.drawResumed();
    }
    if (!drawDue(true)) {
        // The rest at the event loop's next turn, after what waits there.
        pace_.drawPaused();
        timer_.start(0);
        return;
    }
    drawing_ = false;
    if (drew_) ++ticks_;
    const int wait = pace_.drawFinished();
    drawnMs_ += pace_.lastDrawMs();
    nextTickMs_ = nowMs_() + wait;
    if (!changed_.empty() || statusBarDraw_) timer_.start(wait);
}

bool RedrawTick::drawDue(bool sliced) {
    while (nextDue_ < due_.size()) {
        const QPointer<ChildWindow> w = due_[nextDue_++];
        // A hidden window stays marked and is drawn when it is shown (ChildWindow::showEvent).
        if (!w || !w->isVisible() || !w->refreshIfChanged()) continue;
        drew_ = true;
        // A refreshed window asks Qt to paint it at the event loop's next turn: painted here,
        // window by window, the drawing is timed whole and can stop between two windows.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        if (sliced && nextDue_ < due_.size() && pace_.sliceOver()) return false;
    }
    due_.clear();
    nextDue_ = 0;
    return true;
}

void RedrawTick::drawNow() {
    if (statusBarDraw_) std::exchange(statusBarDraw_, nullptr)();
    // What a drawing under way has not drawn yet, then everything changed since.
    if (!drawing_) drew_ = false;
    drawing_ = false;
    due_.insert(due_.end(), changed_.begin(), changed_.end());
    changed_.clear();
    drawDue(false);
    if (drew_) ++ticks_;
    drew_ = false;
    if (changed_.empty() && !statusBarDraw_) timer_.stop();
}

}  // namespace tiderune
