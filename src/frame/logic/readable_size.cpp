#include "frame/logic/readable_size.h"

#include <algorithm>
#include <numeric>

namespace tiderune {

namespace {

// Room for a label at each end of an axis and one between.
constexpr int LabelsAlongAnAxis = 3;
// Rows of a list shown below its heading.
constexpr int ListRows = 3;
// Columns of a list shown from its heading column on: the heading column and the one naming
// the target.
constexpr std::size_t ListColumns = 2;

}  // namespace

Extent readableChart(Extent outsidePlot, Extent label, bool squarePlot) {
    Extent plot{LabelsAlongAnAxis * label.width, LabelsAlongAnAxis * label.height};
    if (squarePlot) plot.width = plot.height = std::max(plot.width, plot.height);
    return {outsidePlot.width + plot.width, outsidePlot.height + plot.height};
}

Extent readableScrolled(Extent first, Extent whole, int bar) {
    return {first.width + (whole.height > first.height ? bar : 0), first.height + (whole.width > first.width ? bar : 0)};
}

Extent readableList(const std::vector<int>& columns, int headingHeight, int rowHeight, int bar) {
    const std::size_t shown = std::min(columns.size(), ListColumns);
    const int across = std::accumulate(columns.begin(), columns.begin() + static_cast<std::ptrdiff_t>(shown), 0);
    const int all = std::accumulate(columns.begin(), columns.end(), 0);
    return {across + bar, headingHeight + ListRows * rowHeight + (all > across ? bar : 0)};
}

}  // namespace tiderune
