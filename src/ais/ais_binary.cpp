// The binary messages 6, 8, 25 and 26 and the application data they carry. The data is
// chosen by its function identifier (FI) alone, whatever the DAC, and laid out as IMO
// SN/Circ.236 gives it.
#include <algorithm>

#include "ais_decoders.h"
#include "core/number_text.h"

namespace tiderune {

namespace {

constexpr double kNotAvailable = -9999;

double u(const AisBits& b, int first, int last) { return GetBitsValue(b, first, last, false, false); }
std::int16_t u16(const AisBits& b, int first, int last) { return static_cast<std::int16_t>(u(b, first, last)); }
std::int32_t u32(const AisBits& b, int first, int last) { return static_cast<std::int32_t>(u(b, first, last)); }

// Reads application data field after field from `at`, which it moves past each field. Bits
// the payload does not reach read as 0, also past the end of the bit array.
class FieldReader {
public:
    FieldReader(const AisBits& bits, int& at) : bits_(bits), at_(at) {}

    double u(int width) { return take(width, false); }
    double s(int width) { return take(width, true); }
    std::int16_t u16(int width) { return static_cast<std::int16_t>(take(width, false)); }
    // A reading the sender may mark as not available by setting every bit of its field:
    // MissingValue then, else value / divisor + offset. The mark is told from the bits, not
    // from the value, so a signed reading whose raw value happens to be -9999 stays a reading.
    double reading(int width, double divisor = 1, double offset = 0, bool isSigned = false) {
        const bool allSet = at_ >= 1 && at_ + width - 1 <= AisBits::Size &&
                            bits_.field(at_, at_ + width - 1) == (std::uint64_t{1} << width) - 1;
        const double raw = take(width, isSigned);
        return allSet ? kNotAvailable : raw / divisor + offset;
    }
    double signedReading(int width, double divisor) { return reading(width, divisor, 0, true); }
    std::string text(int chars) {
        std::string t = GetBitsText(bits_, at_, at_ + 6 * (chars - 1));
        at_ += 6 * chars;
        return t;
    }

private:
    double take(int width, bool isSigned) {
        const double v = GetBitsValue(bits_, at_, at_ + width - 1, isSigned, false);
        at_ += width;
        return v;
    }

    const AisBits& bits_;
    int& at_;
};

// The payload's length in bits, 6 x characters - fill bits, kept within what the bit array
// holds: at most 168 characters, fill bits outside 0-5 counting as 0, as for every read.
int payloadBits(const AisBits& b, int payloadChars, int fillBits) {
    const int fill = (fillBits >= 0 && fillBits <= 5) ? fillBits : 0;
    return static_cast<int>(std::clamp<long long>(6LL * payloadChars - fill, 0, b.usableBits()));
}

// Every whole 6-bit character from `first` up to bit `last`; a part character is not read.
std::string telegram(const AisBits& b, int first, int last) { return GetBitsText(b, first, last - 5); }

std::string notDecoded(int fi) {
    return "Message with FI (Function Identifier)" + StrNumber(fi) +
           " received. FI is not decoded by this application! Please make sure you are using correct Binary "
           "Message Standard (IMO236 or IALA Proposal)";
}

// The application data of `fi` from bit `first` into `data`; returns the summary text. A
// text telegram starts at `textFirst` and ends with the last whole character before `last`.
std::string decodeApplicationData(const AisBits& b, int messageID, int fi, int first, int textFirst, int last,
                                  BinaryMessageSlot& data) {
    if (!BinaryMessageDecodesFI(messageID, fi)) return notDecoded(fi);
    int bit = first;
    FieldReader r(b, bit);
    switch (fi) {
    case 0: return telegram(b, textFirst, last);
    case 2:
        DecodeFI_Interrogation(b, data, bit);
        return "FI 2 - FI Interogation, DAC" + StrNumber(data.RequestedDAC) + " FI" + StrNumber(data.RequestedFI);
    case 11: DecodeFI_MetHydro(b, data, bit); return "FI 11 - Meteorological & Hydrological Data";
    case 12: DecodeFI_DangerousCargo(b, data, bit); return "FI 12 - Dangerous Cargo Indication";
    case 13: DecodeFI_FairwayClosed(b, data, bit); return "FI 13 - Fairway Closed";
    case 14: DecodeFI_TidalWindow(b, data, bit); return "FI 14 - Tidal Window";
    case 15:
        data.HeightOverKeel = static_cast<float>(r.u(11) / 10);
        return "Height over keel :" + StrNumber(data.HeightOverKeel);
    case 16:
        data.PersonsOnBoard = r.u16(13);
        return "Passengers onboard :" + StrNumber(data.PersonsOnBoard);
    case 21: DecodeFI_WeatherObsShip(b, data, bit); return "FI 21 - Weather Observation Report from Ship";
    default: return notDecoded(fi);
    }
}

// Flags, destination and DAC/FI of messages 25 and 26; returns the first bit of the
// application data.
int readSlotBinaryHeader(const AisBits& b, SlotBinaryHeader& slot) {
    slot.MessageID = u16(b, 1, 6);
    slot.RepeatIndicator = u16(b, 7, 8);
    slot.MMSI = u32(b, 9, 38);
    slot.AddressedFlag = u16(b, 39, 39);
    slot.StructuredFlag = u16(b, 40, 40);
    int first = 41;
    if (slot.AddressedFlag == 1) {
        slot.DestinationMMSI = u32(b, first, first + 29);
        first += 30;
    }
    if (slot.StructuredFlag == 1) {
        slot.DAC = u16(b, first, first + 9);
        slot.FI = u16(b, first + 10, first + 15);
        first += 16;
    }
    return first;
}

// Decodes the application data of a structured message 25 or 26 in a record of its own and
// keeps what the slot has room for: the summary, the height over keel and the persons on board.
template <typename Slot>
void decodeSlotBinaryData(const AisBits& b, Slot& slot, int first, int last) {
    BinaryMessageSlot data;
    slot.Summary = decodeApplicationData(b, slot.MessageID, slot.FI, first, first, last, data);
    if (!BinaryMessageDecodesFI(slot.MessageID, slot.FI)) return;
    if (slot.FI == 15) slot.HeightOverKeel = data.HeightOverKeel;
    if (slot.FI == 16) slot.PersonsOnBoard = data.PersonsOnBoard;
}

}  // namespace

bool BinaryMessageDecodesFI(int messageID, int fi) {
    switch (fi) {
    case 0: return messageID != 26;  // a structured message 26 carries no text telegram
    case 2: return messageID == 6;
    case 11:
    case 12:
    case 13:
    case 14: return messageID != 25;
    case 15:
    case 16: return true;
    case 21: return messageID == 8;
    default: return false;
    }
}

void DecodeFI_Interrogation(const AisBits& b, BinaryMessageSlot& slot, int& bit) {
    FieldReader r(b, bit);
    slot.RequestedDAC = r.u16(10);
    slot.RequestedFI = r.u16(6);
}

void DecodeFI_MetHydro(const AisBits& b, BinaryMessageSlot& slot, int& bit) {
    FieldReader r(b, bit);
    slot.MetLatitude = r.signedReading(24, 1000 * 60);  // 1/1000 minute
    slot.MetLongitude = r.signedReading(25, 1000 * 60);
    slot.MetDay = r.u16(5);
    slot.MetHour = r.u16(5);
    slot.MetMinute = r.u16(6);
    auto i16 = [&r](int width) { return static_cast<std::int16_t>(r.reading(width)); };
    auto f32 = [&r](int width, double divisor, double offset = 0) {
        return static_cast<float>(r.reading(width, divisor, offset));
    };
    slot.AverageWindSpeed = i16(7);
    slot.WindGust = i16(7);
    slot.WindDirection = i16(9);
    slot.WindGustDirection = i16(9);
    slot.AirTemperature = f32(11, 10, -60);
    slot.RelativeHumidity = i16(7);
    slot.DewPoint = f32(10, 10, -20);
    slot.AirPressure = static_cast<std::int16_t>(r.reading(9, 1, 800));
    slot.PressureTendency = i16(2);
    slot.HorizontalVisibility = f32(8, 10);
    slot.WaterLevel = f32(9, 10, -10);
    slot.WaterLevelTrend = i16(2);
    slot.SurfaceCurrentSpeed = f32(8, 10);
    slot.SurfaceCurrentDirection = i16(9);
    slot.CurrentSpeed2 = f32(8, 10);
    slot.CurrentDirection2 = i16(9);
    slot.MeasuringLevel2 = i16(5);
    slot.CurrentSpeed3 = f32(8, 10);
    slot.CurrentDirection3 = i16(9);
    slot.MeasuringLevel3 = i16(5);
    slot.WaveHeight = f32(8, 10);
    slot.WavePeriod = i16(6);
    slot.WaveDirection = i16(9);
    slot.SwellHeight = f32(8, 10);
    slot.SwellPeriod = i16(6);
    slot.SwellDirection = i16(9);
    slot.SeaState = i16(4);
    slot.WaterTemperature = f32(10, 10, -10);
    slot.PrecipitationType = i16(3);
    slot.Salinity = f32(9, 10);
    slot.Ice = i16(2);
}

void DecodeFI_DangerousCargo(const AisBits& b, BinaryMessageSlot& slot, int& bit) {
    FieldReader r(b, bit);
    slot.LastPortOfCall = r.text(5);
    slot.ETDMonth = r.u16(4);
    slot.ETDDay = r.u16(5);
    slot.ETDHour = r.u16(5);
    slot.ETDMinute = r.u16(6);
    slot.NextPortOfCall = r.text(5);
    slot.ETAMonth = r.u16(4);
    slot.ETADay = r.u16(5);
    slot.ETAHour = r.u16(5);
    slot.ETAMinute = r.u16(6);
    slot.MainDangerousGood = r.text(20);
    slot.IMDCategory = r.text(4);
    slot.UNNumber = r.u16(13);
    slot.AmountOfCargo = r.u16(10);
    slot.UnitOfAmount = r.u16(2);
}

void DecodeFI_FairwayClosed(const AisBits& b, BinaryMessageSlot& slot, int& bit) {
    FieldReader r(b, bit);
    slot.ReasonForClosing = r.text(20);
    slot.ClosingFromLocation = r.text(20);
    slot.ClosingToLocation = r.text(20);
    slot.ClosedAreaExtension = r.u16(10);
    slot.ClosedAreaExtensionUnit = r.u16(2);
    slot.ClosingFromDay = r.u16(5);
    slot.ClosingFromMonth = r.u16(4);
    slot.ClosingFromHour = r.u16(5);
    slot.ClosingFromMinute = r.u16(6);
    slot.ClosingUntilDay = r.u16(5);
    slot.ClosingUntilMonth = r.u16(4);
    slot.ClosingUntilHour = r.u16(5);
    slot.ClosingUntilMinute = r.u16(6);
}

void DecodeFI_TidalWindow(const AisBits& b, BinaryMessageSlot& slot, int& bit) {
    FieldReader r(b, bit);
    slot.TidalMonth = r.u16(4);
    slot.TidalDay = r.u16(5);
    for (int k = 1; k <= 3; ++k) {  // always three points; those the payload misses read 0
        slot.TidalLatitude[k] = r.s(27) / 10000 / 60;  // 1/10000 minute
        slot.TidalLongitude[k] = r.s(28) / 10000 / 60;
        slot.TidalFromHour[k] = r.u16(5);
        slot.TidalFromMinute[k] = r.u16(6);
        slot.TidalToHour[k] = r.u16(5);
        slot.TidalToMinute[k] = r.u16(6);
        slot.TidalCurrentDirection[k] = r.u16(9);
        slot.TidalCurrentSpeed[k] = static_cast<float>(r.u(7) / 10);
    }
}

void DecodeFI_WeatherObsShip(const AisBits& b, BinaryMessageSlot& slot, int& bit) {
    FieldReader r(b, bit);
    slot.ReportType = r.u16(1);
    if (slot.ReportType != 1) return;  // only the report type 1 layout is known
    slot.ObservationLongitude = static_cast<float>(r.signedReading(16, 100 * 60));  // 1/100 minute
    slot.ObservationLatitude = static_cast<float>(r.signedReading(15, 100 * 60));
    slot.ObservationMonth = r.u16(4);
    slot.ObservationDay = r.u16(6);
    slot.ObservationHour = r.u16(5);
    slot.ObservationMinute = static_cast<std::int16_t>(r.u(3) * 10);
    slot.ShipCourse = static_cast<float>(r.u(7));
    slot.ShipSpeed = static_cast<float>(r.reading(5));
    slot.ShipHeading = static_cast<float>(r.u(7));
    slot.ObservationAirPressure = static_cast<float>(r.u(11) / 10 + 900);
    slot.PressureChange = static_cast<float>(r.u(10) / 10 - 50);
    slot.ObservationPressureTendency = static_cast<float>(r.u(4));
}

void DecodeMsg6_AddressedBinary(const AisBits& b, BinaryMessageSlot& slot, const AisDecodeContext& ctx,
                                int payloadChars, int fillBits) {
    slot.MessageID = u16(b, 1, 6);
    slot.RepeatIndicator = u16(b, 7, 8);
    slot.MMSI = u32(b, 9, 38);
    slot.DestinationMMSI = u32(b, 41, 70);
    slot.DAC = u16(b, 73, 82);
    slot.FI = u16(b, 83, 88);
    // A text telegram opens with the acknowledge flag and a text sequence number (12 bits).
    slot.Summary = decodeApplicationData(b, 6, slot.FI, 89, 101, payloadBits(b, payloadChars, fillBits), slot);
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg8_BroadcastBinary(const AisBits& b, BinaryMessageSlot& slot, const AisDecodeContext& ctx,
                                int payloadChars, int fillBits) {
    slot.MessageID = u16(b, 1, 6);
    slot.RepeatIndicator = u16(b, 7, 8);
    slot.MMSI = u32(b, 9, 38);
    slot.DAC = u16(b, 41, 50);
    slot.FI = u16(b, 51, 56);
    slot.Summary = decodeApplicationData(b, 8, slot.FI, 57, 69, payloadBits(b, payloadChars, fillBits), slot);
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg25_SingleSlotBinary(const AisBits& b, SingleSlotBinarySlot& slot, const AisDecodeContext& ctx,
                                  int payloadChars, int fillBits) {
    const int first = readSlotBinaryHeader(b, slot);
    const int last = payloadBits(b, payloadChars, fillBits);
    if (slot.StructuredFlag == 1) {
        decodeSlotBinaryData(b, slot, first, last);
    } else {
        slot.Summary = telegram(b, first, last);  // no FI: the data is text
    }
    slot.TimeOfReceipt = ctx.now;
}

void DecodeMsg26_MultiSlotBinary(const AisBits& b, MultiSlotBinarySlot& slot, const AisDecodeContext& ctx,
                                 int payloadChars, int fillBits) {
    const int first = readSlotBinaryHeader(b, slot);
    // The message closes with its communication state: the selector flag and 19 bits.
    const int stateFirst = payloadBits(b, payloadChars, fillBits) - 19;
    if (slot.StructuredFlag == 1) {
        decodeSlotBinaryData(b, slot, first, stateFirst - 1);
    } else {
        slot.Summary = telegram(b, first, stateFirst - 1);
    }
    // A message too short to hold a communication state after its header has none.
    slot.CommStateSelector = stateFirst >= first ? u16(b, stateFirst, stateFirst) : 0;
    slot.TimeOfReceipt = ctx.now;
}

}  // namespace tiderune
