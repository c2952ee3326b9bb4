// The bundled demo files: the recording must be what the generator makes, and the setup
// template must read as a setup file that replays it.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "nmeagen/generators.h"

namespace tiderune::nmeagen {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

const std::string examples = std::string(TIDERUNE_SOURCE_DIR) + "/examples/";

TEST(Examples, DemoRecordingIsTheGeneratorsOutput) {
    const std::string file = readFile(examples + "demo.nmea");
    ASSERT_FALSE(file.empty());
    std::string expected;
    expected.reserve(file.size());
    generateDemo(DemoOptions{}, [&](std::string_view line) {
        expected += line;
        expected += "\r\n";
    });
    // When this fails after a change to the generator, regenerate the file with
    // build/tools/tiderune-gen --demo examples/demo.nmea
    EXPECT_TRUE(file == expected) << "examples/demo.nmea differs from the generator's output";
}

TEST(Examples, NavigationRecordingIsTheGeneratorsOutput) {
    const std::string file = readFile(examples + "demo-nav.nmea");
    ASSERT_FALSE(file.empty());
    std::string expected;
    DemoOptions o;
    o.seed = NavigationSeed;
    generateNavigation(o, [&](std::string_view line) {
        expected += line;
        expected += "\r\n";
    });
    // Regenerate with build/tools/tiderune-gen --nav examples/demo-nav.nmea
    EXPECT_TRUE(file == expected) << "examples/demo-nav.nmea differs from the generator's output";
}

// The setup template as the setup file reader sees it: items separated by commas and line
// ends, texts in quotes.
std::vector<std::vector<std::string>> setupLines(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos)
            break;
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
        std::vector<std::string> items;
        std::size_t i = 0;
        while (i <= line.size()) {
            if (i < line.size() && line[i] == '"') {
                const auto close = line.find('"', i + 1);
                items.push_back(line.substr(i, close - i + 1));
                i = close + 2;
            } else {
                const auto comma = line.find(',', i);
                items.push_back(line.substr(i, comma == std::string::npos ? std::string::npos : comma - i));
                i = comma == std::string::npos ? line.size() + 1 : comma + 1;
            }
        }
        lines.push_back(items);
        start = end + 2;
    }
    return lines;
}

TEST(Examples, SetupTemplateReplaysTheDemoInOfflineMode) {
    const auto lines = setupLines(readFile(examples + "Tiderune.ini.in"));
    // Header and the number of value lines of every section, in the writer's order.
    const std::vector<std::pair<std::string, std::size_t>> sections{
        {"\"REM Mode\"", 1}, {"\"REM Systems\"", 4}, {"\"REM Comports\"", 10}, {"\"REM Comports, extended to 16\"", 6},
        {"\"REM TCP/IP\"", 4}, {"\"REM IP List\"", 2}, {"\"REM Base data\"", 1},
        {"\"REM Reference positions & heading\"", 4}, {"\"REM Reference pitch & roll\"", 4},
        {"\"REM Checksum Test\"", 1}, {"\"REM Emptybuffer\"", 1}, {"\"REM Set time from PC\"", 1},
        {"\"REM Not display dGPS timeserie\"", 1}, {"\"REM Visibleform\"", 4},
        {"\"REM NMEA Messages to analyse\"", 10}, {"\"REM Session info\"", 1}, {"\"REM Visibleform SNR\"", 4},
        {"\"REM Visible SNR Timeseries\"", 5 * 33}, {"\"REM UDP\"", 4}, {"\"REM LatLon Format\"", 1}};
    std::map<std::string, std::vector<std::vector<std::string>>> body;
    std::size_t at = 0;
    for (const auto& [header, count] : sections) {
        ASSERT_LT(at, lines.size());
        ASSERT_EQ(lines[at].size(), 1u);
        ASSERT_EQ(lines[at][0], header);
        body[header].assign(lines.begin() + static_cast<long>(at) + 1, lines.begin() + static_cast<long>(at + 1 + count));
        at += 1 + count;
    }
    EXPECT_EQ(at, lines.size());

    EXPECT_EQ(body["\"REM Mode\""][0], std::vector<std::string>{"\"OFFLINE\""});
    const auto& primary = body["\"REM Systems\""][0];
    ASSERT_EQ(primary.size(), 5u);
    EXPECT_EQ(primary[1], "\"GPS/GLONASS\"");
    EXPECT_EQ(primary[3], "#TRUE#");
    EXPECT_EQ(primary[4], "\"@EXAMPLES@/demo.nmea\"");
    for (std::size_t s = 1; s < 4; ++s)
        EXPECT_EQ(body["\"REM Systems\""][s][3], "#FALSE#");
    // The monitor of the primary system is recorded open (the sixth flag), which the program
    // reads as closed: no start opens a monitor.
    const auto& visible = body["\"REM Visibleform\""][0];
    ASSERT_EQ(visible.size(), 6u);
    EXPECT_EQ(visible[5], "#TRUE#");

    // Ten analysed types that the setup dialog's rules allow together.
    std::set<std::string> analysed;
    for (const auto& slot : body["\"REM NMEA Messages to analyse\""]) {
        ASSERT_EQ(slot.size(), 4u);
        ASSERT_GT(slot[0].size(), 2u);
        analysed.insert(slot[0].substr(1, slot[0].size() - 2));
    }
    EXPECT_EQ(analysed.size(), 10u);
    const std::set<std::string> known{"GGA", "GNS", "GLL", "RMC", "VTG", "GSA", "GST", "GSV",
                                      "ZDA", "HDT", "ATT", "ROT", "VHW", "DBT", "TTM", "VDM"};
    for (const auto& t : analysed)
        EXPECT_TRUE(known.count(t)) << t;
    int positionTypes = 0;
    for (const char* t : {"GGA", "GNS", "GLL", "RMC"})
        positionTypes += static_cast<int>(analysed.count(t));
    EXPECT_EQ(positionTypes, 1);
    EXPECT_FALSE(analysed.count("RMC") && (analysed.count("VTG") || analysed.count("ZDA")));
    EXPECT_FALSE(analysed.count("HDT") && analysed.count("ATT"));
}

}  // namespace
}  // namespace tiderune::nmeagen
