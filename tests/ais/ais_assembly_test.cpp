// Fragments of VDM/VDO sentences joined into messages, in good order and broken.
#include <gtest/gtest.h>

#include "ais/ais_assembly.h"
#include "ais_test_support.h"

namespace tiderune::test {
namespace {

using Assembly = AisEngineTest;

AisBitWriter position(std::uint32_t mmsi) {
    AisBitWriter w;
    w.header(1, 0, mmsi).u(0, 4).s(0, 8).u(100, 10).u(0, 1).s(7140000, 28).s(34620000, 27).u(0, 12).u(0, 9);
    w.u(0, 6).u(0, 5).u(0, 1).u(0, 19);
    return w;
}

AisBitWriter voyage(std::uint32_t mmsi, const std::string& name) {
    AisBitWriter w;
    w.header(5, 0, mmsi).u(0, 2).u(0, 30).text("CALL", 7).text(name, 20).u(70, 8).u(0, 30).u(0, 4);
    w.u(0, 20).u(0, 8).text("DEST", 20).u(0, 2);
    return w;
}

TEST_F(Assembly, RecordFieldsOfOneSentence) {
    engine.processVDM(1, "!AIVDO,2,1,7,B,55NBX9,0*1C\r\n", vdm[1]);
    EXPECT_EQ(vdm[1].FragmentCount, 2);
    EXPECT_EQ(vdm[1].FragmentNumber, 1);
    EXPECT_EQ(vdm[1].SequentialID, 7);
    EXPECT_EQ(vdm[1].Channel, 'B');
    EXPECT_EQ(vdm[1].Payload, "55NBX9");
    EXPECT_EQ(vdm[1].FillBits, 0);
    engine.processVDM(1, "!AIVDM,1,1,,,,", vdm[1]);
    EXPECT_EQ(vdm[1].SequentialID, -9999);
    EXPECT_EQ(vdm[1].Channel, ' ');
    EXPECT_EQ(vdm[1].FillBits, -9999);
    EXPECT_EQ(engine.LastAISMessageID(1), 0);  // an empty payload is message 0: nothing decoded
    EXPECT_TRUE(notices.notices.empty());

    // Too many fields: the record keeps what it had. Too few: the missing ones are empty.
    engine.processVDM(1, "!AIVDM,2,1,3,A,55NBX9,0*00", vdm[1]);
    engine.processVDM(1, "!AIVDM,1,1,,B,xyz,0,1*00", vdm[1]);
    EXPECT_EQ(vdm[1].Payload, "55NBX9");
    EXPECT_EQ(vdm[1].Channel, 'A');
    engine.processVDM(1, "!AIVDM,1,1,,B", vdm[1]);
    EXPECT_EQ(vdm[1].Channel, 'B');
    EXPECT_EQ(vdm[1].Payload, "");
    EXPECT_EQ(vdm[1].FillBits, -9999);
    EXPECT_EQ(engine.LastAISMessageID(1), -99);
}

TEST_F(Assembly, SingleAndMultiSentenceMessages) {
    feed(vdmMessage(position(244670316)));
    EXPECT_EQ(engine.LastAISMessageID(1), 1);
    EXPECT_EQ(engine.PendingPayload(1), "");

    const auto parts = vdmMessage(voyage(244670316, "FIRST"), 40);
    ASSERT_EQ(parts.size(), 2u);
    engine.processVDM(1, parts[0], vdm[1]);
    EXPECT_EQ(engine.LastAISMessageID(1), -99);
    EXPECT_EQ(engine.PendingPayload(1).size(), 40u);
    engine.processVDM(1, parts[1], vdm[1]);
    EXPECT_EQ(engine.LastAISMessageID(1), 5);
    EXPECT_EQ(engine.PendingPayload(1), "");
    EXPECT_EQ(slots().Msg5.Name, "FIRST               ");
    EXPECT_EQ(engine.lastMessageBits(1), 424);  // the fill bits of the last fragment count
}

TEST_F(Assembly, BrokenSequences) {
    const auto a = vdmMessage(voyage(244670316, "ALPHA"), 30, "3", "A");  // three fragments
    const auto b = vdmMessage(voyage(244670317, "BRAVO"), 30, "4", "A");
    const auto other = vdmMessage(voyage(244670318, "CHARLIE"), 30, "3", "B");
    ASSERT_EQ(a.size(), 3u);
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        int lastId;
        const char* name;  // slot 5's name afterwards, "" when none was decoded
    } cases[] = {
        {"in order", {a[0], a[1], a[2]}, 5, "ALPHA"},
        {"lost last fragment, next message starts", {a[0], a[1], b[0], b[1], b[2]}, 5, "BRAVO"},
        {"lost middle fragment", {a[0], a[2]}, -99, ""},
        {"duplicated fragment", {a[0], a[1], a[1], a[2]}, -99, ""},
        {"fragment of another message", {a[0], b[1], a[2]}, -99, ""},
        {"other channel", {a[0], other[1], other[2]}, -99, ""},
        {"continuation without a start", {a[1], a[2]}, -99, ""},
        {"restart after a lost fragment", {a[0], a[2], a[0], a[1], a[2]}, 5, "ALPHA"},
        {"malformed line in between", {a[0], "!AIVDM,3,2,3,A,xx,0,extra*00", a[1], a[2]}, 5, "ALPHA"},
    };
    for (const auto& c : cases) {
        AisEngine fresh(notices, [](int) { return 45000.0; }, [] { return 46000.0; });
        VDMRecord record;
        for (const auto& line : c.lines) fresh.processVDM(1, line, record);
        EXPECT_EQ(fresh.LastAISMessageID(1), c.lastId) << c.what;
        const std::string name = fresh.AISMessages(1).Msg5.Name;
        EXPECT_EQ(name.substr(0, name.find(' ')), c.name) << c.what;
    }
}

// A receiver on both channels interleaves the fragments of its messages; each message is
// joined from its own channel's (and sequential id's) fragments.
TEST_F(Assembly, InterleavedMessagesOfTwoChannels) {
    const auto onA = vdmMessage(voyage(244670316, "ALPHA"), 40, "1", "A");
    const auto onB = vdmMessage(voyage(271010059, "BRAVO"), 40, "1", "B");
    const auto seq2 = vdmMessage(voyage(244670317, "CHARLIE"), 40, "2", "A");
    const auto inThree = vdmMessage(voyage(271010059, "BRAVO"), 30, "1", "B");
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        std::vector<std::int32_t> decoded;  // MMSIs of the messages 5, in order
    } cases[] = {
        {"B1 A1 A2 B2", {onB[0], onA[0], onA[1], onB[1]}, {244670316, 271010059}},
        {"A1 B1 B2 A2", {onA[0], onB[0], onB[1], onA[1]}, {271010059, 244670316}},
        {"two ids on one channel", {onA[0], seq2[0], onA[1], seq2[1]}, {244670316, 244670317}},
        {"B restarts while A waits", {onA[0], onB[0], onB[0], onA[1], onB[1]}, {244670316, 271010059}},
        {"B broken, A unharmed", {inThree[0], onA[0], inThree[2], inThree[1], onA[1]}, {244670316}},
    };
    for (const auto& c : cases) {
        AisEngine fresh(notices, [](int) { return 45000.0; }, [] { return 46000.0; });
        VDMRecord record;
        std::vector<std::int32_t> decoded;
        for (const auto& line : c.lines) {
            fresh.processVDM(1, line, record);
            if (fresh.LastAISMessageID(1) == 5) decoded.push_back(fresh.AISMessages(1).Msg5.MMSI);
        }
        EXPECT_EQ(decoded, c.decoded) << c.what;
    }
}

TEST_F(Assembly, MalformedSentencesAppendAndDecodeNothing) {
    struct Case {
        const char* what;
        std::string line;
    } cases[] = {
        {"eight fields", "!AIVDM,1,1,,A,13u?etPv2;0n:dDPwUM1U1Cb069D,0,0*00"},
        {"five fields", "!AIVDM,1,1,,A,13u?etPv2;0n:dDPwUM1U1Cb069D*00"},
        {"number above count", test::vdm(1, 2, "", "A", "13u?etP", 0)},
        {"count above nine", test::vdm(10, 10, "1", "A", "13u?etP", 0)},
        {"number zero", test::vdm(1, 0, "", "A", "13u?etP", 0)},
        {"empty count", "!AIVDM,,1,,A,13u?etP,0*00"},
        {"count too large for its field", "!AIVDM,99999,1,,A,13u?etP,0*00"},
    };
    const auto parts = vdmMessage(voyage(244670316, "KEPT"), 40);
    for (const auto& c : cases) {
        engine.processVDM(1, parts[0], vdm[1]);
        const std::string pending = engine.PendingPayload(1);
        feed(c.line);
        EXPECT_EQ(engine.LastAISMessageID(1), -99) << c.what;
        EXPECT_EQ(engine.PendingPayload(1), pending) << c.what;
        EXPECT_TRUE(store().MMSIZero[1]) << c.what;
    }
    EXPECT_EQ(store().TargetCount[1], 0);
    // The pending message survives the rejected lines.
    feed(parts[1]);
    EXPECT_EQ(slots().Msg5.Name, "KEPT                ");
    // The number that does not fit is reported as the sentence parsers report it.
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(notices.notices[0].text, "Error  6 : Overflow  VDM-message : !AIVDM,99999,1,,A,13u?etP,0*00");
    EXPECT_EQ(notices.notices[0].title, "Error ExtractVDM");
    // Repeats are counted, not shown again; a number beyond any double is reported too.
    feed("!AIVDM,1,99999,,A,13u?etP,0*00");
    feed("!AIVDM,1,1,1e999,A,13u?etP,0*00");
    EXPECT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(engine.vdmNotices().suppressedTotal(), 2);
    EXPECT_EQ(engine.LastAISMessageID(1), -99);
}

TEST_F(Assembly, PendingTextNeverOutgrowsThePayloadArray) {
    const std::string chunk(60, 'w');
    engine.processVDM(1, test::vdm(9, 1, "1", "A", "1" + chunk, 0), vdm[1]);
    for (int k = 2; k <= 8; ++k) {
        engine.processVDM(1, test::vdm(9, k, "1", "A", chunk, 0), vdm[1]);
        EXPECT_LE(engine.PendingPayload(1).size(), static_cast<std::size_t>(AisBits::MaxChars));
    }
    engine.processVDM(1, test::vdm(9, 9, "1", "A", chunk, 0), vdm[1]);
    EXPECT_EQ(engine.LastAISMessageID(1), 1);
    EXPECT_EQ(engine.lastMessageBits(1), 1008);
}

TEST_F(Assembly, SystemsAssembleSeparately) {
    const auto one = vdmMessage(voyage(244670316, "ONE"), 40, "1");
    const auto two = vdmMessage(voyage(244670317, "TWO"), 40, "1");
    engine.processVDM(1, one[0], vdm[1]);
    engine.processVDM(2, two[0], vdm[2]);
    engine.processVDM(1, one[1], vdm[1]);
    engine.processVDM(2, two[1], vdm[2]);
    EXPECT_EQ(engine.AISMessages(1).Msg5.Name.substr(0, 3), "ONE");
    EXPECT_EQ(engine.AISMessages(2).Msg5.Name.substr(0, 3), "TWO");
    EXPECT_THROW(engine.processVDM(5, one[0], vdm[1]), RuntimeError);
}

}  // namespace
}  // namespace tiderune::test
