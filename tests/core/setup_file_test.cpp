#include "core/setup_file.h"

#include <gtest/gtest.h>

#include "test_support.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <unistd.h>

#include "core/setup_file_format.h"

using namespace tiderune;
using tiderune::test_support::NoticeLog;
using tiderune::test_support::slurp;
namespace fs = std::filesystem;

namespace {

// What a first start writes: the tables as the program begins, with the defaults in place.
Config defaultConfig() {
    Config c;
    LoadDefaultSetup(c);
    return c;
}

// Every value the file keeps set to something other than its start value.
Config populatedConfig() {
    Config c;
    c.Mode = "OFFLINE";
    const char* kinds[] = {"GPS/GLONASS", "Gyro", "AIS", "ARPA Radar"};
    for (int s = 1; s <= 4; ++s) {
        SystemSetup& sys = c.Systems[s];
        sys.Name = "Sensor " + std::to_string(s) + (s == 2 ? " \xF8stre m\xE5ler" : "");
        sys.Kind = kinds[s - 1];
        sys.ComPort = static_cast<std::int16_t>(s == 4 ? 16 : s * 3);
        sys.InUse = s != 3;
        sys.OfflineFile = s == 1 ? "/data/rec, day 1.nmea" : "";
        sys.UseTCP = s == 2;
        sys.TCPHost = "192.168.1." + std::to_string(10 + s);
        sys.TCPPort = 10110 + s;
        sys.UseUDP = s == 3;
        sys.UDPPort = 2000 + s;
        c.ChecksumTest[s] = s % 2 == 1;
        c.EmptyBuffer[s] = s == 2;
        c.SetTimeFromPC[s] = s >= 3;
        c.NoDGPSChart[s] = s == 4;
        c.ReferenceMode[s] = static_cast<std::int16_t>((s - 1) % 3);
        c.ReferenceName[s] = "Pier " + std::to_string(s);
        c.ReferenceLat[s] = (s % 2 ? 1 : -1) * (0.9162978572970230 + s * 1e-9);
        c.ReferenceLon[s] = (s < 3 ? 1 : -1) * (0.0872664625997165 * s);
        c.ReferenceHeight[s] = 42.125f * s - 100.0f;
        c.ReferenceHeading[s] = 359.99f / s;
        c.ReferencePitch[s] = -1.5f * s;
        c.ReferenceRoll[s] = 0.003f * s;
        c.WindowVisible[s][VisibleForms::Numerics] = true;
        c.WindowVisible[s][VisibleForms::Statistics] = s != 2;
        c.WindowVisible[s][VisibleForms::Skyplot] = s == 1;
        c.WindowVisible[s][VisibleForms::ARPATargets] = s == 4;
        c.WindowVisible[s][VisibleForms::AISTargets] = s == 3;
        c.WindowVisible[s][VisibleForms::SNRStatistics] = s <= 2;
    }
    const char* types[] = {"GGA", "GNS", "GLL", "RMC", "VTG", "GSA", "GSV", "ZDA", "HDT", "ATT"};
    for (int s = 1; s <= 4; ++s)
        for (int slot = 1; slot <= 10 - 2 * (s - 1); ++slot)
            c.MessagesToAnalyse[s][slot] = types[(slot - 1 + s) % 10];
    for (int p = 1; p <= 16; ++p) {
        ComportSetting& port = c.Comports[p];
        port.AssignedSystem = static_cast<std::int16_t>(p % 5);
        port.Baud = p % 2 ? 4800 : 115200;
        port.DataBits = static_cast<std::int16_t>(p % 3 ? 8 : 7);
        port.Parity = p % 3 == 0 ? "even" : p % 3 == 1 ? "none" : "odd";
        port.StopBits = static_cast<std::int16_t>(p % 4 ? 1 : 2);
    }
    c.IPListCount = 10;
    for (int i = 0; i < 10; ++i) c.IPList[i] = "10.0.0." + std::to_string(i + 1);
    c.ElevationMask = 15;
    c.BaseDataFlag = -1;
    c.SessionInfo = "Sea trial, 8 December\r\nVessel: Tern\r\nOperator: \xC5se";
    for (int k = 1; k <= 5; ++k) {
        c.SNRSeriesCount[k] = static_cast<std::int16_t>(k * 2);
        c.SNRSeriesColumns[k] = static_cast<std::int16_t>(1 + k % 3);
        for (int prn = 1; prn <= 32; ++prn) c.SNRSeriesVisible[k][prn] = (prn + k) % 5 == 0;
    }
    c.LatLonFormatDMS = true;
    c.LatLonDecimals = 3;
    return c;
}

// Compares everything the file keeps.
void expectSameStored(const Config& a, const Config& b) {
    EXPECT_EQ(a.Mode, b.Mode);
    for (int s = 1; s <= 4; ++s) {
        SCOPED_TRACE("system " + std::to_string(s));
        const SystemSetup &x = a.Systems[s], &y = b.Systems[s];
        EXPECT_EQ(x.Name, y.Name);
        EXPECT_EQ(x.Kind, y.Kind);
        EXPECT_EQ(x.ComPort, y.ComPort);
        EXPECT_EQ(x.InUse, y.InUse);
        EXPECT_EQ(x.OfflineFile, y.OfflineFile);
        EXPECT_EQ(x.UseTCP, y.UseTCP);
        EXPECT_EQ(x.TCPHost, y.TCPHost);
        EXPECT_EQ(x.TCPPort, y.TCPPort);
        EXPECT_EQ(x.UseUDP, y.UseUDP);
        EXPECT_EQ(x.UDPPort, y.UDPPort);
        EXPECT_EQ(a.ChecksumTest[s], b.ChecksumTest[s]);
        EXPECT_EQ(a.EmptyBuffer[s], b.EmptyBuffer[s]);
        EXPECT_EQ(a.SetTimeFromPC[s], b.SetTimeFromPC[s]);
        EXPECT_EQ(a.NoDGPSChart[s], b.NoDGPSChart[s]);
        EXPECT_EQ(a.ReferenceMode[s], b.ReferenceMode[s]);
        EXPECT_EQ(a.ReferenceName[s], b.ReferenceName[s]);
        EXPECT_NEAR(a.ReferenceLat[s], b.ReferenceLat[s], 1e-15);
        EXPECT_NEAR(a.ReferenceLon[s], b.ReferenceLon[s], 1e-15);
        EXPECT_FLOAT_EQ(a.ReferenceHeight[s], b.ReferenceHeight[s]);
        EXPECT_FLOAT_EQ(a.ReferenceHeading[s], b.ReferenceHeading[s]);
        EXPECT_FLOAT_EQ(a.ReferencePitch[s], b.ReferencePitch[s]);
        EXPECT_FLOAT_EQ(a.ReferenceRoll[s], b.ReferenceRoll[s]);
        for (int word : {0, 2, 3, 6, 169, 170})
            EXPECT_EQ(a.WindowVisible[s][word], b.WindowVisible[s][word]) << "word " << word;
        for (int slot = 1; slot <= 10; ++slot)
            EXPECT_EQ(a.MessagesToAnalyse[s][slot], b.MessagesToAnalyse[s][slot]);
    }
    for (int p = 1; p <= 16; ++p) {
        SCOPED_TRACE("port " + std::to_string(p));
        EXPECT_EQ(a.Comports[p].AssignedSystem, b.Comports[p].AssignedSystem);
        EXPECT_EQ(a.Comports[p].Baud, b.Comports[p].Baud);
        EXPECT_EQ(a.Comports[p].DataBits, b.Comports[p].DataBits);
        EXPECT_EQ(a.Comports[p].Parity, b.Comports[p].Parity);
        EXPECT_EQ(a.Comports[p].StopBits, b.Comports[p].StopBits);
    }
    EXPECT_EQ(a.IPListCount, b.IPListCount);
    for (int i = 0; i < a.IPListCount && i < 10; ++i) EXPECT_EQ(a.IPList[i], b.IPList[i]);
    EXPECT_EQ(a.ElevationMask, b.ElevationMask);
    EXPECT_EQ(a.BaseDataFlag, b.BaseDataFlag);
    EXPECT_EQ(a.SessionInfo, b.SessionInfo);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(a.SNRSeriesCount[k], b.SNRSeriesCount[k]);
        EXPECT_EQ(a.SNRSeriesColumns[k], b.SNRSeriesColumns[k]);
        for (int prn = 1; prn <= 32; ++prn)
            EXPECT_EQ(a.SNRSeriesVisible[k][prn], b.SNRSeriesVisible[k][prn]);
    }
    EXPECT_EQ(a.LatLonFormatDMS, b.LatLonFormatDMS);
    EXPECT_EQ(a.LatLonDecimals, b.LatLonDecimals);
}

class SetupFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tiderune_setup_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / SetupFileName).string();
    }
    void TearDown() override { fs::remove_all(dir); }

    void write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

    fs::path dir;
    std::string path;
    NoticeLog notices;
};

// ---- golden files -------------------------------------------------------------------------

void expectGolden(const std::string& actual, const std::string& name) {
    const fs::path golden = fs::path(TIDERUNE_SOURCE_DIR) / "tests/golden/setup" / name;
    const std::string expected = slurp(golden);
    if (actual != expected) {
        std::ofstream(name + ".actual", std::ios::binary) << actual;
        ADD_FAILURE() << golden << " differs; the written file is in " << fs::current_path()
                      << "/" << name << ".actual";
    }
}

TEST_F(SetupFile, DefaultSetupMatchesGoldenFile) {
    SaveSetupFile(defaultConfig(), path);
    expectGolden(slurp(path), "default.ini");
}

TEST_F(SetupFile, PopulatedSetupMatchesGoldenFile) {
    Config c = populatedConfig();
    c.WindowVisible[1][VisibleForms::NMEAMonitor] = true;  // written as closed all the same
    SaveSetupFile(c, path);
    expectGolden(slurp(path), "populated.ini");
}

// ---- round trips --------------------------------------------------------------------------

TEST_F(SetupFile, RoundTripReproducesEveryStoredValue) {
    const Config original = populatedConfig();
    SaveSetupFile(original, path);
    Config loaded;
    EXPECT_TRUE(LoadSetupFile(loaded, path, notices));
    EXPECT_TRUE(notices.seen.empty());
    expectSameStored(original, loaded);
    // And the file it writes again is the same file.
    EXPECT_EQ(SetupFileText(loaded), SetupFileText(original));
}

TEST_F(SetupFile, SavingLeavesAnOpenMonitorFlagSet) {
    Config c = populatedConfig();
    c.WindowVisible[2][VisibleForms::NMEAMonitor] = true;
    c.WindowVisible[2][VisibleForms::GGATimeSeries] = true;
    SaveSetupFile(c, path);
    EXPECT_TRUE(c.WindowVisible[2][VisibleForms::NMEAMonitor]);

    Config loaded;
    loaded.WindowVisible[2][VisibleForms::NMEAMonitor] = true;
    LoadSetupFile(loaded, path, notices);
    EXPECT_FALSE(loaded.WindowVisible[2][VisibleForms::NMEAMonitor]);
    EXPECT_FALSE(loaded.WindowVisible[2][VisibleForms::GGATimeSeries]);  // not kept

    // A file written by hand with the monitor flag set loads it as closed too, and the other
    // words of the line keep their places.
    std::string text = slurp(path);
    const std::string header = "\"REM Visibleform\"\r\n";
    const std::size_t line = text.find(header) + header.size();
    const std::size_t sixth = text.rfind(',', text.find("\r\n", line)) + 1;
    ASSERT_EQ(text.substr(sixth, 7), "#FALSE#");
    text.replace(sixth, 7, "#TRUE#");
    std::ofstream(path, std::ios::binary) << text;
    Config byHand;
    EXPECT_TRUE(LoadSetupFile(byHand, path, notices));
    EXPECT_FALSE(byHand.WindowVisible[1][VisibleForms::NMEAMonitor]);
    expectSameStored(c, byHand);
}

TEST_F(SetupFile, QuotesAndLineBreaksInTextsDoNotShiftTheValues) {
    Config c = populatedConfig();
    c.Systems[1].Name = "the \"big\" one";
    c.Systems[1].Kind = "AIS";
    c.SessionInfo = "line one\r\n\"quoted\", line two\r\n";
    SaveSetupFile(c, path);

    Config loaded;
    LoadSetupFile(loaded, path, notices);
    EXPECT_TRUE(notices.seen.empty());
    EXPECT_EQ(loaded.Systems[1].Name, "the 'big' one");
    EXPECT_EQ(loaded.Systems[1].Kind, "AIS");
    EXPECT_EQ(loaded.Systems[1].ComPort, c.Systems[1].ComPort);
    EXPECT_EQ(loaded.SessionInfo, "line one\r\n'quoted', line two\r\n");
    EXPECT_EQ(loaded.Systems[4].UDPPort, c.Systems[4].UDPPort);
    EXPECT_EQ(loaded.LatLonDecimals, c.LatLonDecimals);
}

// ---- missing, damaged and partial files -----------------------------------------------------

TEST_F(SetupFile, MissingFileLoadsDefaults) {
    Config c = populatedConfig();
    EXPECT_FALSE(LoadSetupFile(c, (dir / "none.ini").string(), notices));
    ASSERT_EQ(notices.seen.size(), 1u);
    EXPECT_EQ(notices.seen[0].text, "Setup file do not exist. Default data loaded");
    EXPECT_EQ(notices.seen[0].icon, NoticeIcon::Information);
    EXPECT_EQ(notices.seen[0].title, "");
    EXPECT_EQ(c.Mode, "ONLINE");
    EXPECT_FALSE(c.Systems[1].InUse);
    EXPECT_EQ(c.Systems[2].TCPHost, "127.0.0.1");
    EXPECT_TRUE(c.Systems[3].UseUDP);  // the defaults leave the UDP source alone
}

TEST_F(SetupFile, FileCutInsideTheComportsKeepsWhatWasReadAndLoadsDefaults) {
    const std::string full = SetupFileText(populatedConfig());
    // Cut after port 3's line.
    std::size_t at = full.find("\"REM Comports\"\r\n");
    for (int line = 0; line < 4; ++line) at = full.find("\r\n", at) + 2;
    write(full.substr(0, at));

    Config c;
    c.Comports[5].Baud = 9600;
    c.Systems[1].UDPPort = 77;
    EXPECT_FALSE(LoadSetupFile(c, path, notices));
    ASSERT_EQ(notices.seen.size(), 1u);
    EXPECT_EQ(notices.seen[0].text,
              "Input past end of file - Error in Setup file. Default data loaded\n\n"
              "The file as it was is kept as " + path + ".bak");
    EXPECT_EQ(notices.seen[0].icon, NoticeIcon::Exclamation);
    EXPECT_EQ(slurp(path + ".bak"), full.substr(0, at));
    EXPECT_EQ(c.Comports[3].Baud, 4800);   // read before the cut
    EXPECT_EQ(c.Comports[2].Baud, 115200);
    EXPECT_EQ(c.Comports[5].Baud, 9600);   // after the cut: as before
    EXPECT_EQ(c.Systems[1].Name, "");      // reset by the defaults
    EXPECT_FALSE(c.Systems[1].InUse);
    EXPECT_EQ(c.Mode, "ONLINE");
    EXPECT_EQ(c.Systems[1].UDPPort, 77);
}

// A file that ends or breaks between values that belong together leaves them as they were:
// an SNR series count is never stored without its 1-3 columns, an address count never
// without its addresses.
TEST_F(SetupFile, DamageBetweenValuesThatBelongTogetherLeavesThemAsTheyWere) {
    struct Case {
        const char* what;
        std::string tail;  // after the header line
        const char* header;
    } cases[] = {
        {"count, then the end", "5\r\n", "REM Visible SNR Timeseries"},
        {"count, then a text", "5,abc\r\n", "REM Visible SNR Timeseries"},
        {"one address of three", "3\r\n\"10.0.0.1\"\r\n", "REM IP List"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        write("\"REM Mode\"\r\n\"OFFLINE\"\r\n\"" + std::string(c.header) + "\"\r\n" + c.tail);
        for (bool populated : {false, true}) {
            Config cfg = populated ? populatedConfig() : defaultConfig();
            const Config before = cfg;
            notices.seen.clear();
            EXPECT_FALSE(LoadSetupFile(cfg, path, notices));
            EXPECT_EQ(notices.seen.size(), 1u);
            for (int k = 1; k <= 5; ++k) {
                EXPECT_EQ(cfg.SNRSeriesCount[k], before.SNRSeriesCount[k]);
                EXPECT_EQ(cfg.SNRSeriesColumns[k], before.SNRSeriesColumns[k]);
            }
            EXPECT_EQ(cfg.IPListCount, before.IPListCount);
            for (int i = 0; i < 10; ++i) EXPECT_EQ(cfg.IPList[i], before.IPList[i]);
        }
    }
}

TEST_F(SetupFile, SectionsMissingOrUnknownOrTwiceOrMiscased) {
    Config before = populatedConfig();
    std::string text = SetupFileText(before);
    // An older file without the UDP and lat/lon sections.
    text = text.substr(0, text.find("\"REM UDP\""));
    // An unknown section between two known ones, a second Mode section, and a header in
    // the wrong case, which is not recognised.
    const std::size_t tcp = text.find("\"REM TCP/IP\"");
    text.insert(tcp, "\"REM Future\"\r\n1,2,3\r\n\"words\",#TRUE#\r\n");
    text += "\"REM Mode\"\r\n\"ONLINE\"\r\n\"REM MOde\"\r\n\"OFFLINE\"\r\n";
    write(text);

    Config c;
    c.Systems[2].UseUDP = true;
    c.Systems[2].UDPPort = 5555;
    c.LatLonDecimals = 2;
    EXPECT_TRUE(LoadSetupFile(c, path, notices));
    EXPECT_TRUE(notices.seen.empty());
    EXPECT_EQ(c.Mode, "ONLINE");
    EXPECT_TRUE(c.Systems[2].UseUDP);
    EXPECT_EQ(c.Systems[2].UDPPort, 5555);
    EXPECT_EQ(c.LatLonDecimals, 2);
    EXPECT_FALSE(c.LatLonFormatDMS);
    EXPECT_EQ(c.Systems[2].TCPHost, before.Systems[2].TCPHost);
    EXPECT_EQ(c.SNRSeriesCount[5], before.SNRSeriesCount[5]);
}

TEST_F(SetupFile, OnlyAFileWithASectionLineIsASetupFile) {
    struct Case {
        std::string bytes;
        bool setup;
    };
    const Case cases[] = {
        {SetupFileText(defaultConfig()), true},
        {"\"REM LatLon Format\"\r\n#TRUE#,3\r\n", true},  // one section is enough
        {"$GPGGA,120000,5200.0000,N,00400.0000,E,1,08,0.9,10.0,M,46.9,M,,*4B\r\n", false},
        {std::string("\x7f" "ELF\x02\x01\x01\0\0\"REM", 13), false},
        {"", false},
        {"\"REM Unknown\"\r\n\"unclosed", false},
    };
    for (const Case& c : cases) {
        write(c.bytes);
        std::string error = "x";
        EXPECT_EQ(HoldsSetupSection(path, &error), c.setup) << c.bytes;
        EXPECT_EQ(error, "");
    }
    std::string error;
    EXPECT_FALSE(HoldsSetupSection((dir / "none.ini").string(), &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(SetupFile, EmptyIPListIsFollowedDirectlyByTheNextHeader) {
    Config before = populatedConfig();
    before.IPListCount = 0;
    const std::string text = SetupFileText(before);
    EXPECT_NE(text.find("\"REM IP List\"\r\n0\r\n\"REM Base data\"\r\n"), std::string::npos);
    write(text);
    Config c;
    c.IPListCount = 3;
    LoadSetupFile(c, path, notices);
    EXPECT_EQ(c.IPListCount, 0);
    EXPECT_EQ(c.ElevationMask, 15);
}

// A file as an older version of the program wrote it: numbers without a leading zero and
// in exponent form, Booleans as numbers, items spread over lines, bare line feeds.
TEST_F(SetupFile, ReadsOlderStyleFiles) {
    write("\"REM Mode\"\n\"OFFLINE\"\n"
          "\"REM Reference positions & heading\"\n"
          "2,\"Quay\",.5,-.5,1E-05,\n359.5\n"
          "0,\"\",0,0,0,0\n1,\"x\",-1.25E-2,3,4,5\n2,\"y\",6,7,8,9\n"
          "\"REM Reference pitch & roll\"\n-.25,.125\n0,0\n0,0\n0,0\n"
          "\"REM Checksum Test\"\n-1,0,#TRUE#,#FALSE#\n"
          "\"REM Session info\"\n\"two\nlines\"\n"
          "\"REM LatLon Format\"\n#TRUE#,2\n");
    Config c;
    EXPECT_TRUE(LoadSetupFile(c, path, notices));
    EXPECT_TRUE(notices.seen.empty());
    EXPECT_EQ(c.Mode, "OFFLINE");
    EXPECT_EQ(c.ReferenceMode[1], 2);
    EXPECT_EQ(c.ReferenceName[1], "Quay");
    EXPECT_DOUBLE_EQ(c.ReferenceLat[1], 0.5);
    EXPECT_DOUBLE_EQ(c.ReferenceLon[1], -0.5);
    EXPECT_FLOAT_EQ(c.ReferenceHeight[1], 1e-5f);
    EXPECT_FLOAT_EQ(c.ReferenceHeading[1], 359.5f);
    EXPECT_DOUBLE_EQ(c.ReferenceLat[3], -0.0125);
    EXPECT_FLOAT_EQ(c.ReferencePitch[1], -0.25f);
    EXPECT_FLOAT_EQ(c.ReferenceRoll[1], 0.125f);
    EXPECT_TRUE(c.ChecksumTest[1]);
    EXPECT_FALSE(c.ChecksumTest[2]);
    EXPECT_TRUE(c.ChecksumTest[3]);
    EXPECT_EQ(c.SessionInfo, "two\nlines");
    EXPECT_TRUE(c.LatLonFormatDMS);
    EXPECT_EQ(c.LatLonDecimals, 2);
}

// ---- hostile values -----------------------------------------------------------------------

// Replaces the first item of the line `lineAfterHeader` lines below `header` (1 = the first
// value line) by `item`.
std::string withItem(std::string text, const std::string& header, int lineAfterHeader,
                     int itemIndex, const std::string& item) {
    std::size_t at = text.find("\"" + header + "\"\r\n");
    for (int i = 0; i < lineAfterHeader; ++i) at = text.find("\r\n", at) + 2;
    for (int i = 0; i < itemIndex; ++i) at = text.find(',', at) + 1;
    std::size_t end = at;
    while (text[end] != ',' && text[end] != '\r') ++end;
    return text.replace(at, end - at, item);
}

TEST_F(SetupFile, HostileValuesNeverReachATable) {
    struct Case {
        const char* what;
        const char* header;
        int line;
        int item;
        const char* value;
        const char* error;                    // nullptr: loads, clamped
        std::function<bool(const Config&)> check;
    };
    const Case cases[] = {
        {"assigned system 5", "REM Comports", 2, 0, "5", "Subscript out of range",
         [](const Config& c) { return c.Comports[2].AssignedSystem == 0; }},
        {"assigned system -1", "REM Comports, extended to 16", 1, 0, "-1",
         "Subscript out of range",
         [](const Config& c) { return c.Comports[11].AssignedSystem == 0; }},
        {"COM port 17", "REM Systems", 3, 2, "17", "Subscript out of range",
         [](const Config& c) { return c.Systems[3].ComPort == 0; }},
        {"COM port -2", "REM Systems", 1, 2, "-2", "Subscript out of range",
         [](const Config& c) { return c.Systems[1].ComPort == 0; }},
        {"reference option 3", "REM Reference positions & heading", 2, 0, "3",
         "Subscript out of range", [](const Config& c) { return c.ReferenceMode[2] == 0; }},
        {"IP count 11", "REM IP List", 1, 0, "11", "Subscript out of range",
         [](const Config& c) { return c.IPListCount == 10; }},
        {"IP count -1", "REM IP List", 1, 0, "-1", "Subscript out of range",
         [](const Config& c) { return c.IPListCount == 0; }},
        {"Integer beyond its range", "REM Systems", 2, 2, "40000", "Overflow",
         [](const Config& c) { return c.Systems[2].ComPort == 0; }},
        {"Long beyond its range", "REM TCP/IP", 1, 2, "4294967296", "Overflow",
         [](const Config& c) { return c.Systems[1].TCPPort == 8040; }},
        {"text for a number", "REM Base data", 1, 0, "\"deep\"", "Type mismatch",
         [](const Config& c) { return c.ElevationMask == 0; }},
        {"elevation mask 90", "REM Base data", 1, 0, "90", nullptr,
         [](const Config& c) { return c.ElevationMask == 89; }},
        {"elevation mask -5", "REM Base data", 1, 0, "-5", nullptr,
         [](const Config& c) { return c.ElevationMask == 0; }},
        {"lat/lon decimals 9", "REM LatLon Format", 1, 1, "9", nullptr,
         [](const Config& c) { return c.LatLonDecimals == 5; }},
        {"lat/lon decimals -3", "REM LatLon Format", 1, 1, "-3", nullptr,
         [](const Config& c) { return c.LatLonDecimals == 0; }},
        {"SNR columns 0 with series shown", "REM Visible SNR Timeseries", 1, 1, "0", nullptr,
         [](const Config& c) { return c.SNRSeriesColumns[1] == 1; }},
        {"SNR columns 7", "REM Visible SNR Timeseries", 34, 1, "7", nullptr,
         [](const Config& c) { return c.SNRSeriesColumns[2] == 3; }},
        {"SNR count 40", "REM Visible SNR Timeseries", 67, 0, "40", nullptr,
         [](const Config& c) { return c.SNRSeriesCount[3] == 32; }},
        {"SNR count -1 becomes 0", "REM Visible SNR Timeseries", 1, 0, "-1",
         nullptr,
         [](const Config& c) { return c.SNRSeriesCount[1] == 0 && c.SNRSeriesColumns[1] == 2; }},
    };
    for (const auto& hc : cases) {
        SCOPED_TRACE(hc.what);
        write(withItem(SetupFileText(populatedConfig()), hc.header, hc.line, hc.item, hc.value));
        Config c;
        notices.seen.clear();
        fs::remove(path + ".bak");
        EXPECT_EQ(LoadSetupFile(c, path, notices).clean, hc.error == nullptr);
        if (hc.error) {
            ASSERT_EQ(notices.seen.size(), 1u);
            EXPECT_EQ(notices.seen[0].text,
                      std::string(hc.error) + " - Error in Setup file. Default data loaded\n\n" +
                          "The file as it was is kept as " + path + ".bak");
            EXPECT_EQ(c.Mode, "ONLINE");
        } else {
            EXPECT_TRUE(notices.seen.empty());
            EXPECT_EQ(c.Mode, "OFFLINE");
        }
        EXPECT_TRUE(hc.check(c));
    }
}

// Damaged copies of a full file (bytes changed, dropped, doubled, cut short) load or fail
// cleanly, and whatever they load keeps every table index within its table.
TEST_F(SetupFile, MangledFilesKeepIndexesInRange) {
    const std::string good = SetupFileText(populatedConfig());
    std::uint32_t seed = 12345;
    auto random = [&](std::uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    const char alphabet[] = "0123456789-.,E\"#\r\n AZ\xF8";
    for (int round = 0; round < 400; ++round) {
        std::string text = good;
        const int edits = 1 + static_cast<int>(random(6));
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const std::size_t at = random(static_cast<std::uint32_t>(text.size()));
            switch (random(4)) {
            case 0: text[at] = alphabet[random(sizeof alphabet - 1)]; break;
            case 1: text.erase(at, 1 + random(20)); break;
            case 2: text.insert(at, text.substr(at, random(40))); break;
            case 3: text.resize(at); break;
            }
        }
        write(text);
        Config c = populatedConfig();
        LoadSetupFile(c, path, notices);
        for (int s = 1; s <= 4; ++s) {
            ASSERT_GE(c.Systems[s].ComPort, 0);
            ASSERT_LE(c.Systems[s].ComPort, 16);
            ASSERT_GE(c.ReferenceMode[s], 0);
            ASSERT_LE(c.ReferenceMode[s], 2);
        }
        for (int p = 1; p <= 16; ++p) {
            ASSERT_GE(c.Comports[p].AssignedSystem, 0);
            ASSERT_LE(c.Comports[p].AssignedSystem, 4);
        }
        ASSERT_GE(c.IPListCount, 0);
        ASSERT_LE(c.IPListCount, 10);
        ASSERT_GE(c.ElevationMask, 0);
        ASSERT_LE(c.ElevationMask, 89);
        ASSERT_GE(c.LatLonDecimals, 0);
        ASSERT_LE(c.LatLonDecimals, 5);
        for (int k = 1; k <= 5; ++k) {
            ASSERT_GE(c.SNRSeriesCount[k], 0);
            ASSERT_LE(c.SNRSeriesCount[k], 32);
            ASSERT_GE(c.SNRSeriesColumns[k], c.SNRSeriesCount[k] > 0 ? 1 : 0);
            ASSERT_LE(c.SNRSeriesColumns[k], 3);
        }
    }
}

TEST_F(SetupFile, SaveFailureGoesToTheCaller) {
    const Config c = defaultConfig();
    try {
        SaveSetupFile(c, (dir / "missing-folder" / SetupFileName).string());
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::PathNotFound);
    }
}

}  // namespace
