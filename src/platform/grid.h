#pragma once
// A grid of text cells, as every list window of the program draws its tables: row 0 is the
// heading row and column 0 the label column, both fixed (they stay in view when the grid
// scrolls); rows and columns count from 0. Cells hold the program's 8-bit text exactly as
// written, never numbers that the widget formats; nothing is edited or sorted by the user.
//
// The texts live here, without Qt; an implementation draws them and is told which cells
// changed. Writing a text equal to the one a cell already holds changes nothing, so a window
// may write a whole table on every refresh and only the cells that differ reach the screen.
//
// A row or column outside the grid is a caller's bug: it trips an assertion in debug builds
// and is ignored otherwise (reads give an empty text), never touching memory beyond the grid.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tiderune {

class Grid {
public:
    virtual ~Grid() = default;

    int rows() const { return rows_; }
    // Growing appends empty rows and keeps the texts of the existing ones; shrinking drops
    // the rows beyond the new count.
    void setRows(int n);
    int cols() const { return cols_; }
    void setCols(int n);

    // The current cell. After a mouse press on the grid, row() is the row pressed.
    int row() const { return row_; }
    // The row of the last mouse press, -1 when it hit no row (the empty space below the
    // last one); row() then keeps its value.
    int pressedRow() const { return pressedRow_; }
    void setRow(int r);
    int col() const { return col_; }
    void setCol(int c);

    // The text of the current cell.
    const std::string& text() const { return text(row_, col_); }
    void setText(std::string_view t) { setText(row_, col_, t); }
    // The text of any cell.
    const std::string& text(int r, int c) const;
    void setText(int r, int c, std::string_view t);

    bool contains(int r, int c) const { return r >= 0 && r < rows_ && c >= 0 && c < cols_; }

    // Sizes in twips.
    virtual int colWidth(int c) const = 0;
    virtual void setColWidth(int c, int twips) = 0;
    virtual int rowHeight(int r) const = 0;
    virtual void setRowHeight(int r, int twips) = 0;

    // Placement in the window, in twips.
    virtual double left() const = 0;
    virtual double top() const = 0;
    virtual double width() const = 0;
    virtual double height() const = 0;
    virtual void setLeft(double twips) = 0;
    virtual void setTop(double twips) = 0;
    virtual void setWidth(double twips) = 0;
    virtual void setHeight(double twips) = 0;

    // A mouse press: button (1 left, 2 right, 4 middle), shift state (1 shift, 2 ctrl,
    // 4 alt), and the position inside the grid in twips. row() already holds the row
    // pressed when it is called.
    std::function<void(int button, int shift, double x, double y)> onMouseDown;

protected:
    // The implementation draws these; they are called after the texts changed.
    virtual void cellChanged(int r, int c) = 0;
    virtual void shapeChanged() = 0;
    // A press on row r (the heading row included) at (x, y) twips inside the grid.
    void mousePressed(int r, int button, int shift, double x, double y);

private:
    bool inRange(int r, int c) const;
    std::string& cell(int r, int c) { return cells_[static_cast<std::size_t>(r) * cols_ + c]; }
    const std::string& cell(int r, int c) const { return cells_[static_cast<std::size_t>(r) * cols_ + c]; }
    void reshape(int rows, int cols);

    int rows_ = 0;
    int cols_ = 0;
    int row_ = 0;
    int col_ = 0;
    int pressedRow_ = -1;
    std::vector<std::string> cells_;  // row by row
};

}  // namespace tiderune
