#include "code_page.h"

#include <cstdint>

namespace tiderune {

namespace {

// Each byte's UTF-8: its length and up to three bytes. The monitor, the grids and the report
// convert every text they show, so the work is one look-up a byte.
struct Utf8Form {
    std::uint8_t size;
    char bytes[3];
};

constexpr std::array<Utf8Form, 256> Utf8Forms = [] {
    std::array<Utf8Form, 256> t{};
    for (std::size_t b = 0; b < 256; ++b) {
        const char16_t c = CodePageChars[b];
        Utf8Form& f = t[b];
        if (c < 0x80) {
            f = {1, {static_cast<char>(c), 0, 0}};
        } else if (c < 0x800) {
            f = {2, {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F)), 0}};
        } else {
            f = {3,
                 {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                  static_cast<char>(0x80 | (c & 0x3F))}};
        }
    }
    return t;
}();

// The length of the well-formed UTF-8 sequence at s[i], with its character in `c`, or 0 when
// none begins there (an overlong form, a surrogate, a cut or stray byte).
std::size_t utf8At(std::string_view s, std::size_t i, char32_t& c) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char b = at(0);
    std::size_t size;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (b >= 0xC2 && b <= 0xDF) {
        size = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        size = 3;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        size = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() - i < size || at(1) < low || at(1) > high) return 0;
    char32_t v = b & (0x7F >> size);
    for (std::size_t k = 1; k < size; ++k) {
        if ((at(k) & 0xC0) != 0x80) return 0;
        v = (v << 6) | (at(k) & 0x3F);
    }
    c = v;
    return size;
}

}  // namespace

void widenText(std::string_view bytes, char16_t* out) noexcept {
    for (const char b : bytes) *out++ = charOf(b);
}

char narrowChar(char16_t c) noexcept {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t b = 0x80; b < 0xA0; ++b)
        if (CodePageChars[b] == c) return static_cast<char>(b);
    return '?';
}

std::string narrowText(std::u16string_view text) {
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = narrowChar(text[i]);
    return out;
}

void appendTextAsUtf8(std::string& out, std::string_view bytes) {
    // Most texts are plain ASCII: the part before the first other byte goes over in one
    // piece; the rest is written through a pointer into room for its longest form.
    std::size_t i = 0;
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    out.append(bytes.data(), i);
    if (i == bytes.size()) return;
    const std::size_t at = out.size();
    out.resize(at + 3 * (bytes.size() - i));
    char* p = out.data() + at;
    for (; i < bytes.size(); ++i) {
        const Utf8Form& f = Utf8Forms[static_cast<unsigned char>(bytes[i])];
        p[0] = f.bytes[0];
        p[1] = f.bytes[1];
        p[2] = f.bytes[2];
        p += f.size;
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

std::string fileNameText(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        char32_t c = 0;
        const std::size_t size = utf8At(name, i, c);
        if (size == 0) {
            out += name[i++];
            continue;
        }
        out += c <= 0xFFFF ? narrowChar(static_cast<char16_t>(c)) : '?';
        i += size;
    }
    return out;
}

void appendFileNameAsUtf8(std::string& out, std::string_view name) {
    for (std::size_t i = 0; i < name.size();) {
        char32_t c = 0;
        const std::size_t size = utf8At(name, i, c);
        if (size == 0) {
            appendTextAsUtf8(out, name.substr(i, 1));
            ++i;
        } else {
            out.append(name.data() + i, size);
            i += size;
        }
    }
}

}  // namespace tiderune
