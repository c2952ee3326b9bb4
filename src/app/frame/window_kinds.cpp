#include "app/frame/window_kinds.h"

namespace tiderune {

namespace {

using K = WindowKind;
using H = HandOver;

// clang-format off
const std::array<WindowKindInfo, WindowKindCount> Kinds = {{
    {K::Numerics,      "frmNumerics",      "NumericsWindows",      H::Numerics,     0,   "Numerics ",       "", "Numerics",      3000, 6000, true,  false, ""},
    {K::Statistics,    "frmStatistics",    "StatisticsWindows",    H::Statistics,   2,   "Statistics ",     "", "Statistics",    3000, 6000, true,  false, ""},
    {K::StatisticsSNR, "frmStatisticsSNR", "StatisticsSNRWindows", H::Statistics,   3,   "Statistics SNR ", "", "StatisticsSNR", 3000, 6000, false, false, ""},
    {K::Scatter,       "frmScatter",       "ScatterWindows",       H::Scatter,      5,   "Scatter plot ",   "", "",              0,    0,    false, true,  ""},
    {K::Skyplot,       "frmSkyplot",       "SkyplotWindows",       H::Skyplot,      6,   "Skyplot ",        " - GSA/GSV Numerics", "Skyplot", 3000, 6000, true, false, ""},
    {K::ARPATargets,   "frmARPATargets",   "ARPATargetsWindows",   H::ARPA,         169, "ARPA Targets ",   "", "ARPATargets",   3000, 6000, true,  false, ""},
    {K::AISTargets,    "frmAISTargets",    "AISTargetsWindows",    H::AIS,          170, "AIS Targets ",    "", "AISTargets",    3000, 6000, true,  false, ""},
    {K::NMEA,          "frmNMEA",          "NMEAWindows",          H::NMEA,         4,   "NMEA Monitor ",   "", "Monitor",       8000, 4000, false, false, ""},
    {K::TimeSeriesGGA, "frmTimeSeriesGGA", "TimeSeriesGGAWindows", H::GGA,          7,   "GGA Time Series ", "", "", 0, 0, false, true, "GGA"},
    {K::TimeSeriesGNS, "frmTimeSeriesGNS", "TimeSeriesGNSWindows", H::GNS,          8,   "GNS Time Series ", "", "", 0, 0, false, true, "GNS"},
    {K::TimeSeriesGLL, "frmTimeSeriesGLL", "TimeSeriesGLLWindows", H::GLL,          9,   "GLL Time Series ", "", "", 0, 0, false, true, "GLL"},
    {K::TimeSeriesRMC, "frmTimeSeriesRMC", "TimeSeriesRMCWindows", H::RMC,          10,  "RMC Time Series ", "", "", 0, 0, false, true, "RMC"},
    {K::TimeSeriesVTG, "frmTimeSeriesVTG", "TimeSeriesVTGWindows", H::VTG,          11,  "VTG Time Series ", "", "", 0, 0, false, true, "VTG"},
    {K::TimeSeriesHDT, "frmTimeSeriesHDT", "TimeSeriesHDTWindows", H::HDT,          164, "HDT Time Series ", "", "", 0, 0, false, true, "HDT"},
    {K::TimeSeriesATT, "frmTimeSeriesATT", "TimeSeriesATTWindows", H::ATT,          165, "ATT Time Series ", "", "", 0, 0, false, true, "ATT"},
    {K::TimeSeriesROT, "frmTimeSeriesROT", "TimeSeriesROTWindows", H::ROT,          166, "ROT Time Series ", "", "", 0, 0, false, true, "ROT"},
    {K::TimeSeriesVHW, "frmTimeSeriesVHW", "TimeSeriesVHWWindows", H::VHW,          167, "VHW Time Series ", "", "", 0, 0, false, true, "VHW"},
    {K::TimeSeriesDBT, "frmTimeSeriesDBT", "TimeSeriesDBTWindows", H::DBT,          168, "DBT Time Series ", "", "", 0, 0, false, true, "DBT"},
    {K::TimeSeriesGSA, "frmTimeSeriesGSA", "TimeSeriesGSAWindows", H::GSA,          12,  "GSA Time Series ", "", "", 0, 0, false, true, "GSA"},
    {K::TimeSeriesGST, "frmTimeSeriesGST", "TimeSeriesGSTWindows", H::GST,          172, "GST Time Series ", "", "", 0, 0, false, true, "GST"},
    {K::TimeSeriesGSV, "frmTimeSeriesGSV", "TimeSeriesGSVWindows", H::GSV,          13,  "GSV Time Series ", "", "", 0, 0, false, true, "GSV"},
    {K::TimeSeriesSNR, "frmTimeSeriesSNR", "TimeSeriesSNRWindows", H::SNRTimeSeries, 171, " SNR Timeseries ", "", "TimeSeriesSNR", 3000, 6000, false, false, ""},
}};
// clang-format on

}  // namespace

const WindowKindInfo& windowKindInfo(WindowKind kind) {
    return Kinds[static_cast<std::size_t>(kind)];
}

bool timeSeriesKindOf(const std::string& type, WindowKind& kind) {
    for (WindowKind k : TimeSeriesKinds) {
        if (type == windowKindInfo(k).sentenceType) {
            kind = k;
            return true;
        }
    }
    return false;
}

bool analysesKind(const SystemSetup& system, WindowKind kind) {
    const std::string type = windowKindInfo(kind).sentenceType;
    if (type.empty()) return false;
    for (SentenceType t : AllSentenceTypes)
        if (sentenceTypeName(t) == type) return system.analysed(t);
    return false;
}

const char* snrConstellationName(int constellation) {
    static const char* const Names[] = {"GPS", "SBAS", "GLONASS", "BeiDou", "Galileo"};
    if (constellation < 1 || constellation > SNRConstellations) return "";
    return Names[constellation - 1];
}

}  // namespace tiderune
