// The program's 8-bit text: each byte's character in the windows and in UTF-8, typed text
// back into bytes, and the one way a file's name is shown.
#include "core/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace tiderune {
namespace {

// The bytes where the code page differs from Latin-1, and a few around them: each byte has a
// character of its own and comes back from it unchanged.
TEST(CodePage, EachByteItsCharacterAndBack) {
    struct Case {
        unsigned char byte;
        char16_t shown;
        const char* utf8;
        bool control;
    };
    const Case cases[] = {
        {0x7E, u'~', "~", false},          {0x7F, u'\x7F', "\x7F", true},
        {0x80, u'€', "\xE2\x82\xAC", false}, {0x81, u'\x81', "\xC2\x81", true},
        {0x82, u'‚', "\xE2\x80\x9A", false}, {0x83, u'ƒ', "\xC6\x92", false},
        {0x84, u'„', "\xE2\x80\x9E", false}, {0x85, u'…', "\xE2\x80\xA6", false},
        {0x86, u'†', "\xE2\x80\xA0", false}, {0x87, u'‡', "\xE2\x80\xA1", false},
        {0x88, u'ˆ', "\xCB\x86", false},     {0x89, u'‰', "\xE2\x80\xB0", false},
        {0x8A, u'Š', "\xC5\xA0", false},     {0x8B, u'‹', "\xE2\x80\xB9", false},
        {0x8C, u'Œ', "\xC5\x92", false},     {0x8D, u'\x8D', "\xC2\x8D", true},
        {0x8E, u'Ž', "\xC5\xBD", false},     {0x8F, u'\x8F', "\xC2\x8F", true},
        {0x90, u'\x90', "\xC2\x90", true},   {0x91, u'‘', "\xE2\x80\x98", false},
        {0x92, u'’', "\xE2\x80\x99", false}, {0x93, u'“', "\xE2\x80\x9C", false},
        {0x94, u'”', "\xE2\x80\x9D", false}, {0x95, u'•', "\xE2\x80\xA2", false},
        {0x96, u'–', "\xE2\x80\x93", false}, {0x97, u'—', "\xE2\x80\x94", false},
        {0x98, u'˜', "\xCB\x9C", false},     {0x99, u'™', "\xE2\x84\xA2", false},
        {0x9A, u'š', "\xC5\xA1", false},     {0x9B, u'›', "\xE2\x80\xBA", false},
        {0x9C, u'œ', "\xC5\x93", false},     {0x9D, u'\x9D', "\xC2\x9D", true},
        {0x9E, u'ž', "\xC5\xBE", false},     {0x9F, u'Ÿ', "\xC5\xB8", false},
        {0xA0, u'\xA0', "\xC2\xA0", false},  {0xB0, u'°', "\xC2\xB0", false},
        {0xE6, u'æ', "\xC3\xA6", false},     {0xFF, u'ÿ', "\xC3\xBF", false},
        {0x09, u'\t', "\t", true},           {0x1B, u'\x1B', "\x1B", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.byte));
        const std::string byte(1, static_cast<char>(c.byte));
        char16_t shown = 0;
        widenText(byte, &shown);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(narrowText(std::u16string(1, c.shown)), byte);
        std::string utf8 = "a";
        appendTextAsUtf8(utf8, byte + "b");
        EXPECT_EQ(utf8, std::string("a") + c.utf8 + "b");
        EXPECT_EQ(isControlByte(byte[0]), c.control);
    }
    // Every byte, in one text: the way there and back loses none.
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::u16string shown(all.size(), u'\0');
    widenText(all, shown.data());
    EXPECT_EQ(narrowText(shown), all);
}

// Typed text into bytes: one byte a unit, "?" for what the code page cannot hold.
TEST(CodePage, TypedTextBecomesBytes) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"Båt 5€ “Øst” – ™", "B\xE5t 5\x80 \x93\xD8st\x94 \x96 \x99"},
        {u"Łódź", "?\xF3" "d?"},
        // A control character the code page gives no byte of its own.
        {u"\u0080\u0081\u009F", "?\x81?"},
        // A character beyond U+FFFF takes two units: "?" for each, so positions stay.
        {u"a\U0001F6A2b", "a??b"},
        {u"", ""},
    };
    for (const auto& [typed, bytes] : cases) EXPECT_EQ(narrowText(typed), bytes) << bytes;
}

// A file's name is the file system's bytes: UTF-8, or the code page's bytes of an older setup
// file, or both. Every window and message shows it as one text; the report spells it in
// UTF-8.
TEST(CodePage, FileNamesShownAlike) {
    struct Case {
        std::string name;
        std::string shown;
        std::string utf8;
    };
    const Case cases[] = {
        {"/home/m\xC3\xA5ling/caf\xC3\xA9.nmea", "/home/m\xE5ling/caf\xE9.nmea", "/home/m\xC3\xA5ling/caf\xC3\xA9.nmea"},
        {"/data/caf\xE9.nmea", "/data/caf\xE9.nmea", "/data/caf\xC3\xA9.nmea"},
        {"m\xC3\xA5ling/caf\xE9.nmea", "m\xE5ling/caf\xE9.nmea", "m\xC3\xA5ling/caf\xC3\xA9.nmea"},
        {"\x80uro \x96 \xE6", "\x80uro \x96 \xE6", "\xE2\x82\xACuro \xE2\x80\x93 \xC3\xA6"},
        {"\xC2\xB0 \xC3\xBF \xC3\xA6", "\xB0 \xFF \xE6", "\xC2\xB0 \xC3\xBF \xC3\xA6"},
        // The code page's letters in UTF-8; beyond it (a ship, Polish, Cyrillic) a "?".
        {"\xE2\x82\xAC \xE2\x80\x9C \xF0\x9F\x9A\xA2 x", "\x80 \x93 ? x", "\xE2\x82\xAC \xE2\x80\x9C \xF0\x9F\x9A\xA2 x"},
        {"\xC4\x85 \xC5\x81 \xD0\x96", "? ? ?", "\xC4\x85 \xC5\x81 \xD0\x96"},
        // No UTF-8: cut sequences, an overlong "/", a surrogate.
        {"\xC3", "\xC3", "\xC3\x83"},
        {"\xC3x\xE2\x82", "\xC3x\xE2\x82", "\xC3\x83x\xC3\xA2\xE2\x80\x9A"},
        {"\xC0\xAF", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
        {"\xED\xA0\x80", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fileNameText(c.name), c.shown) << c.name;
        std::string utf8;
        appendFileNameAsUtf8(utf8, c.name);
        EXPECT_EQ(utf8, c.utf8) << c.name;
    }
}

}  // namespace
}  // namespace tiderune
