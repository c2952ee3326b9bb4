#include <gtest/gtest.h>

#include "ais/ais_tables.h"

namespace tiderune {
namespace {

class AisTablesTest : public ::testing::Test {
protected:
    const AisTables t = InitAISTables();
};

TEST_F(AisTablesTest, ShipTypeRows) {
    struct Case {
        int code;
        const char* full;
        const char* shortText;
    } cases[] = {
        {0, "Not defined", "Not defined"},
        {5, "", "Not defined"},
        {15, "Reserved for future use - Reserved for future use", "Reserved for future use"},
        {29, "WIG (Wing In Ground) - No additional information", "WIG (Wing In Ground)"},
        {33, "Vessel-Engaged in dredging or underwater operation", "Vessel-Engaged in dredging or underwater operation"},
        {35, "Vessel-Engaged in military operation", "Vessel-Engaged in military operation"},
        {39, "Vessel-Reserved for future use", "Vessel-Reserved for future use"},
        {54, "Vessel with antipollution facilities or equipment", "Vessel with antipollution facilities or equipment"},
        {56, " not used", " not used"},
        {71, "Cargo ship - Carrying DG,HS or MP IMO hazard or pollutant category X", "Cargo ship"},
        {79, "Cargo ship - No additional information", "Cargo ship"},
        {85, "Tanker - Reserved for future use", "Tanker"},
        {99, "Other type of ship - No additional information", "Other type of ship"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(t.ShipTypeText[c.code], c.full) << c.code;
        EXPECT_EQ(t.ShipTypeShortText[c.code], c.shortText) << c.code;
    }
    for (int code = 100; code <= 255; ++code) EXPECT_EQ(t.ShipTypeText[code], "") << code;
    EXPECT_EQ(t.ShipTypeShortText[100], "");
}

TEST_F(AisTablesTest, CodeTables) {
    EXPECT_EQ(t.NavStatusText[12], "Power driven vessel pushing ahead or towing alongside");
    EXPECT_EQ(t.NavStatusText[15], "AIS-SART Test mode");
    EXPECT_EQ(t.PositionAccuracyText[1], "High accuracy, <10 m");
    EXPECT_EQ(t.HazardCategoryText[4], "Carrying DG,HS or MP IMO hazard or pollutant category OS");
    EXPECT_EQ(t.HazardCategoryText[7], "Reserved for future use");
    EXPECT_EQ(t.EPFDTypeText[14], "not used");
    EXPECT_EQ(t.EPFDTypeText[15], "Internal GNSS");
    EXPECT_EQ(t.EPFDTypeText[16], "not used");
    EXPECT_EQ(t.AtoNTypeText[6], "Ligth - With sectors");
    EXPECT_EQ(t.AtoNTypeText[14], "Beacon - Starboard hand ");
    EXPECT_EQ(t.AtoNTypeText[31], "Light vessel/LANBY/Rigs");
}

TEST_F(AisTablesTest, Countries) {
    int filled = 0;
    for (const auto& row : t.MIDCountry) filled += row.empty() ? 0 : 1;
    EXPECT_EQ(filled, 270);
    EXPECT_EQ(t.MIDCountry[0], "");
    EXPECT_EQ(t.MIDCountry[241], "");
    for (int mid : {209, 210, 212}) EXPECT_EQ(t.MIDCountry[mid], "Cyprus");
    EXPECT_EQ(t.MIDCountry[619], "C\xF4te d'Ivoire");  // Latin-1, one byte
    EXPECT_EQ(t.MIDCountry[745], "Guiana (French dep of");
    EXPECT_EQ(t.MIDCountry[775], "Venezuela");
}

TEST_F(AisTablesTest, LookupOutsideATableReadsAsAnEmptyRow) {
    EXPECT_EQ(lookupText(t.MIDCountry, 1073), "");
    EXPECT_EQ(lookupText(t.ShipTypeShortText, 255), "");
    EXPECT_EQ(lookupText(t.NavStatusText, -1), "");
    EXPECT_EQ(lookupText(t.NavStatusText, 1), "At anchor");
}

}  // namespace
}  // namespace tiderune
