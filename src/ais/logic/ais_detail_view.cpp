#include "ais/logic/ais_detail_view.h"

#include <span>

#include "ais/logic/ais_list_view.h"
#include "core/latlon_text.h"
#include "core/number_text.h"
#include "core/records.h"
#include "platform/grid.h"

namespace tiderune {

namespace {

struct DetailGrid {
    int rows;
    const char* row0Col0;
    const char* row0Col1;
    std::array<const char*, 9> labels;  // rows 1 to rows - 1
};

constexpr std::array<DetailGrid, AisDetailGrids> Grids = {{
    {10, "MMSI", "",
     {"AIS Class", "Latitude", "Longitude", "SOG", "COG", "Heading", "Rate Of Turn", "Nav Status", "Pos Accuracy"}},
    {9, "", "Static data", {"Name", "Call sign", "IMO No.", "Type of ship", "Length", "Bredth", "Pos Device", "Nationality"}},
    {5, "", "Voyage data", {"Destination", "ETA", "Cargo", "Draught"}},
    {8, "", "Statistics",
     {"Time 1st msg", "Time last msg", "Period (s)", "ID1 msgs", "ID2 msgs", "ID3 msgs", "ID5 msgs"}},
    {3, "", "Special msg's", {"Passengers", "Height over keel"}},
}};

// " 100     (A= 80 B= 20)": the whole length or breadth, then its two parts.
std::string dimensionText(int a, int b, const char* na, const char* nb) {
    return StrNumber(a + b) + "     (" + na + "=" + StrNumber(a) + " " + nb + "=" + StrNumber(b) + ")";
}

void put(Grid* g, int r, int c, const std::string& text) {
    if (g && g->contains(r, c)) g->setText(r, c, text);
}

}  // namespace

int aisDetailRows(int grid) {
    return grid >= 0 && grid < AisDetailGrids ? Grids[static_cast<std::size_t>(grid)].rows : 0;
}

std::string aisDetailLabel(int grid, int row, int col) {
    if (grid < 0 || grid >= AisDetailGrids || row < 0 || row >= aisDetailRows(grid)) return {};
    const DetailGrid& g = Grids[static_cast<std::size_t>(grid)];
    if (row == 0) return col == 0 ? g.row0Col0 : col == 1 ? g.row0Col1 : "";
    return col == 0 ? g.labels[static_cast<std::size_t>(row - 1)] : "";
}

std::string aisDetailCaption(const AISTarget& t) {
    if (!t.Name.empty()) return "AIS Extended Info - " + t.Name;
    return "AIS Extended Info - MMSI :" + StrNumber(t.MMSI);
}

std::string aisDetailMMSI(const AISTarget& t) { return FormatNumber(t.MMSI, "000000000"); }

std::vector<AisDetailCell> aisDetailValues(const AISTarget& t) {
    std::vector<AisDetailCell> v;
    v.reserve(28);
    auto add = [&](int grid, int row, std::string text) { v.push_back({grid, row, std::move(text)}); };
    add(0, 2, FormatDMSCompact(t.Latitude, "LAT", "form", 3));
    add(0, 3, FormatDMSCompact(t.Longitude, "LON", "form", 3));
    add(0, 4, ValueOrNA(t.SpeedOverGround));
    add(0, 5, ValueOrNA(t.CourseOverGround));
    add(0, 6, ValueOrNA(t.Heading));
    add(0, 7, ValueOrNA(t.RateOfTurn));
    add(0, 8, t.NavigationStatus);
    add(0, 9, t.PositionAccuracy);

    add(1, 1, t.Name);
    add(1, 2, t.CallSign);
    add(1, 3, ValueOrNA(t.IMONumber));
    add(1, 4, t.TypeOfShip);
    // Without the distance to the bow the sizes mean nothing, whatever the other three say.
    const bool sized = t.DimensionA != 0 && t.DimensionA != MissingValue;
    add(1, 5, sized ? dimensionText(t.DimensionA, t.DimensionB, "A", "B") : "n/a");
    add(1, 6, sized ? dimensionText(t.DimensionC, t.DimensionD, "C", "D") : "n/a");
    add(1, 7, t.PositionDeviceText);
    add(1, 8, t.Country);

    add(2, 1, t.Destination);
    add(2, 2, t.ETA == 0 ? std::string("n/a") : aisDateText(t.ETA, false));
    add(2, 3, t.CargoText);
    add(2, 4, ValueOrNA(t.Draught));

    add(3, 1, aisDateText(t.FirstSeen, true));
    add(3, 2, aisDateText(t.LastSeen, true));
    add(3, 3, FormatHMS(t.SecondsSeen, 0));
    const int counted[] = {1, 2, 3, 5};
    for (int k = 0; k < 4; ++k) add(3, 4 + k, StrNumber(t.MessageCount[counted[k]]));
    return v;
}

AisDetailSize layOutAisDetailGrids(const std::array<Grid*, AisDetailGrids>& grids) {
    for (Grid* g : grids)
        if (!g) return {};
    for (int i = 0; i < AisDetailGrids; ++i) {
        Grid& g = *grids[static_cast<std::size_t>(i)];
        if (g.cols() < 2) g.setCols(2);
        g.setRows(aisDetailRows(i));
        g.setColWidth(0, g.colWidth(0) + 300);
        g.setColWidth(1, g.colWidth(1) + (i == 3 ? 400 : 1500));
        g.setWidth(g.colWidth(0) + g.colWidth(1) + 100);
        g.setHeight(static_cast<double>(g.rowHeight(0)) * g.rows() + 100);
    }
    Grid& g0 = *grids[0];
    Grid& g1 = *grids[1];
    Grid& g2 = *grids[2];
    Grid& g3 = *grids[3];
    Grid& g4 = *grids[4];
    for (Grid* g : {&g1, &g2, &g4}) g->setLeft(g0.width() + 200);
    g2.setTop(g1.top() + g1.height() + 100);
    g3.setTop(g0.top() + g0.height() + 100);
    g4.setTop(g2.top() + g2.height() + 100);
    return {g0.width() + g1.width() + 400, g4.top() + g4.height() + 500};
}

void writeAisDetailLabels(const std::array<Grid*, AisDetailGrids>& grids, const AISTarget& t) {
    for (int i = 0; i < AisDetailGrids; ++i)
        for (int r = 0; r < aisDetailRows(i); ++r) {
            put(grids[static_cast<std::size_t>(i)], r, 0, aisDetailLabel(i, r, 0));
            if (r == 0) put(grids[static_cast<std::size_t>(i)], r, 1, aisDetailLabel(i, r, 1));
        }
    put(grids[0], 0, 1, aisDetailMMSI(t));
    put(grids[0], 1, 1, t.AISClass);
}

void writeAisDetailValues(const std::array<Grid*, AisDetailGrids>& grids, const AISTarget& t) {
    for (const AisDetailCell& c : aisDetailValues(t)) put(grids[static_cast<std::size_t>(c.grid)], c.row, 1, c.text);
}

void AisDetailView::select(int system, int index) {
    system_ = system;
    index_ = index;
    due_ = system != 0;
}

}  // namespace tiderune
