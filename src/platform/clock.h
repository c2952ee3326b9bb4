#pragma once
// The wall clock, behind an interface so that tests can fix the time.
#include <string>

namespace tiderune {

// A local date and time of day, broken down.
struct ClockTime {
    int year = 1899;
    int month = 12;  // 1-12
    int day = 30;    // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    // Days since 30 December 1899 with the time of day as fraction: the date type the
    // program keeps its epoch and processing times in.
    double dayCount() const;
    bool operator==(const ClockTime&) const = default;
};

// "Jan" ... "Dec"; month 1-12 (anything else gives "").
const char* monthAbbreviation(int month);

class Clock {
public:
    virtual ~Clock() = default;
    virtual ClockTime now() const = 0;
};

// The computer's local time.
class SystemClock final : public Clock {
public:
    ClockTime now() const override;
};

// A clock that shows what it is told; for tests.
class FixedClock final : public Clock {
public:
    explicit FixedClock(ClockTime t = {}) : time(t) {}
    ClockTime now() const override { return time; }
    ClockTime time;
};

}  // namespace tiderune
