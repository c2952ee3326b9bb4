#include "parsers.h"

#include <array>

#include "errors.h"
#include "number_text.h"
#include "sentence_types.h"

namespace tiderune {

std::string_view errorDescription(int errorNumber) {
    switch (errorNumber) {
    case err::Overflow: return "Overflow";
    case err::SubscriptOutOfRange: return "Subscript out of range";
    case err::TypeMismatch: return "Type mismatch";
    default: return "Application-defined or object-defined error";
    }
}

Notice parserErrorNotice(std::string_view type, int errorNumber, std::string_view sentence) {
    Notice n;
    n.text = "Error ";
    n.text += StrNumber(errorNumber);
    n.text += " : ";
    n.text += errorDescription(errorNumber);
    n.text += "  ";
    n.text += type;
    n.text += "-message : ";
    n.text += sentence;
    n.title = "Error Extract";
    n.title += type;
    n.icon = NoticeIcon::None;
    return n;
}

namespace {

// Degrees to radians the way the program has always done it (pi as 3.14159265359).
constexpr double kDegToRad = 0.017453292519944444;

bool latLonToRad(std::string_view text, std::string_view hemisphere, std::size_t degreeDigits,
                 std::string_view negative, double& out) noexcept {
    double degrees = 0, minutes = 0;
    if (!readNumber(text.substr(0, degreeDigits), degrees)) return false;
    if (text.size() > degreeDigits && !readNumber(text.substr(degreeDigits), minutes)) return false;
    double v = degrees + minutes / 60;
    if (hemisphere == negative) v = -v;
    v *= kDegToRad;
    if (!std::isfinite(v)) return false;
    out = v;
    return true;
}

// The fields of one sentence. N fields, R split passes: with R = N - 1 surplus fields stay
// joined to the last one (whose conversion reads it only up to the comma); with R = N they
// are dropped. Later NMEA editions add fields at the end (a navigational status after the
// RMC mode, a time and type after the TTM's), so fields beyond those a parser reads are
// ignored rather than failing every sentence of a newer talker.
template <int N>
struct Fields {
    std::array<std::string_view, N> f{};
};

template <int N, int R>
Fields<N> split(std::string_view s) {
    static_assert(R == N || R == N - 1);
    Fields<N> out;
    int k = 0;
    // One pass over the text: fields are short, so a plain scan beats a search per field.
    const char* p = s.data();
    const char* const end = p + s.size();
    const char* start = p;
    if (R > 0) {
        for (; p != end; ++p) {
            if (*p != ',') continue;
            out.f[static_cast<std::size_t>(k++)] = std::string_view(start, static_cast<std::size_t>(p - start));
            start = p + 1;
            if (k == R) break;
        }
    }
    p = start;
    while (p != end && *p != '*') ++p;
    const std::string_view tail(start, static_cast<std::size_t>(p - start));
    if (k < N) out.f[static_cast<std::size_t>(k)] = tail;
    return out;
}

// Converts fields into a record; a failing conversion leaves its target as it was.
class Converter {
public:
    Converter(SentenceType type, std::string_view sentence, ParserErrorHandler* errors)
        : type_(sentenceTypeInfo(type).name),
          sentence_(sentence),
          errors_(sentenceTypeInfo(type).reportsErrors ? errors : nullptr) {}

    void fail(int errorNumber) const {
        if (errors_) errors_->parserError(type_, errorNumber, sentence_);
    }

    void number(std::string_view f, std::int16_t& out) const {
        double v;
        if (!value(f, v) || !toInteger(v, out)) fail(err::Overflow);
    }
    void number(std::string_view f, std::int32_t& out) const {
        double v;
        if (!value(f, v) || !toLong(v, out)) fail(err::Overflow);
    }
    void number(std::string_view f, float& out) const {
        double v;
        if (!value(f, v) || !toSingle(v, out)) fail(err::Overflow);
    }
    static void character(std::string_view f, char& out) { out = f.empty() ? ' ' : f.front(); }
    static void text(std::string_view f, std::string& out) { out.assign(f.data(), f.size()); }
    // "hh:mm:ss" from the first six characters; a fraction is dropped.
    static void clock(std::string_view f, std::string& out) {
        out.clear();
        out.append(f.substr(0, 2));
        out.push_back(':');
        if (f.size() > 2) out.append(f.substr(2, 2));
        out.push_back(':');
        if (f.size() > 4) out.append(f.substr(4, 2));
    }
    void latitude(std::string_view f, std::string_view hemisphere, double& out) const {
        if (!latLonToRad(f, hemisphere, 2, "S", out)) fail(err::Overflow);
    }
    void longitude(std::string_view f, std::string_view hemisphere, double& out) const {
        if (!latLonToRad(f, hemisphere, 3, "W", out)) fail(err::Overflow);
    }

private:
    static bool value(std::string_view f, double& v) {
        if (f.empty()) {
            v = MissingValueD;
            return true;
        }
        return readNumber(f, v);
    }

    std::string_view type_;
    std::string_view sentence_;
    ParserErrorHandler* errors_;
};

// The two letters before the type in the address field ("GP" of "$GPGSV"); empty when the
// type does not follow a two-letter talker.
void talkerOf(std::string_view s, std::string_view type, std::string& out) {
    out.clear();
    if (s.size() >= 6 && (s[0] == '$' || s[0] == '!') && s.substr(3, 3) == type) out = s.substr(1, 2);
}

// The fields of a sentence of type T, split as the sentence table says.
template <SentenceType T>
auto fieldsOf(const Converter&, std::string_view sentence) {
    constexpr const SentenceTypeInfo& info = sentenceTypeInfo(T);
    return split<info.fields, info.passes>(sentence).f;
}

}  // namespace

double LatNMEAtoRad(std::string_view latitude, std::string_view hemisphere) {
    double v = 0;
    if (!latLonToRad(latitude, hemisphere, 2, "S", v)) throw RuntimeError(err::Overflow, "Overflow");
    return v;
}

double LonNMEAtoRad(std::string_view longitude, std::string_view hemisphere) {
    double v = 0;
    if (!latLonToRad(longitude, hemisphere, 3, "W", v)) throw RuntimeError(err::Overflow, "Overflow");
    return v;
}

void ExtractGGA(std::string_view s, GGARecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::GGA, s, errors);
    const auto f = fieldsOf<SentenceType::GGA>(c, s);
    c.clock(f[1], r.Time);
    c.latitude(f[2], f[3], r.Latitude);
    c.longitude(f[4], f[5], r.Longitude);
    c.number(f[6], r.Quality);
    c.number(f[7], r.Satellites);
    c.number(f[8], r.HDOP);
    c.number(f[9], r.Altitude);
    c.character(f[10], r.AltitudeUnit);
    c.number(f[11], r.GeoidSeparation);
    c.character(f[12], r.GeoidUnit);
    c.number(f[13], r.DGPSAge);
    c.number(f[14], r.StationID);
}

void ExtractGNS(std::string_view s, GNSRecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::GNS, s, errors);
    const auto f = fieldsOf<SentenceType::GNS>(c, s);
    c.clock(f[1], r.Time);
    c.latitude(f[2], f[3], r.Latitude);
    c.longitude(f[4], f[5], r.Longitude);
    c.text(f[6], r.ModeIndicator);
    c.number(f[7], r.Satellites);
    c.number(f[8], r.HDOP);
    c.number(f[9], r.Altitude);
    c.number(f[10], r.GeoidSeparation);
    c.number(f[11], r.DGPSAge);
    c.number(f[12], r.StationID);
}

void ExtractGLL(std::string_view s, GLLRecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::GLL, s, errors);
    const auto f = fieldsOf<SentenceType::GLL>(c, s);
    c.clock(f[5], r.Time);
    c.character(f[6], r.Status);
    c.character(f[7], r.Mode);
    c.latitude(f[1], f[2], r.Latitude);
    c.longitude(f[3], f[4], r.Longitude);
}

void ExtractRMC(std::string_view s, RMCRecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::RMC, s, errors);
    const auto f = fieldsOf<SentenceType::RMC>(c, s);
    c.clock(f[1], r.Time);
    c.text(f[2], r.Status);
    c.number(f[7], r.SpeedKnots);
    c.number(f[8], r.CourseTrue);
    c.text(f[9], r.Date);
    c.number(f[10], r.MagneticVariation);
    c.character(f[11], r.VariationDirection);
    c.character(f[12], r.Mode);
    c.latitude(f[3], f[4], r.Latitude);
    c.longitude(f[5], f[6], r.Longitude);
}

void ExtractVTG(std::string_view s, VTGRecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::VTG, s, errors);
    const auto f = fieldsOf<SentenceType::VTG>(c, s);
    c.number(f[1], r.CourseTrue);
    c.number(f[3], r.CourseMagnetic);
    c.number(f[5], r.SpeedKnots);
    c.number(f[7], r.SpeedKmh);
    c.character(f[9], r.Mode);
}

void ExtractZDA(std::string_view s, ZDARecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::ZDA, s, errors);
    const auto f = fieldsOf<SentenceType::ZDA>(c, s);
    c.text(f[1], r.Time);
    c.number(f[2], r.Day);
    c.number(f[3], r.Month);
    c.number(f[4], r.Year);
    c.number(f[5], r.ZoneHours);
    c.number(f[6], r.ZoneMinutes);
}

void ExtractGSA(std::string_view s, GSARecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::GSA, s, errors);
    const auto f = fieldsOf<SentenceType::GSA>(c, s);
    talkerOf(s, "GSA", r.Talker);
    c.character(f[1], r.SelectionMode);
    c.number(f[2], r.FixType);
    for (int i = 1; i <= 12; ++i) c.number(f[static_cast<std::size_t>(i + 2)], r.PRN[i]);
    c.number(f[15], r.PDOP);
    c.number(f[16], r.HDOP);
    c.number(f[17], r.VDOP);
    r.SystemId = MissingValue;  // a field that does not read is no constellation
    c.number(f[18], r.SystemId);
}

void ExtractGST(std::string_view s, GSTRecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::GST, s, errors);
    const auto f = fieldsOf<SentenceType::GST>(c, s);
    c.text(f[1], r.Time);
    c.number(f[2], r.RMS);
    c.number(f[3], r.SdSemiMajor);
    c.number(f[4], r.SdSemiMinor);
    c.number(f[5], r.Orientation);
    c.number(f[6], r.SdLatitude);
    c.number(f[7], r.SdLongitude);
    c.number(f[8], r.SdAltitude);
}

void ExtractGSV(std::string_view s, GSVRecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::GSV, s, errors);
    const auto f = fieldsOf<SentenceType::GSV>(c, s);
    talkerOf(s, "GSV", r.Talker);
    c.number(f[1], r.SentenceCount);
    c.number(f[2], r.SentenceNumber);
    c.number(f[3], r.SatellitesInView);
    for (int i = 1; i <= 4; ++i) {
        const auto k = static_cast<std::size_t>(4 * i);
        c.number(f[k], r.PRN[i]);
        c.number(f[k + 1], r.Elevation[i]);
        c.number(f[k + 2], r.Azimuth[i]);
        c.number(f[k + 3], r.SNR[i]);
        // A lone signal identifier "1" after the last block reads as a satellite without
        // elevation: it is no satellite.
        if (r.PRN[i] == 1 && r.Elevation[i] == MissingValue) r.PRN[i] = MissingValue;
    }
}

void ExtractHDT(std::string_view s, HDTRecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::HDT, s, errors);
    const auto f = fieldsOf<SentenceType::HDT>(c, s);
    c.number(f[1], r.Heading);
}

void ExtractATT(std::string_view s, ATTRecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::ATT, s, errors);
    const auto f = fieldsOf<SentenceType::ATT>(c, s);
    c.number(f[2], r.Heading);
    c.number(f[3], r.Pitch);
    c.number(f[4], r.Roll);
}

void ExtractROT(std::string_view s, ROTRecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::ROT, s, errors);
    const auto f = fieldsOf<SentenceType::ROT>(c, s);
    c.number(f[1], r.RateOfTurn);
    c.character(f[2], r.Status);
}

void ExtractVHW(std::string_view s, VHWRecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::VHW, s, errors);
    const auto f = fieldsOf<SentenceType::VHW>(c, s);
    c.number(f[1], r.HeadingTrue);
    c.number(f[3], r.HeadingMagnetic);
    c.number(f[5], r.SpeedKnots);
    c.number(f[7], r.SpeedKmh);
}

void ExtractDBT(std::string_view s, DBTRecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::DBT, s, errors);
    const auto f = fieldsOf<SentenceType::DBT>(c, s);
    c.number(f[1], r.DepthFeet);
    c.number(f[3], r.DepthMetres);
    c.number(f[5], r.DepthFathoms);
}

void ExtractTTM(std::string_view s, TTMRecord& r, ParserErrorHandler* errors) {
    const Converter c(SentenceType::TTM, s, errors);
    const auto f = fieldsOf<SentenceType::TTM>(c, s);
    c.number(f[1], r.TargetNumber);
    c.number(f[2], r.Distance);
    c.number(f[3], r.Bearing);
    c.character(f[4], r.BearingReference);
    c.number(f[5], r.Speed);
    c.number(f[6], r.Course);
    c.character(f[7], r.CourseReference);
    c.number(f[8], r.CPA);
    c.number(f[9], r.TCPA);
    c.character(f[10], r.Units);
    c.text(f[11], r.TargetName);
    c.character(f[12], r.TargetStatus);
    c.text(f[13], r.ReferenceTarget);
}

int checksumValue(std::string_view s) noexcept {
    // The body lies between the first character and the first "*" of the whole text: a
    // text that starts with "*" has no body, whatever follows.
    const auto star = s.find('*');
    if (star == 0 || s.size() < 2) return -1;
    const std::string_view body = s.substr(1, star == std::string_view::npos ? s.npos : star - 1);
    if (body.empty()) return -1;
    unsigned x = 0;
    for (char ch : body) x ^= static_cast<unsigned char>(ch);
    return static_cast<int>(x);
}

namespace {
constexpr char kHex[] = "0123456789ABCDEF";
}

std::string CalcChecksum(std::string_view s) {
    const int v = checksumValue(s);
    if (v < 0) return "XX";
    return std::string{kHex[v >> 4], kHex[v & 15]};
}

bool ChecksumOK(std::string_view s) noexcept {
    if (s.size() < 6) return false;
    if (s[s.size() - 1] == '\n' && s[s.size() - 2] == '\r') s.remove_suffix(2);
    // A sentence with nothing to check is no good sentence, whatever its last two characters.
    const int v = checksumValue(s);
    if (v < 0) return false;
    return s[s.size() - 2] == kHex[v >> 4] && s[s.size() - 1] == kHex[v & 15];
}

}  // namespace tiderune
