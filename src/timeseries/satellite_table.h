#pragma once
// The satellites of every system as the sky plot last took them in from GSA and GSV, and the
// colour each satellite has in the GSA and GSV time series. Lives for the whole run: no
// reset clears it. The sky plot writes positions and signal, the GSA and GSV windows write
// the colours, and the GSV and SNR series read it.
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/indexed.h"
#include "core/records.h"
#include "platform/chart_types.h"

namespace tiderune {

// Satellite numbers as they arrive in GSA and GSV sentences.
inline constexpr int MaxPRN = 151;

inline constexpr bool isTablePRN(long long prn) noexcept { return prn >= 1 && prn <= MaxPRN; }

struct SatelliteRecord {
    bool UsedInFix = false;          // listed in a GSA sentence of the system
    std::int16_t TableRow = 0;       // row 1-50 of the sky plot's table it was last listed in
    std::int16_t Elevation = 0;      // degrees; 0 when not in view
    std::int16_t PreviousElevation = 0;
    char ElevationTrend = 0;         // 'u', 'd', ' '; no character until the first change
    std::int16_t Azimuth = 0;        // degrees
    std::int16_t PreviousAzimuth = 0;
    char AzimuthTrend = 0;           // '>', '<', ' '
    std::int16_t SNR = 0;            // MissingValue when the field was empty
    std::optional<double> LastDrawn;  // PC clock when last drawn in the plot
    Colour ChartColour = 0;          // its series' colour in the GSA and GSV windows
};

using SatelliteRecords = IndexedArray<SatelliteRecord, 1, MaxPRN>;
using SatelliteTables = PerSystem<SatelliteRecords>;

// Where a satellite's SNR, elevation and azimuth go among the SNR windows: constellation
// 1 GPS, 2 SBAS, 3 GLONASS, 4 BeiDou (5 Galileo gets nothing), and the chart of that window.
struct SNRChartPlace {
    int constellation = 0;  // 0: the satellite has no SNR chart
    int chart = 0;
};

constexpr SNRChartPlace snrChartOf(int prn) noexcept {
    if (prn >= 1 && prn < 33) return {1, prn};
    if (prn >= 33 && prn < 65) return {2, prn - 32};
    if (prn >= 65 && prn < 97) return {3, prn - 64};
    if (prn >= 100 && prn < 133) return {4, prn - 100};
    return {};
}

// Whether a GSV group from `talker` speaks for satellite `prn`, by the constellations of the
// SNR windows: GP for GPS and SBAS, GL for GLONASS, GB and BD for BeiDou, GA for Galileo (which
// has no numbers here). A receiver sends one group per talker each epoch, so a group clears
// and feeds only its own satellites; GN and any other talker speak for all of them.
// GsvCoverage holds the answer for one talker, its name looked at once for a whole group.
class GsvCoverage {
public:
    constexpr explicit GsvCoverage(std::string_view talker) noexcept
        : constellations_(talker == "GP"                     ? 0b00110
                          : talker == "GL"                   ? 0b01000
                          : talker == "GB" || talker == "BD" ? 0b10000
                          : talker == "GA"                   ? 0
                                                             : All) {}
    constexpr bool covers(int prn) const noexcept {
        return constellations_ == All || (constellations_ >> snrChartOf(prn).constellation & 1) != 0;
    }
    // f(prn) for every satellite number from 1 to last that covers() holds, in rising order,
    // going over the talker's own number ranges only (a group's end feeds them all).
    template <class F>
    constexpr void forEachCovered(int last, F&& f) const {
        if (constellations_ == All) {
            for (int prn = 1; prn <= last; ++prn) f(prn);
            return;
        }
        constexpr int first[] = {0, 1, 33, 65, 100};
        constexpr int end[] = {0, 33, 65, 97, 133};  // one past each constellation's numbers
        for (int c = 1; c <= 4; ++c)
            if ((constellations_ >> c & 1) != 0)
                for (int prn = first[c]; prn < end[c] && prn <= last; ++prn) f(prn);
    }

private:
    static constexpr unsigned All = ~0u;
    unsigned constellations_;  // bit c: SNR constellation c (1-4)
};
constexpr bool gsvGroupCovers(std::string_view talker, int prn) noexcept { return GsvCoverage(talker).covers(prn); }

// Which satellites' used lines a GSA sentence can end. A receiver sends one GSA sentence per
// fix, or one per constellation (GPGSA and GLGSA, or four GNGSA every second): a satellite
// left out of another constellation's sentence has not left the fix. A sentence that carries
// its constellation's number (NMEA 4.10 on) names that one alone: such receivers number
// Galileo and BeiDou satellites from 1 too, so the numbers listed tell nothing. Otherwise a
// sentence names the constellation of its talker (GP GPS, with SBAS as NMEA numbers it; GL
// GLONASS; GB and BD BeiDou) and those of the satellites it lists (1-64, 65-99, 100-151).
// A GN sentence that lists none names none: without a fix no satellite is in use in any
// constellation; with a fix it is the sentence of a constellation that has none in it, and
// does not say which. A sentence that shares a constellation with the one before it is the
// next fix of a receiver that sends one per fix: it also speaks for that one's
// constellations, so a constellation that leaves the fix whole ends its lines.
class GsaScope {
public:
    GsaScope(const GSARecord& r, unsigned namedBefore) noexcept : named_(talkerBits(r.Talker)) {
        if (r.SystemId > 0) {
            named_ = systemBits(r.SystemId);
        } else {
            for (int i = 1; i <= 12; ++i)
                if (isTablePRN(r.PRN[i])) named_ |= bitOf(r.PRN[i]);
            if (named_ == 0 && r.FixType != 2 && r.FixType != 3) named_ = All;
        }
        covered_ = (named_ & namedBefore) != 0 ? named_ | namedBefore : named_;
    }
    // The constellations the sentence names: the next sentence's namedBefore.
    unsigned named() const noexcept { return named_; }
    bool covers(int prn) const noexcept { return (covered_ & bitOf(prn)) != 0; }

private:
    static constexpr unsigned All = 0b111;
    static constexpr unsigned bitOf(int prn) noexcept { return prn <= 64 ? 0b001 : prn <= 99 ? 0b010 : 0b100; }
    // 1 GPS, 2 GLONASS, 4 BeiDou; any other constellation (3 Galileo, 5 QZSS...) a bit of its
    // own that covers no line.
    static constexpr unsigned systemBits(int id) noexcept {
        return id == 1 ? 0b001 : id == 2 ? 0b010 : id == 4 ? 0b100 : id < 16 ? 0b1000u << id : 0b1000;
    }
    static unsigned talkerBits(std::string_view t) noexcept {
        return t == "GP" ? 0b001 : t == "GL" ? 0b010 : t == "GB" || t == "BD" ? 0b100 : 0;
    }
    unsigned named_;
    unsigned covered_;
};

// A GSV sentence that belongs to a group: a count of at least 1 and a number within it. Any
// other GSV sentence tells only how many satellites are in view: it neither opens nor ends a
// group, and blanks nothing.
constexpr bool isGroupSentence(const GSVRecord& r) noexcept {
    return r.SentenceCount >= 1 && r.SentenceNumber >= 1 && r.SentenceNumber <= r.SentenceCount;
}
constexpr bool isGroupEnd(const GSVRecord& r) noexcept {
    return isGroupSentence(r) && r.SentenceNumber == r.SentenceCount;
}

}  // namespace tiderune
