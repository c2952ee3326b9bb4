#include "charts/logic/time_date_picker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "charts/logic/axis_dialogs.h"
#include "core/civil_date.h"
#include "platform/chart_scale.h"

namespace tiderune {

namespace {

constexpr const char* MonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string twoDigits(int v) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

double toDateValue(long long days) { return static_cast<double>(days - DateValueEpoch); }

void select(ListBox& list, int index) {
    list.listIndex = std::clamp(index, -1, static_cast<int>(list.items.size()) - 1);
}

int entryNumber(const ListBox& list) {
    const std::string t = list.text();
    return t.empty() ? 0 : std::atoi(t.c_str());
}

}  // namespace

TimeDatePicker::TimeDatePicker(bool start, double current) {
    caption = start ? "Set X-Axis Start Date & Time" : "Set X-Axis End Date & Time";
    const CivilTime t = civilTime(std::round(current * SecondsPerDay) / SecondsPerDay);
    days_ = daysFromCivil(t.year, t.month, t.day);
    lblDate = formatDateValue(toDateValue(days_), "dd mmm yyyy");
    lblTime = twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);

    for (int y = t.year - 1; y <= t.year + 1; ++y) lstYear.add(std::to_string(y));
    for (const char* m : MonthNames) lstMonth.add(m);
    for (int d = 1; d <= 31; ++d) lstDay.add(twoDigits(d));
    for (int h = 0; h < 24; ++h) lstHour.add(twoDigits(h));
    for (int m = 0; m < 60; ++m) {
        lstMin.add(twoDigits(m));
        lstSec.add(twoDigits(m));
    }

    lstDay_Click(t.day - 1);
    lstMonth_Click(t.month - 1);
    lstYear_Click(1);
    lstHour_Click(t.hour);
    lstMin_Click(t.minute);
    lstSec_Click(t.second);
}

void TimeDatePicker::setDate(long long year, int month, int day) {
    // From the first of the month on, so that a day beyond the month's end carries over.
    days_ = daysFromCivil(year, month, 1) + (day - 1);
    lblDate = formatDateValue(toDateValue(days_), "dd.mm.yyyy");
}

void TimeDatePicker::lstDay_Click(int index) {
    select(lstDay, index);
    if (lstDay.listIndex < 0) return;
    const CivilDate d = civilFromDays(days_);
    setDate(d.year, d.month, lstDay.listIndex + 1);
}

void TimeDatePicker::lstYear_Click(int index) {
    select(lstYear, index);
    if (lstYear.listIndex < 0) return;
    const CivilDate d = civilFromDays(days_);
    setDate(entryNumber(lstYear), d.month, d.day);
}

void TimeDatePicker::removeDay(const char* entry) {
    const auto it = std::find(lstDay.items.begin(), lstDay.items.end(), entry);
    if (it == lstDay.items.end()) return;
    const int at = static_cast<int>(it - lstDay.items.begin());
    lstDay.items.erase(it);
    lstDay.itemData.erase(lstDay.itemData.begin() + at);
    // Removing the chosen entry leaves none chosen; one above it moves down.
    if (lstDay.listIndex == at) lstDay.listIndex = -1;
    else if (lstDay.listIndex > at) --lstDay.listIndex;
}

void TimeDatePicker::fillDays(int last) {
    for (int d = static_cast<int>(lstDay.items.size()) + 1; d <= last; ++d) lstDay.add(std::to_string(d));
}

void TimeDatePicker::lstMonth_Click(int index) {
    select(lstMonth, index);
    if (lstMonth.listIndex < 0) return;
    const int m = lstMonth.listIndex;
    const long long year = civilFromDays(days_).year;
    if (m == 1) {
        removeDay("31");
        removeDay("30");
        if (year % 4 != 0) {
            removeDay("29");
            if (civilFromDays(days_).day > 28) lstDay_Click(27);
        } else if (civilFromDays(days_).day > 29) {
            lstDay_Click(28);
        }
    } else if (m == 3 || m == 5 || m == 8 || m == 10) {
        removeDay("31");
        // The list is whole again before a day is chosen from it.
        fillDays(30);
        if (civilFromDays(days_).day > 30) lstDay_Click(29);
    } else {
        fillDays(31);
    }
    // The day may have moved above: take the date as it stands now.
    const CivilDate d = civilFromDays(days_);
    setDate(d.year, m + 1, d.day);
}

void TimeDatePicker::setTimePart(std::size_t at, const ListBox& list) {
    const std::string t = list.text();
    if (t.size() == 2) lblTime.replace(at, 2, t);
}

void TimeDatePicker::lstHour_Click(int index) {
    select(lstHour, index);
    setTimePart(0, lstHour);
}

void TimeDatePicker::lstMin_Click(int index) {
    select(lstMin, index);
    setTimePart(3, lstMin);
}

void TimeDatePicker::lstSec_Click(int index) {
    select(lstSec, index);
    setTimePart(6, lstSec);
}

std::string TimeDatePicker::okCaption() const {
    const int h = std::atoi(lblTime.substr(0, 2).c_str());
    const int n = std::atoi(lblTime.substr(3, 2).c_str());
    const int s = std::atoi(lblTime.substr(6, 2).c_str());
    return axisTimeCaption(toDateValue(days_) + (h * 3600 + n * 60 + s) / SecondsPerDay);
}

}  // namespace tiderune
