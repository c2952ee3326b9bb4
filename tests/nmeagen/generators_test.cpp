#include "nmeagen/generators.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "line_check.h"

namespace tiderune::nmeagen {
namespace {

[[maybe_unused]] std::vector<std::string> demoLines(int seconds, std::uint64_t seed = 7) {
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

}  // namespace
}  // namespace tiderune::nmeagen
