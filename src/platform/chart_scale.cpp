#include "platform/chart_scale.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "core/civil_date.h"

namespace tiderune {

namespace {



constexpr long long DaysTo1970 = -DateValueEpoch;

std::string twoDigits(int v) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

}  // namespace

double dateValue(int year, int month, int day, int hour, int minute, double second) {
    const long long days = daysFromCivil(year, month, day) + DaysTo1970;
    return static_cast<double>(days) + (hour * 3600.0 + minute * 60.0 + second) / SecondsPerDay;
}

CivilTime civilTime(double v) {
    // Round to the millisecond so that 10:45:00 stored as 10:44:59.9999999 reads 10:45:00.
    const long long ms = std::llround(v * SecondsPerDay * 1000.0);
    long long days = ms / 86400000;
    long long rest = ms % 86400000;
    if (rest < 0) {
        rest += 86400000;
        --days;
    }
    CivilTime t{};
    const CivilDate c = civilFromDays(days - DaysTo1970);
    t.year = static_cast<int>(c.year);
    t.month = c.month;
    t.day = c.day;
    t.hour = static_cast<int>(rest / 3600000);
    t.minute = static_cast<int>(rest / 60000 % 60);
    t.second = static_cast<int>(rest / 1000 % 60);
    t.millisecond = static_cast<int>(rest % 1000);
    return t;
}

std::string formatDateValue(double v, const std::string& f) {
    static constexpr std::array<const char*, 12> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const CivilTime t = civilTime(v);
    std::string out;
    std::size_t i = 0;
    auto run = [&](char c) {
        std::size_t n = 0;
        while (i + n < f.size() && (f[i + n] | 0x20) == c) ++n;
        return n;
    };
    while (i < f.size()) {
        const char c = static_cast<char>(f[i] | 0x20);
        std::size_t n = 0;
        switch (c) {
        case 'y':
            n = run('y');
            out += n >= 4 ? std::to_string(t.year) : twoDigits(t.year % 100);
            break;
        case 'm':
            n = run('m');
            if (n >= 3) out += months[static_cast<std::size_t>(t.month - 1)];
            else out += n == 2 ? twoDigits(t.month) : std::to_string(t.month);
            break;
        case 'd':
            n = run('d');
            out += n >= 2 ? twoDigits(t.day) : std::to_string(t.day);
            break;
        case 'h':
            n = run('h');
            out += n >= 2 ? twoDigits(t.hour) : std::to_string(t.hour);
            break;
        case 'n':
            n = run('n');
            out += n >= 2 ? twoDigits(t.minute) : std::to_string(t.minute);
            break;
        case 's':
            n = run('s');
            out += n >= 2 ? twoDigits(t.second) : std::to_string(t.second);
            break;
        default:
            out += f[i];
            n = 1;
        }
        i += n;
    }
    return out;
}

std::string formatAxisNumber(double v, double step) {
    int decimals = 0;
    if (step > 0 && step < 1) decimals = std::min(10, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    if (std::fabs(v) < step * 1e-6) v = 0;  // no "-0.0"
    char b[64];
    std::snprintf(b, sizeof b, "%.*f", decimals, v);
    return b;
}

std::string formatLegendNumber(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.3f", v);
    std::string s = b;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

double niceStep(double raw, double minStep) {
    if (!(raw > 0) || !std::isfinite(raw)) raw = 1;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * p;
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * p >= raw * (1 - 1e-9)) {
            step = m * p;
            break;
        }
    if (minStep > 0 && step < minStep) {
        // The smallest multiple of the minimum step that is still a round figure.
        const double k = std::ceil(raw / minStep - 1e-9);
        step = minStep * std::max(1.0, k);
    }
    return step;
}

double niceDateStep(double rawDays) {
    static constexpr double steps[] = {1,    2,    5,     10,    15,    30,    60,    120,
                                       300,  600,  900,   1800,  3600,  7200,  10800, 21600,
                                       43200, 86400, 172800, 604800};
    const double raw = rawDays * SecondsPerDay;
    for (double s : steps)
        if (s >= raw * (1 - 1e-9)) return s / SecondsPerDay;
    return std::ceil(rawDays / 7) * 7;
}

std::vector<double> tickValues(double min, double max, double step) {
    std::vector<double> v;
    if (!(step > 0) || !(max >= min)) return v;
    const double first = std::ceil(min / step - 1e-9);
    const double last = std::floor(max / step + 1e-9);
    if (last - first > 10000) return v;
    for (double k = first; k <= last; k += 1) v.push_back(k * step);
    return v;
}

AxisMap::AxisMap(double min, double max, double p0, double p1) : min_(min), max_(max), p0_(p0), p1_(p1) {
    scale_ = max > min ? (p1 - p0) / (max - min) : 1;
}

void drawableRange(double& min, double& max, bool dateAxis) {
    if (!std::isfinite(min)) min = 0;
    if (!std::isfinite(max)) max = min;
    if (max > min) return;
    const double pad = dateAxis ? 1.0 / 24 : 1.0;
    const double mid = (min + max) / 2;
    min = mid - pad / 2;
    max = mid + pad / 2;
    if (!dateAxis && min == max) {
        min -= 1;
        max += 1;
    }
}

}  // namespace tiderune
