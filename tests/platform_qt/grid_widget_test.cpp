// The grid every list window draws with: its texts and shape, what the view shows of them
// (heading row and label column as fixed headers), sizes and placement in twips, and the
// mouse press that tells the row pressed.
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/grid_widget.h"

using namespace tiderune;

namespace {

QString shown(GridWidget& g, int r, int c) {
    QAbstractItemModel* m = g.model();
    if (r == 0) return m->headerData(c - 1, Qt::Horizontal).toString();
    if (c == 0) return m->headerData(r - 1, Qt::Vertical).toString();
    return m->data(m->index(r - 1, c - 1)).toString();
}

}  // namespace

TEST(GridWidget, TextsKeepTheirShapeAsRowsAndColumnsChange) {
    GridWidget g(3, 2);
    g.setText(0, 1, "Current value");
    g.setText(2, 0, "Longitude");
    g.setRow(2);
    g.setCol(1);
    g.setText("052\xB0 30.1000' N");
    EXPECT_EQ(g.text(2, 1), "052\xB0 30.1000' N");
    EXPECT_EQ(g.text(), g.text(2, 1));

    g.setRows(6);
    EXPECT_EQ(g.rows(), 6);
    EXPECT_EQ(g.text(0, 1), "Current value");
    EXPECT_EQ(g.text(2, 1), "052\xB0 30.1000' N") << "growing keeps the texts";
    EXPECT_EQ(g.text(5, 1), "");
    g.setCols(4);
    EXPECT_EQ(g.text(2, 0), "Longitude");
    EXPECT_EQ(g.model()->columnCount(), 3);
    g.setRows(2);
    EXPECT_EQ(g.model()->rowCount(), 1);
    EXPECT_EQ(g.row(), 1) << "the current row stays inside a shrunk grid";
    g.setRows(0);
    EXPECT_EQ(shown(g, 0, 1), "") << "the columns of a grid without rows have empty headings";
}

TEST(GridWidget, ViewShowsTheTextsAsWrittenWithRowZeroAndColumnZeroFixed) {
    GridWidget g(3, 3);
    g.setText(0, 0, "PRN");
    g.setText(0, 2, "02");
    g.setText(1, 0, "68%  >");
    g.setText(1, 1, "     n/a");
    g.setText(2, 2, "007");
    EXPECT_EQ(shown(g, 0, 2), "02");
    EXPECT_EQ(shown(g, 1, 0), "68%  >");
    EXPECT_EQ(shown(g, 1, 1), "     n/a") << "blanks kept";
    EXPECT_EQ(shown(g, 2, 2), "007") << "a number-like text is not reformatted";
    EXPECT_EQ(shown(g, 0, 1), "");
    EXPECT_FALSE(g.model()->flags(g.model()->index(0, 0)) & Qt::ItemIsEditable);

    // Only a text that differs reaches the view.
    QSignalSpy cells(g.model(), &QAbstractItemModel::dataChanged);
    QSignalSpy heads(g.model(), &QAbstractItemModel::headerDataChanged);
    g.setText(2, 2, "007");
    g.setText(0, 2, "02");
    EXPECT_EQ(cells.count(), 0);
    EXPECT_EQ(heads.count(), 0);
    g.setText(2, 2, "008");
    g.setText(1, 0, "95%  >");
    EXPECT_EQ(cells.count(), 1);
    EXPECT_EQ(heads.count(), 1);
}

TEST(GridWidget, SizesAndPlacementInTwips) {
    GridWidget g(3, 2);
    EXPECT_GT(g.defaultColWidth(), 0);
    EXPECT_EQ(g.colWidth(1), g.defaultColWidth());
    EXPECT_EQ(g.rowHeight(0), g.defaultRowHeight());
    g.setColWidth(0, g.colWidth(0) + 600);
    g.setColWidth(1, 1500);
    g.setRowHeight(0, 450);
    EXPECT_EQ(g.colWidth(0), g.defaultColWidth() + 600) << "read back exactly as written";
    EXPECT_EQ(g.colWidth(1), 1500);
    EXPECT_EQ(g.horizontalHeader()->sectionSize(0), 100);
    EXPECT_EQ(g.verticalHeader()->width(), (g.defaultColWidth() + 600) / 15);
    EXPECT_EQ(g.horizontalHeader()->height(), 30);
    g.setRows(5);
    EXPECT_EQ(g.rowHeight(4), g.defaultRowHeight()) << "a new row gets the default height";

    g.setLeft(120);
    g.setTop(240);
    g.setWidth(3000);
    g.setHeight(1500);
    EXPECT_EQ(g.top(), 240);
    EXPECT_EQ(g.geometry(), QRect(8, 16, 200, 100));
}

TEST(GridWidget, MousePressTellsTheRowPressed) {
    GridWidget g(5, 2);
    g.setLeft(0);
    g.setTop(0);
    g.setWidth(3000);
    g.setHeight(3000);
    g.show();
    int button = 0;
    double y = -1;
    g.onMouseDown = [&](int b, int, double, double yy) { button = b, y = yy; };
    const int rowTop = g.rowViewportPosition(2);  // grid row 3
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, QPoint(10, rowTop + 2));
    EXPECT_EQ(g.row(), 3);
    EXPECT_EQ(button, 1);
    EXPECT_EQ(y, double(g.viewport()->mapTo(&g, QPoint(10, rowTop + 2)).y()) * 15);
    QTest::mousePress(g.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(10, 2));
    EXPECT_EQ(g.row(), 0) << "the heading row";
}
