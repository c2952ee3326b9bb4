// Position reports built field by field; the expected values are worked out by hand from the
// field definitions of ITU-R M.1371.
#include <gtest/gtest.h>

#include "ais_test_support.h"

namespace tiderune::test {
namespace {

using PositionReports = AisEngineTest;

// Message 1 layout up to the communication state, with the fields a case changes.
struct ClassAFields {
    int id = 1;
    std::uint32_t mmsi = 244670316;
    int navStatus = 5;
    int rot = 20;
    int sog = 123;
    int accuracy = 1;
    std::int64_t lon = -42150000;  // -70.25 degrees in 1/10000 minute
    std::int64_t lat = -20100000;  // -33.5 degrees
    int cog = 3599;
    int heading = 359;
    int timeStamp = 59;
    int syncState = 1, slotTimeout = 1, subMessage = (13 << 9) | (45 << 2);
};

AisBitWriter classA(const ClassAFields& f) {
    AisBitWriter w;
    w.header(f.id, 3, f.mmsi).u(f.navStatus, 4).s(f.rot, 8).u(f.sog, 10).u(f.accuracy, 1);
    w.s(f.lon, 28).s(f.lat, 27).u(f.cog, 12).u(f.heading, 9).u(f.timeStamp, 6).u(2, 2).u(0, 3).u(1, 1);
    w.u(f.syncState, 2).u(f.slotTimeout, 3).u(f.subMessage, 14);
    return w;
}

TEST_F(PositionReports, ClassAReportEveryField) {
    feed(classA({}));
    ASSERT_EQ(engine.LastAISMessageID(1), 1);
    const ClassAPositionSlot& s = slots().Msg1;
    EXPECT_EQ(s.MessageID, 1);
    EXPECT_EQ(s.RepeatIndicator, 3);
    EXPECT_EQ(s.MMSI, 244670316);
    EXPECT_EQ(s.NavigationalStatus, 5);
    EXPECT_EQ(s.NavigationalStatusText, "Moored");
    EXPECT_NEAR(s.RateOfTurn, 17.8561, 1e-3);  // (20 / 4.733)^2
    EXPECT_FLOAT_EQ(s.SpeedOverGround, 12.3f);
    EXPECT_EQ(s.PositionAccuracy, 1);
    EXPECT_EQ(s.PositionAccuracyText, "High accuracy, <10 m");
    EXPECT_DOUBLE_EQ(s.Longitude, -70.25);
    EXPECT_DOUBLE_EQ(s.Latitude, -33.5);
    EXPECT_FLOAT_EQ(s.CourseOverGround, 359.9f);
    EXPECT_FLOAT_EQ(s.TrueHeading, 359);
    EXPECT_EQ(s.TimeStamp, 59);
    EXPECT_EQ(s.ManoeuvreIndicator, 2);
    EXPECT_EQ(s.Spare, 0);
    EXPECT_EQ(s.RAIMFlag, 1);
    EXPECT_EQ(s.Comm.SyncState, 1);
    EXPECT_EQ(s.Comm.SlotTimeout, 1);
    EXPECT_EQ(s.Comm.SubMessage, (13 << 9) | (45 << 2));
    EXPECT_EQ(s.UTCHour, 13);
    EXPECT_EQ(s.UTCMinute, 45);
    EXPECT_DOUBLE_EQ(s.TimeOfReceipt, kNow);
}

TEST_F(PositionReports, ClassANotAvailableAndLimitCodes) {
    struct Case {
        const char* what;
        ClassAFields f;
        double rot, sog, lon, lat, cog, heading;
    };
    auto with = [](auto change) {
        ClassAFields f;
        change(f);
        return f;
    };
    const Case cases[] = {
        {"rot 128", with([](auto& f) { f.rot = 128; }), -9999, 12.3, -70.25, -33.5, 359.9, 359},
        {"rot 0", with([](auto& f) { f.rot = 0; }), 0, 12.3, -70.25, -33.5, 359.9, 359},
        {"rot 127", with([](auto& f) { f.rot = 127; }), 720.0032, 12.3, -70.25, -33.5, 359.9, 359},
        {"rot -127", with([](auto& f) { f.rot = -127; }), -720.0032, 12.3, -70.25, -33.5, 359.9, 359},
        {"sog 1022", with([](auto& f) { f.sog = 1022; }), 17.8561, 102.2, -70.25, -33.5, 359.9, 359},
        {"sog 1023", with([](auto& f) { f.sog = 1023; }), 17.8561, -9999, -70.25, -33.5, 359.9, 359},
        {"no position", with([](auto& f) { f.lon = 108600000; f.lat = 54600000; }), 17.8561, 12.3, -9999, -9999, 359.9, 359},
        {"east north", with([](auto& f) { f.lon = 7140000; f.lat = 34620000; }), 17.8561, 12.3, 11.9, 57.7, 359.9, 359},
        {"cog 3600 hdg 511", with([](auto& f) { f.cog = 3600; f.heading = 511; }), 17.8561, 12.3, -70.25, -33.5, -9999, -9999},
        {"hdg 510", with([](auto& f) { f.heading = 510; }), 17.8561, 12.3, -70.25, -33.5, 359.9, 510},
    };
    for (const auto& c : cases) {
        feed(classA(c.f));
        const ClassAPositionSlot& s = slots().Msg1;
        EXPECT_NEAR(s.RateOfTurn, c.rot, 1e-3) << c.what;
        EXPECT_NEAR(s.SpeedOverGround, c.sog, 1e-4) << c.what;
        EXPECT_NEAR(s.Longitude, c.lon, 1e-9) << c.what;
        EXPECT_NEAR(s.Latitude, c.lat, 1e-9) << c.what;
        EXPECT_NEAR(s.CourseOverGround, c.cog, 1e-4) << c.what;
        EXPECT_NEAR(s.TrueHeading, c.heading, 1e-4) << c.what;
    }
}

TEST_F(PositionReports, CommunicationStateGoesWhereTheSlotTimeoutSays) {
    struct Case {
        int id, timeout;
        std::int16_t AisCommState::*field;
    } cases[] = {{1, 0, &AisCommState::SlotOffset},       {2, 2, &AisCommState::SlotNumber},
                 {3, 4, &AisCommState::SlotNumber},       {1, 6, &AisCommState::SlotNumber},
                 {2, 3, &AisCommState::ReceivedStations}, {3, 7, &AisCommState::ReceivedStations}};
    int value = 100;
    for (const auto& c : cases) {
        ClassAFields f;
        f.id = c.id;
        f.slotTimeout = c.timeout;
        f.subMessage = ++value;
        feed(classA(f));
        const ClassAPositionSlot& s = slots().classA(c.id);
        EXPECT_EQ(s.Comm.*(c.field), value) << c.id << "/" << c.timeout;
        // The hour and minute of an earlier timeout-1 state are not touched.
        EXPECT_EQ(s.UTCHour, 0);
    }
    // Message 3 carries an ITDMA state but is read with the same layout.
    EXPECT_EQ(slots().Msg3.Comm.ReceivedStations, 106);
    EXPECT_EQ(slots().Msg3.Comm.SlotNumber, 103);
}

TEST_F(PositionReports, BaseStation) {
    AisBitWriter w;
    w.header(4, 0, 2655037).u(2026, 14).u(12, 4).u(8, 5).u(19, 5).u(45, 6).u(30, 6).u(0, 1);
    w.s(7140000, 28).s(34620000, 27).u(7, 4).u(1, 1).u(0, 9).u(1, 1);
    w.u(0, 2).u(1, 3).u((20 << 9) | (5 << 2), 14);
    feed(w);
    const BaseStationSlot& s = slots().Msg4;
    EXPECT_EQ(s.MMSI, 2655037);
    EXPECT_EQ(s.UTCYear, 2026);
    EXPECT_EQ(s.UTCMonth, 12);
    EXPECT_EQ(s.UTCDay, 8);
    EXPECT_EQ(s.UTCHour, 20);  // from the communication state, timeout 1
    EXPECT_EQ(s.UTCMinute, 5);
    EXPECT_EQ(s.UTCSecond, 30);
    EXPECT_EQ(s.PositionAccuracyText, "Low accuracy, >10 m");
    EXPECT_NEAR(s.Longitude, 11.9, 1e-9);
    EXPECT_NEAR(s.Latitude, 57.7, 1e-9);
    EXPECT_EQ(s.PositionDevice, 7);
    EXPECT_EQ(s.PositionDeviceText, "Surveyed");
    EXPECT_EQ(s.LongRangeControl, 1);
    EXPECT_EQ(s.RAIMFlag, 1);
    EXPECT_EQ(s.Comm.SlotTimeout, 1);
}

TEST_F(PositionReports, SARAircraft) {
    AisBitWriter w;
    w.header(9, 0, 111265201).u(300, 12).u(1022, 10).u(1, 1).s(7140000, 28).s(34620000, 27).u(1800, 12).u(30, 6);
    w.u(1, 1).u(0, 7).u(1, 1).u(0, 3).u(1, 1).u(1, 1).u(0, 1).u(2, 2).u(3, 3).u(17, 14);
    feed(w);
    const SARAircraftSlot& s = slots().Msg9;
    EXPECT_EQ(s.MMSI, 111265201);
    EXPECT_EQ(s.Altitude, 300);
    EXPECT_FLOAT_EQ(s.SpeedOverGround, 1022);  // whole knots for aircraft
    EXPECT_EQ(s.PositionAccuracy, 1);
    EXPECT_NEAR(s.Longitude, 11.9, 1e-9);
    EXPECT_NEAR(s.Latitude, 57.7, 1e-9);
    EXPECT_FLOAT_EQ(s.CourseOverGround, 180);
    EXPECT_EQ(s.TimeStamp, 30);
    EXPECT_EQ(s.AltitudeSensor, 1);
    EXPECT_EQ(s.DTEFlag, 1);
    EXPECT_EQ(s.AssignedModeFlag, 1);
    EXPECT_EQ(s.RAIMFlag, 1);
    EXPECT_EQ(s.CommStateSelector, 0);
    EXPECT_EQ(s.Comm.SyncState, 2);
    EXPECT_EQ(s.Comm.ReceivedStations, 17);

    AisBitWriter na;
    na.header(9, 0, 111265201).u(4095, 12).u(1023, 10);
    feed(na);
    EXPECT_EQ(slots().Msg9.Altitude, 4095);
    EXPECT_FLOAT_EQ(slots().Msg9.SpeedOverGround, -9999);
}

TEST_F(PositionReports, StandardClassB) {
    AisBitWriter w;
    w.header(18, 0, 338123456).u(0, 8).u(55, 10).u(0, 1).s(-42150000, 28).s(-20100000, 27).u(900, 12).u(91, 9);
    w.u(12, 6).u(0, 2).u(1, 1).u(0, 1).u(1, 1).u(1, 1).u(1, 1).u(0, 1).u(0, 1).u(1, 1).u(0, 2).u(0, 3).u(1234, 14);
    feed(w);
    const ClassBPositionSlot& s = slots().Msg18;
    EXPECT_EQ(s.MMSI, 338123456);
    EXPECT_FLOAT_EQ(s.SpeedOverGround, 5.5f);
    EXPECT_DOUBLE_EQ(s.Longitude, -70.25);
    EXPECT_DOUBLE_EQ(s.Latitude, -33.5);
    EXPECT_FLOAT_EQ(s.CourseOverGround, 90);
    EXPECT_FLOAT_EQ(s.TrueHeading, 91);
    EXPECT_EQ(s.TimeStamp, 12);
    EXPECT_EQ(s.ClassBUnitFlag, 1);
    EXPECT_EQ(s.DisplayFlag, 0);
    EXPECT_EQ(s.DSCFlag, 1);
    EXPECT_EQ(s.BandFlag, 1);
    EXPECT_EQ(s.Message22Flag, 1);
    EXPECT_EQ(s.AssignedModeFlag, 0);
    EXPECT_EQ(s.RAIMFlag, 0);
    EXPECT_EQ(s.CommStateSelector, 1);
    EXPECT_EQ(s.Comm.SlotOffset, 1234);
}

AisBitWriter classBExtended(int shipType, const std::string& name) {
    AisBitWriter w;
    w.header(19, 0, 211234560).u(0, 8).u(1022, 10).u(1, 1).s(7140000, 28).s(34620000, 27).u(3600, 12).u(511, 9);
    w.u(60, 6).u(0, 4).text(name, 20).u(static_cast<std::uint64_t>(shipType), 8).u(10, 9).u(2, 9).u(2, 6).u(1, 6);
    w.u(1, 4).u(0, 1).u(1, 1).u(0, 5);
    return w;
}

TEST_F(PositionReports, ExtendedClassB) {
    feed(classBExtended(37, "SEA BREEZE"));
    const ClassBExtendedSlot& s = slots().Msg19;
    EXPECT_EQ(s.MMSI, 211234560);
    EXPECT_NEAR(s.SpeedOverGround, 102.2, 1e-4);
    EXPECT_NEAR(s.Longitude, 11.9, 1e-9);
    EXPECT_FLOAT_EQ(s.CourseOverGround, -9999);
    EXPECT_FLOAT_EQ(s.TrueHeading, -9999);
    EXPECT_EQ(s.TimeStamp, 60);
    EXPECT_EQ(s.Name, "SEA BREEZE          ");  // trailing "@" read as blanks
    EXPECT_EQ(s.ShipType, 37);
    EXPECT_EQ(s.ShipTypeText, "Vessel-Pleasure Craft");
    EXPECT_EQ(s.ShipTypeShortText, "Vessel-Pleasure Craft");
    EXPECT_EQ(s.HazardText, "n/a");
    EXPECT_EQ(s.DimensionA, 10);
    EXPECT_EQ(s.DimensionB, 2);
    EXPECT_EQ(s.DimensionC, 2);
    EXPECT_EQ(s.DimensionD, 1);
    EXPECT_EQ(s.PositionDeviceText, "GPS");
    EXPECT_EQ(s.RAIMFlag, 0);
    EXPECT_EQ(s.DTEFlag, 1);

    // A type outside 1-99 keeps its full text but is stored as 0.
    feed(classBExtended(150, "SEA BREEZE"));
    EXPECT_EQ(slots().Msg19.ShipTypeText, "");
    EXPECT_EQ(slots().Msg19.ShipType, 0);
    EXPECT_EQ(slots().Msg19.ShipTypeShortText, "Not defined");
    EXPECT_EQ(slots().Msg19.HazardText, "Not specified");
    feed(classBExtended(81, "SEA BREEZE"));
    EXPECT_EQ(slots().Msg19.ShipTypeText, "Tanker - Carrying DG,HS or MP IMO hazard or pollutant category X");
    EXPECT_EQ(slots().Msg19.HazardText, "Carrying DG,HS or MP IMO hazard or pollutant category X");
}

AisBitWriter aidToNavigation(int statusPage, bool withExtension) {
    AisBitWriter w;
    w.header(21, 0, 992651234).u(20, 5).text("NORTH CARDINAL", 20).u(1, 1).s(7140000, 28).s(34620000, 27);
    w.u(3, 9).u(4, 9).u(5, 6).u(6, 6).u(7, 4).u(61, 6).u(1, 1).u(static_cast<std::uint64_t>(statusPage), 3);
    w.u(2, 2).u(1, 2).u(1, 1).u(1, 1).u(1, 1).u(0, 1).u(0, 1);
    if (withExtension) w.text("EXTENSION", 9);
    return w;
}

TEST_F(PositionReports, AidToNavigation) {
    feed(aidToNavigation(7, true));
    const AidToNavigationSlot& s = slots().Msg21;
    EXPECT_EQ(s.MMSI, 992651234);
    EXPECT_EQ(s.AidType, 20);
    EXPECT_EQ(s.AidTypeText, "Cardinal mark N");
    EXPECT_EQ(s.Name, "NORTH CARDINAL      ");
    EXPECT_EQ(s.PositionAccuracy, 1);
    EXPECT_NEAR(s.Longitude, 11.9, 1e-9);
    EXPECT_NEAR(s.Latitude, 57.7, 1e-9);
    EXPECT_EQ(s.DimensionA, 3);
    EXPECT_EQ(s.DimensionB, 4);
    EXPECT_EQ(s.DimensionC, 5);
    EXPECT_EQ(s.DimensionD, 6);
    EXPECT_EQ(s.PositionDeviceText, "Surveyed");
    EXPECT_EQ(s.TimeStamp, 61);
    EXPECT_EQ(s.OffPosition, 1);
    EXPECT_EQ(s.StatusPage, 7);
    EXPECT_EQ(s.RACONStatus, 2);
    EXPECT_EQ(s.LightStatus, 1);
    EXPECT_EQ(s.HealthFlag, 1);
    EXPECT_EQ(s.RAIMFlag, 1);
    EXPECT_EQ(s.VirtualAidFlag, 1);
    EXPECT_EQ(s.AssignedModeFlag, 0);
    EXPECT_EQ(s.NameExtension, "EXTENSION");

    // Another status page leaves the page-7 fields alone; a 272-bit message has no extension.
    feed(aidToNavigation(3, false));
    EXPECT_EQ(slots().Msg21.StatusPage, 3);
    EXPECT_EQ(slots().Msg21.RACONStatus, 2);
    EXPECT_EQ(slots().Msg21.NameExtension, "");
}

TEST_F(PositionReports, LongRange) {
    struct Case {
        std::int64_t lon, lat;
        int sog, cog;
        double eLon, eLat, eSog, eCog;
    } cases[] = {
        {-1000, 3000, 12, 45, -1000.0 / 600, 5, 12, 45},
        {108600, 54600, 63, 511, -9999, -9999, -9999, -9999},
        {-108600, -54600, 62, 510, -181, -91, 62, 510},
    };
    for (const auto& c : cases) {
        AisBitWriter w;
        w.header(27, 0, 636012345).u(1, 1).u(0, 1).u(3, 4).s(c.lon, 18).s(c.lat, 17);
        w.u(static_cast<std::uint64_t>(c.sog), 6).u(static_cast<std::uint64_t>(c.cog), 9).u(1, 1).u(0, 1);
        feed(w);
        const LongRangeSlot& s = slots().Msg27;
        EXPECT_EQ(s.MMSI, 636012345);
        EXPECT_EQ(s.PositionAccuracyText, "High accuracy, <10 m");
        EXPECT_EQ(s.NavigationalStatusText, "Restricted manoeuvrability");
        EXPECT_NEAR(s.Longitude, c.eLon, 1e-9);
        EXPECT_NEAR(s.Latitude, c.eLat, 1e-9);
        EXPECT_FLOAT_EQ(s.SpeedOverGround, static_cast<float>(c.eSog));
        EXPECT_FLOAT_EQ(s.CourseOverGround, static_cast<float>(c.eCog));
        EXPECT_EQ(s.GNSSPositionStatus, 1);
    }
}

}  // namespace
}  // namespace tiderune::test
