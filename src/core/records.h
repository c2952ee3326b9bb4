#pragma once
// The last sentence of every recognised type, per system: its raw text and its decoded
// record. Filled by the intake and the sentence parsers, read by everything downstream.
// Nothing clears these records during a run: a field whose conversion fails keeps the value
// of the previous sentence of that type.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "indexed.h"
#include "vdm_record.h"

namespace tiderune {

// An absent field or sample. Compared by exact equality wherever it is tested.
inline constexpr std::int16_t MissingValue = -9999;
inline constexpr double MissingValueD = -9999.0;
inline constexpr float MissingValueF = -9999.0f;

// The sentence types the intake recognises, in the order of the recognition table. VDO
// sentences are handled as VDM.
enum class SentenceType : std::uint8_t {
    GGA, GNS, GLL, RMC, ZDA, VTG, GSA, GST, GSV, HDT, ATT, ROT, VHW, DBT, TTM, VDM,
};
inline constexpr int SentenceTypeCount = 16;

// "GGA", "GNS", ... ("ATT" for the attitude sentence, "VDM" for both AIS kinds).
std::string_view sentenceTypeName(SentenceType t) noexcept;
inline constexpr std::array<SentenceType, SentenceTypeCount> AllSentenceTypes = {
    SentenceType::GGA, SentenceType::GNS, SentenceType::GLL, SentenceType::RMC,
    SentenceType::ZDA, SentenceType::VTG, SentenceType::GSA, SentenceType::GST,
    SentenceType::GSV, SentenceType::HDT, SentenceType::ATT, SentenceType::ROT,
    SentenceType::VHW, SentenceType::DBT, SentenceType::TTM, SentenceType::VDM,
};

// Field types: text = std::string (8-bit bytes), char = one character (a blank when the
// field was empty, 0 before any sentence), Integer = int16, Long = int32, Single = float,
// Double = double. Positions in radians, north and east positive.

struct GGARecord {
    std::string Time;  // "hh:mm:ss"
    double Latitude = 0;
    double Longitude = 0;
    std::int16_t Quality = 0;
    std::int16_t Satellites = 0;
    float HDOP = 0;
    float Altitude = 0;
    char AltitudeUnit = 0;
    float GeoidSeparation = 0;
    char GeoidUnit = 0;
    float DGPSAge = 0;
    std::int32_t StationID = 0;
};

struct GNSRecord {
    std::string Time;  // "hh:mm:ss"
    double Latitude = 0;
    double Longitude = 0;
    std::string ModeIndicator;  // one letter per constellation; "NN" = no fix
    std::int16_t Satellites = 0;
    float HDOP = 0;
    float Altitude = 0;
    float GeoidSeparation = 0;
    float DGPSAge = 0;
    std::int32_t StationID = 0;
};

struct GLLRecord {
    double Latitude = 0;
    double Longitude = 0;
    std::string Time;  // "hh:mm:ss"
    char Status = 0;   // 'A' = valid
    char Mode = 0;
};

struct RMCRecord {
    std::string Time;    // "hh:mm:ss"
    std::string Status;  // "A" = valid
    double Latitude = 0;
    double Longitude = 0;
    float SpeedKnots = 0;
    float CourseTrue = 0;
    std::string Date;  // "ddmmyy" as received
    float MagneticVariation = 0;
    char VariationDirection = 0;
    char Mode = 0;
};

struct VTGRecord {
    float CourseTrue = 0;
    float CourseMagnetic = 0;
    float SpeedKnots = 0;
    float SpeedKmh = 0;
    char Mode = 0;
};

struct ZDARecord {
    std::string Time;  // as received
    std::int16_t Day = 0;
    std::int16_t Month = 0;
    std::int16_t Year = 0;
    std::int16_t ZoneHours = 0;
    std::int16_t ZoneMinutes = 0;
};

struct HDTRecord {
    float Heading = 0;
};

struct ATTRecord {
    float Heading = 0;
    float Pitch = 0;
    float Roll = 0;
};

struct ROTRecord {
    float RateOfTurn = 0;  // degrees per minute
    char Status = 0;
};

struct VHWRecord {
    float HeadingTrue = 0;
    float HeadingMagnetic = 0;
    float SpeedKnots = 0;
    float SpeedKmh = 0;
};

struct DBTRecord {
    float DepthFeet = 0;
    float DepthMetres = 0;
    float DepthFathoms = 0;
};

struct GSARecord {
    char SelectionMode = 0;  // 'M' manual, 'A' automatic
    std::int16_t FixType = 0;
    IndexedArray<std::int16_t, 1, 12> PRN;  // satellites used
    float PDOP = 0;
    float HDOP = 0;
    float VDOP = 0;
    // The address field's talker ("GP", "GN"...), empty without one: a receiver may send one
    // sentence per constellation, and the talker may tell which.
    std::string Talker;
    // The constellation of a GN sentence from NMEA 4.10 on (1 GPS, 2 GLONASS, 3 Galileo,
    // 4 BeiDou...), MissingValue from an older talker.
    std::int16_t SystemId = MissingValue;
};

struct GSVRecord {
    std::int16_t SentenceCount = 0;
    std::int16_t SentenceNumber = 0;
    std::int16_t SatellitesInView = 0;
    // One element per satellite block of the sentence; an absent block holds MissingValue.
    IndexedArray<std::int16_t, 1, 4> PRN;
    IndexedArray<std::int16_t, 1, 4> Elevation;
    IndexedArray<std::int16_t, 1, 4> Azimuth;
    IndexedArray<std::int16_t, 1, 4> SNR;
    // The address field's talker ("GP", "GL", "GN"...): which constellation's satellites the
    // group speaks for. Empty when the address has no two-letter talker before "GSV".
    std::string Talker;
};

struct TTMRecord {
    std::int16_t TargetNumber = 0;
    float Distance = 0;
    float Bearing = 0;
    char BearingReference = 0;  // 'T' / 'R'
    float Speed = 0;
    float Course = 0;
    char CourseReference = 0;
    float CPA = 0;
    float TCPA = 0;  // minutes
    char Units = 0;
    std::string TargetName;
    char TargetStatus = 0;
    std::string ReferenceTarget;
};

struct GSTRecord {
    std::string Time;  // as received
    float RMS = 0;
    float SdSemiMajor = 0;
    float SdSemiMinor = 0;
    std::int16_t Orientation = 0;
    float SdLatitude = 0;
    float SdLongitude = 0;
    float SdAltitude = 0;
};

// The raw text of a type is stored (after tag-block removal, checksum tail included) just
// before its parser runs, so it is current even when the parser fails part-way.
struct NMEAMessageSet {
    std::string GGAText;
    GGARecord GGA;
    std::string GNSText;
    GNSRecord GNS;
    std::string GLLText;
    GLLRecord GLL;
    std::string RMCText;
    RMCRecord RMC;
    std::string VTGText;
    VTGRecord VTG;
    std::string ZDAText;
    ZDARecord ZDA;
    std::string HDTText;
    HDTRecord HDT;
    std::string ATTText;
    ATTRecord ATT;
    std::string ROTText;
    ROTRecord ROT;
    std::string VHWText;
    VHWRecord VHW;
    std::string DBTText;
    DBTRecord DBT;
    GSARecord GSA;
    std::string GSAText;
    std::string GSVText;
    GSVRecord GSV;
    std::string TTMText;
    TTMRecord TTM;
    std::string VDMText;
    VDMRecord VDM;
    GSTRecord GST;
    std::string GSTText;

    // The raw-text slot of a type (VDM for VDO too).
    std::string& textOf(SentenceType t);
    const std::string& textOf(SentenceType t) const;
};

}  // namespace tiderune
