#pragma once
// What the numerics window of a system shows: its twelve two-column tables (row labels and
// the current value of each field of the type's last sentence), the frames it stacks, and
// the value texts, all from the core's records without Qt.
#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/records.h"

namespace tiderune {

// A value cell that no sentence has written yet (eleven blanks, then "n/a").
inline constexpr const char* NumericsPlaceholder = "           n/a";

struct NumericsTable {
    SentenceType type;
    const char* caption;                  // "GGA Numerics"
    std::span<const char* const> labels;  // rows 1..n of column 0
};

// The twelve tables in the order the window lays them out: GGA, GNS, GLL, RMC, VTG, ZDA,
// HDT, ATT, ROT, VHW, DBT, GST.
std::span<const NumericsTable> numericsTables();
// The table of a type, or nullptr (GSA, GSV, TTM, VDM have none).
const NumericsTable* numericsTable(SentenceType type);

// The frames a system's window shows, top to bottom: the analysed types among GGA, GNS,
// GLL, RMC, VTG, ZDA, GSA, GSV, GST, HDT, ATT, ROT, VHW, DBT. GSA and GSV frames hold only a
// note that points to the sky plot.
std::vector<SentenceType> numericsStack(const SystemSetup& system);

struct LatLonStyle {
    bool dms = false;
    int decimals = 4;
};

// The value column (rows 1..n, element 0 for row 1) of a type's table from the system's
// last records; empty for a type without a table.
std::vector<std::string> numericsValues(SentenceType type, const NMEAMessageSet& records, LatLonStyle style);

// What an open numerics window still has to show. Per sentence only the type and the
// lat/lon format of that moment are remembered; the texts are made when the window
// refreshes, from the newest record of each type.
class NumericsPending {
public:
    // A parsed sentence of the window's system. Types without a table, and types the system
    // does not analyse, change nothing.
    void sentence(SentenceType type, const Config& config, int system);
    bool any() const { return any_; }
    // Hands the value texts of every table that had a sentence since the last call to
    // `write` (table, row 1..n, text), then forgets them.
    void flush(const NMEAMessageSet& records,
               const std::function<void(const NumericsTable&, int, const std::string&)>& write);
    // Forgets what was remembered (the window was laid out afresh).
    void clear();

private:
    struct Entry {
        bool due = false;
        LatLonStyle style;
    };
    std::array<Entry, SentenceTypeCount> entries_{};
    bool any_ = false;
};

}  // namespace tiderune
