#pragma once
// Reduces a series to what one screen can show: per pixel column the first, smallest,
// largest and last value. A day of 10 Hz data (864,000 points) becomes at most a few
// thousand samples, so repainting stays cheap however long the series grows.
#include <utility>
#include <vector>

#include "platform/chart_scale.h"
#include "platform/chart_series.h"

namespace tiderune {

struct ColumnSample {
    double px;     // pixel x of the column's first point
    double first;  // values, in data units
    double min;
    double max;
    double last;
    Colour colour;        // colour of the value of largest magnitude (resolved)
    bool startsRun;       // not joined to the sample before: a null point lies between
};

// Index range [begin, end) of the points whose x lies in [xMin, xMax], widened by one
// point on each side so that lines enter and leave the plot. For a series whose x values
// do not ascend, the whole series.
std::pair<int, int> visiblePoints(const Series& s, double xMin, double xMax);

// Whether reducing the series costs a few steps per pixel column, however many points each
// column holds (a series without null points whose x ascends); else a step per point or block.
bool reducedByColumns(const Series& s);

// Lines: one sample per column touched, a new run after every null point.
void reduceLine(const Series& s, const AxisMap& xmap, std::pair<int, int> range, std::vector<ColumnSample>& out);

// Bars: one sample per column (min and max of the bars falling in it).
void reduceBars(const Series& s, const AxisMap& xmap, std::pair<int, int> range, std::vector<ColumnSample>& out);

// A part of a visible range that starts a pixel column of its own, so that parts can be
// reduced apart (on several threads) and their samples joined in order.
struct ColumnPiece {
    int begin;
    int end;
    bool joined;  // the line runs on from the point before begin
};

// Cuts a visible range into at most `parts` pieces of about equal point counts.
std::vector<ColumnPiece> columnPieces(const Series& s, const AxisMap& xmap, std::pair<int, int> range, int parts);

// The samples of one piece: joined end to end, the pieces' samples are the whole range's.
void reducePiece(const Series& s, const AxisMap& xmap, const ColumnPiece& piece, bool bars, std::vector<ColumnSample>& out);

}  // namespace tiderune
