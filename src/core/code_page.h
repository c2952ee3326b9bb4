#pragma once
// The program's 8-bit text and every conversion of it. The core keeps text as bytes: the
// setup file, the raw-data logs, the sentences and the texts the windows show. Those bytes
// are the Windows ANSI code page 1252, as the setup files of the program's Windows
// predecessors hold them: Latin-1, with letters such as € ‚ „ … – — ‘ ’ “ ” ™ in 0x80-0x9F.
// The windows (platform/qt/qt_edge.h), the session report and the file names the program
// makes all turn bytes into text here, and the windows' typed text comes back here.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tiderune {

// The character of each byte. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the control characters of the same number, as Windows itself
// reads them: every byte has a character of its own, so that any bytes (a device's noise, a
// setup file of another code page) come back unchanged from a window.
inline constexpr std::array<char16_t, 256> CodePageChars = [] {
    constexpr char16_t High[32] = {
        u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
        u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
        u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
        u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
    };
    std::array<char16_t, 256> t{};
    for (int b = 0; b < 256; ++b) t[static_cast<std::size_t>(b)] = static_cast<char16_t>(b);
    for (int i = 0; i < 32; ++i) t[static_cast<std::size_t>(0x80 + i)] = High[i];
    return t;
}();

inline char16_t charOf(char byte) noexcept { return CodePageChars[static_cast<unsigned char>(byte)]; }

// A control character: below the blank, DEL, and the undefined bytes above (C1 controls).
inline bool isControlByte(char byte) noexcept {
    const char16_t c = charOf(byte);
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// `bytes` as UTF-16 at `out`, one unit a byte (room for bytes.size() units).
void widenText(std::string_view bytes, char16_t* out) noexcept;

// The byte of a UTF-16 unit, "?" for a character the code page cannot hold (a "ł" typed
// into a setup box; a character beyond U+FFFF gives "?" for each of its two units).
char narrowChar(char16_t c) noexcept;
// Typed text as the program's bytes, one byte a unit (narrowChar), so that the positions in
// a text box are the positions in its bytes.
std::string narrowText(std::u16string_view text);

// `bytes` at the end of `out` in UTF-8: the report and the file names, which other programs
// read.
void appendTextAsUtf8(std::string& out, std::string_view bytes);

// A file's name as the program's text, the one way every window and message shows a name. A
// name is the file system's bytes: UTF-8 on this system, as a file dialog hands it over, or
// the code page's bytes from an older setup file. A whole UTF-8 sequence is read as its
// character, any other byte as the code page's; a character the code page cannot hold
// shows as "?".
std::string fileNameText(std::string_view name);
// The same name in UTF-8 (the session report): its UTF-8 sequences as they are, every other
// byte as the code page's character.
void appendFileNameAsUtf8(std::string& out, std::string_view name);

}  // namespace tiderune
