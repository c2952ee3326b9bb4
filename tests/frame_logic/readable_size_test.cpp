// What must show of a window's parts for it to read: a chart's plot with room for its labels,
// the first part of a view that scrolls, a list's first rows and the column naming them.
#include "frame/logic/readable_size.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tiderune {

inline void PrintTo(const Extent& e, std::ostream* o) { *o << e.width << "x" << e.height; }

namespace {

TEST(ReadableSize, ChartsScrolledViewsAndLists) {
    constexpr int Bar = 15;
    struct Case {
        const char* name;
        Extent got, expected;
    };
    for (const Case& c : {
             // Three time labels of 34 pixels across, three lines of 15 down, beside the room
             // the legend, the axes and their titles take.
             Case{"a time chart", readableChart({90, 60}, {34, 15}), {90 + 102, 60 + 45}},
             Case{"a square plot", readableChart({60, 40}, {30, 15}, true), {60 + 90, 40 + 90}},
             Case{"one part", readableScrolled({250, 300}, {250, 300}, Bar), {250, 300}},
             Case{"more parts below", readableScrolled({250, 300}, {250, 900}, Bar), {265, 300}},
             Case{"a wider part below", readableScrolled({250, 300}, {600, 900}, Bar), {265, 315}},
             Case{"a list", readableList({40, 200, 60, 60}, 20, 18, Bar), {255, 20 + 54 + Bar}},
             Case{"a list of two columns", readableList({40, 200}, 20, 18, Bar), {255, 74}},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.expected);
    }
}

}  // namespace
}  // namespace tiderune
