#include "frame/window_kinds.h"

namespace tiderune {

namespace {

using K = WindowKind;
using H = HandOver;

// clang-format off
const std::array<WindowKindInfo, WindowKindCount> Kinds = {{
    {K::Numerics,      "frmNumerics",      "NumericsWindows",      H::Numerics,     0,   "Numerics ",       "", "Numerics",      3000, 6000, true,  false, std::nullopt},
    {K::Statistics,    "frmStatistics",    "StatisticsWindows",    H::Statistics,   2,   "Statistics ",     "", "Statistics",    3000, 6000, true,  false, std::nullopt},
    {K::StatisticsSNR, "frmStatisticsSNR", "StatisticsSNRWindows", H::Statistics,   3,   "Statistics SNR ", "", "StatisticsSNR", 3000, 6000, false, false, std::nullopt},
    {K::Scatter,       "frmScatter",       "ScatterWindows",       H::Scatter,      5,   "Scatter plot ",   "", "",              0,    0,    false, true,  std::nullopt},
    {K::Skyplot,       "frmSkyplot",       "SkyplotWindows",       H::Skyplot,      6,   "Skyplot ",        " - GSA/GSV Numerics", "Skyplot", 3000, 6000, true, false, std::nullopt},
    {K::ARPATargets,   "frmARPATargets",   "ARPATargetsWindows",   H::ARPA,         169, "ARPA Targets ",   "", "ARPATargets",   3000, 6000, true,  false, std::nullopt},
    {K::AISTargets,    "frmAISTargets",    "AISTargetsWindows",    H::AIS,          170, "AIS Targets ",    "", "AISTargets",    3000, 6000, true,  false, std::nullopt},
    {K::NMEA,          "frmNMEA",          "NMEAWindows",          H::NMEA,         4,   "NMEA Monitor ",   "", "Monitor",       8000, 4000, false, false, std::nullopt},
    {K::TimeSeriesGGA, "frmTimeSeriesGGA", "TimeSeriesGGAWindows", H::GGA,          7,   "GGA Time Series ", "", "", 0, 0, false, true, SentenceType::GGA},
    {K::TimeSeriesGNS, "frmTimeSeriesGNS", "TimeSeriesGNSWindows", H::GNS,          8,   "GNS Time Series ", "", "", 0, 0, false, true, SentenceType::GNS},
    {K::TimeSeriesGLL, "frmTimeSeriesGLL", "TimeSeriesGLLWindows", H::GLL,          9,   "GLL Time Series ", "", "", 0, 0, false, true, SentenceType::GLL},
    {K::TimeSeriesRMC, "frmTimeSeriesRMC", "TimeSeriesRMCWindows", H::RMC,          10,  "RMC Time Series ", "", "", 0, 0, false, true, SentenceType::RMC},
    {K::TimeSeriesVTG, "frmTimeSeriesVTG", "TimeSeriesVTGWindows", H::VTG,          11,  "VTG Time Series ", "", "", 0, 0, false, true, SentenceType::VTG},
    {K::TimeSeriesHDT, "frmTimeSeriesHDT", "TimeSeriesHDTWindows", H::HDT,          164, "HDT Time Series ", "", "", 0, 0, false, true, SentenceType::HDT},
    {K::TimeSeriesATT, "frmTimeSeriesATT", "TimeSeriesATTWindows", H::ATT,          165, "ATT Time Series ", "", "", 0, 0, false, true, SentenceType::ATT},
    {K::TimeSeriesROT, "frmTimeSeriesROT", "TimeSeriesROTWindows", H::ROT,          166, "ROT Time Series ", "", "", 0, 0, false, true, SentenceType::ROT},
    {K::TimeSeriesVHW, "frmTimeSeriesVHW", "TimeSeriesVHWWindows", H::VHW,          167, "VHW Time Series ", "", "", 0, 0, false, true, SentenceType::VHW},
    {K::TimeSeriesDBT, "frmTimeSeriesDBT", "TimeSeriesDBTWindows", H::DBT,          168, "DBT Time Series ", "", "", 0, 0, false, true, SentenceType::DBT},
    {K::TimeSeriesGSA, "frmTimeSeriesGSA", "TimeSeriesGSAWindows", H::GSA,          12,  "GSA Time Series ", "", "", 0, 0, false, true, SentenceType::GSA},
    {K::TimeSeriesGST, "frmTimeSeriesGST", "TimeSeriesGSTWindows", H::GST,          172, "GST Time Series ", "", "", 0, 0, false, true, SentenceType::GST},
    {K::TimeSeriesGSV, "frmTimeSeriesGSV", "TimeSeriesGSVWindows", H::GSV,          13,  "GSV Time Series ", "", "", 0, 0, false, true, SentenceType::GSV},
    {K::TimeSeriesSNR, "frmTimeSeriesSNR", "TimeSeriesSNRWindows", H::SNRTimeSeries, 171, " SNR Timeseries ", "", "TimeSeriesSNR", 3000, 6000, false, false, std::nullopt},
}};
// clang-format on

}  // namespace

const WindowKindInfo& windowKindInfo(WindowKind kind) {
    return Kinds[static_cast<std::size_t>(kind)];
}

std::optional<WindowKind> timeSeriesKindOf(SentenceType type) {
    // Asked for every sentence: looked up in a table made once from the kinds.
    static const auto byType = [] {
        std::array<std::optional<WindowKind>, SentenceTypeCount> t{};
        for (WindowKind k : TimeSeriesKinds)
            if (const std::optional<SentenceType> s = windowKindInfo(k).sentenceType; s && !t[static_cast<std::size_t>(*s)])
                t[static_cast<std::size_t>(*s)] = k;
        return t;
    }();
    const auto i = static_cast<std::size_t>(type);
    return i < byType.size() ? byType[i] : std::nullopt;
}

bool analysesKind(const SystemSetup& system, WindowKind kind) {
    const std::optional<SentenceType> type = windowKindInfo(kind).sentenceType;
    return type && system.analysed(*type);
}

const char* snrConstellationName(int constellation) {
    static const char* const Names[] = {"GPS", "SBAS", "GLONASS", "BeiDou", "Galileo"};
    if (constellation < 1 || constellation > SNRConstellations) return "";
    return Names[constellation - 1];
}

}  // namespace tiderune
