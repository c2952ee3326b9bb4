#include "replay_dump.h"

#include <charconv>
#include <istream>
#include <memory>
#include <ostream>
#include <vector>

#include "ais/ais_decoders.h"
#include "ais/ais_engine.h"
#include "ais/ais_format.h"
#include "core/core_state.h"
#include "core/errors.h"
#include "core/intake.h"
#include "core/statistics_dump.h"

namespace tiderune::replay {

namespace {

// Control and non-ASCII bytes as \xNN (and quotes and backslashes too), so that every report
// line stays one line and reads back unambiguously.
std::string escaped(std::string_view v) {
    static const char hex[] = "0123456789ABCDEF";
    std::string s;
    for (unsigned char c : v) {
        if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
            s += "\\x";
            s += hex[c >> 4];
            s += hex[c & 15];
        } else {
            s += static_cast<char>(c);
        }
    }
    return s;
}

class Fields {
public:
    void add(const char* name, double v) { number(name, v); }
    void add(const char* name, float v) { number(name, v); }
    void add(const char* name, std::int16_t v) { put(name, std::to_string(v)); }
    void add(const char* name, std::int32_t v) { put(name, std::to_string(v)); }
    void add(const char* name, char v) { put(name, v == 0 ? std::string() : std::string(1, v)); }
    void add(const char* name, const std::string& v) { put(name, v); }
    template <int Hi>
    void add(const char* name, const IndexedArray<std::int16_t, 1, Hi>& a) {
        std::string s;
        for (int i = 1; i <= Hi; ++i) {
            if (i > 1) s += ',';
            s += std::to_string(a[i]);
        }
        put(name, s);
    }
    std::string text() const { return out_; }

private:
    template <typename T>
    void number(const char* name, T v) {
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, v);  // shortest exact form
        put(name, std::string(buf, res.ptr));
    }
    void put(const char* name, const std::string& value) {
        if (!out_.empty()) out_ += ' ';
        out_ += name;
        out_ += "=\"";
        out_ += escaped(value);
        out_ += '"';
    }

private:
    std::string out_;
};

class ReplaySink final : public CoreSink {
public:
    void notice(const Notice& n) override { notices.push_back(n); }
    std::vector<Notice> notices;
};

}  // namespace

std::string describeRecord(const NMEAMessageSet& m, SentenceType type) {
    Fields f;
    switch (type) {
    case SentenceType::GGA: {
        const GGARecord& r = m.GGA;
        f.add("Time", r.Time); f.add("Latitude", r.Latitude); f.add("Longitude", r.Longitude);
        f.add("Quality", r.Quality); f.add("Satellites", r.Satellites); f.add("HDOP", r.HDOP);
        f.add("Altitude", r.Altitude); f.add("AltitudeUnit", r.AltitudeUnit);
        f.add("GeoidSeparation", r.GeoidSeparation); f.add("GeoidUnit", r.GeoidUnit);
        f.add("DGPSAge", r.DGPSAge); f.add("StationID", r.StationID);
        break;
    }
    case SentenceType::GNS: {
        const GNSRecord& r = m.GNS;
        f.add("Time", r.Time); f.add("Latitude", r.Latitude); f.add("Longitude", r.Longitude);
        f.add("ModeIndicator", r.ModeIndicator); f.add("Satellites", r.Satellites); f.add("HDOP", r.HDOP);
        f.add("Altitude", r.Altitude); f.add("GeoidSeparation", r.GeoidSeparation);
        f.add("DGPSAge", r.DGPSAge); f.add("StationID", r.StationID);
        break;
    }
    case SentenceType::GLL: {
        const GLLRecord& r = m.GLL;
        f.add("Latitude", r.Latitude); f.add("Longitude", r.Longitude); f.add("Time", r.Time);
        f.add("Status", r.Status); f.add("Mode", r.Mode);
        break;
    }
    case SentenceType::RMC: {
        const RMCRecord& r = m.RMC;
        f.add("Time", r.Time); f.add("Status", r.Status); f.add("Latitude", r.Latitude);
        f.add("Longitude", r.Longitude); f.add("SpeedKnots", r.SpeedKnots); f.add("CourseTrue", r.CourseTrue);
        f.add("Date", r.Date); f.add("MagneticVariation", r.MagneticVariation);
        f.add("VariationDirection", r.VariationDirection); f.add("Mode", r.Mode);
        break;
    }
    case SentenceType::VTG: {
        const VTGRecord& r = m.VTG;
        f.add("CourseTrue", r.CourseTrue); f.add("CourseMagnetic", r.CourseMagnetic);
        f.add("SpeedKnots", r.SpeedKnots); f.add("SpeedKmh", r.SpeedKmh); f.add("Mode", r.Mode);
        break;
    }
    case SentenceType::ZDA: {
        const ZDARecord& r = m.ZDA;
        f.add("Time", r.Time); f.add("Day", r.Day); f.add("Month", r.Month); f.add("Year", r.Year);
        f.add("ZoneHours", r.ZoneHours); f.add("ZoneMinutes", r.ZoneMinutes);
        break;
    }
    case SentenceType::HDT: f.add("Heading", m.HDT.Heading); break;
    case SentenceType::ATT:
        f.add("Heading", m.ATT.Heading); f.add("Pitch", m.ATT.Pitch); f.add("Roll", m.ATT.Roll);
        break;
    case SentenceType::ROT: f.add("RateOfTurn", m.ROT.RateOfTurn); f.add("Status", m.ROT.Status); break;
    case SentenceType::VHW:
        f.add("HeadingTrue", m.VHW.HeadingTrue); f.add("HeadingMagnetic", m.VHW.HeadingMagnetic);
        f.add("SpeedKnots", m.VHW.SpeedKnots); f.add("SpeedKmh", m.VHW.SpeedKmh);
        break;
    case SentenceType::DBT:
        f.add("DepthFeet", m.DBT.DepthFeet); f.add("DepthMetres", m.DBT.DepthMetres);
        f.add("DepthFathoms", m.DBT.DepthFathoms);
        break;
    case SentenceType::GSA: {
        const GSARecord& r = m.GSA;
        f.add("SelectionMode", r.SelectionMode); f.add("FixType", r.FixType); f.add("PRN", r.PRN);
        f.add("PDOP", r.PDOP); f.add("HDOP", r.HDOP); f.add("VDOP", r.VDOP);
        break;
    }
    case SentenceType::GSV: {
        const GSVRecord& r = m.GSV;
        f.add("SentenceCount", r.SentenceCount); f.add("SentenceNumber", r.SentenceNumber);
        f.add("SatellitesInView", r.SatellitesInView); f.add("PRN", r.PRN);
        f.add("Elevation", r.Elevation); f.add("Azimuth", r.Azimuth); f.add("SNR", r.SNR);
        break;
    }
    case SentenceType::TTM: {
        const TTMRecord& r = m.TTM;
        f.add("TargetNumber", r.TargetNumber); f.add("Distance", r.Distance); f.add("Bearing", r.Bearing);
        f.add("BearingReference", r.BearingReference); f.add("Speed", r.Speed); f.add("Course", r.Course);
        f.add("CourseReference", r.CourseReference); f.add("CPA", r.CPA); f.add("TCPA", r.TCPA);
        f.add("Units", r.Units); f.add("TargetName", r.TargetName); f.add("TargetStatus", r.TargetStatus);
        f.add("ReferenceTarget", r.ReferenceTarget);
        break;
    }
    case SentenceType::VDM: {
        const VDMRecord& r = m.VDM;
        f.add("FragmentCount", r.FragmentCount); f.add("FragmentNumber", r.FragmentNumber);
        f.add("SequentialID", r.SequentialID); f.add("Channel", r.Channel); f.add("Payload", r.Payload);
        f.add("FillBits", r.FillBits);
        break;
    }
    case SentenceType::GST: {
        const GSTRecord& r = m.GST;
        f.add("Time", r.Time); f.add("RMS", r.RMS); f.add("SdSemiMajor", r.SdSemiMajor);
        f.add("SdSemiMinor", r.SdSemiMinor); f.add("Orientation", r.Orientation);
        f.add("SdLatitude", r.SdLatitude); f.add("SdLongitude", r.SdLongitude); f.add("SdAltitude", r.SdAltitude);
        break;
    }
    }
    return f.text();
}

void replay(std::istream& in, std::ostream& out, const Options& options) {
    auto state = std::make_unique<CoreState>();
    SystemSetup& sys = state->config.Systems[1];
    sys.InUse = true;
    for (SentenceType t : AllSentenceTypes) sys.analysed(t) = true;
    state->config.ChecksumTest[1] = options.checksumTest;
    // The outlier limit the program starts with.
    state->config.OutlierLimit = 15;
    ReplaySink sink;
    // A fixed PC clock (1 Jan 2026) for the AIS times of receipt and the year of an ETA, so
    // that a replay's output depends on the file alone.
    const CoreState& st = *state;
    AisEngine ais(sink, [&st](int system) { return st.EpochTime[system]; },
                  [] { return aisDateValue(2026, 1, 1, 0, 0); });
    bool aisSeen = false;

    std::string line;
    long long number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::int32_t rejectedBefore = state->ChecksumRejected[1];
        out << number << ' ';
        try {
            ProcessSentence(*state, sink, ais, 1, line);
            if (state->ChecksumRejected[1] != rejectedBefore) {
                out << "rejected";
            } else {
                const auto working = removeTagBlock(line);
                const auto type = working ? recogniseSentence(*working) : std::nullopt;
                if (type) out << sentenceTypeName(*type) << ' ' << describeRecord(state->NMEAMessages[1], *type);
                else out << "-";
                if (type == SentenceType::VDM) {
                    aisSeen = true;
                    // The message the sentence completed, and the target it went to.
                    const int id = ais.LastAISMessageID(1);
                    if (id != NoMessageYet) {
                        std::string text = formatAisMessage(ais.AISMessages(1), id);
                        if (!text.empty() && text.back() == '\n') text.pop_back();
                        out << "\n  " << (text.empty() ? "AIS " + std::to_string(id) : text);
                    }
                    if (!ais.targets().MMSIZero[1]) out << "\n  target " << ais.targets().CurrentTarget[1];
                }
            }
        } catch (const RuntimeError& e) {
            out << "error " << e.number() << ' ' << e.description();
        }
        out << '\n';
        for (const Notice& n : sink.notices)
            out << "  notice \"" << escaped(n.title) << "\" \"" << escaped(n.text) << "\"\n";
        sink.notices.clear();
    }
    // Every statistics record and block that received data, as the file leaves them.
    const std::string statistics = formatStatisticsDump(state->analysis, 1);
    if (!statistics.empty()) out << "statistics\n" << statistics;
    if (aisSeen) out << formatAisTargets(ais.targets(), 1);
}

}  // namespace tiderune::replay
