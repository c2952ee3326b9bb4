#pragma once
// Tile Horizontal and Tile Vertical: every open child window gets a place of its own in the
// main window's child area, none covering another. A window of fixed size keeps its size, one
// with a minimum size gets at least that, and the others share what is left.
#include <vector>

namespace tiderune {

struct TileBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TileBox&) const = default;
};

// What one window accepts: its smallest and largest outer size (equal for a fixed size).
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
// fit that grid, another number of rows or columns that fits is taken; when none does, the
// windows share the area as if they had no minimum and may overlap.
std::vector<TileBox> tileWindows(int width, int height, const std::vector<TileLimits>& windows,
                                 TileDirection direction);

}  // namespace tiderune
