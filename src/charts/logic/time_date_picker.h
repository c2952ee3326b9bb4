#pragma once
// The date and time picker of the time dialog (frmSetTimeDate) without its screen: six lists
// from which the user builds the start or the end of a chart's time axis, and the two labels
// that show the date and the time being built.
//
// The day list follows the chosen month: February loses "30" and "31", and "29" unless the
// year divides by 4 (no century rule, so 2100 keeps it); the months of 30 days lose "31".
// Dates are always built by counting days on from the first of the month, so a day the
// month does not have (29 February 2100, or the 31st picked before a shorter month) carries
// into the next month instead of making an impossible date.
#include <string>

#include "timeseries/time_series_form.h"

namespace tiderune {

class TimeDatePicker {
public:
    // Opens for the start or the end of the range, at the time the caption of that button
    // shows ("dd.mm.yyyy hh:nn:ss", see axisTimeCaption).
    TimeDatePicker(bool start, double current);

    std::string caption;  // the window's
    ListBox lstYear, lstMonth, lstDay, lstHour, lstMin, lstSec;
    std::string lblDate;  // "dd.mm.yyyy" once a date list was clicked
    std::string lblTime;  // "hh:mm:ss"

    // A click on an entry of a list: selects it and runs its handler.
    void lstYear_Click(int index);
    void lstMonth_Click(int index);
    void lstDay_Click(int index);
    void lstHour_Click(int index);
    void lstMin_Click(int index);
    void lstSec_Click(int index);

    // The time built, as the start or end button shows it.
    std::string okCaption() const;

private:
    void setDate(long long year, int month, int day);
    void removeDay(const char* entry);
    void fillDays(int last);
    void setTimePart(std::size_t at, const ListBox& list);

    long long days_ = 0;  // the date being built, days since 1 January 1970
};

}  // namespace tiderune
