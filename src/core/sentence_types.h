#pragma once
// What each sentence type is, in one table: its name, how the intake recognises it, where
// the last sentence's raw text is kept, its analyse flag, how many fields its parser splits
// and the parser itself. The intake, the records, the setup and the window kinds all read
// it; adding a type means adding its row (and its record and parser).
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "config.h"
#include "parsers.h"
#include "records.h"

namespace tiderune {

struct SentenceTypeInfo {
    // Three characters at a 1-based position of the working text.
    struct Mark {
        int position = 0;  // 0: no mark
        std::string_view text;
    };
    using Parser = void (*)(std::string_view text, NMEAMessageSet& set, ParserErrorHandler* errors);

    SentenceType type;
    std::string_view name;  // "GGA": the setup file's, the parser messages' and the captions' name
    std::array<Mark, 2> marks;  // recognised when either mark is found
    std::string NMEAMessageSet::*text;  // the raw text of the last sentence of the type
    bool SystemSetup::*analysed;
    // The parser splits `fields` fields in `passes` passes: with passes = fields - 1 surplus
    // commas stay in the last field; with passes = fields they are dropped.
    int fields;
    int passes;
    bool reportsErrors;  // GSA, GST and GSV skip bad fields silently
    Parser parse;        // nullptr: the AIS assembly fills the record (VDM and VDO)
};

namespace detail {
template <auto Extract, auto Record>
void parseInto(std::string_view text, NMEAMessageSet& set, ParserErrorHandler* errors) {
    Extract(text, set.*Record, errors);
}
}  // namespace detail

// In the order of the recognition table, which is also SentenceType's order.
// clang-format off
inline constexpr std::array<SentenceTypeInfo, SentenceTypeCount> SentenceTypes = {{
    {SentenceType::GGA, "GGA", {{{4, "GGA"}}}, &NMEAMessageSet::GGAText, &SystemSetup::GGAAnalysed, 15, 14, true,
     detail::parseInto<&ExtractGGA, &NMEAMessageSet::GGA>},
    {SentenceType::GNS, "GNS", {{{4, "GNS"}}}, &NMEAMessageSet::GNSText, &SystemSetup::GNSAnalysed, 13, 12, true,
     detail::parseInto<&ExtractGNS, &NMEAMessageSet::GNS>},
    {SentenceType::GLL, "GLL", {{{4, "GLL"}}}, &NMEAMessageSet::GLLText, &SystemSetup::GLLAnalysed, 8, 7, true,
     detail::parseInto<&ExtractGLL, &NMEAMessageSet::GLL>},
    {SentenceType::RMC, "RMC", {{{4, "RMC"}}}, &NMEAMessageSet::RMCText, &SystemSetup::RMCAnalysed, 13, 13, true,
     detail::parseInto<&ExtractRMC, &NMEAMessageSet::RMC>},
    {SentenceType::ZDA, "ZDA", {{{4, "ZDA"}}}, &NMEAMessageSet::ZDAText, &SystemSetup::ZDAAnalysed, 7, 6, true,
     detail::parseInto<&ExtractZDA, &NMEAMessageSet::ZDA>},
    {SentenceType::VTG, "VTG", {{{4, "VTG"}}}, &NMEAMessageSet::VTGText, &SystemSetup::VTGAnalysed, 10, 10, true,
     detail::parseInto<&ExtractVTG, &NMEAMessageSet::VTG>},
    {SentenceType::GSA, "GSA", {{{4, "GSA"}}}, &NMEAMessageSet::GSAText, &SystemSetup::GSAAnalysed, 19, 19, false,
     detail::parseInto<&ExtractGSA, &NMEAMessageSet::GSA>},
    {SentenceType::GST, "GST", {{{4, "GST"}}}, &NMEAMessageSet::GSTText, &SystemSetup::GSTAnalysed, 9, 9, false,
     detail::parseInto<&ExtractGST, &NMEAMessageSet::GST>},
    {SentenceType::GSV, "GSV", {{{4, "GSV"}, {5, "GSV"}}}, &NMEAMessageSet::GSVText, &SystemSetup::GSVAnalysed, 20, 20, false,
     detail::parseInto<&ExtractGSV, &NMEAMessageSet::GSV>},
    {SentenceType::HDT, "HDT", {{{4, "HDT"}}}, &NMEAMessageSet::HDTText, &SystemSetup::HDTAnalysed, 4, 4, true,
     detail::parseInto<&ExtractHDT, &NMEAMessageSet::HDT>},
    {SentenceType::ATT, "ATT", {{{9, "att"}}}, &NMEAMessageSet::ATTText, &SystemSetup::ATTAnalysed, 6, 5, true,
     detail::parseInto<&ExtractATT, &NMEAMessageSet::ATT>},
    {SentenceType::ROT, "ROT", {{{4, "ROT"}}}, &NMEAMessageSet::ROTText, &SystemSetup::ROTAnalysed, 4, 4, true,
     detail::parseInto<&ExtractROT, &NMEAMessageSet::ROT>},
    {SentenceType::VHW, "VHW", {{{4, "VHW"}}}, &NMEAMessageSet::VHWText, &SystemSetup::VHWAnalysed, 9, 9, true,
     detail::parseInto<&ExtractVHW, &NMEAMessageSet::VHW>},
    {SentenceType::DBT, "DBT", {{{4, "DBT"}}}, &NMEAMessageSet::DBTText, &SystemSetup::DBTAnalysed, 7, 7, true,
     detail::parseInto<&ExtractDBT, &NMEAMessageSet::DBT>},
    {SentenceType::TTM, "TTM", {{{4, "TTM"}}}, &NMEAMessageSet::TTMText, &SystemSetup::TTMAnalysed, 16, 16, true,
     detail::parseInto<&ExtractTTM, &NMEAMessageSet::TTM>},
    {SentenceType::VDM, "VDM", {{{4, "VDM"}, {4, "VDO"}}}, &NMEAMessageSet::VDMText, &SystemSetup::VDMAnalysed,
     0, 0, false, nullptr},
}};
// clang-format on

constexpr const SentenceTypeInfo& sentenceTypeInfo(SentenceType t) {
    return SentenceTypes[static_cast<std::size_t>(t)];
}

constexpr bool sentenceTableInOrder() {
    for (std::size_t i = 0; i < SentenceTypes.size(); ++i)
        if (static_cast<std::size_t>(SentenceTypes[i].type) != i) return false;
    return true;
}
static_assert(sentenceTableInOrder(), "one row per SentenceType, in its order");

}  // namespace tiderune
