#include <gtest/gtest.h>

#include "ais/ais_bits.h"
#include "ais_sentence_builder.h"

namespace tiderune {
namespace {

using test::AisBitWriter;

TEST(AisBits, ArmourCharactersMapToTheirSixBitValues) {
    struct Case {
        unsigned char c;
        int value;
    } cases[] = {{'0', 0}, {'9', 9}, {'@', 16}, {'W', 39}, {'`', 40}, {'a', 41}, {'w', 63}};
    for (const auto& c : cases) EXPECT_EQ(CharTo6Bit(c.c) & 0x3F, c.value) << c.c;
}

TEST(AisBits, EveryByteDearmoursWithoutComplaint) {
    // Binary garbage on the radio link: every byte, also those above 127, gives six bits:
    // the armour's rule (subtract 48, then 8 more past 40) in six bits, wherever the
    // character falls in the bit array.
    std::string all;
    for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
    for (std::size_t start = 0; start < all.size(); start += 100) {
        const std::string part = all.substr(start, 100);
        const AisBits bits(part, 0);
        for (std::size_t i = 0; i < part.size(); ++i) {
            const int c = static_cast<unsigned char>(part[i]);
            const int expected = (c - 48 > 40 ? c - 56 : c - 48) & 0x3F;
            const int first = static_cast<int>(i) * 6 + 1;
            EXPECT_EQ(GetBitsValue(bits, first, first + 5), expected) << "byte " << c;
        }
    }
}

TEST(AisBits, ValueToBitsPutsTheMostSignificantBitFirst) {
    std::array<bool, 8> f{};
    ValueToBits(0x95, f);
    EXPECT_EQ(f, (std::array<bool, 8>{true, false, false, true, false, true, false, true}));
}

TEST(AisBits, FieldValues) {
    struct Case {
        std::uint64_t raw;
        int width;
        bool isSigned;
        bool naCheck;
        double expected;
    } cases[] = {
        {127, 8, true, false, 127},     {128, 8, true, false, 128},  // 1 followed by zeros reads positive
        {129, 8, true, false, -127},    {255, 8, true, false, -1},
        {15, 4, false, true, -9999},    {15, 4, false, false, 15},   {14, 4, false, true, 14},
        {0x3FFFFFFF, 30, false, false, 1073741823},                  {0x8000000, 28, true, false, 0x8000000},
        {0xFFFFFFF, 28, true, false, -1},
    };
    for (const auto& c : cases) {
        AisBitWriter w;
        w.u(5, 3).u(c.raw, c.width);
        const AisBits bits(w.payload(), 0);
        EXPECT_EQ(GetBitsValue(bits, 4, 3 + c.width, c.isSigned, c.naCheck), c.expected) << c.raw;
    }
}

TEST(AisBits, ReadsStopAtTheUsableBits) {
    AisBitWriter w;
    w.u(0xFFF, 12);  // two characters "ww"
    // With 4 fill bits only 8 of the 12 bits belong to the message.
    const AisBits bits(w.payload(), 4);
    EXPECT_EQ(bits.usableBits(), 8);
    EXPECT_EQ(GetBitsValue(bits, 1, 12), 0xFF0);
    EXPECT_EQ(GetBitsValue(bits, 9, 12, false, true), 0);  // beyond the payload: 0, not "all set"
    EXPECT_EQ(GetBitsValue(bits, 2000, 2010), 0);
    // Fill bits outside 0-5 are taken as none.
    EXPECT_EQ(AisBits(w.payload(), 6).usableBits(), 12);
    EXPECT_EQ(AisBits(w.payload(), -9999).usableBits(), 12);
}

TEST(AisBits, OnlyTheFirst168CharactersAreDearmoured) {
    const std::string payload(200, 'w');
    const AisBits bits(payload, 0);
    EXPECT_EQ(bits.payloadChars(), 200);
    EXPECT_EQ(bits.usableBits(), 1008);
    EXPECT_TRUE(bits.bit(1008));
    EXPECT_FALSE(bits.bit(1009));
}

TEST(AisBits, TextsTurnAtSignsIntoBlanksAndStopAtTheEnd) {
    AisBitWriter w;
    w.text("AB1 -?", 8);  // two trailing "@"
    const AisBits bits(w.payload(), 0);
    EXPECT_EQ(GetBitsText(bits, 1, 48), "AB1 -?  ");
    EXPECT_EQ(GetBitsText(bits, 1, 43), "AB1 -?  ");  // a character starting at or before `last` counts
    EXPECT_EQ(GetBitsText(bits, 1, 42), "AB1 -? ");
    EXPECT_EQ(GetBitsText(bits, 1, 120), "AB1 -?  ");  // nothing past the payload
    EXPECT_EQ(GetBitsText(AisBits(w.payload(), 2), 1, 48), "AB1 -? ");
    EXPECT_EQ(SixBitToChar(0), ' ');
    EXPECT_EQ(SixBitToChar(1), 'A');
    EXPECT_EQ(SixBitToChar(32), ' ');
    EXPECT_EQ(SixBitToChar(63), '?');
}

}  // namespace
}  // namespace tiderune

namespace tiderune {
namespace {

TEST(AisBits, FieldsReadTheSameAcrossWordBoundaries) {
    // Every field position and width against a plain bit-by-bit sum, on payloads whose
    // length and fill leave the last bits unusable, also where the fill bits reach into the
    // next 64 bits.
    struct Case {
        int chars, fill, usable;
    } cases[] = {{150, 3, 897}, {11, 2, 64}, {22, 5, 127}};
    for (const Case& c : cases) {
        std::string payload;
        unsigned seed = 12345;
        for (int i = 0; i < c.chars; ++i) {
            seed = seed * 1103515245 + 12345;
            payload.push_back(static_cast<char>(48 + (seed >> 16) % 40));
        }
        const AisBits bits(payload, c.fill);
        ASSERT_EQ(bits.usableBits(), c.usable);
        for (int first = 1; first <= c.usable + 8; first += 7) {
            for (int width = 1; width <= 32; ++width) {
                const int last = first + width - 1;
                double expected = 0;
                for (int i = first; i <= last; ++i) expected = expected * 2 + (bits.bit(i) ? 1 : 0);
                ASSERT_EQ(GetBitsValue(bits, first, last), expected) << c.chars << ": " << first << "+" << width;
            }
        }
    }
}

}  // namespace
}  // namespace tiderune
