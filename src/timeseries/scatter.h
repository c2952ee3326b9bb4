#pragma once
// The scatter plot of a system: every position of the run as one point of its east and north
// offsets from the reference, on two axes kept symmetric round the reference, either wide
// enough for the points so far or at a half-range the user fixed in the scale dialog.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/core_state.h"

namespace tiderune {

class Chart;
class Series;

// How the scatter update reaches a system's scatter chart: afresh for every sentence, so a
// window re-created by a reset is the one fed; the window is loaded hidden when it is not.
// Null when the program has no scatter window.
class ScatterWindows {
public:
    virtual ~ScatterWindows() = default;
    virtual Chart* scatterChart(int system) = 0;
};

// A window that holds a scatter chart.
class ScatterChartHolder {
public:
    virtual ~ScatterChartHolder() = default;
    virtual Chart& scatterChart() = 0;
};

// The designed scatter chart put onto an empty chart: the point series, the dummy series of
// the two titled extra axes, the crossing axes at -1..1 and the two dashed colour lines.
void buildScatterChart(Chart& chart);

// The title of an extra axis for the half-range r: "Northing +/- 3 m" when r is whole (the
// number's Str form), otherwise "Northing +/- 2.5 m" (one decimal).
std::string scatterAxisTitle(const char* name, float r);

// The half-range the next point is drawn at. Automatic: the whole part of the largest
// coordinate magnitude the series already holds, plus 1 (1 for an empty series). Fixed: the
// given half-range; one of 0 or less (or not a number) could not make an axis, so the
// automatic range stands in for it.
float scatterHalfRange(const Series& points, bool autoScale, float fixed);

// The positions a scatter series holds, each once as far as a bounded table remembers them: a
// receiver that stands still sends the same few positions again and again for weeks, and a
// point already on the plot in the system's colour (one for the whole run) adds nothing to it.
// A vessel under way sends a new position every time: the table grows to 2^17 positions
// (2 MiB) at most, then forgets them all and takes them again from the positions that come;
// a position forgotten and sent again is a second point on the same spot, which the plot shows
// alike. Kept in step with the series: when the series is another one, or was cleared or cut,
// the table is taken from its newest points afresh.
class HeldPositions {
public:
    // True when (east, north) was not held yet; it is held from now on.
    bool insert(const Series& points, float east, float north);
    std::size_t size() const { return size_; }

    static constexpr std::size_t MaxSlots = std::size_t{1} << 18;

private:
    static std::uint64_t key(float east, float north);
    bool insertKey(std::uint64_t k);
    void rebuild(const Series& points);

    // Open addressing, linear probing, at most half full; Empty is the key of two NaNs,
    // which the plot never holds.
    static constexpr std::uint64_t Empty = ~std::uint64_t{0};
    std::vector<std::uint64_t> slots_;
    std::size_t size_ = 0;
    const Series* series_ = nullptr;
    int count_ = 0;
};

class ScatterUpdate {
public:
    ScatterUpdate(CoreState& core, ScatterWindows& windows, const PerSystem<std::uint32_t>& systemColour)
        : core_(core), windows_(windows), systemColour_(systemColour) {}

    // Every GGA, GNS, GLL, RMC and GST sentence of a system: a position sentence whose north
    // offset was missing adds nothing; GST never adds a point.
    void DispatchPositionToScatter(int system, SentenceType type);
    // Adds the point (east, north) in the system's colour, first moving both axes when the
    // half-range changed, and moves the two colour lines onto it.
    void UpdateScatter(int system, float north, float east);

    // The window of `system` loaded onto `chart`: title in the system's colour and words,
    // colour lines in its colour, automatic scaling, the extra axes' titles for 1 m.
    void LoadScatter(Chart& chart, int system);

    PerSystem<bool> ScatterAutoScale{};  // set by every load of the window
    PerSystem<float> ScatterScale{};     // metres; the fixed half-range
    std::int16_t ScatterAxisSystem = 0;  // the system whose chart opened the scale dialog

    // The half-range last applied to each system's axes; never reset.
    PerSystem<float> LastScatterScale{};

    // What the system's scatter series holds, each position once.
    const HeldPositions& heldPositions(int system) const { return held_[system]; }

private:
    CoreState& core_;
    ScatterWindows& windows_;
    PerSystem<HeldPositions> held_;
    const PerSystem<std::uint32_t>& systemColour_;
};

// The scale dialog (frmXYAxis) without its screen, for system s of `scatter`.
struct XYAxisForm {
    bool chkAutomatic = false;
    std::string txtMax = "0";
    bool txtMaxEnabled() const { return !chkAutomatic; }

    // The load: the half-range in use (automatic: the chart's left-axis maximum, as last
    // applied) or the fixed one, and the box.
    void load(const ScatterUpdate& scatter, const Chart& chart, int s);
    // OK: automatic, or fixed at the typed number ("," accepted as decimal separator).
    // Nothing is redrawn: the axes follow with the next point.
    void ok(ScatterUpdate& scatter, int s) const;
};

}  // namespace tiderune
