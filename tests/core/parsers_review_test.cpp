// Field counts of every parser at their boundary, number conversions through real sentences,
// and checksums of texts that have no body.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/parsers.h"
#include "core/records.h"

using namespace tiderune;

namespace {

class CountingErrors : public ParserErrorHandler {
public:
    void parserError(std::string_view, int number, std::string_view) override { numbers.push_back(number); }
    std::vector<int> numbers;
};

// One parser: how many fields it expects, whether surplus fields join the last one, whether
// it reports, and how to read the record field that its last field fills.
struct ParserShape {
    const char* address;
    int fields;           // N, address included
    bool joinsSurplus;    // R = N - 1
    bool reports;
    std::function<void(std::string_view, NMEAMessageSet&, ParserErrorHandler*)> extract;
    std::function<double(const NMEAMessageSet&)> lastField;  // nullptr: the last field is not stored
};

std::vector<ParserShape> shapes() {
    using M = NMEAMessageSet;
    return {
        {"$GPGGA", 15, true, true, [](auto s, M& m, auto e) { ExtractGGA(s, m.GGA, e); },
         [](const M& m) { return double(m.GGA.StationID); }},
        {"$GNGNS", 13, true, true, [](auto s, M& m, auto e) { ExtractGNS(s, m.GNS, e); },
         [](const M& m) { return double(m.GNS.StationID); }},
        {"$GPGLL", 8, true, true, [](auto s, M& m, auto e) { ExtractGLL(s, m.GLL, e); },
         [](const M& m) { return double(m.GLL.Mode - '0'); }},
        {"$GPRMC", 13, false, true, [](auto s, M& m, auto e) { ExtractRMC(s, m.RMC, e); },
         [](const M& m) { return double(m.RMC.Mode - '0'); }},
        {"$GPVTG", 10, false, true, [](auto s, M& m, auto e) { ExtractVTG(s, m.VTG, e); },
         [](const M& m) { return double(m.VTG.Mode - '0'); }},
        {"$GPZDA", 7, true, true, [](auto s, M& m, auto e) { ExtractZDA(s, m.ZDA, e); },
         [](const M& m) { return double(m.ZDA.ZoneMinutes); }},
        {"$GPGSA", 18, false, false, [](auto s, M& m, auto e) { ExtractGSA(s, m.GSA, e); },
         [](const M& m) { return double(m.GSA.VDOP); }},
        {"$GPGST", 9, false, false, [](auto s, M& m, auto e) { ExtractGST(s, m.GST, e); },
         [](const M& m) { return double(m.GST.SdAltitude); }},
        {"$GPGSV", 20, false, false, [](auto s, M& m, auto e) { ExtractGSV(s, m.GSV, e); },
         [](const M& m) { return double(m.GSV.SNR[4]); }},
        {"$HEHDT", 4, false, true, [](auto s, M& m, auto e) { ExtractHDT(s, m.HDT, e); }, nullptr},
        {"$PFATT", 6, true, true, [](auto s, M& m, auto e) { ExtractATT(s, m.ATT, e); }, nullptr},
        {"$TIROT", 4, false, true, [](auto s, M& m, auto e) { ExtractROT(s, m.ROT, e); }, nullptr},
        {"$VWVHW", 9, false, true, [](auto s, M& m, auto e) { ExtractVHW(s, m.VHW, e); }, nullptr},
        {"$SDDBT", 7, false, true, [](auto s, M& m, auto e) { ExtractDBT(s, m.DBT, e); }, nullptr},
        {"$RATTM", 16, false, true, [](auto s, M& m, auto e) { ExtractTTM(s, m.TTM, e); }, nullptr},
    };
}

// The address followed by `count` fields "1", "2", ... and a checksum tail.
std::string sentence(const char* address, int count) {
    std::string s = address;
    for (int i = 1; i <= count; ++i) s += "," + std::to_string(i % 10);
    return s + "*00";
}

}  // namespace

TEST(ParserShapes, AllFieldsPresentIsNoFailureAndMoreAreJoinedOrIgnored) {
    for (const ParserShape& p : shapes()) {
        SCOPED_TRACE(p.address);
        const int last = p.fields - 1;
        {
            NMEAMessageSet m;
            CountingErrors e;
            p.extract(sentence(p.address, last), m, &e);
            EXPECT_TRUE(e.numbers.empty());
            if (p.lastField) {
                EXPECT_EQ(p.lastField(m), last % 10);
            }
        }
        {
            // One field more (a later NMEA edition): joined to the last field and read up to
            // its comma, or ignored; never a failure.
            NMEAMessageSet m;
            CountingErrors e;
            p.extract(sentence(p.address, last + 1), m, &e);
            EXPECT_EQ(e.numbers, std::vector<int>{});
            if (p.lastField) {
                EXPECT_EQ(p.lastField(m), last % 10);
            }
        }
        {
            // Far too many fields: still no failure.
            NMEAMessageSet m;
            CountingErrors e;
            p.extract(sentence(p.address, last + 30), m, &e);
            EXPECT_EQ(e.numbers, std::vector<int>{});
            if (p.lastField) {
                EXPECT_EQ(p.lastField(m), last % 10);
            }
        }
    }
}

TEST(NumberFields, ConversionsIntoIntegerLongAndSingle) {
    struct Case {
        const char* field;
        bool fails;
        double expected;  // after the call; the previous value was 77
    };
    // Integer field (ZDA Day).
    for (Case c : {Case{"2.5", false, 2}, {"3.5", false, 4}, {"-2.5", false, -2}, {"-0.5", false, 0},
                   {"32767.4", false, 32767}, {"32767.5", true, 77}, {"-32768.5", false, -32768},
                   {"-32769", true, 77}, {"", false, -9999}, {" ", false, 0}, {"1e5", true, 77},
                   {"1e999", true, 77}, {"&HFFFF", false, -1}, {"12;5", false, 12}}) {
        ZDARecord r;
        r.Day = 77;
        CountingErrors e;
        ExtractZDA(std::string("$GPZDA,1,") + c.field + ",1,2000,0,0", r, &e);
        EXPECT_EQ(!e.numbers.empty(), c.fails) << c.field;
        EXPECT_EQ(e.numbers, c.fails ? std::vector<int>{6} : std::vector<int>{}) << c.field;
        EXPECT_EQ(r.Day, c.expected) << c.field;
        EXPECT_EQ(r.Month, 1) << c.field;  // the field after a failing one is still stored
    }
    // Long field (GGA StationID, the last field).
    for (Case c : {Case{"2147483646.5", false, 2147483646}, {"2147483647.5", true, 77},
                   {"-2147483648.5", false, -2147483648.0}, {"-2147483649", true, 77}}) {
        GGARecord r;
        r.StationID = 77;
        CountingErrors e;
        ExtractGGA(std::string("$GPGGA,,,,,,,,,,,,,,") + c.field, r, &e);
        EXPECT_EQ(!e.numbers.empty(), c.fails) << c.field;
        EXPECT_EQ(r.StationID, c.expected) << c.field;
    }
    // Single field (HDT Heading).
    for (Case c : {Case{"3.4e38", false, 3.4e38f}, {"3.5e38", true, 77}, {"-3.5e38", true, 77},
                   {"1e-50", false, 0}, {"1D2", false, 100}, {"NaN", false, 0}, {"inf", false, 0}}) {
        HDTRecord r;
        r.Heading = 77;
        CountingErrors e;
        ExtractHDT(std::string("$HEHDT,") + c.field + ",T", r, &e);
        EXPECT_EQ(!e.numbers.empty(), c.fails) << c.field;
        EXPECT_EQ(r.Heading, static_cast<float>(c.expected)) << c.field;
    }
}

TEST(NumberFields, PositionFailureKeepsTheOldPositionOnly) {
    RMCRecord r;
    CountingErrors e;
    ExtractRMC("$GPRMC,010203,A,4807.038,N,01131.000,E,1,2,010199,3,E,A", r, &e);
    const double lat = r.Latitude;
    ExtractRMC("$GPRMC,040506,V,481e999,S,01000.000,W,4,5,020299,6,W,N", r, &e);
    EXPECT_EQ(e.numbers, std::vector<int>{6});
    EXPECT_EQ(r.Latitude, lat);
    EXPECT_LT(r.Longitude, 0);
    EXPECT_EQ(r.Time, "04:05:06");
    EXPECT_EQ(r.Date, "020299");
    EXPECT_EQ(r.Mode, 'N');
}

TEST(Checksum, TextsWithoutABody) {
    struct Case {
        const char* text;
        const char* checksum;
    };
    // The body lies between the first character and the first "*" of the whole text.
    for (Case c : {Case{"*ABC", "XX"}, {"*A*B", "XX"}, {"**", "XX"}, {"$*ABC", "XX"}, {"$A*", "41"},
                   {"!*", "XX"}, {"A", "XX"}, {"xA", "41"}}) {
        EXPECT_EQ(CalcChecksum(c.text), c.checksum) << c.text;
    }
    // A text starting with "*" is never good, even when what follows would agree.
    const std::string body = "GPHDT,274.07,T";
    std::string star = "*" + body + "*";
    star += CalcChecksum("$" + body);
    EXPECT_FALSE(ChecksumOK(star));
    EXPECT_TRUE(ChecksumOK("$" + star.substr(1)));
}
