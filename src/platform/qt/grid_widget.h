#pragma once
// The grid of the list windows over a QTableView: row 0 of the grid is drawn by the
// horizontal header, column 0 by the vertical header and cell (0, 0) in the corner, so the
// heading row and the label column stay in view when the grid scrolls. The view reads the
// texts straight from the grid; a changed cell repaints only its own rectangle, and only
// when the event loop next paints.
#include <QTableView>
#include <vector>

#include "platform/grid.h"

namespace tiderune {

class GridModel;

class GridWidget : public QTableView, public Grid {
    Q_OBJECT
public:
    // A grid of `rows` by `cols` cells, each cell of the default size for the widget's font.
    GridWidget(int rows, int cols, QWidget* parent = nullptr);
    ~GridWidget() override;

    int colWidth(int c) const override;
    void setColWidth(int c, int twips) override;
    int rowHeight(int r) const override;
    void setRowHeight(int r, int twips) override;

    double left() const override { return left_; }
    double top() const override { return top_; }
    double width() const override { return width_; }
    double height() const override { return height_; }
    void setLeft(double twips) override;
    void setTop(double twips) override;
    void setWidth(double twips) override;
    void setHeight(double twips) override;

    // The width in twips a body column needs to show `text` whole: the text in the grid's
    // type, the margin the style keeps either side of a cell's text and the grid line.
    int columnWidthFor(const QString& text) const;

    // The size a new column and a new row get, in twips, from the font in use.
    int defaultColWidth() const { return defaultColWidth_; }
    int defaultRowHeight() const { return defaultRowHeight_; }

protected:
    void cellChanged(int r, int c) override;
    void shapeChanged() override;
    void mousePressEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void applyGeometry();
    void applySizes();
    void pressAt(int row, QMouseEvent* e, QWidget* from);

    GridModel* model_;
    std::vector<int> colWidths_;   // twips, one per column
    std::vector<int> rowHeights_;  // twips, one per row
    int defaultColWidth_ = 0;
    int defaultRowHeight_ = 0;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

}  // namespace tiderune
