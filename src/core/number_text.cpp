#include "number_text.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <vector>

#include "errors.h"
#include "records.h"

namespace tiderune {

namespace {

inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Significant digits kept for the slow path; the rest only decide rounding (sticky digit).
constexpr int kMaxDigits = 100;

int digitValue(char c, int base) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return -1;
    return d < base ? d : -1;
}

// "&H..." and "&O...": up to 16 bits they read as a 16-bit integer (&HFFFF is -1), up to 32
// bits as a 32-bit one; more is an overflow.
bool readRadix(std::string_view s, std::size_t i, double& value) {
    while (i < s.size() && isBlank(s[i])) ++i;
    if (i >= s.size()) { value = 0; return true; }
    int base;
    if (s[i] == 'H' || s[i] == 'h') base = 16;
    else if (s[i] == 'O' || s[i] == 'o') base = 8;
    else { value = 0; return true; }
    std::uint64_t acc = 0;
    for (++i; i < s.size(); ++i) {
        if (isBlank(s[i])) continue;
        const int d = digitValue(s[i], base);
        if (d < 0) break;
        acc = acc * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (acc > 0xFFFFFFFFull) return false;
    }
    if (acc <= 0xFFFF) value = static_cast<std::int16_t>(static_cast<std::uint16_t>(acc));
    else value = static_cast<std::int32_t>(static_cast<std::uint32_t>(acc));
    return true;
}

}  // namespace

bool readNumber(std::string_view s, double& value, bool commaIsPoint) noexcept {
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n && isBlank(s[i])) ++i;
    if (i < n && s[i] == '&') return readRadix(s, i + 1, value);

    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }

    char digits[kMaxDigits + 32];
    int count = 0;          // significant digits kept (leading zeros dropped)
    bool dropped = false;   // a non-zero digit beyond kMaxDigits
    long long exp10 = 0;    // value = digits * 10^exp10
    std::uint64_t sig = 0;  // the first 19 kept digits as a number
    bool point = false;
    for (; i < n; ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            if (count == 0 && c == '0') {
                if (point) --exp10;
                continue;
            }
            if (count < kMaxDigits) {
                digits[count++] = c;
                if (count <= 19) sig = sig * 10 + static_cast<unsigned>(c - '0');
                if (point) --exp10;
            } else {
                if (c != '0') dropped = true;
                if (!point) ++exp10;
            }
        } else if (c == '.' || (commaIsPoint && c == ',')) {
            if (point) break;
            point = true;
        } else if (!isBlank(c)) {
            break;
        }
    }

    // Exponent: E or D, optional sign, digits. Without digits it counts as no exponent.
    long long exponent = 0;
    if (i < n && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        while (j < n && isBlank(s[j])) ++j;
        bool expNegative = false;
        if (j < n && (s[j] == '+' || s[j] == '-')) {
            expNegative = s[j] == '-';
            ++j;
        }
        for (; j < n; ++j) {
            const char c = s[j];
            if (c >= '0' && c <= '9') {
                if (exponent < 100000000) exponent = exponent * 10 + (c - '0');
            } else if (!isBlank(c)) {
                break;
            }
        }
        if (expNegative) exponent = -exponent;
    }

    if (count == 0) {
        value = 0;
        return true;
    }
    const long long e = exp10 + exponent;
    const long long magnitude = e + count;  // the value lies in [10^(magnitude-1), 10^magnitude)
    if (magnitude > 310) return false;
    if (magnitude < -330) {
        value = 0;
        return true;
    }

    double v;
    if (count <= 15 && e >= -22 && e <= 22) {
        // Both the digits and the power of ten are exact doubles: one correctly rounded step.
        v = e >= 0 ? static_cast<double>(sig) * kPow10[e] : static_cast<double>(sig) / kPow10[-e];
    } else {
        int len = count;
        long long ee = e;
        if (dropped) {  // a trailing non-zero digit keeps the rounding direction right
            digits[len++] = '1';
            --ee;
        }
        digits[len++] = 'e';
        auto [end, ec] = std::to_chars(digits + len, digits + sizeof digits, ee);
        (void)ec;
        auto res = std::from_chars(digits, end, v);
        if (res.ec == std::errc::result_out_of_range) {
            if (magnitude > 0) return false;
            v = 0;
        } else if (res.ec != std::errc()) {
            v = 0;
        }
        if (!std::isfinite(v)) return false;
    }
    value = negative && v != 0 ? -v : v;
    return true;
}

double ValDecimal(std::string_view text) noexcept {
    double v = 0;
    if (!readNumber(text, v, true)) return 0;
    return v;
}

double FieldValue(std::string_view field) {
    if (field.empty()) return MissingValueD;
    double v = 0;
    if (!readNumber(field, v)) throw RuntimeError(err::Overflow, "Overflow");
    return v;
}

double roundHalfEven(double v) noexcept {
    // nearbyint rounds to the even neighbour in the default rounding mode; spell it out so
    // that no mode set elsewhere can change a field's value.
    const double f = std::floor(v);
    const double diff = v - f;
    if (diff < 0.5) return f;
    if (diff > 0.5) return f + 1;
    return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

bool toInteger(double v, std::int16_t& out) noexcept {
    if (v >= -32768.0 && v <= 32767.0) {
        const auto whole = static_cast<std::int32_t>(v);
        if (whole == v) {  // the common case: already a whole number
            out = static_cast<std::int16_t>(whole);
            return true;
        }
    }
    if (!std::isfinite(v)) return false;
    const double r = roundHalfEven(v);
    if (r < -32768.0 || r > 32767.0) return false;
    out = static_cast<std::int16_t>(r);
    return true;
}

bool toLong(double v, std::int32_t& out) noexcept {
    if (!std::isfinite(v)) return false;
    const double r = roundHalfEven(v);
    if (r < -2147483648.0 || r > 2147483647.0) return false;
    out = static_cast<std::int32_t>(r);
    return true;
}

bool toSingle(double v, float& out) noexcept {
    if (!std::isfinite(v) || std::fabs(v) > static_cast<double>(FLT_MAX)) return false;
    out = static_cast<float>(v);
    return true;
}

namespace {

// |v| as decimal digits with `decimals` digits after the point, rounded half away from zero
// on its 15-significant-digit form. Returns the integer digits ("" for 0) and the fraction.
void decimalDigits(double v, int decimals, std::string& intPart, std::string& fracPart) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    // buf: d.dddddddddddddde[+-]xx
    std::string mant;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.') mant.push_back(*p);
    const int exp = std::atoi(p + 1);  // value = 0.mant * 10^(exp+1)
    // Digit string with the point after position (exp + 1).
    int pointPos = exp + 1;
    if (mant.find_first_not_of('0') == std::string::npos) {
        mant = "0";
        pointPos = 1;
    }
    // Pad so that the integer part and `decimals` fraction digits exist.
    if (pointPos <= 0) {
        mant.insert(0, static_cast<std::size_t>(-pointPos + 1), '0');
        pointPos = 1;
    }
    const std::size_t want = static_cast<std::size_t>(pointPos + decimals);
    if (mant.size() < want + 1) mant.append(want + 1 - mant.size(), '0');
    const bool roundUp = mant[want] >= '5';
    mant.resize(want);
    if (roundUp) {
        int k = static_cast<int>(want) - 1;
        for (; k >= 0; --k) {
            if (mant[static_cast<std::size_t>(k)] == '9') {
                mant[static_cast<std::size_t>(k)] = '0';
            } else {
                ++mant[static_cast<std::size_t>(k)];
                break;
            }
        }
        if (k < 0) {
            mant.insert(mant.begin(), '1');
            ++pointPos;
        }
    }
    intPart = mant.substr(0, static_cast<std::size_t>(pointPos));
    fracPart = mant.substr(static_cast<std::size_t>(pointPos));
    const auto nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? std::string() : intPart.substr(nz);
}

}  // namespace

std::string FormatNumber(double value, std::string_view format) {
    if (!std::isfinite(value)) throw RuntimeError(err::Overflow, "Overflow");
    const auto isCode = [](char c) { return c == '0' || c == '#' || c == '.' || c == ','; };
    std::size_t first = 0;
    while (first < format.size() && !isCode(format[first])) ++first;
    std::size_t last = format.size();
    while (last > first && !isCode(format[last - 1])) --last;
    const std::string_view prefix = format.substr(0, first);
    const std::string_view codes = format.substr(first, last - first);
    const std::string_view suffix = format.substr(last);
    // A percent sign in the literal text shows the value as a percentage.
    if (prefix.find('%') != std::string_view::npos || suffix.find('%') != std::string_view::npos) {
        value *= 100;
        if (!std::isfinite(value)) throw RuntimeError(err::Overflow, "Overflow");
    }

    int intZeros = 0, fracZeros = 0, fracHashes = 0;
    bool point = false, grouping = false;
    for (char c : codes) {
        if (c == '.') {
            point = true;
        } else if (c == ',') {
            if (!point) grouping = true;
        } else if (!point) {
            if (c == '0') ++intZeros;
        } else if (c == '0') {
            fracZeros += 1 + fracHashes;  // a 0 after a # makes the # positions mandatory too
            fracHashes = 0;
        } else if (c == '#') {
            ++fracHashes;
        }
    }
    const int decimals = fracZeros + fracHashes;

    std::string intPart, fracPart;
    decimalDigits(value, decimals, intPart, fracPart);
    while (static_cast<int>(fracPart.size()) > fracZeros && !fracPart.empty() && fracPart.back() == '0')
        fracPart.pop_back();
    const bool zero = intPart.empty() && fracPart.find_first_not_of('0') == std::string::npos;
    if (static_cast<int>(intPart.size()) < intZeros)
        intPart.insert(0, static_cast<std::size_t>(intZeros) - intPart.size(), '0');
    if (grouping && intPart.size() > 3) {
        std::string g;
        const std::size_t lead = intPart.size() % 3;
        for (std::size_t k = 0; k < intPart.size(); ++k) {
            if (k != 0 && (k + 3 - lead) % 3 == 0) g.push_back(',');
            g.push_back(intPart[k]);
        }
        intPart = std::move(g);
    }

    std::string out;
    if (value < 0 && !zero) out.push_back('-');
    out.append(prefix);
    out.append(intPart);
    if (point) {
        out.push_back('.');
        out.append(fracPart);
    }
    out.append(suffix);
    return out;
}

std::string FormatRight(double value, std::string_view format) {
    try {
        std::string s = FormatNumber(value, format);
        if (format.size() > s.size()) s.insert(0, format.size() - s.size(), ' ');
        return s;
    } catch (const RuntimeError&) {
        return std::string(format.size(), ' ');
    }
}

std::string FormatHMS(double seconds, int decimals) {
    const double hours = seconds / 60 / 60;
    const double h = std::floor(hours);
    const double mFull = (hours - h) * 60;
    const double m = std::floor(mFull);
    const double s = (mFull - m) * 60;
    std::string_view secFormat;
    switch (decimals) {
    case 1: secFormat = "00.0"; break;
    case 2: secFormat = "00.00"; break;
    case 3: secFormat = "00.000"; break;
    case 4: secFormat = "00.0000"; break;
    default: secFormat = "00"; break;
    }
    return FormatNumber(h, "00:") + FormatNumber(m, "00:") + FormatNumber(s, secFormat);
}

namespace {

std::string strFloating(double v, int precision) {
    if (!std::isfinite(v)) return v != v ? "NaN" : (v > 0 ? " Inf" : "-Inf");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", precision, v);
    std::string s = buf;
    // "1E+020" style exponents: keep at least two digits, drop the others the C library adds.
    const auto e = s.find('E');
    if (e != std::string::npos) {
        std::size_t d = e + 2;
        while (s.size() - d > 2 && s[d] == '0') s.erase(d, 1);
    }
    if (s == "-0") s = "0";
    if (s[0] != '-') s.insert(0, 1, ' ');
    return s;
}

}  // namespace

std::string StrNumber(double v) { return strFloating(v, 15); }
std::string StrNumber(float v) { return strFloating(static_cast<double>(v), 7); }
std::string StrNumber(long long v) {
    char buf[24];
    buf[0] = ' ';
    char* const end = std::to_chars(buf + 1, buf + sizeof buf, v).ptr;
    return v >= 0 ? std::string(buf, end) : std::string(buf + 1, end);
}

std::string ValueOrNA(double v) { return v == MissingValueD ? "n/a" : StrNumber(v); }
std::string ValueOrNA(float v) { return v == MissingValueF ? "n/a" : StrNumber(v); }
std::string ValueOrNA(long long v) { return v == MissingValue ? "n/a" : StrNumber(v); }

std::string FormatOrNA(double v, std::string_view format) {
    return v == MissingValueD ? "n/a" : FormatNumber(v, format);
}

void SortIntArray(std::span<std::int16_t> arr, int n) {
    if (n < 2) return;
    if (static_cast<std::size_t>(n) > arr.size()) throwSubscriptOutOfRange();
    std::vector<std::int16_t> sorted(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        int k = 0;
        for (int j = 1; j < n; ++j) {
            if (arr[static_cast<std::size_t>(j)] < arr[static_cast<std::size_t>(k)] &&
                arr[static_cast<std::size_t>(j)] != 0)
                k = j;
        }
        sorted[static_cast<std::size_t>(i)] = arr[static_cast<std::size_t>(k)];
        arr[static_cast<std::size_t>(k)] = 32767;
    }
    for (int i = 0; i < n; ++i) arr[static_cast<std::size_t>(i)] = sorted[static_cast<std::size_t>(i)];
}

namespace {

constexpr std::uint64_t FixedScale[] = {1,      10,      100,      1000,      10000,
                                        100000, 1000000, 10000000, 100000000, 1000000000};

// n / 10^D, a point and D digits of n % 10^D: with D known the divisions are multiplications.
template <int D>
char* writeScaled(char* out, std::uint64_t n) noexcept {
    constexpr std::uint64_t scale = FixedScale[D];
    out = std::to_chars(out, out + 24, n / scale).ptr;
    if constexpr (D > 0) {
        *out++ = '.';
        std::uint64_t rest = n % scale;
        for (int k = D - 1; k >= 0; --k, rest /= 10) out[k] = static_cast<char>('0' + rest % 10);
        out += D;
    }
    return out;
}

}  // namespace

char* writeFixed(char* out, double value, int decimals) noexcept {
    char* const limit = out + 400;
    if (decimals < 0 || decimals > 9) decimals = decimals < 0 ? 0 : 9;
    const double scaled = std::fabs(value) * static_cast<double>(FixedScale[decimals]);
    // Below 1e12 the product is off by less than 2e-4, so a fraction clear of one half
    // rounds as the exact value would; printf's own rounding decides the rest.
    if (scaled < 1e12) {
        const std::uint64_t whole = static_cast<std::uint64_t>(scaled);  // the floor: scaled is not negative
        const double fraction = scaled - static_cast<double>(whole);
        if (std::fabs(fraction - 0.5) > 1e-3) {
            const std::uint64_t n = whole + (fraction > 0.5 ? 1 : 0);
            if (std::signbit(value)) *out++ = '-';
            switch (decimals) {
            case 0: return writeScaled<0>(out, n);
            case 1: return writeScaled<1>(out, n);
            case 2: return writeScaled<2>(out, n);
            case 3: return writeScaled<3>(out, n);
            case 4: return writeScaled<4>(out, n);
            case 5: return writeScaled<5>(out, n);
            case 6: return writeScaled<6>(out, n);
            case 7: return writeScaled<7>(out, n);
            case 8: return writeScaled<8>(out, n);
            default: return writeScaled<9>(out, n);
            }
        }
    }
    const auto r = std::to_chars(out, limit, value, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? r.ptr : out;
}

namespace {

// The bytes a quoted text shows as \xNN.
constexpr auto NeedsEscape = [] {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c) t[static_cast<std::size_t>(c)] = c < 0x20 || c >= 0x7F || c == '"' || c == '\\';
    return t;
}();

}  // namespace

void appendEscaped(std::string& out, std::string_view in) {
    static constexpr char hex[] = "0123456789ABCDEF";
    // The replay writes millions of these texts and nearly all need no escape: the part
    // before the first escaped byte goes over in one piece.
    std::size_t i = 0;
    while (i < in.size() && !NeedsEscape[static_cast<unsigned char>(in[i])]) ++i;
    out.append(in.data(), i);
    if (i == in.size()) return;
    // The rest: room for its longest form, written through a pointer and cut back to what
    // was written, never grown byte by byte.
    const std::size_t at = out.size();
    out.resize(at + 4 * (in.size() - i));
    char* p = out.data() + at;
    for (; i < in.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(in[i]);
        if (NeedsEscape[c]) {
            p[0] = '\\';
            p[1] = 'x';
            p[2] = hex[c >> 4];
            p[3] = hex[c & 15];
            p += 4;
        } else {
            *p++ = static_cast<char>(c);
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

}  // namespace tiderune
