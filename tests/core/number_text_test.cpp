#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "core/records.h"

using namespace tiderune;

namespace {

double readOr(std::string_view s, double fallback = 12345) {
    double v = fallback;
    readNumber(s, v);
    return v;
}

}  // namespace

TEST(NumberReading, LongestLeadingNumber) {
    struct Case { const char* text; double expected; };
    const Case cases[] = {
        {"123.5", 123.5},        {"  -3.75E2", -375},     {"+7", 7},
        {"12,5", 12},            {"1.2.3", 1.2},          {"1 2 3", 123},
        {"\t4\n5", 45},          {"abc", 0},              {"", 0},
        {".5", 0.5},             {"5.", 5},               {"-", 0},
        {"--5", 0},              {"- 5", -5},             {"1e", 1},
        {"1E+", 1},              {"2D3", 2000},           {"2d-3", 0.002},
        {"1e 2", 100},           {"0031,X", 31},          {"4807.038", 4807.038},
        {"000.00012", 0.00012},  {"12\r\n", 12},          {"-0", 0},
        {"&HFF", 255},           {"&hFFFF", -1},          {"&H10000", 65536},
        {"&O17", 15},            {"&Z1", 0},              {"1e-400", 0},
        {"0.1", 0.1},            {"123456789012345678901234567890", 1.2345678901234568e29},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(readOr(c.text), c.expected) << '"' << c.text << '"';
}

TEST(NumberReading, ExactlyRoundedLikeTheLibrary) {
    // The fast path and the long path must agree with a correctly rounded conversion.
    for (const char* s : {"0.1", "3.14159265358979323846", "1.7976931348623157e308",
                          "4.9406564584124654e-324", "9007199254740993", "123456.789e-7",
                          "0.000000000000000000000000000001234"}) {
        EXPECT_EQ(readOr(s), std::strtod(s, nullptr)) << s;
    }
}

TEST(NumberReading, TooLargeIsOverflowAndNeverInfinite) {
    for (const char* s : {"1e999", "1D400", "-1e309", "&H100000000", "99999e99999999999"}) {
        double v = 42;
        EXPECT_FALSE(readNumber(s, v)) << s;
        EXPECT_EQ(v, 42) << s;
    }
    // Text that the C library would read as special values is no number here.
    for (const char* s : {"NaN", "nan", "inf", "Infinity", "-inf"}) EXPECT_EQ(readOr(s), 0) << s;
    // A very long run of digits still reads (and does not overflow below 1e308).
    std::string longDigits(300, '9');
    EXPECT_DOUBLE_EQ(readOr(longDigits), 1e300);
    double big = 0;
    EXPECT_FALSE(readNumber(std::string(400, '9'), big));
}

TEST(NumberReading, ValDecimalTreatsEveryCommaAsPoint) {
    EXPECT_DOUBLE_EQ(ValDecimal("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(ValDecimal("1,234.5"), 1.234);
    EXPECT_DOUBLE_EQ(ValDecimal("  -3,75E2"), -375);
    EXPECT_DOUBLE_EQ(ValDecimal("letters"), 0);
    EXPECT_DOUBLE_EQ(ValDecimal("1e999"), 0);
}

TEST(NumberReading, FieldValueEmptyIsMissingAndOverflowRaisesSix) {
    EXPECT_EQ(FieldValue(""), MissingValueD);
    EXPECT_EQ(FieldValue(" "), 0);
    EXPECT_EQ(FieldValue("12.5*3F"), 12.5);
    try {
        FieldValue("1e999");
        FAIL() << "no overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::Overflow);
    }
}

TEST(WholeNumbers, HalvesGoToEvenAndRangeIsChecked) {
    struct Case { double v; double rounded; };
    for (Case c : {Case{0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {-0.4, -0.0}, {7, 7}})
        EXPECT_EQ(roundHalfEven(c.v), c.rounded) << c.v;

    std::int16_t i = 99;
    EXPECT_TRUE(toInteger(32767.4, i));
    EXPECT_EQ(i, 32767);
    EXPECT_TRUE(toInteger(-32768.5, i));  // rounds to the even -32768
    EXPECT_EQ(i, -32768);
    for (double bad : {32767.5, 40000.0, -32769.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        i = 99;
        EXPECT_FALSE(toInteger(bad, i)) << bad;
        EXPECT_EQ(i, 99);
    }
    std::int32_t l = 5;
    EXPECT_TRUE(toLong(2147483647.0, l));
    EXPECT_EQ(l, 2147483647);
    EXPECT_FALSE(toLong(2147483647.5, l));
    EXPECT_FALSE(toLong(-2147483649.0, l));
    float f = 1;
    EXPECT_TRUE(toSingle(-9999, f));
    EXPECT_EQ(f, MissingValueF);
    EXPECT_FALSE(toSingle(1e39, f));
    EXPECT_EQ(f, MissingValueF);
}

TEST(TextForms, FormatCodes) {
    struct Case { double v; const char* fmt; const char* expected; };
    const Case cases[] = {
        {5, "000.00", "005.00"},  {5, "#0.0", "5.0"},     {0.5, "#.##", ".5"},
        {2.5, "0", "3"},          {-2.5, "0", "-3"},      {0.125, "0.00", "0.13"},
        {2.675, "0.00", "2.68"},  {1234567, "#,##0", "1,234,567"},
        {1.5, "0.0#", "1.5"},     {1.256, "0.0#", "1.26"}, {-0.04, "0.0", "0.0"},
        {7, "00:", "07:"},        {123, "00:", "123:"},   {9.999, "0.00", "10.00"},
        {0.1234, "##0.0 %", "12.3 %"}, {1, "##0.0 %", "100.0 %"}, {-1.5, "#0.00 m", "-1.50 m"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatNumber(c.v, c.fmt), c.expected) << c.v << " " << c.fmt;
    EXPECT_EQ(FormatRight(5, "000.00"), "005.00");
    EXPECT_EQ(FormatRight(5, "#0.0"), " 5.0");
    EXPECT_EQ(FormatRight(std::nan(""), "#0.0"), "    ");
}

// The fixed form of reports: what printf writes, also at ties, signs of zero and the ends of
// the range, for plain and awkward magnitudes alike.
TEST(TextForms, WriteFixedIsPrintf) {
    std::vector<double> values = {0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.125, 0.375, 1.005, 2.675, -1e-7, 1e-300,
                                  999999.9999996, 179.9999995, -90.0000005, 4.35, 0.05, 1e11, 1e12, 3e15,
                                  1.7976931348623157e308, -9999, 9999.5, 181, 91, -3.125e-5};
    std::uint64_t seed = 42;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        const double mantissa = static_cast<double>(seed >> 11) / 9007199254740992.0;
        const int exponent = static_cast<int>((seed >> 3) % 24) - 10;
        values.push_back((seed & 1 ? -1 : 1) * mantissa * std::pow(10.0, exponent));
        values.push_back(std::round(mantissa * 2e6) / 2e6 * 180);  // many near-ties at 6 decimals
    }
    for (double v : values) {
        for (int d = 0; d <= 9; ++d) {
            char expected[400], actual[400];
            std::snprintf(expected, sizeof expected, "%.*f", d, v);
            *writeFixed(actual, v, d) = 0;
            ASSERT_STREQ(actual, expected) << v << " with " << d << " decimals";
        }
    }
}

TEST(TextForms, ClockFromSeconds) {
    EXPECT_EQ(FormatHMS(3725.5, 1), "01:02:05.5");
    EXPECT_EQ(FormatHMS(3725.5, 0), "01:02:06");
    EXPECT_EQ(FormatHMS(3725.5, 5), "01:02:06");
    EXPECT_EQ(FormatHMS(3725.25, 2), "01:02:05.25");
    EXPECT_EQ(FormatHMS(59.96, 1), "00:00:60.0");  // no carry into the minutes
    EXPECT_EQ(FormatHMS(400 * 3600.0, 0), "400:00:00");
}

// Quoted texts of the AIS lines and the replay's records: every byte that could break the
// line or the quotes, or read back two ways, shows as \xNN; what was there is kept.
TEST(TextForms, EscapedTextsAreAppended) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "name="},
        {"NORDIC STAR ~", "name=NORDIC STAR ~"},
        {"A\"B\\C", "name=A\\x22B\\x5CC"},
        {std::string("\0\x1F\x20", 3), "name=\\x00\\x1F "},
        {"\x7E\x7F\x80", "name=~\\x7F\\x80"},
        {"\r\n\t\xFF", "name=\\x0D\\x0A\\x09\\xFF"},
        {"\xC3\xA9t\xE9", "name=\\xC3\\xA9t\\xE9"},
    };
    for (const auto& [in, expected] : cases) {
        std::string out = "name=";
        appendEscaped(out, in);
        EXPECT_EQ(out, expected);
    }
}

TEST(TextForms, StrFormAndNotAvailable) {
    EXPECT_EQ(StrNumber(12.5), " 12.5");
    EXPECT_EQ(StrNumber(-3.0), "-3");
    EXPECT_EQ(StrNumber(0.9), " 0.9");
    EXPECT_EQ(StrNumber(0.1f), " 0.1");
    EXPECT_EQ(StrNumber(1e20), " 1E+20");
    EXPECT_EQ(StrNumber(7), " 7");
    EXPECT_EQ(StrNumber(-7), "-7");
    EXPECT_EQ(ValueOrNA(MissingValue), "n/a");
    EXPECT_EQ(ValueOrNA(MissingValueF), "n/a");
    EXPECT_EQ(ValueOrNA(12.5f), " 12.5");
    EXPECT_EQ(FormatOrNA(-9999, "0.0"), "n/a");
    EXPECT_EQ(FormatOrNA(1.25, "0.0"), "1.3");
}

TEST(SmallHelpers, UpdateMaxMin) {
    float mx = 100, mn = -100;
    UpdateMaxMin(5.0f, mx, mn, 0);
    EXPECT_EQ(mx, 5);
    EXPECT_EQ(mn, 5);
    UpdateMaxMin(7.0f, mx, mn, 1);
    UpdateMaxMin(-2.0f, mx, mn, 2);
    EXPECT_EQ(mx, 7);
    EXPECT_EQ(mn, -2);
}

TEST(SmallHelpers, SortIntArrayTreatsZeroAsEmpty) {
    struct Case { std::vector<std::int16_t> in; int n; std::vector<std::int16_t> out; };
    const Case cases[] = {
        {{5, 0, 3, 0}, 4, {3, 5, 32767, 32767}},
        {{0, 4, 2}, 3, {0, 2, 4}},
        {{9}, 1, {9}},
        {{9, 1, 5}, 2, {1, 9, 5}},
        {{-3, 7, -8}, 3, {-8, -3, 7}},
    };
    for (Case c : cases) {
        SortIntArray(std::span<std::int16_t>(c.in), c.n);
        EXPECT_EQ(c.in, c.out);
    }
    std::vector<std::int16_t> two{2, 1};
    EXPECT_THROW(SortIntArray(std::span<std::int16_t>(two), 3), RuntimeError);
}

TEST(SmallHelpers, PickByMagnitudeTiesGiveSecond) {
    EXPECT_EQ(PickByMagnitude(-1, 2, true), -1);
    EXPECT_EQ(PickByMagnitude(-3, 2, true), 2);
    EXPECT_EQ(PickByMagnitude(-3, 2, false), -3);
    EXPECT_EQ(PickByMagnitude(-2, 2, true), 2);
    EXPECT_EQ(PickByMagnitude(2, -2, false), -2);
}
