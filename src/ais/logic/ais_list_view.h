#pragma once
// What the AIS target list of a system shows: row 0 the headings, row i target i of the
// system's table, ten columns. Per sentence the list only remembers which cells of which row
// the message rewrites; the texts are made from the target table when the window refreshes,
// so a busy channel costs a few bit operations per sentence.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ais/ais_target_store.h"

namespace tiderune {

class Grid;

inline constexpr int AisListColumns = 10;

// "MMSI", "Name", "Lat", "Lon", "SOG", "COG", "HDG", "ROT", "Time last msg", "Index".
std::span<const char* const> aisListHeadings();

// The text of column `col` of the row of target `index`; empty for a column that none of the
// message types the target was heard by writes.
std::string aisListCell(const AISTarget& target, int index, int col);

// The columns (bit 1 << column) an accepted message of this id rewrites in its target's row:
// the fields of its type, the time of the last message and the index.
std::uint16_t aisListColumnsOf(int messageID);

// The columns of a target's row that hold a value: the MMSI and the columns of every message
// type the target was heard by.
std::uint16_t aisListFilledColumns(const AISTarget& target);

// "dd mmm hh:mm:ss" (with seconds) or "dd mmm hh:mm" of a date value.
std::string aisDateText(double dateValue, bool seconds);

// Heading row, column count and column widths, as the window sets them when it loads;
// the widths are taken from the grid's design widths.
void setUpAisListGrid(Grid& grid);

// The widest texts of the columns whose design width is set for a text of known shape: the
// latitude and longitude of the most figures on either side of the equator and of Greenwich,
// and the time of the last message in every month. Empty for the other columns.
std::vector<std::string> aisListWidestTexts(int col);

// The target of a pressed row: the row itself when it shows a stored target, else 0 (the
// heading row, or a row beyond the targets).
int aisListPressedTarget(int row, int targetCount);

// Where the detail window opens after a press at `pressY` pixels inside the grid of a list
// window whose top-left corner is at (windowLeft, windowTop): beside the list at the height
// of the press. Plain pixels, so a tall screen cannot overflow it.
struct DetailPlacement {
    int left = 0;
    int top = 0;
};
DetailPlacement aisDetailPlacement(int windowLeft, int windowTop, int pressY);

// The list of one system as the window has yet to draw it.
class AisListView {
public:
    // The window loads: one row per stored target after the heading row, all ten columns due.
    void load(int targetCount);
    // One VDM/VDO sentence of the system, after the store took it. Returns the row the
    // sentence rewrites, or 0 when it touched no target.
    int sentence(const AisTargetStore& store, int system, int messageID);

    int rows() const { return rows_; }
    bool due() const { return !dueRows_.empty() || shapeDue_; }
    // The columns of `row` still to be written (bit 1 << column).
    std::uint16_t dueColumns(int row) const;

    // Grows the grid to the list's rows and writes the due cells of rows `first` to `last`
    // from the targets, then forgets them; rows outside stay due until they come into view.
    void flush(Grid& grid, const AisTargetList& targets, int first = 1, int last = MaxAISTargets);

private:
    void markDue(int row, std::uint16_t columns);

    int rows_ = 1;
    bool shapeDue_ = false;
    std::vector<std::uint16_t> dueColumns_;  // per row
    std::vector<int> dueRows_;               // rows with due columns, in the order first marked
};

}  // namespace tiderune
