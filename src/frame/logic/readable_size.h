#pragma once
// The smallest size at which a window's content can be read: what Tile gives each window at
// least, and what Cascade gives back to a window an earlier Tile made small. Each kind of
// window measures its parts in its own fonts and puts them together by its own layout; the
// rules of what must show of a part live here.
#include <vector>

namespace tiderune {

struct Extent {
    int width = 0;
    int height = 0;
    bool operator==(const Extent&) const = default;
};

inline Extent largerOf(Extent a, Extent b) {
    return {a.width > b.width ? a.width : b.width, a.height > b.height ? a.height : b.height};
}

// A chart reads when its plot has room for three labels of each axis, the two at its ends and
// one between, beside what lies outside the plot (titles, legend, the axes' labels and titles).
// `label`: the width of the bottom axis's widest label and the height of a line of labels.
// A square plot takes the larger of the two sides both ways.
Extent readableChart(Extent outsidePlot, Extent label, bool squarePlot = false);

// A view that scrolls to its parts (the frames of the numerics and statistics windows, the SNR
// statistics tables, the sky plot's form): it reads when its first part shows whole, with the
// bars that reach the rest of `whole` beside and below it. `bar`: a scroll bar's thickness.
Extent readableScrolled(Extent first, Extent whole, int bar);

// A list (the AIS and ARPA targets): its heading row and three rows, and across its heading
// column and the next, which names the row's target, with the bars that reach the rest.
// `columns`: the columns' widths from the heading column on.
Extent readableList(const std::vector<int>& columns, int headingHeight, int rowHeight, int bar);

}  // namespace tiderune
