#include "nmeagen/generators.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "line_check.h"

namespace tiderune::nmeagen {
namespace {

std::vector<std::string> demoLines(int seconds, std::uint64_t seed = 7) {
    DemoOptions o;
    o.seed = seed;
    o.durationSeconds = seconds;
    std::vector<std::string> lines;
    generateDemo(o, [&](std::string_view l) { lines.emplace_back(l); });
    return lines;
}

StressOptions stress(std::size_t count, std::uint64_t seed = 7) {
    StressOptions o;
    o.lineCount = count;
    o.seed = seed;
    return o;
}

const std::set<std::string> allTypes{"GGA", "GNS", "GLL", "RMC", "ZDA", "VTG", "GSA", "GST",
                                     "GSV", "HDT", "ATT", "ROT", "VHW", "DBT", "TTM", "VDM"};

TEST(StressMix, ExactCountEveryTypeTagBlocksAndSomeBadChecksums) {
    const auto lines = stressLines(stress(50000));
    ASSERT_EQ(lines.size(), 50000u);
    std::set<std::string> types;
    std::size_t tagged = 0, bad = 0, vdo = 0, unknown = 0;
    for (const auto& line : lines) {
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos);
        const std::string_view s = test::withoutTagBlock(line);
        if (s.size() != line.size()) {
            ++tagged;
            // The tag block's own checksum is always right.
            const std::string_view block = std::string_view(line).substr(0, line.size() - s.size());
            EXPECT_TRUE(test::checksumValid(block.substr(0, block.size() - 1))) << line;
        }
        if (!test::checksumValid(s))
            ++bad;
        const std::string type = test::recognisedType(s);
        if (type.empty())
            ++unknown;
        else
            types.insert(type);
        if (s.substr(0, 6) == "!AIVDO")
            ++vdo;
    }
    EXPECT_EQ(types, allTypes);
    // Shares near the options' 8 %, 2 % and 1 %.
    EXPECT_GT(tagged, 3000u);
    EXPECT_LT(tagged, 5000u);
    EXPECT_GT(bad, 600u);
    EXPECT_LT(bad, 1500u);
    EXPECT_GT(unknown, 200u);
    EXPECT_LT(unknown, 1000u);
    EXPECT_GT(vdo, 0u);
}

TEST(StressMix, SameSeedSameBytesOtherSeedOtherLines) {
    const auto a = stressLines(stress(20000, 11));
    const auto b = stressLines(stress(20000, 11));
    const auto c = stressLines(stress(20000, 12));
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    // A shorter run is the start of a longer one.
    const auto shortRun = stressLines(stress(1000, 11));
    EXPECT_TRUE(std::equal(shortRun.begin(), shortRun.end(), a.begin()));
}

TEST(StressMix, MultiSentenceAisMessagesAreComplete) {
    const auto lines = stressLines(stress(20000));
    std::size_t multi = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto f = test::fields(test::withoutTagBlock(lines[i]));
        if (f[0] != "!AIVDM" && f[0] != "!AIVDO")
            continue;
        ASSERT_EQ(f.size(), 7u) << lines[i];
        if (f[1] == "2" && f[2] == "1" && i + 1 < lines.size()) {
            const auto g = test::fields(test::withoutTagBlock(lines[i + 1]));
            ASSERT_EQ(g.size(), 7u);
            EXPECT_EQ(g[1], "2");
            EXPECT_EQ(g[2], "2");
            EXPECT_EQ(g[3], f[3]);
            EXPECT_EQ(g[4], f[4]);
            EXPECT_EQ(f[6], "0");
            ++multi;
        }
    }
    EXPECT_GT(multi, 50u);
}

TEST(DemoSession, SameSeedSameBytesOtherSeedOtherLines) {
    const auto a = demoLines(600, 3);
    EXPECT_EQ(a, demoLines(600, 3));
    EXPECT_NE(a, demoLines(600, 4));
    // A shorter session is the start of a longer one.
    const auto shortRun = demoLines(120, 3);
    ASSERT_LT(shortRun.size(), a.size());
    EXPECT_TRUE(std::equal(shortRun.begin(), shortRun.end(), a.begin()));
}

// The bundled hour: what the demo must show, and what a receiver's output never breaks.
TEST(DemoSession, OneHourOfEverySensor) {
    const auto lines = demoLines(3600);
    std::map<std::string, std::size_t> types;
    std::size_t bytes = 0, noFix = 0, vdo = 0;
    std::string lastGgaTime;
    for (const auto& line : lines) {
        SCOPED_TRACE(line);
        bytes += line.size() + 2;
        // NMEA 0183 limits a sentence to 82 characters with its CR LF.
        EXPECT_LE(line.size(), 80u);
        ASSERT_TRUE(test::checksumValid(line));
        const std::string type = test::recognisedType(line);
        ASSERT_FALSE(type.empty());
        ++types[type];
        const auto f = test::fields(line);
        if (type == "GGA") {
            EXPECT_GT(f[1], lastGgaTime);
            lastGgaTime = f[1];
            if (f[6] == "0") {
                ++noFix;
                EXPECT_EQ(f[2], "");
            }
        }
        if (f[0] == "!AIVDO")
            ++vdo;
    }
    for (const auto& t : allTypes)
        EXPECT_GT(types[t], 0u) << t;
    EXPECT_EQ(types["GGA"], 3600u);  // 1 Hz
    EXPECT_EQ(types["GGA"], types["RMC"]);
    EXPECT_EQ(types["HDT"], 3600u);
    // Three spells without a fix, a minute and a quarter in all.
    EXPECT_EQ(noFix, 45u + 19u + 12u);
    EXPECT_GT(vdo, 300u);
    EXPECT_LT(bytes, 5'000'000u);
}

// Benchmarks scale the demo up to many hours: satellites keep rising and setting and the
// traffic keeps moving after the planned hour.
TEST(DemoSession, LongerSessionsKeepSatellitesAndTraffic) {
    DemoOptions o;
    o.durationSeconds = 3 * 3600;
    int fewestUsed = 1000;
    double lastTransitSpeed = -1;
    std::size_t epochs = 0;
    generateDemo(o, [&](std::string_view line) {
        if (line.starts_with("$GNGGA")) {
            if (++epochs > 3600)
                fewestUsed = std::min(fewestUsed, std::stoi(test::fields(line)[7]));
        } else if (line.starts_with("!AIVDM,1,1,,") && epochs > 2 * 3600) {
            const auto bits = test::payloadBits(test::fields(line)[5]);
            if (test::bitsValue(bits, 0, 6) == 1 && test::bitsValue(bits, 8, 30) == 219004561)
                lastTransitSpeed = static_cast<double>(test::bitsValue(bits, 50, 10)) / 10.0;
        }
    });
    EXPECT_EQ(epochs, 3u * 3600u);
    EXPECT_GE(fewestUsed, 15);
    EXPECT_GT(lastTransitSpeed, 5.0);
}

TEST(DemoSession, GsvGroupsAndAisFragmentsFollowEachOther) {
    const auto lines = demoLines(1200);
    std::size_t multi = 0;
    std::set<std::string> gsvTalkers;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto f = test::fields(lines[i]);
        if (f[0].size() == 6 && f[0].substr(3) == "GSV") {
            gsvTalkers.insert(f[0].substr(1, 2));
            // A group's sentences come in order, nothing between them.
            const int count = std::stoi(f[1]), number = std::stoi(f[2]);
            if (number < count) {
                const auto g = test::fields(lines.at(i + 1));
                EXPECT_EQ(g[0], f[0]);
                EXPECT_EQ(std::stoi(g[2]), number + 1);
                EXPECT_EQ(g[3], f[3]);
            }
        }
        if ((f[0] == "!AIVDM" || f[0] == "!AIVDO") && f[1] != "1") {
            if (f[2] == "1") {
                const auto g = test::fields(lines.at(i + 1));
                EXPECT_EQ(g[0], f[0]);
                EXPECT_EQ(g[2], "2");
                EXPECT_EQ(g[3], f[3]);
                EXPECT_EQ(g[4], f[4]);
                EXPECT_EQ(f[6], "0");
                // Message 5: 424 bits in 60 + 11 characters, 2 fill bits.
                EXPECT_EQ(f[5].size() + g[5].size(), 71u);
                EXPECT_EQ(g[6], "2");
                ++multi;
            }
        }
    }
    EXPECT_EQ(gsvTalkers, (std::set<std::string>{"GP", "GL", "GA", "GB"}));
    EXPECT_GT(multi, 20u);

    // The satellites-only recording: the demo's GSV groups, every second instead of every 5.
    DemoOptions o;
    o.durationSeconds = 10;
    std::vector<std::string> gsv;
    generateSatellitesInView(o, [&](std::string_view l) { gsv.emplace_back(l); });
    std::vector<std::string> demoGsv;
    for (const std::string& l : demoLines(1))
        if (l.substr(3, 3) == "GSV") demoGsv.push_back(l);
    ASSERT_FALSE(demoGsv.empty());
    EXPECT_EQ(std::vector<std::string>(gsv.begin(), gsv.begin() + static_cast<long>(demoGsv.size())), demoGsv);
    int groupStarts = 0;
    for (const std::string& l : gsv) {
        const auto f = test::fields(l);
        EXPECT_EQ(f[0].substr(3), "GSV") << l;
        if (f[0] == "$GPGSV" && f[2] == "1") ++groupStarts;
    }
    EXPECT_EQ(groupStarts, 10);
}

}  // namespace
}  // namespace tiderune::nmeagen
