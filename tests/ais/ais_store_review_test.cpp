// The length a message must reach before it may create or move a target, one bit either
// side of it, for every type that carries a target.
#include <gtest/gtest.h>

#include "ais_test_support.h"

namespace tiderune::test {
namespace {

using TargetLengths = AisEngineTest;

// A message of `bits` bits: the header, then zeros.
AisBitWriter messageOf(int id, std::uint32_t mmsi, int bits) {
    AisBitWriter w;
    w.header(id, 0, mmsi);
    while (w.size() < bits) w.u(0, 1);
    return w;
}

TEST_F(TargetLengths, ShortestMessageThatMakesATarget) {
    struct Case {
        int id;
        int bits;
    };
    const Case cases[] = {{1, 168}, {2, 168}, {3, 168}, {4, 168}, {5, 420}, {9, 168}, {18, 168}, {19, 312}, {21, 272}};
    std::uint32_t mmsi = 211000000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const int before = store().TargetCount[1];
        feed(messageOf(c.id, ++mmsi, c.bits - 1));
        EXPECT_EQ(engine.LastAISMessageID(1), c.id);
        EXPECT_TRUE(store().MMSIZero[1]);
        EXPECT_EQ(store().TargetCount[1], before);

        feed(messageOf(c.id, mmsi, c.bits));
        EXPECT_FALSE(store().MMSIZero[1]);
        ASSERT_EQ(store().TargetCount[1], before + 1);
        EXPECT_EQ(store().CurrentTarget[1], before + 1);
        EXPECT_EQ(target(before + 1).MMSI, static_cast<std::int32_t>(mmsi));
    }
}

TEST_F(TargetLengths, FillBitsOfTheLastFragmentShortenTheMessage) {
    // A 168-bit report armours into 28 whole characters; the same characters with 1 to 5
    // fill bits leave 167 to 163 bits, too few for a position report.
    const std::string payload = messageOf(1, 244000001, 168).payload();
    ASSERT_EQ(payload.size(), 28u);
    for (int fill = 5; fill >= 0; --fill) {
        SCOPED_TRACE(fill);
        feed(test::vdm(1, 1, "", "A", payload, fill));
        EXPECT_EQ(store().TargetCount[1], fill == 0 ? 1 : 0);
    }
    EXPECT_EQ(store().ShortMessages[1], 5);
}

}  // namespace
}  // namespace tiderune::test
