#include "frame/logic/redraw_pace.h"

#include <gtest/gtest.h>

namespace tiderune {
namespace {

TEST(RedrawPace, WaitFollowsTheDrawingTime) {
    double now = 1000;
    RedrawPace pace(40, [&] { return now; });
    // Each row: what a tick took to draw, the event loop's turns in the middle of it (a
    // drawing made in two slices), and the wait it asks for before the next one.
    const struct {
        double drawMs;
        double pausedMs;
        int waitMs;
    } ticks[] = {
        {0, 0, 40},      // nothing to draw: the tick's own rate
        {5, 0, 35},      // cheap drawing keeps 25 a second, counted from the drawing's start
        {13, 0, 27},     // still below a third of the interval
        {14, 0, 28},     // from here on twice the drawing time
        {30, 0, 60},
        {120.2, 0, 241}, // rounded up, never shorter than twice
        {2, 0, 38},      // drawing cheap again: the live rate returns at once
        {40, 0, 80},
        {30, 20, 60},    // a pause is no drawing time
        {6, 20, 14},     // but the tick's rate still counts from the drawing's start
        {6, 50, 12},
    };
    for (const auto& t : ticks) {
        now += 17;  // the time between ticks does not matter, only the drawing's
        pace.drawStarted();
        now += t.drawMs / 2;
        if (t.pausedMs > 0) {
            pace.drawPaused();
            now += t.pausedMs;
            pace.drawResumed();
        }
        now += t.drawMs / 2;
        EXPECT_EQ(pace.drawFinished(), t.waitMs) << "drawing " << t.drawMs << " ms";
        EXPECT_NEAR(pace.lastDrawMs(), t.drawMs, 1e-9);
    }
    // A clock stepping back while drawing counts as no time.
    pace.drawStarted();
    now -= 500;
    EXPECT_EQ(pace.drawFinished(), 40);
}

// A slice of a long drawing ends once it has drawn for SliceMs; each slice after a pause
// counts from its own start.
TEST(RedrawPace, ASliceEndsOnceItHasDrawnItsShare) {
    double now = 0;
    RedrawPace pace(40, [&] { return now; });
    pace.drawStarted();
    const struct {
        double drawMs;  // drawn since the last row
        bool over;
        bool pause;     // the event loop's turn before the next row
    } steps[] = {
        {4, false, false}, {5.9, false, false}, {0.1, true, true},  // 10 ms: the first slice is over
        {3, false, false}, {30, true, true},                         // one window alone may take longer
        {9.5, false, false},
    };
    int row = 0;
    for (const auto& st : steps) {
        ++row;
        now += st.drawMs;
        EXPECT_EQ(pace.sliceOver(), st.over) << "row " << row;
        if (!st.pause) continue;
        pace.drawPaused();
        now += 100;
        pace.drawResumed();
    }
    pace.drawFinished();
    EXPECT_DOUBLE_EQ(pace.lastDrawMs(), 52.5);
}

}  // namespace
}  // namespace tiderune
