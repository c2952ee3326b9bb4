#include "ais_bits.h"

#include <algorithm>

namespace tiderune {

AisBits::AisBits(std::string_view payload, int fillBits) {
    const int n = static_cast<int>(std::min<std::size_t>(payload.size(), MaxChars));
    chars_ = static_cast<int>(std::min<std::size_t>(payload.size(), 1u << 30));
    fill_ = (fillBits >= 0 && fillBits <= 5) ? fillBits : 0;
    for (int i = 0; i < n; ++i) {
        const int v = CharTo6Bit(static_cast<unsigned char>(payload[static_cast<std::size_t>(i)])) & 0x3F;
        for (int b = 0; b < 6; ++b) bits_[static_cast<std::size_t>(i * 6 + b)] = static_cast<std::uint8_t>((v >> (5 - b)) & 1);
    }
    // The fill bits pad the last fragment; they belong to the payload only when all of it
    // fitted into the array.
    usable_ = (payload.size() > static_cast<std::size_t>(MaxChars)) ? 6 * MaxChars : std::max(0, 6 * n - fill_);
}

std::int16_t CharTo6Bit(unsigned char c) noexcept {
    const int a = c;
    return static_cast<std::int16_t>(a + 40 <= 128 ? a + 80 : a + 72);
}

void ValueToBits(int value, std::array<bool, 8>& flags) noexcept {
    for (int i = 0; i < 8; ++i) flags[static_cast<std::size_t>(i)] = ((value >> (7 - i)) & 1) != 0;
}

double GetBitsValue(const AisBits& bits, int first, int last, bool isSigned, bool naCheck) noexcept {
    if (last < first) return 0;
    if (naCheck) {
        bool allSet = true;
        for (int i = first; i <= last && allSet; ++i) allSet = bits.bit(i);
        if (allSet) return -9999;
    }
    double value = 0;
    double weight = 1;
    for (int i = last; i >= first; --i, weight *= 2) {
        if (bits.bit(i)) value += weight;
    }
    // weight is now 2^(last - first + 1)
    if (isSigned && value > weight / 2) value -= weight;
    return value;
}

std::string GetBitsText(const AisBits& bits, int first, int last) {
    std::string text;
    const int end = std::min(last, bits.usableBits() - 5);  // start of the last whole character
    if (end >= first) text.reserve(static_cast<std::size_t>((end - first) / 6 + 1));
    for (int i = first; i <= end; i += 6) {
        int v = 0;
        for (int b = 0; b < 6; ++b) v = (v << 1) | (bits.bit(i + b) ? 1 : 0);
        text.push_back(SixBitToChar(v));
    }
    return text;
}

char SixBitToChar(int value) noexcept {
    int c = value < 32 ? value + 64 : value;
    if (c == 64) c = 32;
    return static_cast<char>(static_cast<unsigned char>(c));
}

}  // namespace tiderune
