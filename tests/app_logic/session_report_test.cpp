// The session summary report: two whole reports compared byte for byte with their golden
// files, the column rule, and the file it is written to.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/logic/session_report.h"
#include "core/epoch_time.h"
#include "core/intake.h"
#include "core/parsers.h"
#include "core/processing.h"
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

TEST_F(SessionReport, PrintWritesTheFileAndAFailureLeavesNothing) {
    test::TempFolder home;
    const AppFolder folder(home.path());
    const FixedClock clock(ClockTime{2026, 12, 8, 9, 5, 30});
    ScriptedMessageBoxes boxes;
    state->config.Systems[2].Name = "Gyro";

    ASSERT_TRUE(PrintReport(*state, 2, folder, clock, boxes));  // makes the Reports folder
    const auto written = home.path() / "Reports" / "20261208-0905-Sec1-Gyro.txt";
    EXPECT_EQ(test::readFile(written), sessionReportText(*state, 2));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Statistics summary printed to text file : " + written.string());
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::None);

    // A name taken by a folder: the report cannot be put in place; nothing half-written stays.
    std::filesystem::create_directory(home.path() / "Reports" / "20261208-0905-Prim-.txt");
    EXPECT_FALSE(PrintReport(*state, 1, folder, clock, boxes));
    ASSERT_EQ(boxes.shown.size(), 2u);
    const std::string& said = boxes.shown[1].text;
    EXPECT_NE(said.find("20261208-0905-Prim-.txt could not be written"), std::string::npos) << said;
    EXPECT_TRUE(said.ends_with("(SUB: Print_Report)")) << said;
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(home.path() / "Reports")) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace tiderune
