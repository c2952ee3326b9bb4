#pragma once
// Independent checks of generated lines, written apart from the generator so that a fault in
// its checksum or tag-block code cannot hide itself.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tiderune::nmeagen::test {

// The sentence after a leading "\...\" tag block, or the line itself.
inline std::string_view withoutTagBlock(std::string_view line) {
    if (line.empty() || line[0] != '\\')
        return line;
    const auto end = line.find('\\', 1);
    return end == std::string_view::npos ? std::string_view{} : line.substr(end + 1);
}

// True when the line ends in "*hh" and hh is the upper-case XOR of the bytes between the
// first character and "*".
inline bool checksumValid(std::string_view s) {
    const auto star = s.rfind('*');
    if (s.size() < 2 || star == std::string_view::npos || star + 3 != s.size())
        return false;
    unsigned x = 0;
    for (std::size_t i = 1; i < star; ++i)
        x ^= static_cast<unsigned char>(s[i]);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", x);
    return s.substr(star + 1) == hex;
}

inline std::vector<std::string> fields(std::string_view s) {
    const auto star = s.rfind('*');
    if (star != std::string_view::npos)
        s = s.substr(0, star);
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        const auto comma = s.find(',', start);
        out.emplace_back(s.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return out;
}

// The type as the program recognises it: characters 4 to 6, "att" at 9 to 11 for the attitude
// sentence, VDO counted as VDM; "" for anything else.
inline std::string recognisedType(std::string_view s) {
    static const char* const types[] = {"GGA", "GNS", "GLL", "RMC", "ZDA", "VTG", "GSA", "GST",
                                        "GSV", "HDT", "ROT", "VHW", "DBT", "TTM", "VDM"};
    const std::string_view t = s.size() >= 6 ? s.substr(3, 3) : std::string_view{};
    for (const char* name : types)
        if (t == name)
            return name;
    if (s.size() >= 11 && s.substr(8, 3) == "att")
        return "ATT";
    if (t == "VDO")
        return "VDM";
    return "";
}

// Payload bits of an armoured AIS payload, most significant first.
inline std::vector<int> payloadBits(std::string_view payload) {
    std::vector<int> bits;
    for (const char ch : payload) {
        int v = ch - 48;
        if (v > 40)
            v -= 8;
        for (int b = 5; b >= 0; --b)
            bits.push_back((v >> b) & 1);
    }
    return bits;
}

inline long long bitsValue(const std::vector<int>& bits, std::size_t first, std::size_t count, bool isSigned = false) {
    long long v = 0;
    for (std::size_t i = first; i < first + count; ++i)
        v = (v << 1) | bits.at(i);
    if (isSigned && bits.at(first))
        v -= 1LL << count;
    return v;
}

inline std::string bitsText(const std::vector<int>& bits, std::size_t first, std::size_t chars) {
    std::string out;
    for (std::size_t i = 0; i < chars; ++i) {
        const auto v = static_cast<int>(bitsValue(bits, first + 6 * i, 6));
        out += static_cast<char>(v < 32 ? v + 64 : v);
    }
    return out;
}

}  // namespace tiderune::nmeagen::test
