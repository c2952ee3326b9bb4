// The target store: which messages create and update targets, what they copy, the counts,
// the times and the 500-target limit.
#include <gtest/gtest.h>

#include "ais_test_support.h"

#include <limits>

namespace tiderune::test {
namespace {

using TargetStore = AisEngineTest;

AisBitWriter classA(int id, std::uint32_t mmsi, std::int64_t lon = 7140000, std::int64_t lat = 34620000) {
    AisBitWriter w;
    w.header(id, 0, mmsi).u(1, 4).s(-127, 8).u(105, 10).u(1, 1).s(lon, 28).s(lat, 27).u(1234, 12).u(120, 9);
    w.u(42, 6).u(0, 5).u(0, 1).u(0, 19);
    return w;
}

AisBitWriter staticVoyage(std::uint32_t mmsi, int month) {
    AisBitWriter w;
    w.header(5, 0, mmsi).u(0, 2).u(9074729, 30).text("PD4321", 7).text("NORDIC STAR", 20).u(80, 8);
    w.u(80, 9).u(20, 9).u(5, 6).u(7, 6).u(3, 4).u(static_cast<std::uint64_t>(month), 4).u(15, 5).u(14, 5).u(30, 6);
    w.u(52, 8).text("ROTTERDAM", 20).u(0, 2);
    return w;
}

AisBitWriter classB(std::uint32_t mmsi) {
    AisBitWriter w;
    w.header(18, 0, mmsi).u(0, 8).u(55, 10).u(0, 1).s(-42150000, 28).s(-20100000, 27).u(900, 12).u(91, 9);
    w.u(12, 6).u(0, 2).u(0, 8).u(0, 20);
    return w;
}

AisBitWriter classBExtended(std::uint32_t mmsi, const std::string& name) {
    AisBitWriter w;
    w.header(19, 0, mmsi).u(0, 8).u(55, 10).u(0, 1).s(-42150000, 28).s(-20100000, 27).u(900, 12).u(91, 9);
    w.u(12, 6).u(0, 4).text(name, 20).u(37, 8).u(10, 9).u(2, 9).u(2, 6).u(1, 6).u(1, 4).u(0, 7);
    return w;
}

AisBitWriter aidToNavigation(std::uint32_t mmsi, const std::string& name) {
    AisBitWriter w;
    w.header(21, 0, mmsi).u(20, 5).text(name, 20).u(1, 1).s(7140000, 28).s(34620000, 27);
    w.u(1, 9).u(2, 9).u(3, 6).u(4, 6).u(7, 4).u(61, 6).u(0, 1).u(0, 3).u(0, 8).u(0, 4);
    return w;
}

TEST_F(TargetStore, ClassAVesselFromPositionAndVoyage) {
    epoch[1] = 46000.5;
    feed(classA(1, 244670316));
    ASSERT_EQ(store().TargetCount[1], 1);
    EXPECT_EQ(store().CurrentTarget[1], 1);
    EXPECT_FALSE(store().MMSIZero[1]);
    const AISTarget& t = target(1);
    EXPECT_EQ(t.MMSI, 244670316);
    EXPECT_EQ(t.Country, "Netherlands");
    EXPECT_EQ(t.AISClass, "Class A Vessel");
    EXPECT_EQ(t.NavigationStatus, "At anchor");
    EXPECT_NEAR(t.RateOfTurn, -720.0032, 1e-3);
    EXPECT_FLOAT_EQ(t.SpeedOverGround, 10.5f);
    EXPECT_EQ(t.PositionAccuracy, "High accuracy, <10 m");
    EXPECT_NEAR(t.Longitude, 11.9, 1e-9);
    EXPECT_NEAR(t.Latitude, 57.7, 1e-9);
    EXPECT_FLOAT_EQ(t.CourseOverGround, 123.4f);
    EXPECT_FLOAT_EQ(t.Heading, 120);
    EXPECT_EQ(t.TimeStamp, 42);
    EXPECT_EQ(t.Name, "");
    EXPECT_DOUBLE_EQ(t.FirstSeen, 46000.5);
    EXPECT_DOUBLE_EQ(t.LastSeen, 46000.5);
    EXPECT_EQ(t.SecondsSeen, 0);
    EXPECT_EQ(t.MessageCount[1], 1);

    epoch[1] = 46000.5 + (3725.0 / 86400);  // 1 h 2 min 5 s later
    feed(vdmMessage(staticVoyage(244670316, 3)));
    EXPECT_EQ(store().TargetCount[1], 1);
    EXPECT_EQ(t.Name, "NORDIC STAR         ");
    EXPECT_EQ(t.CallSign, "PD4321 ");
    EXPECT_EQ(t.IMONumber, 9074729);
    EXPECT_EQ(t.TypeOfShip, "Tanker");
    EXPECT_EQ(t.CargoText, "Not specified");
    EXPECT_EQ(t.DimensionA + t.DimensionB + t.DimensionC + t.DimensionD, 112);
    EXPECT_EQ(t.PositionDeviceText, "GPS/Glonass");
    EXPECT_DOUBLE_EQ(t.ETA, aisDateValue(2026, 3, 15, 14, 30));
    EXPECT_FLOAT_EQ(t.Draught, 5.2f);
    EXPECT_EQ(t.Destination, "ROTTERDAM           ");
    EXPECT_EQ(t.SecondsSeen, 3725);
    EXPECT_EQ(t.MessageCount[5], 1);

    feed(classA(2, 244670316));
    feed(classA(3, 244670316));
    feed(classA(3, 244670316));
    feed(vdmMessage(staticVoyage(244670316, 0)));
    EXPECT_EQ(store().TargetCount[1], 1);
    EXPECT_EQ(t.ETA, 0);
    EXPECT_EQ(t.MessageCount[1], 1);
    EXPECT_EQ(t.MessageCount[2], 1);
    EXPECT_EQ(t.MessageCount[3], 2);
    EXPECT_EQ(t.MessageCount[5], 2);

    // A count a long watch fills stops there instead of turning negative.
    const_cast<AISTarget&>(t).MessageCount[3] = std::numeric_limits<std::int32_t>::max();
    feed(classA(3, 244670316));
    EXPECT_EQ(t.MessageCount[3], std::numeric_limits<std::int32_t>::max());
}

TEST_F(TargetStore, ClassesAndDefaultNames) {
    AisBitWriter base;
    base.header(4, 0, 2655037).u(2026, 14).u(12, 4).u(8, 5).u(19, 5).u(45, 6).u(30, 6).u(0, 1);
    base.s(7140000, 28).s(34620000, 27).u(7, 4).u(0, 30);
    AisBitWriter sar;
    sar.header(9, 0, 111265201).u(300, 12).u(120, 10).u(1, 1).s(7140000, 28).s(34620000, 27).u(1800, 12).u(30, 6);
    sar.u(0, 34);
    struct Case {
        AisBitWriter message;
        const char* aisClass;
        const char* name;
        const char* country;
        const char* callSign;
        const char* device;
    } cases[] = {
        {base, "Base Station", "Base Station", "Sweden", "n/a", "Surveyed"},
        {sar, "SAR Aircraft", "SAR Aircraft", "unknown", "n/a", "n/a"},
        {classB(338123456), "Class B Vessel", "Class B vessel", "USA", "n/a", "n/a"},
        {classBExtended(211234560, "SEA BREEZE"), "Class B Vessel", "SEA BREEZE          ", "Germany", "n/a", "GPS"},
        {classBExtended(211234561, ""), "Class B Vessel", "Class B vessel", "Germany", "n/a", "GPS"},
        {aidToNavigation(992651234, "NORTH CARDINAL"), "Aids to Navigation", "NORTH CARDINAL      ", "unknown", "n/a", "Surveyed"},
        {aidToNavigation(992651235, ""), "Aids to Navigation", "Aid to Navigation", "unknown", "n/a", "Surveyed"},
    };
    int n = 0;
    for (const auto& c : cases) {
        feed(c.message);
        ASSERT_EQ(store().TargetCount[1], ++n) << c.aisClass;
        const AISTarget& t = target(n);
        EXPECT_EQ(t.AISClass, c.aisClass);
        EXPECT_EQ(t.Name, c.name) << c.aisClass;
        EXPECT_EQ(t.Country, c.country) << c.aisClass;
        EXPECT_EQ(t.CallSign, c.callSign) << c.aisClass;
        EXPECT_EQ(t.PositionDeviceText, c.device) << c.aisClass;
        EXPECT_NE(t.Latitude, 0) << c.aisClass;
    }
    EXPECT_EQ(target(1).TimeStamp, 30);  // the base station's UTC second
    EXPECT_EQ(target(5).DimensionA, 10);
    // The class stays that of the first message; a message 18 renames even a named vessel.
    feed(classB(211234560));
    EXPECT_EQ(target(4).Name, "Class B vessel");
    feed(vdmMessage(staticVoyage(338123456, 3)));
    EXPECT_EQ(target(3).AISClass, "Class B Vessel");
    EXPECT_EQ(target(3).Name, "NORDIC STAR         ");
}

TEST_F(TargetStore, MessagesWithoutATarget) {
    AisBitWriter safety;
    safety.header(14, 0, 2320001).u(0, 2).text("SECURITE", 8);
    AisBitWriter longRange;
    longRange.header(27, 0, 636012345).u(0, 58);
    AisBitWriter staticData;
    staticData.header(24, 0, 211234560).u(0, 2).text("MY YACHT", 20);
    const std::vector<std::vector<std::string>> messages = {
        vdmMessage(safety), vdmMessage(longRange), vdmMessage(staticData),
        vdmMessage(classA(1, 0)),                          // MMSI 0
        {test::vdm(1, 1, "", "A", "", 0)},                 // message 0
        {vdmMessage(staticVoyage(244670316, 3), 40)[0]},  // first fragment only
    };
    for (const auto& m : messages) {
        feed(m);
        EXPECT_TRUE(store().MMSIZero[1]) << m[0];
    }
    EXPECT_EQ(store().TargetCount[1], 0);
}

TEST_F(TargetStore, ShortPayloadsMoveNoTarget) {
    feed(classA(1, 244670316));
    const AisBitWriter full = classA(1, 244670316, 0, 0);
    const std::string payload = full.payload();
    struct Case {
        std::string sentence;
        bool accepted;
    } cases[] = {
        {test::vdm(1, 1, "", "A", payload.substr(0, 20), 0), false},  // the position is half there
        {test::vdm(1, 1, "", "A", payload, 2), false},                // fill bits cut off its end
        {test::vdm(1, 1, "", "A", payload.substr(0, 10), 0), false},
        {test::vdm(1, 1, "", "A", payload, 0), true},
    };
    for (const auto& c : cases) {
        feed(c.sentence);
        EXPECT_EQ(store().MMSIZero[1], !c.accepted) << c.sentence;
        EXPECT_EQ(target(1).Longitude == 0, c.accepted) << c.sentence;
    }
    EXPECT_EQ(store().ShortMessages[1], 3);
    EXPECT_EQ(target(1).MessageCount[1], 2);
    // A short report of an unknown MMSI makes no phantom target.
    feed(test::vdm(1, 1, "", "A", classA(1, 211000000).payload().substr(0, 12), 0));
    EXPECT_EQ(store().TargetCount[1], 1);
}

TEST_F(TargetStore, CountryFromTheMaritimeIdentificationDigits) {
    const AisTables& t = engine.tables();
    struct Case {
        std::int32_t mmsi;
        const char* country;
    } cases[] = {
        {244670316, "Netherlands"}, {244999999, "Netherlands"}, {2442000, "Netherlands"},  // 00MIDxxxx
        {2449999, "Netherlands"},   {209000001, "Cyprus"},      {241000000, "unknown"},
        {111265201, "unknown"},     {9999999, "unknown"},       {1073741823, "unknown"},  // MID 1073
        {619000001, "C\xF4te d'Ivoire"},
    };
    for (const auto& c : cases) EXPECT_EQ(aisCountryOf(c.mmsi, t), c.country) << c.mmsi;
    feed(classA(1, 1073741823));  // the highest 30-bit MMSI makes a target all the same
    EXPECT_EQ(target(1).Country, "unknown");
}

TEST_F(TargetStore, SystemsKeepTheirOwnTargets) {
    feed(classA(1, 244670316), 1);
    feed(classA(1, 244670316), 3);
    feed(classA(1, 244670317), 3);
    EXPECT_EQ(store().TargetCount[1], 1);
    EXPECT_EQ(store().TargetCount[3], 2);
    EXPECT_EQ(store().CurrentTarget[3], 2);
    EXPECT_EQ(store().TargetCount[2], 0);
}

TEST_F(TargetStore, FiveHundredTargetsAndOneNotice) {
    for (std::uint32_t i = 0; i < 500; ++i) feed(classA(1, 244000000 + i));
    ASSERT_EQ(store().TargetCount[1], 500);
    EXPECT_EQ(store().CurrentTarget[1], 500);
    EXPECT_TRUE(notices.notices.empty());

    for (int k = 0; k < 3; ++k) feed(classA(1, 245000000 + k));
    EXPECT_EQ(store().TargetCount[1], 500);
    EXPECT_EQ(store().CurrentTarget[1], 500);
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(notices.notices[0].text, "Maximum limit AIS system  1, more than 500 targets stored. New targets ignored!");
    EXPECT_EQ(notices.notices[0].icon, NoticeIcon::Information);

    // Known targets keep updating.
    epoch[1] += 1.0 / 24;
    feed(classA(1, 244000007));
    EXPECT_EQ(store().CurrentTarget[1], 8);
    EXPECT_EQ(target(8).SecondsSeen, 3600);
    EXPECT_EQ(target(8).MessageCount[1], 2);
    // Every stored MMSI, and MMSIs spread over the whole 30 bits, finds its own row.
    for (std::uint32_t i = 0; i < 500; i += 37) {
        feed(classA(1, 244000000 + i));
        EXPECT_EQ(store().CurrentTarget[1], static_cast<int>(i) + 1);
    }
    for (std::uint32_t i = 0; i < 300; ++i) feed(classA(1, 1 + i * 3579139u), 3);
    for (std::uint32_t i = 0; i < 300; i += 7) {
        feed(classA(1, 1 + i * 3579139u), 3);
        EXPECT_EQ(store().CurrentTarget[3], static_cast<int>(i) + 1);
    }
    // Another system has its own limit and its own notice.
    for (std::uint32_t i = 0; i < 501; ++i) feed(classA(1, 244000000 + i), 2);
    EXPECT_EQ(notices.notices.size(), 2u);
}

TEST_F(TargetStore, SecondsSeenSurvivesUnusableTimes) {
    feed(classA(1, 244670316));
    epoch[1] = 45000.0 + 100.0 / 86400;
    feed(classA(1, 244670316));
    EXPECT_EQ(target(1).SecondsSeen, 100);
    for (double bad : {1e300, -1e300, std::numeric_limits<double>::quiet_NaN(), 45000.0 + 30000.0}) {
        epoch[1] = bad;  // 30000 days are more seconds than 32 bits hold
        feed(classA(1, 244670316));
        EXPECT_EQ(target(1).SecondsSeen, 100) << bad;
    }
}

}  // namespace
}  // namespace tiderune::test

namespace tiderune::test {
namespace {

TEST_F(TargetStore, TableIndicesOutsideTheStoredTargets) {
    feed(classA(1, 244670316));
    const AisTargetList& table = store().AISTargetTable[1];
    EXPECT_EQ(table[1].MMSI, 244670316);
    EXPECT_EQ(table[0].MMSI, 0);    // never used
    EXPECT_EQ(table[500].MMSI, 0);  // not heard yet
    EXPECT_THROW(table[501], RuntimeError);
    EXPECT_THROW(table[-1], RuntimeError);
    // A stored record stays where it is while the table grows.
    const AISTarget* first = &table[1];
    for (std::uint32_t i = 1; i < 300; ++i) feed(classA(1, 244000000 + i));
    EXPECT_EQ(first, &table[1]);
}

}  // namespace
}  // namespace tiderune::test
