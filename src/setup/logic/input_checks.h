#pragma once
// The checks that run when the focus leaves an input of the setup dialog, with their exact
// messages, and the history of the last ten IP addresses.
#include <optional>
#include <string>
#include <string_view>

#include "core/config.h"

namespace tiderune {

// A dotted IPv4 address of at most 15 characters: four whole numbers 0-255 (the first
// 1-255), leading zeros allowed.
bool isValidIPv4(std::string_view text);
std::string invalidIPMessage(std::string_view text);

// A port box: the value (a decimal comma reads as a point) must be a whole number 1-65535.
// Gives the box's new text (the number with a leading blank, " 8040"), or nothing.
std::optional<std::string> checkedPortText(std::string_view text);
std::string invalidPortMessage(std::string_view text);

// The three limit lists refuse a value of exactly 0.
enum class LimitList { Hdop, Svs, Outliers };
bool isRefusedLimit(std::string_view text);
const char* zeroLimitMessage(LimitList list);

// What a new valid address did to the history, and so what the address list must do.
enum class IPHistoryChange {
    None,      // already in the history
    Appended,  // added as the last entry: add it at the end of the list
    Refilled,  // the oldest dropped: fill the list again and select the last entry
};
// Puts a valid address into the history kept with the setup (IPList, IPListCount).
IPHistoryChange ReArrange_IP_List(Config& config, const std::string& address);
// The entries the history holds, oldest first.
int ipHistoryCount(const Config& config);

// A reference name goes into the reference positions file between double quotes, one
// record per line: a quote or a line break in it cannot be stored.
bool isStorableReferenceName(std::string_view name);
inline constexpr const char* UnstorableReferenceNameMessage =
    "The reference name can not contain a double quote or a line break!";

}  // namespace tiderune
