// Where the main window opens on screens of every size: its stored place where that lies whole
// on the screen under it, else the default, cut to a screen too small for it.
#include "app/logic/main_placement.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace tiderune {

// Rectangles in failure messages as places, not bytes.
inline void PrintTo(const ScreenRect& r, std::ostream* o) { *o << r.x << "," << r.y << " " << r.width << "x" << r.height; }

namespace {

TEST(MainPlacement, StoredPlaceDefaultOrTheDefaultCutToASmallScreen) {
    constexpr int TitleBar = 30;
    const TwipsPlacement byDefault{1000, 1000, 13000, 13000};  // 67,67 and 867 x 867 inside
    struct Case {
        const char* name;
        std::vector<ScreenRect> screens;  // work areas; the first is the primary
        TwipsPlacement stored;
        ScreenRect expected;
    };
    const ScreenRect desktop{0, 0, 1920, 1160};
    const ScreenRect laptop{100, 0, 1266, 728};  // its dock along the left edge
    const std::vector<Case> cases{
        {"stored place on the desktop", {desktop}, {1500, 1200, 15000, 9000}, {100, 80, 1000, 630}},
        {"below the desktop's edge", {desktop}, {1500, 9000, 15000, 9000}, {67, 67, 867, 897}},
        {"on the second screen", {desktop, {1920, 0, 1280, 1024}}, {30000, 1500, 15000, 9000}, {2000, 100, 1000, 630}},
        {"of no use", {desktop}, {1500, 1500, 1e300, 9000}, {67, 67, 867, 897}},
        // 897 pixels high with its title bar: as much as the laptop's 728 pixels hold, right
        // of its dock.
        {"the default on a laptop", {laptop}, byDefault, {100, 0, 867, 728}},
        {"too tall for the laptop", {laptop}, {1500, 1500, 15000, 12000}, {100, 0, 867, 728}},
        {"the default on a small screen", {{0, 24, 800, 576}}, byDefault, {0, 24, 800, 576}},
        // Its bottom edge at 1190, within a work area that ends at 1200 below a top panel.
        {"near the bottom under a top panel", {{0, 32, 1920, 1168}}, {1500, 8400, 15000, 9000}, {100, 560, 1000, 630}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workAreaAt = [&](const ScreenRect& f) {
            const int cx = f.x + f.width / 2, cy = f.y + f.height / 2;
            for (const ScreenRect& s : c.screens)
                if (cx >= s.x && cx < s.x + s.width && cy >= s.y && cy < s.y + s.height) return s;
            return c.screens.front();
        };
        EXPECT_EQ(mainWindowFrame(c.stored, byDefault, TitleBar, workAreaAt), c.expected);
    }
}

}  // namespace
}  // namespace tiderune
