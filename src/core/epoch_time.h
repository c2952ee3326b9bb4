#pragma once
// Date-time values as the program keeps them: a day count from 30 Dec 1899 with the time of
// day as fraction (so day 1 is 31 Dec 1899), and the texts made from them.
#include <string>
#include <string_view>

namespace tiderune {

// The PC's local date and time as a day count; an interface so tests can set the clock.
class PcClock {
public:
    virtual ~PcClock() = default;
    virtual double now() const = 0;
};

class SystemPcClock final : public PcClock {
public:
    double now() const override;
};

// Day count of a calendar date; raises Type mismatch when the date does not exist.
double dateFromYmd(int year, int month, int day);

// The time of day in "h:m" or "h:m:s" (one or two digits each) as a fraction of a day; false
// when the text is no valid time.
bool timeOfDayFromText(std::string_view text, double& dayFraction);

// "ddmmyy" of an RMC sentence: year 2000 + yy. Raises Type mismatch when it gives no date.
double dateFromRmcText(std::string_view ddmmyy);

// A short text kept in place, so labelling a sample allocates nothing.
struct ClockText {
    char text[12] = {};
    std::string_view view() const { return text; }
};

// "hh:mm:ss" of a date-time, rounded to the nearest second.
ClockText formatClock(double dateTime);
// "dd mmm yyyy" with English month abbreviations, e.g. "08 Dec 2026".
std::string formatDayMonthYear(double dateTime);

}  // namespace tiderune
