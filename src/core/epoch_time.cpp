#include "epoch_time.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "civil_date.h"
#include "errors.h"

namespace tiderune {

namespace {



constexpr long long EpochOffset = -DateValueEpoch;

[[noreturn]] void typeMismatch() { throw RuntimeError(err::TypeMismatch, "Type mismatch"); }

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// One or two digits at the front of text; advances pos.
bool readNumber(std::string_view text, std::size_t& pos, int& value) {
    std::size_t start = pos;
    value = 0;
    while (pos < text.size() && pos - start < 2 && text[pos] >= '0' && text[pos] <= '9')
        value = value * 10 + (text[pos++] - '0');
    return pos > start;
}

}  // namespace

double SystemPcClock::now() const {
    const auto t = std::chrono::system_clock::now();
    const std::time_t secs = std::chrono::system_clock::to_time_t(t);
    std::tm local{};
    localtime_r(&secs, &local);
    const double frac = std::chrono::duration<double>(t.time_since_epoch()).count() - static_cast<double>(secs);
    const long long days = daysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                         static_cast<unsigned>(local.tm_mday)) + EpochOffset;
    return static_cast<double>(days) + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + frac) / 86400.0;
}

double dateFromYmd(int year, int month, int day) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        typeMismatch();
    return static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                               EpochOffset);
}

bool timeOfDayFromText(std::string_view text, double& dayFraction) {
    std::size_t pos = 0;
    int h = 0, m = 0, s = 0;
    if (!readNumber(text, pos, h) || pos >= text.size() || text[pos++] != ':') return false;
    if (!readNumber(text, pos, m)) return false;
    if (pos < text.size()) {
        if (text[pos++] != ':' || !readNumber(text, pos, s) || pos != text.size()) return false;
    }
    if (h > 23 || m > 59 || s > 59) return false;
    dayFraction = (h * 3600 + m * 60 + s) / 86400.0;
    return true;
}

double dateFromRmcText(std::string_view t) {
    int part[3];
    for (int k = 0; k < 3; ++k) {
        if (t.size() < static_cast<std::size_t>(2 * k + 2)) typeMismatch();
        const char a = t[2 * k], b = t[2 * k + 1];
        if (a < '0' || a > '9' || b < '0' || b > '9') typeMismatch();
        part[k] = (a - '0') * 10 + (b - '0');
    }
    return dateFromYmd(2000 + part[2], part[1], part[0]);
}

ClockText formatClock(double dateTime) {
    double days = std::floor(dateTime);
    long long secs = std::llround((dateTime - days) * 86400.0);
    if (secs >= 86400) secs -= 86400;
    // Every sentence of a type without its own time is labelled with this: no printf.
    ClockText out;
    const int parts[3] = {static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60)};
    char* p = out.text;
    for (int k = 0; k < 3; ++k) {
        if (k) *p++ = ':';
        *p++ = static_cast<char>('0' + parts[k] / 10);
        *p++ = static_cast<char>('0' + parts[k] % 10);
    }
    *p = 0;
    return out;
}

std::string formatDayMonthYear(double dateTime) {
    static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const CivilDate c = civilFromDays(static_cast<long long>(std::floor(dateTime)) - EpochOffset);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d %s %04lld", c.day, months[c.month - 1], c.year);
    return buf;
}

}  // namespace tiderune
