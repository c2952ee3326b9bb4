#pragma once
// Counters that run for a whole session (lines, samples, messages) stop at their largest
// value instead of wrapping: a long unattended run never shows a negative count.
#include <limits>

namespace tiderune {

template <typename Int>
constexpr void countUp(Int& counter, long long by = 1) {
    constexpr long long top = std::numeric_limits<Int>::max();
    if (by <= 0) return;
    counter = static_cast<Int>(counter >= top - by ? top : counter + by);
}

template <typename Int>
constexpr bool atMaximum(Int counter) {
    return counter == std::numeric_limits<Int>::max();
}

}  // namespace tiderune
