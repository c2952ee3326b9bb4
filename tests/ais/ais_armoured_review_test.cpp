// Whole sentences written out as armoured text, not through the test bit writer: each was
// encoded separately from its field values, so a fault shared by the writer and the decoder
// (bit order inside a character, the armour gap after "W", the sign of a field) shows here.
#include <gtest/gtest.h>

#include "ais_test_support.h"

namespace tiderune::test {
namespace {

using ArmouredSentences = AisEngineTest;

TEST_F(ArmouredSentences, ClassAPositionReport) {
    // 265547250, under way, ROT code -42, 13.9 kn, 11.8329767 E 57.6603533 N, COG 40.1,
    // heading 41, second 53, SOTDMA slot offset 2249.
    feed("!AIVDM,1,1,,B,13u?etPmR;Pn:dDPwUM1TACb00S9,0*5C");
    ASSERT_EQ(engine.LastAISMessageID(1), 1);
    const ClassAPositionSlot& s = slots().Msg1;
    EXPECT_EQ(s.MMSI, 265547250);
    EXPECT_EQ(s.NavigationalStatusText, "Under way using engines");
    EXPECT_NEAR(s.RateOfTurn, -78.7455, 1e-3);
    EXPECT_FLOAT_EQ(s.SpeedOverGround, 13.9f);
    EXPECT_EQ(s.PositionAccuracyText, "High accuracy, <10 m");
    EXPECT_NEAR(s.Longitude, 11.8329767, 1e-7);
    EXPECT_NEAR(s.Latitude, 57.6603533, 1e-7);
    EXPECT_FLOAT_EQ(s.CourseOverGround, 40.1f);
    EXPECT_FLOAT_EQ(s.TrueHeading, 41);
    EXPECT_EQ(s.TimeStamp, 53);
    EXPECT_EQ(s.Comm.SlotTimeout, 0);
    EXPECT_EQ(s.Comm.SlotOffset, 2249);

    const AISTarget& t = target(1);
    EXPECT_EQ(t.MMSI, 265547250);
    EXPECT_EQ(t.Country, "Sweden");
    EXPECT_EQ(t.AISClass, "Class A Vessel");
}

TEST_F(ArmouredSentences, ClassBPositionReport) {
    // 338087472, 0.1 kn, 74.0721317 W 40.68454 N, COG 79.6, no heading, second 49.
    feed("!AIVDM,1,1,,A,B52K><000Fc>jpUlNV@ikwpUoP06,0*13");
    ASSERT_EQ(engine.LastAISMessageID(1), 18);
    const ClassBPositionSlot& s = slots().Msg18;
    EXPECT_EQ(s.MMSI, 338087472);
    EXPECT_FLOAT_EQ(s.SpeedOverGround, 0.1f);
    EXPECT_NEAR(s.Longitude, -74.0721317, 1e-7);
    EXPECT_NEAR(s.Latitude, 40.68454, 1e-7);
    EXPECT_FLOAT_EQ(s.CourseOverGround, 79.6f);
    EXPECT_FLOAT_EQ(s.TrueHeading, -9999);
    EXPECT_EQ(s.TimeStamp, 49);
    EXPECT_EQ(s.ClassBUnitFlag, 1);
    EXPECT_EQ(s.Message22Flag, 1);
    EXPECT_EQ(s.Comm.SyncState, 3);
    EXPECT_EQ(s.Comm.SlotOffset, 6);
    EXPECT_EQ(target(1).Country, "USA");
    EXPECT_EQ(target(1).Name, "Class B vessel");
}

TEST_F(ArmouredSentences, StaticAndVoyageDataInTwoSentences) {
    feed(std::vector<std::string>{"!AIVDM,2,1,3,A,55?MbV02;H;s<HtKP00EHE:0@T4@Dl0000000016L961O5Gf0NSQEp6ClRh0,0*0C",
                                  "!AIVDM,2,2,3,A,00000000000,2*27"});
    ASSERT_EQ(engine.LastAISMessageID(1), 5);
    const StaticVoyageSlot& s = slots().Msg5;
    EXPECT_EQ(s.MMSI, 351759000);
    EXPECT_EQ(s.IMONumber, 9134270);
    EXPECT_EQ(s.CallSign, "3FOF8  ");
    EXPECT_EQ(s.Name, "EVER DIADEM         ");
    EXPECT_EQ(s.ShipType, 70);
    EXPECT_EQ(s.ShipTypeShortText, "Cargo ship");
    EXPECT_EQ(s.DimensionA, 225);
    EXPECT_EQ(s.DimensionB, 70);
    EXPECT_EQ(s.DimensionC, 1);
    EXPECT_EQ(s.DimensionD, 31);
    EXPECT_EQ(s.PositionDeviceText, "GPS");
    EXPECT_DOUBLE_EQ(s.ETA, aisDateValue(2026, 5, 15, 14, 0));
    EXPECT_FLOAT_EQ(s.Draught, 12.2f);
    EXPECT_EQ(s.Destination, "NEW YORK            ");
    EXPECT_EQ(target(1).Country, "Panama");
    EXPECT_EQ(target(1).MessageCount[5], 1);
}

TEST_F(ArmouredSentences, AidToNavigationAndLongRange) {
    // A 272-bit aid report (no name extension) and a long-range report.
    feed("!AIVDM,1,1,,B,E>jHD0b2Pab@1Pa24W0V0000000@:C;P>tfN010@HSv010,4*55");
    ASSERT_EQ(engine.LastAISMessageID(1), 21);
    const AidToNavigationSlot& a = slots().Msg21;
    EXPECT_EQ(a.MMSI, 992351234);
    EXPECT_EQ(a.AidTypeText, "Cardinal mark N");
    EXPECT_EQ(a.Name, "EAST CARDINAL       ");
    EXPECT_DOUBLE_EQ(a.Longitude, 4.5);
    EXPECT_DOUBLE_EQ(a.Latitude, 52.25);
    EXPECT_EQ(a.DimensionA, 1);
    EXPECT_EQ(a.DimensionB, 2);
    EXPECT_EQ(a.DimensionC, 3);
    EXPECT_EQ(a.DimensionD, 4);
    EXPECT_EQ(a.PositionDeviceText, "Surveyed");
    EXPECT_EQ(a.TimeStamp, 60);
    EXPECT_EQ(a.VirtualAidFlag, 1);
    EXPECT_EQ(target(1).AISClass, "Aids to Navigation");

    feed("!AIVDM,1,1,,B,KC5E2b@U19PFdLbL,0*00");
    ASSERT_EQ(engine.LastAISMessageID(1), 27);
    const LongRangeSlot& l = slots().Msg27;
    EXPECT_EQ(l.RepeatIndicator, 1);
    EXPECT_EQ(l.MMSI, 206914217);
    EXPECT_EQ(l.NavigationalStatusText, "Not under command");
    EXPECT_NEAR(l.Longitude, 137.0233333, 1e-6);
    EXPECT_NEAR(l.Latitude, 4.84, 1e-9);
    EXPECT_FLOAT_EQ(l.SpeedOverGround, 57);
    EXPECT_FLOAT_EQ(l.CourseOverGround, 167);
    EXPECT_EQ(store().TargetCount[1], 1);  // long-range reports make no target
}

}  // namespace
}  // namespace tiderune::test
