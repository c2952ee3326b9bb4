#include "processing.h"

#include <cmath>
#include <numbers>
#include <string_view>

#include "errors.h"
#include "geodetic.h"
#include "sentence_types.h"

namespace tiderune {

namespace {

constexpr float Missing = MissingValueF;

// First-sample dates come from the PC clock, read only when a record starts.
class ClockDates final : public StatDateSource {
public:
    explicit ClockDates(const PcClock& clock) : clock_(clock) {}
    std::string todayText() const override { return formatDayMonthYear(clock_.now()); }

private:
    const PcClock& clock_;
};

// A GNS fix needs at least one constellation whose mode is not "N"; an empty mode field
// carries no fix either.
bool gnsHasFix(std::string_view mode) {
    for (char c : mode)
        if (c != 'N') return true;
    return false;
}

// The time of day of the first eight characters of a "hh:mm:ss" text.
bool sentenceTime(std::string_view text, double& dayFraction) {
    return timeOfDayFromText(text.substr(0, 8), dayFraction);
}

// What the parsers make of an empty time field: the time is not available (a receiver
// without a fix yet), which is no error.
bool timeGiven(std::string_view text) { return text != "::"; }

[[noreturn]] void typeMismatch() { throw RuntimeError(err::TypeMismatch, "Type mismatch"); }

// A reference taken from a sample: a missing value never becomes one.
template <typename Ref, typename Value>
void takeReference(Ref& ref, Value v) {
    if (v != Value(Missing)) ref = static_cast<Ref>(v);
}

[[noreturn]] void overflow() { throw RuntimeError(err::Overflow, "Overflow"); }

// A deviation that does not fit a single is an overflow, as for any single-precision result.
float singleDifference(float value, float reference) {
    const float d = value - reference;
    if (!std::isfinite(d)) overflow();
    return d;
}

float headingDeviation(float heading, float reference) {
    if (heading == Missing || reference == Missing) return Missing;
    float dev = singleDifference(heading, reference);
    if (dev > 180) dev -= 360;
    if (dev < -180) dev += 360;
    return dev;
}

float plainDeviation(float value, float reference) {
    if (value == Missing || reference == Missing) return Missing;
    return singleDifference(value, reference);
}

// An ATT deviation beyond the outlier limit is rejected; a limit of 0 means no test.
float outlierChecked(float dev, float limit) {
    if (dev != Missing && limit != 0 && std::fabs(dev) > limit) return Missing;
    return dev;
}

bool withinOutlierLimit(float value, float reference, float limit) {
    return limit == 0 || !(std::fabs(value - reference) > limit);
}

struct Context {
    CoreState& st;
    int s;
    Config& cfg;
    NMEAMessageSet& msg;
    AnalysisState& an;
    SystemStatistics& stats;
    ClockDates dates;
};

void setPositionReference(Context& c, double lat, double lon) {
    if (c.cfg.ReferenceMode[c.s] != 0 || c.stats.LatitudeStats.count != 0) return;
    takeReference(c.cfg.ReferenceLat[c.s], lat);
    takeReference(c.cfg.ReferenceLon[c.s], lon);
}

// An empty position field reads as 0: latitude and longitude both 0 is no position, neither
// for the offsets nor for the running position (it would drag the average, and with it an
// averaged reference, towards 0 N 0 E).
bool hasPosition(double lat, double lon) { return lat != MissingValueD && !(lat == 0 && lon == 0); }

// The first height sample becomes the reference height, whichever sentence gave the first
// position: after a GLL or RMC the height would otherwise stay at 0 and its "deviation"
// would be the whole altitude.
void setHeightReference(Context& c, float altitude) {
    if (c.cfg.ReferenceMode[c.s] != 0 || c.stats.HeightStats.count != 0) return;
    takeReference(c.cfg.ReferenceHeight[c.s], altitude);
}

// Longitudes are accumulated on the side of the 180th meridian where the first one lay, so
// a track across it averages to a point on the track, not to the far side of the earth (an
// averaged reference would otherwise put the ship some 20,000 km away). The mean is given
// back as a longitude within +-180 degrees; the extremes stay on the first sample's side.
void addLongitude(Context& c, double lon, std::string_view label) {
    StatRecordDbl& r = c.stats.LongitudeStats;
    constexpr double pi = std::numbers::pi;
    double sample = lon;
    if (r.count > 0 && std::fabs(lon - r.x0) > pi) sample = r.x0 + std::remainder(lon - r.x0, 2 * pi);
    UpdateStatRecordDbl(r, sample, label, c.dates);
    r.lastValue = lon;
    if (r.mean > pi || r.mean < -pi) r.mean = std::remainder(r.mean, 2 * pi);
}

void addPosition(Context& c, double lat, double lon, std::string_view label) {
    if (!hasPosition(lat, lon)) return;
    UpdateStatRecordDbl(c.stats.LatitudeStats, lat, label, c.dates);
    addLongitude(c, lon, label);
}

// The time of day of a ZDA time field "hhmmss.ss"; a fraction is dropped.
bool zdaTime(std::string_view field, double& dayFraction) {
    if (field.size() < 6) return false;
    const char text[8] = {field[0], field[1], ':', field[2], field[3], ':', field[4], field[5]};
    return timeOfDayFromText(std::string_view(text, 8), dayFraction);
}

// The time of day the next position sentence's time is compared with to see a midnight
// crossing. A date given by RMC or ZDA starts the comparison afresh from that sentence's own
// time: the date and that time belong together, so a position time that follows it lies on
// that date unless it steps back across midnight from there.
void rebaseTimeOfDay(Context& c, double dayFraction) {
    c.an.lastTimeOfDay[c.s] = dayFraction;
    c.an.timeOfDaySeen[c.s] = true;
}

// A position sentence without a date (GGA, GNS, GLL) lies on the current date, or on the
// next one when its time of day steps back by more than half a day from the last sentence
// time: a sentence out of order, or a PC time mixed with sentence times, must not throw the
// charts a day ahead. The step is measured from the last sentence time, not from a PC time
// that came in between, so a crossing is not lost when other sentences take the PC time.
void setEpochFromTimeOfDay(Context& c, double dayFraction) {
    const int s = c.s;
    if (c.an.timeOfDaySeen[s] && std::llround((dayFraction - c.an.lastTimeOfDay[s]) * 86400.0) < -43200)
        c.st.SentenceDate[s] += 1;
    c.st.EpochTime[s] = c.st.SentenceDate[s] + dayFraction;
    rebaseTimeOfDay(c, dayFraction);
}

// The reference, epoch time and running records of one analysed sentence.
void updateEpochAndReference(Context& c, SentenceType type) {
    const int s = c.s;
    const bool paused = c.st.run.OnlinePaused;
    switch (type) {
    case SentenceType::GGA: {
        const GGARecord& r = c.msg.GGA;
        double t;
        if (sentenceTime(r.Time, t)) setEpochFromTimeOfDay(c, t);
        setPositionReference(c, r.Latitude, r.Longitude);
        setHeightReference(c, r.Altitude);
        if (!paused && r.Quality != 0) {
            addPosition(c, r.Latitude, r.Longitude, r.Time);
            UpdateStatRecord(c.stats.HeightStats, r.Altitude, r.Time, c.dates);
        }
        break;
    }
    case SentenceType::GNS: {
        const GNSRecord& r = c.msg.GNS;
        double t;
        if (sentenceTime(r.Time, t)) setEpochFromTimeOfDay(c, t);
        setPositionReference(c, r.Latitude, r.Longitude);
        setHeightReference(c, r.Altitude);
        if (!paused && gnsHasFix(r.ModeIndicator)) {
            addPosition(c, r.Latitude, r.Longitude, r.Time);
            UpdateStatRecord(c.stats.HeightStats, r.Altitude, r.Time, c.dates);
        }
        break;
    }
    case SentenceType::GLL: {
        const GLLRecord& r = c.msg.GLL;
        if (timeGiven(r.Time)) {
            double t;
            if (!sentenceTime(r.Time, t)) typeMismatch();
            setEpochFromTimeOfDay(c, t);
        }
        setPositionReference(c, r.Latitude, r.Longitude);
        if (!paused && r.Status == 'A') addPosition(c, r.Latitude, r.Longitude, r.Time);
        break;
    }
    case SentenceType::RMC: {
        const RMCRecord& r = c.msg.RMC;
        // Both conversions first: a bad date or time leaves date and epoch as they were. An
        // empty field is not available (no fix yet, or a talker that never sends a date):
        // it leaves what it would have set as it is, and the time alone then counts like a
        // GLL time on the current date.
        const bool dateGiven = !r.Date.empty();
        const double date = dateGiven ? dateFromRmcText(r.Date) : 0;
        double t = 0;
        if (timeGiven(r.Time) && !sentenceTime(r.Time, t)) typeMismatch();
        if (!dateGiven) {
            if (timeGiven(r.Time)) setEpochFromTimeOfDay(c, t);
        } else if (timeGiven(r.Time)) {
            // A date from the sentence is never rolled over.
            c.st.SentenceDate[s] = date;
            c.st.EpochTime[s] = date + t;
            rebaseTimeOfDay(c, t);
        } else {
            c.st.SentenceDate[s] = date;
            c.an.timeOfDaySeen[s] = false;  // the next position time lies on this date
        }
        setPositionReference(c, r.Latitude, r.Longitude);
        if (!paused && r.Status == "A") addPosition(c, r.Latitude, r.Longitude, r.Time);
        break;
    }
    case SentenceType::ZDA: {
        const ZDARecord& r = c.msg.ZDA;
        // Empty date fields (a receiver that has no date yet): nothing to set.
        if (r.Day == MissingValue || r.Month == MissingValue || r.Year == MissingValue) break;
        c.st.SentenceDate[s] = dateFromYmd(r.Year, r.Month, r.Day);
        double t;
        if (zdaTime(r.Time, t))
            rebaseTimeOfDay(c, t);
        else
            c.an.timeOfDaySeen[s] = false;  // the next position time lies on this date
        break;
    }
    case SentenceType::HDT: {
        const HDTRecord& r = c.msg.HDT;
        if (c.cfg.ReferenceMode[s] == 0 && c.stats.HeadingStats.count == 0)
            takeReference(c.cfg.ReferenceHeading[s], r.Heading);
        if (!paused) UpdateStatRecord(c.stats.HeadingStats, r.Heading, formatClock(c.st.EpochTime[s]).view(), c.dates);
        break;
    }
    case SentenceType::ATT: {
        const ATTRecord& r = c.msg.ATT;
        if (c.cfg.ReferenceMode[s] == 0 && c.stats.HeadingStats.count == 0) {
            takeReference(c.cfg.ReferenceHeading[s], r.Heading);
            takeReference(c.cfg.ReferencePitch[s], r.Pitch);
            takeReference(c.cfg.ReferenceRoll[s], r.Roll);
        }
        if (!paused) {
            // The test is a plain difference: a heading of 359 against 1 is 358 off.
            const float limit = c.cfg.OutlierLimit;
            const ClockText label = formatClock(c.st.EpochTime[s]);
            if (withinOutlierLimit(r.Heading, c.cfg.ReferenceHeading[s], limit))
                UpdateStatRecord(c.stats.HeadingStats, r.Heading, label.view(), c.dates);
            if (withinOutlierLimit(r.Pitch, c.cfg.ReferencePitch[s], limit))
                UpdateStatRecord(c.stats.PitchStats, r.Pitch, label.view(), c.dates);
            if (withinOutlierLimit(r.Roll, c.cfg.ReferenceRoll[s], limit))
                UpdateStatRecord(c.stats.RollStats, r.Roll, label.view(), c.dates);
        }
        break;
    }
    default:
        break;
    }
}

// North, east and horizontal offsets of a position from the reference; missing when the
// position or the reference is unusable.
void positionOffsets(Context& c, double lat, double lon, bool usable) {
    EpochValueSet& e = c.an.EpochValues[c.s];
    const double refLat = c.cfg.ReferenceLat[c.s], refLon = c.cfg.ReferenceLon[c.s];
    if (usable && hasPosition(lat, lon) && refLat != MissingValueD &&
        refLon != MissingValueD) {
        DeltaNE_WGS84(refLat, refLon, lat, lon, e.EpochNorth, e.EpochEast);
        const double n = e.EpochNorth, east = e.EpochEast;
        e.EpochHorizontalError = static_cast<float>(std::sqrt(east * east + n * n));
    } else {
        e.EpochNorth = e.EpochEast = e.EpochHorizontalError = Missing;
    }
}

template <typename Table>
void addBlocks(Context& c, Table& table, std::initializer_list<float> values, std::string_view label) {
    int k = Table::lower;
    for (float v : values) AddSample(v, table[k++], label, c.dates);
}

float single(std::int16_t v) { return static_cast<float>(v); }

// The satellite's element in its constellation's SNR table; none for numbers outside every
// table. 64 and 100 continue the ranges below them (SBAS 32, GLONASS 36).
SNRStatBlock* snrBlock(SystemStatistics& st, int prn) {
    if (prn <= 0) return nullptr;
    if (prn <= 32) return &st.GPSSNRStats[prn];
    if (prn <= 64) return &st.SBASSNRStats[prn - 32];
    if (prn <= 100) return &st.GLONASSSNRStats[prn - 64];
    if (prn <= 149) return &st.BeiDouSNRStats[prn - 100];
    return nullptr;
}

}  // namespace

void StoreEpochValues(CoreState& st, int s, SentenceType type) {
    Context c{st, s, st.config, st.NMEAMessages[s], st.analysis, st.analysis.statistics(s), ClockDates(*st.analysis.clock)};
    if (!c.cfg.Systems[s].analysed(type)) return;
    // Types without epoch values: not even a time label to make (VDM comes by the thousand).
    if (type == SentenceType::ZDA || type == SentenceType::TTM || type == SentenceType::VDM) return;
    EpochValueSet& e = c.an.EpochValues[s];
    SystemStatistics& t = c.stats;
    const ClockText clock = formatClock(st.EpochTime[s]);
    const std::string_view label = clock.view();

    switch (type) {
    case SentenceType::GGA: {
        const GGARecord& r = c.msg.GGA;
        positionOffsets(c, r.Latitude, r.Longitude, r.Quality != 0);
        e.EpochHeightDiff = plainDeviation(r.Altitude, c.cfg.ReferenceHeight[s]);
        if (r.Quality < 1) return;
        addBlocks(c, t.GGAStats,
                  {e.EpochHorizontalError, e.EpochNorth, e.EpochEast, e.EpochHeightDiff, r.GeoidSeparation,
                   single(r.Quality), single(r.Satellites), r.HDOP, r.DGPSAge},
                  r.Time);
        break;
    }
    case SentenceType::GNS: {
        const GNSRecord& r = c.msg.GNS;
        positionOffsets(c, r.Latitude, r.Longitude, true);
        e.EpochHeightDiff = plainDeviation(r.Altitude, c.cfg.ReferenceHeight[s]);
        if (!gnsHasFix(r.ModeIndicator)) return;
        addBlocks(c, t.GNSStats,
                  {e.EpochHorizontalError, e.EpochNorth, e.EpochEast, e.EpochHeightDiff, r.GeoidSeparation,
                   single(r.Satellites), r.HDOP, r.DGPSAge},
                  r.Time);
        break;
    }
    case SentenceType::GLL: {
        const GLLRecord& r = c.msg.GLL;
        if (r.Status != 'A') return;
        positionOffsets(c, r.Latitude, r.Longitude, true);
        addBlocks(c, t.GLLStats, {e.EpochHorizontalError, e.EpochNorth, e.EpochEast}, label);
        break;
    }
    case SentenceType::RMC: {
        const RMCRecord& r = c.msg.RMC;
        if (r.Status != "A") return;
        positionOffsets(c, r.Latitude, r.Longitude, true);
        addBlocks(c, t.RMCStats, {e.EpochHorizontalError, e.EpochNorth, e.EpochEast, r.SpeedKnots, r.CourseTrue},
                  label);
        break;
    }
    case SentenceType::VTG:
        addBlocks(c, t.VTGStats, {c.msg.VTG.SpeedKnots, c.msg.VTG.CourseTrue}, label);
        break;
    case SentenceType::HDT:
        e.EpochHeadingDev = headingDeviation(c.msg.HDT.Heading, c.cfg.ReferenceHeading[s]);
        addBlocks(c, t.HDTStats, {e.EpochHeadingDev}, label);
        break;
    case SentenceType::ATT: {
        const ATTRecord& r = c.msg.ATT;
        const float limit = c.cfg.OutlierLimit;
        e.EpochHeadingDev = outlierChecked(headingDeviation(r.Heading, c.cfg.ReferenceHeading[s]), limit);
        e.EpochPitchDev = outlierChecked(plainDeviation(r.Pitch, c.cfg.ReferencePitch[s]), limit);
        e.EpochRollDev = outlierChecked(plainDeviation(r.Roll, c.cfg.ReferenceRoll[s]), limit);
        addBlocks(c, t.ATTStats, {e.EpochHeadingDev, e.EpochPitchDev, e.EpochRollDev}, label);
        break;
    }
    case SentenceType::ROT:
        if (c.msg.ROT.Status != 'A') return;
        addBlocks(c, t.ROTStats, {c.msg.ROT.RateOfTurn}, label);
        break;
    case SentenceType::VHW:
        addBlocks(c, t.VHWStats, {c.msg.VHW.SpeedKnots, c.msg.VHW.HeadingTrue, c.msg.VHW.HeadingMagnetic}, label);
        break;
    case SentenceType::DBT:
        addBlocks(c, t.DBTStats, {c.msg.DBT.DepthMetres}, label);
        break;
    case SentenceType::GSA:
        addBlocks(c, t.GSAStats, {c.msg.GSA.PDOP, c.msg.GSA.HDOP, c.msg.GSA.VDOP}, label);
        break;
    case SentenceType::GST: {
        const GSTRecord& r = c.msg.GST;
        addBlocks(c, t.GSTStats,
                  {r.RMS, r.SdSemiMajor, r.SdSemiMinor, single(r.Orientation), r.SdLatitude, r.SdLongitude,
                   r.SdAltitude},
                  label);
        break;
    }
    case SentenceType::GSV: {
        const GSVRecord& r = c.msg.GSV;
        if (r.SentenceNumber == r.SentenceCount) AddSampleNonZero(single(r.SatellitesInView), t.GSVStats, label, c.dates);
        for (int k = 1; k <= 4; ++k) {
            if (SNRStatBlock* b = snrBlock(t, r.PRN[k])) AddSampleNonZero(single(r.SNR[k]), *b, label, c.dates);
        }
        break;
    }
    case SentenceType::ZDA:
    case SentenceType::TTM:
    case SentenceType::VDM:
        break;
    }
}

void ProcessMessageType(CoreState& st, CoreSink& sink, int s, SentenceType type) {
    Context c{st, s, st.config, st.NMEAMessages[s], st.analysis, st.analysis.statistics(s), ClockDates(*st.analysis.clock)};

    if (c.cfg.SetTimeFromPC[s]) {
        st.EpochTime[s] = st.analysis.clock->now();
    }
    if (!c.cfg.Systems[s].analysed(type)) return;

    updateEpochAndReference(c, type);
    st.PreviousEpochTime[s] = st.EpochTime[s];  // midnight crossings are seen as the epoch is set

    const VisibleForms& open = c.cfg.WindowVisible[s];
    if (open[VisibleForms::Numerics]) sink.updateNumericsWindow(s, type);
    if (open[VisibleForms::ARPATargets]) sink.updateARPATargetGrid(s, type);
    if (open[VisibleForms::AISTargets]) sink.updateAISTargetGrid(s, type);
    if (st.run.OnlinePaused && c.cfg.Mode == "ONLINE") return;

    if (c.cfg.ReferenceMode[s] == 1) {
        c.cfg.ReferenceLat[s] = c.stats.LatitudeStats.mean;
        c.cfg.ReferenceLon[s] = c.stats.LongitudeStats.mean;
        c.cfg.ReferenceHeight[s] = c.stats.HeightStats.mean;
        c.cfg.ReferenceHeading[s] = c.stats.HeadingStats.mean;
        c.cfg.ReferencePitch[s] = c.stats.PitchStats.mean;
        c.cfg.ReferenceRoll[s] = c.stats.RollStats.mean;
    }
    StoreEpochValues(st, s, type);
    if (open[VisibleForms::Statistics]) sink.updateStatisticsWindow(s, type);
    sink.updateTimeSeriesCharts(s, type);
    switch (type) {
    case SentenceType::GGA:
    case SentenceType::GNS:
    case SentenceType::GLL:
    case SentenceType::RMC:
    case SentenceType::GST:
        sink.dispatchPositionToScatter(s, type);
        break;
    default:
        break;
    }
    if (type == SentenceType::GSA && open[VisibleForms::Skyplot]) sink.updateSkyplotGSA(s);
    if (type == SentenceType::GSV && open[VisibleForms::Skyplot]) sink.drawSkyplotGSV(s);
}

void SetAnalysedMessageTypes(Config& config, int s) {
    SystemSetup& sys = config.Systems[s];
    for (SentenceType t : AllSentenceTypes) sys.analysed(t) = false;
    const auto& slots = config.MessagesToAnalyse[s];
    for (int i = 1; i <= SavedMessageSlots; ++i) {
        const std::string& name = slots[i];
        if (name.empty()) break;
        for (const SentenceTypeInfo& info : SentenceTypes) {
            if (info.name == name) {
                sys.*info.analysed = true;
                break;
            }
        }
    }
}

void ResetSystemStatistics(CoreState& st, int s) { ResetSystemStatistics(st.analysis.statistics(s)); }

void StartDates(CoreState& st, double today) {
    for (int s = 1; s <= MaxSystems; ++s) {
        st.SentenceDate[s] = std::floor(today);
        st.EpochTime[s] = 0;
        st.PreviousEpochTime[s] = 0;
        st.analysis.timeOfDaySeen[s] = false;
    }
}

}  // namespace tiderune
