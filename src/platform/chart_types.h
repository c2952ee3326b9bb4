#pragma once
// Small shared vocabulary of the chart control: colours, pens, axis codes and the errors a
// chart call can raise. No Qt here: the time-series engine drives charts headless.
#include <cstdint>
#include <string>

#include "core/errors.h"

namespace tiderune {

// 24-bit colour as the program stores it: 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;

// Passed as a point colour: "draw this point in its series' colour".
inline constexpr Colour SeriesColour = 536870912;  // 0x20000000

constexpr Colour rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

namespace colours {
inline constexpr Colour Red = rgb(255, 0, 0);
inline constexpr Colour Green = rgb(0, 128, 0);
inline constexpr Colour Lime = rgb(0, 255, 0);
inline constexpr Colour Blue = rgb(0, 0, 255);
inline constexpr Colour Navy = rgb(0, 0, 128);
inline constexpr Colour Yellow = rgb(255, 255, 0);
inline constexpr Colour Fuchsia = rgb(255, 0, 255);
inline constexpr Colour Silver = rgb(192, 192, 192);
inline constexpr Colour Black = rgb(0, 0, 0);
inline constexpr Colour White = rgb(255, 255, 255);
}  // namespace colours

enum class PenStyle { Solid, Dash, Dot };

struct Pen {
    bool visible = true;
    Colour colour = colours::Black;
    int width = 1;
    PenStyle style = PenStyle::Solid;
};

// How an axis-click names the axis that was hit.
enum class AxisCode { Left = 0, Top = 1, Right = 2, Bottom = 3 };

// Mouse-button codes of the axis-click event. The windows treat Right (2) as the
// axis-editing button.
namespace mouse {
inline constexpr int Left = 1;
inline constexpr int Right = 2;
inline constexpr int Middle = 4;
}  // namespace mouse
// Shift-state bits of the axis-click event.
namespace shift {
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
}  // namespace shift

// Errors a chart call raises; callers that must go on (copying a time range to every
// chart of a window) catch RuntimeError and skip the step.
namespace chart_err {
inline constexpr int InvalidPropertyValue = 380;
}

[[noreturn]] void throwChartIndex(const char* what, long long index);
[[noreturn]] void throwChartValue(const std::string& description);

}  // namespace tiderune
