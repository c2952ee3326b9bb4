// A caller's row or column outside the grid never reaches beyond it: a debug build stops on
// the assertion, a release build ignores the write and reads an empty text.
#include <gtest/gtest.h>

#include "platform/grid.h"

namespace tiderune {
namespace {

class PlainGrid : public Grid {
public:
    PlainGrid(int rows, int cols) { setCols(cols), setRows(rows); }
    int colWidth(int) const override { return 0; }
    void setColWidth(int, int) override {}
    int rowHeight(int) const override { return 0; }
    void setRowHeight(int, int) override {}
    double left() const override { return 0; }
    double top() const override { return 0; }
    double width() const override { return 0; }
    double height() const override { return 0; }
    void setLeft(double) override {}
    void setTop(double) override {}
    void setWidth(double) override {}
    void setHeight(double) override {}
    int changes = 0;

protected:
    void cellChanged(int, int) override { ++changes; }
    void shapeChanged() override {}
};

TEST(GridDeathTest, IndicesOutsideTheGridAreCaughtOrIgnored) {
    PlainGrid g(10, 33);
    struct Case { int r, c; };
    for (const Case k : {Case{10, 1}, Case{1, 33}, Case{-1, 0}, Case{0, -1}, Case{200, 200}}) {
        EXPECT_DEBUG_DEATH(g.setText(k.r, k.c, "x"), "out of range") << k.r << "," << k.c;
        EXPECT_DEBUG_DEATH(EXPECT_EQ(g.text(k.r, k.c), ""), "out of range");
    }
    EXPECT_DEBUG_DEATH(g.setRow(10), "out of range");
    EXPECT_DEBUG_DEATH(g.setCol(33), "out of range");
    EXPECT_EQ(g.row(), 0);
    EXPECT_EQ(g.col(), 0);
    EXPECT_EQ(g.changes, 0);
}

}  // namespace
}  // namespace tiderune
