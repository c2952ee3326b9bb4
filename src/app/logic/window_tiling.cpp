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

// How many windows each of `lines` lines holds: the later lines one more where they do not
// divide evenly.
std::vector<int> lineCounts(int windows, int lines) {
    std::vector<int> counts(static_cast<std::size_t>(lines), windows / lines);
    for (int i = 0; i < windows % lines; ++i) ++counts[static_cast<std::size_t>(lines - 1 - i)];
    return counts;
}

// The layout with `lines` lines (columns for Vertical, rows for Horizontal), worked out as
// columns: `across` is the area's extent across the lines, `along` along each of them.
std::optional<std::vector<TileBox>> layOut(int across, int along, const std::vector<TileLimits>& windows,
                                           int lines, bool respectMinimum) {
    const std::vector<int> counts = lineCounts(static_cast<int>(windows.size()), lines);
    std::vector<Range> lineRanges;
    std::size_t next = 0;
    for (int count : counts) {
        Range r{0, 0};
        for (int i = 0; i < count; ++i) {
            const TileLimits& w = windows[next++];
            r.lo = std::max(r.lo, respectMinimum ? w.minWidth : 0);
            r.hi = std::max(r.hi, w.maxWidth);
        }
        lineRanges.push_back(r);
    }
    const auto widths = share(across, lineRanges);
    if (!widths) return std::nullopt;
    std::vector<TileBox> boxes;
    next = 0;
    int x = 0;
    for (std::size_t line = 0; line < counts.size(); ++line) {
        std::vector<Range> ranges;
        for (int i = 0; i < counts[line]; ++i) {
            const TileLimits& w = windows[next + static_cast<std::size_t>(i)];
            ranges.push_back({respectMinimum ? w.minHeight : 0, w.maxHeight});
        }
        const auto heights = share(along, ranges);
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
                                 TileDirection direction) {
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
    std::optional<std::vector<TileBox>> boxes;
    for (int lines : tries)
        if ((boxes = layOut(across, along, turned, lines, true))) break;
    if (!boxes) boxes = layOut(across, along, turned, preferred, false);
    if (!columns)
        for (TileBox& b : *boxes) {
            std::swap(b.x, b.y);
            std::swap(b.width, b.height);
        }
    return *boxes;
}

}  // namespace tiderune
