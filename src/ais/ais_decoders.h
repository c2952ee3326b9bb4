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
void DecodeMsg27_LongRange(const AisBits& bits, LongRangeSlot& slot, const AisDecodeContext& ctx);

// Date values (days since 30 Dec 1899, time of day as fraction) for calendar arithmetic.
// Months, days, hours and minutes outside their usual ranges carry into the next unit.
double aisDateValue(int year, int month, int day, int hour, int minute);
int aisYearOf(double dateValue);

}  // namespace tiderune
