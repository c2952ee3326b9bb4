// The session summary report: two whole reports compared byte for byte with their golden
// files, the column rule, and the file it is written to.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/logic/raw_data_logger.h"
#include "app/logic/session_report.h"
#include "core/code_page.h"
#include "core/epoch_time.h"
#include "core/intake.h"
#include "core/parsers.h"
#include "core/processing.h"
#include "core/setup_file.h"
#include "temp_folder.h"

namespace tiderune {
namespace {

struct FixedPcClock final : PcClock {
    double now() const override { return dateFromYmd(2026, 12, 8) + 0.5; }
};

constexpr double RadiansPerDegree = 0.017453292519944444;

class SessionReport : public testing::Test {
protected:
    SessionReport() {
        state->analysis.clock = &pcClock;
        state->SentenceDate[1] = dateFromYmd(2026, 12, 8);
        state->config.Systems[1].InUse = true;
    }
    void analyse(std::initializer_list<const char*> types) {
        int i = 1;
        for (const char* t : types) state->config.MessagesToAnalyse[1][i++] = t;
        SetAnalysedMessageTypes(state->config, 1);
    }
    void feed(const std::string& body) {
        ProcessSentence(*state, sink, ais, 1, body + "*" + CalcChecksum(body));
    }
    static std::string golden(const char* name) {
        return test::readFile(std::filesystem::path(TIDERUNE_SOURCE_DIR) / "tests/golden" / name);

    }

    FixedPcClock pcClock;
    std::unique_ptr<CoreState> state = std::make_unique<CoreState>();
    CoreSink sink;
    NullAisServices ais;
    NullNoticeSink notices;
};

// A replayed survey against a known point: offsets from 0 to 13 m north, a fix without a
// position and one without a height, heights below the ellipsoid wide enough to pass the
// second column of the average position.
TEST_F(SessionReport, ReplayedGgaAgainstATruePositionMatchesItsGoldenReport) {
    Config& cfg = state->config;
    cfg.Mode = "OFFLINE";
    cfg.Systems[1].Name = "DGPS Bridge";
    cfg.Systems[1].OfflineFile = "/data/survey 12.nmea";
    cfg.SessionInfo = "Quay 4, mast antenna.\r\nSecond line\nthird";
    cfg.ReferenceMode[1] = 2;
    cfg.ReferenceLat[1] = 52 * RadiansPerDegree;
    cfg.ReferenceLon[1] = 4 * RadiansPerDegree;
    cfg.ReferenceHeight[1] = -105.0f;
    analyse({"GGA"});
    const char* minutesNorth[] = {"0000", "0001", "0002", "0003", "0005", "0008", "0013",
                                  "0021", "0034", "0100", "0200", "0700"};
    int second = 0;
    for (const char* m : minutesNorth) {
        char body[96];
        std::snprintf(body, sizeof body, "$GPGGA,1200%02d,5200.%s,N,00400.0000,E,1,08,0.9,%.1f,M,46.9,M,,", second,
                      m, -105.0 + 0.1 * (second % 4));
        feed(body);
        ++second;
    }
    feed("$GPGGA,120020,,,,,1,08,0.9,-105.0,M,46.9,M,,");
    feed("$GPGGA,120021,5200.0001,N,00400.0001,E,1,08,0.9,,M,46.9,M,,");
    state->run.ProcessingStart = dateFromYmd(2026, 12, 8) + (13 * 3600 + 5 * 60 + 7.4) / 86400.0;
    state->run.ProcessingEnd = dateFromYmd(2026, 12, 8) + (86399.6) / 86400.0;  // rounds into the next day

    EXPECT_EQ(sessionReportText(*state, 1), golden("report-gga-offline.expected"));
}

// 199 fixes on the known point and one 9.79 m north of it: the distribution goes on past
// 99.5 % to the last row below 10 m, which holds that fix.
TEST_F(SessionReport, DistributionRunsOnToTheRowOfTheLastFix) {
    state->config.ReferenceMode[1] = 2;
    state->config.ReferenceLat[1] = 52 * RadiansPerDegree;
    state->config.ReferenceLon[1] = 4 * RadiansPerDegree;
    analyse({"GGA"});
    for (int i = 0; i < 200; ++i) {
        char body[96];
        std::snprintf(body, sizeof body, "$GPGGA,12%02d%02d,5200.%s,N,00400.0000,E,1,08,0.9,0.0,M,46.9,M,,", i / 60,
                      i % 60, i == 199 ? "0053" : "0000");
        feed(body);
    }
    const std::string text = sessionReportText(*state, 1);
    EXPECT_NE(text.find("\r\n0.0-0.1 m         199    99.5 %\r\n0.1-0.2 m           0    99.5 %\r\n"),
              std::string::npos) << text;
    EXPECT_NE(text.find("\r\n9.5-10.0 m          1   100.0 %\r\n-----"), std::string::npos) << text;
}

// A system without GGA: the counts are 0 and the report ends after the level rows.
TEST_F(SessionReport, RmcOnlySystemEndsAfterTheLevelRows) {
    Config& cfg = state->config;
    cfg.Mode = "ONLINE";
    cfg.Systems[1].Name = "Log";
    cfg.ReferenceMode[1] = 1;
    analyse({"RMC"});
    feed("$GPRMC,080000,A,5200.0000,N,00400.0000,E,5.5,90.0,070326,,,A");
    feed("$GPRMC,080001,A,5200.0010,N,00400.0010,E,5.5,90.0,070326,,,A");

    EXPECT_EQ(sessionReportText(*state, 1), golden("report-rmc-online.expected"));
}

TEST(ReportWriter, TabPadsToItsColumnAndKeepsAWideValueOnItsRow) {
    struct Case {
        const char* before;
        int column;
        const char* expected;
    };
    const Case cases[] = {
        {"", 5, "    x\r\n"},         // from the start of a line
        {"abc", 4, "abcx\r\n"},       // already there: nothing
        {"abcd", 4, "abcd x\r\n"},    // past it: one blank, the row stays whole
        {"a\r\nbc", 4, "a\r\nbc x\r\n"},  // columns count from the last line break
    };
    for (const Case& c : cases) {
        ReportWriter w;
        w << c.before;
        w.tab(c.column) << "x";
        w.endLine();
        EXPECT_EQ(w.text(), c.expected) << c.before << " " << c.column;
    }
    ReportWriter w;
    w.number(42).number(-7) << "|";
    EXPECT_EQ(w.text(), " 42 -7 |");
}

// The report is read by people, in UTF-8; the raw-data log and the setup file are read back
// by the program and its peers and keep their Latin-1 bytes.
TEST_F(SessionReport, TheReportIsUtf8AndTheFilesReadBackKeepTheirLatin1Bytes) {
    test::TempFolder home;
    const AppFolder folder(home.path());
    const FixedClock clock(ClockTime{2026, 12, 8, 9, 5, 30});
    ScriptedMessageBoxes boxes;
    Config& cfg = state->config;
    cfg.Systems[1].Name = "B\xE5t";
    // The ends of the upper half: each byte becomes two.
    cfg.SessionInfo = "H\xF8yde \xB1" "0,5 m \x80\xFF";
    cfg.ReferenceMode[1] = 2;
    cfg.ReferenceLat[1] = (59 + 25 / 60.0 + 7.428 / 3600) * RadiansPerDegree;
    ASSERT_TRUE(PrintReport(*state, 1, folder, clock, boxes));
    // The file is named in the file system's UTF-8 too.
    const std::string report = test::readFile(home.path() / "Reports" / "20261208-0905-Prim-B\xC3\xA5t.txt");
    // The message shows that name as the program's text.
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "Statistics summary printed to text file : " + home.path().string() + "/Reports/20261208-0905-Prim-B\xE5t.txt");
    const std::string laidOut = sessionReportText(*state, 1);
    // A replayed file's name is the file system's bytes, not the program's text: its UTF-8
    // is written as it is, and a byte of an older setup file's name in UTF-8.
    cfg.Mode = "OFFLINE";
    cfg.Systems[1].OfflineFile = "/data/m\xC3\xA5ling/caf\xE9.nmea";
    ASSERT_TRUE(PrintReport(*state, 1, folder, clock, boxes));
    const std::string offlineReport = test::readFile(home.path() / "Reports" / "20261208-0905-Prim-B\xC3\xA5t.txt");

    RawDataLogger logger(folder, clock, boxes, notices);
    PerSystem<LoggedSystem> systems;
    systems[1] = {true, "B\xE5t"};
    logger.toggle(systems);
    logger.writeLine(1, "$GPTXT,01,01,02,59\xB0" "25'N H\xF8yde*00\r\n");
    logger.toggle(systems);
    const std::string log = test::readFile(home.path() / "log" / logger.fileName(1));
    EXPECT_EQ(boxes.shown.back().text, "Logging stopped. Data stored in file " + home.path().string() +
                                           "/log/\r\n20261208-0905-Prim-B\xE5t.log");

    SaveSetupFile(cfg, (home.path() / "Tiderune.ini").string());
    const std::string setup = test::readFile(home.path() / "Tiderune.ini");

    struct Case {
        const char* what;
        const std::string& file;
        std::string bytes;
    };
    const Case cases[] = {
        {"report: degree sign", report, " Latitude  :  59\xC2\xB0" "25'07.428\"N\r\n"},
        {"report: session text", report, "\r\nH\xC3\xB8yde \xC2\xB1" "0,5 m \xE2\x82\xAC\xC3\xBF\r\n"},
        {"report: system name", report, "session : B\xC3\xA5t\r\n"},
        {"report: the replayed file's name", offlineReport, "file : \r\n/data/m\xC3\xA5ling/caf\xC3\xA9.nmea\r\n"},
        {"report: session text after that name", offlineReport, "\r\nH\xC3\xB8yde \xC2\xB1" "0,5 m \xE2\x82\xAC\xC3\xBF\r\n"},
        {"log: the line as received", log, "$GPTXT,01,01,02,59\xB0" "25'N H\xF8yde*00\r\n"},
        {"setup: system name", setup, "\"B\xE5t\","},
        {"setup: session text", setup, "\"H\xF8yde \xB1" "0,5 m \x80\xFF\""},
        {"setup: the replayed file's name", setup, "\"/data/m\xC3\xA5ling/caf\xE9.nmea\""},
    };
    for (const Case& c : cases) EXPECT_NE(c.file.find(c.bytes), std::string::npos) << c.what << "\n" << c.file;
    // Read back from its UTF-8, the report is the text as laid out, column for column.
    EXPECT_EQ(fileNameText(report), laidOut);
}

TEST_F(SessionReport, PrintWritesTheFileAndAFailureLeavesNothing) {
    test::TempFolder home;
    const AppFolder folder(home.path());
    const FixedClock clock(ClockTime{2026, 12, 8, 9, 5, 30});
    ScriptedMessageBoxes boxes;
    state->config.Systems[2].Name = "Gyro";

    ASSERT_TRUE(PrintReport(*state, 2, folder, clock, boxes));  // makes the Reports folder
    const auto written = home.path() / "Reports" / "20261208-0905-Sec1-Gyro.txt";
    EXPECT_EQ(fileNameText(test::readFile(written)), sessionReportText(*state, 2));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Statistics summary printed to text file : " + written.string());
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::None);

    // A name taken by a folder: the report cannot be put in place; nothing half-written stays.
    // The message names the file as every message does ("æ", not its two UTF-8 bytes).
    state->config.Systems[1].Name = "\xE6";
    std::filesystem::create_directory(home.path() / "Reports" / "20261208-0905-Prim-\xC3\xA6.txt");
    EXPECT_FALSE(PrintReport(*state, 1, folder, clock, boxes));
    ASSERT_EQ(boxes.shown.size(), 2u);
    const std::string& said = boxes.shown[1].text;
    EXPECT_NE(said.find("20261208-0905-Prim-\xE6.txt could not be written"), std::string::npos) << said;
    EXPECT_TRUE(said.ends_with("(SUB: Print_Report)")) << said;
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(home.path() / "Reports")) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace tiderune
