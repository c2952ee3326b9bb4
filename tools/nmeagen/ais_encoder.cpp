#include "nmeagen/ais_encoder.h"

#include <algorithm>
#include <cmath>

#include "nmeagen/nmea_text.h"

namespace tiderune::nmeagen {

void AisBitWriter::put(std::uint64_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i)
        bits_.push_back(((value >> i) & 1U) != 0);
}

void AisBitWriter::putSigned(std::int64_t value, int bits) {
    const std::uint64_t mask = bits >= 64 ? ~0ULL : (1ULL << bits) - 1;
    put(static_cast<std::uint64_t>(value) & mask, bits);
}

void AisBitWriter::putText(std::string_view text, int chars) {
    for (int i = 0; i < chars; ++i) {
        unsigned code = 0;  // "@" pads
        if (i < static_cast<int>(text.size())) {
            unsigned char c = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
            if (c >= 'a' && c <= 'z')
                c = static_cast<unsigned char>(c - 'a' + 'A');
            if (c >= 64 && c <= 95)
                code = c - 64;
            else if (c >= 32 && c <= 63)
                code = c;
            else
                code = '?';
        }
        put(code, 6);
    }
}

void AisBitWriter::append(const AisBitWriter& other) {
    bits_.insert(bits_.end(), other.bits_.begin(), other.bits_.end());
}

char armourChar(unsigned value) {
    value &= 0x3F;
    return static_cast<char>(value < 40 ? value + 48 : value + 56);
}

AisPayload armour(const std::vector<bool>& bits) {
    AisPayload p;
    const std::size_t chars = (bits.size() + 5) / 6;
    p.fillBits = static_cast<int>(chars * 6 - bits.size());
    p.armoured.reserve(chars);
    for (std::size_t c = 0; c < chars; ++c) {
        unsigned v = 0;
        for (std::size_t b = 0; b < 6; ++b) {
            const std::size_t i = c * 6 + b;
            v = (v << 1) | (i < bits.size() && bits[i] ? 1U : 0U);
        }
        p.armoured += armourChar(v);
    }
    return p;
}

namespace {

// A value that is no number is sent as "not available".
std::optional<double> usable(std::optional<double> v) {
    return v && std::isfinite(*v) ? v : std::nullopt;
}

std::int64_t positionUnits(std::optional<double> degrees, double notAvailable) {
    degrees = usable(degrees);
    return std::llround((degrees ? std::clamp(*degrees, -notAvailable, notAvailable) : notAvailable) * 600000.0);
}

unsigned speedUnits(std::optional<double> knots) {
    knots = usable(knots);
    if (!knots)
        return 1023;
    return static_cast<unsigned>(std::llround(std::clamp(*knots, 0.0, 102.2) * 10.0));
}

unsigned courseUnits(std::optional<double> degrees) {
    degrees = usable(degrees);
    if (!degrees)
        return 3600;
    long long c = std::llround(std::fmod(*degrees, 360.0) * 10.0) % 3600;
    return static_cast<unsigned>(c < 0 ? c + 3600 : c);
}

unsigned headingValue(std::optional<int> degrees) {
    if (!degrees)
        return 511;
    return static_cast<unsigned>(((*degrees % 360) + 360) % 360);
}

void putPosition(AisBitWriter& w, std::optional<double> longitude, std::optional<double> latitude) {
    w.putSigned(positionUnits(longitude, 181.0), 28);
    w.putSigned(positionUnits(latitude, 91.0), 27);
}

void putDimensions(AisBitWriter& w, int bow, int stern, int port, int starboard) {
    w.put(static_cast<unsigned>(std::clamp(bow, 0, 511)), 9);
    w.put(static_cast<unsigned>(std::clamp(stern, 0, 511)), 9);
    w.put(static_cast<unsigned>(std::clamp(port, 0, 63)), 6);
    w.put(static_cast<unsigned>(std::clamp(starboard, 0, 63)), 6);
}

void putHeader(AisBitWriter& w, int id, int repeat, std::uint32_t mmsi) {
    w.put(static_cast<unsigned>(id), 6);
    w.put(static_cast<unsigned>(repeat), 2);
    w.put(mmsi, 30);
}

// Speed to time stamp, laid out alike in the class A and both class B position reports.
template <typename Report>
void putMotion(AisBitWriter& w, const Report& m) {
    w.put(speedUnits(m.speed), 10);
    w.put(m.accuracy, 1);
    putPosition(w, m.longitude, m.latitude);
    w.put(courseUnits(m.course), 12);
    w.put(headingValue(m.heading), 9);
    w.put(static_cast<unsigned>(m.timeStamp), 6);
}

}  // namespace

int rateOfTurnIndicator(std::optional<double> degreesPerMinute) {
    degreesPerMinute = usable(degreesPerMinute);
    if (!degreesPerMinute)
        return -128;
    const double r = *degreesPerMinute;
    const double magnitude = std::min(126.0, std::round(4.733 * std::sqrt(std::fabs(r))));
    return static_cast<int>(r < 0 ? -magnitude : magnitude);
}

AisPayload encodeClassAPosition(const ClassAPosition& m) {
    AisBitWriter w;
    putHeader(w, m.messageId, m.repeat, m.mmsi);
    w.put(static_cast<unsigned>(m.navStatus), 4);
    w.putSigned(m.rateOfTurn, 8);
    putMotion(w, m);
    w.put(static_cast<unsigned>(m.manoeuvre), 2);
    w.put(0, 3);
    w.put(m.raim, 1);
    w.put(m.radio, 19);
    return armour(w.bits());
}

AisPayload encodeBaseStation(const BaseStationReport& m) {
    AisBitWriter w;
    putHeader(w, 4, m.repeat, m.mmsi);
    w.put(static_cast<unsigned>(m.year), 14);
    w.put(static_cast<unsigned>(m.month), 4);
    w.put(static_cast<unsigned>(m.day), 5);
    w.put(static_cast<unsigned>(m.hour), 5);
    w.put(static_cast<unsigned>(m.minute), 6);
    w.put(static_cast<unsigned>(m.second), 6);
    w.put(m.accuracy, 1);
    putPosition(w, m.longitude, m.latitude);
    w.put(static_cast<unsigned>(m.epfd), 4);
    w.put(0, 1);   // long-range transmission control
    w.put(0, 9);   // spare
    w.put(m.raim, 1);
    w.put(m.radio, 19);
    return armour(w.bits());
}

AisPayload encodeStaticVoyage(const StaticVoyage& m) {
    AisBitWriter w;
    putHeader(w, 5, m.repeat, m.mmsi);
    w.put(static_cast<unsigned>(m.aisVersion), 2);
    w.put(m.imo, 30);
    w.putText(m.callSign, 7);
    w.putText(m.name, 20);
    w.put(static_cast<unsigned>(m.shipType), 8);
    putDimensions(w, m.toBow, m.toStern, m.toPort, m.toStarboard);
    w.put(static_cast<unsigned>(m.epfd), 4);
    w.put(static_cast<unsigned>(m.etaMonth), 4);
    w.put(static_cast<unsigned>(m.etaDay), 5);
    w.put(static_cast<unsigned>(m.etaHour), 5);
    w.put(static_cast<unsigned>(m.etaMinute), 6);
    w.put(std::isfinite(m.draught) ? static_cast<unsigned>(std::clamp<long long>(std::llround(m.draught * 10.0), 0, 255)) : 0U, 8);
    w.putText(m.destination, 20);
    w.put(m.dte, 1);
    w.put(0, 1);
    return armour(w.bits());
}

AisPayload encodeClassBPosition(const ClassBPosition& m) {
    AisBitWriter w;
    putHeader(w, 18, m.repeat, m.mmsi);
    w.put(0, 8);
    putMotion(w, m);
    w.put(0, 2);
    w.put(m.csUnit, 1);
    w.put(m.display, 1);
    w.put(m.dsc, 1);
    w.put(m.band, 1);
    w.put(m.message22, 1);
    w.put(m.assigned, 1);
    w.put(m.raim, 1);
    w.put(m.csUnit ? 1 : 0, 1);  // communication-state selector: ITDMA for carrier-sense units
    w.put(m.radio, 19);
    return armour(w.bits());
}

AisPayload encodeClassBExtended(const ClassBExtended& m) {
    AisBitWriter w;
    putHeader(w, 19, m.repeat, m.mmsi);
    w.put(0, 8);
    putMotion(w, m);
    w.put(0, 4);
    w.putText(m.name, 20);
    w.put(static_cast<unsigned>(m.shipType), 8);
    putDimensions(w, m.toBow, m.toStern, m.toPort, m.toStarboard);
    w.put(static_cast<unsigned>(m.epfd), 4);
    w.put(m.raim, 1);
    w.put(m.dte, 1);
    w.put(m.assigned, 1);
    w.put(0, 4);
    return armour(w.bits());
}

AisPayload encodeAidToNavigation(const AidToNavigation& m) {
    AisBitWriter w;
    putHeader(w, 21, m.repeat, m.mmsi);
    w.put(static_cast<unsigned>(m.aidType), 5);
    const std::string_view name(m.name);
    w.putText(name.substr(0, std::min<std::size_t>(20, name.size())), 20);
    w.put(m.accuracy, 1);
    putPosition(w, m.longitude, m.latitude);
    putDimensions(w, m.toBow, m.toStern, m.toPort, m.toStarboard);
    w.put(static_cast<unsigned>(m.epfd), 4);
    w.put(static_cast<unsigned>(m.timeStamp), 6);
    w.put(m.offPosition, 1);
    w.put(static_cast<unsigned>(m.status), 8);
    w.put(m.raim, 1);
    w.put(m.virtualAid, 1);
    w.put(m.assigned, 1);
    w.put(0, 1);
    if (name.size() > 20) {
        const std::string_view extension = name.substr(20, 14);
        w.putText(extension, static_cast<int>(extension.size()));
        // The message ends on a whole byte.
        const std::size_t pad = (8 - w.size() % 8) % 8;
        w.put(0, static_cast<int>(pad));
    }
    return armour(w.bits());
}

AisPayload encodeStaticDataA(const StaticDataA& m) {
    AisBitWriter w;
    putHeader(w, 24, m.repeat, m.mmsi);
    w.put(0, 2);
    w.putText(m.name, 20);
    return armour(w.bits());
}

AisPayload encodeStaticDataB(const StaticDataB& m) {
    AisBitWriter w;
    putHeader(w, 24, m.repeat, m.mmsi);
    w.put(1, 2);
    w.put(static_cast<unsigned>(m.shipType), 8);
    w.putText(m.vendorId, 7);
    w.putText(m.callSign, 7);
    putDimensions(w, m.toBow, m.toStern, m.toPort, m.toStarboard);
    w.put(static_cast<unsigned>(m.epfd), 4);
    w.put(0, 2);
    return armour(w.bits());
}

AisPayload encodeSarAircraft(const SarAircraft& m) {
    AisBitWriter w;
    putHeader(w, 9, m.repeat, m.mmsi);
    w.put(static_cast<unsigned>(std::clamp(m.altitude, 0, 4095)), 12);
    const auto speed = usable(m.speed);
    w.put(speed ? static_cast<unsigned>(std::llround(std::clamp(*speed, 0.0, 1022.0))) : 1023U, 10);
    w.put(m.accuracy, 1);
    putPosition(w, m.longitude, m.latitude);
    w.put(courseUnits(m.course), 12);
    w.put(static_cast<unsigned>(m.timeStamp), 6);
    w.put(0, 1);  // altitude from GNSS
    w.put(0, 7);
    w.put(m.dte, 1);
    w.put(0, 3);
    w.put(m.assigned, 1);
    w.put(m.raim, 1);
    w.put(0, 1);  // SOTDMA communication state follows
    w.put(m.radio, 19);
    return armour(w.bits());
}

AisPayload encodeSafetyBroadcast(const SafetyBroadcast& m) {
    AisBitWriter w;
    putHeader(w, 14, m.repeat, m.mmsi);
    w.put(0, 2);
    const std::string_view text(m.text);
    const auto chars = std::min<std::size_t>(text.size(), 161);
    w.putText(text.substr(0, chars), static_cast<int>(chars));
    return armour(w.bits());
}

AisPayload encodeLongRange(const LongRangePosition& m) {
    AisBitWriter w;
    putHeader(w, 27, m.repeat, m.mmsi);
    w.put(m.accuracy, 1);
    w.put(m.raim, 1);
    w.put(static_cast<unsigned>(m.navStatus), 4);
    const auto lon = usable(m.longitude), lat = usable(m.latitude);
    w.putSigned(std::llround((lon ? std::clamp(*lon, -181.0, 181.0) : 181.0) * 600.0), 18);
    w.putSigned(std::llround((lat ? std::clamp(*lat, -91.0, 91.0) : 91.0) * 600.0), 17);
    const auto speed = usable(m.speed);
    w.put(speed ? static_cast<unsigned>(std::llround(std::clamp(*speed, 0.0, 62.0))) : 63U, 6);
    const auto course = usable(m.course);
    w.put(course ? static_cast<unsigned>(std::llround(std::fmod(std::fmod(*course, 360.0) + 360.0, 360.0))) % 360U : 511U, 9);
    w.put(m.gnssLate, 1);
    w.put(0, 1);
    return armour(w.bits());
}

AisPayload encodeAddressedBinary(const AddressedBinary& m, const AisBitWriter& data) {
    AisBitWriter w;
    putHeader(w, 6, m.repeat, m.mmsi);
    w.put(static_cast<unsigned>(m.sequence), 2);
    w.put(m.destination, 30);
    w.put(m.retransmit, 1);
    w.put(0, 1);
    w.put(static_cast<unsigned>(m.dac), 10);
    w.put(static_cast<unsigned>(m.fi), 6);
    w.append(data);
    return armour(w.bits());
}

AisPayload encodeBroadcastBinary(const BroadcastBinary& m, const AisBitWriter& data) {
    AisBitWriter w;
    putHeader(w, 8, m.repeat, m.mmsi);
    w.put(0, 2);
    w.put(static_cast<unsigned>(m.dac), 10);
    w.put(static_cast<unsigned>(m.fi), 6);
    w.append(data);
    return armour(w.bits());
}

AisPayload encodeSlotBinary(const SlotBinary& m, const AisBitWriter& data) {
    AisBitWriter w;
    putHeader(w, m.messageId, m.repeat, m.mmsi);
    w.put(m.destination.has_value(), 1);
    w.put(m.structured, 1);
    if (m.destination)
        w.put(*m.destination, 30);
    if (m.structured) {
        w.put(static_cast<unsigned>(m.dac), 10);
        w.put(static_cast<unsigned>(m.fi), 6);
    }
    w.append(data);
    if (m.messageId == 26) {
        w.put(m.itdma, 1);
        w.put(m.radio, 19);
    }
    return armour(w.bits());
}

std::vector<std::string> encapsulate(const AisPayload& payload, char channel, int sequentialId,
                                     std::string_view address, std::size_t maxChars) {
    if (maxChars == 0)
        maxChars = 60;
    const std::size_t length = payload.armoured.size();
    const std::size_t count = std::max<std::size_t>(1, (length + maxChars - 1) / maxChars);
    std::vector<std::string> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const bool last = i + 1 == count;
        SentenceWriter w('!', address);
        w.integer(static_cast<long long>(count)).integer(static_cast<long long>(i + 1));
        if (count > 1)
            w.integer(sequentialId);
        else
            w.empty();
        w.text(std::string(1, channel))
            .text(std::string_view(payload.armoured).substr(std::min(length, i * maxChars), maxChars))
            .integer(last ? payload.fillBits : 0);
        out.push_back(w.finish());
    }
    return out;
}

}  // namespace tiderune::nmeagen
