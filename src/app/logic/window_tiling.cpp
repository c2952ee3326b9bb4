#include "app/logic/window_tiling.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tiderune {

namespace {

struct Range {
    int lo = 0;
    int hi = 0;
};

// Shares `total` among parts that each take between lo and hi: as evenly as their ranges
// allow, the bigger parts where one part cannot use its even share. Nothing when even the
// smallest sizes do not fit.
std::optional<std::vector<int>> share(int total, const std::vector<Range>& parts) {
    long long least = 0;
    for (const Range& r : parts) least += r.lo;
    if (least > total) return std::nullopt;
    auto taken = [&](int level) {
        long long sum = 0;
        for (const Range& r : parts) sum += std::clamp(level, r.lo, std::max(r.lo, r.hi));
        return sum;
    };
    // The highest common level that still fits; the pixels left over go one each to the
    // first parts that could take more.
    int low = 0, high = total;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (taken(mid) <= total) low = mid;
        else high = mid - 1;
    }
    std::vector<int> sizes;
    long long left = total - taken(low);
    for (const Range& r : parts) {
        int size = std::clamp(low, r.lo, std::max(r.lo, r.hi));
        if (left > 0 && size == low && size < r.hi) {
            ++size;
            --left;
        }
        sizes.push_back(size);
    }
    return sizes;
}

// `total` shared as above, or, where the parts' smallest sizes do not fit, each part at its
// smallest size (running on past the total) when `overflow` allows it.
std::optional<std::vector<int>> shareOrOverflow(int total, const std::vector<Range>& parts, bool overflow) {
    if (auto sizes = share(total, parts)) return sizes;
    if (!overflow) return std::nullopt;
    std::vector<int> least;
    for (const Range& r : parts) least.push_back(r.lo);
    return least;
}

// How many windows each of `lines` lines holds: the later lines one more where they do not
// divide evenly.
std::vector<int> lineCounts(int windows, int lines) {
    std::vector<int> counts(static_cast<std::size_t>(lines), windows / lines);
    for (int i = 0; i < windows % lines; ++i) ++counts[static_cast<std::size_t>(lines - 1 - i)];
    return counts;
}

// Lines that each take as many windows in their order as fit along them, at least one.
std::vector<int> filledLines(const std::vector<TileLimits>& windows, int along) {
    std::vector<int> counts;
    long long used = 0;
    for (const TileLimits& w : windows) {
        if (counts.empty() || used + w.minHeight > along) {
            counts.push_back(0);
            used = 0;
        }
        ++counts.back();
        used += w.minHeight;
    }
    return counts;
}

// The layout of the windows in lines (columns for Vertical, rows for Horizontal) holding
// `counts` windows each, worked out as columns: `across` is the area's extent across the
// lines, `along` along each of them. Nothing when the windows' minimum sizes do not fit,
// unless `overflow` lets them run on past the area.
std::optional<std::vector<TileBox>> layOut(int across, int along, const std::vector<TileLimits>& windows,
                                           const std::vector<int>& counts, bool overflow) {
    std::vector<Range> lineRanges;
    std::size_t next = 0;
    for (int count : counts) {
        Range r{0, 0};
        for (int i = 0; i < count; ++i) {
            const TileLimits& w = windows[next++];
            r.lo = std::max(r.lo, w.minWidth);
            r.hi = std::max(r.hi, w.maxWidth);
        }
        lineRanges.push_back(r);
    }
    const auto widths = shareOrOverflow(across, lineRanges, overflow);
    if (!widths) return std::nullopt;
    std::vector<TileBox> boxes;
    next = 0;
    int x = 0;
    for (std::size_t line = 0; line < counts.size(); ++line) {
        std::vector<Range> ranges;
        for (int i = 0; i < counts[line]; ++i) {
            const TileLimits& w = windows[next + static_cast<std::size_t>(i)];
            ranges.push_back({w.minHeight, w.maxHeight});
        }
        const auto heights = shareOrOverflow(along, ranges, overflow);
        if (!heights) return std::nullopt;
        int y = 0;
        for (int i = 0; i < counts[line]; ++i) {
            const TileLimits& w = windows[next++];
            const int width = std::clamp((*widths)[line], w.minWidth, std::max(w.minWidth, w.maxWidth));
            const int height = std::clamp((*heights)[static_cast<std::size_t>(i)], w.minHeight,
                                          std::max(w.minHeight, w.maxHeight));
            boxes.push_back({x, y, width, height});
            y += (*heights)[static_cast<std::size_t>(i)];
        }
        x += (*widths)[line];
    }
    return boxes;
}

}  // namespace

std::vector<TileBox> tileWindows(int width, int height, const std::vector<TileLimits>& windows,
                                 TileDirection direction, int bar) {
    const int n = static_cast<int>(windows.size());
    if (n == 0) return {};
    const bool columns = direction == TileDirection::Vertical;
    // Worked out as columns; rows are the same turned on their side.
    std::vector<TileLimits> turned = windows;
    if (!columns)
        for (TileLimits& w : turned) {
            std::swap(w.minWidth, w.minHeight);
            std::swap(w.maxWidth, w.maxHeight);
        }
    const int across = columns ? width : height;
    const int along = columns ? height : width;
    // Up to three windows in a row or a column; more in a grid of about as many lines as
    // windows to a line.
    const int perLine = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n))));
    const int preferred = n / perLine;
    std::vector<int> tries{preferred};
    for (int lines = preferred - 1; lines >= 1; --lines) tries.push_back(lines);
    for (int lines = preferred + 1; lines <= n; ++lines) tries.push_back(lines);
    std::vector<TileBox> boxes;
    bool laid = false;
    for (int lines : tries) {
        if (auto fit = layOut(across, along, turned, lineCounts(n, lines), false)) {
            boxes = std::move(*fit);
            laid = true;
            break;
        }
    }
    if (!laid) {
        // The lines run on past the area, which scrolls across them: its bar takes room along.
        boxes = layOut(across, along, turned, filledLines(turned, along), true).value();
        int reach = 0;
        for (const TileBox& b : boxes) reach = std::max(reach, b.x + b.width);
        if (reach > across)
            boxes = layOut(across, along - bar, turned, filledLines(turned, along - bar), true).value();
    }
    if (!columns)
        for (TileBox& b : boxes) {
            std::swap(b.x, b.y);
            std::swap(b.width, b.height);
        }
    return boxes;
}

std::vector<TileBox> cascadeWindows(int width, int height, int step, const std::vector<CascadeWindow>& windows) {
    auto size = [](int now, int room, int least, int most) {
        return std::min(std::max(least, std::min(now, room)), std::max(least, most));
    };
    // The runs: each window one step below and right of the one before, as long as the next
    // one's minimum height fits below its corner.
    std::vector<std::size_t> firsts;
    for (std::size_t i = 0, k = 0; i < windows.size(); ++i, ++k) {
        if (k > 0 && static_cast<int>(k) * step + windows[i].limits.minHeight > height) k = 0;
        if (k == 0) firsts.push_back(i);
    }
    firsts.push_back(windows.size());
    // Each run stands beside the ones before it, so that none covers another's title bars. A
    // run takes at least what its windows need to read and at most what they have now; where
    // the area is too narrow for every run at its windows' sizes (windows as wide as the area
    // after a Tile), the runs share its width, and only where even their least does not fit
    // do they run on past its edge.
    std::vector<Range> runs;
    for (std::size_t r = 0; r + 1 < firsts.size(); ++r) {
        Range run;
        for (std::size_t i = firsts[r]; i < firsts[r + 1]; ++i) {
            const int corner = static_cast<int>(i - firsts[r]) * step;
            const TileLimits& l = windows[i].limits;
            run.lo = std::max(run.lo, corner + l.minWidth);
            run.hi = std::max(run.hi, corner + size(windows[i].width, width - corner, l.minWidth, l.maxWidth));
        }
        runs.push_back(run);
    }
    const std::vector<int> shares = *shareOrOverflow(width, runs, true);
    std::vector<TileBox> boxes;
    int runLeft = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        for (std::size_t i = firsts[r]; i < firsts[r + 1]; ++i) {
            const int k = static_cast<int>(i - firsts[r]);
            const int x = runLeft + k * step, y = k * step;
            const TileLimits& l = windows[i].limits;
            boxes.push_back({x, y, size(windows[i].width, runLeft + shares[r] - x, l.minWidth, l.maxWidth),
                             size(windows[i].height, height - y, l.minHeight, l.maxHeight)});
        }
        runLeft += shares[r];
    }
    return boxes;
}

std::vector<TileBox> clearOfOpeningWindow(const TileBox& opening, const std::vector<TileBox>& windows, int titleBar) {
    auto covered = [&](const TileBox& w) {
        return w.x < opening.x + opening.width && opening.x < w.x + w.width && w.y < opening.y + opening.height &&
               opening.y < w.y + titleBar;
    };
    int highest = opening.y + opening.height;
    for (const TileBox& w : windows)
        if (covered(w)) highest = std::min(highest, w.y);
    const int down = opening.y + opening.height - highest;
    std::vector<TileBox> moved = windows;
    for (TileBox& w : moved)
        if (covered(w)) w.y += down;
    return moved;
}

}  // namespace tiderune
