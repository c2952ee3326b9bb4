#include "app/logic/replay_turns.h"

#include <gtest/gtest.h>

namespace tiderune {
namespace {

TEST(ReplayTurns, ATurnComesOnceAMillisecondOfReplayHasPassedSinceTheLastTurnEnded) {
    double now = 5000;
    ReplayTurns turns([&] { return now; });
    // Each row: the time a line took, whether the event loop's turn is due after it, and what
    // that turn took.
    const struct {
        double lineMs;
        bool due;
        double turnMs;
    } lines[] = {
        {0, false, 0},        // straight after the start
        {0.25, false, 0},     // lines far shorter than a millisecond add up
        {0.5, false, 0},
        {0.25, true, 30},     // a millisecond since the start; the turn draws for 30 ms
        {0.75, false, 0},     // counted from the end of that turn, not its start
        {0.25, true, 0},
        {40, true, 0},        // a slow line has its turn straight after it
        {0, false, 0},        // and the next line none
        {0.9990234375, false, 0},
        {0.0009765625, true, 0},
    };
    int row = 0;
    for (const auto& l : lines) {
        ++row;
        now += l.lineMs;
        ASSERT_EQ(turns.due(), l.due) << "row " << row;
        if (!l.due) continue;
        now += l.turnMs;
        turns.taken();
    }
}

}  // namespace
}  // namespace tiderune
