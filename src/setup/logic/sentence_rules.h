#pragma once
// The sentence boxes of the setup dialog and the rules between them: a system takes each
// quantity (position, speed and course, date, true heading) from one sentence type only, so
// ticking a box unticks the boxes that carry the same quantity, each with its message.
#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records.h"

namespace tiderune {

// In the order of the "NMEA Messages" page. LCD, GLC, HDM, HDG, DBK and DBS can be ticked
// but nothing loads, stores or reads them.
enum class SentenceBox {
    GGA, GNS, GLL, RMC, VTG, GSA, GST, GSV, ZDA, LCD, GLC,
    HDT, ATT, ROT, VHW, HDM, HDG,
    DBT, DBK, DBS,
    TTM, VDM,
};
inline constexpr int SentenceBoxCount = 22;

struct SentenceBoxInfo {
    SentenceBox box;
    const char* control;  // "chkGGA"
    const char* caption;
    std::optional<SentenceType> type;  // none for the boxes that are only shown
};
const std::array<SentenceBoxInfo, SentenceBoxCount>& sentenceBoxes();
const SentenceBoxInfo& sentenceBoxInfo(SentenceBox box);
// The box of a stored sentence name ("GGA" ... "VDM"); none for any other name.
std::optional<SentenceBox> boxOfStoredName(std::string_view name);

using TickedBoxes = std::bitset<SentenceBoxCount>;
inline bool ticked(const TickedBoxes& t, SentenceBox b) { return t[static_cast<std::size_t>(b)]; }
inline void setTicked(TickedBoxes& t, SentenceBox b, bool on) { t[static_cast<std::size_t>(b)] = on; }

// A box that gives way when another is ticked, with the message shown before it is unticked.
struct Conflict {
    SentenceBox box;
    std::string message;
};
// The boxes tested when `box` has just been ticked, in the order they are tested.
std::vector<Conflict> conflictsOf(SentenceBox box);

// Ticks `box` in `boxes` and unticks what conflicts with it; returns the messages in the
// order they are shown. Unticking (on = false) shows nothing and touches nothing else.
std::vector<std::string> clickBox(TickedBoxes& boxes, SentenceBox box, bool on);

// The stored sentence names of the ticked boxes, in the program's fixed order (GGA, GNS,
// GLL, RMC, VTG, GSA, GST, GSV, ZDA, HDT, ATT, ROT, VHW, DBT, TTM, VDM).
std::vector<std::string> storedSentenceNames(const TickedBoxes& boxes);
// True when none of the position sentences GGA, GNS, GLL, RMC is ticked.
bool noPositionSentence(const TickedBoxes& boxes);

}  // namespace tiderune
