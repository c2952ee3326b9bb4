#pragma once
// The last decoded AIS message of each type of one system. A slot is overwritten field by
// field by each new message of its type; a field the message does not carry keeps what an
// earlier message left there. Every slot ends with its time of receipt (PC clock, date value).
#include <cstdint>
#include <string>

#include "core/indexed.h"

namespace tiderune {

// The three fields that open every AIS message.
struct AisHeader {
    std::int16_t MessageID = 0;
    std::int16_t RepeatIndicator = 0;
    std::int32_t MMSI = 0;
};

// The SOTDMA/ITDMA communication state at the end of the position reports, with the field
// that the slot timeout selects for its sub-message.
struct AisCommState {
    std::int16_t SyncState = 0;
    std::int16_t SlotTimeout = 0;
    std::int16_t SubMessage = 0;
    std::int16_t SlotNumber = 0;
    std::int16_t SlotOffset = 0;
    std::int16_t ReceivedStations = 0;
};

struct ClassAPositionSlot : AisHeader {  // messages 1, 2, 3
    std::int16_t NavigationalStatus = 0;
    std::string NavigationalStatusText;
    float RateOfTurn = 0;
    float SpeedOverGround = 0;
    std::int16_t PositionAccuracy = 0;
    std::string PositionAccuracyText;
    double Longitude = 0;
    double Latitude = 0;
    float CourseOverGround = 0;
    float TrueHeading = 0;
    std::int16_t TimeStamp = 0;
    std::int16_t ManoeuvreIndicator = 0;
    std::int16_t Spare = 0;
    std::int16_t RAIMFlag = 0;
    AisCommState Comm;
    std::int16_t UTCHour = 0;
    std::int16_t UTCMinute = 0;
    double TimeOfReceipt = 0;
};

struct BaseStationSlot : AisHeader {  // message 4
    std::int16_t UTCYear = 0;
    std::int16_t UTCMonth = 0;
    std::int16_t UTCDay = 0;
    std::int16_t UTCHour = 0;  // also the communication state's hour when the slot timeout is 1
    std::int16_t UTCMinute = 0;
    std::int16_t UTCSecond = 0;
    std::int16_t PositionAccuracy = 0;
    std::string PositionAccuracyText;
    double Longitude = 0;
    double Latitude = 0;
    std::int16_t PositionDevice = 0;
    std::string PositionDeviceText;
    std::int16_t LongRangeControl = 0;
    std::int16_t Spare = 0;
    std::int16_t RAIMFlag = 0;
    AisCommState Comm;
    double TimeOfReceipt = 0;
};

struct StaticVoyageSlot : AisHeader {  // message 5
    std::int16_t AISVersion = 0;
    std::int32_t IMONumber = 0;
    std::string CallSign;
    std::string Name;
    std::int16_t ShipType = 0;
    std::string ShipTypeShortText;
    std::string HazardText;
    std::int16_t DimensionA = 0;
    std::int16_t DimensionB = 0;
    std::int16_t DimensionC = 0;
    std::int16_t DimensionD = 0;
    std::int16_t PositionDevice = 0;
    std::string PositionDeviceText;
    double ETA = 0;  // date value; 0 when the message gives no month
    float Draught = 0;
    std::string Destination;
    std::int16_t DTEFlag = 0;
    double TimeOfReceipt = 0;
};

// Messages 7, 11, 13 and 15: the slot records when the last one arrived.
struct ReceiptOnlySlot {
    double TimeOfReceipt = 0;
};

// Messages 6 and 8 and the application data they carry, chosen by the function identifier
// (FI) in the IMO SN/Circ.236 numbering. Each group is written only by a message of its FI;
// the others keep what earlier messages left. Readings the sender marks as not available are
// MissingValue.
struct BinaryMessageSlot : AisHeader {
    std::int16_t DAC = 0;
    std::int16_t FI = 0;
    std::string Summary;  // the text telegram itself, or what the message carried
    std::int32_t DestinationMMSI = 0;  // message 6
    // FI 2: interrogation for a specific FI
    std::int16_t RequestedDAC = 0;
    std::int16_t RequestedFI = 0;
    // FI 11: meteorological and hydrological data
    double MetLongitude = 0;  // degrees
    double MetLatitude = 0;
    std::int16_t MetDay = 0;
    std::int16_t MetHour = 0;
    std::int16_t MetMinute = 0;
    std::int16_t AverageWindSpeed = 0;  // knots
    std::int16_t WindGust = 0;
    std::int16_t WindDirection = 0;  // degrees
    std::int16_t WindGustDirection = 0;
    float AirTemperature = 0;  // degrees Celsius
    std::int16_t RelativeHumidity = 0;  // %
    float DewPoint = 0;
    std::int16_t AirPressure = 0;  // hPa
    std::int16_t PressureTendency = 0;
    float HorizontalVisibility = 0;  // nautical miles
    float WaterLevel = 0;  // metres
    std::int16_t WaterLevelTrend = 0;
    float SurfaceCurrentSpeed = 0;  // knots
    std::int16_t SurfaceCurrentDirection = 0;
    float CurrentSpeed2 = 0;
    float CurrentSpeed3 = 0;
    std::int16_t CurrentDirection2 = 0;
    std::int16_t CurrentDirection3 = 0;
    std::int16_t MeasuringLevel2 = 0;
    std::int16_t MeasuringLevel3 = 0;
    float WaveHeight = 0;  // significant wave height, metres
    std::int16_t WavePeriod = 0;
    std::int16_t WaveDirection = 0;
    float SwellHeight = 0;
    std::int16_t SwellPeriod = 0;
    std::int16_t SwellDirection = 0;
    std::int16_t SeaState = 0;
    float WaterTemperature = 0;
    std::int16_t PrecipitationType = 0;
    float Salinity = 0;
    std::int16_t Ice = 0;
    // FI 12: dangerous cargo indication
    std::string LastPortOfCall;
    std::int16_t ETDMonth = 0;
    std::int16_t ETDDay = 0;
    std::int16_t ETDHour = 0;
    std::int16_t ETDMinute = 0;
    std::string NextPortOfCall;
    std::int16_t ETAMonth = 0;
    std::int16_t ETADay = 0;
    std::int16_t ETAHour = 0;
    std::int16_t ETAMinute = 0;
    std::string MainDangerousGood;
    std::string IMDCategory;
    std::int16_t UNNumber = 0;
    std::int16_t AmountOfCargo = 0;
    std::int16_t UnitOfAmount = 0;
    // FI 13: fairway closed
    std::string ReasonForClosing;
    std::string ClosingFromLocation;
    std::string ClosingToLocation;
    std::int16_t ClosedAreaExtension = 0;
    std::int16_t ClosedAreaExtensionUnit = 0;
    std::int16_t ClosingFromDay = 0;
    std::int16_t ClosingFromMonth = 0;
    std::int16_t ClosingFromHour = 0;
    std::int16_t ClosingFromMinute = 0;
    std::int16_t ClosingUntilDay = 0;
    std::int16_t ClosingUntilMonth = 0;
    std::int16_t ClosingUntilHour = 0;
    std::int16_t ClosingUntilMinute = 0;
    // FI 14: tidal window, three points
    std::int16_t TidalMonth = 0;
    std::int16_t TidalDay = 0;
    IndexedArray<double, 1, 3> TidalLatitude;  // degrees
    IndexedArray<double, 1, 3> TidalLongitude;
    IndexedArray<std::int16_t, 1, 3> TidalFromHour;
    IndexedArray<std::int16_t, 1, 3> TidalFromMinute;
    IndexedArray<std::int16_t, 1, 3> TidalToHour;
    IndexedArray<std::int16_t, 1, 3> TidalToMinute;
    IndexedArray<std::int16_t, 1, 3> TidalCurrentDirection;
    IndexedArray<float, 1, 3> TidalCurrentSpeed;  // knots
    // FI 15 and 16
    float HeightOverKeel = 0;  // metres
    std::int16_t PersonsOnBoard = 0;
    double TimeOfReceipt = 0;
    // FI 21: weather observation report from ship (message 8 only)
    std::int16_t ReportType = 0;
    float ObservationLongitude = 0;  // degrees
    float ObservationLatitude = 0;
    std::int16_t ObservationMonth = 0;
    std::int16_t ObservationDay = 0;
    std::int16_t ObservationHour = 0;
    std::int16_t ObservationMinute = 0;
    float ShipCourse = 0;
    float ShipSpeed = 0;
    float ShipHeading = 0;
    float ObservationAirPressure = 0;  // hPa
    float PressureChange = 0;
    float ObservationPressureTendency = 0;
};

// What messages 25 and 26 share: the flags that say whether a destination and a DAC and FI
// follow the header. Fields a message does not carry keep their earlier values.
struct SlotBinaryHeader : AisHeader {
    std::int16_t AddressedFlag = 0;
    std::int16_t StructuredFlag = 0;
    std::int16_t DAC = 0;
    std::int16_t FI = 0;
    std::int32_t DestinationMMSI = 0;
    std::string Summary;
};

struct SingleSlotBinarySlot : SlotBinaryHeader {  // message 25
    float HeightOverKeel = 0;
    std::int16_t PersonsOnBoard = 0;
    double TimeOfReceipt = 0;
};

struct MultiSlotBinarySlot : SlotBinaryHeader {  // message 26
    std::int16_t CommStateSelector = 0;
    float HeightOverKeel = 0;
    std::int16_t PersonsOnBoard = 0;
    double TimeOfReceipt = 0;
};

struct SARAircraftSlot : AisHeader {  // message 9
    std::int16_t Altitude = 0;
    float SpeedOverGround = 0;
    std::int16_t PositionAccuracy = 0;
    std::string PositionAccuracyText;
    double Longitude = 0;
    double Latitude = 0;
    float CourseOverGround = 0;
    std::int16_t TimeStamp = 0;
    std::int16_t AltitudeSensor = 0;
    std::int16_t DTEFlag = 0;
    std::int16_t Spare = 0;
    std::int16_t AssignedModeFlag = 0;
    std::int16_t RAIMFlag = 0;
    std::int16_t CommStateSelector = 0;
    AisCommState Comm;
    std::int16_t UTCHour = 0;
    std::int16_t UTCMinute = 0;
    double TimeOfReceipt = 0;
};

struct UTCInquirySlot : AisHeader {  // message 10
    std::int32_t DestinationMMSI = 0;
    double TimeOfReceipt = 0;
};

struct AddressedSafetySlot : AisHeader {  // message 12
    std::int16_t SequenceNumber = 0;
    std::int32_t DestinationMMSI = 0;
    std::int16_t RetransmitFlag = 0;
    std::int16_t Spare = 0;
    std::string Text;
    double TimeOfReceipt = 0;
};

struct SafetyBroadcastSlot : AisHeader {  // message 14
    std::string Text;
    double TimeOfReceipt = 0;
};

struct AssignmentSlot : AisHeader {  // message 16
    std::int32_t DestinationAMMSI = 0;
    std::int16_t OffsetA = 0;
    std::int16_t IncrementA = 0;
    std::int32_t DestinationBMMSI = 0;
    std::int16_t OffsetB = 0;
    std::int16_t IncrementB = 0;
    double TimeOfReceipt = 0;
};

struct DGNSSSlot : AisHeader {  // message 17
    static constexpr int MaxSatellites = 17;
    double Longitude = 0;
    double Latitude = 0;
    std::int16_t DGNSSMessageType = 0;
    std::int32_t StationID = 0;
    float ZCount = 0;
    std::int16_t SequenceNumber = 0;
    std::int16_t NumberOfDataWords = 0;
    std::int16_t StationHealth = 0;
    std::int16_t NumberOfSatellites = 0;
    IndexedArray<std::int16_t, 1, MaxSatellites> ScaleFactor;
    IndexedArray<std::int16_t, 1, MaxSatellites> UDRE;
    IndexedArray<std::int16_t, 1, MaxSatellites> SatelliteID;
    IndexedArray<float, 1, MaxSatellites> PseudorangeCorrection;
    IndexedArray<float, 1, MaxSatellites> RangeRateCorrection;
    IndexedArray<std::int16_t, 1, MaxSatellites> IssueOfData;
    double ReferenceX = 0;
    double ReferenceY = 0;
    double ReferenceZ = 0;
    double TimeOfReceipt = 0;
};

struct ClassBPositionSlot : AisHeader {  // message 18
    std::int16_t Reserved = 0;
    float SpeedOverGround = 0;
    std::int16_t PositionAccuracy = 0;
    std::string PositionAccuracyText;
    double Longitude = 0;
    double Latitude = 0;
    float CourseOverGround = 0;
    float TrueHeading = 0;
    std::int16_t TimeStamp = 0;
    std::int16_t ClassBUnitFlag = 0;
    std::int16_t DisplayFlag = 0;
    std::int16_t DSCFlag = 0;
    std::int16_t BandFlag = 0;
    std::int16_t Message22Flag = 0;
    std::int16_t AssignedModeFlag = 0;
    std::int16_t RAIMFlag = 0;
    std::int16_t CommStateSelector = 0;
    AisCommState Comm;
    std::int16_t UTCHour = 0;
    std::int16_t UTCMinute = 0;
    double TimeOfReceipt = 0;
};

struct ClassBExtendedSlot : AisHeader {  // message 19
    std::int16_t Reserved = 0;
    float SpeedOverGround = 0;
    std::int16_t PositionAccuracy = 0;
    std::string PositionAccuracyText;
    double Longitude = 0;
    double Latitude = 0;
    float CourseOverGround = 0;
    float TrueHeading = 0;
    std::int16_t TimeStamp = 0;
    std::int16_t Reserved2 = 0;
    std::string Name;
    std::int16_t ShipType = 0;
    std::string ShipTypeText;
    std::string ShipTypeShortText;
    std::string HazardText;
    std::int16_t DimensionA = 0;
    std::int16_t DimensionB = 0;
    std::int16_t DimensionC = 0;
    std::int16_t DimensionD = 0;
    std::int16_t PositionDevice = 0;
    std::string PositionDeviceText;
    std::int16_t RAIMFlag = 0;
    std::int16_t DTEFlag = 0;
    double TimeOfReceipt = 0;
};

struct LinkManagementSlot : AisHeader {  // message 20
    IndexedArray<std::int16_t, 1, 4> Offset;
    IndexedArray<std::int16_t, 1, 4> NumberOfSlots;
    IndexedArray<std::int16_t, 1, 4> Timeout;
    IndexedArray<std::int16_t, 1, 4> Increment;
    double TimeOfReceipt = 0;
};

struct AidToNavigationSlot : AisHeader {  // message 21
    std::int16_t AidType = 0;
    std::string AidTypeText;
    std::string Name;
    std::int16_t PositionAccuracy = 0;
    std::string PositionAccuracyText;
    double Longitude = 0;
    double Latitude = 0;
    std::int16_t DimensionA = 0;
    std::int16_t DimensionB = 0;
    std::int16_t DimensionC = 0;
    std::int16_t DimensionD = 0;
    std::int16_t PositionDevice = 0;
    std::string PositionDeviceText;
    std::int16_t TimeStamp = 0;
    std::int16_t OffPosition = 0;
    std::int16_t StatusPage = 0;
    std::int16_t RACONStatus = 0;
    std::int16_t LightStatus = 0;
    std::int16_t HealthFlag = 0;
    std::int16_t RAIMFlag = 0;
    std::int16_t VirtualAidFlag = 0;
    std::int16_t AssignedModeFlag = 0;
    std::string NameExtension;
    double TimeOfReceipt = 0;
};

struct ChannelManagementSlot : AisHeader {  // message 22
    std::int16_t ChannelA = 0;
    std::int16_t ChannelB = 0;
    std::int16_t TxRxMode = 0;
    std::int16_t Power = 0;
    double NorthEastLongitude = 0;  // raw values: also when they carry two addressed MMSIs
    double NorthEastLatitude = 0;
    double SouthWestLongitude = 0;
    double SouthWestLatitude = 0;
    std::int16_t AddressedFlag = 0;
    std::int16_t ChannelABandwidth = 0;
    std::int16_t ChannelBBandwidth = 0;
    std::int16_t TransitionZoneSize = 0;
    double TimeOfReceipt = 0;
};

struct GroupAssignmentSlot : AisHeader {  // message 23
    double NorthEastLongitude = 0;  // raw values
    double NorthEastLatitude = 0;
    double SouthWestLongitude = 0;
    double SouthWestLatitude = 0;
    std::int16_t StationType = 0;
    std::int16_t ShipType = 0;
    std::int16_t TxRxMode = 0;
    std::int16_t ReportingInterval = 0;
    std::int16_t QuietTime = 0;
    double TimeOfReceipt = 0;
};

struct StaticDataSlot : AisHeader {  // message 24
    std::int16_t PartNumber = 0;
    std::string Name;  // from part A
    std::int16_t ShipType = 0;  // the rest from part B
    std::string ShipTypeShortText;
    std::string HazardText;
    std::string VendorID;
    std::string ManufacturerID;
    std::int16_t UnitModelCode = 0;
    std::int32_t SerialNumber = 0;
    std::string CallSign;
    std::int16_t DimensionA = 0;
    std::int16_t DimensionB = 0;
    std::int16_t DimensionC = 0;
    std::int16_t DimensionD = 0;
    double TimeOfReceipt = 0;
};

struct LongRangeSlot : AisHeader {  // message 27
    std::int16_t PositionAccuracy = 0;
    std::string PositionAccuracyText;
    std::int16_t RAIMFlag = 0;
    std::int16_t NavigationalStatus = 0;
    std::string NavigationalStatusText;
    double Longitude = 0;
    double Latitude = 0;
    float SpeedOverGround = 0;
    float CourseOverGround = 0;
    std::int16_t GNSSPositionStatus = 0;
    double TimeOfReceipt = 0;
};

// One slot per message ID 1 to 27, named by the ID.
struct AISMessageSet {
    ClassAPositionSlot Msg1, Msg2, Msg3;
    BaseStationSlot Msg4;
    StaticVoyageSlot Msg5;
    BinaryMessageSlot Msg6;
    ReceiptOnlySlot Msg7;
    BinaryMessageSlot Msg8;
    SARAircraftSlot Msg9;
    UTCInquirySlot Msg10;
    ReceiptOnlySlot Msg11;
    AddressedSafetySlot Msg12;
    ReceiptOnlySlot Msg13;
    SafetyBroadcastSlot Msg14;
    ReceiptOnlySlot Msg15;
    AssignmentSlot Msg16;
    DGNSSSlot Msg17;
    ClassBPositionSlot Msg18;
    ClassBExtendedSlot Msg19;
    LinkManagementSlot Msg20;
    AidToNavigationSlot Msg21;
    ChannelManagementSlot Msg22;
    GroupAssignmentSlot Msg23;
    StaticDataSlot Msg24;
    SingleSlotBinarySlot Msg25;
    MultiSlotBinarySlot Msg26;
    LongRangeSlot Msg27;

    // The slot of the position report with id 1, 2 or 3.
    ClassAPositionSlot& classA(int id) { return id == 2 ? Msg2 : id == 3 ? Msg3 : Msg1; }
    const ClassAPositionSlot& classA(int id) const { return id == 2 ? Msg2 : id == 3 ? Msg3 : Msg1; }
};

}  // namespace tiderune
