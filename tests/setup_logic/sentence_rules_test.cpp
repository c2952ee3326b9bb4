#include "setup/logic/sentence_rules.h"

#include <gtest/gtest.h>

#include <random>

namespace tiderune {
namespace {

using B = SentenceBox;

std::string position(const char* t) {
    return std::string("Only one of GGA/GNS/GLL/RMC message, containing position data, can be enabled simultaneously. ") +
           t + " disabled.";
}
const std::string RmcVtg = "Only one of RMC/VTG message, containing SOG/COG, can be enabled simultaneously. ";
const std::string RmcZda = "Only one of RMC/ZDA message, containing date, can be enabled simultaneously. ";
const std::string HdtAtt = "Only one of HDT/ATT message, containing true heading, can be enabled simultaneously. ";

TickedBoxes boxes(std::initializer_list<B> on) {
    TickedBoxes t;
    for (B b : on) setTicked(t, b, true);
    return t;
}

TEST(SentenceRules, TickingGivesWayWithMessagesInOrder) {
    struct Case {
        TickedBoxes before;
        B box;
        std::vector<std::string> messages;
        TickedBoxes after;
    };
    const Case cases[] = {
        {boxes({B::GGA}), B::RMC, {position("GGA")}, boxes({B::RMC})},
        {boxes({B::VTG, B::ZDA}), B::RMC, {RmcVtg + "VTG disabled.", RmcZda + "ZDA disabled."}, boxes({B::RMC})},
        {boxes({B::GLL, B::VTG, B::ZDA, B::GSV}), B::RMC,
         {position("GLL"), RmcVtg + "VTG disabled.", RmcZda + "ZDA disabled."}, boxes({B::RMC, B::GSV})},
        {boxes({B::RMC}), B::VTG, {RmcVtg + "RMC disabled."}, boxes({B::VTG})},
        {boxes({B::RMC}), B::ZDA, {RmcZda + "RMC disabled."}, boxes({B::ZDA})},
        {boxes({B::ATT}), B::HDT, {HdtAtt + "ATT disabled."}, boxes({B::HDT})},
        {boxes({B::HDT}), B::ATT, {HdtAtt + "HDT disabled."}, boxes({B::ATT})},
        {boxes({B::GGA, B::VTG, B::ZDA}), B::GNS, {position("GGA")}, boxes({B::GNS, B::VTG, B::ZDA})},
        {boxes({B::HDM, B::HDG, B::LCD}), B::HDT, {}, boxes({B::HDT, B::HDM, B::HDG, B::LCD})},
    };
    for (const Case& c : cases) {
        TickedBoxes t = c.before;
        EXPECT_EQ(clickBox(t, c.box, true), c.messages) << sentenceBoxInfo(c.box).control;
        EXPECT_EQ(t, c.after) << sentenceBoxInfo(c.box).control;
    }
    TickedBoxes t = boxes({B::GGA, B::VTG});
    EXPECT_TRUE(clickBox(t, B::GGA, false).empty());
    EXPECT_EQ(t, boxes({B::VTG}));
}

TEST(SentenceRules, RandomClicksKeepOneSourcePerQuantity) {
    std::mt19937 rng(16);
    TickedBoxes t;
    for (int i = 0; i < 20000; ++i) {
        const B b = static_cast<B>(rng() % SentenceBoxCount);
        const bool on = rng() % 3 != 0;
        clickBox(t, b, on);
        EXPECT_EQ(ticked(t, b), on);  // the box clicked always keeps its new state
        const int positions = ticked(t, B::GGA) + ticked(t, B::GNS) + ticked(t, B::GLL) + ticked(t, B::RMC);
        ASSERT_LE(positions, 1);
        ASSERT_FALSE(ticked(t, B::RMC) && (ticked(t, B::VTG) || ticked(t, B::ZDA)));
        ASSERT_FALSE(ticked(t, B::HDT) && ticked(t, B::ATT));
    }
}

TEST(SentenceRules, StoredNamesFollowTheFixedOrderAndSkipTheShownOnlyBoxes) {
    EXPECT_EQ(storedSentenceNames(boxes({B::GSV, B::VTG, B::DBK, B::LCD})), (std::vector<std::string>{"VTG", "GSV"}));
    EXPECT_EQ(storedSentenceNames(boxes({B::VDM, B::TTM, B::DBT, B::VHW, B::ROT, B::ATT, B::HDT, B::ZDA, B::GSV,
                                         B::GST, B::GSA, B::VTG, B::GGA})),
              (std::vector<std::string>{"GGA", "VTG", "GSA", "GST", "GSV", "ZDA", "HDT", "ATT", "ROT", "VHW", "DBT",
                                        "TTM", "VDM"}));
    EXPECT_TRUE(noPositionSentence(boxes({B::GSV, B::VTG})));
    for (B b : {B::GGA, B::GNS, B::GLL, B::RMC}) EXPECT_FALSE(noPositionSentence(boxes({b}))) << sentenceBoxInfo(b).control;
    EXPECT_EQ(boxOfStoredName("VDM"), B::VDM);
    EXPECT_EQ(boxOfStoredName("HDM"), std::nullopt);
    EXPECT_EQ(boxOfStoredName("gga"), std::nullopt);
}

}  // namespace
}  // namespace tiderune
