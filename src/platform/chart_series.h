#pragma once
// One series of a chart: its points in ring buffers (days of 10 Hz data stay cheap to append
// to and to trim from the front, and growing never moves what is held), its look, and running
// figures (x and y extremes, mean and standard deviation) kept as points come and go, so that
// automatic axes and the average and deviation lines never rescan the whole series.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/chart_ring.h"
#include "platform/chart_types.h"

namespace tiderune {

class Chart;

enum class SeriesKind { Line, FastLine, Bar, Point, Gantt };

// A series whose one value is computed from another series of the same chart.
enum class SeriesFunction { None, Average, StdDeviation };

enum class VerticalAxis { Left, Right, Both, Custom };
enum class HorizontalAxis { Bottom, Top, Custom };

enum class PointerStyle { Circle, SmallDot, Rectangle };

struct Range {
    double min = 0;
    double max = 0;
};

class Series;

// Read-only view of one value column of a series (x, y, or the end of a Gantt bar).
class ValueList {
public:
    enum class Column { X, Y, End };
    ValueList(const Series& s, Column c) : series_(&s), column_(c) {}
    int count() const;
    double value(int i) const;
    double first() const;  // raises an error on an empty series
    double last() const;
    double operator[](int i) const { return value(i); }

private:
    const Series* series_;
    Column column_;
};

class Series {
public:
    Series(Chart* owner, SeriesKind kind, int indexInChart);
    Series(const Series&) = delete;
    Series& operator=(const Series&) = delete;

    SeriesKind kind() const { return kind_; }

    // --- points -------------------------------------------------------------------------
    // Adds one point at the end and returns its index. colour SeriesColour means the
    // series' own colour.
    int addXY(double x, double y, const std::string& label = {}, Colour colour = SeriesColour);
    // A point that is not drawn: the line breaks there.
    int addNullXY(double x, double y, const std::string& label = {});
    // One Gantt bar from start to end at height y.
    int addGantt(double start, double end, double y, const std::string& label = {});
    int count() const;
    // Removes point i; later points move down one index. Deleting point 0 is O(1).
    void deletePoint(int i);
    // Removes point i and every later one, with one recount of the figures.
    void deletePointsFrom(int i);
    void clear();

    ValueList xValues() const { return ValueList(*this, ValueList::Column::X); }
    ValueList yValues() const { return ValueList(*this, ValueList::Column::Y); }
    ValueList endValues() const { return ValueList(*this, ValueList::Column::End); }
    double x(int i) const;
    double y(int i) const;
    double endValue(int i) const;  // Gantt: end of bar i; other kinds: x(i)
    bool isNull(int i) const;
    Colour pointColour(int i) const;  // as given, may be SeriesColour
    Colour drawColour(int i) const;   // resolved to the series' colour where asked
    std::string label(int i) const;
    int nullCount() const { return nullCount_; }
    // Points given a colour of their own (not SeriesColour).
    int colouredCount() const { return colouredCount_; }
    // Counts deletions and clearings: while it stands, points have only been added at the
    // end, so a drawing of the first n points still holds.
    std::uint64_t rewrites() const { return rewrites_; }

    // Running figures over the points held (null points left out of y figures).
    std::optional<Range> xRange() const;  // Gantt: earliest start to latest end
    std::optional<Range> yRange() const;  // bars include their origin 0
    int valueCount() const { return static_cast<int>(n_); }  // non-null points
    double mean() const;                                      // 0 with no values
    double stdDeviation() const;                              // sample deviation; 0 below 2
    bool xAscending() const { return descents_ == 0; }

    // --- computed series ----------------------------------------------------------------
    // The series shows one value of source (its average or standard deviation) as a
    // horizontal line across the source's x span; it holds no points of its own and
    // follows every change of the source.
    void setFunction(SeriesFunction f, const Series* source);
    SeriesFunction function() const { return function_; }
    const Series* functionSource() const { return source_; }
    double functionValue() const;

    // --- look ---------------------------------------------------------------------------
    const std::string& title() const { return title_; }
    void setTitle(const std::string& t);
    Colour colour() const { return colour_; }
    void setColour(Colour c);
    // The line (line, fast line, computed series) or, for bars and Gantt bars, unused.
    Pen& linePen() { return linePen_; }
    const Pen& linePen() const { return linePen_; }
    // Drawn round lines and bars when visible.
    Pen& outlinePen() { return outline_; }
    const Pen& outlinePen() const { return outline_; }
    void setOutline(bool visible, Colour c);
    bool gradient() const { return gradient_; }  // bars shaded from top to bottom
    void setGradient(bool on);
    PointerStyle pointerStyle() const { return pointerStyle_; }
    int pointerSize() const { return pointerSize_; }  // half size in pixels
    void setPointer(PointerStyle s, int halfSize);
    int ganttHeight() const { return ganttHeight_; }  // half height of a Gantt bar, pixels
    void setGanttHeight(int halfHeight);
    bool showInLegend() const { return showInLegend_; }
    void setShowInLegend(bool on);

    VerticalAxis verticalAxis() const { return vAxis_; }
    int customVerticalAxis() const { return customV_; }
    void setVerticalAxis(VerticalAxis a, int customIndex = -1);
    HorizontalAxis horizontalAxis() const { return hAxis_; }
    int customHorizontalAxis() const { return customH_; }
    void setHorizontalAxis(HorizontalAxis a, int customIndex = -1);

    Chart* chart() const { return owner_; }

    // The x of the oldest point, kept beside the series' figures: a check of the span held,
    // made at each new point, need not reach into the oldest point's memory. Points only.
    double firstX() const noexcept { return firstX_; }

    // Unchecked columns for the drawing code's inner loops (empty for computed series).
    const RingBuffer<double>& rawX() const { return xs_; }
    const RingBuffer<double>& rawY() const { return ys_; }
    const RingBuffer<double>& rawEnd() const { return ends_; }
    const RingBuffer<Colour>& rawColour() const { return cs_; }
    const RingBuffer<std::uint8_t>& rawNull() const { return nulls_; }

    // Summaries of runs of points, kept as points arrive, so that drawing can take a whole
    // run at once when it falls into one pixel column: level 0 covers 16 points, level 1
    // covers 256.
    static constexpr int Levels = 2;
    static constexpr int LevelShift[Levels] = {4, 8};
    struct Block {
        double xFirst, xLast;
        double yFirst, yMin, yMax, yLast;  // over the non-null points
        double magMax;                     // largest magnitude of y and its point's colour
        Colour magColour;
        double endMax;  // Gantt: latest end
        int count;
        bool hasNull;
        bool mixedColour;  // not every point has magColour
    };
    // Index of the first point after i that starts a level-0 block.
    int nextBlockStart(int i) const {
        const std::uint64_t seq = firstSeq_ + static_cast<std::uint64_t>(i);
        const std::uint64_t next = ((seq >> LevelShift[0]) + 1) << LevelShift[0];
        return static_cast<int>(next - firstSeq_);
    }
    // The y extremes of each block, apart from the rest of its summary: what a drawing of a
    // long series reads of most blocks, so that it reads a fifth of the memory. Written when
    // the block is complete: only complete blocks are read.
    struct Extremes {
        double yMin, yMax;
    };
    // Those of the block of the level that starts at point i, if i starts one that ends
    // within the points held; else null.
    const Extremes* extremesAt(int level, int i) const {
        const std::uint64_t seq = firstSeq_ + static_cast<std::uint64_t>(i);
        const int shift = LevelShift[level];
        if ((seq & ((std::uint64_t{1} << shift) - 1)) != 0) return nullptr;
        if (static_cast<std::size_t>(i) + (std::size_t{1} << shift) > xs_.size()) return nullptr;
        const std::uint64_t b = seq >> shift;
        const auto& extremes = extremes_[level];
        if (b < firstBlock_[level] || b - firstBlock_[level] >= extremes.size()) return nullptr;
        return &extremes[static_cast<std::size_t>(b - firstBlock_[level])];
    }
    // The block of the level that starts at point i, if i starts a complete one; else null.
    const Block* wholeBlockAt(int level, int i) const {
        const std::uint64_t seq = firstSeq_ + static_cast<std::uint64_t>(i);
        const int shift = LevelShift[level];
        if ((seq & ((std::uint64_t{1} << shift) - 1)) != 0) return nullptr;
        const std::uint64_t b = seq >> shift;
        const auto& blocks = blocks_[level];
        if (b < firstBlock_[level] || b - firstBlock_[level] >= blocks.size()) return nullptr;
        const Block& k = blocks[static_cast<std::size_t>(b - firstBlock_[level])];
        return k.count == (1 << shift) ? &k : nullptr;
    }

private:
    friend class ValueList;
    void checkIndex(int i) const;
    int append(double x, double y, double end, bool null, const std::string& label, Colour c);
    void addToFigures(std::uint64_t seq, double x, double y, double end, bool null, Colour c);
    void rebuildFigures();
    void touch();

    // What every new point reads or writes comes first, together, so that a point costs
    // few cache lines of the series itself: a chart window feeds hundreds of series in turn.
    Chart* owner_;
    SeriesKind kind_;
    SeriesFunction function_ = SeriesFunction::None;
    std::uint64_t firstSeq_ = 0;
    double firstX_ = 0;  // xs_.front() while there are points
    int nullCount_ = 0;
    int colouredCount_ = 0;
    std::int64_t descents_ = 0;  // neighbours whose x falls; 0 while x ascends
    // Sums of (y - shift_) and its square over non-null points: the shift keeps the
    // deviation exact when values sit far from zero.
    std::int64_t n_ = 0;
    double shift_ = 0;
    double s1_ = 0;
    double s2_ = 0;

    RingBuffer<double> xs_;
    RingBuffer<double> ys_;
    RingBuffer<Colour> cs_;
    RingBuffer<std::uint8_t> nulls_;
    RingBuffer<Block> blocks_[Levels];
    RingBuffer<Extremes> extremes_[Levels];  // numbered as blocks_
    std::uint64_t firstBlock_[Levels] = {};  // block number of blocks_[level][0]
    SlidingExtremes yExt_{ys_, firstSeq_};
    SlidingExtremes xExt_{xs_, firstSeq_};

    RingBuffer<double> ends_;  // Gantt only
    SlidingExtremes endExt_{ends_, firstSeq_};
    std::map<std::uint64_t, std::string> labels_;  // few points carry a label
    std::uint64_t rewrites_ = 0;
    const Series* source_ = nullptr;

    std::string title_;
    Colour colour_;
    Pen linePen_;
    Pen outline_{false, colours::Black, 1, PenStyle::Solid};
    bool gradient_ = false;
    PointerStyle pointerStyle_ = PointerStyle::Rectangle;
    int pointerSize_ = 3;
    int ganttHeight_ = 4;
    bool showInLegend_ = true;
    VerticalAxis vAxis_ = VerticalAxis::Left;
    int customV_ = -1;
    HorizontalAxis hAxis_ = HorizontalAxis::Bottom;
    int customH_ = -1;
};

// The colour a chart gives its n-th new series (n from 0); 19 distinct colours, repeating.
Colour defaultSeriesColour(int n);

}  // namespace tiderune
