#include "platform/chart_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tiderune {

namespace {

// An axis end must be a finite value that a single-precision number can hold: a typed or
// computed value beyond that would leave the chart unable to draw its scale.
bool validAxisValue(double v) { return std::isfinite(v) && std::fabs(v) <= std::numeric_limits<float>::max(); }

bool onAxis(const Series& s, const Axis& a) {
    if (a.horizontal()) {
        switch (s.horizontalAxis()) {
        case HorizontalAxis::Bottom: return a.kind() == AxisKind::Bottom;
        case HorizontalAxis::Top: return a.kind() == AxisKind::Top;
        case HorizontalAxis::Custom: return a.kind() == AxisKind::Custom && a.customIndex() == s.customHorizontalAxis();
        }
        return false;
    }
    switch (s.verticalAxis()) {
    case VerticalAxis::Left: return a.kind() == AxisKind::Left;
    case VerticalAxis::Right: return a.kind() == AxisKind::Right;
    case VerticalAxis::Both: return a.kind() == AxisKind::Left || a.kind() == AxisKind::Right;
    case VerticalAxis::Custom: return a.kind() == AxisKind::Custom && a.customIndex() == s.customVerticalAxis();
    }
    return false;
}

}  // namespace

// --- Axis --------------------------------------------------------------------------------

Axis::Axis(Chart* chart, AxisKind kind, bool horizontal, int customIndex)
    : chart_(chart), kind_(kind), horizontal_(horizontal), customIndex_(customIndex) {
    if (!horizontal) titleAngle_ = 90;
}

void Axis::touch() {
    if (chart_) chart_->changed();
}

void Axis::setAutomatic(bool on) {
    autoMin_ = autoMax_ = on;
    touch();
}

void Axis::setAutomaticMinimum(bool on) {
    autoMin_ = on;
    touch();
}

void Axis::setAutomaticMaximum(bool on) {
    autoMax_ = on;
    touch();
}

std::optional<Range> Axis::dataRange() const {
    if (!chart_) return std::nullopt;
    std::optional<Range> r;
    for (int i = 0; i < chart_->seriesCount(); ++i) {
        const Series& s = chart_->series(i);
        if (!onAxis(s, *this)) continue;
        const auto sr = horizontal_ ? s.xRange() : s.yRange();
        if (!sr) continue;
        if (!r) r = sr;
        else {
            r->min = std::min(r->min, sr->min);
            r->max = std::max(r->max, sr->max);
        }
    }
    return r;
}

double Axis::minimum() const {
    if (autoMin_)
        if (const auto r = dataRange()) return r->min;
    return min_;
}

double Axis::maximum() const {
    if (autoMax_)
        if (const auto r = dataRange()) return r->max;
    return max_;
}

void Axis::setMinimum(double v) {
    if (!validAxisValue(v)) throwChartValue("Invalid axis value");
    if (v > maximum()) throwChartValue("Axis minimum value must be <= maximum");
    min_ = v;
    touch();
}

void Axis::setMaximum(double v) {
    if (!validAxisValue(v)) throwChartValue("Invalid axis value");
    if (v < minimum()) throwChartValue("Axis maximum value must be >= minimum");
    max_ = v;
    touch();
}

void Axis::setMinMax(double min, double max) {
    if (!validAxisValue(min) || !validAxisValue(max)) throwChartValue("Invalid axis value");
    if (min > max) std::swap(min, max);
    autoMin_ = autoMax_ = false;
    min_ = min;
    max_ = max;
    touch();
}

void Axis::restore(const State& s) {
    autoMin_ = s.autoMin;
    autoMax_ = s.autoMax;
    min_ = s.min;
    max_ = s.max;
    touch();
}

void Axis::setTitle(const std::string& t) {
    title_ = t;
    touch();
}
void Axis::setTitleVisible(bool on) {
    titleVisible_ = on;
    touch();
}
void Axis::setTitleAngle(int degrees) {
    titleAngle_ = degrees;
    touch();
}
void Axis::setVisible(bool on) {
    visible_ = on;
    touch();
}
void Axis::setLabelsVisible(bool on) {
    labels_ = on;
    touch();
}
void Axis::setTicksVisible(bool on) {
    ticks_ = on;
    touch();
}
void Axis::setIncrement(double step) {
    if (!(step >= 0) || !std::isfinite(step)) throwChartValue("Axis increment must be >= 0");
    increment_ = step;
    touch();
}
void Axis::setLabelsSeparation(int percent) {
    separation_ = std::max(0, percent);
    touch();
}
void Axis::setInverted(bool on) {
    inverted_ = on;
    touch();
}
void Axis::setPositionPercent(double percent) {
    position_ = percent;
    touch();
}
void Axis::setDateTime(bool on) {
    dateTime_ = on;
    touch();
}
void Axis::setDateTimeFormat(const std::string& f) {
    dateTimeFormat_ = f;
    if (!f.empty()) dateTime_ = true;
    touch();
}

// --- titles, legend, tools ---------------------------------------------------------------

void TitleText::clear() {
    lines_.clear();
    chart_->changed();
}
void TitleText::addLine(const std::string& line) {
    lines_.push_back(line);
    chart_->changed();
}
std::string TitleText::text() const {
    std::string t;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) t += '\n';
        t += lines_[i];
    }
    return t;
}
void TitleText::setVisible(bool on) {
    visible_ = on;
    chart_->changed();
}
void TitleText::setFontColour(Colour c) {
    fontColour_ = c;
    chart_->changed();
}
void TitleText::setCustomPosition(bool on, int left, int top) {
    custom_ = on;
    left_ = left;
    top_ = top;
    chart_->changed();
}

void Legend::setVisible(bool on) {
    visible_ = on;
    chart_->changed();
}
void Legend::setShowValues(bool on) {
    values_ = on;
    chart_->changed();
}
void Legend::setSeriesColourText(bool on) {
    seriesColours_ = on;
    chart_->changed();
}

Tool::Tool(Chart* c, ToolKind kind, Axis* axis) : chart_(c), kind_(kind), axis_(axis) {
    if (kind == ToolKind::ColorBand) pen_.visible = false;
}
void Tool::touch() { chart_->changed(); }
void Tool::setValue(double v) {
    if (!std::isfinite(v)) throwChartValue("Invalid tool value");
    value_ = v;
    touch();
}
void Tool::setStartValue(double v) {
    if (!std::isfinite(v)) throwChartValue("Invalid tool value");
    start_ = v;
    touch();
}
void Tool::setEndValue(double v) {
    if (!std::isfinite(v)) throwChartValue("Invalid tool value");
    end_ = v;
    touch();
}
void Tool::setPen(Colour c, PenStyle style, int width) {
    pen_.visible = true;
    pen_.colour = c;
    pen_.style = style;
    pen_.width = width;
    touch();
}
void Tool::setColour(Colour c) {
    colour_ = c;
    touch();
}
void Tool::setTransparency(int percent) {
    transparency_ = std::clamp(percent, 0, 100);
    touch();
}
void Tool::setAllowDrag(bool on) {
    allowDrag_ = on;
    touch();
}
void Tool::setActive(bool on) {
    active_ = on;
    touch();
}

// --- Chart -------------------------------------------------------------------------------

Chart::Chart()
    : left_(std::make_unique<Axis>(this, AxisKind::Left, false)),
      top_(std::make_unique<Axis>(this, AxisKind::Top, true)),
      right_(std::make_unique<Axis>(this, AxisKind::Right, false)),
      bottom_(std::make_unique<Axis>(this, AxisKind::Bottom, true)) {}

Series& Chart::addSeries(SeriesKind kind) {
    series_.push_back(std::make_unique<Series>(this, kind, seriesCount()));
    changed();
    return *series_.back();
}

Series& Chart::series(int i) {
    if (i < 0 || i >= seriesCount()) throwChartIndex("Series", i);
    return *series_[static_cast<std::size_t>(i)];
}

const Series& Chart::series(int i) const {
    if (i < 0 || i >= seriesCount()) throwChartIndex("Series", i);
    return *series_[static_cast<std::size_t>(i)];
}

Axis& Chart::addCustomAxis(bool horizontal) {
    custom_.push_back(std::make_unique<Axis>(this, AxisKind::Custom, horizontal, customAxisCount()));
    changed();
    return *custom_.back();
}

Axis& Chart::customAxis(int i) {
    if (i < 0 || i >= customAxisCount()) throwChartIndex("Custom axis", i);
    return *custom_[static_cast<std::size_t>(i)];
}

const Axis& Chart::customAxis(int i) const {
    if (i < 0 || i >= customAxisCount()) throwChartIndex("Custom axis", i);
    return *custom_[static_cast<std::size_t>(i)];
}

std::vector<Axis*> Chart::allAxes() {
    std::vector<Axis*> v{left_.get(), top_.get(), right_.get(), bottom_.get()};
    for (auto& a : custom_) v.push_back(a.get());
    return v;
}

Axis& Chart::verticalAxisOf(const Series& s) {
    return const_cast<Axis&>(static_cast<const Chart*>(this)->verticalAxisOf(s));
}

Axis& Chart::horizontalAxisOf(const Series& s) {
    return const_cast<Axis&>(static_cast<const Chart*>(this)->horizontalAxisOf(s));
}

const Axis& Chart::verticalAxisOf(const Series& s) const {
    switch (s.verticalAxis()) {
    case VerticalAxis::Right: return *right_;
    case VerticalAxis::Custom:
        if (s.customVerticalAxis() >= 0 && s.customVerticalAxis() < customAxisCount() &&
            !custom_[static_cast<std::size_t>(s.customVerticalAxis())]->horizontal())
            return *custom_[static_cast<std::size_t>(s.customVerticalAxis())];
        return *left_;
    default: return *left_;
    }
}

const Axis& Chart::horizontalAxisOf(const Series& s) const {
    switch (s.horizontalAxis()) {
    case HorizontalAxis::Top: return *top_;
    case HorizontalAxis::Custom:
        if (s.customHorizontalAxis() >= 0 && s.customHorizontalAxis() < customAxisCount() &&
            custom_[static_cast<std::size_t>(s.customHorizontalAxis())]->horizontal())
            return *custom_[static_cast<std::size_t>(s.customHorizontalAxis())];
        return *bottom_;
    default: return *bottom_;
    }
}

Tool& Chart::addColorLine(Axis& axis) {
    tools_.push_back(std::make_unique<Tool>(this, ToolKind::ColorLine, &axis));
    changed();
    return *tools_.back();
}

Tool& Chart::addColorBand(Axis& axis) {
    tools_.push_back(std::make_unique<Tool>(this, ToolKind::ColorBand, &axis));
    changed();
    return *tools_.back();
}

Tool& Chart::tool(int i) {
    if (i < 0 || i >= toolCount()) throwChartIndex("Tool", i);
    return *tools_[static_cast<std::size_t>(i)];
}

const Tool& Chart::tool(int i) const {
    if (i < 0 || i >= toolCount()) throwChartIndex("Tool", i);
    return *tools_[static_cast<std::size_t>(i)];
}

void Chart::setMargins(double left, double top, double right, double bottom) {
    margins_[0] = left;
    margins_[1] = top;
    margins_[2] = right;
    margins_[3] = bottom;
    changed();
}

void Chart::setMarginRight(double percent) {
    margins_[2] = percent;
    changed();
}

void Chart::setClipPoints(bool on) {
    clip_ = on;
    changed();
}

void Chart::setSquarePlot(bool on) {
    square_ = on;
    changed();
}

void Chart::saveUndo() {
    if (!undo_.empty()) return;
    for (Axis* a : allAxes()) undo_.emplace_back(a, a->state());
}

template <typename F>
void Chart::notify(F f) {
    const auto copy = listeners_;  // a listener may add or remove listeners
    for (ChartListener* l : copy)
        if (std::find(listeners_.begin(), listeners_.end(), l) != listeners_.end()) f(*l);
}

void Chart::zoom(const std::vector<AxisSpan>& spans) {
    saveUndo();
    for (const auto& s : spans) s.axis->setMinMax(s.min, s.max);
    notify([this](ChartListener& l) { l.onZoom(index_); });
}

void Chart::undoZoom() {
    for (auto& [axis, st] : undo_) axis->restore(st);
    undo_.clear();
    notify([this](ChartListener& l) { l.onUndoZoom(index_); });
}

void Chart::scroll(const std::vector<AxisSpan>& spans) {
    saveUndo();
    for (const auto& s : spans) s.axis->setMinMax(s.min, s.max);
    notify([this](ChartListener& l) { l.onScroll(index_); });
}

void Chart::raiseAxisClick(const AxisClickEvent& e) {
    AxisClickEvent ev = e;
    ev.index = index_;
    notify([&ev](ChartListener& l) { l.onAxisClick(ev); });
}

void Chart::addListener(ChartListener* l) {
    if (l && std::find(listeners_.begin(), listeners_.end(), l) == listeners_.end()) listeners_.push_back(l);
}

void Chart::removeListener(ChartListener* l) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), l), listeners_.end());
}

}  // namespace tiderune
