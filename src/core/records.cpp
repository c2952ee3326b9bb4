#include "records.h"

#include "sentence_types.h"

namespace tiderune {

std::string_view sentenceTypeName(SentenceType t) noexcept {
    const auto i = static_cast<std::size_t>(t);
    return i < SentenceTypes.size() ? SentenceTypes[i].name : std::string_view{};
}

const std::string& NMEAMessageSet::textOf(SentenceType t) const {
    if (static_cast<std::size_t>(t) >= SentenceTypes.size()) throwSubscriptOutOfRange();
    return this->*sentenceTypeInfo(t).text;
}

std::string& NMEAMessageSet::textOf(SentenceType t) {
    return const_cast<std::string&>(static_cast<const NMEAMessageSet&>(*this).textOf(t));
}

}  // namespace tiderune
