#include "ais_decoders.h"

#include <algorithm>
#include <cmath>

#include "core/civil_date.h"

namespace tiderune {

namespace {

constexpr double kNotAvailable = -9999;

double u(const AisBits& b, int first, int last) { return GetBitsValue(b, first, last, false, false); }
double s(const AisBits& b, int first, int last) { return GetBitsValue(b, first, last, true, false); }
// Every field fits its record type by its bit width.
std::int16_t u16(const AisBits& b, int first, int last) { return static_cast<std::int16_t>(u(b, first, last)); }
std::int32_t u32(const AisBits& b, int first, int last) { return static_cast<std::int32_t>(u(b, first, last)); }

// Positions in 1/10000 minute (or 1/10 minute for the long-range and DGNSS messages); 181°
// of longitude and 91° of latitude mean "not available".
double degrees(double raw, double perMinute, double notAvailable) {
    const double v = raw / perMinute / 60;
    return v == notAvailable ? kNotAvailable : v;
}
float speedTenths(double raw) {
    const double v = raw / 10;
    return static_cast<float>(v >= 102.3 ? kNotAvailable : v);
}
float courseTenths(double raw) {
    const double v = raw / 10;
    return static_cast<float>(v == 360 ? kNotAvailable : v);
}
float heading(double raw) { return static_cast<float>(raw == 511 ? kNotAvailable : raw); }

// Sync state, slot timeout and sub-message at bits 150-168, then the sub-message into the
// field its slot timeout names. All position reports are read with this layout.
template <typename Slot>
void readCommState(const AisBits& b, Slot& slot) {
    AisCommState& c = slot.Comm;
    c.SyncState = u16(b, 150, 151);
    c.SlotTimeout = u16(b, 152, 154);
    c.SubMessage = u16(b, 155, 168);
    switch (c.SlotTimeout) {
    case 0: c.SlotOffset = c.SubMessage; break;
    case 1:
        slot.UTCHour = u16(b, 155, 159);
        slot.UTCMinute = u16(b, 160, 166);
        break;
    case 2:
    case 4:
    case 6: c.SlotNumber = c.SubMessage; break;
    default: c.ReceivedStations = c.SubMessage; break;
    }
}

// Types of ship outside 1-99 are stored as 0; the short and hazard texts follow the stored type.
void checkShipType(std::int16_t& type, std::string& shortText, std::string& hazardText, const AisTables& t) {
    if (type < 1 || type > 99) type = 0;
    shortText = t.ShipTypeShortText[type];
    hazardText = ((type >= 30 && type <= 39) || (type >= 50 && type <= 59)) ? std::string("n/a")
                                                                            : t.HazardCategoryText[type % 10];
}


}  // namespace

double aisDateValue(int year, int month, int day, int hour, int minute) {
    long long y = year;
    long long m0 = month - 1;  // months past December fall in the next year
    y += (m0 >= 0 ? m0 : m0 - 11) / 12;
    m0 -= ((m0 >= 0 ? m0 : m0 - 11) / 12) * 12;
    const long long days = daysFromCivil(y, m0 + 1, 1) - DateValueEpoch + (day - 1);
    return static_cast<double>(days) + (hour * 60.0 + minute) / 1440.0;
}

int aisYearOf(double dateValue) {
    if (!std::isfinite(dateValue) || std::fabs(dateValue) > 3e6) return 1899;
    return static_cast<int>(civilFromDays(static_cast<long long>(std::floor(dateValue)) + DateValueEpoch).year);
}

namespace {

template <typename Slot>
void readHeader(const AisBits& b, Slot& slot) {
    slot.MessageID = u16(b, 1, 6);
    slot.RepeatIndicator = u16(b, 7, 8);
    slot.MMSI = u32(b, 9, 38);
}

// Position accuracy at `first`, then longitude and latitude in 1/10000 minute: the same layout
// wherever a report carries a full-resolution position.
template <typename Slot>
void readPosition(const AisBits& b, Slot& slot, const AisDecodeContext& ctx, int first) {
    slot.PositionAccuracy = u16(b, first, first);
    slot.PositionAccuracyText = lookupText(ctx.tables.PositionAccuracyText, slot.PositionAccuracy);
    slot.Longitude = degrees(s(b, first + 1, first + 28), 10000, 181);
    slot.Latitude = degrees(s(b, first + 29, first + 55), 10000, 91);
}

// Dimensions A to D from the reference point, 30 bits from `first`.
template <typename Slot>
void readDimensions(const AisBits& b, Slot& slot, int first) {
    slot.DimensionA = u16(b, first, first + 8);
    slot.DimensionB = u16(b, first + 9, first + 17);
    slot.DimensionC = u16(b, first + 18, first + 23);
    slot.DimensionD = u16(b, first + 24, first + 29);
}

template <typename Slot>
void readPositionDevice(const AisBits& b, Slot& slot, const AisDecodeContext& ctx, int first) {
    slot.PositionDevice = u16(b, first, first + 3);
    slot.PositionDeviceText = lookupText(ctx.tables.EPFDTypeText, slot.PositionDevice);
}

// The north-east and south-west corners of the area a channel or group command applies to,
// kept as received, 70 bits from `first`.
template <typename Slot>
void readArea(const AisBits& b, Slot& slot, int first) {
    slot.NorthEastLongitude = u(b, first, first + 17);
    slot.NorthEastLatitude = u(b, first + 18, first + 34);
    slot.SouthWestLongitude = u(b, first + 35, first + 52);
    slot.SouthWestLatitude = u(b, first + 53, first + 69);
}

// Speed, position, course, heading and time stamp, 93 bits from `first`: the class A and both
// class B position reports lay them out alike.
template <typename Slot>
void readMotion(const AisBits& b, Slot& slot, const AisDecodeContext& ctx, int first) {
    slot.SpeedOverGround = speedTenths(u(b, first, first + 9));
    readPosition(b, slot, ctx, first + 10);
    slot.CourseOverGround = courseTenths(u(b, first + 66, first + 77));
    slot.TrueHeading = heading(u(b, first + 78, first + 86));
    slot.TimeStamp = u16(b, first + 87, first + 92);
}

}  // namespace

void DecodeMsg1_3_PositionReportA(const AisBits& b, ClassAPositionSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.NavigationalStatus = u16(b, 39, 42);
    slot.NavigationalStatusText = lookupText(ctx.tables.NavStatusText, slot.NavigationalStatus);
    // Rate of turn: ROT_AIS = 4.733 * sqrt(ROT); the code 128 (-128 on the air) is "not available".
    const float rawRot = static_cast<float>(s(b, 43, 50));
    if (std::fabs(rawRot) == 128) {
        slot.RateOfTurn = static_cast<float>(kNotAvailable);
    } else {
        const double r = rawRot;
        const double sign = r > 0 ? 1 : (r < 0 ? -1 : 0);
        slot.RateOfTurn = static_cast<float>(sign * (r / 4.733) * (r / 4.733));
    }
    readMotion(b, slot, ctx, 51);
    slot.ManoeuvreIndicator = u16(b, 144, 145);
    slot.Spare = u16(b, 146, 148);
    slot.RAIMFlag = u16(b, 149, 149);
    readCommState(b, slot);
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg4_BaseStation(const AisBits& b, BaseStationSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.UTCYear = u16(b, 39, 52);
    slot.UTCMonth = u16(b, 53, 56);
    slot.UTCDay = u16(b, 57, 61);
    slot.UTCHour = u16(b, 62, 66);
    slot.UTCMinute = u16(b, 67, 72);
    slot.UTCSecond = u16(b, 73, 78);
    readPosition(b, slot, ctx, 79);
    readPositionDevice(b, slot, ctx, 135);
    slot.LongRangeControl = u16(b, 139, 139);
    slot.Spare = u16(b, 140, 148);
    slot.RAIMFlag = u16(b, 149, 149);
    // With slot timeout 1 the communication state's hour and minute land in the report's own
    // UTC hour and minute: the record has no others.
    readCommState(b, slot);
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg5_StaticVoyage(const AisBits& b, StaticVoyageSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.AISVersion = u16(b, 39, 40);
    slot.IMONumber = u32(b, 41, 70);
    slot.CallSign = GetBitsText(b, 71, 112);
    slot.Name = GetBitsText(b, 113, 232);
    slot.ShipType = u16(b, 233, 240);
    checkShipType(slot.ShipType, slot.ShipTypeShortText, slot.HazardText, ctx.tables);
    readDimensions(b, slot, 241);
    readPositionDevice(b, slot, ctx, 271);
    const int month = u16(b, 275, 278);
    const int day = u16(b, 279, 283);
    const int hour = u16(b, 284, 288);
    const int minute = u16(b, 289, 294);
    slot.ETA = month == 0 ? 0 : aisDateValue(aisYearOf(ctx.now), month, day, hour, minute);
    slot.Draught = static_cast<float>(u(b, 295, 302) / 10);
    slot.Destination = GetBitsText(b, 303, 422);
    slot.DTEFlag = u16(b, 423, 423);
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg9_SARAircraft(const AisBits& b, SARAircraftSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.Altitude = u16(b, 39, 50);
    const double sog = u(b, 51, 60);  // whole knots for aircraft
    slot.SpeedOverGround = static_cast<float>(sog >= 1023 ? kNotAvailable : sog);
    readPosition(b, slot, ctx, 61);
    slot.CourseOverGround = courseTenths(u(b, 117, 128));
    slot.TimeStamp = u16(b, 129, 134);
    slot.AltitudeSensor = u16(b, 135, 135);
    slot.DTEFlag = u16(b, 143, 143);
    slot.Spare = u16(b, 144, 146);
    slot.AssignedModeFlag = u16(b, 147, 147);
    slot.RAIMFlag = u16(b, 148, 148);
    slot.CommStateSelector = u16(b, 149, 149);
    readCommState(b, slot);
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg10_UTCInquiry(const AisBits& b, UTCInquirySlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.DestinationMMSI = u32(b, 41, 70);
    slot.TimeOfReceipt = ctx.now;
}

namespace {

// The last start bit of a text that runs to the end of the payload, kept within what a
// payload can hold whatever the length and fill bits say.
int textEnd(long long lastStart) { return static_cast<int>(std::clamp<long long>(lastStart, -1, 2 * AisBits::Size)); }

}  // namespace

void DecodeMsg12_AddressedSafety(const AisBits& b, AddressedSafetySlot& slot, const AisDecodeContext& ctx,
                                 int payloadChars, int fillBits) {
    readHeader(b, slot);
    slot.SequenceNumber = u16(b, 39, 40);
    slot.DestinationMMSI = u32(b, 41, 70);
    slot.RetransmitFlag = u16(b, 71, 71);
    slot.Spare = u16(b, 72, 72);
    slot.Text = GetBitsText(b, 73, textEnd(6LL * (payloadChars - 13) + 73 - fillBits));
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg14_SafetyBroadcast(const AisBits& b, SafetyBroadcastSlot& slot, const AisDecodeContext& ctx,
                                 int payloadChars, int /*fillBits*/) {
    readHeader(b, slot);
    slot.Text = GetBitsText(b, 41, textEnd(6LL * (payloadChars - 8) + 41));
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg16_AssignmentCommand(const AisBits& b, AssignmentSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.DestinationAMMSI = u32(b, 41, 70);
    slot.OffsetA = u16(b, 71, 82);
    slot.IncrementA = u16(b, 83, 92);
    slot.DestinationBMMSI = u32(b, 93, 122);
    slot.OffsetB = u16(b, 123, 134);
    slot.IncrementB = u16(b, 135, 144);
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg17_DGNSSBroadcast(const AisBits& b, DGNSSSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.Longitude = degrees(s(b, 41, 58), 10, 181);
    slot.Latitude = degrees(s(b, 59, 75), 10, 91);
    slot.DGNSSMessageType = u16(b, 81, 86);
    slot.StationID = u32(b, 87, 96);
    slot.ZCount = static_cast<float>(u(b, 97, 109) * 0.6);
    slot.SequenceNumber = u16(b, 110, 112);
    slot.NumberOfDataWords = u16(b, 113, 117);
    slot.StationHealth = u16(b, 118, 120);
    const int type = slot.DGNSSMessageType;
    if (type == 1 || type == 9 || type == 31 || type == 34) {
        // RTCM SC-104 corrections, 40 bits per satellite: three satellites per five words.
        const int n = slot.NumberOfDataWords;
        int count = 3 * (n / 5) + (n % 5 == 2 ? 1 : 0) + (n % 5 == 4 ? 2 : 0);
        // 30 or 31 words would give an 18th satellite that the slot has no room for.
        count = std::min(count, DGNSSSlot::MaxSatellites);
        slot.NumberOfSatellites = static_cast<std::int16_t>(count);
        for (int k = 1; k <= count; ++k) {
            const int base = 121 + 40 * (k - 1);
            slot.ScaleFactor[k] = u16(b, base, base);
            slot.UDRE[k] = u16(b, base + 1, base + 2);
            slot.SatelliteID[k] = u16(b, base + 3, base + 7);
            const double prc = s(b, base + 8, base + 23);
            const double rrc = s(b, base + 24, base + 31);
            const bool coarse = slot.ScaleFactor[k] == 1;
            slot.PseudorangeCorrection[k] = static_cast<float>(prc * (coarse ? 0.32 : 0.02));
            slot.RangeRateCorrection[k] = static_cast<float>(rrc * (coarse ? 0.032 : 0.002));
            slot.IssueOfData[k] = u16(b, base + 32, base + 39);
        }
    } else if (type == 3 || type == 32) {
        slot.ReferenceX = s(b, 121, 152) / 100;
        slot.ReferenceY = s(b, 153, 184) / 100;
        slot.ReferenceZ = s(b, 185, 216) / 100;
    }
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg18_StandardClassB(const AisBits& b, ClassBPositionSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.Reserved = u16(b, 39, 46);
    readMotion(b, slot, ctx, 47);
    slot.ClassBUnitFlag = u16(b, 142, 142);
    slot.DisplayFlag = u16(b, 143, 143);
    slot.DSCFlag = u16(b, 144, 144);
    slot.BandFlag = u16(b, 145, 145);
    slot.Message22Flag = u16(b, 146, 146);
    slot.AssignedModeFlag = u16(b, 147, 147);
    slot.RAIMFlag = u16(b, 148, 148);
    slot.CommStateSelector = u16(b, 149, 149);
    readCommState(b, slot);
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg19_ExtendedClassB(const AisBits& b, ClassBExtendedSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.Reserved = u16(b, 39, 46);
    readMotion(b, slot, ctx, 47);
    slot.Reserved2 = u16(b, 140, 143);
    slot.Name = GetBitsText(b, 144, 263);
    slot.ShipType = u16(b, 264, 271);
    slot.ShipTypeText = lookupText(ctx.tables.ShipTypeText, slot.ShipType);  // the type as received
    checkShipType(slot.ShipType, slot.ShipTypeShortText, slot.HazardText, ctx.tables);
    readDimensions(b, slot, 272);
    readPositionDevice(b, slot, ctx, 302);
    slot.RAIMFlag = u16(b, 306, 306);
    slot.DTEFlag = u16(b, 307, 307);
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg20_DataLinkManagement(const AisBits& b, LinkManagementSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    for (int k = 1; k <= 4; ++k) {  // reservations the message does not carry read 0
        const int base = 41 + 30 * (k - 1);
        slot.Offset[k] = u16(b, base, base + 11);
        slot.NumberOfSlots[k] = u16(b, base + 12, base + 15);
        slot.Timeout[k] = u16(b, base + 16, base + 18);
        slot.Increment[k] = u16(b, base + 19, base + 29);
    }
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg21_AidToNavigation(const AisBits& b, AidToNavigationSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.AidType = u16(b, 39, 43);
    slot.AidTypeText = lookupText(ctx.tables.AtoNTypeText, slot.AidType);
    slot.Name = GetBitsText(b, 44, 163);
    readPosition(b, slot, ctx, 164);
    readDimensions(b, slot, 220);
    readPositionDevice(b, slot, ctx, 250);
    slot.TimeStamp = u16(b, 254, 259);
    slot.OffPosition = u16(b, 260, 260);
    slot.StatusPage = u16(b, 261, 263);
    if (slot.StatusPage == 7) {  // IALA A-126 page 7: RACON, light and health
        slot.RACONStatus = u16(b, 264, 265);
        slot.LightStatus = u16(b, 266, 267);
        slot.HealthFlag = u16(b, 268, 268);
    }
    slot.RAIMFlag = u16(b, 269, 269);
    slot.VirtualAidFlag = u16(b, 270, 270);
    slot.AssignedModeFlag = u16(b, 271, 271);
    slot.NameExtension = GetBitsText(b, 273, 356);
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg22_ChannelManagement(const AisBits& b, ChannelManagementSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.ChannelA = u16(b, 41, 52);
    slot.ChannelB = u16(b, 53, 64);
    slot.TxRxMode = u16(b, 65, 68);
    slot.Power = u16(b, 69, 69);
    readArea(b, slot, 70);
    slot.AddressedFlag = u16(b, 140, 140);
    slot.ChannelABandwidth = u16(b, 141, 141);
    slot.ChannelBBandwidth = u16(b, 142, 142);
    slot.TransitionZoneSize = u16(b, 143, 145);
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg23_GroupAssignment(const AisBits& b, GroupAssignmentSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    readArea(b, slot, 41);
    slot.StationType = u16(b, 111, 114);
    slot.ShipType = u16(b, 115, 122);
    slot.TxRxMode = u16(b, 145, 146);
    slot.ReportingInterval = u16(b, 147, 150);
    slot.QuietTime = u16(b, 151, 154);
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg24_StaticDataReport(const AisBits& b, StaticDataSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.PartNumber = u16(b, 39, 40);
    if (slot.PartNumber == 0) {
        slot.Name = GetBitsText(b, 41, 160);
    } else {
        slot.ShipType = u16(b, 41, 48);
        checkShipType(slot.ShipType, slot.ShipTypeShortText, slot.HazardText, ctx.tables);
        slot.VendorID = GetBitsText(b, 49, 90);
        slot.ManufacturerID = GetBitsText(b, 49, 66);
        slot.UnitModelCode = u16(b, 67, 70);
        slot.SerialNumber = u32(b, 71, 90);
        slot.CallSign = GetBitsText(b, 91, 132);
        readDimensions(b, slot, 133);
    }
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg27_LongRange(const AisBits& b, LongRangeSlot& slot, const AisDecodeContext& ctx) {
    readHeader(b, slot);
    slot.PositionAccuracy = u16(b, 39, 39);
    slot.PositionAccuracyText = lookupText(ctx.tables.PositionAccuracyText, slot.PositionAccuracy);
    slot.RAIMFlag = u16(b, 40, 40);
    slot.NavigationalStatus = u16(b, 41, 44);
    slot.NavigationalStatusText = lookupText(ctx.tables.NavStatusText, slot.NavigationalStatus);
    slot.Longitude = degrees(s(b, 45, 62), 10, 181);
    slot.Latitude = degrees(s(b, 63, 79), 10, 91);
    const double sog = u(b, 80, 85);
    slot.SpeedOverGround = static_cast<float>(sog >= 63 ? kNotAvailable : sog);
    const double cog = u(b, 86, 94);
    slot.CourseOverGround = static_cast<float>(cog == 511 ? kNotAvailable : cog);
    slot.GNSSPositionStatus = u16(b, 95, 95);
    slot.TimeOfReceipt = ctx.now;
}

}  // namespace tiderune
