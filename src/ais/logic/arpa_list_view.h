#pragma once
// What the ARPA target list of a system shows: row 0 the headings, target number N in row
// N + 1, fifteen columns from the system's last TTM sentence. The list keeps no table of its
// own beyond its rows: a re-opened window starts empty. Per sentence the row's texts are made
// at once (the TTM record is overwritten by the next sentence); the window copies the rows
// that changed when it refreshes.
#include <array>
#include <span>
#include <string>
#include <vector>

#include "core/records.h"

namespace tiderune {

class Grid;

inline constexpr int ArpaListColumns = 15;
// NMEA 0183 numbers tracked targets 00 to 99.
inline constexpr int ArpaHighestTarget = 99;

// "No", "Name", "Distance", "Bearing", "T/R", "Speed", "Course", "T/R", "CPA", "TCPA", "Unit",
// "Status", "Ref Target", "First msg", "Last msg".
std::span<const char* const> arpaListHeadings();

// Heading row, column count, grid width and column widths as the window sets them at load.
void setUpArpaListGrid(Grid& grid);

class ArpaListView {
public:
    using Row = std::array<std::string, ArpaListColumns>;

    // The window opens with `rows` rows (the heading row and empty ones).
    void open(int rows);
    // One TTM sentence of the system, `epochTime` its epoch. A target number that is empty
    // or outside 0-99 changes nothing; returns whether a row was written.
    bool sentence(const TTMRecord& ttm, double epochTime);

    int rows() const { return rows_; }
    // The texts of a row (empty for rows no target has written, and for the heading row).
    const Row& row(int r) const;
    bool due() const { return !dueRows_.empty() || shapeDue_; }

    // Grows the grid to the list's rows and writes the rows changed since the last call.
    void flush(Grid& grid);

private:
    int rows_ = 2;
    bool shapeDue_ = false;
    std::vector<Row> texts_;  // index = grid row
    std::vector<bool> due_;
    std::vector<int> dueRows_;
};

}  // namespace tiderune
