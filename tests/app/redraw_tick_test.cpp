// The redraw tick's pace: a dear drawing makes the next tick wait twice as long as it took,
// and the tick's own rate returns once drawing is cheap again.
#include "frame/redraw_tick.h"

#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

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

}  // namespace
}  // namespace tiderune::test
