#pragma once
// Civil (proleptic Gregorian) dates as day numbers. Every date the program keeps is a day
// count since 30 December 1899 with the time of day as a fraction; these two conversions are
// the one place where a year, month and day become a day number and back.
namespace tiderune {

struct CivilDate {
    long long year = 0;
    int month = 0;
    int day = 0;
};

// Days from 1 January 1970 of a civil date.
constexpr long long daysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The civil date of a day number counted from 1 January 1970.
constexpr CivilDate civilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    CivilDate c;
    c.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    c.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    c.year = yoe + era * 400 + (c.month <= 2);
    return c;
}

// 30 December 1899, day 0 of the program's date values, counted from 1 January 1970.
inline constexpr long long DateValueEpoch = -25569;
static_assert(daysFromCivil(1899, 12, 30) == DateValueEpoch);

}  // namespace tiderune
