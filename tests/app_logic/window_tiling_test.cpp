// Tile Horizontal and Tile Vertical: the exact places of the windows, for layouts of one line
// and of a grid, windows with a minimum or a fixed size, and an area too small for them all.
#include "app/logic/window_tiling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tiderune {
namespace {

constexpr int Any = 16777215;  // a window's largest size when it has none of its own

TileLimits anySize() { return {0, 0, Any, Any}; }
TileLimits atLeast(int w, int h) { return {w, h, Any, Any}; }
TileLimits fixed(int w, int h) { return {w, h, w, h}; }

std::string show(const std::vector<TileBox>& boxes) {
    std::string s;
    for (const TileBox& b : boxes)
        s += "{" + std::to_string(b.x) + "," + std::to_string(b.y) + "," + std::to_string(b.width) + "," +
             std::to_string(b.height) + "} ";
    return s;
}

TEST(WindowTiling, PlacesEveryWindowExactly) {
    const auto V = TileDirection::Vertical;
    const auto H = TileDirection::Horizontal;
    struct Case {
        const char* name;
        int width, height;
        std::vector<TileLimits> windows;
        TileDirection direction;
        std::vector<TileBox> expected;
    };
    const std::vector<Case> cases{
        {"none", 900, 600, {}, V, {}},
        {"three side by side", 900, 600, {anySize(), anySize(), anySize()}, V,
         {{0, 0, 300, 600}, {300, 0, 300, 600}, {600, 0, 300, 600}}},
        {"three one above the other", 900, 600, {anySize(), anySize(), anySize()}, H,
         {{0, 0, 900, 200}, {0, 200, 900, 200}, {0, 400, 900, 200}}},
        // The pixel left over goes to the first window.
        {"an uneven width", 1000, 600, {anySize(), anySize(), anySize()}, V,
         {{0, 0, 334, 600}, {334, 0, 333, 600}, {667, 0, 333, 600}}},
        // Five make two columns; the later one holds the odd window.
        {"five in two columns", 1000, 600, {anySize(), anySize(), anySize(), anySize(), anySize()}, V,
         {{0, 0, 500, 300}, {0, 300, 500, 300}, {500, 0, 500, 200}, {500, 200, 500, 200}, {500, 400, 500, 200}}},
        {"five in two rows", 1000, 600, {anySize(), anySize(), anySize(), anySize(), anySize()}, H,
         {{0, 0, 500, 300}, {500, 0, 500, 300}, {0, 300, 334, 300}, {334, 300, 333, 300}, {667, 300, 333, 300}}},
        // A wide window takes its minimum; the others share the rest.
        {"one with a minimum width", 900, 600, {anySize(), atLeast(500, 100), anySize()}, V,
         {{0, 0, 200, 600}, {200, 0, 500, 600}, {700, 0, 200, 600}}},
        // A fixed window keeps its size; the others share what it leaves.
        {"one of fixed size", 1000, 600, {fixed(300, 200), anySize(), anySize()}, V,
         {{0, 0, 300, 200}, {300, 0, 350, 600}, {650, 0, 350, 600}}},
        // The pixel left over goes to the first window that can use it, not to one at its
        // largest size: no gap beside the fixed window.
        {"one of fixed size, an uneven width", 1001, 600, {fixed(300, 200), anySize(), anySize()}, V,
         {{0, 0, 300, 200}, {300, 0, 351, 600}, {651, 0, 350, 600}}},
        // Too tall for two to a column: one window per column.
        {"one per column", 1266, 728, {atLeast(300, 400), atLeast(300, 400), atLeast(300, 400), atLeast(300, 400)}, V,
         {{0, 0, 317, 728}, {317, 0, 317, 728}, {634, 0, 316, 728}, {950, 0, 316, 728}}},
        {"one per column, the first two lower", 1266, 728,
         {atLeast(300, 300), atLeast(300, 300), atLeast(300, 400), atLeast(300, 400)}, V,
         {{0, 0, 317, 728}, {317, 0, 317, 728}, {634, 0, 316, 728}, {950, 0, 316, 728}}},
        // Too wide for one row of three: two columns.
        {"too wide for three columns", 900, 600, {atLeast(400, 0), atLeast(400, 0), atLeast(400, 0)}, V,
         {{0, 0, 450, 600}, {450, 0, 450, 300}, {450, 300, 450, 300}}},
        // Too wide even for two: one column.
        {"too wide for two columns", 500, 600, {atLeast(400, 0), atLeast(400, 0), atLeast(400, 0)}, V,
         {{0, 0, 500, 200}, {0, 200, 500, 200}, {0, 400, 500, 200}}},
        // Too tall for any layout: shared as if without minimum, each still at its minimum.
        {"no layout fits", 900, 300, {atLeast(0, 400), atLeast(0, 400), atLeast(0, 400)}, H,
         {{0, 0, 900, 400}, {0, 100, 900, 400}, {0, 200, 900, 400}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(show(tileWindows(c.width, c.height, c.windows, c.direction)), show(c.expected));
    }
}

}  // namespace
}  // namespace tiderune
