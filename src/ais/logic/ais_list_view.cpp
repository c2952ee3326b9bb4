#include "ais/logic/ais_list_view.h"

#include <array>
#include <cmath>

#include "core/epoch_time.h"
#include "core/latlon_text.h"
#include "core/number_text.h"
#include "platform/chart_scale.h"
#include "platform/grid.h"
#include "platform/twips.h"

namespace tiderune {

namespace {

constexpr std::array<const char*, AisListColumns> Headings = {
    "MMSI", "Name", "Lat", "Lon", "SOG", "COG", "HDG", "ROT", "Time last msg", "Index"};

constexpr std::uint16_t bits(std::initializer_list<int> cols) {
    std::uint16_t m = 0;
    for (int c : cols) m = static_cast<std::uint16_t>(m | (1u << c));
    return m;
}

constexpr std::uint16_t AllColumns = (1u << AisListColumns) - 1;

}  // namespace

std::span<const char* const> aisListHeadings() { return Headings; }

std::string aisDateText(double dateValue, bool seconds) {
    return formatDateValue(dateValue, seconds ? "dd mmm hh:nn:ss" : "dd mmm hh:nn");
}

std::uint16_t aisListFilledColumns(const AISTarget& t) {
    std::uint16_t filled = bits({0});
    for (int id = 1; id <= 27; ++id)
        if (t.MessageIDsHeard & (1u << id)) filled = static_cast<std::uint16_t>(filled | aisListColumnsOf(id));
    return filled;
}

std::string aisListCell(const AISTarget& t, int index, int col) {
    // A field none of the target's messages carries stays empty, also when a re-opened
    // window writes the whole row: its stored 0 is no value the target reported.
    if (col >= 0 && col < AisListColumns && !(aisListFilledColumns(t) & (1u << col))) return {};
    switch (col) {
    case 0: return std::to_string(t.MMSI);
    case 1: return t.Name;
    case 2: return FormatDMSCompact(t.Latitude, "LAT", "form", 3);
    case 3: return FormatDMSCompact(t.Longitude, "LON", "form", 3);
    case 4: return ValueOrNA(t.SpeedOverGround);
    case 5: return ValueOrNA(t.CourseOverGround);
    case 6: return ValueOrNA(t.Heading);
    case 7: return ValueOrNA(t.RateOfTurn);
    case 8: return aisDateText(t.LastSeen, true);
    case 9: return StrNumber(index);
    default: return {};
    }
}

std::uint16_t aisListColumnsOf(int messageID) {
    std::uint16_t fields = 0;
    switch (messageID) {
    case 1:
    case 2:
    case 3: fields = bits({2, 3, 4, 5, 6, 7}); break;
    case 4:
    case 21: fields = bits({1, 2, 3}); break;
    case 5: fields = bits({1}); break;
    case 9: fields = bits({1, 2, 3, 4, 5}); break;
    case 18:
    case 19: fields = bits({1, 2, 3, 4, 5, 6}); break;
    default: break;
    }
    return static_cast<std::uint16_t>(fields | bits({8, 9}));
}

void setUpAisListGrid(Grid& grid) {
    grid.setWidth(18000);
    grid.setCols(AisListColumns);
    if (grid.rows() < 1) grid.setRows(1);
    for (int c = 0; c < AisListColumns; ++c) grid.setText(0, c, Headings[static_cast<std::size_t>(c)]);
    grid.setColWidth(1, 3200);
    grid.setColWidth(2, 1500);
    grid.setColWidth(3, 1500);
    for (int c = 4; c <= 7; ++c) grid.setColWidth(c, grid.colWidth(c) - 200);
    grid.setColWidth(8, 1500);
    grid.setColWidth(9, grid.colWidth(9) - 300);
}

std::vector<std::string> aisListWidestTexts(int col) {
    switch (col) {
    case 2: return {FormatDMSCompact(88.888888, "LAT", "form", 3), FormatDMSCompact(-88.888888, "LAT", "form", 3)};
    case 3: return {FormatDMSCompact(178.888888, "LON", "form", 3), FormatDMSCompact(-178.888888, "LON", "form", 3)};
    case 8: {
        std::vector<std::string> times;
        for (int month = 1; month <= 12; ++month)
            times.push_back(aisDateText(dateFromYmd(2026, month, 28) + (23 * 3600 + 58 * 60 + 58) / 86400.0, true));
        return times;
    }
    default: return {};
    }
}

int aisListPressedTarget(int row, int targetCount) { return row >= 1 && row <= targetCount ? row : 0; }

DetailPlacement aisDetailPlacement(int windowLeft, int windowTop, int pressY) {
    // Four thousand twips to the right of the list's left edge.
    const int beside = static_cast<int>(std::lround(4000.0 / TwipsPerPixel));
    return {windowLeft + beside, windowTop + pressY};
}

void AisListView::load(int targetCount) {
    if (targetCount < 0) targetCount = 0;
    rows_ = targetCount + 1;
    dueColumns_.assign(static_cast<std::size_t>(rows_), 0);
    dueRows_.clear();
    shapeDue_ = true;
    for (int r = 1; r < rows_; ++r) markDue(r, AllColumns);
}

int AisListView::sentence(const AisTargetStore& store, int system, int messageID) {
    if (store.MMSIZero[system]) return 0;
    const int r = store.CurrentTarget[system];
    // Before the system's first target nothing names a row; row 0 holds the headings.
    if (r < 1) return 0;
    std::uint16_t columns = aisListColumnsOf(messageID);
    if (r >= rows_) {
        rows_ = r + 1;
        shapeDue_ = true;
        columns = static_cast<std::uint16_t>(columns | 1u);
    }
    markDue(r, columns);
    return r;
}

void AisListView::markDue(int row, std::uint16_t columns) {
    const auto i = static_cast<std::size_t>(row);
    if (i >= dueColumns_.size()) dueColumns_.resize(i + 1, 0);
    if (dueColumns_[i] == 0) dueRows_.push_back(row);
    dueColumns_[i] = static_cast<std::uint16_t>(dueColumns_[i] | columns);
}

std::uint16_t AisListView::dueColumns(int row) const {
    const auto i = static_cast<std::size_t>(row);
    return row >= 0 && i < dueColumns_.size() ? dueColumns_[i] : 0;
}

void AisListView::flush(Grid& grid, const AisTargetList& targets, int first, int last) {
    if (shapeDue_ && grid.rows() != rows_) grid.setRows(rows_);
    shapeDue_ = false;
    std::size_t kept = 0;
    for (int r : dueRows_) {
        if (r < first || r > last) {
            dueRows_[kept++] = r;
            continue;
        }
        std::uint16_t& due = dueColumns_[static_cast<std::size_t>(r)];
        if (r <= MaxAISTargets) {
            const AISTarget& t = targets[r];
            for (int c = 0; c < AisListColumns; ++c)
                if ((due & (1u << c)) && grid.contains(r, c)) grid.setText(r, c, aisListCell(t, r, c));
        }
        due = 0;
    }
    dueRows_.resize(kept);
}

}  // namespace tiderune
