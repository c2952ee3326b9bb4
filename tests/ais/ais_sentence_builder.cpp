#include "ais_sentence_builder.h"

#include <cstdio>

namespace tiderune::test {

AisBitWriter& AisBitWriter::u(std::uint64_t value, int width) {
    for (int i = width - 1; i >= 0; --i) bits_.push_back(((value >> i) & 1) != 0);
    return *this;
}

AisBitWriter& AisBitWriter::s(std::int64_t value, int width) {
    return u(static_cast<std::uint64_t>(value) & ((std::uint64_t{1} << width) - 1), width);
}

AisBitWriter& AisBitWriter::text(std::string_view s, int chars) {
    for (int i = 0; i < chars; ++i) {
        const int c = i < static_cast<int>(s.size()) ? static_cast<unsigned char>(s[static_cast<std::size_t>(i)]) : '@';
        u(static_cast<std::uint64_t>(c >= 64 ? c - 64 : c), 6);
    }
    return *this;
}

std::string AisBitWriter::payload(int& fill) const {
    fill = (6 - static_cast<int>(bits_.size()) % 6) % 6;
    std::vector<bool> b = bits_;
    b.resize(b.size() + static_cast<std::size_t>(fill), false);
    std::string out;
    for (std::size_t i = 0; i < b.size(); i += 6) {
        int v = 0;
        for (std::size_t k = 0; k < 6; ++k) v = (v << 1) | (b[i + k] ? 1 : 0);
        out.push_back(static_cast<char>(v < 40 ? v + 48 : v + 56));
    }
    return out;
}

std::string withChecksum(const std::string& body) {
    unsigned char sum = 0;
    for (std::size_t i = 1; i < body.size(); ++i) sum ^= static_cast<unsigned char>(body[i]);
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", sum);
    return body + "*" + hex;
}

std::string vdm(int count, int number, const std::string& seqId, const std::string& channel,
                const std::string& payload, int fill) {
    return withChecksum("!AIVDM," + std::to_string(count) + "," + std::to_string(number) + "," + seqId + "," +
                        channel + "," + payload + "," + std::to_string(fill));
}

std::vector<std::string> vdmMessage(const AisBitWriter& w, int perSentence, const std::string& seqId,
                                    const std::string& channel) {
    int fill = 0;
    const std::string p = w.payload(fill);
    const int n = static_cast<int>((p.size() + static_cast<std::size_t>(perSentence) - 1) / static_cast<std::size_t>(perSentence));
    const int count = n == 0 ? 1 : n;
    std::vector<std::string> out;
    for (int k = 1; k <= count; ++k) {
        const std::string part = p.substr(static_cast<std::size_t>((k - 1) * perSentence),
                                          static_cast<std::size_t>(perSentence));
        out.push_back(vdm(count, k, count == 1 ? "" : seqId, channel, part, k == count ? fill : 0));
    }
    return out;
}

}  // namespace tiderune::test
