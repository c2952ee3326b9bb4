#include "core/parsers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/records.h"

using namespace tiderune;

namespace {

constexpr double kDeg = 0.017453292519944444;

struct Failure {
    std::string type;
    int number;
    std::string sentence;
};

class RecordingErrors : public ParserErrorHandler {
public:
    void parserError(std::string_view type, int number, std::string_view sentence) override {
        failures.push_back({std::string(type), number, std::string(sentence)});
    }
    std::vector<Failure> failures;
};

}  // namespace

TEST(Parsers, GGAFieldsTimeAndMissingValues) {
    GGARecord r;
    RecordingErrors e;
    ExtractGGA("$GPGGA,123519.50,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", r, &e);
    EXPECT_TRUE(e.failures.empty());
    EXPECT_EQ(r.Time, "12:35:19");
    EXPECT_DOUBLE_EQ(r.Latitude, (48 + 7.038 / 60) * kDeg);
    EXPECT_DOUBLE_EQ(r.Longitude, (11 + 31.0 / 60) * kDeg);
    EXPECT_EQ(r.Quality, 1);
    EXPECT_EQ(r.Satellites, 8);
    EXPECT_FLOAT_EQ(r.HDOP, 0.9f);
    EXPECT_FLOAT_EQ(r.Altitude, 545.4f);
    EXPECT_EQ(r.AltitudeUnit, 'M');
    EXPECT_FLOAT_EQ(r.GeoidSeparation, 46.9f);
    EXPECT_EQ(r.GeoidUnit, 'M');
    EXPECT_EQ(r.DGPSAge, MissingValueF);
    EXPECT_EQ(r.StationID, MissingValue);

    // Empty position fields give 0, empty numbers -9999, an empty time "::", empty chars a blank.
    ExtractGGA("$GPGGA,,,,,,,,,,,,,,", r, &e);
    EXPECT_EQ(r.Time, "::");
    EXPECT_EQ(r.Latitude, 0);
    EXPECT_EQ(r.Longitude, 0);
    EXPECT_EQ(r.Quality, MissingValue);
    EXPECT_EQ(r.HDOP, MissingValueF);
    EXPECT_EQ(r.AltitudeUnit, ' ');
    EXPECT_TRUE(e.failures.empty());
}

TEST(Parsers, SurplusFieldsJoinTheLastFieldOrAreIgnored) {
    RecordingErrors e;
    GGARecord gga;
    ExtractGGA("$GPGGA,1,,,,,1,2,3,4,M,5,M,6,0031,X*00", gga, &e);
    EXPECT_EQ(gga.StationID, 31);
    EXPECT_TRUE(e.failures.empty());

    RMCRecord rmc;
    const std::string rmc14 = "$GPRMC,081836,A,3751.65,S,14507.36,E,000.0,360.0,130998,011.3,E,A,V*3C";
    ExtractRMC(rmc14, rmc, &e);
    EXPECT_TRUE(e.failures.empty());  // a later edition's navigational status
    // Fields 1 to 12 are stored, the position last.
    EXPECT_EQ(rmc.Time, "08:18:36");
    EXPECT_EQ(rmc.Status, "A");
    EXPECT_FLOAT_EQ(rmc.CourseTrue, 360);
    EXPECT_EQ(rmc.Date, "130998");
    EXPECT_FLOAT_EQ(rmc.MagneticVariation, 11.3f);
    EXPECT_EQ(rmc.VariationDirection, 'E');
    EXPECT_EQ(rmc.Mode, 'A');
    EXPECT_DOUBLE_EQ(rmc.Latitude, -(37 + 51.65 / 60) * kDeg);
    EXPECT_DOUBLE_EQ(rmc.Longitude, (145 + 7.36 / 60) * kDeg);

    HDTRecord hdt;
    ExtractHDT("$HEHDT,10,T,,", hdt, &e);
    EXPECT_FLOAT_EQ(hdt.Heading, 10);
    GSTRecord gst;
    ExtractGST("$GPGST,1,2,3,4,5,6,7,8,9,10", gst, &e);
    EXPECT_FLOAT_EQ(gst.SdAltitude, 8);
    EXPECT_TRUE(e.failures.empty());
}

TEST(Parsers, FailedFieldKeepsPreviousValueAndLaterFieldsAreStored) {
    RecordingErrors e;
    GGARecord r;
    ExtractGGA("$GPGGA,000001,,,,,1,07,1.0,10.0,M,1.0,M,,", r, &e);
    ExtractGGA("$GPGGA,000002,,,,,2,40000,1e999,20.0,M,2.0,M,3,4", r, &e);
    ASSERT_EQ(e.failures.size(), 2u);
    EXPECT_EQ(e.failures[0].number, 6);
    EXPECT_EQ(e.failures[1].number, 6);
    EXPECT_EQ(r.Time, "00:00:02");
    EXPECT_EQ(r.Quality, 2);
    EXPECT_EQ(r.Satellites, 7);      // kept
    EXPECT_FLOAT_EQ(r.HDOP, 1.0f);   // kept: 1e999 never enters the record
    EXPECT_FLOAT_EQ(r.Altitude, 20);
    EXPECT_FLOAT_EQ(r.DGPSAge, 3);
    EXPECT_EQ(r.StationID, 4);

    // A whole number that rounds beyond its field, a Single beyond its range.
    e.failures.clear();
    ZDARecord z;
    z.Day = 5;
    ExtractZDA("$GPZDA,120000.00,32767.5,12,2024,00,00", z, &e);
    EXPECT_EQ(z.Day, 5);
    EXPECT_EQ(z.Month, 12);
    VTGRecord v;
    v.SpeedKnots = 1;
    ExtractVTG("$GPVTG,1,T,2,M,1e39,N,4,K,A", v, &e);
    EXPECT_EQ(v.SpeedKnots, 1);
    EXPECT_FLOAT_EQ(v.SpeedKmh, 4);
    EXPECT_EQ(e.failures.size(), 2u);
}

TEST(Parsers, FieldOrderOfEveryType) {
    GNSRecord gns;
    ExtractGNS("$GNGNS,010203.00,0100.0,S,00200.0,W,AN,11,1.5,12.5,13.5,14.5,15*00", gns);
    EXPECT_EQ(gns.Time, "01:02:03");
    EXPECT_DOUBLE_EQ(gns.Latitude, -1 * kDeg);
    EXPECT_DOUBLE_EQ(gns.Longitude, -2 * kDeg);
    EXPECT_EQ(gns.ModeIndicator, "AN");
    EXPECT_EQ(gns.Satellites, 11);
    EXPECT_FLOAT_EQ(gns.HDOP, 1.5f);
    EXPECT_FLOAT_EQ(gns.Altitude, 12.5f);
    EXPECT_FLOAT_EQ(gns.GeoidSeparation, 13.5f);
    EXPECT_FLOAT_EQ(gns.DGPSAge, 14.5f);
    EXPECT_EQ(gns.StationID, 15);

    GLLRecord gll;
    ExtractGLL("$GPGLL,4916.45,N,12311.12,W,225444,A,D*1D", gll);
    EXPECT_DOUBLE_EQ(gll.Latitude, (49 + 16.45 / 60) * kDeg);
    EXPECT_DOUBLE_EQ(gll.Longitude, -(123 + 11.12 / 60) * kDeg);
    EXPECT_EQ(gll.Time, "22:54:44");
    EXPECT_EQ(gll.Status, 'A');
    EXPECT_EQ(gll.Mode, 'D');

    VTGRecord vtg;
    ExtractVTG("$GPVTG,1.5,T,2.5,M,3.5,N,4.5,K,D*00", vtg);
    EXPECT_FLOAT_EQ(vtg.CourseTrue, 1.5f);
    EXPECT_FLOAT_EQ(vtg.CourseMagnetic, 2.5f);
    EXPECT_FLOAT_EQ(vtg.SpeedKnots, 3.5f);
    EXPECT_FLOAT_EQ(vtg.SpeedKmh, 4.5f);
    EXPECT_EQ(vtg.Mode, 'D');

    ZDARecord zda;
    ExtractZDA("$GPZDA,160012.71,11,03,2004,-1,00*7D", zda);
    EXPECT_EQ(zda.Time, "160012.71");
    EXPECT_EQ(zda.Day, 11);
    EXPECT_EQ(zda.Month, 3);
    EXPECT_EQ(zda.Year, 2004);
    EXPECT_EQ(zda.ZoneHours, -1);
    EXPECT_EQ(zda.ZoneMinutes, 0);

    GSARecord gsa;
    ExtractGSA("$GPGSA,A,3,01,02,03,04,05,06,07,08,09,10,,12,2.5,1.3,2.1*39", gsa);
    EXPECT_EQ(gsa.Talker, "GP");
    EXPECT_EQ(gsa.SelectionMode, 'A');
    EXPECT_EQ(gsa.FixType, 3);
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(gsa.PRN[i], i);
    EXPECT_EQ(gsa.PRN[11], MissingValue);
    EXPECT_EQ(gsa.PRN[12], 12);
    EXPECT_FLOAT_EQ(gsa.PDOP, 2.5f);
    EXPECT_FLOAT_EQ(gsa.HDOP, 1.3f);
    EXPECT_FLOAT_EQ(gsa.VDOP, 2.1f);
    EXPECT_EQ(gsa.SystemId, MissingValue);
    ExtractGSA("$GNGSA,A,3,04,05,09,11,36,,,,,,,,1.5,1.3,1.0,3*39", gsa);
    EXPECT_EQ(gsa.SystemId, 3);
    EXPECT_FLOAT_EQ(gsa.VDOP, 1.0f);

    GSTRecord gst;
    ExtractGST("$GPGST,024603.00,3.2,6.6,4.7,47.3,5.8,5.6,22.0*58", gst);
    EXPECT_EQ(gst.Time, "024603.00");
    EXPECT_FLOAT_EQ(gst.RMS, 3.2f);
    EXPECT_FLOAT_EQ(gst.SdSemiMajor, 6.6f);
    EXPECT_FLOAT_EQ(gst.SdSemiMinor, 4.7f);
    EXPECT_EQ(gst.Orientation, 47);
    EXPECT_FLOAT_EQ(gst.SdLatitude, 5.8f);
    EXPECT_FLOAT_EQ(gst.SdLongitude, 5.6f);
    EXPECT_FLOAT_EQ(gst.SdAltitude, 22.0f);

    HDTRecord hdt;
    ExtractHDT("$HEHDT,274.07,T*03", hdt);
    EXPECT_FLOAT_EQ(hdt.Heading, 274.07f);

    ATTRecord att;
    ExtractATT("$PFEC,GPatt,123.4,-1.5,2.5,extra,more*00", att);
    EXPECT_FLOAT_EQ(att.Heading, 123.4f);
    EXPECT_FLOAT_EQ(att.Pitch, -1.5f);
    EXPECT_FLOAT_EQ(att.Roll, 2.5f);

    ROTRecord rot;
    ExtractROT("$HEROT,-12.5,A*00", rot);
    EXPECT_FLOAT_EQ(rot.RateOfTurn, -12.5f);
    EXPECT_EQ(rot.Status, 'A');

    VHWRecord vhw;
    ExtractVHW("$VWVHW,10.5,T,11.5,M,5.5,N,10.2,K*00", vhw);
    EXPECT_FLOAT_EQ(vhw.HeadingTrue, 10.5f);
    EXPECT_FLOAT_EQ(vhw.HeadingMagnetic, 11.5f);
    EXPECT_FLOAT_EQ(vhw.SpeedKnots, 5.5f);
    EXPECT_FLOAT_EQ(vhw.SpeedKmh, 10.2f);

    DBTRecord dbt;
    ExtractDBT("$SDDBT,36.1,f,11.0,M,6.0,F*00", dbt);
    EXPECT_FLOAT_EQ(dbt.DepthFeet, 36.1f);
    EXPECT_FLOAT_EQ(dbt.DepthMetres, 11.0f);
    EXPECT_FLOAT_EQ(dbt.DepthFathoms, 6.0f);

    TTMRecord ttm;
    ExtractTTM("$RATTM,07,1.5,45.5,T,12.5,180.5,R,0.5,-3.5,N,SHIP,T,REF,123456,A*00", ttm);
    EXPECT_EQ(ttm.TargetNumber, 7);
    EXPECT_FLOAT_EQ(ttm.Distance, 1.5f);
    EXPECT_FLOAT_EQ(ttm.Bearing, 45.5f);
    EXPECT_EQ(ttm.BearingReference, 'T');
    EXPECT_FLOAT_EQ(ttm.Speed, 12.5f);
    EXPECT_FLOAT_EQ(ttm.Course, 180.5f);
    EXPECT_EQ(ttm.CourseReference, 'R');
    EXPECT_FLOAT_EQ(ttm.CPA, 0.5f);
    EXPECT_FLOAT_EQ(ttm.TCPA, -3.5f);
    EXPECT_EQ(ttm.Units, 'N');
    EXPECT_EQ(ttm.TargetName, "SHIP");
    EXPECT_EQ(ttm.TargetStatus, 'T');
    EXPECT_EQ(ttm.ReferenceTarget, "REF");
}

TEST(Parsers, GSVBlocksAndTheLoneSignalIdentifier) {
    GSVRecord r;
    ExtractGSV("$GPGSV,3,1,11,03,03,111,00,04,15,270,00*74", r);
    EXPECT_EQ(r.SentenceCount, 3);
    EXPECT_EQ(r.SentenceNumber, 1);
    EXPECT_EQ(r.SatellitesInView, 11);
    EXPECT_EQ(r.PRN[1], 3);
    EXPECT_EQ(r.Elevation[1], 3);
    EXPECT_EQ(r.Azimuth[1], 111);
    EXPECT_EQ(r.SNR[1], 0);
    EXPECT_EQ(r.PRN[2], 4);
    EXPECT_EQ(r.Azimuth[2], 270);
    for (int i = 3; i <= 4; ++i) {
        EXPECT_EQ(r.PRN[i], MissingValue);
        EXPECT_EQ(r.Elevation[i], MissingValue);
        EXPECT_EQ(r.Azimuth[i], MissingValue);
        EXPECT_EQ(r.SNR[i], MissingValue);
    }
    ExtractGSV("$GPGSV,1,1,01,07,45,090,40,1*55", r);
    EXPECT_EQ(r.PRN[1], 7);
    EXPECT_EQ(r.PRN[2], MissingValue);
    EXPECT_EQ(r.Elevation[2], MissingValue);
    EXPECT_EQ(r.PRN[3], MissingValue);
    // A real satellite 1 with an elevation stays.
    ExtractGSV("$GPGSV,1,1,01,01,45,090,40*55", r);
    EXPECT_EQ(r.PRN[1], 1);
}

TEST(Parsers, HemispheresAndEmptyPositions) {
    struct Case { const char* lat; const char* hemi; double degrees; };
    for (Case c : {Case{"4807.038", "N", 48 + 7.038 / 60}, {"4807.038", "S", -(48 + 7.038 / 60)},
                   {"4807.038", "s", 48 + 7.038 / 60}, {"4807.038", "", 48 + 7.038 / 60},
                   {"4807.038", "S ", 48 + 7.038 / 60}, {"", "S", -0.0}, {"48", "N", 48}})
        EXPECT_DOUBLE_EQ(LatNMEAtoRad(c.lat, c.hemi), c.degrees * kDeg) << c.lat << c.hemi;
    EXPECT_DOUBLE_EQ(LonNMEAtoRad("01131.000", "W"), -(11 + 31.0 / 60) * kDeg);
    EXPECT_DOUBLE_EQ(LonNMEAtoRad("01131.000", "w"), (11 + 31.0 / 60) * kDeg);
    EXPECT_THROW(LatNMEAtoRad("489e999", "N"), RuntimeError);
}

TEST(Parsers, ErrorMessageText) {
    const Notice n = parserErrorNotice("GGA", 6, "$GPGGA,1*00\r\n");
    EXPECT_EQ(n.text, "Error  6 : Overflow  GGA-message : $GPGGA,1*00\r\n");
    EXPECT_EQ(n.title, "Error ExtractGGA");
    EXPECT_EQ(n.icon, NoticeIcon::None);
    EXPECT_EQ(parserErrorNotice("RMC", 9, "x").text, "Error  9 : Subscript out of range  RMC-message : x");
}

TEST(Checksum, CalcChecksumBodyRules) {
    struct Case { const char* s; const char* expected; };
    const Case cases[] = {
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", "47"},
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", "47"},
        {"!AB", "03"},  // 'A' ^ 'B'
        {"$\n", "0A"},  // a one-digit value gets its leading zero
        {"$", "XX"},    {"$*", "XX"},   {"*", "XX"},  {"", "XX"},
        {"$A*B*C", "41"},  // up to the first "*" only
        {"x*A", "XX"},
    };
    for (const Case& c : cases) EXPECT_EQ(CalcChecksum(c.s), c.expected) << c.s;
}

TEST(Checksum, ChecksumOKRules) {
    const std::string good = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
    // Body whose XOR is 5C: "\" alone.
    struct Case { std::string s; bool ok; };
    const Case cases[] = {
        {good, true},
        {good + "\r\n", true},
        {good + "\r", false},
        {good + "\n", false},
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*48", false},
        {"$ABCD*04", true},
        {"$ABCD*04\r\n", true},
        {"$ABCDE*41", true},
        {"$ABCDE*41x", false},
        {"$ABCDEFGHIJ*0b", false},   // lower case fails
        {"$ABCDEFGHIJ*0B", true},
        {"$AB*0", false},            // fewer than 6 characters
        {"$*XXXX", false},           // nothing to check
        {"$****XX", false},
        {"$AB47", false},            // no "*": everything after "$" including "47"
    };
    for (const Case& c : cases) EXPECT_EQ(ChecksumOK(c.s), c.ok) << c.s;
    EXPECT_EQ(CalcChecksum("$ABCDEFGHIJ"), "0B");
}
