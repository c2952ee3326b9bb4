#include "nmeagen/ais_encoder.h"

#include <gtest/gtest.h>

#include <limits>

#include "line_check.h"

namespace tiderune::nmeagen {
namespace {

TEST(AisArmour, SixBitCharacterTable) {
    // ITU-R M.1371 armouring: 0-39 are "0".."W", 40-63 are "`".."w".
    struct Case {
        unsigned value;
        char c;
    } cases[] = {{0, '0'}, {9, '9'}, {10, ':'}, {16, '@'}, {17, 'A'}, {39, 'W'}, {40, '`'}, {41, 'a'}, {63, 'w'}};
    for (const auto& c : cases)
        EXPECT_EQ(armourChar(c.value), c.c) << c.value;
}

TEST(AisArmour, FillBitsPadTheLastCharacter) {
    struct Case {
        std::size_t bits;
        std::size_t chars;
        int fill;
    } cases[] = {{6, 1, 0}, {7, 2, 5}, {160, 27, 2}, {168, 28, 0}, {312, 52, 0}, {424, 71, 2}};
    for (const auto& c : cases) {
        AisBitWriter w;
        for (std::size_t i = 0; i < c.bits; ++i)
            w.put(1, 1);
        const AisPayload p = armour(w.bits());
        EXPECT_EQ(p.armoured.size(), c.chars) << c.bits;
        EXPECT_EQ(p.fillBits, c.fill) << c.bits;
        // The fill bits are zero.
        const auto bits = test::payloadBits(p.armoured);
        for (std::size_t i = c.bits; i < bits.size(); ++i)
            EXPECT_EQ(bits[i], 0);
    }
}

TEST(AisArmour, SignedFieldsAndTextRoundTrip) {
    AisBitWriter w;
    w.putSigned(-1, 8);
    w.putSigned(-128, 8);
    w.putSigned(127, 8);
    w.putSigned(-74037230, 28);
    w.putText("ab@_ ~", 8);
    const auto bits = test::payloadBits(armour(w.bits()).armoured);
    EXPECT_EQ(test::bitsValue(bits, 0, 8), 255);
    EXPECT_EQ(test::bitsValue(bits, 8, 8, true), -128);
    EXPECT_EQ(test::bitsValue(bits, 16, 8, true), 127);
    EXPECT_EQ(test::bitsValue(bits, 24, 28, true), -74037230);
    // Lower case goes up, characters outside the set become "?", "@" pads.
    EXPECT_EQ(test::bitsText(bits, 52, 8), "AB@_ ?@@");
}

// A position report as published with the protocol's description; every field is in its place
// only when the payload comes out character for character.
TEST(AisMessages, ClassAPositionMatchesPublishedReport) {
    ClassAPosition m;
    m.messageId = 1;
    m.mmsi = 371798000;
    m.navStatus = 0;
    m.rateOfTurn = -127;
    m.speed = 12.3;
    m.accuracy = true;
    m.longitude = -74037230 / 600000.0;
    m.latitude = 29028980 / 600000.0;
    m.course = 224.0;
    m.heading = 215;
    m.timeStamp = 33;
    m.radio = 34017;
    const AisPayload p = encodeClassAPosition(m);
    EXPECT_EQ(p.armoured, "15RTgt0PAso;90TKcjM8h6g208CQ");
    EXPECT_EQ(p.fillBits, 0);
    const auto lines = encapsulate(p, 'A', 0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A");
}

// Static and voyage data as published: two sentences, a sequential id, fill bits on the last.
TEST(AisMessages, StaticVoyageSplitsIntoTwoPublishedSentences) {
    StaticVoyage m;
    m.mmsi = 351759000;
    m.aisVersion = 0;
    m.imo = 9134270;
    // This transponder pads its texts with blanks rather than "@".
    m.callSign = "3FOF8  ";
    m.name = "EVER DIADEM         ";
    m.shipType = 70;
    m.toBow = 225;
    m.toStern = 70;
    m.toPort = 1;
    m.toStarboard = 31;
    m.epfd = 1;
    m.etaMonth = 5;
    m.etaDay = 15;
    m.etaHour = 14;
    m.etaMinute = 0;
    m.draught = 12.2;
    m.destination = "NEW YORK            ";
    const auto lines = encapsulate(encodeStaticVoyage(m), 'A', 1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "!AIVDM,2,1,1,A,55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp8,0*1C");
    EXPECT_EQ(lines[1], "!AIVDM,2,2,1,A,88888888880,2*25");
}

TEST(AisMessages, MessageLengthsAndKeyFields) {
    ClassBPosition b;
    b.mmsi = 257123450;
    b.speed = 5.4;
    b.longitude = 10.5;
    b.latitude = 59.75;
    b.course = 359.96;  // rounds to 360.0, which is sent as 0.0
    b.heading = 361;
    b.timeStamp = 12;
    ClassBExtended x;
    x.mmsi = 257123451;
    x.name = "SEA TROUT";
    x.shipType = 37;
    AidToNavigation aShort;
    aShort.mmsi = 992576001;
    aShort.aidType = 14;
    aShort.name = "SKAGEN BUOY";
    AidToNavigation aLong = aShort;
    aLong.name = "SOUTHERN BREAKWATER LIGHT EXTRA";  // 31 characters: 20 plus 11 in the extension
    BaseStationReport base;
    base.mmsi = 2579999;
    base.year = 2026;
    base.month = 6;
    base.day = 15;
    base.hour = 8;
    base.minute = 30;
    base.second = 5;

    struct Case {
        const char* what;
        AisPayload payload;
        std::size_t bits;
        long long id;
    } cases[] = {
        {"18", encodeClassBPosition(b), 168, 18},
        {"19", encodeClassBExtended(x), 312, 19},
        {"21 short", encodeAidToNavigation(aShort), 272, 21},
        {"21 long", encodeAidToNavigation(aLong), 272 + 66 + 6, 21},
        {"24A", encodeStaticDataA({0, 257123452, "LITTLE AUK"}), 160, 24},
        {"24B", encodeStaticDataB({0, 257123452, 36, "ABC1234", "LH2345", 6, 4, 2, 2, 1}), 168, 24},
        {"4", encodeBaseStation(base), 168, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.payload.armoured.size() * 6 - static_cast<std::size_t>(c.payload.fillBits), c.bits);
        EXPECT_EQ(test::bitsValue(test::payloadBits(c.payload.armoured), 0, 6), c.id);
    }

    const auto bb = test::payloadBits(cases[0].payload.armoured);
    EXPECT_EQ(test::bitsValue(bb, 8, 30), 257123450);
    EXPECT_EQ(test::bitsValue(bb, 46, 10), 54);
    EXPECT_EQ(test::bitsValue(bb, 57, 28, true), 6300000);
    EXPECT_EQ(test::bitsValue(bb, 85, 27, true), 35850000);
    EXPECT_EQ(test::bitsValue(bb, 112, 12), 0);
    EXPECT_EQ(test::bitsValue(bb, 124, 9), 1);
    EXPECT_EQ(test::bitsValue(bb, 133, 6), 12);

    const auto xb = test::payloadBits(cases[1].payload.armoured);
    EXPECT_EQ(test::bitsText(xb, 143, 20), "SEA TROUT@@@@@@@@@@@");
    EXPECT_EQ(test::bitsValue(xb, 263, 8), 37);

    const auto al = test::payloadBits(cases[3].payload.armoured);
    EXPECT_EQ(test::bitsText(al, 43, 20), "SOUTHERN BREAKWATER ");
    EXPECT_EQ(test::bitsText(al, 272, 11), "LIGHT EXTRA");

    const auto sb = test::payloadBits(cases[5].payload.armoured);
    EXPECT_EQ(test::bitsValue(sb, 38, 2), 1);
    EXPECT_EQ(test::bitsText(sb, 48, 7), "ABC1234");
    EXPECT_EQ(test::bitsText(sb, 90, 7), "LH2345@");

    const auto bs = test::payloadBits(cases[6].payload.armoured);
    EXPECT_EQ(test::bitsValue(bs, 38, 14), 2026);
    EXPECT_EQ(test::bitsValue(bs, 61, 5), 8);
    EXPECT_EQ(test::bitsValue(bs, 66, 6), 30);
    // No position: 181 and 91 degrees.
    EXPECT_EQ(test::bitsValue(bs, 79, 28, true), 108600000);
    EXPECT_EQ(test::bitsValue(bs, 107, 27, true), 54600000);
}

TEST(AisMessages, SarSafetyAndLongRangeLayouts) {
    SarAircraft sar;
    sar.mmsi = 111257001;
    sar.altitude = 450;
    sar.speed = 121.4;
    sar.longitude = 10.5;
    sar.latitude = -59.75;
    sar.course = 90.0;
    sar.timeStamp = 7;
    const AisPayload s9 = encodeSarAircraft(sar);
    EXPECT_EQ(s9.armoured.size() * 6 - static_cast<std::size_t>(s9.fillBits), 168u);
    const auto b9 = test::payloadBits(s9.armoured);
    EXPECT_EQ(test::bitsValue(b9, 0, 6), 9);
    EXPECT_EQ(test::bitsValue(b9, 38, 12), 450);
    EXPECT_EQ(test::bitsValue(b9, 50, 10), 121);  // whole knots
    EXPECT_EQ(test::bitsValue(b9, 61, 28, true), 6300000);
    EXPECT_EQ(test::bitsValue(b9, 89, 27, true), -35850000);
    EXPECT_EQ(test::bitsValue(b9, 116, 12), 900);
    EXPECT_EQ(test::bitsValue(b9, 128, 6), 7);

    // 40 + 6 x 23 bits: 178 bits in 30 characters, 2 fill bits.
    const AisPayload s14 = encodeSafetyBroadcast({0, 257000001, "SECURITE GALE WARNING 8"});
    EXPECT_EQ(s14.armoured.size(), 30u);
    EXPECT_EQ(s14.fillBits, 2);
    const auto b14 = test::payloadBits(s14.armoured);
    EXPECT_EQ(test::bitsValue(b14, 0, 6), 14);
    EXPECT_EQ(test::bitsText(b14, 40, 23), "SECURITE GALE WARNING 8");

    LongRangePosition lr;
    lr.mmsi = 257000002;
    lr.navStatus = 0;
    lr.longitude = -10.5;
    lr.latitude = 59.75;
    lr.speed = 12.4;
    lr.course = 359.6;  // whole degrees: 360 is sent as 0
    const AisPayload s27 = encodeLongRange(lr);
    EXPECT_EQ(s27.armoured.size() * 6 - static_cast<std::size_t>(s27.fillBits), 96u);
    const auto b27 = test::payloadBits(s27.armoured);
    EXPECT_EQ(test::bitsValue(b27, 0, 6), 27);
    EXPECT_EQ(test::bitsValue(b27, 44, 18, true), -6300);
    EXPECT_EQ(test::bitsValue(b27, 62, 17, true), 35850);
    EXPECT_EQ(test::bitsValue(b27, 79, 6), 12);
    EXPECT_EQ(test::bitsValue(b27, 85, 9), 0);
    lr = {};
    const auto na = test::payloadBits(encodeLongRange(lr).armoured);
    EXPECT_EQ(test::bitsValue(na, 44, 18, true), 108600);
    EXPECT_EQ(test::bitsValue(na, 62, 17, true), 54600);
    EXPECT_EQ(test::bitsValue(na, 79, 6), 63);
    EXPECT_EQ(test::bitsValue(na, 85, 9), 511);
}

TEST(AisMessages, NotAvailableCodes) {
    ClassAPosition m;
    m.mmsi = 1;
    const auto bits = test::payloadBits(encodeClassAPosition(m).armoured);
    EXPECT_EQ(test::bitsValue(bits, 42, 8, true), -128);
    EXPECT_EQ(test::bitsValue(bits, 50, 10), 1023);
    EXPECT_EQ(test::bitsValue(bits, 61, 28, true), 108600000);
    EXPECT_EQ(test::bitsValue(bits, 89, 27, true), 54600000);
    EXPECT_EQ(test::bitsValue(bits, 116, 12), 3600);
    EXPECT_EQ(test::bitsValue(bits, 128, 9), 511);
    EXPECT_EQ(test::bitsValue(bits, 137, 6), 60);
}

TEST(AisMessages, ValuesThatAreNoNumberOrOutOfRangeAreNotAvailable) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    ClassAPosition m;
    m.mmsi = 1;
    m.speed = nan;
    m.longitude = inf;
    m.latitude = nan;
    m.course = -inf;
    m.rateOfTurn = rateOfTurnIndicator(nan);
    auto bits = test::payloadBits(encodeClassAPosition(m).armoured);
    EXPECT_EQ(test::bitsValue(bits, 42, 8, true), -128);
    EXPECT_EQ(test::bitsValue(bits, 50, 10), 1023);
    EXPECT_EQ(test::bitsValue(bits, 61, 28, true), 108600000);
    EXPECT_EQ(test::bitsValue(bits, 89, 27, true), 54600000);
    EXPECT_EQ(test::bitsValue(bits, 116, 12), 3600);

    // Beyond the field's range: the largest speed, a course taken round the circle, a
    // position past the pole as "not available".
    m.speed = 250.0;
    m.course = 725.0;
    m.longitude = -200.0;
    m.latitude = 95.0;
    bits = test::payloadBits(encodeClassAPosition(m).armoured);
    EXPECT_EQ(test::bitsValue(bits, 50, 10), 1022);
    EXPECT_EQ(test::bitsValue(bits, 116, 12), 50);
    EXPECT_EQ(test::bitsValue(bits, 61, 28, true), -108600000);
    EXPECT_EQ(test::bitsValue(bits, 89, 27, true), 54600000);
}

TEST(AisMessages, RateOfTurnIndicator) {
    EXPECT_EQ(rateOfTurnIndicator(std::nullopt), -128);
    EXPECT_EQ(rateOfTurnIndicator(0.0), 0);
    EXPECT_EQ(rateOfTurnIndicator(10.0), 15);    // 4.733 * sqrt(10) = 14.97
    EXPECT_EQ(rateOfTurnIndicator(-10.0), -15);
    EXPECT_EQ(rateOfTurnIndicator(708.0), 126);  // the largest rate the indicator carries
    EXPECT_EQ(rateOfTurnIndicator(-5000.0), -126);
}

TEST(AisEncapsulation, SplitsLongPayloadsWithSequentialIdAndFill) {
    AisPayload p;
    p.armoured = std::string(130, '0');
    p.fillBits = 4;
    const auto lines = encapsulate(p, 'B', 7, "AIVDO", 60);
    ASSERT_EQ(lines.size(), 3u);
    const std::size_t lengths[] = {60, 60, 10};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_TRUE(test::checksumValid(lines[i]));
        const auto f = test::fields(lines[i]);
        ASSERT_EQ(f.size(), 7u);
        EXPECT_EQ(f[0], "!AIVDO");
        EXPECT_EQ(f[1], "3");
        EXPECT_EQ(f[2], std::to_string(i + 1));
        EXPECT_EQ(f[3], "7");
        EXPECT_EQ(f[4], "B");
        EXPECT_EQ(f[5].size(), lengths[i]);
        EXPECT_EQ(f[6], i == 2 ? "4" : "0");
    }
    // Exactly one sentence's worth stays a single sentence without an id.
    p.armoured = std::string(60, 'w');
    const auto one = encapsulate(p, 'A', 7);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(test::fields(one[0])[3], "");
}

}  // namespace
}  // namespace tiderune::nmeagen
