// The redraw tick's pace: a dear drawing makes the next tick wait twice as long as it took,
// and the tick's own rate returns once drawing is cheap again; a drawing of many windows
// lets the event loop in between its slices.
#include "frame/redraw_tick.h"

#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/child_window.h"
#include "frame/shell.h"
#include "shell_fixture.h"

namespace tiderune::test {
namespace {

TEST(RedrawTick, WaitsTwiceItsDrawingTimeOnceDrawingIsDear) {
    double now = 0;
    RedrawTick tick(nullptr, [&] { return now; });
    // Each drawing takes the next of these milliseconds and asks for another tick.
    const std::vector<double> drawing{30, 2, 50};
    std::size_t drawn = 0;
    std::function<void()> draw = [&] {
        now += drawing[drawn++];
        if (drawn < drawing.size()) tick.scheduleStatusBarDraw(draw);
    };
    tick.scheduleStatusBarDraw(draw);
    EXPECT_EQ(tick.waitMs(), RedrawTick::IntervalMs);  // the first change waits the interval
    // Each row: the wait after the drawing of that many milliseconds.
    const std::vector<int> waits{60, 38, 0};
    for (std::size_t i = 0; i < drawing.size(); ++i) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return drawn == i + 1; }, 2000)) << "tick " << i;
        EXPECT_DOUBLE_EQ(tick.lastDrawMs(), drawing[i]);
        EXPECT_EQ(tick.waitMs(), waits[i]) << "after drawing " << drawing[i] << " ms";
    }
    EXPECT_DOUBLE_EQ(tick.drawnMs(), 82) << "every tick's drawing, summed";
    // Nothing left to draw: the timer rests, and the next change waits out the last dear
    // drawing's pause (100 ms after it), never less than the interval.
    now += 10;
    tick.scheduleStatusBarDraw([] {});
    EXPECT_EQ(tick.waitMs(), 90);
    now += 80;
    tick.drawNow();
    tick.scheduleStatusBarDraw([] {});
    EXPECT_EQ(tick.waitMs(), RedrawTick::IntervalMs);
}

// A window whose drawing takes `ms` of the test's clock.
class SlowWindow : public ChildWindow {
public:
    SlowWindow(Shell& shell, double& now, double ms, std::string name, std::vector<std::string>& order)
        : ChildWindow(shell, WindowKind::Numerics), now_(now), ms_(ms), name_(std::move(name)), order_(order) {}
    std::function<void()> whileDrawn;

protected:
    void refresh() override {
        now_ += ms_;
        order_.push_back(name_);
        if (whileDrawn) std::exchange(whileDrawn, nullptr)();
    }

private:
    double& now_;
    double ms_;
    std::string name_;
    std::vector<std::string>& order_;
};

// A click that comes while many windows are drawn waits for the slice under way, not for
// the whole drawing, and the drawing then goes on where it stopped.
TEST_F(ShellTest, ADrawingOfManyWindowsLetsEventsInBetweenItsSlices) {
    Shell standalone(core, ShellServices{boxes, settings, fileDialogs, devices, clock, home});
    double now = 0;
    RedrawTick tick(nullptr, [&] { return now; });
    std::vector<std::string> order;
    std::vector<std::unique_ptr<SlowWindow>> windows;
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        windows.push_back(std::make_unique<SlowWindow>(standalone, now, 4, name, order));
        windows.back()->show();
        windows.back()->markChanged();  // no main window: only marked
        tick.schedule(windows.back().get());
    }
    windows[0]->whileDrawn = [&] {
        QMetaObject::invokeMethod(&tick, [&] { order.push_back("click"); }, Qt::QueuedConnection);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return order.size() == 6; }, 2000));
    // 12 ms after the third window the slice is over; the click comes before the rest.
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b", "c", "click", "d", "e"}));
    EXPECT_EQ(tick.ticks(), 1);  // one drawing, in two slices
    EXPECT_DOUBLE_EQ(tick.lastDrawMs(), 20);
}

}  // namespace
}  // namespace tiderune::test
