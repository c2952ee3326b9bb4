#pragma once
// Reading numbers out of text and writing them back: the rule behind every numeric sentence
// field and every number a user types, the rounding of whole-number fields, the display
// forms of numbers and clock times, and a few small numeric helpers.
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "indexed.h"

namespace tiderune {

// ---- Reading ----

// The value of the longest leading part of `text` that forms a number: optional sign,
// digits, at most one ".", an optional exponent (E or D, optional sign, digits); blanks,
// tabs and line feeds anywhere are skipped; "&H" and "&O" introduce hexadecimal and octal
// numbers. Reading stops at the first character that cannot continue the number; no number
// gives 0. With `commaIsPoint` every "," counts as ".". Returns false, leaving `value`
// untouched, when the number is too large for a double (overflow); a number too small for a
// double reads as 0. Never produces an infinity or a NaN.
bool readNumber(std::string_view text, double& value, bool commaIsPoint = false) noexcept;

// The user's number: every "," is a decimal point ("12,5" gives 12.5, "1,234.5" gives
// 1.234). Never fails: a text whose number is too large for a double gives 0.
double ValDecimal(std::string_view text) noexcept;

// A sentence field: MissingValue (-9999) when empty, else its number (a single blank is not
// empty and gives 0). Raises error 6 (overflow) when the number is too large for a double.
double FieldValue(std::string_view field);

// ---- Whole numbers and singles ----

// Nearest whole number, halves going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double v) noexcept;
// The conversions into 16-bit, 32-bit and single fields. They return false (overflow, the
// target untouched) when the value does not fit or is not finite.
bool toInteger(double v, std::int16_t& out) noexcept;
bool toLong(double v, std::int32_t& out) noexcept;
bool toSingle(double v, float& out) noexcept;

// ---- Text forms ----

// `value` with `decimals` (0 to 9) digits after the point, exactly as printf's "%.*f" writes
// it, at `out`, which has room for 400 characters; returns the end. Reports format millions
// of numbers: plain magnitudes are written from one integer, while ties, huge values and
// the non-finite go the exact way of std::to_chars.
char* writeFixed(char* out, double value, int decimals) noexcept;

// A number in a format of "0" (digit), "#" (optional digit), "." (decimal point) and ","
// (thousands) codes with literal text before or after; rounds halves away from zero on the
// number's 15-digit decimal form. A "%" in the literal text multiplies the value by 100
// ("##0.0 %" shows 0.123 as "12.3 %"). Raises error 6 for a value that is not finite.
std::string FormatNumber(double value, std::string_view format);
// FormatNumber padded on the left with blanks to the length of the format; Len(format)
// blanks when the value cannot be formatted.
std::string FormatRight(double value, std::string_view format);
// Seconds as hh:mm:ss with 1 to 4 decimals of the seconds (any other count: none).
// Formatting rounds without carrying: 59.96 s with one decimal shows "60.0".
std::string FormatHMS(double seconds, int decimals);

// The Str form: a non-negative number gets one blank before its digits (" 12.5", "-3").
// Doubles show up to 15 significant digits, singles up to 7; always with a leading zero
// (" 0.9").
std::string StrNumber(double v);
std::string StrNumber(float v);
std::string StrNumber(long long v);
inline std::string StrNumber(int v) { return StrNumber(static_cast<long long>(v)); }
inline std::string StrNumber(std::int16_t v) { return StrNumber(static_cast<long long>(v)); }

// "n/a" for MissingValue, else the Str form.
std::string ValueOrNA(double v);
std::string ValueOrNA(float v);
std::string ValueOrNA(long long v);
inline std::string ValueOrNA(int v) { return ValueOrNA(static_cast<long long>(v)); }
inline std::string ValueOrNA(std::int16_t v) { return ValueOrNA(static_cast<long long>(v)); }
// "n/a" for MissingValue, else FormatNumber(v, format).
std::string FormatOrNA(double v, std::string_view format);

// `in` at the end of `out`, with control and non-ASCII bytes (below 0x20, 0x7F and above),
// quotes and backslashes as \xNN, so that a quoted text stays on one line and reads back
// unambiguously: the texts of the AIS lines and of the replay's record fields.
void appendEscaped(std::string& out, std::string_view in);

// ---- Small helpers ----

// Running extremes: the first sample (count 0) sets both.
template <typename T>
void UpdateMaxMin(T value, T& max, T& min, std::int32_t count) {
    if (count == 0) {
        max = value;
        min = value;
        return;
    }
    if (value > max) max = value;
    if (value < min) min = value;
}

inline double OffsetBySin(double base, double radius, double angle) { return base + radius * std::sin(angle); }
inline double OffsetByCos(double base, double radius, double angle) { return base + radius * std::cos(angle); }

// Satellite numbers in ascending order, 0 counting as an empty entry: elements 1..n of the
// array (arr[0] is element 1). Zeros after element 1 come out as 32767 at the end; a 0 in
// element 1 stays first. n beyond the array raises "Subscript out of range".
void SortIntArray(std::span<std::int16_t> arr, int n);
template <int Hi>
void SortIntArray(IndexedArray<std::int16_t, 1, Hi>& arr, int n) {
    SortIntArray(std::span<std::int16_t>(arr.begin(), arr.end()), n);
}

// With smaller: a when |a| < |b|, else b; otherwise a when |a| > |b|, else b. Ties give b.
inline double PickByMagnitude(double a, double b, bool smaller) {
    if (smaller) return std::fabs(a) < std::fabs(b) ? a : b;
    return std::fabs(a) > std::fabs(b) ? a : b;
}

}  // namespace tiderune
