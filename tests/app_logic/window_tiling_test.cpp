// Tile Horizontal, Tile Vertical and Cascade: the exact places of the windows, for layouts of
// one line and of a grid, windows with a minimum or a fixed size, an area too small for them
// all, and the twenty windows of every kind a user opens; and where windows go when the
// offline status window opens in front of them.
#include "app/logic/window_tiling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace tiderune {

// Places in failure messages as places, not bytes.
inline void PrintTo(const TileBox& b, std::ostream* o) { *o << b.x << "," << b.y << " " << b.width << "x" << b.height; }

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
        {"one of fixed size, the even width its own", 1000, 600, {fixed(333, 200), anySize(), anySize()}, V,
         {{0, 0, 333, 200}, {333, 0, 334, 600}, {667, 0, 333, 600}}},
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
        // Rows that do not all fit: as many to a row as fit across, the rows running on below
        // the area, clear of the scroll bar that then takes 15 pixels along the right edge.
        {"rows past the bottom", 900, 300, {atLeast(500, 200), atLeast(500, 200), atLeast(300, 200)}, H,
         {{0, 0, 885, 200}, {0, 200, 500, 200}, {500, 200, 385, 200}}},
        {"columns past the right edge", 600, 500, {atLeast(250, 300), atLeast(250, 300), atLeast(250, 300)}, V,
         {{0, 0, 250, 485}, {250, 0, 250, 485}, {500, 0, 250, 485}}},
        // Too tall for any layout: each keeps its minimum, none covers another, and the area
        // scrolls down to the part below its edge.
        {"no layout fits", 900, 300, {atLeast(0, 400), atLeast(0, 400), atLeast(0, 400)}, H,
         {{0, 0, 295, 400}, {295, 0, 295, 400}, {590, 0, 295, 400}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(show(tileWindows(c.width, c.height, c.windows, c.direction, 15)), show(c.expected));
    }
}

// The readable sizes of the twenty windows a user opens with every kind of the New Window
// dialog on the demo's system (the offline status window first, as the arrangements take
// it), and the sizes they open at, in pixels with their frames.
struct KindOfWindow {
    const char* name;
    TileLimits limits;
    int width, height;
};
const std::vector<KindOfWindow> TwentyWindows{
    {"offline status", fixed(667, 200), 667, 200},
    {"ARPA targets", atLeast(263, 114), 1040, 320},
    {"AIS targets", atLeast(328, 114), 1040, 420},
    {"DBT chart", atLeast(587, 204), 799, 264},
    {"VHW chart", atLeast(587, 204), 814, 276},
    {"ATT chart", atLeast(587, 332), 818, 508},
    {"GSA chart", atLeast(587, 332), 881, 561},
    {"GST chart", atLeast(587, 460), 907, 675},
    {"GSV chart", atLeast(587, 446), 881, 725},
    {"GPS SNR", atLeast(462, 716), 200, 400},
    {"SBAS SNR", atLeast(225, 146), 200, 400},
    {"GLONASS SNR", atLeast(225, 146), 200, 400},
    {"BeiDou SNR", atLeast(225, 146), 200, 400},
    {"GGA chart", atLeast(839, 562), 831, 844},
    {"numerics", atLeast(295, 275), 200, 400},
    {"statistics", atLeast(895, 347), 200, 400},
    {"SNR statistics", atLeast(1452, 235), 200, 400},
    {"scatter", atLeast(171, 238), 335, 418},
    {"sky plot", atLeast(450, 603), 200, 400},
    {"NMEA monitor", atLeast(493, 201), 667, 500},
};

bool overlap(const TileBox& a, const TileBox& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// The smallest rectangle from 0,0 that holds every box.
TileBox extent(const std::vector<TileBox>& boxes) {
    TileBox e;
    for (const TileBox& b : boxes) e = {0, 0, std::max(e.width, b.x + b.width), std::max(e.height, b.y + b.height)};
    return e;
}

TEST(WindowTiling, TwentyWindowsEachReadableNoneCoveringAnother) {
    constexpr int Bar = 15;
    const auto V = TileDirection::Vertical;
    const auto H = TileDirection::Horizontal;
    struct Case {
        const char* name;
        int width, height;  // the child area of a maximised main window
        TileDirection direction;
        TileBox reach;      // how far the windows reach: the area scrolls past its edge
    };
    std::vector<TileLimits> limits;
    for (const KindOfWindow& k : TwentyWindows) limits.push_back(k.limits);
    for (const Case& c : {Case{"1920x1200, one above the other", 1916, 1127, H, {0, 0, 1901, 3002}},
                          Case{"1920x1200, side by side", 1916, 1127, V, {0, 0, 5087, 1112}},
                          // The statistics tables are wider than the area: they run past it.
                          Case{"1280x800, one above the other", 1276, 727, H, {0, 0, 1452, 3659}},
                          Case{"1280x800, side by side", 1276, 727, V, {0, 0, 7831, 716}}}) {
        SCOPED_TRACE(c.name);
        const std::vector<TileBox> boxes = tileWindows(c.width, c.height, limits, c.direction, Bar);
        ASSERT_EQ(boxes.size(), limits.size());
        EXPECT_EQ(boxes[0], (TileBox{0, 0, 667, 200})) << "the status window where it opens";
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            SCOPED_TRACE(TwentyWindows[i].name);
            EXPECT_GE(boxes[i].width, limits[i].minWidth);
            EXPECT_GE(boxes[i].height, limits[i].minHeight);
            for (std::size_t j = i + 1; j < boxes.size(); ++j) EXPECT_FALSE(overlap(boxes[i], boxes[j])) << TwentyWindows[j].name;
        }
        EXPECT_EQ(extent(boxes), c.reach);
    }
}

TEST(WindowCascade, OneTitleBarApartNoneOnAnothersCorner) {
    struct Case {
        const char* name;
        int width, height;
        std::vector<CascadeWindow> windows;
        std::vector<TileBox> expected;
    };
    const CascadeWindow plain{300, 200, atLeast(100, 60)};
    const std::vector<Case> cases{
        {"each keeps its size", 800, 600, {plain, plain, plain}, {{0, 0, 300, 200}, {20, 20, 300, 200}, {40, 40, 300, 200}}},
        // An earlier Tile left it smaller than it reads.
        {"made small, back to a size that reads", 800, 600, {{100, 60, atLeast(250, 150)}}, {{0, 0, 250, 150}}},
        {"cut to the room below and right of its corner", 800, 600, {plain, {900, 700, atLeast(100, 60)}},
         {{0, 0, 300, 200}, {20, 20, 780, 580}}},
        // Too tall to read below its step: at the top again, beside the first.
        {"never below what reads", 800, 600, {plain, {900, 700, atLeast(100, 590)}}, {{0, 0, 300, 200}, {300, 0, 500, 600}}},
        {"a fixed size as it is", 800, 150, {{667, 200, fixed(667, 200)}}, {{0, 0, 667, 200}}},
        // The fourth would stand below the area's bottom: it starts the stagger again at the
        // top, right of every window so far.
        {"again beside the last column", 800, 250,
         {{200, 200, atLeast(100, 200)}, {200, 200, atLeast(100, 200)}, {200, 200, atLeast(100, 200)},
          {200, 200, atLeast(100, 200)}},
         {{0, 0, 200, 200}, {20, 20, 200, 200}, {40, 40, 200, 200}, {240, 0, 200, 200}}},
        // As wide as the area after a Tile: the two runs share its width rather than the
        // second standing past its edge; each keeps its minimum, past the edge if need be.
        {"runs share the width of the area", 800, 250,
         {{800, 200, atLeast(100, 200)}, {800, 200, atLeast(100, 200)}, {800, 200, atLeast(100, 200)},
          {800, 200, atLeast(100, 200)}},
         {{0, 0, 400, 200}, {20, 20, 380, 200}, {40, 40, 360, 200}, {400, 0, 400, 200}}},
        {"runs past the edge at their least", 300, 230,
         {{800, 200, atLeast(200, 200)}, {800, 200, atLeast(100, 200)}, {800, 200, atLeast(300, 200)}},
         {{0, 0, 200, 200}, {20, 20, 180, 200}, {200, 0, 300, 200}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(show(cascadeWindows(c.width, c.height, 20, c.windows)), show(c.expected));
    }
}

TEST(WindowCascade, TwentyWindowsEveryTitleBarInSight) {
    constexpr int Step = 24;
    struct Case {
        const char* name;
        int width, height;  // the child area below the status window
        int runs;           // how often the stagger starts at the top
        bool tiled;         // each window as wide as the area, as Tile Horizontal leaves them
        int reach;          // how far the windows reach across
    };
    // The SNR statistics window reads at 1452 pixels: the last run stands partly past the
    // edge, its title bars' left ends in sight, and a Tile before makes no difference.
    for (const Case& c : {Case{"1920x1200", 1916, 1127 - 200, 2, false, 2329}, Case{"1280x800", 1276, 727 - 200, 5, false, 3821},
                          Case{"1920x1200 after a Tile", 1916, 1127 - 200, 2, true, 2329},
                          Case{"1280x800 after a Tile", 1276, 727 - 200, 5, true, 3821}}) {
        SCOPED_TRACE(c.name);
        std::vector<CascadeWindow> windows;
        for (std::size_t i = 1; i < TwentyWindows.size(); ++i) {
            const KindOfWindow& k = TwentyWindows[i];
            windows.push_back({c.tiled ? c.width : k.width, k.height, k.limits});
        }
        const std::vector<TileBox> boxes = cascadeWindows(c.width, c.height, Step, windows);
        EXPECT_EQ(extent(boxes).width, c.reach);
        ASSERT_EQ(boxes.size(), windows.size());
        int runs = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            SCOPED_TRACE(TwentyWindows[i + 1].name);
            const TileBox& b = boxes[i];
            EXPECT_GE(b.width, windows[i].limits.minWidth);
            EXPECT_GE(b.height, windows[i].limits.minHeight);
            if (b.y == 0) ++runs;
            // Every window after it stands clear of its title bar and of its corner.
            const TileBox bar{b.x, b.y, b.width, Step};
            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                EXPECT_FALSE(overlap(bar, boxes[j])) << TwentyWindows[j + 1].name;
                EXPECT_FALSE(boxes[j].x == b.x && boxes[j].y == b.y) << TwentyWindows[j + 1].name;
            }
            // Within a run each one title bar below the one before.
            if (i > 0 && b.y > 0) {
                EXPECT_EQ(b.y, boxes[i - 1].y + Step);
            }
        }
        EXPECT_EQ(runs, c.runs);
    }
}

TEST(WindowPlacesOnOpening, TitleBarsUnderAnOpeningWindowComeDownTogether) {
    const TileBox status{0, 0, 667, 200};
    struct Case {
        const char* name;
        std::vector<TileBox> windows, expected;
    };
    for (const Case& c : {
             Case{"two under it, the highest just below it",
                  {{7, 7, 200, 400}, {160, 120, 512, 384}},
                  {{7, 200, 200, 400}, {160, 313, 512, 384}}},
             Case{"at its corner", {{0, 0, 300, 300}}, {{0, 200, 300, 300}}},
             Case{"beside it and below it", {{670, 0, 300, 300}, {0, 200, 300, 300}}, {{670, 0, 300, 300}, {0, 200, 300, 300}}},
             Case{"its title bar partly under it", {{600, 180, 300, 300}, {700, 0, 100, 100}},
                  {{600, 200, 300, 300}, {700, 0, 100, 100}}},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(show(clearOfOpeningWindow(status, c.windows, 24)), show(c.expected));
    }
}

}  // namespace
}  // namespace tiderune
