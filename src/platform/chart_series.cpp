#include "platform/chart_series.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/chart_model.h"

namespace tiderune {

void throwChartIndex(const char* what, long long index) {
    throw RuntimeError(err::SubscriptOutOfRange,
                       std::string(what) + " index out of bounds (" + std::to_string(index) + ")");
}

void throwChartValue(const std::string& description) {
    throw RuntimeError(chart_err::InvalidPropertyValue, description);
}

Colour defaultSeriesColour(int n) {
    static constexpr std::array<Colour, 19> palette = {
        rgb(255, 0, 0),   rgb(0, 128, 0),   rgb(255, 255, 0), rgb(0, 0, 255),   rgb(255, 0, 255),
        rgb(0, 128, 128), rgb(0, 0, 128),   rgb(128, 0, 0),   rgb(128, 128, 0), rgb(128, 0, 128),
        rgb(128, 128, 128), rgb(0, 255, 0), rgb(0, 200, 200), rgb(255, 128, 0), rgb(128, 64, 0),
        rgb(255, 128, 192), rgb(64, 0, 128), rgb(0, 96, 128), rgb(0, 0, 0)};
    const int k = ((n % 19) + 19) % 19;
    return palette[static_cast<std::size_t>(k)];
}

// --- ValueList ---------------------------------------------------------------------------

int ValueList::count() const { return series_->count(); }

double ValueList::value(int i) const {
    switch (column_) {
    case Column::X: return series_->x(i);
    case Column::Y: return series_->y(i);
    case Column::End: return series_->endValue(i);
    }
    return 0;
}

double ValueList::first() const {
    if (count() == 0) throwChartIndex("Value list", 0);
    return value(0);
}

double ValueList::last() const {
    const int n = count();
    if (n == 0) throwChartIndex("Value list", -1);
    return value(n - 1);
}

// --- Series ------------------------------------------------------------------------------

Series::Series(Chart* owner, SeriesKind kind, int indexInChart)
    : owner_(owner), kind_(kind), colour_(defaultSeriesColour(indexInChart)) {
    linePen_.colour = colour_;
    if (kind == SeriesKind::Bar) outline_.visible = true;
    if (kind == SeriesKind::Gantt) outline_.visible = true;
}

void Series::touch() {
    if (owner_) owner_->changed();
}

void Series::checkIndex(int i) const {
    if (i < 0 || i >= count()) throwChartIndex("Series point", i);
}

int Series::count() const {
    if (function_ != SeriesFunction::None) return (source_ && source_->valueCount() > 0) ? 2 : 0;
    return static_cast<int>(xs_.size());
}

int Series::append(double x, double y, double end, bool null, const std::string& label, Colour c) {
    if (function_ != SeriesFunction::None)
        throwChartValue("A computed series takes no points of its own");
    if (!xs_.empty() && x < xs_.back()) {
        // From now on the x extremes need tracking; while x only grew they were the ends.
        if (descents_++ == 0)
            for (std::size_t k = 0; k < xs_.size(); ++k) xExt_.push(firstSeq_ + k, xs_[k]);
    }
    const std::uint64_t seq = firstSeq_ + xs_.size();
    if (xs_.empty()) firstX_ = x;
    xs_.push_back(x);
    ys_.push_back(y);
    if (kind_ == SeriesKind::Gantt) ends_.push_back(end);
    cs_.push_back(c);
    nulls_.push_back(null ? 1 : 0);
    if (!label.empty()) labels_.emplace(seq, label);
    if (null) ++nullCount_;
    addToFigures(seq, x, y, end, null, c);
    touch();
    return static_cast<int>(xs_.size()) - 1;
}

void Series::addToFigures(std::uint64_t seq, double x, double y, double end, bool null, Colour c) {
    if (c != SeriesColour) ++colouredCount_;
    for (int level = 0; level < Levels; ++level) {
        auto& blocks = blocks_[level];
        const std::uint64_t b = seq >> LevelShift[level];
        if (blocks.empty() || b != firstBlock_[level] + blocks.size() - 1) {
            if (blocks.empty()) firstBlock_[level] = b;
            blocks.push_back(Block{x, x, y, y, y, y, null ? -1.0 : std::fabs(y), c, end, 1, null, false});
            extremes_[level].push_back(Extremes{y, y});
            continue;
        }
        Block& k = blocks.back();
        k.xLast = x;
        k.endMax = std::max(k.endMax, end);
        if (c != k.magColour) k.mixedColour = true;
        ++k.count;
        if (null) {
            k.hasNull = true;
        } else if (k.magMax < 0) {  // first value of a block that began with a null
            k.yFirst = k.yMin = k.yMax = k.yLast = y;
            k.magMax = std::fabs(y);
            k.magColour = c;
        } else {
            k.yMin = std::min(k.yMin, y);
            k.yMax = std::max(k.yMax, y);
            k.yLast = y;
            if (std::fabs(y) > k.magMax) {
                k.magMax = std::fabs(y);
                k.magColour = c;
            }
        }
        if (k.count == 1 << LevelShift[level]) extremes_[level].back() = Extremes{k.yMin, k.yMax};
    }
    if (descents_ > 0) xExt_.push(seq, x);
    if (kind_ == SeriesKind::Gantt) endExt_.push(seq, end);
    if (null) return;
    yExt_.push(seq, y);
    if (n_ == 0) {
        shift_ = y;
        s1_ = 0;
        s2_ = 0;
    }
    const double d = y - shift_;
    ++n_;
    s1_ += d;
    s2_ += d * d;
}

// A value that is not a number has no place on an axis: a y becomes a null point (the
// line breaks there), an x or a bar end is refused.
int Series::addXY(double x, double y, const std::string& label, Colour colour) {
    if (!std::isfinite(x)) throwChartValue("Invalid x value");
    if (!std::isfinite(y)) return append(x, 0, x, true, label, colour);
    return append(x, y, x, false, label, colour);
}

int Series::addNullXY(double x, double y, const std::string& label) {
    if (!std::isfinite(x)) throwChartValue("Invalid x value");
    return append(x, std::isfinite(y) ? y : 0, x, true, label, SeriesColour);
}

int Series::addGantt(double start, double end, double y, const std::string& label) {
    if (kind_ != SeriesKind::Gantt) throwChartValue("Not a Gantt series");
    if (!std::isfinite(start) || !std::isfinite(end)) throwChartValue("Invalid bar value");
    if (!std::isfinite(y)) return append(start, 0, end, true, label, SeriesColour);
    return append(start, y, end, false, label, SeriesColour);
}

void Series::deletePoint(int i) {
    if (function_ != SeriesFunction::None) throwChartValue("A computed series has no points to delete");
    checkIndex(i);
    ++rewrites_;
    const auto k = static_cast<std::size_t>(i);
    const std::uint64_t seq = firstSeq_ + k;
    if (i == 0) {
        // The common case, trimming the oldest point: figures follow in O(1).
        if (xs_.size() >= 2 && xs_[1] < xs_[0] && --descents_ == 0) xExt_.clear();
        if (cs_[0] != SeriesColour) --colouredCount_;
        if (nulls_[0]) {
            --nullCount_;
        } else {
            const double d = ys_[0] - shift_;
            --n_;
            s1_ -= d;
            s2_ -= d * d;
            if (n_ == 0) s1_ = s2_ = 0;
        }
        // The extremes read their new leaders from the columns, which still hold this point.
        xExt_.popUpTo(seq);
        yExt_.popUpTo(seq);
        endExt_.popUpTo(seq);
        xs_.pop_front();
        if (!xs_.empty()) firstX_ = xs_.front();
        ys_.pop_front();
        if (kind_ == SeriesKind::Gantt) ends_.pop_front();
        cs_.pop_front();
        nulls_.pop_front();
        labels_.erase(seq);
        ++firstSeq_;
        for (int level = 0; level < Levels; ++level) {
            if (!blocks_[level].empty() && (firstSeq_ >> LevelShift[level]) > firstBlock_[level]) {
                blocks_[level].pop_front();
                extremes_[level].pop_front();
                ++firstBlock_[level];
            }
        }

    } else {
        xs_.erase(k);
        ys_.erase(k);
        if (kind_ == SeriesKind::Gantt) ends_.erase(k);
        cs_.erase(k);
        if (nulls_[k]) --nullCount_;
        nulls_.erase(k);
        std::map<std::uint64_t, std::string> moved;
        for (auto& [s, text] : labels_) {
            if (s < seq) moved.emplace(s, std::move(text));
            else if (s > seq) moved.emplace(s - 1, std::move(text));
        }
        labels_ = std::move(moved);
        rebuildFigures();
    }
    touch();
}

void Series::deletePointsFrom(int i) {
    if (function_ != SeriesFunction::None) throwChartValue("A computed series has no points to delete");
    checkIndex(i);
    ++rewrites_;
    if (i == 0) {
        // A replay started again over the same times fills the series as far again: its
        // storage is kept (clear() gives it back).
        xs_.clear();
        ys_.clear();
        ends_.clear();
        cs_.clear();
        nulls_.clear();
        labels_.clear();
        firstSeq_ = 0;
        nullCount_ = 0;
        rebuildFigures();
        touch();
        return;
    }
    const auto keep = static_cast<std::size_t>(i);
    while (xs_.size() > keep) {
        if (nulls_.back()) --nullCount_;
        xs_.pop_back();
        ys_.pop_back();
        if (kind_ == SeriesKind::Gantt) ends_.pop_back();
        cs_.pop_back();
        nulls_.pop_back();
    }
    labels_.erase(labels_.lower_bound(firstSeq_ + keep), labels_.end());
    rebuildFigures();
    touch();
}

void Series::clear() {
    if (function_ != SeriesFunction::None) return;
    ++rewrites_;
    xs_.release();
    ys_.release();
    ends_.release();
    cs_.release();
    nulls_.release();
    labels_.clear();
    firstSeq_ = 0;
    nullCount_ = 0;
    rebuildFigures();
    touch();
}

void Series::rebuildFigures() {
    xExt_.clear();
    yExt_.clear();
    endExt_.clear();
    for (auto& b : blocks_) b.clear();
    for (auto& e : extremes_) e.clear();
    colouredCount_ = 0;
    n_ = 0;
    s1_ = s2_ = 0;
    descents_ = 0;
    for (std::size_t k = 1; k < xs_.size(); ++k)
        if (xs_[k] < xs_[k - 1]) ++descents_;
    for (std::size_t k = 0; k < xs_.size(); ++k) {
        addToFigures(firstSeq_ + k, xs_[k], ys_[k], kind_ == SeriesKind::Gantt ? ends_[k] : xs_[k],
                     nulls_[k] != 0, cs_[k]);
    }
}

double Series::x(int i) const {
    checkIndex(i);
    if (function_ != SeriesFunction::None) return i == 0 ? source_->x(0) : source_->x(source_->count() - 1);
    return xs_[static_cast<std::size_t>(i)];
}

double Series::y(int i) const {
    checkIndex(i);
    if (function_ != SeriesFunction::None) return functionValue();
    return ys_[static_cast<std::size_t>(i)];
}

double Series::endValue(int i) const {
    checkIndex(i);
    if (kind_ == SeriesKind::Gantt && function_ == SeriesFunction::None) return ends_[static_cast<std::size_t>(i)];
    return x(i);
}

bool Series::isNull(int i) const {
    checkIndex(i);
    if (function_ != SeriesFunction::None) return false;
    return nulls_[static_cast<std::size_t>(i)] != 0;
}

Colour Series::pointColour(int i) const {
    checkIndex(i);
    if (function_ != SeriesFunction::None) return SeriesColour;
    return cs_[static_cast<std::size_t>(i)];
}

Colour Series::drawColour(int i) const {
    const Colour c = pointColour(i);
    return c == SeriesColour ? colour_ : c;
}

std::string Series::label(int i) const {
    checkIndex(i);
    if (function_ != SeriesFunction::None) return {};
    const auto it = labels_.find(firstSeq_ + static_cast<std::uint64_t>(i));
    return it == labels_.end() ? std::string() : it->second;
}

std::optional<Range> Series::xRange() const {
    if (function_ != SeriesFunction::None) {
        if (count() == 0) return std::nullopt;
        return source_->xRange();
    }
    if (xs_.empty()) return std::nullopt;
    Range r = descents_ == 0 ? Range{xs_.front(), xs_.back()} : Range{xExt_.min(), xExt_.max()};
    if (kind_ == SeriesKind::Gantt && !endExt_.empty()) {
        r.min = std::min(r.min, endExt_.min());
        r.max = std::max(r.max, endExt_.max());
    }
    return r;
}

std::optional<Range> Series::yRange() const {
    if (function_ != SeriesFunction::None) {
        if (count() == 0) return std::nullopt;
        const double v = functionValue();
        return Range{v, v};
    }
    if (yExt_.empty()) return std::nullopt;
    Range r{yExt_.min(), yExt_.max()};
    if (kind_ == SeriesKind::Bar) {
        r.min = std::min(r.min, 0.0);
        r.max = std::max(r.max, 0.0);
    }
    return r;
}

double Series::mean() const {
    if (n_ == 0) return 0;
    return shift_ + s1_ / static_cast<double>(n_);
}

double Series::stdDeviation() const {
    if (n_ < 2) return 0;
    const double n = static_cast<double>(n_);
    const double var = (s2_ - s1_ * s1_ / n) / (n - 1);
    return var > 0 ? std::sqrt(var) : 0;
}

void Series::setFunction(SeriesFunction f, const Series* source) {
    if (f != SeriesFunction::None && (source == nullptr || source == this ||
                                      source->function() != SeriesFunction::None))
        throwChartValue("Invalid source series");
    if (f != SeriesFunction::None && count() > 0 && function_ == SeriesFunction::None) clear();
    function_ = f;
    source_ = f == SeriesFunction::None ? nullptr : source;
    touch();
}

double Series::functionValue() const {
    if (!source_) return 0;
    return function_ == SeriesFunction::Average ? source_->mean() : source_->stdDeviation();
}

void Series::setTitle(const std::string& t) {
    title_ = t;
    touch();
}

void Series::setColour(Colour c) {
    colour_ = c;
    linePen_.colour = c;
    touch();
}

void Series::setOutline(bool visible, Colour c) {
    outline_.visible = visible;
    outline_.colour = c;
    touch();
}

void Series::setGradient(bool on) {
    gradient_ = on;
    touch();
}

void Series::setPointer(PointerStyle s, int halfSize) {
    pointerStyle_ = s;
    pointerSize_ = std::max(0, halfSize);
    touch();
}

void Series::setGanttHeight(int halfHeight) {
    ganttHeight_ = std::max(0, halfHeight);
    touch();
}

void Series::setShowInLegend(bool on) {
    showInLegend_ = on;
    touch();
}

void Series::setVerticalAxis(VerticalAxis a, int customIndex) {
    vAxis_ = a;
    customV_ = a == VerticalAxis::Custom ? customIndex : -1;
    touch();
}

void Series::setHorizontalAxis(HorizontalAxis a, int customIndex) {
    hAxis_ = a;
    customH_ = a == HorizontalAxis::Custom ? customIndex : -1;
    touch();
}

}  // namespace tiderune
