#pragma once
// Sizes and positions are kept in twips, as the stored placements and the window layouts
// hold them: 15 to a pixel.
#include <cmath>

namespace tiderune {

inline constexpr int TwipsPerPixel = 15;

inline int fromTwips(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel)); }
inline double toTwips(int pixels) { return static_cast<double>(pixels) * TwipsPerPixel; }

}  // namespace tiderune
