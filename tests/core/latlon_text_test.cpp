#include "core/latlon_text.h"

#include <gtest/gtest.h>

#include "test_support.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using namespace tiderune;
using tiderune::test_support::NoticeLog;

namespace {

// Readable expectations: "°" stands for the screen degree sign, "ø" for code 248.
std::string latin1(std::string s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 2, "\xC2\xB0") == 0) {
            out += '\xB0';
            ++i;
        } else if (s.compare(i, 2, "\xC3\xB8") == 0) {
            out += '\xF8';
            ++i;
        } else if (s.compare(i, 2, "\xC3\x98") == 0) {
            out += '\xD8';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

struct FormatCase {
    const char* what;
    std::string (*format)(double, std::string_view, std::string_view, int);
    double value;
    const char* kind;
    const char* target;
    int decimals;
    const char* expected;
};

TEST(LatLonFormat, Table) {
    const FormatCase cases[] = {
        {"DM latitude", FormatLatLonDM, 52.50833333333, "LAT", "Form", 2, "52° 30.50' N"},
        {"DM carry at 60", FormatLatLonDM, 59.99999, "LAT", "Form", 2, "60° 00.00' N"},
        {"DM no carry below", FormatLatLonDM, 59.99991, "LAT", "Form", 2, "59° 59.99' N"},
        {"DM carry 0 decimals", FormatLatLonDM, 10 + 59.5 / 60, "LAT", "Form", 0, "11° 00' N"},
        {"DM 0 decimals", FormatLatLonDM, 10 + 59.4 / 60, "LAT", "Form", 0, "10° 59' N"},
        {"DM 1 decimal", FormatLatLonDM, 1.5, "LAT", "Form", 1, "01° 30.0' N"},
        {"DM 3 decimals", FormatLatLonDM, 1.5, "LAT", "Form", 3, "01° 30.000' N"},
        {"DM 4 decimals", FormatLatLonDM, 1.5, "LAT", "Form", 4, "01° 30.0000' N"},
        {"DM 5 decimals", FormatLatLonDM, 1.5, "LAT", "Form", 5, "01° 30.00000' N"},
        {"DM odd decimals", FormatLatLonDM, 1.5, "LAT", "Form", 9, "01° 30.000000' N"},
        {"DM negative decimals", FormatLatLonDM, 1.5, "LAT", "Form", -1, "01° 30.000000' N"},
        {"DM south", FormatLatLonDM, -33.25, "LAT", "Form", 2, "33° 15.00' S"},
        {"DM west, file", FormatLatLonDM, -10.5, "LON", "FILE", 0, "010ø 30' W"},
        {"DM east, file lower case", FormatLatLonDM, 5.25, "lon", "file", 1, "005ø 15.0' E"},
        {"DM other kind loses the sign", FormatLatLonDM, -10.5, "BRG", "Form", 1, "010° 30.0'"},
        {"DM zero", FormatLatLonDM, 0.0, "LAT", "Form", 4, "00° 00.0000' N"},
        {"DM 180", FormatLatLonDM, 180.0, "LON", "Form", 2, "180° 00.00' E"},
        {"DMS east", FormatLatLonDMS, 10.5, "LON", "Form", 1, "010° 30' 00.0\" E"},
        {"DMS west", FormatLatLonDMS, -10.5, "LON", "Form", 1, "010° 30' 00.0\" W"},
        {"DMS other kind keeps the sign", FormatLatLonDMS, -10.5, "X", "Form", 1,
         "-010° 30' 00.0\""},
        {"DMS file", FormatLatLonDMS, 52.50416666667, "LAT", "FILE", 2, "52ø 30' 15.00\" N"},
        {"DMS seconds carry into degrees", FormatLatLonDMS, 10 + 59.0 / 60 + 59.96 / 3600,
         "LON", "Form", 1, "011° 00' 00.0\" E"},
        {"DMS seconds carry into minutes", FormatLatLonDMS, 10 + 5.0 / 60 + 59.6 / 3600, "LAT",
         "Form", 0, "10° 06' 00\" N"},
        {"DMS 3 decimals", FormatLatLonDMS, 0.5 + 1.25 / 3600, "LAT", "Form", 3,
         "00° 30' 01.250\" N"},
        {"DMS 5 decimals show 4", FormatLatLonDMS, 0.5 + 1.25 / 3600, "LAT", "Form", 5,
         "00° 30' 01.2500\" N"},
        {"DMS 5 decimals carry as shown", FormatLatLonDMS, 1 + 59.99996 / 3600, "LAT", "Form",
         5, "01° 01' 00.0000\" N"},
        {"compact latitude", FormatDMSCompact, 52.50416666667, "LAT", "FORM", 4,
         "52°30'15.0000\"N"},
        {"compact 5 decimals show 4", FormatDMSCompact, 52.50416666667, "LAT", "FORM", 5,
         "52°30'15.0000\"N"},
        {"compact south, file", FormatDMSCompact, -52.50416666667, "LAT", "File", 0,
         "52ø30'15\"S"},
        {"compact west", FormatDMSCompact, -4.25, "LON", "FORM", 1, "004°15'00.0\"W"},
        {"compact other kind east", FormatDMSCompact, 4.25, "BRG", "FORM", 2, "004°15'00.00\"E"},
        {"compact carry", FormatDMSCompact, 1 + 59.0 / 60 + 59.9999 / 3600, "LAT", "FORM", 2,
         "02°00'00.00\"N"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.format(c.value, c.kind, c.target, c.decimals), latin1(c.expected)) << c.what;
}

TEST(LatLonFormat, NonFiniteValuesDoNotCrash) {
    EXPECT_FALSE(FormatLatLonDM(std::numeric_limits<double>::quiet_NaN(), "LAT", "", 2).empty());
    EXPECT_FALSE(FormatLatLonDMS(std::numeric_limits<double>::infinity(), "LON", "", 2).empty());
    EXPECT_FALSE(FormatDMSCompact(1e300, "LON", "", 2).empty());
}

struct ParseCase {
    const char* text;
    const char* kind;
    double value;
    const char* rewritten;               // nullptr: left as typed
    std::vector<std::string> messages;   // notice texts, in order
};

TEST(ParseLatLonDMS, Table) {
    const ParseCase cases[] = {
        {"52 30 15 S", "LAT", -(52 + 30 / 60.0 + 15 / 3600.0), "52°30'15.0000\"S", {}},
        {"  52 30 15  ", "lat", 52 + 30 / 60.0 + 15 / 3600.0, "52°30'15.0000\"N", {}},
        {"-10 20 30", "LON", -(10 + 20 / 60.0 + 30 / 3600.0), "010°20'30.0000\"W", {}},
        {"- 10 20 30", "LAT", -(10 + 20 / 60.0 + 30 / 3600.0), "10°20'30.0000\"S", {}},
        {"10 20 30,5 Ø", "LON", 10 + 20 / 60.0 + 30.5 / 3600.0, "010°20'30.5000\"E", {}},
        {"10 20 30 v", "LON", -(10 + 20 / 60.0 + 30 / 3600.0), "010°20'30.0000\"W", {}},
        {"52ø 30' 15.00\" N", "LAT", 52 + 30 / 60.0 + 15 / 3600.0, "52°30'15.0000\"N", {}},
        {"52°30'15.0000\"S", "LAT", -(52 + 30 / 60.0 + 15 / 3600.0), "52°30'15.0000\"S", {}},
        {"52S", "LAT", -52.0, "52°00'00.0000\"S", {}},
        {"52ø", "LAT", 52.0, "52°00'00.0000\"N", {}},
        // Only code 248 ends the degrees; a last screen degree sign is a hemisphere text.
        {"52°", "LAT", 52.0, "52°00'00.0000\"N", {"LATITUDE FORMAT ERROR. Default, N, used"}},
        {"10°", "LON", 10.0, "010°00'00.0000\"E", {"LONGITUDE FORMAT ERROR. Default, E, used"}},
        {"", "LAT", 0.0, "00°00'00.0000\"N", {}},
        {"95 0 0 N", "LAT", 90.0, "90°00'00.0000\"N", {"LATITUDE FORMAT ERROR. Max 90 deg allowed"}},
        {"181 0 0 E", "LON", 180.0, "180°00'00.0000\"E",
         {"LONGITUDE FORMAT ERROR. Max 180 deg allowed"}},
        {"52 30 15 NORTH", "LAT", 52 + 30 / 60.0 + 15 / 3600.0, "52°30'15.0000\"N",
         {"NORTH!   LATITUDE CHARACTER FORMAT ERROR. Default, N, used"}},
        {"-10 0 0 WEST", "LON", -10.0, "010°00'00.0000\"W",
         {"WEST!   LONGITUDE CHARACTER FORMAT ERROR. Default, E, used"}},
        {"10 20 60", "LAT", 10 + 21 / 60.0, "10°21'00.0000\"N",
         {"LATITUDE SECOND FORMAT ERROR. Max 59.9999 allowed"}},
        {"10 59 60", "LAT", 11.0, "11°00'00.0000\"N",
         {"LATITUDE SECOND FORMAT ERROR. Max 59.9999 allowed",
          "LATITUDE MINUTE FORMAT ERROR. Max 59 allowed"}},
        {"10 20 30 X", "LON", 10 + 20 / 60.0 + 30 / 3600.0, "010°20'30.0000\"E",
         {"LONGITUDE FORMAT ERROR. Default, E, used"}},
        {"10 20 30 E", "LAT", 10 + 20 / 60.0 + 30 / 3600.0, "10°20'30.0000\"N",
         {"LATITUDE FORMAT ERROR. Default, N, used"}},
        {"99999 0 0", "LAT", 0.0, nullptr, {"LATITUDE FORMAT ERROR. "}},
        {"1 99999 0", "LON", 0.0, nullptr, {"LONGITUDE FORMAT ERROR. "}},
    };
    for (const auto& c : cases) {
        NoticeLog log;
        const std::string typed = latin1(c.text);
        std::string text = typed;
        EXPECT_NEAR(ParseLatLonDMS(text, c.kind, log), c.value, 1e-12) << c.text;
        EXPECT_EQ(text, c.rewritten ? latin1(c.rewritten) : typed) << c.text;
        ASSERT_EQ(log.seen.size(), c.messages.size()) << c.text;
        for (std::size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(log.seen[i].text, c.messages[i]) << c.text;
            EXPECT_EQ(log.seen[i].icon, NoticeIcon::None) << c.text;
            EXPECT_EQ(log.seen[i].title, "") << c.text;
        }
    }
}

TEST(ParseLatLonDM, Table) {
    struct DmCase {
        ParseCase c;
        int decimals;
        std::vector<bool> illegalInput;  // per message: title "Illegal input", exclamation
    };
    const DmCase cases[] = {
        {{"-10 30,5", "LON", -(10 + 30.5 / 60), "010° 30.500' W", {}}, 3, {}},
        {{"52 30.5'", "LAT", 52 + 30.5 / 60, "52° 30.50' N", {}}, 2, {}},
        {{"52ø 30.50' S", "LAT", -(52 + 30.5 / 60), "52° 30.50' S", {}}, 2, {}},
        {{"52° 30.50' N", "lat", 52 + 30.5 / 60, "52° 30.50' N", {}}, 2, {}},
        {{"5 15 Ø", "LON", 5.25, "005° 15.0' E", {}}, 1, {}},
        {{"5 15 V", "LON", -5.25, "005° 15.0' W", {}}, 1, {}},
        {{"52ø", "LAT", 52.0, "52° 00.00' N", {}}, 2, {}},
        {{"52°", "LAT", 52.0, "52° 00.00' N", {"LATITUDE FORMAT ERROR. Default, N, used"}},
         2,
         {false}},
        {{"30°", "BRG", 30.0, "030° 00.0'", {}}, 1, {}},
        {{"-30", "BRG", 330.0, "330° 00.0'",
          {"AZIMUTH FORMAT ERROR. Negative values not allowed. Automatic adjustment to range "
           "0-360 deg"}},
         1,
         {true}},
        {{"-400", "BRG", 320.0, "320° 00.0'",
          {"AZIMUTH FORMAT ERROR. Negative values not allowed. Automatic adjustment to range "
           "0-360 deg"}},
         1,
         {true}},
        {{"725 30", "BRG", 5.5, "005° 30.0'",
          {"AZIMUTH FORMAT ERROR. Max value 360 deg. Automatic adjustment to range 0-360 deg"}},
         1,
         {true}},
        {{"15 W", "BRG", 345.0, "345° 00.0'",
          {"AZIMUTH FORMAT ERROR. Negative values not allowed. Automatic adjustment to range "
           "0-360 deg"}},
         1,
         {true}},
        {{"1799 599", "BRG", 0.0, "000° 00'",
          {"AZIMUTH FORMAT ERROR. Max value 360 deg. Automatic adjustment to range 0-360 deg",
           "AZIMUTH MINUTE FORMAT ERROR. Max 60 allowed"}},
         0,
         {true, false}},
        {{"359 59.99", "BRG", 0.0, "000° 00.0'", {}}, 1, {}},
        {{"15 W", "AZIMUTH", 15.0, "015° 00.0'", {}}, 1, {}},
        {{"91", "LAT", 90.0, "90° 00.00' N", {"LATITUDE FORMAT ERROR. Max 90 deg allowed"}},
         2,
         {true}},
        {{"180 0.1", "LON", 180.0, "180° 00.00' E",
          {"LONGITUDE FORMAT ERROR. Max 180 deg allowed"}},
         2,
         {true}},
        {{"10 60", "LAT", 11.0, "11° 00.00' N", {"LATITUDE MINUTE FORMAT ERROR. Max 60 allowed"}},
         2,
         {false}},
        {{"10 30 NORTH", "LAT", 10.5, "10° 30.00' N",
          {"NORTH!   LATITUDE CHARACTER FORMAT ERROR. Default, N, used"}},
         2,
         {true}},
        {{"10 30 Q", "LON", 10.5, "010° 30.00' E", {"LONGITUDE FORMAT ERROR. Default, E, used"}},
         2,
         {false}},
        {{"99999 0", "LON", 0.0, nullptr, {"LONGITUDE FORMAT ERROR. "}}, 2, {true}},
    };
    for (const auto& d : cases) {
        const ParseCase& c = d.c;
        NoticeLog log;
        const std::string typed = latin1(c.text);
        std::string text = typed;
        EXPECT_NEAR(ParseLatLonDM(text, c.kind, d.decimals, log), c.value, 1e-12) << c.text;
        EXPECT_EQ(text, c.rewritten ? latin1(c.rewritten) : typed) << c.text;
        ASSERT_EQ(log.seen.size(), c.messages.size()) << c.text;
        for (std::size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(log.seen[i].text, c.messages[i]) << c.text;
            EXPECT_EQ(log.seen[i].title, d.illegalInput[i] ? "Illegal input" : "") << c.text;
            EXPECT_EQ(log.seen[i].icon,
                      d.illegalInput[i] ? NoticeIcon::Exclamation : NoticeIcon::None)
                << c.text;
        }
    }
}

// A bearing's rewritten text reads back, without a message, to the value it came with.
TEST(ParseLatLonDM, RewrittenBearingsReadBackAsShown) {
    for (const char* typed : {"15 W", "200 S", "1799 599", "359 59.99", "-30", "725 30", "359 60", "-0 30"}) {
        for (int d : {0, 1, 3}) {
            NullNoticeSink quiet;
            std::string text = typed;
            const double value = ParseLatLonDM(text, "BRG", d, quiet);
            EXPECT_GE(value, 0) << typed;
            EXPECT_LT(value, 360) << typed;
            NoticeLog log;
            std::string again = text;
            EXPECT_NEAR(ParseLatLonDM(again, "BRG", d, log), value, 0.51 * std::pow(10.0, -d) / 60) << typed;
            EXPECT_EQ(again, text) << typed;
            EXPECT_TRUE(log.seen.empty()) << typed << " -> " << text;
        }
    }
}

TEST(LatLonText, FormattedTextsReadBackToTheSameValue) {
    for (double v : {0.0, 52.50833333, -33.87, 89.999, -179.5, 7.000001}) {
        for (int d = 0; d <= 5; ++d) {
            NullNoticeSink quiet;
            std::string dm = FormatLatLonDM(v, "LON", "Form", d);
            EXPECT_NEAR(ParseLatLonDM(dm, "LON", d, quiet), v, 0.51 * std::pow(10.0, -d) / 60)
                << v << " " << d;
            std::string dms = FormatLatLonDMS(v, "LON", "File", d);
            EXPECT_NEAR(ParseLatLonDMS(dms, "LON", quiet), v,
                        0.51 * std::pow(10.0, -std::min(d, 4)) / 3600)
                << v << " " << d;
        }
    }
}

}  // namespace
