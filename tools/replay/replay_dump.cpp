#include "replay_dump.h"

#include <algorithm>
#include <charconv>
#include <cstring>
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
#include "core/number_text.h"
#include "core/statistics_dump.h"

namespace tiderune::replay {

namespace {

template <typename T>
void appendNumber(std::string& out, T v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);  // floats: shortest exact form
    out.append(buf, res.ptr);
}

// name="value" pairs written straight into the report's bytes: the text is lengthened ahead
// of the writing and cut back to what was written when the Fields end.
class Fields {
public:
    explicit Fields(std::string& out) : out_(out), size_(out.size()) {}
    ~Fields() { out_.resize(size_); }
    Fields(const Fields&) = delete;
    Fields& operator=(const Fields&) = delete;

    // Names are literals, their lengths known without looking.
    template <std::size_t N>
    void add(const char (&name)[N], double v) { number(name, v); }
    template <std::size_t N>
    void add(const char (&name)[N], float v) { number(name, v); }
    template <std::size_t N>
    void add(const char (&name)[N], std::int16_t v) { number(name, v); }
    template <std::size_t N>
    void add(const char (&name)[N], std::int32_t v) { number(name, v); }
    // An unset char field (0) is an empty text.
    template <std::size_t N>
    void add(const char (&name)[N], char v) {
        text(open(name, 0), v != 0 ? std::string_view(&v, 1) : std::string_view());
    }
    template <std::size_t N>
    void add(const char (&name)[N], const std::string& v) {
        text(open(name, 0), v);
    }
    template <std::size_t N, int Hi>
    void add(const char (&name)[N], const IndexedArray<std::int16_t, 1, Hi>& a) {
        constexpr std::size_t Most = 7;  // "-32768,"
        char* p = open(name, Most * Hi);
        for (int i = 1; i <= Hi; ++i) {
            if (i > 1) *p++ = ',';
            p = std::to_chars(p, p + Most, a[i]).ptr;
        }
        close(p);
    }

private:
    static constexpr std::size_t NumberRoom = 32;  // the shortest form of any double fits

    template <std::size_t N, typename T>
    void number(const char (&name)[N], T v) {
        char* p = open(name, NumberRoom);
        close(std::to_chars(p, p + NumberRoom, v).ptr);  // floats: shortest exact form
    }
    // Writes ` name="` and returns where the value goes, with room for `value` characters
    // and the closing quote.
    template <std::size_t N>
    char* open(const char (&name)[N], std::size_t value) {
        const std::size_t need = N + 3 + value;
        if (size_ + need > out_.size()) grow(need);
        char* p = out_.data() + size_;
        if (!first_) *p++ = ' ';
        first_ = false;
        std::memcpy(p, name, N - 1);
        p += N - 1;
        *p++ = '=';
        *p++ = '"';
        return p;
    }
    [[gnu::noinline]] void grow(std::size_t n) { out_.resize(size_ + std::max<std::size_t>(n, 256)); }
    // `v` escaped at `p`, where the room ahead ends, and the closing quote.
    void text(char* p, std::string_view v) {
        out_.resize(static_cast<std::size_t>(p - out_.data()));
        appendEscaped(out_, v);
        out_ += '"';
        size_ = out_.size();
    }
    void close(char* p) {
        *p++ = '"';
        size_ = static_cast<std::size_t>(p - out_.data());
    }

    std::string& out_;
    std::size_t size_;  // out_[0, size_) is the text so far; the rest is room
    bool first_ = true;
};

class ReplaySink final : public CoreSink {
public:
    void notice(const Notice& n) override { notices.push_back(n); }
    std::vector<Notice> notices;
};

}  // namespace

namespace {

void appendRecord(std::string& out, const NMEAMessageSet& m, SentenceType type) {
    Fields f(out);
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
}

}  // namespace

std::string describeRecord(const NMEAMessageSet& m, SentenceType type) {
    std::string out;
    appendRecord(out, m, type);
    return out;
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

    // The report is built in one buffer and handed on in large pieces.
    constexpr std::size_t FlushAt = 1 << 16;
    std::string buf;
    buf.reserve(2 * FlushAt);
    std::string line;
    long long number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::int32_t rejectedBefore = state->ChecksumRejected[1];
        appendNumber(buf, number);
        buf += ' ';
        try {
            ProcessSentence(*state, sink, ais, 1, line);
            if (state->ChecksumRejected[1] != rejectedBefore) {
                buf += "rejected";
            } else {
                const auto working = removeTagBlock(line);
                const auto type = working ? recogniseSentence(*working) : std::nullopt;
                if (type) {
                    buf += sentenceTypeName(*type);
                    buf += ' ';
                    appendRecord(buf, state->NMEAMessages[1], *type);
                } else {
                    buf += '-';
                }
                if (type == SentenceType::VDM) {
                    aisSeen = true;
                    // The message the sentence completed, and the target it went to.
                    const int id = ais.LastAISMessageID(1);
                    if (id != NoMessageYet) {
                        buf += "\n  ";
                        const std::size_t before = buf.size();
                        appendAisMessage(buf, ais.AISMessages(1), id);
                        if (buf.size() == before) {  // an id without a text of its own
                            buf += "AIS ";
                            appendNumber(buf, id);
                        }
                    }
                    if (!ais.targets().MMSIZero[1]) {
                        buf += "\n  target ";
                        appendNumber(buf, ais.targets().CurrentTarget[1]);
                    }
                }
            }
        } catch (const RuntimeError& e) {
            buf += "error ";
            appendNumber(buf, e.number());
            buf += ' ';
            buf += e.description();
        }
        buf += '\n';
        for (const Notice& n : sink.notices) {
            buf += "  notice \"";
            appendEscaped(buf, n.title);
            buf += "\" \"";
            appendEscaped(buf, n.text);
            buf += "\"\n";
        }
        sink.notices.clear();
        if (buf.size() >= FlushAt) {
            out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
            buf.clear();
        }
    }
    out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
    // Every statistics record and block that received data, as the file leaves them.
    const std::string statistics = formatStatisticsDump(state->analysis, 1);
    if (!statistics.empty()) out << "statistics\n" << statistics;
    if (aisSeen) out << formatAisTargets(ais.targets(), 1);
}

}  // namespace tiderune::replay
