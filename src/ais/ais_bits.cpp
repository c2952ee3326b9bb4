#include "ais_bits.h"

#include <algorithm>

namespace tiderune {

AisBits::AisBits(std::string_view payload, int fillBits) {
    const int n = static_cast<int>(std::min<std::size_t>(payload.size(), MaxChars));
    chars_ = static_cast<int>(std::min<std::size_t>(payload.size(), 1u << 30));
    fill_ = (fillBits >= 0 && fillBits <= 5) ? fillBits : 0;
    // The characters' bits gather in `acc` and go out a whole word at a time.
    std::uint64_t acc = 0;
    int have = 0;  // bits in acc
    std::size_t word = 0;
    for (int i = 0; i < n; ++i) {
        // CharTo6Bit without a branch: armour characters fall on both sides of its turn at
        // 'X', where a branch would be mispredicted half the time.
        const std::uint64_t c = static_cast<unsigned char>(payload[static_cast<std::size_t>(i)]);
        const std::uint64_t v = (c + 80 - 8 * static_cast<std::uint64_t>(c > 88)) & 0x3F;
        if (have <= 58) {
            acc = (acc << 6) | v;
            have += 6;
            if (have == 64) {
                words_[word++] = acc;
                acc = 0;
                have = 0;
            }
        } else {  // the character straddles two words
            const int rest = have - 58;  // of its bits, those for the next word
            words_[word++] = (acc << (6 - rest)) | (v >> rest);
            acc = v & ((std::uint64_t{1} << rest) - 1);
            have = rest;
        }
    }
    if (have > 0) words_[word] = acc << (64 - have);
    // The fill bits pad the last fragment; they belong to the payload only when all of it
    // fitted into the array.
    usable_ = (payload.size() > static_cast<std::size_t>(MaxChars)) ? 6 * MaxChars : std::max(0, 6 * n - fill_);
    // Clear what lies past the usable bits, so that every read there gives 0. Only the fill
    // bits are there (at most five, perhaps in the next word); later words were never written.
    const std::size_t last = static_cast<std::size_t>(usable_ / 64);
    const int kept = usable_ % 64;
    words_[last] = kept == 0 ? 0 : words_[last] & (~std::uint64_t{0} << (64 - kept));
    words_[last + 1] = 0;
}

std::int16_t CharTo6Bit(unsigned char c) noexcept {
    const int a = c;
    return static_cast<std::int16_t>(a + 40 <= 128 ? a + 80 : a + 72);
}

void ValueToBits(int value, std::array<bool, 8>& flags) noexcept {
    for (int i = 0; i < 8; ++i) flags[static_cast<std::size_t>(i)] = ((value >> (7 - i)) & 1) != 0;
}

double GetBitsValueBitwise(const AisBits& bits, int first, int last, bool isSigned, bool naCheck) noexcept {
    if (last < first) return 0;
    double value = 0;
    double weight = 1;  // becomes 2^width
    bool allSet = true;
    for (int i = last; i >= first; --i, weight *= 2) {
        if (bits.bit(i)) {
            value += weight;
        } else {
            allSet = false;
        }
    }
    if (naCheck && allSet) return -9999;
    if (isSigned && value > weight / 2) value -= weight;
    return value;
}

std::string GetBitsText(const AisBits& bits, int first, int last) {
    std::string text;
    const int end = std::min(last, bits.usableBits() - 5);  // start of the last whole character
    if (end >= first) text.reserve(static_cast<std::size_t>((end - first) / 6 + 1));
    for (int i = first; i <= end; i += 6) {
        text.push_back(SixBitToChar(static_cast<int>(bits.field(i, i + 5))));
    }
    return text;
}

char SixBitToChar(int value) noexcept {
    int c = value < 32 ? value + 64 : value;
    if (c == 64) c = 32;
    return static_cast<char>(static_cast<unsigned char>(c));
}

}  // namespace tiderune
