#include "app/logic/main_placement.h"

#include <algorithm>

namespace tiderune {

ScreenRect mainWindowFrame(const TwipsPlacement& stored, const TwipsPlacement& byDefault, int titleBar,
                           const std::function<ScreenRect(const ScreenRect& frame)>& workAreaAt) {
    auto frameOf = [&](const TwipsPlacement& t) {
        return ScreenRect{fromTwips(t.left), fromTwips(t.top), fromTwips(t.width), fromTwips(t.height) + titleBar};
    };
    auto inside = [](const ScreenRect& f, const ScreenRect& area) {
        return area.width <= 0 || area.height <= 0 ||
               (f.x >= area.x && f.y >= area.y && f.x + f.width <= area.x + area.width &&
                f.y + f.height <= area.y + area.height);
    };
    // A placement of no use is not even turned into pixels: it may hold any number.
    const bool usable = placementUsable(stored) && inside(frameOf(stored), workAreaAt(frameOf(stored)));
    ScreenRect frame = frameOf(usable ? stored : byDefault);
    const ScreenRect area = workAreaAt(frame);
    if (!inside(frame, area)) {
        // A screen smaller than the default: as much of it as the screen holds.
        frame.width = std::min(frame.width, area.width);
        frame.height = std::min(frame.height, area.height);
        frame.x = std::clamp(frame.x, area.x, area.x + area.width - frame.width);
        frame.y = std::clamp(frame.y, area.y, area.y + area.height - frame.height);
    }
    return frame;
}

}  // namespace tiderune
