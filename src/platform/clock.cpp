#include "clock.h"

#include <chrono>
#include <ctime>

#include "core/civil_date.h"

namespace tiderune {

double ClockTime::dayCount() const {
    const long long days = daysFromCivil(year, month, day) - DateValueEpoch;
    const double fraction = (hour * 3600.0 + minute * 60.0 + second + millisecond / 1000.0) / 86400.0;
    return static_cast<double>(days) + fraction;
}

const char* monthAbbreviation(int month) {
    static constexpr const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return month >= 1 && month <= 12 ? names[month - 1] : "";
}

ClockTime SystemClock::now() const {
    using namespace std::chrono;
    const auto t = system_clock::now();
    const std::time_t secs = system_clock::to_time_t(t);
    std::tm tm{};
    localtime_r(&secs, &tm);
    ClockTime c;
    c.year = tm.tm_year + 1900;
    c.month = tm.tm_mon + 1;
    c.day = tm.tm_mday;
    c.hour = tm.tm_hour;
    c.minute = tm.tm_min;
    c.second = tm.tm_sec;
    c.millisecond = static_cast<int>(duration_cast<milliseconds>(t.time_since_epoch()).count() % 1000);
    return c;
}

}  // namespace tiderune
