#pragma once
// What the statistics window and the SNR statistics window of a system show: the reference,
// average-position and attitude labels of the top band, one statistics grid per analysed
// type with its columns, the five per-satellite SNR grids, and how the frames stack, all
// from the core's tables without Qt.
#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/statistics_tables.h"
#include "views/logic/numerics_view.h"

namespace tiderune {

// A statistics or SNR cell that no update has written yet (five blanks, then "n/a").
inline constexpr const char* StatisticsPlaceholder = "     n/a";
// The level rows of a column kept without levels (seven blanks, then "n/a").
inline constexpr const char* NoLevelText = "       n/a";
inline constexpr int StatisticsRows = 9;

using StatColumnTexts = std::array<std::string, StatisticsRows>;

struct StatisticsGrid {
    SentenceType type;
    const char* caption;                 // "GGA Statistics"
    std::span<const char* const> heads;  // row 0, columns 1..n
    bool greaterThan;                    // level rows read "68%  >" and "95%  >"
};

// The thirteen grids in the order the window lays them out: GGA, GNS, GLL, RMC, VTG, HDT,
// ATT, ROT, VHW, DBT, GSA, GSV, GST.
std::span<const StatisticsGrid> statisticsGrids();
const StatisticsGrid* statisticsGrid(SentenceType type);
// Column 0, rows 1..9.
std::array<const char*, StatisticsRows> statisticsRowLabels(bool greaterThan);

// Where a shown grid frame goes: stacked under the previous one, or beside its partner (VTG
// beside GLL, GSV beside GSA, ROT beside HDT or else ATT).
struct StatisticsPlacement {
    SentenceType type;
    bool beside = false;
    SentenceType partner = SentenceType::GGA;  // when beside
};
// The analysed types in stacking order GGA, GNS, GLL, RMC, VTG, GSA, GSV, GST, HDT, ATT,
// ROT, VHW, DBT, each with its placement.
std::vector<StatisticsPlacement> statisticsStack(const SystemSetup& system);

// The top band: the reference and average-position frames for a position type, their
// height rows for GGA or GNS, the heading frame for HDT or ATT (at the left edge when there
// are no position frames).
struct StatisticsTopBand {
    bool positions = false;
    bool heights = false;
    bool heading = false;
};
StatisticsTopBand statisticsTopBand(const SystemSetup& system);

// The labels of the top band that the window writes.
enum class StatLabel {
    RefLat, RefLon, RefHgt, RefPosOption, StartTime,
    AvgLat, AvgLon, SdLat, SdLon, AvgHgt, SdHgt, AvgPosCount, CurrentTime,
    RefHdg, RefPitch, RefRoll, RefHdgOption,
    AvgHdg, SdHdg, AvgHdgCount, AvgPitch, SdPitch, AvgPitchCount, AvgRoll, SdRoll, AvgRollCount,
};
inline constexpr int StatLabelCount = 26;
// The label's object name ("lblRefLat", ...).
const char* statLabelName(StatLabel label);

// One statistics column: rows 1..9 from a block, with or without its levels.
StatColumnTexts WriteStatisticsCells(const StatBlock& block, bool noLevels);
// One SNR column: rows 1..9 from a signal-to-noise block.
StatColumnTexts WriteSNRCells(const SNRStatBlock& block);

// The grid columns a type writes, in writing order: data column, block of the type's
// statistics, written without levels.
struct StatColumn {
    int column;
    int block;
    bool noLevels;
};
std::span<const StatColumn> statisticsColumns(SentenceType type);
// Block k of a type's statistics (GSV has none: its column comes from GSVStats).
const StatBlock& statisticsBlock(const SystemStatistics& stats, SentenceType type, int k);

// The statistics window of one system as it stands: its label texts, and what it still has
// to write. Per sentence it keeps only which types came, and the few labels that the window
// fills once (the reference and start time), which depend on the moment; the running labels
// and the grids are made when the window refreshes.
class StatisticsView {
public:
    // The window is laid out: captions and reference labels by the reference mode, every
    // other value label "n/a", nothing due.
    void load(const Config& config, int system);
    const std::string& label(StatLabel l) const { return labels_[static_cast<std::size_t>(l)]; }
    const StatisticsTopBand& topBand() const { return band_; }

    // The statistics of a sentence of the window's system were accumulated.
    void sentence(SentenceType type, const Config& config, const SystemStatistics& stats);
    bool any() const { return any_; }
    // Makes the running labels (when anything came) and the columns of every type that came
    // since the last call, handing the columns to `write` (type, data column, texts).
    void flush(const SystemStatistics& stats,
               const std::function<void(SentenceType, int, const StatColumnTexts&)>& write);

private:
    std::string& at(StatLabel l) { return labels_[static_cast<std::size_t>(l)]; }
    void writeReference(const Config& config, bool height);
    void writeAttitudeReference(const Config& config);

    int system_ = 1;
    StatisticsTopBand band_;
    std::array<std::string, StatLabelCount> labels_;
    std::array<bool, SentenceTypeCount> due_{};
    bool any_ = false;
    LatLonStyle style_;
};

// ---- SNR statistics ----

inline constexpr int SNRGridCount = 5;     // GPS, SBAS, GLONASS, BeiDou, Galileo
inline constexpr int SNRGridColumns = 32;  // satellites per grid

struct SNRGrid {
    const char* frame;    // "frameGSV_GPS"
    const char* grid;     // "fgGSV_GPS"
    const char* caption;  // "GSV/GPS SNR Statistics"
    const char* corner;   // row 0, column 0
};
std::span<const SNRGrid> snrGrids();
// Row 0 of column c (1..32) of grid g (0..4): "01", "33/120", "65/01", "101/01", "151/01".
std::string snrHead(int grid, int column);

// The SNR statistics window of one system: which grids are due.
class SNRStatisticsView {
public:
    // A GSV sentence's statistics were accumulated (any other type changes nothing).
    void sentence(SentenceType type, const SystemSetup& system);
    bool any() const { return due_; }
    void markDue() { due_ = true; }
    // The columns of the GPS, SBAS, GLONASS and BeiDou grids whose satellite was seen (a
    // count of at least 1 or its missing flag set), to `write` (grid 0..3, column, texts).
    // The Galileo grid has no statistics of its own and is never written.
    void flush(const SystemStatistics& stats, const std::function<void(int, int, const StatColumnTexts&)>& write);

private:
    bool due_ = false;
};

// The SNR window's frame scrolled by a bar at `value` (0..100): the offset of the frame's
// left (top) edge for a frame of `frameSize` in a window of `windowSize` twips.
double snrScrollOffset(int value, double frameSize, double windowSize);

}  // namespace tiderune
