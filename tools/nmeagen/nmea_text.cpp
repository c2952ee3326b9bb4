#include "nmeagen/nmea_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tiderune::nmeagen {

std::uint8_t checksumOf(std::string_view body) {
    std::uint8_t sum = 0;
    for (const char c : body)
        sum ^= static_cast<std::uint8_t>(c);
    return sum;
}

std::string hexByte(std::uint8_t value) {
    static constexpr char digits[] = "0123456789ABCDEF";
    return {digits[value >> 4], digits[value & 0x0F]};
}

std::string withChecksum(std::string_view sentence) {
    std::string out(sentence);
    out += '*';
    out += hexByte(checksumOf(sentence.empty() ? sentence : sentence.substr(1)));
    return out;
}

std::string tagBlock(std::string_view fields) {
    std::string out = "\\";
    out += fields;
    out += '*';
    out += hexByte(checksumOf(fields));
    out += '\\';
    return out;
}

std::string breakChecksum(std::string sentence) {
    const auto star = sentence.rfind('*');
    if (star == std::string::npos || star + 2 >= sentence.size())
        return sentence;
    char& last = sentence[star + 2];
    last = last == '0' ? '1' : '0';
    return sentence;
}

std::string fixed(double value, int decimals) {
    if (!std::isfinite(value))
        return {};
    // Room for the largest double in fixed notation with its decimals.
    char buf[400];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, std::clamp(decimals, 0, 40));
    if (result.ec != std::errc{})
        return {};
    std::string out(buf, result.ptr);
    if (out.front() == '-' && out.find_first_not_of("-0.") == std::string::npos)
        out.erase(0, 1);
    return out;
}

std::string zeroPadded(long long value, int width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

namespace {

AngleField angleField(double degrees, int degreeDigits, int decimals, char positive, char negative) {
    long long scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const long long units = std::llround(std::fabs(degrees) * 60.0 * static_cast<double>(scale));
    const long long perDegree = 60 * scale;
    const long long whole = units / perDegree;
    const long long minuteUnits = units % perDegree;
    std::string value = zeroPadded(whole, degreeDigits);
    value += zeroPadded(minuteUnits / scale, 2);
    if (decimals > 0) {
        value += '.';
        value += zeroPadded(minuteUnits % scale, decimals);
    }
    return {value, std::string(1, degrees < 0 && units != 0 ? negative : positive)};
}

}  // namespace

AngleField latitudeField(double degrees, int decimals) {
    return angleField(degrees, 2, decimals, 'N', 'S');
}

AngleField longitudeField(double degrees, int decimals) {
    return angleField(degrees, 3, decimals, 'E', 'W');
}

UtcDateTime utcFromUnix(double unixSeconds) {
    const double dayStart = std::floor(unixSeconds / 86400.0);
    const long long z0 = static_cast<long long>(dayStart);
    double secondOfDay = unixSeconds - dayStart * 86400.0;
    const CivilDate c = civilFromDays(z0);
    UtcDateTime t;
    t.day = c.day;
    t.month = c.month;
    t.year = static_cast<int>(c.year);
    const int whole = static_cast<int>(secondOfDay);
    t.hour = whole / 3600;
    t.minute = whole / 60 % 60;
    t.second = secondOfDay - whole / 60 * 60;
    return t;
}

std::string timeField(double unixSeconds, int decimals) {
    // Rounds the whole time first, so that 59.999 s becomes the next minute, not "60".
    double scale = 1.0;
    for (int i = 0; i < decimals; ++i)
        scale *= 10.0;
    const double rounded = std::round(unixSeconds * scale) / scale;
    const UtcDateTime t = utcFromUnix(rounded);
    std::string out = zeroPadded(t.hour, 2) + zeroPadded(t.minute, 2);
    const std::string sec = fixed(t.second, decimals);
    if (sec.size() < static_cast<std::size_t>(decimals > 0 ? decimals + 3 : 2))
        out += '0';
    out += sec;
    return out;
}

std::string dateField(double unixSeconds) {
    const UtcDateTime t = utcFromUnix(unixSeconds);
    return zeroPadded(t.day, 2) + zeroPadded(t.month, 2) + zeroPadded(t.year % 100, 2);
}

SentenceWriter::SentenceWriter(char start, std::string_view address) {
    text_.reserve(96);
    text_ += start;
    text_ += address;
}

SentenceWriter& SentenceWriter::text(std::string_view field) {
    text_ += ',';
    text_ += field;
    return *this;
}

SentenceWriter& SentenceWriter::empty(int count) {
    text_.append(static_cast<std::size_t>(count), ',');
    return *this;
}

SentenceWriter& SentenceWriter::number(double value, int decimals) {
    // A value that is no number leaves its field empty, as a sensor without a reading does.
    return text(fixed(value, decimals));
}

SentenceWriter& SentenceWriter::number(std::optional<double> value, int decimals) {
    return value ? number(*value, decimals) : empty();
}

SentenceWriter& SentenceWriter::integer(long long value, int width) {
    return text(zeroPadded(value, width));
}

SentenceWriter& SentenceWriter::integer(std::optional<long long> value, int width) {
    return value ? integer(*value, width) : empty();
}

SentenceWriter& SentenceWriter::latitude(std::optional<double> degrees, int decimals) {
    if (!degrees || !std::isfinite(*degrees))
        return empty(2);
    const AngleField f = latitudeField(*degrees, decimals);
    return text(f.value).text(f.hemisphere);
}

SentenceWriter& SentenceWriter::longitude(std::optional<double> degrees, int decimals) {
    if (!degrees || !std::isfinite(*degrees))
        return empty(2);
    const AngleField f = longitudeField(*degrees, decimals);
    return text(f.value).text(f.hemisphere);
}

std::string SentenceWriter::finish() const {
    return withChecksum(text_);
}

}  // namespace tiderune::nmeagen
