#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>

#include "ais/ais_decoders.h"
#include "ais/ais_format.h"

namespace tiderune {
namespace {

TEST(AisFormat, MessageNamesAndDates) {
    EXPECT_EQ(aisMessageName(18), "Standard Class B position report");
    for (int id : {-99, 0, 28, 63}) EXPECT_EQ(aisMessageName(id), "unknown") << id;
    EXPECT_EQ(formatAisMessage(AISMessageSet{}, 0), "");
    EXPECT_EQ(formatAisMessage(AISMessageSet{}, 40), "");

    struct Case {
        double value;
        const char* text;
    } dates[] = {
        {0, "0"},
        {aisDateValue(2026, 3, 1, 1, 0), "2026-03-01 01:00:00"},
        {aisDateValue(2026, 12, 31, 23, 59) + 59.9996 / 86400, "2027-01-01 00:00:00"},  // rounds into the new year
        {std::numeric_limits<double>::quiet_NaN(), "?"},
    };
    for (const auto& d : dates) EXPECT_EQ(formatAisDate(d.value), d.text);
}

TEST(AisFormat, TextsStayOnOneLine) {
    std::string manyShown;
    for (int i = 0; i < 300; ++i) manyShown += "\\x7F";
    const std::pair<std::string, std::string> cases[] = {
        {"A\"B\\C", "A\\x22B\\x5CC"},  // both are 6-bit characters
        {"", ""},
        {"~\x7F\x1F\n", "~\\x7F\\x1F\\x0A"},
        {std::string(300, '\x7F'), manyShown},  // longer than the room a line keeps ahead
    };
    for (const auto& [text, shown] : cases) {
        AISMessageSet m;
        m.Msg14.MessageID = 14;
        m.Msg14.Text = text;
        EXPECT_EQ(formatAisMessage(m, 14),
                  "AIS 14 Safety broadcast message: repeat=0 mmsi=0 text=\"" + shown + "\"\n");
    }
}

}  // namespace
}  // namespace tiderune
