#pragma once
// Tile Horizontal, Tile Vertical and Cascade: the places of the open child windows in the main
// window's child area. Every window gets at least the size at which it reads; where the area
// cannot give every window that size, the windows keep it and the area scrolls.
#include <vector>

namespace tiderune {

struct TileBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TileBox&) const = default;
};

// What one window accepts: its smallest (readable) and largest outer size (equal for a fixed
// size).
struct TileLimits {
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
};

enum class TileDirection {
    Horizontal,  // rows of windows one above the other
    Vertical,    // columns of windows side by side
};

// The places of the windows, in their order, inside an area of width x height whose top
// left corner is 0,0. A few windows make one row (Horizontal) or one column (Vertical) each;
// more make a grid of about as many rows as columns. When the windows' minimum sizes do not
// fit that grid, another number of rows or columns that fits is taken. When none does, each
// row (column) takes as many windows in their order as fit across the area (down it), at
// least one, and the rows run on below the area's bottom (the columns past its right edge),
// clear of the scroll bar `bar` pixels thick that then appears along that edge.
std::vector<TileBox> tileWindows(int width, int height, const std::vector<TileLimits>& windows,
                                 TileDirection direction, int bar = 0);

// A window to cascade: its size now and what it accepts.
struct CascadeWindow {
    int width = 0;
    int height = 0;
    TileLimits limits;
};

// The places of the windows, in their order, staggered one `step` (a title bar) down and to
// the right of the one before, from the area's top left corner. Each window keeps its size,
// cut only where the area left below or right of its corner would cut it, and never below its
// minimum: a window an earlier Tile made small gets back a size that reads. The stagger goes
// on as long as the next window's minimum height fits below its corner; then it starts again
// at the top, right of every window placed so far, so that no window stands on another's
// corner or covers its title bar. Where the runs at their windows' sizes are wider than the
// area, they share its width, each window cut to its run's share but never below its minimum.
std::vector<TileBox> cascadeWindows(int width, int height, int step, const std::vector<CascadeWindow>& windows);

// Where the windows stand once a window opens in front of them at `opening` (the offline
// status window, at its fixed place): those whose title bar (`titleBar` pixels high) it would
// cover move down together, the highest of them to just below it, so that every title bar
// can still be reached; the others stay.
std::vector<TileBox> clearOfOpeningWindow(const TileBox& opening, const std::vector<TileBox>& windows, int titleBar);

}  // namespace tiderune
