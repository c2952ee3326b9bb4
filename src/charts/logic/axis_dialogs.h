#pragma once
// The axis range dialogs without their screen: what they show when they open, which of their
// controls can be used, and what OK does to the clicked chart. The value dialog (frmYAxis)
// edits the left or right axis of one chart; the time dialog (frmXAxis) edits the bottom
// axis of one chart and gives every chart of its window the same bottom axis.
#include <optional>
#include <string>
#include <string_view>

namespace tiderune {

class Axis;
class Chart;
class TimeSeriesForm;

inline constexpr const char* MinAboveMaxMessage = "Min higher than Max not allowed. Try again!";
inline constexpr const char* StartAfterEndMessage = "Start time later than End time not allowed. Try again!";

// The three check boxes: the whole axis automatic, its maximum automatic, its minimum.
struct AxisChecks {
    bool automatic = false;
    bool autoMax = false;
    bool autoMin = false;
};

// The check boxes as an axis stands.
AxisChecks axisChecks(const Axis& axis);

// What the user may touch: the two end check boxes only while the whole axis is not
// automatic, an end's value only while that end is not automatic either.
struct AxisEnables {
    bool autoMax = true;
    bool autoMin = true;
    bool max = true;
    bool min = true;
};
AxisEnables axisEnables(const AxisChecks& checks);

// The axis a value dialog edits: the left one for "left", the right one for anything else.
Axis& valueDialogAxis(Chart& chart, const std::string& axisName);

// An axis end as the value dialog shows it, one decimal.
std::string axisValueText(double value);

// A typed end: the user's number rule (a decimal comma counts as a point; no number reads
// as 0) taken to single precision. Empty when the number does not fit a single.
std::optional<float> typedAxisValue(std::string_view text);

enum class AxisOk { Applied, Refused };

// OK of the value dialog. The whole-axis box alone makes the axis automatic. Otherwise the
// end flags are written first and stay written when the range is refused (maximum not above
// minimum, or a typed end beyond single precision); a range that passes is set in one step,
// so that a new range wholly beside the old one is never refused half-way by the chart.
AxisOk applyValueAxis(Axis& axis, const AxisChecks& checks, std::string_view txtMax, std::string_view txtMin);

// A bottom-axis time as the start and end buttons show it: "dd.mm.yyyy hh:nn:ss". Times
// outside the years 1 to 9999 show the nearest one that fits.
std::string axisTimeCaption(double dateValue);
// The date value of such a caption, read in that fixed layout whatever the locale; empty
// when the text is not one.
std::optional<double> parseAxisTimeCaption(std::string_view caption);

// OK of the time dialog on the bottom axis of chart chartIndex of the form, with the start
// and end buttons' captions. Refused (flags written, range unchanged) when the end is not
// later than the start. When the range passes or the whole axis is automatic, the edited
// axis' flags and range go to the bottom axis of charts 0 to chartCount - 1 (a chart the
// form lacks is passed over).
AxisOk applyTimeAxis(TimeSeriesForm& form, int chartIndex, int chartCount, const AxisChecks& checks,
                     std::string_view cmdEnd, std::string_view cmdStart);

}  // namespace tiderune
