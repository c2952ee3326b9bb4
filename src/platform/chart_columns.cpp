#include "platform/chart_columns.h"

#include <algorithm>
#include <cmath>

namespace tiderune {

std::pair<int, int> visiblePoints(const Series& s, double xMin, double xMax) {
    const auto& xs = s.rawX();
    const int n = static_cast<int>(xs.size());
    if (n == 0 || !s.xAscending()) return {0, n};
    // First index with x >= xMin, and first index with x > xMax.
    int lo = 0, hi = n;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (xs[static_cast<std::size_t>(mid)] < xMin) lo = mid + 1;
        else hi = mid;
    }
    const int begin = std::max(0, lo - 1);
    lo = begin;
    hi = n;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (xs[static_cast<std::size_t>(mid)] <= xMax) lo = mid + 1;
        else hi = mid;
    }
    const int end = std::min(n, lo + 1);
    return {begin, end};
}

namespace {

// Pixel positions far off the plot are pinned so that column arithmetic stays finite.
inline double pinned(double px) { return std::clamp(px, -1.0e7, 1.0e7); }

}  // namespace

void reduceLine(const Series& s, const AxisMap& xmap, std::pair<int, int> range, std::vector<ColumnSample>& out) {
    const auto& xs = s.rawX();
    const auto& ys = s.rawY();
    const auto& nulls = s.rawNull();
    const bool anyNull = s.nullCount() > 0;
    const Colour colour = s.colour();
    bool open = false;   // a sample is being built
    bool inRun = false;  // the next point joins the previous one
    double col = 0;
    ColumnSample cur{};
    for (int i = range.first; i < range.second; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (anyNull && nulls[k]) {
            if (open) out.push_back(cur);
            open = false;
            inRun = false;
            continue;
        }
        const double px = pinned(xmap.toPixel(xs[k]));
        const double c = std::floor(px);
        const double y = ys[k];
        if (open && c == col) {
            if (y < cur.min) cur.min = y;
            if (y > cur.max) cur.max = y;
            cur.last = y;
            continue;
        }
        if (open) out.push_back(cur);
        cur = ColumnSample{px, y, y, y, y, colour, !inRun};
        col = c;
        open = true;
        inRun = true;
    }
    if (open) out.push_back(cur);
}

void reduceBars(const Series& s, const AxisMap& xmap, std::pair<int, int> range, std::vector<ColumnSample>& out) {
    const auto& xs = s.rawX();
    const auto& ys = s.rawY();
    const auto& cs = s.rawColour();
    const auto& nulls = s.rawNull();
    const Colour own = s.colour();
    bool open = false;
    double col = 0;
    double bigMag = 0;
    ColumnSample cur{};
    for (int i = range.first; i < range.second; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (nulls[k]) continue;
        const double px = pinned(xmap.toPixel(xs[k]));
        const double c = std::floor(px);
        const double y = ys[k];
        const Colour pc = cs[k] == SeriesColour ? own : cs[k];
        if (open && c == col) {
            if (y < cur.min) cur.min = y;
            if (y > cur.max) cur.max = y;
            cur.last = y;
            if (std::fabs(y) > bigMag) {
                bigMag = std::fabs(y);
                cur.colour = pc;
            }
            continue;
        }
        if (open) out.push_back(cur);
        cur = ColumnSample{px, y, y, y, y, pc, true};
        bigMag = std::fabs(y);
        col = c;
        open = true;
    }
    if (open) out.push_back(cur);
}

}  // namespace tiderune
