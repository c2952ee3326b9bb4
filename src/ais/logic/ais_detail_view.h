#pragma once
// What the AIS detail window shows of one target: five two-column grids (labels in column 0,
// values in column 1) for identity and motion, static data, voyage data, reception
// statistics and special messages; its caption; and how the window lays the grids out.
#include <array>
#include <string>
#include <vector>

#include "ais/ais_target_store.h"

namespace tiderune {

class Grid;

inline constexpr int AisDetailGrids = 5;

// Rows of each grid: 10, 9, 5, 8, 3.
int aisDetailRows(int grid);
// Column 0 and column 1 of a grid's row, as the window writes them at load: the labels, the
// section titles of grids 1 to 4, and "MMSI" in grid 0.
std::string aisDetailLabel(int grid, int row, int col);

// "AIS Extended Info - <name>", or "AIS Extended Info - MMSI : <mmsi>" for a target without
// a name.
std::string aisDetailCaption(const AISTarget& target);

// The identity that the window writes once, at load: the MMSI with nine digits in grid 0
// row 0 and the AIS class in grid 0 row 1.
std::string aisDetailMMSI(const AISTarget& target);

struct AisDetailCell {
    int grid;
    int row;
    std::string text;
};
// Column 1 of grids 0 to 3 from the target's record (grid 4 keeps an empty value column).
std::vector<AisDetailCell> aisDetailValues(const AISTarget& target);

// Sets the row counts, widens the columns from their design widths, sizes and places the
// five grids; returns the window's width and height (twips).
struct AisDetailSize {
    double width = 0;
    double height = 0;
};
AisDetailSize layOutAisDetailGrids(const std::array<Grid*, AisDetailGrids>& grids);

// Writes labels, titles and the identity rows into freshly laid-out grids.
void writeAisDetailLabels(const std::array<Grid*, AisDetailGrids>& grids, const AISTarget& target);
// Writes column 1 of grids 0 to 3.
void writeAisDetailValues(const std::array<Grid*, AisDetailGrids>& grids, const AISTarget& target);

// The one detail window of the program: which target it shows, and whether that target
// received a message since the window last drew it.
class AisDetailView {
public:
    // A row press selected (system, index); (0, 0) when the window closes.
    void select(int system, int index);
    int system() const { return system_; }
    int index() const { return index_; }
    bool shows(int system, int index) const { return system_ != 0 && system == system_ && index == index_; }

    // The list of `system` rewrote row `index`.
    void targetUpdated(int system, int index) {
        if (shows(system, index)) due_ = true;
    }
    bool due() const { return due_; }
    void clearDue() { due_ = false; }

private:
    int system_ = 0;
    int index_ = 0;
    bool due_ = false;
};

}  // namespace tiderune
