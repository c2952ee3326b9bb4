#pragma once
// The sky plot of one system without its screen: the polar plot drawn on a drawing surface,
// the table of up to 50 satellites with their trends, the GSA panel and the elevation-mask
// box. GSA and GSV sentences of the system reach it only while its window is open; it keeps
// SatelliteTable (in the time-series engine) and, at each GSV group end, feeds the SNR
// windows. The Qt window copies the texts and shows the surface.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/core_state.h"
#include "platform/drawing_surface.h"
#include "timeseries/time_series_engine.h"

namespace tiderune {

inline constexpr int SkyplotRows = 50;

inline constexpr const char* InvalidElevationMaskMessage = "Invalid elevation mask. Must be within range 00-89 deg.";

struct ColouredText {
    std::string text;
    Colour colour = colours::Black;
};

// One row of the satellite table: satellite number, elevation, azimuth, SNR and a swatch.
struct SkyplotRow {
    ColouredText sv{"*"}, elevation{"*"}, azimuth{"*"}, snr{"*"};
    Colour swatch = colours::White;
};

// What a GSV sentence put in one row of the table.
struct SkyplotRowValues {
    bool shown = false;  // a satellite above the horizon: its numbers, else "*"
    std::int16_t prn = 0, elevation = 0, azimuth = 0, snr = 0;
    char elevationTrend = 0, azimuthTrend = 0;
    Colour svColour = colours::Black, elevationColour = colours::Black, snrColour = colours::Black;
    Colour swatch = colours::White;
};

// The satellite table. GSV sentences arrive far faster than the table is drawn (at most on
// each redraw tick), so a row keeps the values it was given and makes its texts when read.
class SkyplotTable {
public:
    const SkyplotRow& operator[](int row) const;
    void set(int row, const SkyplotRowValues& values);
    // Every group's end blanks the rows below it, most of them blank already.
    void blank(int row) {
        if (blank_[static_cast<std::size_t>(row)]) return;
        set(row, SkyplotRowValues{});
        blank_[static_cast<std::size_t>(row)] = true;
    }

private:
    IndexedArray<SkyplotRowValues, 1, SkyplotRows> values_{};
    mutable IndexedArray<SkyplotRow, 1, SkyplotRows> texts_{};
    mutable std::array<bool, SkyplotRows + 1> stale_{};
    // Rows blanked since they were last set (all, as they start).
    std::array<bool, SkyplotRows + 1> blank_ = [] {
        std::array<bool, SkyplotRows + 1> all{};
        all.fill(true);
        return all;
    }();
};

// Where a satellite stands in the plot's coordinates (-90..90, north up, zenith in the
// centre): radius 90 - elevation, the azimuth clockwise from north.
struct PlotPoint {
    double x = 0, y = 0;
};
PlotPoint skyplotPoint(double elevation, double azimuth);

class SkyplotForm {
public:
    SkyplotForm(CoreState& core, TimeSeriesEngine& engine, DrawingSurface& surface);

    // The window opened for `system`: the mask box and the polar background.
    void load(int system);
    int system() const { return system_; }

    // A GSA sentence of the system: the panel, and the satellites used in the fix.
    void UpdateSkyplotGSA();
    // A GSV sentence of the system: its satellites into SatelliteTable and the table; at the
    // group's last sentence the plot is drawn and the SNR windows are fed. A group clears
    // and feeds only its talker's satellites (gsvGroupCovers).
    void DrawSkyplotGSV();
    // Groups end far more often than the plot is shown: a group's end keeps where its
    // satellites go, and the surface is drawn from that when the window shows it (the last
    // group's, unless a new mask cleared it since).
    void drawPlot();

    // The mask box lost the focus holding `text`. False when the value is refused: the
    // caller shows InvalidElevationMaskMessage and puts the focus back.
    bool txtElMask_LostFocus(const std::string& text);

    // Rings, axes and their labels, and the dashed mask ring, kept as the background.
    void drawBackground(bool clearFirst);

    SkyplotTable rows;
    // The panel's GSA lines: a GSA sentence keeps its values, their texts are made when read
    // (a receiver sends a GSA per constellation each epoch, the window reads them far less).
    const ColouredText& lblCurrentMode() const { return mode_.text(); }
    const std::string& lblPdop() const { return dops_[0].text(); }
    const std::string& lblHdop() const { return dops_[1].text(); }
    const std::string& lblVdop() const { return dops_[2].text(); }
    std::string lblSvsInView = "n/a";
    // Line 0-4: GPS, SBAS, GLONASS, BeiDou, Galileo.
    const std::string& lblUsedSvs(std::size_t line) const { return used_[line].text(); }
    static constexpr std::size_t UsedSvsLines = 5;
    std::string txtElMask;

    // Bumped whenever a text changes, and whenever the surface is drawn on, so the screen
    // copies only what changed.
    unsigned long long textGeneration() const { return texts_; }
    unsigned long long plotGeneration() const { return plot_; }

private:
    SatelliteRecords& satellites() { return engine_.SatelliteTable[system_]; }

    // A dilution by FormatOrNA with "0.0", made when read; "xx.xx" until a GSA came.
    class DopText {
    public:
        void set(float v);
        const std::string& text() const;

    private:
        float value_ = 0;
        bool set_ = false;
        mutable std::string text_ = "xx.xx";
        mutable bool stale_ = false;
    };
    std::array<DopText, 3> dops_;

    // "Fix Not Available" in red for fix type 1, else the type, "D" and the selection mode.
    class ModeText {
    public:
        void set(std::int16_t fixType, char selectionMode);
        const ColouredText& text() const;

    private:
        std::int16_t fixType_ = 0;
        char selectionMode_ = 0;
        bool set_ = false;
        mutable ColouredText text_{"n/a"};
        mutable bool stale_ = false;
    };
    ModeText mode_;

    // The count and the numbers in rising order of the satellites used; "none" until a GSA
    // gave the line any.
    class UsedSvsText {
    public:
        void set(const std::array<std::int16_t, 12>& sorted, int count);
        const std::string& text() const;

    private:
        std::array<std::int16_t, 12> prns_{};
        int count_ = -1;
        mutable std::string text_ = "none";
        mutable bool stale_ = false;
    };
    std::array<UsedSvsText, UsedSvsLines> used_;

    CoreState& core_;
    TimeSeriesEngine& engine_;
    DrawingSurface& surface_;
    int system_ = 1;
    // A GSV sentence came since the last GSA: the next GSA may start the used flags afresh.
    bool gsvSinceGsa_ = true;
    // The satellites in view that lblSvsInView shows.
    std::int16_t svsInView_ = MissingValue;
    unsigned long long texts_ = 0;
    unsigned long long plot_ = 0;
    // What the group's end keeps of a satellite for the plot: its place is worked out only
    // when the plot is drawn, as most groups are never shown.
    struct PlottedSatellite {
        std::int16_t prn, elevation, azimuth;
        Colour colour;
    };
    std::vector<PlottedSatellite> plotted_;
    bool plotPending_ = false;
};

}  // namespace tiderune
