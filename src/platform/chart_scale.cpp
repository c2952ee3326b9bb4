#include "platform/chart_scale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

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
    // Pinned to what a millisecond count holds: a value far outside the calendar reads as
    // its nearest end, not as whatever an out-of-range conversion makes of it.
    const double msValue = std::isnan(v) ? 0 : std::clamp(v * SecondsPerDay * 1000.0, -9.0e18, 9.0e18);
    const long long ms = std::llround(msValue);
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
    // Every digit of a large value is written: up to 309 of them before the point.
    char b[400];
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
    if (!(raw > 0)) raw = 1;
    raw = std::min(raw, std::numeric_limits<double>::max());
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
    // Near the largest double the next round figure is beyond it.
    return std::isfinite(step) ? step : std::numeric_limits<double>::max();
}

double niceDateStep(double rawDays) {
    static constexpr double steps[] = {1,    2,    5,     10,    15,    30,    60,    120,
                                       300,  600,  900,   1800,  3600,  7200,  10800, 21600,
                                       43200, 86400, 172800, 604800};
    const double raw = rawDays * SecondsPerDay;
    for (double s : steps)
        if (s >= raw * (1 - 1e-9)) return s / SecondsPerDay;
    const double weeks = std::ceil(rawDays / 7) * 7;
    return std::isfinite(weeks) ? weeks : std::numeric_limits<double>::max();
}

namespace {

// Whether a format shows a field, read as formatDateValue reads it.
bool shows(const std::string& f, char field) {
    return std::any_of(f.begin(), f.end(), [field](char c) { return (c | 0x20) == field; });
}

}  // namespace

double dateFormatResolution(const std::string& f) {
    // A month is never longer than 31 days, a year than 366.
    for (auto [field, seconds] : {std::pair{'s', 1.0}, {'n', 60.0}, {'h', 3600.0}, {'d', SecondsPerDay},
                                  {'m', 31 * SecondsPerDay}, {'y', 366 * SecondsPerDay}})
        if (shows(f, field)) return seconds / SecondsPerDay;
    return 0;
}

std::string dateLabelFormat(const std::string& f, double step) {
    const bool dayOrMore = step >= 1 - 1e-9;
    if (f.empty()) return step < 60 / SecondsPerDay * (1 - 1e-9) ? "hh:nn:ss" : dayOrMore ? "dd.mm.yyyy" : "hh:nn";
    if (dayOrMore && !shows(f, 'd') && !shows(f, 'm') && !shows(f, 'y')) return "dd.mm.yyyy";
    return f;
}

std::vector<double> tickValues(double min, double max, double step) {
    std::vector<double> v;
    if (!(step > 0) || !std::isfinite(step) || !(max >= min) || !std::isfinite(min) || !std::isfinite(max)) return v;
    const double first = std::ceil(min / step - 1e-9);
    const double last = std::floor(max / step + 1e-9);
    if (!(last - first <= MaxTicks)) return v;
    // Counted, not stepped: at large multiples adding one to a double changes nothing, and
    // neighbouring multiples may round to the same value (kept once). A multiple a hair
    // outside the range is kept; one that the margin for rounding only let in when the step
    // dwarfs the range is not.
    const double slack = (max - min) * 1e-9;
    const auto count = static_cast<int>(last - first);
    for (int i = 0; i <= count; ++i) {
        const double t = (first + i) * step;
        if (std::isfinite(t) && t >= min - slack && t <= max + slack && (v.empty() || t > v.back())) v.push_back(t);
    }
    return v;
}

AxisTicks axisTicks(double min, double max, bool dateAxis, double increment, int length,
                    const std::function<double(double min, double max, double step)>& labelSpace,
                    const std::string& dateFormat) {
    AxisTicks t;
    t.min = min;
    t.max = max;
    drawableRange(t.min, t.max, dateAxis);
    const double range = t.max - t.min;
    // Ticks closer than the format's finest field would read alike ("08:00 08:00 08:01").
    const double finest = dateAxis ? dateFormatResolution(dateFormat) : 0;
    auto stepFor = [&](double guess) {
        double perLabel = labelSpace ? labelSpace(t.min, t.max, guess) : 1;
        if (!(perLabel >= 1)) perLabel = 1;
        const double raw = range * perLabel / std::max(1, length);
        return dateAxis ? std::max(niceDateStep(std::max(raw, finest)), increment) : niceStep(raw, increment);
    };
    double guess = dateAxis ? niceDateStep(std::max(range / 5, finest)) : niceStep(range / 5, increment);
    // The axis's own format is measured as it reads at the longest step below a day, where
    // it still serves.
    if (dateAxis && !dateFormat.empty() && dateLabelFormat(dateFormat, guess) != dateFormat) guess = 0.5;
    t.step = stepFor(guess);
    // Labels of another format than the guess's (seconds added, or dates) take their own room.
    if (dateAxis && dateLabelFormat(dateFormat, t.step) != dateLabelFormat(dateFormat, guess))
        t.step = std::max(t.step, stepFor(t.step));
    t.values = tickValues(t.min, t.max, t.step);
    if (dateAxis) t.dateFormat = dateLabelFormat(dateFormat, t.step);
    return t;
}

std::string tickLabel(const AxisTicks& t, bool dateAxis, double v) {
    return dateAxis ? formatDateValue(v, t.dateFormat) : formatAxisNumber(v, t.step);
}

AxisMap::AxisMap(double min, double max, double p0, double p1) : min_(min), max_(max), p0_(p0), p1_(p1) {
    scale_ = max > min ? (p1 - p0) / (max - min) : 1;
}

void drawableRange(double& min, double& max, bool dateAxis) {
    if (!std::isfinite(min)) min = 0;
    if (!std::isfinite(max)) max = min;
    // Ends beyond any measured value are pinned, so that the span is a number.
    min = std::clamp(min, -RangeLimit, RangeLimit);
    max = std::clamp(max, -RangeLimit, RangeLimit);
    const double mid = min / 2 + max / 2;
    // A span narrower than a millionth of a millionth of its values cannot be divided into
    // steps that label apart, and one below MinSpan leaves no finite pixels per unit: either
    // is widened like an empty one.
    if (max - min > std::max(std::fabs(mid) * 1e-12, MinSpan)) return;
    // At large values the unit (or hour) is lost in rounding: the padding grows with them.
    const double pad = std::max(dateAxis ? 1.0 / 24 : 1.0, std::fabs(mid) * 1e-9);
    min = mid - pad / 2;
    max = mid + pad / 2;
}

}  // namespace tiderune
