#include "nmeagen/nmea_text.h"

#include <gtest/gtest.h>

#include <limits>

#include "line_check.h"

namespace tiderune::nmeagen {
namespace {

TEST(NmeaText, ChecksumMatchesWellKnownSentences) {
    // Published examples of receivers' output, checksums as the receivers sent them.
    EXPECT_EQ(withChecksum("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
              "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47");
    EXPECT_EQ(withChecksum("!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0"),
              "!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A");
    EXPECT_EQ(hexByte(0x0A), "0A");
    EXPECT_EQ(hexByte(0xF0), "F0");
    // A body whose bytes cancel out still has a two-digit sum.
    EXPECT_EQ(withChecksum("$AA"), "$AA*00");
}

TEST(NmeaText, TagBlockChecksumCoversItsFieldsOnly) {
    const std::string tb = tagBlock("s:STN01,c:1781510400");
    ASSERT_EQ(tb.front(), '\\');
    ASSERT_EQ(tb.back(), '\\');
    EXPECT_TRUE(test::checksumValid("x" + tb.substr(1, tb.size() - 2)));
    EXPECT_EQ(test::withoutTagBlock(tb + "$HEHDT,1.0,T*2F"), "$HEHDT,1.0,T*2F");
}

TEST(NmeaText, BrokenChecksumStaysWellFormed) {
    const std::string good = withChecksum("$HEHDT,12.50,T");
    const std::string bad = breakChecksum(good);
    EXPECT_NE(bad, good);
    EXPECT_EQ(bad.size(), good.size());
    EXPECT_EQ(bad.substr(0, bad.size() - 1), good.substr(0, good.size() - 1));
    EXPECT_FALSE(test::checksumValid(bad));
}

TEST(NmeaText, FixedNotation) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {12.345, 1, "12.3"}, {0.5, 0, "0"}, {-0.004, 2, "0.00"}, {-0.0, 1, "0.0"},
        {-3.25, 2, "-3.25"}, {1e-9, 3, "0.000"}, {359.996, 2, "360.00"}, {7, 0, "7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fixed(c.value, c.decimals), c.text) << c.value;
    EXPECT_EQ(zeroPadded(7, 2), "07");
    EXPECT_EQ(zeroPadded(-7, 3), "-007");
    EXPECT_EQ(zeroPadded(12345, 2), "12345");
}

TEST(NmeaText, LatitudeAndLongitudeFields) {
    struct Case {
        double degrees;
        bool isLatitude;
        int decimals;
        const char* value;
        const char* hemisphere;
    } cases[] = {
        {48.1173, true, 3, "4807.038", "N"},
        {11.516666666666667, false, 3, "01131.000", "E"},
        {-33.5, true, 4, "3330.0000", "S"},
        {-0.25, false, 2, "00015.00", "W"},
        // Minutes that round up to 60 carry into the degrees.
        {59.99999999, true, 5, "6000.00000", "N"},
        {-179.99999999, false, 4, "18000.0000", "W"},
        // A value that rounds to zero has no southern hemisphere.
        {-0.0000000001, true, 4, "0000.0000", "N"},
    };
    for (const auto& c : cases) {
        const AngleField f = c.isLatitude ? latitudeField(c.degrees, c.decimals) : longitudeField(c.degrees, c.decimals);
        EXPECT_EQ(f.value, c.value) << c.degrees;
        EXPECT_EQ(f.hemisphere, c.hemisphere) << c.degrees;
    }
}

TEST(NmeaText, TimesAndDates) {
    const double t = 1781510400.0;  // 2026-06-15 08:00:00 UTC
    EXPECT_EQ(daysFromCivil(2026, 6, 15) * 86400 + 8 * 3600, static_cast<long long>(t));
    EXPECT_EQ(daysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(daysFromCivil(2000, 3, 1), 11017);
    EXPECT_EQ(timeField(t, 2), "080000.00");
    EXPECT_EQ(timeField(t + 5.25, 2), "080005.25");
    EXPECT_EQ(timeField(t + 59.996, 2), "080100.00");
    EXPECT_EQ(timeField(t + 3599.5, 0), "090000");
    EXPECT_EQ(dateField(t), "150626");
    // The last second of a leap day rolls over into March.
    const double leap = static_cast<double>(daysFromCivil(2028, 2, 29) * 86400);
    EXPECT_EQ(dateField(leap + 86399), "290228");
    EXPECT_EQ(dateField(leap + 86400), "010328");
    const UtcDateTime u = utcFromUnix(leap + 86399.5);
    EXPECT_EQ(u.hour, 23);
    EXPECT_EQ(u.minute, 59);
    EXPECT_DOUBLE_EQ(u.second, 59.5);
}

TEST(NmeaText, WriterLeavesAbsentFieldsEmpty) {
    SentenceWriter w('$', "GPXXX");
    w.number(std::nullopt, 2).integer(std::optional<long long>{}).latitude(std::nullopt, 4).text("A").empty(2);
    EXPECT_EQ(w.body(), "$GPXXX,,,,,A,,");
    EXPECT_TRUE(test::checksumValid(w.finish()));
    // A reading that is no number is no reading.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    SentenceWriter v('$', "GPXXX");
    v.number(nan, 2).number(std::numeric_limits<double>::infinity(), 1).longitude(nan, 4).number(1e300, 1);
    EXPECT_EQ(v.body().substr(0, 12), "$GPXXX,,,,,1");
    EXPECT_EQ(v.body().size(), 11u + 301u + 2u);  // 1e300 has 301 digits
    EXPECT_TRUE(test::checksumValid(w.finish()));
}

}  // namespace
}  // namespace tiderune::nmeagen
