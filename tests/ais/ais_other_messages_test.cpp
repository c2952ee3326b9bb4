// Static, voyage, safety, management and DGNSS messages built field by field; expected values
// worked out by hand from ITU-R M.1371.
#include <gtest/gtest.h>

#include "ais_test_support.h"

namespace tiderune::test {
namespace {

using OtherMessages = AisEngineTest;

AisBitWriter staticVoyage(int shipType, int month, int day, int hour, int minute) {
    AisBitWriter w;
    w.header(5, 0, 244670316).u(1, 2).u(9074729, 30).text("PD4321", 7).text("NORDIC STAR", 20);
    w.u(static_cast<std::uint64_t>(shipType), 8).u(80, 9).u(20, 9).u(5, 6).u(7, 6).u(1, 4);
    w.u(static_cast<std::uint64_t>(month), 4).u(static_cast<std::uint64_t>(day), 5);
    w.u(static_cast<std::uint64_t>(hour), 5).u(static_cast<std::uint64_t>(minute), 6);
    w.u(52, 8).text("ROTTERDAM", 20).u(1, 1).u(0, 1);
    return w;
}

TEST_F(OtherMessages, StaticAndVoyageData) {
    feed(vdmMessage(staticVoyage(72, 3, 15, 14, 30)));  // 71 characters: two sentences
    ASSERT_EQ(engine.LastAISMessageID(1), 5);
    const StaticVoyageSlot& s = slots().Msg5;
    EXPECT_EQ(s.MMSI, 244670316);
    EXPECT_EQ(s.AISVersion, 1);
    EXPECT_EQ(s.IMONumber, 9074729);
    EXPECT_EQ(s.CallSign, "PD4321 ");
    EXPECT_EQ(s.Name, "NORDIC STAR         ");
    EXPECT_EQ(s.ShipType, 72);
    EXPECT_EQ(s.ShipTypeShortText, "Cargo ship");
    EXPECT_EQ(s.HazardText, "Carrying DG,HS or MP IMO hazard or pollutant category Y");
    EXPECT_EQ(s.DimensionA, 80);
    EXPECT_EQ(s.DimensionB, 20);
    EXPECT_EQ(s.DimensionC, 5);
    EXPECT_EQ(s.DimensionD, 7);
    EXPECT_EQ(s.PositionDeviceText, "GPS");
    EXPECT_DOUBLE_EQ(s.ETA, aisDateValue(2026, 3, 15, 14, 30));
    EXPECT_FLOAT_EQ(s.Draught, 5.2f);
    EXPECT_EQ(s.Destination, "ROTTERDAM           ");
    EXPECT_EQ(s.DTEFlag, 1);
    EXPECT_DOUBLE_EQ(s.TimeOfReceipt, kNow);
}

TEST_F(OtherMessages, StaticAndVoyageShipTypeCheck) {
    struct Case {
        int type, stored;
        const char* shortText;
        const char* hazard;
    } cases[] = {{0, 0, "Not defined", "Not specified"},
                 {100, 0, "Not defined", "Not specified"},
                 {255, 0, "Not defined", "Not specified"},
                 {35, 35, "Vessel-Engaged in military operation", "n/a"},
                 {52, 52, "Tug", "n/a"},
                 {69, 69, "Passenger Ship", "No additional information"}};
    for (const auto& c : cases) {
        feed(staticVoyage(c.type, 3, 15, 14, 30));
        EXPECT_EQ(slots().Msg5.ShipType, c.stored) << c.type;
        EXPECT_EQ(slots().Msg5.ShipTypeShortText, c.shortText) << c.type;
        EXPECT_EQ(slots().Msg5.HazardText, c.hazard) << c.type;
    }
}

TEST_F(OtherMessages, EstimatedTimeOfArrivalCarries) {
    struct Case {
        int month, day, hour, minute;
        double expected;
    } cases[] = {
        {0, 15, 14, 30, 0},                                    // no ETA
        {3, 0, 24, 60, aisDateValue(2026, 3, 1, 1, 0)},        // 28 Feb + 24 h + 60 min
        {13, 1, 0, 0, aisDateValue(2027, 1, 1, 0, 0)},         // month 13: next January
        {2, 31, 0, 0, aisDateValue(2026, 3, 3, 0, 0)},         // 31 February is 3 March
        {12, 31, 23, 59, aisDateValue(2026, 12, 31, 23, 59)},
    };
    for (const auto& c : cases) {
        feed(staticVoyage(70, c.month, c.day, c.hour, c.minute));
        EXPECT_NEAR(slots().Msg5.ETA, c.expected, 1e-9) << c.month << "/" << c.day;
    }
    EXPECT_NEAR(aisDateValue(2026, 3, 1, 1, 0), 46082 + 1.0 / 24, 1e-9);  // 1 March 2026 is day 46082
}

TEST_F(OtherMessages, StaticDataReportPartsAAndB) {
    AisBitWriter a;
    a.header(24, 0, 211234560).u(0, 2).text("MY YACHT", 20);
    feed(a);
    AisBitWriter b;
    b.header(24, 0, 211999999).u(3, 2).u(37, 8).text("ABC", 3).u(3, 4).u(12345, 20).text("DK1234", 7);
    b.u(8, 9).u(3, 9).u(2, 6).u(1, 6).u(0, 6);
    feed(b);
    const StaticDataSlot& s = slots().Msg24;
    EXPECT_EQ(s.MMSI, 211999999);
    EXPECT_EQ(s.PartNumber, 3);  // anything but 0 is part B
    EXPECT_EQ(s.Name, "MY YACHT            ");  // the earlier part A stays
    EXPECT_EQ(s.ShipType, 37);
    EXPECT_EQ(s.ShipTypeShortText, "Vessel-Pleasure Craft");
    EXPECT_EQ(s.HazardText, "n/a");
    EXPECT_EQ(s.ManufacturerID, "ABC");
    EXPECT_EQ(s.VendorID.substr(0, 3), "ABC");
    EXPECT_EQ(s.VendorID.size(), 7u);
    EXPECT_EQ(s.UnitModelCode, 3);
    EXPECT_EQ(s.SerialNumber, 12345);
    EXPECT_EQ(s.CallSign, "DK1234 ");
    EXPECT_EQ(s.DimensionA, 8);
    EXPECT_EQ(s.DimensionB, 3);
    EXPECT_EQ(s.DimensionC, 2);
    EXPECT_EQ(s.DimensionD, 1);
    EXPECT_EQ(engine.LastAISMessageID(1), 24);
    EXPECT_EQ(store().TargetCount[1], 0);  // message 24 stores no target
}

TEST_F(OtherMessages, SafetyTextsRunToTheEndOfThePayload) {
    AisBitWriter addressed;
    addressed.header(12, 0, 211000001).u(2, 2).u(244670316, 30).u(1, 1).u(0, 1).text("HELLO WORLD", 11);
    feed(addressed);
    const AddressedSafetySlot& m12 = slots().Msg12;
    EXPECT_EQ(m12.MMSI, 211000001);
    EXPECT_EQ(m12.SequenceNumber, 2);
    EXPECT_EQ(m12.DestinationMMSI, 244670316);
    EXPECT_EQ(m12.RetransmitFlag, 1);
    EXPECT_EQ(m12.Text, "HELLO WORLD");

    AisBitWriter broadcast;
    broadcast.header(14, 0, 2320001).u(0, 2).text("SECURITE", 8);  // 88 bits, 2 fill bits
    feed(broadcast);
    EXPECT_EQ(slots().Msg14.MMSI, 2320001);
    EXPECT_EQ(slots().Msg14.Text, "SECURITE");

    // A payload of 20 characters carries 13 text characters (bits 41 to 118).
    AisBitWriter twenty;
    twenty.header(14, 0, 2320001).u(0, 2).text("ABCDEFGHIJKLMNOPQRST", 13).u(0, 2);
    ASSERT_EQ(twenty.payload().size(), 20u);
    feed(test::vdm(1, 1, "", "B", twenty.payload(), 0));
    EXPECT_EQ(slots().Msg14.Text, "ABCDEFGHIJKLM");
}

TEST_F(OtherMessages, InquiryAssignmentAndManagement) {
    AisBitWriter inquiry;
    inquiry.header(10, 0, 2442000).u(0, 2).u(123456789, 30).u(0, 2);
    feed(inquiry);
    EXPECT_EQ(slots().Msg10.MMSI, 2442000);
    EXPECT_EQ(slots().Msg10.DestinationMMSI, 123456789);

    AisBitWriter assignment;
    assignment.header(16, 0, 2442000).u(0, 2).u(244670316, 30).u(100, 12).u(10, 10).u(0, 4);  // station A only
    feed(assignment);
    const AssignmentSlot& m16 = slots().Msg16;
    EXPECT_EQ(m16.DestinationAMMSI, 244670316);
    EXPECT_EQ(m16.OffsetA, 100);
    EXPECT_EQ(m16.IncrementA, 10);
    EXPECT_EQ(m16.DestinationBMMSI, 0);
    EXPECT_EQ(m16.OffsetB, 0);

    AisBitWriter link;
    link.header(20, 0, 2442000).u(0, 2).u(2049, 12).u(2, 4).u(7, 3).u(225, 11).u(0, 2);  // one reservation
    feed(link);
    const LinkManagementSlot& m20 = slots().Msg20;
    EXPECT_EQ(m20.Offset[1], 2049);
    EXPECT_EQ(m20.NumberOfSlots[1], 2);
    EXPECT_EQ(m20.Timeout[1], 7);
    EXPECT_EQ(m20.Increment[1], 225);
    for (int k = 2; k <= 4; ++k) EXPECT_EQ(m20.Offset[k] + m20.NumberOfSlots[k] + m20.Timeout[k] + m20.Increment[k], 0);

    AisBitWriter channel;
    channel.header(22, 0, 2442000).u(0, 2).u(2087, 12).u(2088, 12).u(2, 4).u(1, 1).u(12345, 18).u(6789, 17);
    channel.u(1000, 18).u(500, 17).u(0, 1).u(1, 1).u(0, 1).u(4, 3).u(0, 23);
    feed(channel);
    const ChannelManagementSlot& m22 = slots().Msg22;
    EXPECT_EQ(m22.ChannelA, 2087);
    EXPECT_EQ(m22.ChannelB, 2088);
    EXPECT_EQ(m22.TxRxMode, 2);
    EXPECT_EQ(m22.Power, 1);
    EXPECT_EQ(m22.NorthEastLongitude, 12345);
    EXPECT_EQ(m22.NorthEastLatitude, 6789);
    EXPECT_EQ(m22.SouthWestLongitude, 1000);
    EXPECT_EQ(m22.SouthWestLatitude, 500);
    EXPECT_EQ(m22.AddressedFlag, 0);
    EXPECT_EQ(m22.ChannelABandwidth, 1);
    EXPECT_EQ(m22.ChannelBBandwidth, 0);
    EXPECT_EQ(m22.TransitionZoneSize, 4);

    AisBitWriter group;
    group.header(23, 0, 2442000).u(0, 2).u(4000, 18).u(3000, 17).u(2000, 18).u(1000, 17).u(6, 4).u(170, 8);
    group.u(0, 22).u(1, 2).u(9, 4).u(5, 4).u(0, 6);
    feed(group);
    const GroupAssignmentSlot& m23 = slots().Msg23;
    EXPECT_EQ(m23.NorthEastLongitude, 4000);
    EXPECT_EQ(m23.NorthEastLatitude, 3000);
    EXPECT_EQ(m23.SouthWestLongitude, 2000);
    EXPECT_EQ(m23.SouthWestLatitude, 1000);
    EXPECT_EQ(m23.StationType, 6);
    EXPECT_EQ(m23.ShipType, 170);  // not checked
    EXPECT_EQ(m23.TxRxMode, 1);
    EXPECT_EQ(m23.ReportingInterval, 9);
    EXPECT_EQ(m23.QuietTime, 5);
}

AisBitWriter dgnss(int type, int words) {
    AisBitWriter w;
    w.header(17, 0, 2734450).u(0, 2).s(600, 18).s(-300, 17).u(0, 5);
    w.u(static_cast<std::uint64_t>(type), 6).u(100, 10).u(1000, 13).u(3, 3).u(static_cast<std::uint64_t>(words), 5).u(0, 3);
    return w;
}

TEST_F(OtherMessages, DGNSSCorrections) {
    AisBitWriter w = dgnss(1, 2);
    w.u(1, 1).u(2, 2).u(17, 5).s(-100, 16).s(5, 8).u(99, 8).u(0, 8);
    feed(w);
    const DGNSSSlot& s = slots().Msg17;
    EXPECT_EQ(s.MMSI, 2734450);
    EXPECT_DOUBLE_EQ(s.Longitude, 1.0);
    EXPECT_DOUBLE_EQ(s.Latitude, -0.5);
    EXPECT_EQ(s.DGNSSMessageType, 1);
    EXPECT_EQ(s.StationID, 100);
    EXPECT_FLOAT_EQ(s.ZCount, 600);
    EXPECT_EQ(s.SequenceNumber, 3);
    EXPECT_EQ(s.NumberOfDataWords, 2);
    EXPECT_EQ(s.StationHealth, 0);
    EXPECT_EQ(s.NumberOfSatellites, 1);
    EXPECT_EQ(s.ScaleFactor[1], 1);
    EXPECT_EQ(s.UDRE[1], 2);
    EXPECT_EQ(s.SatelliteID[1], 17);
    EXPECT_FLOAT_EQ(s.PseudorangeCorrection[1], -32.0f);
    EXPECT_FLOAT_EQ(s.RangeRateCorrection[1], 0.16f);
    EXPECT_EQ(s.IssueOfData[1], 99);

    struct Case {
        int words, satellites;
    } counts[] = {{2, 1}, {4, 2}, {5, 3}, {7, 4}, {29, 17}, {30, 17}, {31, 17}};  // 30, 31 would make 18
    for (const auto& c : counts) {
        feed(dgnss(9, c.words));
        EXPECT_EQ(slots().Msg17.NumberOfSatellites, c.satellites) << c.words;
    }

    AisBitWriter station = dgnss(3, 4);
    station.s(-123456789, 32).s(98765432, 32).s(-1, 32).u(0, 0);
    feed(station);
    EXPECT_NEAR(slots().Msg17.ReferenceX, -1234567.89, 1e-6);
    EXPECT_NEAR(slots().Msg17.ReferenceY, 987654.32, 1e-6);
    EXPECT_NEAR(slots().Msg17.ReferenceZ, -0.01, 1e-9);

    feed(dgnss(5, 0));  // no correction layout: the header only
    EXPECT_EQ(slots().Msg17.DGNSSMessageType, 5);
    EXPECT_EQ(slots().Msg17.NumberOfSatellites, 17);
}

TEST_F(OtherMessages, TimeOnlyMessagesStampTheirSlot) {
    for (int id : {7, 11, 13, 15}) {
        AisBitWriter w;
        w.header(id, 0, 244670316).u(0, 34);
        feed(w);
        EXPECT_EQ(engine.LastAISMessageID(1), id);
    }
    EXPECT_DOUBLE_EQ(slots().Msg7.TimeOfReceipt, kNow);
    EXPECT_DOUBLE_EQ(slots().Msg15.TimeOfReceipt, kNow);
}

}  // namespace
}  // namespace tiderune::test
