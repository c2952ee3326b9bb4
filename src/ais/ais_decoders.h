#pragma once
// One decoder per AIS message type: each reads the fields of its message from the payload
// bits and writes them, in order, into the system's slot of that type, ending with the time
// of receipt. No decoder checks the message length; fields the payload does not reach read
// as 0.
#include "ais_bits.h"
#include "ais_messages.h"
#include "ais_tables.h"

namespace tiderune {

// What every decoder needs besides the bits: the lookup tables and the PC clock's date
// value at the time of decoding.
struct AisDecodeContext {
    const AisTables& tables;
    double now = 0;
};

void DecodeMsg1_3_PositionReportA(const AisBits& bits, ClassAPositionSlot& slot, const AisDecodeContext& ctx);
void DecodeMsg4_BaseStation(const AisBits& bits, BaseStationSlot& slot, const AisDecodeContext& ctx);
void DecodeMsg5_StaticVoyage(const AisBits& bits, StaticVoyageSlot& slot, const AisDecodeContext& ctx);
void DecodeMsg9_SARAircraft(const AisBits& bits, SARAircraftSlot& slot, const AisDecodeContext& ctx);
void DecodeMsg10_UTCInquiry(const AisBits& bits, UTCInquirySlot& slot, const AisDecodeContext& ctx);
// The safety texts run to the end of the payload: L characters, F fill bits.
void DecodeMsg12_AddressedSafety(const AisBits& bits, AddressedSafetySlot& slot, const AisDecodeContext& ctx,
                                 int payloadChars, int fillBits);
void DecodeMsg14_SafetyBroadcast(const AisBits& bits, SafetyBroadcastSlot& slot, const AisDecodeContext& ctx,
                                 int payloadChars, int fillBits);
void DecodeMsg16_AssignmentCommand(const AisBits& bits, AssignmentSlot& slot, const AisDecodeContext& ctx);
void DecodeMsg17_DGNSSBroadcast(const AisBits& bits, DGNSSSlot& slot, const AisDecodeContext& ctx);
void DecodeMsg18_StandardClassB(const AisBits& bits, ClassBPositionSlot& slot, const AisDecodeContext& ctx);
void DecodeMsg19_ExtendedClassB(const AisBits& bits, ClassBExtendedSlot& slot, const AisDecodeContext& ctx);
void DecodeMsg20_DataLinkManagement(const AisBits& bits, LinkManagementSlot& slot, const AisDecodeContext& ctx);
void DecodeMsg21_AidToNavigation(const AisBits& bits, AidToNavigationSlot& slot, const AisDecodeContext& ctx);
void DecodeMsg22_ChannelManagement(const AisBits& bits, ChannelManagementSlot& slot, const AisDecodeContext& ctx);
void DecodeMsg23_GroupAssignment(const AisBits& bits, GroupAssignmentSlot& slot, const AisDecodeContext& ctx);
void DecodeMsg24_StaticDataReport(const AisBits& bits, StaticDataSlot& slot, const AisDecodeContext& ctx);
// The binary messages: the application data after DAC and FI is decoded when the message
// type carries that FI (BinaryMessageDecodesFI), else only named in the summary. A text runs
// to the end of the payload: L characters, F fill bits.
void DecodeMsg6_AddressedBinary(const AisBits& bits, BinaryMessageSlot& slot, const AisDecodeContext& ctx,
                                int payloadChars, int fillBits);
void DecodeMsg8_BroadcastBinary(const AisBits& bits, BinaryMessageSlot& slot, const AisDecodeContext& ctx,
                                int payloadChars, int fillBits);
void DecodeMsg25_SingleSlotBinary(const AisBits& bits, SingleSlotBinarySlot& slot, const AisDecodeContext& ctx,
                                  int payloadChars, int fillBits);
// Message 26 ends with its 20-bit communication state, which an unstructured text stops before.
void DecodeMsg26_MultiSlotBinary(const AisBits& bits, MultiSlotBinarySlot& slot, const AisDecodeContext& ctx,
                                 int payloadChars, int fillBits);
// Whether binary message `messageID` (6, 8, 25 or 26) decodes the application data of `fi`.
bool BinaryMessageDecodesFI(int messageID, int fi);
// The application data of one FI from bit `bit`, which each advances past what it read.
void DecodeFI_Interrogation(const AisBits& bits, BinaryMessageSlot& slot, int& bit);     // FI 2
void DecodeFI_MetHydro(const AisBits& bits, BinaryMessageSlot& slot, int& bit);         // FI 11
void DecodeFI_DangerousCargo(const AisBits& bits, BinaryMessageSlot& slot, int& bit);   // FI 12
void DecodeFI_FairwayClosed(const AisBits& bits, BinaryMessageSlot& slot, int& bit);    // FI 13
void DecodeFI_TidalWindow(const AisBits& bits, BinaryMessageSlot& slot, int& bit);      // FI 14
void DecodeFI_WeatherObsShip(const AisBits& bits, BinaryMessageSlot& slot, int& bit);   // FI 21
void DecodeMsg27_LongRange(const AisBits& bits, LongRangeSlot& slot, const AisDecodeContext& ctx);

// Date values (days since 30 Dec 1899, time of day as fraction) for calendar arithmetic.
// Months, days, hours and minutes outside their usual ranges carry into the next unit.
double aisDateValue(int year, int month, int day, int hour, int minute);
int aisYearOf(double dateValue);

}  // namespace tiderune
