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

// Column number of a pinned pixel position (floor without a library call).
inline long column(double px) {
    const long i = static_cast<long>(px);
    return i - (px < static_cast<double>(i));
}

// Builds column samples. Lines join samples into runs broken at null points; bars keep
// the colour of the largest magnitude per column.
class Reducer {
public:
    Reducer(const Series& s, bool bars, bool inRun, std::vector<ColumnSample>& out)
        : own_(s.colour()), bars_(bars), out_(out), inRun_(inRun) {}

    void point(double px, double y, Colour c) {
        const long col = column(px);
        if (open_ && col == col_) {
            if (y < cur_.min) cur_.min = y;
            if (y > cur_.max) cur_.max = y;
            cur_.last = y;
            if (bars_ && std::fabs(y) > mag_) {
                mag_ = std::fabs(y);
                cur_.colour = c;
            }
            return;
        }
        start(px, col, y, y, y, y, c, std::fabs(y));
    }

    void block(double px, const Series::Block& b) {
        const long col = column(px);
        const Colour c = b.magColour == SeriesColour ? own_ : b.magColour;
        if (open_ && col == col_) {
            if (b.yMin < cur_.min) cur_.min = b.yMin;
            if (b.yMax > cur_.max) cur_.max = b.yMax;
            cur_.last = b.yLast;
            if (bars_ && b.magMax > mag_) {
                mag_ = b.magMax;
                cur_.colour = c;
            }
            return;
        }
        start(px, col, b.yFirst, b.yMin, b.yMax, b.yLast, c, b.magMax);
    }

    bool open() const { return open_; }
    long currentColumn() const { return col_; }

    void nullPoint() {
        if (bars_) return;
        flush();
        inRun_ = false;
    }

    void flush() {
        if (open_) out_.push_back(cur_);
        open_ = false;
    }

private:
    void start(double px, long col, double first, double mn, double mx, double last, Colour c, double mag) {
        flush();
        cur_ = ColumnSample{px, first, mn, mx, last, bars_ ? c : own_, bars_ || !inRun_};
        col_ = col;
        mag_ = mag;
        open_ = true;
        inRun_ = true;
    }

    Colour own_;
    bool bars_;
    std::vector<ColumnSample>& out_;
    ColumnSample cur_{};
    long col_ = 0;
    double mag_ = 0;
    bool open_ = false;
    bool inRun_;
};

// A series without null points whose x ascends (the satellite and most time series): each
// column is one run of points [a, b). Its end is found by search from the width of the
// column before (points at a steady rate fill columns alike), and its figures are taken from
// the summary blocks it holds whole and from the points at its two ends. A few steps per
// column instead of one per block or point: a 32-chart window of days of points is drawn
// within a tick.
void reduceAscending(const Series& s, const AxisMap& xmap, std::pair<int, int> range, bool bars, bool inRun,
                     std::vector<ColumnSample>& out) {
    const auto& xs = s.rawX();
    const auto& ys = s.rawY();
    const auto& cs = s.rawColour();
    const Colour own = s.colour();
    // Bars take the colour of their largest value's point, when points have colours.
    const bool coloured = bars && s.colouredCount() > 0;
    const int end = range.second;
    auto columnOf = [&](int k) { return column(pinned(xmap.toPixel(xs[static_cast<std::size_t>(k)]))); };
    int width = 1;
    for (int a = range.first; a < end;) {
        const double px = pinned(xmap.toPixel(xs[static_cast<std::size_t>(a)]));
        const long col = column(px);
        // The column's points are those from a up to b: the columns of the points never go
        // back (x ascends), so a search finds b, starting from a guess.
        int lo = a, hi = end;  // col at lo; not col at hi (or the end)
        const int guess = a + width;
        if (guess < end) {
            if (columnOf(guess) != col) {
                hi = guess;
                if (guess - 1 > a && columnOf(guess - 1) != col) hi = guess - 1;
                else lo = guess - 1;
            } else {
                lo = guess;
                for (int step = 1; lo + step < end; step *= 2) {
                    if (columnOf(lo + step) != col) {
                        hi = lo + step;
                        break;
                    }
                    lo += step;
                }
            }
        }
        while (hi - lo > 1) {
            const int mid = lo + (hi - lo) / 2;
            if (columnOf(mid) == col) lo = mid;
            else hi = mid;
        }
        const int b = hi;

        double first = ys[static_cast<std::size_t>(a)];
        double mn = first, mx = first, mag = std::fabs(first);
        Colour colour = own;
        if (coloured && cs[static_cast<std::size_t>(a)] != SeriesColour) colour = cs[static_cast<std::size_t>(a)];
        auto point = [&](int k) {
            const double y = ys[static_cast<std::size_t>(k)];
            if (y < mn) mn = y;
            if (y > mx) mx = y;
            if (coloured && std::fabs(y) > mag) {
                mag = std::fabs(y);
                const Colour c = cs[static_cast<std::size_t>(k)];
                colour = c == SeriesColour ? own : c;
            }
        };
        // From the first block boundary on, whole blocks; a block starting at a takes a in
        // again, which changes none of the figures.
        int k = a + 1;
        const int next = s.nextBlockStart(a);
        if (next - a == (1 << Series::LevelShift[0])) k = a;
        else
            for (const int stop = std::min(b, next); k < stop; ++k) point(k);
        while (k < b) {
            const Series::Extremes* taken = nullptr;
            int level = Series::Levels - 1;
            for (; level >= 0; --level)
                if (k + (1 << Series::LevelShift[level]) <= b && (taken = s.extremesAt(level, k))) break;
            if (!taken) break;
            // The largest magnitude of a block without null points is that of its extremes;
            // only a larger one than found so far needs the colour of its point.
            if (coloured && std::max(-taken->yMin, taken->yMax) > mag) {
                const Series::Block* whole = s.wholeBlockAt(level, k);
                if (!whole) break;  // the points that are left, one by one
                mag = whole->magMax;
                colour = whole->magColour == SeriesColour ? own : whole->magColour;
            }
            if (taken->yMin < mn) mn = taken->yMin;
            if (taken->yMax > mx) mx = taken->yMax;
            k += 1 << Series::LevelShift[level];
        }
        for (; k < b; ++k) point(k);
        out.push_back(ColumnSample{px, first, mn, mx, ys[static_cast<std::size_t>(b - 1)], colour, bars || !inRun});
        inRun = true;
        width = b - a;
        a = b;
    }
}

void reduce(const Series& s, const AxisMap& xmap, std::pair<int, int> range, bool bars, bool inRun,
            std::vector<ColumnSample>& out) {
    if (reducedByColumns(s)) {
        reduceAscending(s, xmap, range, bars, inRun, out);
        return;
    }
    const auto& xs = s.rawX();
    const auto& ys = s.rawY();
    const auto& cs = s.rawColour();
    const auto& nulls = s.rawNull();
    const Colour own = s.colour();
    const bool anyNull = s.nullCount() > 0;
    // Whole blocks only help where x ascends: then a block's x span bounds its points.
    const bool blocks = s.xAscending();
    Reducer r(s, bars, inRun, out);
    const int end = range.second;
    int i = range.first;
    int lastWalk = i;
    while (i < end) {
        if (blocks) {
            const Series::Block* taken = nullptr;
            double px = 0;
            for (int level = Series::Levels - 1; level >= 0 && !taken; --level) {
                if (i + (1 << Series::LevelShift[level]) > end) continue;
                const Series::Block* b = s.wholeBlockAt(level, i);
                if (!b || b->hasNull) continue;
                // x ascends, so a block whose last point lies in the column being built,
                // which already holds the point before the block, lies in it whole.
                const long lastCol = column(pinned(xmap.toPixel(b->xLast)));
                if (r.open() && lastCol == r.currentColumn()) {
                    taken = b;
                    px = lastCol;
                    break;
                }
                px = pinned(xmap.toPixel(b->xFirst));
                if (column(px) == lastCol) taken = b;
            }
            if (taken) {
                r.block(px, *taken);
                i += taken->count;
                continue;
            }
        }
        // Point by point up to where the next block could start.
        const int stop = blocks ? std::min(end, s.nextBlockStart(i)) : end;
        if (blocks) {
            // These walks happen at column edges, a column's worth of points apart, which
            // is too far for the hardware to guess: fetch the next edge's points now.
            const int stride = i - lastWalk;
            lastWalk = i;
            if (stride > 0 && i + stride < end) {
                const int ahead = std::min(end - 1, i + stride);
                const int ahead2 = std::min(end - 1, ahead + 8);
                for (int a : {ahead, ahead2}) {
                    const auto k = static_cast<std::size_t>(a);
                    __builtin_prefetch(&xs[k]);
                    __builtin_prefetch(&ys[k]);
                    if (bars) __builtin_prefetch(&cs[k]);
                }
            }
        }
        for (; i < stop; ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (anyNull && nulls[k]) {
                r.nullPoint();
                continue;
            }
            // A line keeps the series' colour, so its point colours are not read.
            Colour c = own;
            if (bars && cs[k] != SeriesColour) c = cs[k];
            r.point(pinned(xmap.toPixel(xs[k])), ys[k], c);
        }
    }
    r.flush();
}

}  // namespace

bool reducedByColumns(const Series& s) { return s.nullCount() == 0 && s.xAscending(); }

void reduceLine(const Series& s, const AxisMap& xmap, std::pair<int, int> range, std::vector<ColumnSample>& out) {
    reduce(s, xmap, range, false, false, out);
}

void reduceBars(const Series& s, const AxisMap& xmap, std::pair<int, int> range, std::vector<ColumnSample>& out) {
    reduce(s, xmap, range, true, false, out);
}

std::vector<ColumnPiece> columnPieces(const Series& s, const AxisMap& xmap, std::pair<int, int> range, int parts) {
    const auto& xs = s.rawX();
    const auto& nulls = s.rawNull();
    const long n = range.second - range.first;
    parts = static_cast<int>(std::clamp<long>(parts, 1, std::max(1L, n)));
    auto col = [&](int i) { return column(pinned(xmap.toPixel(xs[static_cast<std::size_t>(i)]))); };
    std::vector<ColumnPiece> pieces;
    int begin = range.first;
    bool joined = false;
    for (int k = 1; k < parts; ++k) {
        // A piece starts where the column changes between two drawn points: there the whole
        // reduction starts a new sample too, and its line runs on from the point before.
        const int limit = static_cast<int>(range.first + n * (k + 1) / parts);
        int cut = std::max(begin + 1, static_cast<int>(range.first + n * k / parts));
        for (long before = col(cut - 1); cut < limit; ++cut) {
            const long here = col(cut);
            if (here != before && !nulls[static_cast<std::size_t>(cut)] && !nulls[static_cast<std::size_t>(cut - 1)]) break;
            before = here;
        }
        if (cut >= limit) continue;
        pieces.push_back({begin, cut, joined});
        begin = cut;
        joined = true;
    }
    pieces.push_back({begin, range.second, joined});
    return pieces;
}

void reducePiece(const Series& s, const AxisMap& xmap, const ColumnPiece& piece, bool bars, std::vector<ColumnSample>& out) {
    reduce(s, xmap, {piece.begin, piece.end}, bars, piece.joined, out);
}

}  // namespace tiderune
