// Each tests/golden/NAME.nmea is replayed and compared with NAME.expected. A recording whose
// name ends in "-checksum-on" runs with the checksum test switched on. To see a changed
// output: tiderune-replay [--checksum] tests/golden/NAME.nmea | diff tests/golden/NAME.expected -
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "replay_dump.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(ReplayGolden, EveryRecordingMatchesItsExpectedOutput) {
    const fs::path dir = fs::path(TIDERUNE_SOURCE_DIR) / "tests" / "golden";
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".nmea") continue;
        fs::path expected = entry.path();
        expected.replace_extension(".expected");
        ASSERT_TRUE(fs::exists(expected)) << expected;
        tiderune::replay::Options options;
        const std::string stem = entry.path().stem().string();
        options.checksumTest = stem.ends_with("-checksum-on");
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream out;
        tiderune::replay::replay(in, out, options);
        EXPECT_EQ(out.str(), readFile(expected)) << entry.path();
        ++compared;
    }
    EXPECT_GE(compared, 2);
}

TEST(ReplayGolden, LineEndsDoNotChangeTheResult) {
    std::istringstream crlf("$HEHDT,274.07,T*03\r\n$GPXTE,A\r\n"), lf("$HEHDT,274.07,T*03\n$GPXTE,A");
    std::ostringstream a, b;
    tiderune::replay::replay(crlf, a, {});
    tiderune::replay::replay(lf, b, {});
    EXPECT_EQ(a.str(), b.str());
    EXPECT_EQ(a.str(),
              "1 HDT Heading=\"274.07\"\n2 -\n"
              "statistics\n"
              "Heading          count 1 mean 274.0700 sdev 0.0000 max 274.0700 min 274.0700\n"
              "HDT  0 dHdg      count 1 mean 0.0000 sdev 0.0000 max 0.0000 min 0.0000 p68 0.00 p95 0.00 missing 0\n");
}

// A record field stays inside its quotes and on its line whatever it holds; a char field
// that the sentence left empty is an empty text, not a NUL.
TEST(ReplayGolden, RecordFieldsAreEscapedAndEmptyCharsEmpty) {
    struct Case {
        tiderune::GLLRecord gll;
        const char* shown;
    };
    const Case cases[] = {
        {{0.5, -1.25, "12:00:00", 'A', 'D'},
         "Latitude=\"0.5\" Longitude=\"-1.25\" Time=\"12:00:00\" Status=\"A\" Mode=\"D\""},
        {{0, 0, "", 0, 0}, "Latitude=\"0\" Longitude=\"0\" Time=\"\" Status=\"\" Mode=\"\""},
        {{0, 0, "1\x7F\"\\", '\x7F', '"'},
         "Latitude=\"0\" Longitude=\"0\" Time=\"1\\x7F\\x22\\x5C\" Status=\"\\x7F\" Mode=\"\\x22\""},
    };
    for (const Case& c : cases) {
        auto set = std::make_unique<tiderune::NMEAMessageSet>();
        set->GLL = c.gll;
        EXPECT_EQ(tiderune::replay::describeRecord(*set, tiderune::SentenceType::GLL), c.shown);
    }
}
