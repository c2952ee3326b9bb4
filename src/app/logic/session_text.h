#pragma once
// The session text's line limit: the text printed at the head of every report keeps every
// line at 60 characters or fewer. The editor applies it after every change, so typing the
// 61st character of a line moves that character to a new line, even inside a word.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tiderune {

inline constexpr std::size_t SessionTextLineLength = 60;

// Where line breaks must go: the positions (0-based, ascending) of the characters that are
// to start a new line. A CR or LF in the text ends a line.
std::vector<std::size_t> sessionTextBreaks(std::string_view text);

// The text with `lineBreak` put before each of those characters.
std::string wrapSessionText(std::string_view text, std::string_view lineBreak = "\r\n");

}  // namespace tiderune
