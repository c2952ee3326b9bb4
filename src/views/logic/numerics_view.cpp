#include "views/logic/numerics_view.h"

#include <array>

#include "core/latlon_text.h"
#include "core/number_text.h"

namespace tiderune {

namespace {

constexpr const char* GGALabels[] = {"Latitude", "Longitude", "Ell.Hgt", "Geoide Sep", "Hgt AMSL", "Quality",
                                     "Sats", "hdop", "Age", "Stn ID", "UTC"};
constexpr const char* GNSLabels[] = {"Latitude", "Longitude", "Ell.Hgt", "Geoide Sep", "Hgt AMSL", "Mode Indicator",
                                     "Sats", "hdop", "Age", "Stn ID", "UTC"};
constexpr const char* GLLLabels[] = {"Latitude", "Longitude", "Status", "UTC"};
constexpr const char* RMCLabels[] = {"Latitude", "Longitude", "SOG Knots", "COG True",
                                     "Magn Var", "Status", "UTC", "Date"};
constexpr const char* VTGLabels[] = {"COG True", "COG Magn", "SOG Knots", "SOG km/h"};
constexpr const char* ZDALabels[] = {"Date", "UTC", "Time Zone"};
constexpr const char* HDTLabels[] = {"True Hdg"};
constexpr const char* ATTLabels[] = {"True Hdg", "Pitch", "Roll"};
constexpr const char* ROTLabels[] = {"Rate Of Turn", "Status"};
constexpr const char* VHWLabels[] = {"Water Speed (knots)", "Water Speed (km/h)", "Water Hdg (true)",
                                     "Water Hdg (magn)"};
constexpr const char* DBTLabels[] = {"Depth (feet)", "Depth (meter)", "Depth (fantoms)"};
constexpr const char* GSTLabels[] = {"RMS Pseudo ranges",   "Sd Semi-Major axis", "Sd Semi-Minor axis",
                                     "Dir Semi-Major axis", "Sd Lat",             "Sd Lon",
                                     "Sd Alt"};

const std::array<NumericsTable, 12> Tables = {{
    {SentenceType::GGA, "GGA Numerics", GGALabels},
    {SentenceType::GNS, "GNS Numerics", GNSLabels},
    {SentenceType::GLL, "GLL Numerics", GLLLabels},
    {SentenceType::RMC, "RMC Numerics", RMCLabels},
    {SentenceType::VTG, "VTG Numerics", VTGLabels},
    {SentenceType::ZDA, "ZDA Numerics", ZDALabels},
    {SentenceType::HDT, "HDT Numerics", HDTLabels},
    {SentenceType::ATT, "ATT Numerics", ATTLabels},
    {SentenceType::ROT, "ROT Numerics", ROTLabels},
    {SentenceType::VHW, "VHW Numerics", VHWLabels},
    {SentenceType::DBT, "DBT Numerics", DBTLabels},
    {SentenceType::GST, "GST Numerics", GSTLabels},
}};

constexpr SentenceType StackOrder[] = {
    SentenceType::GGA, SentenceType::GNS, SentenceType::GLL, SentenceType::RMC, SentenceType::VTG,
    SentenceType::ZDA, SentenceType::GSA, SentenceType::GSV, SentenceType::GST, SentenceType::HDT,
    SentenceType::ATT, SentenceType::ROT, SentenceType::VHW, SentenceType::DBT,
};

std::string latLon(double radians, const char* kind, LatLonStyle style) {
    const double degrees = radians * 57.29577951307855;
    return style.dms ? FormatLatLonDMS(degrees, kind, "Form", style.decimals)
                     : FormatLatLonDM(degrees, kind, "Form", style.decimals);
}

// Altitude above the ellipsoid: the single-precision sum, without the Str form's blank.
std::string ellipsoidHeight(float altitude, float geoid) {
    if (altitude == MissingValueF || geoid == MissingValueF) return "n/a";
    std::string s = StrNumber(static_cast<float>(altitude + geoid));
    if (!s.empty() && s[0] == ' ') s.erase(0, 1);
    return s;
}

// A one-character field as stored: nothing before any sentence of the type.
std::string letter(char c) { return c ? std::string(1, c) : std::string(); }

const char* qualitySuffix(std::int16_t q) {
    switch (q) {
    case 0: return " - Invalid";
    case 1: return " - GPS";
    case 2: return " - dGPS";
    case 3: return " - PPS";
    case 4: return " - RTK, fixed integers";
    case 5: return " - RTK, floating integers";
    case 6: return " - Estimated (DR)";
    case 7: return " - Manual input";
    case 8: return " - Simulator mode";
    default: return "";
    }
}

std::string validity(const std::string& status) {
    if (status == "V") return status + " - Invalid";
    if (status == "A") return status + " - Valid";
    return status;
}

}  // namespace

std::span<const NumericsTable> numericsTables() { return Tables; }

const NumericsTable* numericsTable(SentenceType type) {
    for (const NumericsTable& t : Tables)
        if (t.type == type) return &t;
    return nullptr;
}

std::vector<SentenceType> numericsStack(const SystemSetup& system) {
    std::vector<SentenceType> shown;
    for (SentenceType t : StackOrder)
        if (system.analysed(t)) shown.push_back(t);
    return shown;
}

std::vector<std::string> numericsValues(SentenceType type, const NMEAMessageSet& m, LatLonStyle style) {
    switch (type) {
    case SentenceType::GGA: {
        const GGARecord& r = m.GGA;
        return {latLon(r.Latitude, "LAT", style),
                latLon(r.Longitude, "LON", style),
                ellipsoidHeight(r.Altitude, r.GeoidSeparation),
                ValueOrNA(r.GeoidSeparation) + " " + letter(r.GeoidUnit),
                ValueOrNA(r.Altitude) + " " + letter(r.AltitudeUnit),
                ValueOrNA(r.Quality) + qualitySuffix(r.Quality),
                ValueOrNA(r.Satellites),
                ValueOrNA(r.HDOP),
                ValueOrNA(r.DGPSAge),
                ValueOrNA(static_cast<long long>(r.StationID)),
                r.Time};
    }
    case SentenceType::GNS: {
        const GNSRecord& r = m.GNS;
        return {latLon(r.Latitude, "LAT", style),
                latLon(r.Longitude, "LON", style),
                ellipsoidHeight(r.Altitude, r.GeoidSeparation),
                ValueOrNA(r.GeoidSeparation) + " m",
                ValueOrNA(r.Altitude) + " m",
                r.ModeIndicator,
                ValueOrNA(r.Satellites),
                ValueOrNA(r.HDOP),
                ValueOrNA(r.DGPSAge),
                ValueOrNA(static_cast<long long>(r.StationID)),
                r.Time};
    }
    case SentenceType::GLL: {
        const GLLRecord& r = m.GLL;
        return {latLon(r.Latitude, "LAT", style), latLon(r.Longitude, "LON", style), validity(letter(r.Status)),
                r.Time};
    }
    case SentenceType::RMC: {
        const RMCRecord& r = m.RMC;
        return {latLon(r.Latitude, "LAT", style),
                latLon(r.Longitude, "LON", style),
                ValueOrNA(r.SpeedKnots),
                ValueOrNA(r.CourseTrue),
                ValueOrNA(r.MagneticVariation) + " " + letter(r.VariationDirection),
                validity(r.Status),
                r.Time,
                r.Date};
    }
    case SentenceType::VTG: {
        const VTGRecord& r = m.VTG;
        return {ValueOrNA(r.CourseTrue), ValueOrNA(r.CourseMagnetic), ValueOrNA(r.SpeedKnots), ValueOrNA(r.SpeedKmh)};
    }
    case SentenceType::ZDA: {
        // The stored numbers as they are: a missing day shows as -9999.
        const ZDARecord& r = m.ZDA;
        return {FormatNumber(r.Day, "00") + "-" + FormatNumber(r.Month, "00") + "-" + FormatNumber(r.Year, "0000"),
                r.Time, FormatNumber(r.ZoneHours, "00") + ":" + FormatNumber(r.ZoneMinutes, "00")};
    }
    case SentenceType::HDT: return {ValueOrNA(m.HDT.Heading)};
    case SentenceType::ATT: return {ValueOrNA(m.ATT.Heading), ValueOrNA(m.ATT.Pitch), ValueOrNA(m.ATT.Roll)};
    case SentenceType::ROT: {
        const std::string status = letter(m.ROT.Status);
        return {ValueOrNA(m.ROT.RateOfTurn), status + (status == "A" ? " - Valid" : " - Invalid")};
    }
    case SentenceType::VHW: {
        // Speeds before headings, while the sentence carries the headings first.
        const VHWRecord& r = m.VHW;
        return {ValueOrNA(r.SpeedKnots), ValueOrNA(r.SpeedKmh), ValueOrNA(r.HeadingTrue), ValueOrNA(r.HeadingMagnetic)};
    }
    case SentenceType::DBT:
        return {ValueOrNA(m.DBT.DepthFeet), ValueOrNA(m.DBT.DepthMetres), ValueOrNA(m.DBT.DepthFathoms)};
    case SentenceType::GST: {
        const GSTRecord& r = m.GST;
        return {ValueOrNA(r.RMS),         ValueOrNA(r.SdSemiMajor), ValueOrNA(r.SdSemiMinor),
                ValueOrNA(r.Orientation), ValueOrNA(r.SdLatitude),  ValueOrNA(r.SdLongitude),
                ValueOrNA(r.SdAltitude)};
    }
    default: return {};
    }
}

void NumericsPending::sentence(SentenceType type, const Config& config, int system) {
    if (!numericsTable(type) || !isValidSystem(system) || !config.Systems[system].analysed(type)) return;
    Entry& e = entries_[static_cast<std::size_t>(type)];
    e.due = true;
    // The format of this moment: a switch shows from the next sentence on.
    e.style = {config.LatLonFormatDMS, config.LatLonDecimals};
    any_ = true;
}

void NumericsPending::flush(const NMEAMessageSet& records,
                            const std::function<void(const NumericsTable&, int, const std::string&)>& write) {
    if (!any_) return;
    for (const NumericsTable& t : Tables) {
        Entry& e = entries_[static_cast<std::size_t>(t.type)];
        if (!e.due) continue;
        e.due = false;
        const std::vector<std::string> values = numericsValues(t.type, records, e.style);
        for (std::size_t i = 0; i < values.size(); ++i) write(t, static_cast<int>(i) + 1, values[i]);
    }
    any_ = false;
}

void NumericsPending::clear() {
    entries_ = {};
    any_ = false;
}

}  // namespace tiderune
