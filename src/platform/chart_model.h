#pragma once
// The chart control without a screen: series, axes, tools, titles, legend and the user's
// view changes. The time-series engine drives it headless; the Qt chart widget draws it and
// turns mouse actions into the events below.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/chart_series.h"
#include "platform/chart_types.h"

namespace tiderune {

class Chart;

enum class AxisKind { Left, Top, Right, Bottom, Custom };

class Axis {
public:
    Axis(Chart* chart, AxisKind kind, bool horizontal, int customIndex = -1);
    Axis(const Axis&) = delete;
    Axis& operator=(const Axis&) = delete;

    AxisKind kind() const { return kind_; }
    bool horizontal() const { return horizontal_; }
    int customIndex() const { return customIndex_; }

    // Automatic is both ends automatic; setting it sets both ends.
    bool automatic() const { return autoMin_ && autoMax_; }
    void setAutomatic(bool on);
    bool automaticMinimum() const { return autoMin_; }
    void setAutomaticMinimum(bool on);
    bool automaticMaximum() const { return autoMax_; }
    void setAutomaticMaximum(bool on);

    // The range in use: an automatic end follows the data of the series on this axis
    // (the last value written while there is no data), a fixed end holds what was written.
    double minimum() const;
    double maximum() const;
    // A minimum above the maximum in use, or a maximum below the minimum in use, is
    // refused with an error and leaves the axis as it was.
    void setMinimum(double v);
    void setMaximum(double v);
    // Both ends at once, both fixed: the user's zoom and scroll.
    void setMinMax(double min, double max);
    // Extremes of the data of the series on this axis, if any.
    std::optional<Range> dataRange() const;

    const std::string& title() const { return title_; }
    void setTitle(const std::string& t);
    bool titleVisible() const { return titleVisible_; }
    void setTitleVisible(bool on);
    int titleAngle() const { return titleAngle_; }  // 0 or 90
    void setTitleAngle(int degrees);

    bool visible() const { return visible_; }
    void setVisible(bool on);
    bool labelsVisible() const { return labels_; }
    void setLabelsVisible(bool on);
    bool ticksVisible() const { return ticks_; }
    void setTicksVisible(bool on);
    // Smallest step between two labels (0: no lower bound).
    double increment() const { return increment_; }
    void setIncrement(double step);
    // Least free space between labels, in per cent of a label's size.
    int labelsSeparation() const { return separation_; }
    void setLabelsSeparation(int percent);
    bool inverted() const { return inverted_; }
    void setInverted(bool on);
    // Where the axis line sits across the plot: 0 at its own side (left or bottom edge; for
    // the right and top axes their edge), 50 in the middle.
    double positionPercent() const { return position_; }
    void setPositionPercent(double percent);
    // Labels as date values ("hh:nn" and the like) instead of numbers.
    bool dateTime() const { return dateTime_; }
    void setDateTime(bool on);
    const std::string& dateTimeFormat() const { return dateTimeFormat_; }
    void setDateTimeFormat(const std::string& f);

    struct State {
        bool autoMin, autoMax;
        double min, max;
    };
    State state() const { return {autoMin_, autoMax_, min_, max_}; }
    void restore(const State& s);

private:
    void touch();

    Chart* chart_;
    AxisKind kind_;
    bool horizontal_;
    int customIndex_;
    bool autoMin_ = true;
    bool autoMax_ = true;
    double min_ = 0;
    double max_ = 0;
    std::string title_;
    bool titleVisible_ = true;
    int titleAngle_ = 0;
    bool visible_ = true;
    bool labels_ = true;
    bool ticks_ = true;
    double increment_ = 0;
    int separation_ = 10;
    bool inverted_ = false;
    double position_ = 0;
    bool dateTime_ = false;
    std::string dateTimeFormat_;
};

// Chart title, subtitle or sub-footer: lines of text.
class TitleText {
public:
    explicit TitleText(Chart* c) : chart_(c) {}
    void clear();
    void addLine(const std::string& line);
    const std::vector<std::string>& lines() const { return lines_; }
    std::string text() const;  // lines joined with "\n"
    bool visible() const { return visible_; }
    void setVisible(bool on);
    Colour fontColour() const { return fontColour_; }
    void setFontColour(Colour c);
    // A title at a fixed place (pixels from the chart's top left) instead of centred.
    bool customPosition() const { return custom_; }
    int left() const { return left_; }
    int top() const { return top_; }
    void setCustomPosition(bool on, int left = 0, int top = 0);

private:
    Chart* chart_;
    std::vector<std::string> lines_;
    bool visible_ = true;
    Colour fontColour_ = colours::Black;
    bool custom_ = false;
    int left_ = 0;
    int top_ = 0;
};

class Legend {
public:
    explicit Legend(Chart* c) : chart_(c) {}
    bool visible() const { return visible_; }
    void setVisible(bool on);
    // Each series' last value after its title.
    bool showValues() const { return values_; }
    void setShowValues(bool on);
    // Titles written in their series' colours.
    bool seriesColourText() const { return seriesColours_; }
    void setSeriesColourText(bool on);

private:
    Chart* chart_;
    bool visible_ = true;
    bool values_ = false;
    bool seriesColours_ = false;
};

enum class ToolKind { ColorLine, ColorBand };

// A marker across the plot at a value of one axis: a line (colour line) or a shaded band
// between two values (colour band).
class Tool {
public:
    Tool(Chart* c, ToolKind kind, Axis* axis);
    ToolKind kind() const { return kind_; }
    Axis& axis() const { return *axis_; }

    double value() const { return value_; }  // colour line
    void setValue(double v);
    double startValue() const { return start_; }  // colour band
    double endValue() const { return end_; }
    void setStartValue(double v);
    void setEndValue(double v);

    Pen& pen() { return pen_; }
    const Pen& pen() const { return pen_; }
    void setPen(Colour c, PenStyle style = PenStyle::Solid, int width = 1);
    Colour colour() const { return colour_; }  // band fill
    void setColour(Colour c);
    int transparency() const { return transparency_; }  // per cent
    void setTransparency(int percent);
    bool allowDrag() const { return allowDrag_; }
    void setAllowDrag(bool on);
    bool active() const { return active_; }
    void setActive(bool on);

private:
    void touch();
    Chart* chart_;
    ToolKind kind_;
    Axis* axis_;
    double value_ = 0;
    double start_ = 0;
    double end_ = 0;
    Pen pen_;
    Colour colour_ = rgb(255, 255, 128);
    int transparency_ = 0;
    bool allowDrag_ = false;
    bool active_ = true;
};

struct AxisClickEvent {
    int index = 0;  // the chart's element in its window
    AxisCode axis = AxisCode::Left;
    int button = 0;  // mouse::Left, mouse::Right, mouse::Middle
    int shift = 0;   // shift:: bits
    int x = 0;       // pixels within the chart
    int y = 0;
};

// What a window hears from its charts: axis clicks and the user's changes of the visible
// range (zoom, undo zoom, scroll), each with the chart's index.
class ChartListener {
public:
    virtual ~ChartListener() = default;
    virtual void onAxisClick(const AxisClickEvent&) {}
    virtual void onZoom(int /*index*/) {}
    virtual void onUndoZoom(int /*index*/) {}
    virtual void onScroll(int /*index*/) {}
};

// Told once when a clean chart becomes dirty, so the screen can schedule one repaint.
class ChartObserver {
public:
    virtual ~ChartObserver() = default;
    virtual void chartChanged() = 0;
};

struct AxisSpan {
    Axis* axis;
    double min;
    double max;
};

class Chart {
public:
    Chart();
    Chart(const Chart&) = delete;
    Chart& operator=(const Chart&) = delete;

    // The chart's element number in its window's array of charts; events carry it.
    int index() const { return index_; }
    void setIndex(int i) { index_ = i; }

    // --- series: a new series goes to the end ---------------------------------------------
    Series& addSeries(SeriesKind kind);
    Series& series(int i);
    const Series& series(int i) const;
    int seriesCount() const { return static_cast<int>(series_.size()); }

    // --- axes -----------------------------------------------------------------------------
    Axis& leftAxis() { return *left_; }
    Axis& rightAxis() { return *right_; }
    Axis& topAxis() { return *top_; }
    Axis& bottomAxis() { return *bottom_; }
    const Axis& leftAxis() const { return *left_; }
    const Axis& rightAxis() const { return *right_; }
    const Axis& topAxis() const { return *top_; }
    const Axis& bottomAxis() const { return *bottom_; }
    Axis& addCustomAxis(bool horizontal);
    Axis& customAxis(int i);
    const Axis& customAxis(int i) const;
    int customAxisCount() const { return static_cast<int>(custom_.size()); }
    // Every axis, standard ones first.
    std::vector<Axis*> allAxes();
    // The axes a series is drawn against.
    Axis& verticalAxisOf(const Series& s);
    Axis& horizontalAxisOf(const Series& s);
    const Axis& verticalAxisOf(const Series& s) const;
    const Axis& horizontalAxisOf(const Series& s) const;

    // --- tools ----------------------------------------------------------------------------
    Tool& addColorLine(Axis& axis);
    Tool& addColorBand(Axis& axis);
    Tool& tool(int i);
    const Tool& tool(int i) const;
    int toolCount() const { return static_cast<int>(tools_.size()); }

    // --- titles, legend, margins ----------------------------------------------------------
    TitleText& title() { return title_; }
    TitleText& subTitle() { return subTitle_; }
    TitleText& subFoot() { return subFoot_; }
    const TitleText& title() const { return title_; }
    const TitleText& subTitle() const { return subTitle_; }
    const TitleText& subFoot() const { return subFoot_; }
    Legend& legend() { return legend_; }
    const Legend& legend() const { return legend_; }
    // Space round the plot in per cent of the chart's width (left, right) or height.
    double marginLeft() const { return margins_[0]; }
    double marginTop() const { return margins_[1]; }
    double marginRight() const { return margins_[2]; }
    double marginBottom() const { return margins_[3]; }
    void setMargins(double left, double top, double right, double bottom);
    void setMarginRight(double percent);
    // Points outside the plot are cut off at its edge (on by default).
    bool clipPoints() const { return clip_; }
    void setClipPoints(bool on);
    // The plot kept square, centred in the room the axes and titles leave it (off by default):
    // a plot of two axes over the same range then has one scale for both.
    bool squarePlot() const { return square_; }
    void setSquarePlot(bool on);

    // --- the user's view changes ----------------------------------------------------------
    // The ranges before the first zoom or scroll are kept for undoing.
    void zoom(const std::vector<AxisSpan>& spans);
    void undoZoom();
    void scroll(const std::vector<AxisSpan>& spans);
    bool zoomed() const { return !undo_.empty(); }
    void raiseAxisClick(const AxisClickEvent& e);

    void addListener(ChartListener* l);
    void removeListener(ChartListener* l);

    // --- repaint bookkeeping --------------------------------------------------------------
    void setObserver(ChartObserver* o) { observer_ = o; }
    void changed() {
        ++generation_;
        if (!dirty_) {
            dirty_ = true;
            if (observer_) observer_->chartChanged();
        }
    }
    bool dirty() const { return dirty_; }
    void markPainted() { dirty_ = false; }
    unsigned long long generation() const { return generation_; }

private:
    template <typename F>
    void notify(F f);
    void saveUndo();

    int index_ = 0;
    std::vector<std::unique_ptr<Series>> series_;
    std::unique_ptr<Axis> left_, top_, right_, bottom_;
    std::vector<std::unique_ptr<Axis>> custom_;
    std::vector<std::unique_ptr<Tool>> tools_;
    TitleText title_{this};
    TitleText subTitle_{this};
    TitleText subFoot_{this};
    Legend legend_{this};
    double margins_[4] = {3, 4, 3, 4};
    bool clip_ = true;
    bool square_ = false;
    std::vector<std::pair<Axis*, Axis::State>> undo_;
    std::vector<ChartListener*> listeners_;
    ChartObserver* observer_ = nullptr;
    bool dirty_ = true;
    unsigned long long generation_ = 0;
};

}  // namespace tiderune
