#pragma once
// Axis arithmetic shared by the screen and the tests: date values and their label texts,
// label steps, and the value-to-pixel mapping of one axis.
#include <functional>
#include <string>
#include <vector>

namespace tiderune {

// Date values count days since midnight of 30 December 1899; the fraction is the time of
// day (one second is 1/86400).
inline constexpr double SecondsPerDay = 86400.0;
double dateValue(int year, int month, int day, int hour = 0, int minute = 0, double second = 0);

struct CivilTime {
    int year, month, day, hour, minute, second, millisecond;
};
CivilTime civilTime(double dateValue);

// Formats a date value: "yyyy", "yy", "mmm" (month name), "mm", "m" (month), "dd", "d",
// "hh", "h", "nn", "n", "ss", "s"; any other character stands for itself.
std::string formatDateValue(double dateValue, const std::string& format);

// Number text for an axis label with as many decimals as the step needs.
std::string formatAxisNumber(double v, double step);
// Number text of a legend value: up to three decimals, trailing zeros dropped.
std::string formatLegendNumber(double v);

// A step of 1, 2 or 5 times a power of ten, at least raw and at least minStep.
double niceStep(double raw, double minStep);
// A step in days from the clock's own steps (seconds, minutes, hours, days), at least raw.
double niceDateStep(double rawDays);
// The smallest step in days between ticks whose labels a date format tells apart: a second
// when it shows seconds, a minute when its finest field is the minute, and so on up to a
// year; 0 for no format (the labels then follow the step, below).
double dateFormatResolution(const std::string& format);
// The format of date labels at a step: the axis's own when it has one, else seconds below a
// minute, hours and minutes below a day and the date from a day on. A time of day without a
// date reads the same at every tick a day or more apart: such ticks are labelled with dates.
std::string dateLabelFormat(const std::string& format, double stepDays);
// Label values from min to max at multiples of step; none when there would be more than
// MaxTicks of them.
inline constexpr int MaxTicks = 10000;
std::vector<double> tickValues(double min, double max, double step);

// The labelled range of an axis and its label values.
struct AxisTicks {
    double min = 0, max = 1, step = 1;
    std::vector<double> values;
    std::string dateFormat;  // a date axis's label format at the step
};
// The ticks of an axis from the range in use (made drawable) over `length` pixels, at a step
// that leaves each label the room `labelSpace` gives (in pixels along the axis, for labels of
// the range's ends at a first guess of the step) and at least `increment`. On a date axis the
// step is also one that the axis's label format `dateFormat` tells apart, so that no two
// neighbouring labels read the same: whole minutes for "hh:nn".
AxisTicks axisTicks(double min, double max, bool dateAxis, double increment, int length,
                    const std::function<double(double min, double max, double step)>& labelSpace,
                    const std::string& dateFormat = {});
// The text of one tick's label.
std::string tickLabel(const AxisTicks& ticks, bool dateAxis, double v);

// Value-to-pixel mapping of one axis over a span of pixels. Inverted axes and vertical
// axes (pixel numbers growing downwards) are handled by the caller's choice of ends.
class AxisMap {
public:
    AxisMap() = default;
    // min maps to pixel p0 and max to pixel p1.
    AxisMap(double min, double max, double p0, double p1);
    double toPixel(double v) const { return p0_ + (v - min_) * scale_; }
    double toValue(double p) const { return min_ + (p - p0_) / scale_; }
    double min() const { return min_; }
    double max() const { return max_; }

private:
    double min_ = 0, max_ = 1, p0_ = 0, p1_ = 1, scale_ = 1;
};

// A usable axis range from the range in use: finite ends within RangeLimit, and an empty,
// reversed or unresolvably narrow range (or one below MinSpan) widened so that something can
// be drawn: by one unit, or one hour on a date axis, or a billionth of the values when more.
inline constexpr double RangeLimit = 1e300;
inline constexpr double MinSpan = 1e-250;
void drawableRange(double& min, double& max, bool dateAxis);

}  // namespace tiderune
