#include "views/logic/statistics_view.h"

#include <algorithm>

#include "core/geodetic.h"
#include "core/latlon_text.h"
#include "core/number_text.h"

namespace tiderune {

namespace {

using T = SentenceType;

constexpr const char* GGAHeads[] = {"dRad", "dN", "dE", "dHgt", "Qual", "Svs", "hdop", "Geoid", "Age"};
constexpr const char* GNSHeads[] = {"dRad", "dN", "dE", "dHgt", "Mode", "Svs", "hdop", "Geoid", "Age"};
constexpr const char* GLLHeads[] = {"dRad", "dN", "dE"};
constexpr const char* RMCHeads[] = {"dRad", "dN", "dE", "SOG (Knots)", "COG (True)"};
constexpr const char* VTGHeads[] = {"SOG (Knots)", "COG (True)"};
constexpr const char* HDTHeads[] = {"deltaHdg"};
constexpr const char* ATTHeads[] = {"deltaHdg", "deltaPitch", "deltaRoll"};
constexpr const char* ROTHeads[] = {"Rate Of Turn"};
constexpr const char* VHWHeads[] = {"Water Speed", "Hdg (true)", "Hdg (magn)"};
constexpr const char* DBTHeads[] = {"Depth (m)"};
constexpr const char* GSAHeads[] = {"pdop", "hdop", "vdop"};
constexpr const char* GSVHeads[] = {"svs in view"};
constexpr const char* GSTHeads[] = {"RMS PseudoR", "Sd MajorAxis", "Sd MinorAxis", "Dir MajorAxis",
                                    "Sd Lat",      "Sd Lon",       "Sd Alt"};

const std::array<StatisticsGrid, 13> Grids = {{
    {T::GGA, "GGA Statistics", GGAHeads, false},
    {T::GNS, "GNS Statistics", GNSHeads, false},
    {T::GLL, "GLL Statistics", GLLHeads, false},
    {T::RMC, "RMC Statistics", RMCHeads, false},
    {T::VTG, "VTG Statistics", VTGHeads, false},
    {T::HDT, "HDT Statistics", HDTHeads, false},
    {T::ATT, "ATT Statistics", ATTHeads, false},
    {T::ROT, "ROT Statistics", ROTHeads, false},
    {T::VHW, "VHW Statistics", VHWHeads, false},
    {T::DBT, "DBT Statistics", DBTHeads, false},
    {T::GSA, "GSA Statistics", GSAHeads, false},
    {T::GSV, "GSV Statistics", GSVHeads, true},
    {T::GST, "GST Statistics", GSTHeads, false},
}};

// GGA "Qual" comes from block 5 and "Geoid" from block 4; GNS has no block for "Mode".
constexpr StatColumn GGAColumns[] = {{1, 0, false}, {2, 1, false}, {3, 2, false}, {4, 3, false}, {5, 5, false},
                                     {6, 6, false}, {7, 7, false}, {8, 4, true},  {9, 8, false}};
constexpr StatColumn GNSColumns[] = {{1, 0, false}, {2, 1, false}, {3, 2, false}, {4, 3, false},
                                     {6, 5, false}, {7, 6, false}, {8, 4, true},  {9, 7, false}};
constexpr StatColumn ThreeColumns[] = {{1, 0, false}, {2, 1, false}, {3, 2, false}};
constexpr StatColumn RMCColumns[] = {{1, 0, false}, {2, 1, false}, {3, 2, false}, {4, 3, false}, {5, 4, false}};
constexpr StatColumn VTGColumns[] = {{1, 0, false}, {2, 1, true}};
constexpr StatColumn OneColumn[] = {{1, 0, false}};
constexpr StatColumn GSTColumns[] = {{1, 0, false}, {2, 1, false}, {3, 2, false}, {4, 3, true},
                                     {5, 4, false}, {6, 5, false}, {7, 6, false}};

constexpr SentenceType StackOrder[] = {T::GGA, T::GNS, T::GLL, T::RMC, T::VTG, T::GSA, T::GSV,
                                       T::GST, T::HDT, T::ATT, T::ROT, T::VHW, T::DBT};

constexpr const char* LabelNames[StatLabelCount] = {
    "lblRefLat",  "lblRefLon",   "lblRefHgt",   "lblRefPosOption", "lblStartTime",   "lblAvgLat",   "lblAvgLon",
    "lblSdLat",   "lblSdLon",    "lblAvgHgt",   "lblSdHgt",        "lblAvgPosCount", "lblCurrentTime",
    "lblRefHdg",  "lblRefPitch", "lblRefRoll",  "lblRefHdgOption", "lblAvgHdg",      "lblSdHdg",
    "lblAvgHdgCount", "lblAvgPitch", "lblSdPitch", "lblAvgPitchCount", "lblAvgRoll", "lblSdRoll",
    "lblAvgRollCount",
};

constexpr SNRGrid SNRGrids[SNRGridCount] = {
    {"frameGSV_GPS", "fgGSV_GPS", "GSV/GPS SNR Statistics", "PRN"},
    {"frameGSV_SBAS", "fgGSV_SBAS", "GSV/SBAS SNR Statistics", "id / PRN"},
    {"frameGSV_GLO", "fgGSV_GLO", "GSV/GLONASS SNR Statistics", "id / PRN"},
    {"frameGSV_BEI", "fgGSV_BEI", "GSV/BEIDOU SNR Statistics", "id / PRN"},
    {"frameGSV_GAL", "fgGSV_GAL", "GSV/GALILEO SNR Statistics", "id / PRN"},
};

std::string latLon(double radians, const char* kind, LatLonStyle style) {
    const double degrees = radians * 57.29577951307855;
    return style.dms ? FormatLatLonDMS(degrees, kind, "Form", style.decimals)
                     : FormatLatLonDM(degrees, kind, "Form", style.decimals);
}

std::string fmt(double v, const char* pattern) { return FormatNumber(v, pattern); }

// A level below 10 as a number; the overflow bin's level of 10 and more as ">10". The test
// is on the level itself, so 9.999 still shows "10.00".
std::string level(float v) { return v < 10 ? fmt(v, "0.00") : ">10"; }

bool isPositionType(SentenceType t) { return t == T::GGA || t == T::GNS || t == T::GLL || t == T::RMC; }

}  // namespace

std::span<const StatisticsGrid> statisticsGrids() { return Grids; }

const StatisticsGrid* statisticsGrid(SentenceType type) {
    for (const StatisticsGrid& g : Grids)
        if (g.type == type) return &g;
    return nullptr;
}

std::array<const char*, StatisticsRows> statisticsRowLabels(bool greaterThan) {
    return {"Current",
            "MEAN",
            "Sdev",
            "Max",
            "Min",
            greaterThan ? "68%  >" : "68%  <",
            greaterThan ? "95%  >" : "95%  <",
            "Count",
            "Rejected"};
}

std::vector<StatisticsPlacement> statisticsStack(const SystemSetup& system) {
    std::vector<StatisticsPlacement> shown;
    for (SentenceType t : StackOrder) {
        if (!system.analysed(t)) continue;
        StatisticsPlacement p{t};
        auto besides = [&](SentenceType partner) {
            if (!system.analysed(partner)) return false;
            p.beside = true;
            p.partner = partner;
            return true;
        };
        if (t == T::VTG) besides(T::GLL);
        else if (t == T::GSV) besides(T::GSA);
        else if (t == T::ROT) besides(T::HDT) || besides(T::ATT);
        shown.push_back(p);
    }
    return shown;
}

StatisticsTopBand statisticsTopBand(const SystemSetup& s) {
    StatisticsTopBand b;
    b.positions = s.GGAAnalysed || s.GNSAnalysed || s.GLLAnalysed || s.RMCAnalysed;
    b.heights = s.GGAAnalysed || s.GNSAnalysed;
    b.heading = s.HDTAnalysed || s.ATTAnalysed;
    return b;
}

const char* statLabelName(StatLabel label) { return LabelNames[static_cast<int>(label)]; }

StatColumnTexts WriteStatisticsCells(const StatBlock& b, bool noLevels) {
    const StatRecord& r = b.record;
    return {fmt(r.lastValue, "0.00"),
            fmt(r.mean, "0.00"),
            fmt(r.standardDeviation, "0.00"),
            fmt(r.maximum, "0.00"),
            fmt(r.minimum, "0.00"),
            noLevels ? NoLevelText : level(b.percentiles.p68()),
            noLevels ? NoLevelText : level(b.percentiles.p95()),
            std::to_string(r.count),
            std::to_string(b.missing.count)};
}

StatColumnTexts WriteSNRCells(const SNRStatBlock& b) {
    const StatRecord& r = b.record;
    return {fmt(r.lastValue, "00"),
            fmt(r.mean, "0.0"),
            fmt(r.standardDeviation, "0.0"),
            fmt(r.maximum, "00"),
            fmt(r.minimum, "00"),
            fmt(b.percentiles.level68(), "00"),
            fmt(b.percentiles.level95(), "00"),
            std::to_string(r.count),
            std::to_string(b.missing.count)};
}

std::span<const StatColumn> statisticsColumns(SentenceType type) {
    switch (type) {
    case T::GGA: return GGAColumns;
    case T::GNS: return GNSColumns;
    case T::GLL:
    case T::ATT:
    case T::VHW:
    case T::GSA: return ThreeColumns;
    case T::RMC: return RMCColumns;
    case T::VTG: return VTGColumns;
    case T::HDT:
    case T::ROT:
    case T::DBT: return OneColumn;
    case T::GST: return GSTColumns;
    default: return {};
    }
}

const StatBlock& statisticsBlock(const SystemStatistics& s, SentenceType type, int k) {
    switch (type) {
    case T::GGA: return s.GGAStats[k];
    case T::GNS: return s.GNSStats[k];
    case T::GLL: return s.GLLStats[k];
    case T::RMC: return s.RMCStats[k];
    case T::VTG: return s.VTGStats[k];
    case T::HDT: return s.HDTStats[k];
    case T::ATT: return s.ATTStats[k];
    case T::ROT: return s.ROTStats[k];
    case T::VHW: return s.VHWStats[k];
    case T::DBT: return s.DBTStats[k];
    case T::GSA: return s.GSAStats[k];
    case T::GST: return s.GSTStats[k];
    default: throwSubscriptOutOfRange();
    }
}

// ---- The statistics window ----

void StatisticsView::load(const Config& config, int system) {
    system_ = isValidSystem(system) ? system : 1;
    band_ = statisticsTopBand(config.Systems[system_]);
    labels_.fill("n/a");
    at(StatLabel::RefPosOption) = "Option";
    at(StatLabel::RefHdgOption) = "Option";
    due_ = {};
    any_ = false;
    style_ = {config.LatLonFormatDMS, config.LatLonDecimals};
    switch (config.ReferenceMode[system_]) {
    case 0:
        at(StatLabel::RefPosOption) = at(StatLabel::RefHdgOption) = "Ref is : First sample";
        break;
    case 1:
        at(StatLabel::RefPosOption) = at(StatLabel::RefHdgOption) = "Ref is : Average over time";
        at(StatLabel::RefLat) = at(StatLabel::RefLon) = at(StatLabel::RefHgt) = "equal to average";
        at(StatLabel::RefHdg) = at(StatLabel::RefPitch) = at(StatLabel::RefRoll) = "= avg";
        break;
    case 2:
        at(StatLabel::RefPosOption) = "Ref is : True position";
        at(StatLabel::RefHdgOption) = "Ref is : True value";
        writeReference(config, true);
        writeAttitudeReference(config);
        break;
    default: break;
    }
}

void StatisticsView::writeReference(const Config& config, bool height) {
    at(StatLabel::RefLat) = latLon(config.ReferenceLat[system_], "LAT", style_);
    at(StatLabel::RefLon) = latLon(config.ReferenceLon[system_], "LON", style_);
    if (height) at(StatLabel::RefHgt) = fmt(config.ReferenceHeight[system_], "0.000");
}

void StatisticsView::writeAttitudeReference(const Config& config) {
    at(StatLabel::RefHdg) = fmt(config.ReferenceHeading[system_], "000.00");
    at(StatLabel::RefPitch) = fmt(config.ReferencePitch[system_], "0.00");
    at(StatLabel::RefRoll) = fmt(config.ReferenceRoll[system_], "0.00");
}

void StatisticsView::sentence(SentenceType type, const Config& config, const SystemStatistics& stats) {
    // The labels filled once depend on this moment (the reference just taken, the first
    // sample); everything else waits for the refresh.
    style_ = {config.LatLonFormatDMS, config.LatLonDecimals};
    const int mode = config.ReferenceMode[system_];
    if (label(StatLabel::RefLat) == "n/a" && mode != 1) writeReference(config, band_.heights);
    if (band_.heading && label(StatLabel::RefHdg) == "n/a" && mode != 1) writeAttitudeReference(config);
    any_ = true;
    if (!statisticsGrid(type) || !config.Systems[system_].analysed(type)) return;
    // The first heading sample has just become the reference: the labels written before it
    // came (by a position sentence, say) showed the empty reference.
    if ((type == T::HDT || type == T::ATT) && mode == 0 && stats.HeadingStats.count == 1)
        writeAttitudeReference(config);
    if (isPositionType(type)) {
        // The start time waits for a first sample: a window laid out before any position
        // (after PLAY, or when the first fix is invalid) would otherwise keep an empty one.
        const StatRecord& first = statisticsBlock(stats, type, 1).record;
        if (label(StatLabel::StartTime) == "n/a" && first.count >= 1)
            at(StatLabel::StartTime) = first.firstTime + " " + first.firstDate;
        if (mode == 0 && stats.LatitudeStats.count == 1) writeReference(config, true);
        // The reference height is the first height sample, which may come after the first
        // position (an RMC or GLL fix before the first GGA): show the height that the dHgt
        // column and the report measure from, not the one the position saw.
        if (mode == 0 && band_.heights && (type == T::GGA || type == T::GNS) && stats.HeightStats.count == 1)
            at(StatLabel::RefHgt) = fmt(config.ReferenceHeight[system_], "0.000");
    }
    due_[static_cast<std::size_t>(type)] = true;
}

void StatisticsView::flush(const SystemStatistics& s,
                           const std::function<void(SentenceType, int, const StatColumnTexts&)>& write) {
    if (!any_) return;
    any_ = false;

    const StatRecordDbl& lat = s.LatitudeStats;
    const StatRecordDbl& lon = s.LongitudeStats;
    at(StatLabel::AvgLat) = latLon(lat.mean, "LAT", style_);
    at(StatLabel::AvgLon) = latLon(lon.mean, "LON", style_);
    float dN = 0, dE = 0, unused = 0;
    try {
        DeltaNE_Ellipsoid(lat.mean, lon.mean, lat.mean + lat.standardDeviation, lon.mean, dN, unused,
                          Wgs84SemiMajorAxis, Wgs84EccentricitySquared);
        DeltaNE_Ellipsoid(lat.mean, lon.mean, lat.mean, lon.mean + lon.standardDeviation, unused, dE,
                          Wgs84SemiMajorAxis, Wgs84EccentricitySquared);
        at(StatLabel::SdLat) = fmt(dN, "0.000");
        at(StatLabel::SdLon) = fmt(dE, "0.000");
    } catch (const std::exception&) {
        // A position that is no number keeps the deviations as they were shown.
    }
    if (band_.heights) {
        at(StatLabel::AvgHgt) = fmt(s.HeightStats.mean, "0.000");
        at(StatLabel::SdHgt) = fmt(s.HeightStats.standardDeviation, "0.000");
    }
    at(StatLabel::AvgPosCount) = std::to_string(lat.count);
    at(StatLabel::CurrentTime) = lat.lastTime;
    if (band_.heading) {
        at(StatLabel::AvgHdg) = fmt(s.HeadingStats.mean, "000.00");
        at(StatLabel::SdHdg) = fmt(s.HeadingStats.standardDeviation, "0.00");
        at(StatLabel::AvgHdgCount) = std::to_string(s.HeadingStats.count);
        at(StatLabel::AvgPitch) = fmt(s.PitchStats.mean, "0.00");
        at(StatLabel::SdPitch) = fmt(s.PitchStats.standardDeviation, "0.00");
        at(StatLabel::AvgPitchCount) = std::to_string(s.PitchStats.count);
        at(StatLabel::AvgRoll) = fmt(s.RollStats.mean, "0.00");
        at(StatLabel::SdRoll) = fmt(s.RollStats.standardDeviation, "0.00");
        at(StatLabel::AvgRollCount) = std::to_string(s.RollStats.count);
    }

    for (const StatisticsGrid& g : Grids) {
        bool& due = due_[static_cast<std::size_t>(g.type)];
        if (!due) continue;
        due = false;
        if (g.type == T::GSV) {
            write(g.type, 1, WriteSNRCells(s.GSVStats));
            continue;
        }
        for (const StatColumn& c : statisticsColumns(g.type))
            write(g.type, c.column, WriteStatisticsCells(statisticsBlock(s, g.type, c.block), c.noLevels));
    }
}

// ---- SNR statistics ----

std::span<const SNRGrid> snrGrids() { return SNRGrids; }

std::string snrHead(int grid, int c) {
    switch (grid) {
    case 0: return fmt(c, "00");
    case 1: return fmt(c + 32, "00") + "/" + fmt(c + 119, "000");
    case 2: return fmt(c + 64, "00") + "/" + fmt(c, "00");
    case 3: return fmt(c + 100, "00") + "/" + fmt(c, "00");
    case 4: return fmt(c + 150, "00") + "/" + fmt(c, "00");
    default: return {};
    }
}

void SNRStatisticsView::sentence(SentenceType type, const SystemSetup& system) {
    if (type == T::GSV && system.GSVAnalysed) due_ = true;
}

void SNRStatisticsView::flush(const SystemStatistics& s,
                              const std::function<void(int, int, const StatColumnTexts&)>& write) {
    if (!due_) return;
    due_ = false;
    // Only the first 32 satellites of each constellation have a column; the rest stay in
    // their tables.
    auto columns = [&](int grid, const auto& table) {
        for (int c = 1; c <= SNRGridColumns; ++c) {
            const SNRStatBlock& b = table[c];
            if (b.record.count >= 1 || b.record.noData) write(grid, c, WriteSNRCells(b));
        }
    };
    columns(0, s.GPSSNRStats);
    columns(1, s.SBASSNRStats);
    columns(2, s.GLONASSSNRStats);
    columns(3, s.BeiDouSNRStats);
}

double snrScrollOffset(int value, double frameSize, double windowSize) {
    value = std::clamp(value, 0, 100);
    double offset = -(value / 100.0) * (frameSize - windowSize);
    if (value > 95) offset -= 500;
    return offset;
}

}  // namespace tiderune
