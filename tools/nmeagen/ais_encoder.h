#pragma once
// AIS messages as ITU-R M.1371 lays them out, armoured into 6-bit payload text and carried
// in VDM/VDO sentences.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tiderune::nmeagen {

// Collects the message bits, most significant first.
class AisBitWriter {
public:
    void put(std::uint64_t value, int bits);
    void putSigned(std::int64_t value, int bits);
    // Text in the 6-bit character set, padded with "@" (0) to `chars` characters; lower case
    // is written as upper case and characters outside the set as "?".
    void putText(std::string_view text, int chars);
    void append(const AisBitWriter& other);
    std::size_t size() const { return bits_.size(); }
    const std::vector<bool>& bits() const { return bits_; }

private:
    std::vector<bool> bits_;
};

// The armoured payload and the fill bits that pad its last character.
struct AisPayload {
    std::string armoured;
    int fillBits = 0;
};
AisPayload armour(const std::vector<bool>& bits);
// The 6-bit payload character of a value 0..63.
char armourChar(unsigned value);

// Values in the units the messages carry them; std::nullopt sends the field's
// "not available" code.
struct ClassAPosition {
    int messageId = 1;              // 1, 2 or 3
    int repeat = 0;
    std::uint32_t mmsi = 0;
    int navStatus = 15;
    int rateOfTurn = -128;          // the indicator as sent: see rateOfTurnIndicator()
    std::optional<double> speed;    // knots
    bool accuracy = false;
    std::optional<double> longitude, latitude;  // degrees
    std::optional<double> course;   // degrees
    std::optional<int> heading;     // degrees
    int timeStamp = 60;             // UTC second, 60 = not available
    int manoeuvre = 0;
    bool raim = false;
    std::uint32_t radio = 0;        // 19-bit communication state
};
AisPayload encodeClassAPosition(const ClassAPosition& m);

// The rate-of-turn indicator of a turn rate in degrees per minute: 4.733 * sqrt(|rot|) with
// the sign of the turn, limited to +-126 (+-127 means turning faster than 5 degrees in 30 s
// without a rate sensor); -128 when not available.
int rateOfTurnIndicator(std::optional<double> degreesPerMinute);

struct BaseStationReport {
    int repeat = 0;
    std::uint32_t mmsi = 0;
    int year = 0, month = 0, day = 0, hour = 24, minute = 60, second = 60;
    bool accuracy = false;
    std::optional<double> longitude, latitude;
    int epfd = 1;
    bool raim = false;
    std::uint32_t radio = 0;
};
AisPayload encodeBaseStation(const BaseStationReport& m);

struct StaticVoyage {
    int repeat = 0;
    std::uint32_t mmsi = 0;
    int aisVersion = 2;
    std::uint32_t imo = 0;
    std::string callSign, name;
    int shipType = 0;
    int toBow = 0, toStern = 0, toPort = 0, toStarboard = 0;
    int epfd = 1;
    int etaMonth = 0, etaDay = 0, etaHour = 24, etaMinute = 60;
    double draught = 0;             // metres
    std::string destination;
    bool dte = false;
};
AisPayload encodeStaticVoyage(const StaticVoyage& m);

// What the standard and extended class B reports both carry, in the same bits.
struct ClassBMotion {
    int repeat = 0;
    std::uint32_t mmsi = 0;
    std::optional<double> speed;
    bool accuracy = false;
    std::optional<double> longitude, latitude;
    std::optional<double> course;
    std::optional<int> heading;
    int timeStamp = 60;
};

struct ClassBPosition : ClassBMotion {
    bool csUnit = true, display = false, dsc = true, band = true, message22 = true, assigned = false;
    bool raim = false;
    std::uint32_t radio = 0b1100000000000000110;  // carrier-sense units send this fixed state
};
AisPayload encodeClassBPosition(const ClassBPosition& m);

struct ClassBExtended : ClassBMotion {
    std::string name;
    int shipType = 0;
    int toBow = 0, toStern = 0, toPort = 0, toStarboard = 0;
    int epfd = 1;
    bool raim = false, dte = true, assigned = false;
};
AisPayload encodeClassBExtended(const ClassBExtended& m);

struct AidToNavigation {
    int repeat = 0;
    std::uint32_t mmsi = 0;
    int aidType = 0;
    std::string name;               // up to 34 characters: the first 20, then the extension
    bool accuracy = false;
    std::optional<double> longitude, latitude;
    int toBow = 0, toStern = 0, toPort = 0, toStarboard = 0;
    int epfd = 7;
    int timeStamp = 60;
    bool offPosition = false;
    int status = 0;                 // 8 bits of AtoN status
    bool raim = false, virtualAid = false, assigned = false;
};
AisPayload encodeAidToNavigation(const AidToNavigation& m);

struct StaticDataA {
    int repeat = 0;
    std::uint32_t mmsi = 0;
    std::string name;
};
AisPayload encodeStaticDataA(const StaticDataA& m);

struct StaticDataB {
    int repeat = 0;
    std::uint32_t mmsi = 0;
    int shipType = 0;
    std::string vendorId;           // 7 characters
    std::string callSign;
    int toBow = 0, toStern = 0, toPort = 0, toStarboard = 0;
    int epfd = 1;
};
AisPayload encodeStaticDataB(const StaticDataB& m);

struct SarAircraft {
    int repeat = 0;
    std::uint32_t mmsi = 0;
    int altitude = 4095;            // metres, 4095 = not available
    std::optional<double> speed;    // knots, whole knots are sent
    bool accuracy = false;
    std::optional<double> longitude, latitude;
    std::optional<double> course;
    int timeStamp = 60;
    bool dte = true, assigned = false, raim = false;
    std::uint32_t radio = 0;
};
AisPayload encodeSarAircraft(const SarAircraft& m);

struct SafetyBroadcast {
    int repeat = 0;
    std::uint32_t mmsi = 0;
    std::string text;               // up to 161 characters
};
AisPayload encodeSafetyBroadcast(const SafetyBroadcast& m);

struct LongRangePosition {
    int repeat = 0;
    std::uint32_t mmsi = 0;
    bool accuracy = false, raim = false;
    int navStatus = 15;
    std::optional<double> longitude, latitude;  // sent in tenths of a minute
    std::optional<double> speed;    // whole knots
    std::optional<double> course;   // whole degrees
    bool gnssLate = false;          // the position is not current
};
AisPayload encodeLongRange(const LongRangePosition& m);

// Binary messages: the framing around application data that the caller lays out itself (a
// text telegram in 6 and 8 opens with its acknowledge flag and 11-bit sequence number).
struct AddressedBinary {            // message 6
    int repeat = 0;
    std::uint32_t mmsi = 0;
    int sequence = 0;
    std::uint32_t destination = 0;
    bool retransmit = false;
    int dac = 1, fi = 0;
};
AisPayload encodeAddressedBinary(const AddressedBinary& m, const AisBitWriter& data);

struct BroadcastBinary {            // message 8
    int repeat = 0;
    std::uint32_t mmsi = 0;
    int dac = 1, fi = 0;
};
AisPayload encodeBroadcastBinary(const BroadcastBinary& m, const AisBitWriter& data);

// Messages 25 and 26: the 30-bit destination, when there is one, is followed directly by the
// DAC and FI of structured data. Message 26 closes with its communication state.
struct SlotBinary {
    int messageId = 25;             // 25 or 26
    int repeat = 0;
    std::uint32_t mmsi = 0;
    std::optional<std::uint32_t> destination;
    bool structured = false;
    int dac = 1, fi = 0;
    bool itdma = false;             // message 26: communication state selector
    std::uint32_t radio = 0;        // message 26: 19-bit communication state
};
AisPayload encodeSlotBinary(const SlotBinary& m, const AisBitWriter& data);

// Splits a payload into VDM (or VDO) sentences of at most `maxChars` payload characters:
// "!AIVDM,count,number,id,channel,payload,fill*hh". The sequential id is written only when
// the message needs more than one sentence; the fill bits are those of the last sentence
// and 0 on the others.
std::vector<std::string> encapsulate(const AisPayload& payload, char channel, int sequentialId,
                                     std::string_view address = "AIVDM", std::size_t maxChars = 60);

}  // namespace tiderune::nmeagen
