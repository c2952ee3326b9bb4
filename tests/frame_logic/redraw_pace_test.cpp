#include "frame/logic/redraw_pace.h"

#include <gtest/gtest.h>

namespace tiderune {
namespace {

TEST(RedrawPace, WaitFollowsTheDrawingTime) {
    double now = 1000;
    RedrawPace pace(40, [&] { return now; });
    // Each row: what a tick took to draw, and the wait it asks for before the next one.
    const struct {
        double drawMs;
        int waitMs;
    } ticks[] = {
        {0, 40},      // nothing to draw: the tick's own rate
        {5, 35},      // cheap drawing keeps 25 a second, counted from the drawing's start
        {13, 27},     // still below a third of the interval
        {14, 28},     // from here on twice the drawing time
        {30, 60},
        {120.2, 241}, // rounded up, never shorter than twice
        {2, 38},      // drawing cheap again: the live rate returns at once
        {40, 80},
    };
    for (const auto& t : ticks) {
        now += 17;  // the time between ticks does not matter, only the drawing's
        pace.drawStarted();
        now += t.drawMs;
        EXPECT_EQ(pace.drawFinished(), t.waitMs) << "drawing " << t.drawMs << " ms";
        EXPECT_DOUBLE_EQ(pace.lastDrawMs(), t.drawMs);
    }
    // A clock stepping back while drawing counts as no time.
    pace.drawStarted();
    now -= 500;
    EXPECT_EQ(pace.drawFinished(), 40);
}

}  // namespace
}  // namespace tiderune
