#pragma once
// Text pieces of an NMEA 0183 sentence: numbers in fixed notation, latitude and longitude
// fields, UTC times and dates, the checksum, and tag blocks.
#include "core/civil_date.h"
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tiderune::nmeagen {

// XOR of the bytes of a sentence body (everything between the start character and "*").
std::uint8_t checksumOf(std::string_view body);

// Two upper-case hexadecimal digits.
std::string hexByte(std::uint8_t value);

// Adds "*hh" to a sentence that starts with "$" or "!" (or a tag block's "\" contents):
// the checksum covers everything after the first character.
std::string withChecksum(std::string_view sentence);

// A tag block "\fields*hh\" put in front of a sentence; fields such as "s:AIS01,c:1718438400".
std::string tagBlock(std::string_view fields);

// Breaks the checksum of a finished sentence by changing its last hex digit (the result still
// looks well formed).
std::string breakChecksum(std::string sentence);

// Fixed notation with the given decimals, never "-0.0"; "" for infinity and NaN.
std::string fixed(double value, int decimals);
// A whole number padded with leading zeros to at least `width` digits (sign not counted).
std::string zeroPadded(long long value, int width);

// Latitude "ddmm.mmmm" and hemisphere "N"/"S" (longitude "dddmm.mmmm", "E"/"W"); minutes are
// rounded to the decimals first so that 59.99999 never prints as 60.
struct AngleField {
    std::string value;
    std::string hemisphere;
};
AngleField latitudeField(double degrees, int decimals);
AngleField longitudeField(double degrees, int decimals);

// Time of day and calendar date from seconds since 1970-01-01 00:00 UTC.
struct UtcDateTime {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0;
    double second = 0.0;
};
UtcDateTime utcFromUnix(double unixSeconds);
// "hhmmss" followed by the decimals of the second ("hhmmss.ss" for 2).
std::string timeField(double unixSeconds, int decimals);
// "ddmmyy".
std::string dateField(double unixSeconds);
// Days since 1970-01-01 of a civil date (proleptic Gregorian).
using tiderune::daysFromCivil;

// Builds one sentence field by field: "$" or "!", the address, then each field after a comma,
// and "*hh" on finish().
class SentenceWriter {
public:
    SentenceWriter(char start, std::string_view address);

    SentenceWriter& text(std::string_view field);
    SentenceWriter& empty(int count = 1);
    SentenceWriter& number(double value, int decimals);
    SentenceWriter& number(std::optional<double> value, int decimals);
    SentenceWriter& integer(long long value, int width = 0);
    SentenceWriter& integer(std::optional<long long> value, int width = 0);
    // Two fields each; an absent position writes two empty fields.
    SentenceWriter& latitude(std::optional<double> degrees, int decimals);
    SentenceWriter& longitude(std::optional<double> degrees, int decimals);

    // The sentence with its checksum.
    std::string finish() const;
    // The sentence as built so far, without "*hh".
    const std::string& body() const { return text_; }

private:
    std::string text_;
};

}  // namespace tiderune::nmeagen
