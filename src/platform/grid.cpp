#include "platform/grid.h"

#include <algorithm>
#include <cassert>

namespace tiderune {

namespace {
const std::string NoText;
}

bool Grid::inRange(int r, int c) const {
    const bool ok = contains(r, c);
    assert(ok && "grid cell out of range");
    return ok;
}

void Grid::reshape(int rows, int cols) {
    if (rows < 0) rows = 0;
    if (cols < 0) cols = 0;
    if (rows == rows_ && cols == cols_) return;
    std::vector<std::string> cells(static_cast<std::size_t>(rows) * cols);
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(cols, cols_); ++c)
            cells[static_cast<std::size_t>(r) * cols + c] = std::move(cell(r, c));
    cells_ = std::move(cells);
    rows_ = rows;
    cols_ = cols;
    // The current cell follows the grid when it shrinks.
    if (row_ >= rows_) row_ = rows_ > 0 ? rows_ - 1 : 0;
    if (col_ >= cols_) col_ = cols_ > 0 ? cols_ - 1 : 0;
    shapeChanged();
}

void Grid::setRows(int n) { reshape(n, cols_); }
void Grid::setCols(int n) { reshape(rows_, n); }

void Grid::setRow(int r) {
    const bool ok = r >= 0 && r < rows_;
    assert(ok && "grid row out of range");
    if (ok) row_ = r;
}

void Grid::setCol(int c) {
    const bool ok = c >= 0 && c < cols_;
    assert(ok && "grid column out of range");
    if (ok) col_ = c;
}

const std::string& Grid::text(int r, int c) const {
    if (!inRange(r, c)) return NoText;
    return cell(r, c);
}

void Grid::setText(int r, int c, std::string_view t) {
    if (!inRange(r, c)) return;
    std::string& s = cell(r, c);
    if (s == t) return;
    s.assign(t);
    cellChanged(r, c);
}

void Grid::mousePressed(int r, int button, int shift, double x, double y) {
    pressedRow_ = r >= 0 && r < rows_ ? r : -1;
    if (pressedRow_ >= 0) row_ = r;
    if (onMouseDown) onMouseDown(button, shift, x, y);
}

}  // namespace tiderune
