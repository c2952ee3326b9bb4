#include "nmeagen/sentences.h"

#include <gtest/gtest.h>

#include "line_check.h"

namespace tiderune::nmeagen {
namespace {

const double T = 1781510400.0 + 3723.5;  // 2026-06-15 09:02:03.50 UTC

// Every builder's sentence has a valid checksum, is recognised as its type, and has exactly
// the number of fields the program's reader splits it into (surplus fields would be joined to
// the last one or rejected).
TEST(Sentences, FieldCountsTypesAndChecksums) {
    GgaData gga{T, 48.1173, 11.5166667, 2, 8, 0.9, 545.4, 46.9, 3.2, 31};
    GnsData gns{T, -33.5, -70.25, "DDAN", 14, 0.8, 12.0, 20.5, std::nullopt, std::nullopt};
    GllData gll{T, 59.9, 10.7, 'A', 'D'};
    RmcData rmc{T, 'A', 59.9, 10.7, 0.02, 123.4, -2.5, 'D'};
    VtgData vtg{123.4, 125.9, 0.02, 'D'};
    GsaData gsa{'A', 3, {2, 5, 12, 25, 29, 31}, 1.6, 0.9, 1.3, std::nullopt};
    GstData gst{T, 1.2, 0.9, 0.6, 45.0, 0.8, 0.7, 1.5};
    TtmData ttm;
    ttm.targetNumber = 3;
    ttm.distance = 1.25;
    ttm.bearing = 45.0;
    ttm.speed = 12.0;
    ttm.course = 270.0;
    ttm.cpa = 0.4;
    ttm.tcpa = -3.5;
    ttm.name = "TGT03";
    ttm.time = T;
    struct Case {
        std::string sentence;
        const char* type;
        std::size_t fields;
    } cases[] = {
        {buildGGA("GP", gga), "GGA", 15},
        {buildGNS("GN", gns), "GNS", 13},
        {buildGLL("GP", gll), "GLL", 8},
        {buildRMC("GN", rmc), "RMC", 13},
        {buildVTG("GP", vtg), "VTG", 10},
        {buildZDA("GP", {T, 0, 0}), "ZDA", 7},
        {buildGSA("GN", gsa), "GSA", 18},
        {buildGST("GP", gst), "GST", 9},
        {buildGSVGroup("GL", {{65, 12, 45, 33}})[0], "GSV", 8},
        {buildHDT("HE", 123.45), "HDT", 3},
        {buildATT({T, 123.45, -1.2, 3.4}), "ATT", 6},
        {buildROT("HE", -12.3), "ROT", 3},
        {buildVHW("VW", {123.4, 125.9, 1.5}), "VHW", 9},
        {buildDBT("SD", 12.3), "DBT", 7},
        {buildTTM("RA", ttm), "TTM", 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sentence);
        EXPECT_TRUE(test::checksumValid(c.sentence));
        EXPECT_EQ(test::recognisedType(c.sentence), c.type);
        EXPECT_EQ(test::fields(c.sentence).size(), c.fields);
    }
}

TEST(Sentences, FieldOrderOfPositionSentences) {
    const auto gga = test::fields(buildGGA("GP", {T, 48.1173, 11.5166667, 2, 8, 0.9, 545.4, 46.9, 3.2, 31}));
    EXPECT_EQ(gga, (std::vector<std::string>{"$GPGGA", "090203.50", "4807.03800", "N", "01131.00000", "E", "2", "08",
                                             "0.90", "545.40", "M", "46.90", "M", "3.2", "0031"}));
    const auto rmc = test::fields(buildRMC("GN", {T, 'A', -59.9, -10.7, 0.02, 123.4, -2.5, 'D'}));
    EXPECT_EQ(rmc, (std::vector<std::string>{"$GNRMC", "090203.50", "A", "5954.00000", "S", "01042.00000", "W", "0.020",
                                             "123.40", "150626", "2.5", "W", "D"}));
    const auto gll = test::fields(buildGLL("GP", {T, 59.9, 10.7, 'A', 'D'}));
    EXPECT_EQ(gll, (std::vector<std::string>{"$GPGLL", "5954.00000", "N", "01042.00000", "E", "090203.50", "A", "D"}));
    const auto zda = test::fields(buildZDA("GP", {T, 0, 0}));
    EXPECT_EQ(zda, (std::vector<std::string>{"$GPZDA", "090203.50", "15", "06", "2026", "00", "00"}));
}

TEST(Sentences, NoFixLeavesPositionEmpty) {
    GgaData gga{T, 48.0, 11.0, 0, 0, std::nullopt, 545.4, 46.9, std::nullopt, std::nullopt};
    const auto f = test::fields(buildGGA("GP", gga));
    EXPECT_EQ(f[2], "");
    EXPECT_EQ(f[4], "");
    EXPECT_EQ(f[6], "0");
    EXPECT_EQ(f[9], "");
    EXPECT_EQ(f[10], "");
    const auto rmc = test::fields(buildRMC("GP", {T, 'V', 48.0, 11.0, 1.0, 2.0, std::nullopt, 'N'}));
    EXPECT_EQ(rmc[2], "V");
    EXPECT_EQ(rmc[3], "");
    EXPECT_EQ(rmc[7], "");
    const auto gns = test::fields(buildGNS("GN", {T, 48.0, 11.0, "NN", 0, std::nullopt, 1.0, 2.0, std::nullopt, std::nullopt}));
    EXPECT_EQ(gns[2], "");
    EXPECT_EQ(gns[6], "NN");
}

TEST(Sentences, AttitudeTagStandsAtCharacterNine) {
    const std::string s = buildATT({T, 5.0, 0.5, -0.25});
    EXPECT_EQ(s.substr(8, 3), "att");
    EXPECT_EQ(test::fields(s), (std::vector<std::string>{"$PADHRS", "att", "5.00", "0.50", "-0.25", "090203.50"}));
}

TEST(Sentences, GsvGroupsFourSatellitesPerSentence) {
    std::vector<SatelliteView> sats;
    for (int i = 1; i <= 9; ++i)
        sats.push_back({i, 10 * i, 40 * i, i == 9 ? OptInt{} : OptInt{30 + i}});
    const auto group = buildGSVGroup("GP", sats);
    ASSERT_EQ(group.size(), 3u);
    const auto first = test::fields(group[0]);
    EXPECT_EQ(first.size(), 20u);
    EXPECT_EQ(first[1], "3");
    EXPECT_EQ(first[2], "1");
    EXPECT_EQ(first[3], "09");
    EXPECT_EQ(first[4], "01");
    EXPECT_EQ(first[5], "10");
    EXPECT_EQ(first[6], "040");
    EXPECT_EQ(first[7], "31");
    const auto last = test::fields(group[2]);
    EXPECT_EQ(last, (std::vector<std::string>{"$GPGSV", "3", "3", "09", "09", "90", "360", ""}));

    // A constellation with no satellite in view still reports itself.
    const auto none = buildGSVGroup("GA", {});
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(test::fields(none[0]), (std::vector<std::string>{"$GAGSV", "1", "1", "00"}));

    // Newer receivers add a signal identifier after the last block.
    const auto withSignal = test::fields(buildGSVGroup("GP", {{5, 20, 100, 40}}, 1)[0]);
    EXPECT_EQ(withSignal.back(), "1");
    EXPECT_EQ(withSignal.size(), 9u);
}

TEST(Sentences, GsaWritesTwelveSlots) {
    GsaData d;
    for (int i = 1; i <= 14; ++i)
        d.prns.push_back(i);
    d.pdop = 1.5;
    const auto f = test::fields(buildGSA("GN", d));
    ASSERT_EQ(f.size(), 18u);
    EXPECT_EQ(f[3], "01");
    EXPECT_EQ(f[14], "12");
    EXPECT_EQ(f[15], "1.50");
    d.systemId = 3;
    EXPECT_EQ(test::fields(buildGSA("GN", d)).size(), 19u);
}

TEST(Sentences, UnitConversions) {
    const auto dbt = test::fields(buildDBT("SD", 10.0));
    EXPECT_EQ(dbt, (std::vector<std::string>{"$SDDBT", "32.8", "f", "10.0", "M", "5.5", "F"}));
    const auto vhw = test::fields(buildVHW("VW", {10.0, 12.0, 5.0}));
    EXPECT_EQ(vhw, (std::vector<std::string>{"$VWVHW", "10.0", "T", "12.0", "M", "5.00", "N", "9.26", "K"}));
    const auto vtg = test::fields(buildVTG("GP", {10.0, std::nullopt, 10.0, 'A'}));
    EXPECT_EQ(vtg, (std::vector<std::string>{"$GPVTG", "10.00", "T", "", "M", "10.000", "N", "18.520", "K", "A"}));
}

}  // namespace
}  // namespace tiderune::nmeagen
