#pragma once
// The kinds of per-system child window. Every kind has one window object per system (the
// SNR time series five, one per constellation), made at start-up and kept for the whole
// run; what differs between kinds is listed once here.
#include <array>
#include <optional>

#include "core/config.h"

namespace tiderune {

enum class WindowKind {
    Numerics,
    Statistics,
    StatisticsSNR,
    Scatter,
    Skyplot,
    ARPATargets,
    AISTargets,
    NMEA,
    TimeSeriesGGA,
    TimeSeriesGNS,
    TimeSeriesGLL,
    TimeSeriesRMC,
    TimeSeriesVTG,
    TimeSeriesHDT,
    TimeSeriesATT,
    TimeSeriesROT,
    TimeSeriesVHW,
    TimeSeriesDBT,
    TimeSeriesGSA,
    TimeSeriesGST,
    TimeSeriesGSV,
    TimeSeriesSNR,
};
inline constexpr int WindowKindCount = static_cast<int>(WindowKind::TimeSeriesSNR) + 1;

// The hand-over words: whoever opens a window writes its system here just before, and the
// window's load copies it. Statistics and SNR statistics share one word.
enum class HandOver {
    Numerics,
    Statistics,
    Skyplot,
    Scatter,
    NMEA,
    ARPA,
    AIS,
    SNRTimeSeries,
    GGA, GNS, GLL, RMC, VTG, HDT, ATT, ROT, VHW, DBT, GSA, GST, GSV,
};
inline constexpr int HandOverCount = static_cast<int>(HandOver::GSV) + 1;

struct WindowKindInfo {
    WindowKind kind;
    const char* formName;        // the window's object name, "frmNumerics"
    const char* tableName;       // the instance table, "NumericsWindows"
    HandOver handOver;
    int visibleWord;             // its word in the system's WindowVisible record
    const char* captionPrefix;   // caption = prefix, system, " - ", name (and suffix)
    const char* captionSuffix;
    const char* placementKey;    // registry key prefix, empty when the window keeps none
    int defaultWidth;            // twips, for windows that keep a placement
    int defaultHeight;
    bool fitsInMain;             // pulled back inside the main window after placement
    bool hidesOnUserClose;       // a user's close only hides it while the program runs
    std::optional<SentenceType> sentenceType;  // time-series kinds: the sentence type they chart
};

const WindowKindInfo& windowKindInfo(WindowKind kind);

// The 13 time-series kinds in the order of creation.
inline constexpr std::array<WindowKind, 13> TimeSeriesKinds = {
    WindowKind::TimeSeriesGGA, WindowKind::TimeSeriesGNS, WindowKind::TimeSeriesGLL,
    WindowKind::TimeSeriesRMC, WindowKind::TimeSeriesVTG, WindowKind::TimeSeriesHDT,
    WindowKind::TimeSeriesATT, WindowKind::TimeSeriesROT, WindowKind::TimeSeriesVHW,
    WindowKind::TimeSeriesDBT, WindowKind::TimeSeriesGSA, WindowKind::TimeSeriesGST,
    WindowKind::TimeSeriesGSV};

// The time-series kind of a sentence type, or none.
std::optional<WindowKind> timeSeriesKindOf(SentenceType type);

// A time-series kind whose sentence type the system analyses.
bool analysesKind(const SystemSetup& system, WindowKind kind);

// The constellation names the SNR time-series captions start with.
const char* snrConstellationName(int constellation);

}  // namespace tiderune
