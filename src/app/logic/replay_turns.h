#pragma once
// When the replay gives the event loop its turn. A turn looks at every event source, a system
// call that costs more than analysing a line, so a turn after every line would spend more
// time asking whether anything happened than replaying. The loop therefore gives the event
// loop its turn between two lines only once a millisecond of replay has passed since the last
// turn ended: a click, a timer or a source's data waits at most that long (and the line under
// way), and the turns cost next to nothing whatever a line costs.
#include <functional>

namespace tiderune {

class ReplayTurns {
public:
    static constexpr double IntervalMs = 1.0;

    // `nowMs`: a steady clock in milliseconds. The first turn is due a millisecond from now.
    explicit ReplayTurns(std::function<double()> nowMs);

    // Between two lines: the event loop's turn is due.
    bool due() const { return nowMs_() - lastMs_ >= IntervalMs; }
    // The event loop has had its turn (here or in the pause wait): the next is counted from now.
    void taken() { lastMs_ = nowMs_(); }

private:
    std::function<double()> nowMs_;
    double lastMs_;
};

}  // namespace tiderune
