#pragma once
// The de-armoured payload of one AIS message and the routines that read its fields by the
// bit numbers of ITU-R M.1371 (the first bit of a message is bit 1).
//
// The payload comes off the air, so a read never goes past the bits the payload really
// carries: 6 bits per character (at most 168 characters) less the fill bits of the last
// fragment. Bits beyond that read as 0 and a text stops at the last whole character there.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tiderune {

class AisBits {
public:
    static constexpr int Size = 1064;     // bits of the payload array
    static constexpr int MaxChars = 168;  // characters that are de-armoured

    AisBits() = default;
    // De-armours up to the first 168 characters of `payload`. Fill bits outside 0-5 count as 0.
    AisBits(std::string_view payload, int fillBits);

    bool bit(int i) const noexcept {
        return i >= 1 && i <= usable_ && ((words_[static_cast<std::size_t>((i - 1) / 64)] >> (63 - (i - 1) % 64)) & 1) != 0;
    }
    // Bits first to last (1 <= first, last <= Size, at most 64 of them) as an unsigned number,
    // most significant first; bits past the usable ones read as 0. Other ranges give 0.
    std::uint64_t field(int first, int last) const noexcept {
        const int width = last - first + 1;
        if (first < 1 || last > Size || width <= 0 || width > 64) return 0;
        const int pos = first - 1;
        const std::size_t word = static_cast<std::size_t>(pos / 64);
        const int offset = pos % 64;
        // The 64 bits from `pos` on, then the wanted ones moved to the bottom.
        std::uint64_t chunk = words_[word] << offset;
        if (offset != 0) chunk |= words_[word + 1] >> (64 - offset);
        return width >= 64 ? chunk : chunk >> (64 - width);
    }
    int usableBits() const noexcept { return usable_; }
    // Characters of the whole assembled payload, also those past the 168th.
    int payloadChars() const noexcept { return chars_; }
    int fillBits() const noexcept { return fill_; }

private:
    static constexpr int Words = (Size + 63) / 64;
    std::array<std::uint64_t, Words + 1> words_{};  // one spare word keeps reads past the end simple
    int usable_ = 0;
    int chars_ = 0;
    int fill_ = 0;
};

// The 6-bit value of an armour character sits in the low six bits of the result. Every byte
// maps by the same rule; none is refused.
std::int16_t CharTo6Bit(unsigned char c) noexcept;
// Writes value (0-255) into eight flags, flag 0 the most significant.
void ValueToBits(int value, std::array<bool, 8>& flags) noexcept;
// The unsigned or two's-complement value of bits first to last. With the not-available check
// a field whose bits are all set gives MissingValue. A signed field's code 1 followed by
// zeros reads as the positive value 2^(n-1). Decoders read every field through here: the
// common case, at most 64 bits inside the array, is one shift.
inline double GetBitsValue(const AisBits& bits, int first, int last, bool isSigned = false,
                           bool naCheck = false) noexcept;
// GetBitsValue for a range wider than 64 bits or outside the array.
double GetBitsValueBitwise(const AisBits& bits, int first, int last, bool isSigned, bool naCheck) noexcept;

inline double GetBitsValue(const AisBits& bits, int first, int last, bool isSigned, bool naCheck) noexcept {
    const int width = last - first + 1;
    if (width < 1 || width > 64 || first < 1 || last > AisBits::Size)
        return last < first ? 0 : GetBitsValueBitwise(bits, first, last, isSigned, naCheck);
    // Everything past the usable bits is stored as 0, so one shift reads the field.
    const std::uint64_t raw = bits.field(first, last);
    if (naCheck && raw == (width == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1)) return -9999;
    const double value = static_cast<double>(raw);
    if (!isSigned) return value;
    const double weight = width == 64 ? 18446744073709551616.0 : static_cast<double>(std::uint64_t{1} << width);
    return value > weight / 2 ? value - weight : value;
}

// The 6-bit text whose characters start at first, first + 6, ... up to last.
std::string GetBitsText(const AisBits& bits, int first, int last);
// The character of a 6-bit value; "@" (no character) becomes a blank.
char SixBitToChar(int value) noexcept;

}  // namespace tiderune
