#include "setup/logic/input_checks.h"

#include <gtest/gtest.h>

namespace tiderune {
namespace {

TEST(InputChecks, IPv4Addresses) {
    const std::pair<const char*, bool> cases[] = {
        {"255.255.255.255", true}, {"1.0.0.0", true},   {"192.168.001.010", true}, {"127.0.0.1", true},
        {"0.1.2.3", false},        {"1.2.3", false},    {"1.2.3.4.5", false},      {"1..2.3", false},
        {"1.2.3.", false},         {".1.2.3", false},   {"1.2.3.256", false},      {"256.1.1.1", false},
        {"1.2.3.4a", false},       {"", false},         {"001.002.003.0004", false},  // 16 characters
        {"1.2.3.99999999999", false}, {"localhost", false}, {" 1.2.3.4", false},
    };
    for (auto [text, valid] : cases) EXPECT_EQ(isValidIPv4(text), valid) << text;
    EXPECT_EQ(invalidIPMessage("1.2.3"),
              "1.2.3 is not a valid IP address! Has to be in the range 1.0.0.1 to 255.255.255.255");
}

TEST(InputChecks, PortBoxes) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"8040", " 8040"},  {"65535", " 65535"}, {"1", " 1"},       {" 8040", " 8040"},
        {"8040abc", " 8040"}, {"0", std::nullopt}, {"65536", std::nullopt}, {"80.5", std::nullopt},
        {"1,5", std::nullopt}, {"", std::nullopt},  {"abc", std::nullopt}, {"-80", std::nullopt},
        {"1e300", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(checkedPortText(text), expected) << text;
    EXPECT_EQ(invalidPortMessage("0"), "0 is not a valid port number! Has to be an integer value in the range 1-65535");
}

TEST(InputChecks, LimitsRefuseOnlyZero) {
    for (const char* t : {"0", "", " 0", "0.0", "abc", "0,0"}) EXPECT_TRUE(isRefusedLimit(t)) << t;
    for (const char* t : {"3", "-2", "1,5", "0.1", "15.0"}) EXPECT_FALSE(isRefusedLimit(t)) << t;
    EXPECT_STREQ(zeroLimitMessage(LimitList::Svs), "No of svs > 3 has to be selected");
    EXPECT_STREQ(zeroLimitMessage(LimitList::Hdop), "A hdop value <> 0 has to be selected");
    EXPECT_STREQ(zeroLimitMessage(LimitList::Outliers), "A outlier <> 0 has to be selected");
}

TEST(InputChecks, IPHistoryKeepsTheLatestTen) {
    Config c;
    EXPECT_EQ(ReArrange_IP_List(c, "10.0.0.1"), IPHistoryChange::Appended);
    EXPECT_EQ(ReArrange_IP_List(c, "10.0.0.1"), IPHistoryChange::None);
    for (int i = 2; i <= 10; ++i) EXPECT_EQ(ReArrange_IP_List(c, "10.0.0." + std::to_string(i)), IPHistoryChange::Appended);
    EXPECT_EQ(c.IPListCount, 10);
    EXPECT_EQ(ReArrange_IP_List(c, "10.0.0.5"), IPHistoryChange::None);
    EXPECT_EQ(ReArrange_IP_List(c, "10.0.0.11"), IPHistoryChange::Refilled);
    EXPECT_EQ(c.IPListCount, 10);
    const std::vector<std::string> latest(c.IPList.begin(), c.IPList.end());
    EXPECT_EQ(latest, (std::vector<std::string>{"10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.5", "10.0.0.6",
                                                "10.0.0.7", "10.0.0.8", "10.0.0.9", "10.0.0.10", "10.0.0.11"}));
    // A count the setup file got wrong never reaches beyond the ten entries.
    Config bad;
    bad.IPListCount = 42;
    EXPECT_EQ(ReArrange_IP_List(bad, "1.1.1.1"), IPHistoryChange::Refilled);
    bad.IPListCount = -3;
    EXPECT_EQ(ReArrange_IP_List(bad, "2.2.2.2"), IPHistoryChange::Appended);
    EXPECT_EQ(bad.IPListCount, 1);
}

TEST(InputChecks, ReferenceNamesThatTheFileCanHold) {
    EXPECT_TRUE(isStorableReferenceName("Pier 4, north end"));
    EXPECT_FALSE(isStorableReferenceName("Pier \"4\""));
    EXPECT_FALSE(isStorableReferenceName("Pier\n4"));
    EXPECT_FALSE(isStorableReferenceName("Pier\r4"));
}

}  // namespace
}  // namespace tiderune
