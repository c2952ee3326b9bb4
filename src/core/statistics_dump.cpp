#include "statistics_dump.h"

#include <cstdio>
#include <initializer_list>
#include <string_view>

namespace tiderune {

namespace {

constexpr double Degrees = 57.29577951307855;

void appendf(std::string& out, const char* fmt, auto... args) {
    char buf[256];
    const int n = std::snprintf(buf, sizeof buf, fmt, args...);
    if (n > 0) out.append(buf, static_cast<std::size_t>(n < static_cast<int>(sizeof buf) ? n : sizeof buf - 1));
}

template <typename Rec>
void appendRecord(std::string& out, const Rec& r, double scale, const char* fmt) {
    appendf(out, " count %d mean ", r.count);
    appendf(out, fmt, r.mean * scale);
    out += " sdev ";
    appendf(out, fmt, r.standardDeviation * scale);
    out += " max ";
    appendf(out, fmt, r.maximum * scale);
    out += " min ";
    appendf(out, fmt, r.minimum * scale);
}

void block(std::string& out, std::string_view type, int k, const char* name, const StatBlock& b) {
    if (b.record.count == 0 && b.missing.count == 0) return;
    appendf(out, "%-4.*s%2d %-9s", static_cast<int>(type.size()), type.data(), k, name);
    appendRecord(out, b.record, 1.0, "%.4f");
    appendf(out, " p68 %.2f p95 %.2f missing %d\n", static_cast<double>(b.percentiles.p68()),
            static_cast<double>(b.percentiles.p95()), b.missing.count);
}

void snrBlock(std::string& out, std::string_view table, int k, const SNRStatBlock& b) {
    if (b.record.count == 0 && b.missing.count == 0) return;
    appendf(out, "%-8.*s%3d     ", static_cast<int>(table.size()), table.data(), k);
    appendRecord(out, b.record, 1.0, "%.4f");
    appendf(out, " l68 %.0f l95 %.0f missing %d\n", static_cast<double>(b.percentiles.level68()),
            static_cast<double>(b.percentiles.level95()), b.missing.count);
}

template <typename Rec>
void record(std::string& out, const char* name, const Rec& r, double scale, const char* fmt) {
    if (r.count == 0 && !r.noData) return;
    appendf(out, "%-16s", name);
    appendRecord(out, r, scale, fmt);
    out += '\n';
}

template <typename Table>
void blocks(std::string& out, std::string_view type, const Table& t, std::initializer_list<const char*> names) {
    int k = Table::lower;
    for (const char* name : names) {
        block(out, type, k, name, t[k]);
        ++k;
    }
}

template <typename Table>
void snrTable(std::string& out, std::string_view name, const Table& t) {
    for (int k = Table::lower; k <= Table::upper; ++k) snrBlock(out, name, k, t[k]);
}

}  // namespace

std::string formatStatisticsDump(const AnalysisState& analysis, int system) {
    const SystemStatistics& s = analysis.statistics(system);
    std::string out;
    record(out, "Latitude", s.LatitudeStats, Degrees, "%.8f");
    record(out, "Longitude", s.LongitudeStats, Degrees, "%.8f");
    record(out, "Height", s.HeightStats, 1.0, "%.4f");
    record(out, "Heading", s.HeadingStats, 1.0, "%.4f");
    record(out, "Pitch", s.PitchStats, 1.0, "%.4f");
    record(out, "Roll", s.RollStats, 1.0, "%.4f");
    blocks(out, "GGA", s.GGAStats, {"dRad", "dN", "dE", "dHgt", "Geoid", "Qual", "Svs", "hdop", "Age", "-"});
    blocks(out, "GNS", s.GNSStats, {"dRad", "dN", "dE", "dHgt", "Geoid", "Svs", "hdop", "Age", "-"});
    blocks(out, "GLL", s.GLLStats, {"dRad", "dN", "dE"});
    blocks(out, "RMC", s.RMCStats, {"dRad", "dN", "dE", "SOG", "COG"});
    blocks(out, "VTG", s.VTGStats, {"SOG", "COG"});
    blocks(out, "HDT", s.HDTStats, {"dHdg"});
    blocks(out, "ATT", s.ATTStats, {"dHdg", "dPitch", "dRoll"});
    blocks(out, "ROT", s.ROTStats, {"ROT"});
    blocks(out, "VHW", s.VHWStats, {"STW", "HdgTrue", "HdgMagn"});
    blocks(out, "DBT", s.DBTStats, {"Depth"});
    blocks(out, "GSA", s.GSAStats, {"pdop", "hdop", "vdop"});
    blocks(out, "GST", s.GSTStats, {"RMS", "SdMajor", "SdMinor", "DirMajor", "SdLat", "SdLon", "SdAlt"});
    snrBlock(out, "GSV Svs", 0, s.GSVStats);
    snrTable(out, "GPS", s.GPSSNRStats);
    snrTable(out, "SBAS", s.SBASSNRStats);
    snrTable(out, "GLONASS", s.GLONASSSNRStats);
    snrTable(out, "BeiDou", s.BeiDouSNRStats);
    return out;
}

}  // namespace tiderune
