#include "setup/logic/sentence_rules.h"

namespace tiderune {

namespace {
using B = SentenceBox;
using T = SentenceType;

const std::array<SentenceBoxInfo, SentenceBoxCount> Boxes = {{
    {B::GGA, "chkGGA", "GGA - GNSS fix data, Time, Pos", T::GGA},
    {B::GNS, "chkGNS", "GNS - GNSS fix data", T::GNS},
    {B::GLL, "chkGLL", "GLL - Geographic position Lat/Lon", T::GLL},
    {B::RMC, "chkRMC", "RMC - Recommended Min Nav info", T::RMC},
    {B::VTG, "chkVTG", "VTG - Velocity and track made good", T::VTG},
    {B::GSA, "chkGSA", "GSA - GNSS dop and active satellites", T::GSA},
    {B::GST, "chkGST", "GST - GNSS Noise statistics ", T::GST},
    {B::GSV, "chkGSV", "GSV - GNSS Satellites in view", T::GSV},
    {B::ZDA, "chkZDA", "ZDA - Time and date", T::ZDA},
    {B::LCD, "chkLCD", "LCD - Loran C signal status", std::nullopt},
    {B::GLC, "chkGLC", "GLC - Geographic pos, Loran-C", std::nullopt},
    {B::HDT, "chkHDT", "HDT - True heading", T::HDT},
    {B::ATT, "chkATT", "ATT - Hdg/Pitch/Roll    ( Furuno)", T::ATT},
    {B::ROT, "chkROT", "ROT - Rate Of Turn", T::ROT},
    {B::VHW, "chkVHW", "VHW - Water speed and hdg", T::VHW},
    {B::HDM, "chkHDM", "HDM - Magnetic heading", std::nullopt},
    {B::HDG, "chkHDG", "HDG - Heading, dev. and var.", std::nullopt},
    {B::DBT, "chkDBT", "DBT- Depth below transducer", T::DBT},
    {B::DBK, "chkDBK", "DBK- Depth below keel", std::nullopt},
    {B::DBS, "chkDBS", "DBS- Depth below surface", std::nullopt},
    {B::TTM, "chkTTM", "TTM - Tracked Target Message", T::TTM},
    {B::VDM, "chkVDM", "VDM/VDO - VHF data link message", T::VDM},
}};

std::string positionMessage(SentenceBox unticked) {
    return "Only one of GGA/GNS/GLL/RMC message, containing position data, can be enabled simultaneously. " +
           std::string(sentenceTypeName(*sentenceBoxInfo(unticked).type)) + " disabled.";
}
std::string pairMessage(const char* pair, const char* what, const char* unticked) {
    return std::string("Only one of ") + pair + " message, containing " + what +
           ", can be enabled simultaneously. " + unticked + " disabled.";
}
}  // namespace

const std::array<SentenceBoxInfo, SentenceBoxCount>& sentenceBoxes() { return Boxes; }
const SentenceBoxInfo& sentenceBoxInfo(SentenceBox box) { return Boxes[static_cast<std::size_t>(box)]; }

std::optional<SentenceBox> boxOfStoredName(std::string_view name) {
    for (const SentenceBoxInfo& b : Boxes)
        if (b.type && sentenceTypeName(*b.type) == name) return b.box;
    return std::nullopt;
}

std::vector<Conflict> conflictsOf(SentenceBox box) {
    auto position = [](std::initializer_list<SentenceBox> others) {
        std::vector<Conflict> c;
        for (SentenceBox o : others) c.push_back({o, positionMessage(o)});
        return c;
    };
    switch (box) {
    case B::GGA: return position({B::GNS, B::GLL, B::RMC});
    case B::GNS: return position({B::GGA, B::GLL, B::RMC});
    case B::GLL: return position({B::GGA, B::GNS, B::RMC});
    case B::RMC: {
        std::vector<Conflict> c = position({B::GNS, B::GLL, B::GGA});
        c.push_back({B::VTG, pairMessage("RMC/VTG", "SOG/COG", "VTG")});
        c.push_back({B::ZDA, pairMessage("RMC/ZDA", "date", "ZDA")});
        return c;
    }
    case B::VTG: return {{B::RMC, pairMessage("RMC/VTG", "SOG/COG", "RMC")}};
    case B::ZDA: return {{B::RMC, pairMessage("RMC/ZDA", "date", "RMC")}};
    case B::HDT: return {{B::ATT, pairMessage("HDT/ATT", "true heading", "ATT")}};
    case B::ATT: return {{B::HDT, pairMessage("HDT/ATT", "true heading", "HDT")}};
    default: return {};
    }
}

std::vector<std::string> clickBox(TickedBoxes& boxes, SentenceBox box, bool on) {
    std::vector<std::string> messages;
    setTicked(boxes, box, on);
    if (!on) return messages;
    for (const Conflict& c : conflictsOf(box)) {
        if (!ticked(boxes, c.box)) continue;
        messages.push_back(c.message);
        setTicked(boxes, c.box, false);
    }
    return messages;
}

std::vector<std::string> storedSentenceNames(const TickedBoxes& boxes) {
    // The page order of the stored boxes is the program's sentence order.
    std::vector<std::string> names;
    for (const SentenceBoxInfo& b : Boxes)
        if (b.type && ticked(boxes, b.box)) names.emplace_back(sentenceTypeName(*b.type));
    return names;
}

bool noPositionSentence(const TickedBoxes& boxes) {
    return !ticked(boxes, B::GGA) && !ticked(boxes, B::GNS) && !ticked(boxes, B::GLL) && !ticked(boxes, B::RMC);
}

}  // namespace tiderune
