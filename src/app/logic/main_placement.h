#pragma once
// Where the main window opens: its stored placement, or the default where that is of no use
// or would not lie whole on the screen.
#include <functional>

#include "platform/twips.h"

namespace tiderune {

// A rectangle on the desktop, in pixels.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// The main window's frame from a placement in twips whose left and top place the frame and
// whose width and height are the window's inside, below a title bar `titleBar` pixels high.
// `workAreaAt` gives the work area (the screen less its panels) of the screen under a frame,
// empty when none is known. The stored placement gives way to the default when it is of no
// use or sticks out of its work area; a default larger than its work area (a small screen) is
// cut to it and moved inside it.
ScreenRect mainWindowFrame(const TwipsPlacement& stored, const TwipsPlacement& byDefault, int titleBar,
                           const std::function<ScreenRect(const ScreenRect& frame)>& workAreaAt);

}  // namespace tiderune
