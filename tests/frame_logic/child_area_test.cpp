// The child area of a main window still hidden: the start-up windows are placed against it,
// and one placed below its bottom edge is out of sight once the main window shows.
#include "frame/logic/child_area.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tiderune {

inline void PrintTo(const AreaSize& s, std::ostream* o) { *o << s.width << "x" << s.height; }

namespace {

TEST(ChildArea, GrowsWithTheFrameLessTheTitleBarItGains) {
    constexpr int TitleBar = 30;
    struct Case {
        const char* name;
        AreaSize contents, frameNow, frameShown, expected;
    };
    for (const Case& c : {
             Case{"shown at its normal size", {867, 780}, {867, 867}, {867, 867}, {867, 780}},
             // 1053 wider and 333 higher once maximised on a 1920x1200 work area, whose
             // top 30 pixels its title bar takes.
             Case{"maximised", {867, 780}, {867, 867}, {1920, 1200}, {1920, 1083}},
             Case{"maximised, no wider", {1920, 780}, {1920, 867}, {1920, 1200}, {1920, 1083}},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(childAreaOnceShown(c.contents, c.frameNow, c.frameShown, TitleBar), c.expected);
    }
}

}  // namespace
}  // namespace tiderune
