#include "records.h"

namespace tiderune {

std::string_view sentenceTypeName(SentenceType t) noexcept {
    static constexpr std::array<std::string_view, SentenceTypeCount> names = {
        "GGA", "GNS", "GLL", "RMC", "ZDA", "VTG", "GSA", "GST",
        "GSV", "HDT", "ATT", "ROT", "VHW", "DBT", "TTM", "VDM",
    };
    const auto i = static_cast<std::size_t>(t);
    return i < names.size() ? names[i] : std::string_view{};
}

const std::string& NMEAMessageSet::textOf(SentenceType t) const {
    switch (t) {
    case SentenceType::GGA: return GGAText;
    case SentenceType::GNS: return GNSText;
    case SentenceType::GLL: return GLLText;
    case SentenceType::RMC: return RMCText;
    case SentenceType::ZDA: return ZDAText;
    case SentenceType::VTG: return VTGText;
    case SentenceType::GSA: return GSAText;
    case SentenceType::GST: return GSTText;
    case SentenceType::GSV: return GSVText;
    case SentenceType::HDT: return HDTText;
    case SentenceType::ATT: return ATTText;
    case SentenceType::ROT: return ROTText;
    case SentenceType::VHW: return VHWText;
    case SentenceType::DBT: return DBTText;
    case SentenceType::TTM: return TTMText;
    case SentenceType::VDM: return VDMText;
    }
    throwSubscriptOutOfRange();
}

std::string& NMEAMessageSet::textOf(SentenceType t) {
    return const_cast<std::string&>(static_cast<const NMEAMessageSet&>(*this).textOf(t));
}

}  // namespace tiderune
