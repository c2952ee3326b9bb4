#pragma once
// The one redraw tick of all child windows, about 25 times a second. A window keeps what it
// shows in memory as sentences arrive and marks itself changed; on the tick each changed
// window that can be seen copies that memory into its widgets. A window costs its sentences
// no drawing, and a replay running as fast as the lines can be read still repaints the
// screen at the tick's rate.
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

namespace tiderune {

class ChildWindow;

class RedrawTick : public QObject {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 40;

    explicit RedrawTick(QObject* parent = nullptr);

    // Called by ChildWindow::markChanged: the window is refreshed on the next tick.
    void schedule(ChildWindow* window);
    // Drawing outside the child windows that may change with every line (the status bar's
    // checksum counts): `draw` runs on the next tick, once however often it was asked for
    // before, the latest request winning.
    void scheduleCall(std::function<void()> draw);
    // Refreshes every changed window that can be seen now (the end of a replay, tests).
    void drawNow();
    // Ticks so far that refreshed at least one window.
    long long ticks() const { return ticks_; }

private:
    QTimer timer_;
    std::vector<QPointer<ChildWindow>> changed_;
    std::function<void()> call_;
    long long ticks_ = 0;
};

}  // namespace tiderune
