#pragma once
// Sizes and positions are kept in twips, as the stored placements and the window layouts
// hold them: 15 to a pixel.
#include <cmath>

namespace tiderune {

inline constexpr int TwipsPerPixel = 15;

inline int fromTwips(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel)); }
// The pixels that hold a size in twips whole.
inline int fromTwipsUp(double twips) { return static_cast<int>(std::ceil(twips / TwipsPerPixel)); }
inline double toTwips(int pixels) { return static_cast<double>(pixels) * TwipsPerPixel; }

// A window's placement in twips: left and top inside the work area, outer width and height.
struct TwipsPlacement {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// The smallest size at which a child window is still of use: its title bar with its buttons
// and a few lines of what it shows. A minimised window's title-bar strip is smaller.
inline constexpr double UsableWidthTwips = 1500;
inline constexpr double UsableHeightTwips = 900;

// Whether a stored placement can be given to a window: every value a number of sensible size
// and the window at least of usable size. A settings file edited by hand, or written while a
// window was a title-bar strip, may hold anything.
inline bool placementUsable(const TwipsPlacement& p) {
    constexpr double Far = 1e7;  // well beyond any screen, well within a pixel int
    for (double v : {p.left, p.top, p.width, p.height})
        if (!std::isfinite(v) || std::fabs(v) > Far) return false;
    return p.width >= UsableWidthTwips && p.height >= UsableHeightTwips;
}

}  // namespace tiderune
