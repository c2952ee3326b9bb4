#include "platform/qt/chart_painter.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPolygonF>
#include <QString>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/chart_columns.h"
#include "platform/qt/fitting_label.h"
#include "platform/qt/qt_edge.h"

namespace tiderune {


const AxisPlacement* ChartLayout::find(const Axis* a) const {
    for (const auto& ap : axes)
        if (ap.axis == a) return &ap;
    return nullptr;
}

namespace {

constexpr int TickLength = 4;

// Pixel positions far off the plot are pinned before they become integers.
inline long pixelOf(double p) { return std::lround(std::clamp(p, -1.0e6, 1.0e6)); }
constexpr int Gap = 2;

Qt::PenStyle qtStyle(PenStyle s) {
    switch (s) {
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    default: return Qt::SolidLine;
    }
}

QPen qtPen(const Pen& pen) {
    QPen q(toQColor(pen.colour));
    q.setWidth(std::max(1, pen.width));
    q.setStyle(qtStyle(pen.style));
    return q;
}

bool seriesUses(const Chart& chart, const Axis& axis) {
    for (int i = 0; i < chart.seriesCount(); ++i) {
        const Series& s = chart.series(i);
        if (axis.horizontal()) {
            if (&chart.horizontalAxisOf(s) == &axis) return true;
        } else {
            if (&chart.verticalAxisOf(s) == &axis) return true;
            if (axis.kind() == AxisKind::Right && s.verticalAxis() == VerticalAxis::Both) return true;
        }
    }
    return false;
}

bool axisShown(const Chart& chart, const Axis& a) {
    if (!a.visible()) return false;
    switch (a.kind()) {
    case AxisKind::Left:
    case AxisKind::Bottom:
    case AxisKind::Custom: return true;
    default: return seriesUses(chart, a);
    }
}

// Ticks and label texts of one axis for a given length in pixels.
struct Ticks {
    double min = 0, max = 1, step = 1;
    std::vector<double> values;
    std::vector<QString> labels;
    int widest = 0;
};

QString labelText(const Axis& a, double v, double step) {
    if (a.dateTime()) return toQt(formatDateValue(v, dateLabelFormat(a.dateTimeFormat(), step)));
    return toQt(formatAxisNumber(v, step));
}

}  // namespace

// Axis labels and titles repeat from one paint to the next, and measuring a text (shaping
// it) costs more than looking its width up.
int ChartPainter::TextWidths::of(const QFontMetrics& fm, const QString& text) {
    if (fm.height() != height_ || known_.size() > 4096) {
        known_.clear();
        height_ = fm.height();
    }
    auto it = known_.find(text);
    if (it == known_.end()) it = known_.insert(text, fm.horizontalAdvance(text));
    return it.value();
}

namespace {

// The font's metrics with the painter's remembered text widths.
struct Measure {
    const QFontMetrics& fm;
    ChartPainter::TextWidths& widths;
    int width(const QString& text) const { return widths.of(fm, text); }
    int height() const { return fm.height(); }
};

Ticks makeTicks(const Axis& a, const Measure& fm, int length) {
    const double sep = 1 + a.labelsSeparation() / 100.0;
    // Label width depends on the step: horizontal labels are measured at a first guess.
    const AxisTicks at = axisTicks(a.minimum(), a.maximum(), a.dateTime(), a.increment(), length,
                                   [&](double min, double max, double guess) -> double {
                                       if (!a.horizontal()) return fm.height() * sep;
                                       const int w = std::max(fm.width(labelText(a, min, guess)),
                                                              fm.width(labelText(a, max, guess)));
                                       return w * sep + 6;
                                   },
                                   a.dateTimeFormat());
    Ticks t;
    t.min = at.min;
    t.max = at.max;
    t.step = at.step;
    t.values = at.values;
    for (double v : t.values) {
        t.labels.push_back(toQt(tickLabel(at, a.dateTime(), v)));
        t.widest = std::max(t.widest, fm.width(t.labels.back()));
    }
    return t;
}

// Where the labels of an axis go once its line and scale are placed. A label is centred on its
// tick; an axis across the plot keeps its end labels inside the frame, a gap clear of its
// lines, and every axis keeps them inside the chart. When neighbouring labels would touch
// (long texts on a short axis, or an end label pushed in onto the next), only every second,
// fifth, tenth... tick is labelled, at round multiples of the step, until they stand apart.
// The ticks and the grid keep the step.
void placeLabels(const Axis& a, const Ticks& t, AxisPlacement& ap, const QRect& plot, const QRect& bounds, const Measure& m,
                 int lineH) {
    const bool farSide = a.kind() == AxisKind::Right || a.kind() == AxisKind::Top;
    const bool inside = a.positionPercent() != 0;
    const int extent = a.ticksVisible() ? TickLength : 0;
    auto rectOf = [&](std::size_t k) {
        const int at = static_cast<int>(pixelOf(ap.map.toPixel(t.values[k])));
        const int w = m.width(t.labels[k]);
        if (a.horizontal()) {
            int lx = at - w / 2 - 1;
            if (inside) lx = std::clamp(lx, plot.left() + 1 + Gap, std::max(plot.left() + 1 + Gap, plot.right() - w - 2 - Gap));
            lx = std::clamp(lx, bounds.left(), std::max(bounds.left(), bounds.right() - w - 1));
            return QRect(lx, farSide ? ap.line - extent - Gap - lineH : ap.line + extent + Gap, w + 2, lineH);
        }
        int y = at;
        if (inside) {
            const int top = plot.top() + 1 + Gap + lineH / 2;
            y = std::clamp(y, top, std::max(top, plot.bottom() - lineH / 2 - 1 - Gap));
        }
        y = std::clamp(y, bounds.top() + lineH / 2, std::max(bounds.top() + lineH / 2, bounds.bottom() + 1 - lineH + lineH / 2));
        return QRect(farSide ? ap.line + extent + Gap : ap.line - extent - Gap - w - 2, y - lineH / 2, w + 2, lineH);
    };
    std::vector<QRect> all(t.values.size());
    for (std::size_t k = 0; k < all.size(); ++k) all[k] = rectOf(k);
    // Side by side a blank apart; one above the other by the axis's label separation, which
    // the step already leaves between labels that were not pushed in.
    const int gap = a.horizontal() ? m.width(QStringLiteral(" ")) : std::max(0, lineH * a.labelsSeparation() / 100 - 1);
    auto apart = [&](const QRect& r, const QRect& s) {
        if (a.horizontal()) return s.left() - r.right() - 1 >= gap || r.left() - s.right() - 1 >= gap;
        return s.top() - r.bottom() - 1 >= gap || r.top() - s.bottom() - 1 >= gap;
    };
    std::vector<std::size_t> chosen;
    for (double every = 1; every < 1e18; every *= 10) {
        for (double times : {1.0, 2.0, 5.0}) {
            std::vector<std::size_t> next;
            for (std::size_t k = 0; k < all.size(); ++k)
                if (std::fmod(std::round(t.values[k] / t.step), every * times) == 0) next.push_back(k);
            // A step beyond every tick: the first of the labels before stands alone.
            if (next.empty()) next.assign(chosen.begin(), chosen.begin() + std::min<std::size_t>(chosen.size(), 1));
            chosen = std::move(next);
            bool fits = true;
            for (std::size_t j = 1; j < chosen.size() && fits; ++j) fits = apart(all[chosen[j - 1]], all[chosen[j]]);
            if (fits) {
                for (std::size_t k : chosen) {
                    ap.labels.push_back(all[k]);
                    ap.labelTexts.push_back(t.labels[k]);
                }
                return;
            }
        }
    }
}

// Space an axis's ticks and labels take outside the plot, from its line.
int labelExtent(const Axis& a, const Ticks& t, const QFontMetrics& fm) {
    int e = 0;
    if (a.ticksVisible()) e += TickLength;
    if (a.labelsVisible()) e += Gap + (a.horizontal() ? fm.height() : t.widest);
    return e;
}

// Space an axis at its plot edge takes outside the plot, with its title or without.
int outsideExtent(const Axis& a, const Ticks& t, const QFontMetrics& fm, bool titled) {
    return labelExtent(a, t, fm) + (titled ? Gap + fm.height() : 0);
}

// The smallest type an axis title is drawn in: the smallest any text of a window is drawn in.
// A title longer than its axis even in that type is left out and its room goes to the plot: a
// small chart keeps its plot and its heading rather than show a title cut at both ends and
// running into them, or one too small to read.
constexpr double SmallestTitlePointSize = FittingLabel::ReadablePointSize;

struct TitleType {
    QFont font;
    int width = 0;  // of the title in that font
};

// The type an axis title fits along `room` pixels in: the chart's own (the title `width` wide
// in it), else the largest smaller size that fits; none when even the smallest does not.
std::optional<TitleType> titleType(const QFont& base, int width, const QString& title, int room) {
    if (width <= room) return TitleType{base, width};
    QFont f = base;
    double size = base.pointSizeF() > 0 ? base.pointSizeF() : QFontInfo(base).pointSizeF();
    while (size > SmallestTitlePointSize) {
        size = std::max(SmallestTitlePointSize, size - 0.5);
        f.setPointSizeF(size);
        const int w = QFontMetrics(f).horizontalAdvance(title);
        if (w <= room) return TitleType{f, w};
    }
    return std::nullopt;
}

int textBlockHeight(const TitleText& t, const QFontMetrics& fm) {
    if (!t.visible() || t.lines().empty() || t.customPosition()) return 0;
    return static_cast<int>(t.lines().size()) * fm.height() + Gap;
}

struct LegendItem {
    const Series* series;
    QString text;
    int width;
};

std::vector<LegendItem> legendItems(const Chart& chart, const Measure& fm) {
    std::vector<LegendItem> items;
    if (!chart.legend().visible()) return items;
    for (int i = 0; i < chart.seriesCount(); ++i) {
        const Series& s = chart.series(i);
        if (!s.showInLegend()) continue;
        QString text = toQt(s.title());
        if (chart.legend().showValues()) {
            const int n = s.count();
            if (n > 0 && !s.isNull(n - 1)) text += QLatin1Char(' ') + toQt(formatLegendNumber(s.y(n - 1)));
        }
        items.push_back({&s, text, 16 + fm.width(text) + 10});
    }
    return items;
}

std::vector<std::vector<const LegendItem*>> legendRows(const std::vector<LegendItem>& items, int width) {
    std::vector<std::vector<const LegendItem*>> rows;
    int used = 0;
    for (const auto& it : items) {
        if (rows.empty() || used + it.width > width) {
            rows.emplace_back();
            used = 0;
        }
        rows.back().push_back(&it);
        used += it.width;
    }
    return rows;
}

// The pixel nearest to a position, pinned like pixelOf (a position that is not a number far
// off), without a library call: a million points take two each. Shifted to be positive, so
// that truncation rounds down.
inline int nearestPixel(double p) {
    constexpr int Shift = 1 << 21;
    return static_cast<int>(std::max(-1.0e6, std::min(1.0e6, p)) + (Shift + 0.5)) - Shift;
}

// The image a painter draws on, when its pixels may be written directly: a 32-bit image at
// one pixel per unit, with no transformation.
QImage* rasterTarget(QPainter& p) {
    QPaintDevice* d = p.device();
    if (!d || d->devType() != QInternal::Image) return nullptr;
    auto* img = static_cast<QImage*>(d);
    const QImage::Format f = img->format();
    if (f != QImage::Format_ARGB32_Premultiplied && f != QImage::Format_RGB32 && f != QImage::Format_ARGB32) return nullptr;
    if (img->devicePixelRatio() != 1 || !p.transform().isIdentity()) return nullptr;
    return img;
}

// A point marker as rows round its centre: the half-width of the row dy pixels above or
// below the centre, for dy = 0 ... radius. A filled circle or square of the series' half size
// (drawn with its 1-pixel outline), or one pixel for a small dot.
std::vector<int> markerRows(const Series& s) {
    const int r = s.pointerStyle() == PointerStyle::SmallDot ? 0 : std::clamp(s.pointerSize(), 0, 50);
    std::vector<int> half(static_cast<std::size_t>(r) + 1, r);
    if (s.pointerStyle() == PointerStyle::Circle)
        for (int dy = 0; dy <= r; ++dy) {
            int& h = half[static_cast<std::size_t>(dy)];
            while (h * h + dy * dy > r * r + r) --h;
        }
    return half;
}

// Room for the centres of a whole drawing's points, kept between series.
struct PointScratch {
    std::vector<std::uint8_t> marks;
    std::vector<std::int32_t> last;
};

inline QRgb pixelColour(Colour c) { return qRgb(redOf(c), greenOf(c), blueOf(c)); }

// Points [from, to) of a point series, each marker written in turn straight into the image's
// pixels inside `clip`.
void paintEachPoint(QImage& img, const Series& s, const AxisMap& xm, const AxisMap& ym, const QRect& clip, int from,
                    int to, const std::vector<int>& half) {
    const int r = static_cast<int>(half.size()) - 1;
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    const auto& xs = s.rawX();
    const auto& ys = s.rawY();
    const auto& nulls = s.rawNull();
    const auto& cs = s.rawColour();
    const Colour own = s.colour();
    Colour lastColour = 0xFFFFFFFF;
    QRgb argb = 0;
    int lastX = INT_MIN, lastY = INT_MIN;
    Colour lastPointColour = 0;
    for (int i = from; i < to; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (nulls[k]) continue;
        const int cx = nearestPixel(xm.toPixel(xs[k]));
        const int cy = nearestPixel(ym.toPixel(ys[k]));
        const Colour c = cs[k] == SeriesColour ? own : cs[k];
        // Positions of a receiver standing still repeat: the same marker again changes nothing.
        if (cx == lastX && cy == lastY && c == lastPointColour) continue;
        lastX = cx;
        lastY = cy;
        lastPointColour = c;
        if (cx < clip.left() - r || cx > clip.right() + r || cy < clip.top() - r || cy > clip.bottom() + r) continue;
        if (c != lastColour) {
            argb = pixelColour(c);
            lastColour = c;
        }
        const int y0 = std::max(cy - r, clip.top()), y1 = std::min(cy + r, clip.bottom());
        for (int y = y0; y <= y1; ++y) {
            const int h = half[static_cast<std::size_t>(std::abs(y - cy))];
            QRgb* row = reinterpret_cast<QRgb*>(bits + y * bpl);
            for (int x = std::max(cx - h, clip.left()), x1 = std::min(cx + h, clip.right()); x <= x1; ++x) row[x] = argb;
        }
    }
}

// v[j] = max(v[j], a[j], b[j]) for j < n, in runs of 16 that the compiler turns into vector
// instructions. `a` may be `v` further on: each run reads before it writes.
template <typename T>
void raise(T* v, const T* a, const T* b, int n) {
    int j = 0;
    for (; j + 16 <= n; j += 16) {
        T run[16];
        for (int q = 0; q < 16; ++q) run[q] = std::max(v[j + q], std::max(a[j + q], b[j + q]));
        std::memcpy(v + j, run, sizeof run);
    }
    for (; j < n; ++j) v[j] = std::max(v[j], std::max(a[j], b[j]));
}

// The last of points [from, to) centred on each pixel of `area`, row by row: 1 + its index,
// or 0 for none. In bytes, only whether one is there (1): enough when they share a colour.
template <typename T, bool HasNulls>
void markCentres(std::vector<T>& cells, const Series& s, const AxisMap& xm, const AxisMap& ym, const QRect& area,
                 int from, int to) {
    const int aw = area.width(), ah = area.height();
    cells.assign(static_cast<std::size_t>(aw) * static_cast<std::size_t>(ah), 0);
    T* out = cells.data();
    for (int i = from; i < to;) {
        // Along the runs the columns keep in memory.
        const auto [xs, nx] = s.rawX().run(static_cast<std::size_t>(i));
        const auto [ys, ny] = s.rawY().run(static_cast<std::size_t>(i));
        const auto [nulls, nn] = s.rawNull().run(static_cast<std::size_t>(i));
        const int n = static_cast<int>(std::min({nx, ny, nn, static_cast<std::size_t>(to - i)}));
        for (int j = 0; j < n; ++j) {
            if (HasNulls && nulls[j]) continue;
            const int x = nearestPixel(xm.toPixel(xs[j])) - area.left();
            const int y = nearestPixel(ym.toPixel(ys[j])) - area.top();
            if (static_cast<unsigned>(x) >= static_cast<unsigned>(aw) || static_cast<unsigned>(y) >= static_cast<unsigned>(ah))
                continue;
            T& cell = out[static_cast<std::size_t>(y) * static_cast<std::size_t>(aw) + static_cast<std::size_t>(x)];
            if constexpr (sizeof(T) == 1) cell = 1;
            else cell = static_cast<T>(i + j) + 1;
        }
        i += n;
    }
}

// Whether points [from, to) all carry one colour as given, taken from the series' summaries
// of 256 points wherever one lies whole in the span.
bool oneColour(const Series& s, int from, int to) {
    const auto& cs = s.rawColour();
    const Colour first = cs[static_cast<std::size_t>(from)];
    for (int i = from; i < to;) {
        const Series::Block* k = s.wholeBlockAt(Series::Levels - 1, i);
        if (k && i + k->count <= to) {
            if (k->mixedColour || k->magColour != first) return false;
            i += k->count;
        } else {
            if (cs[static_cast<std::size_t>(i)] != first) return false;
            ++i;
        }
    }
    return true;
}

// The pixels of `box` (inside `area`, a marker's reach within its edges) that markers centred
// on `cells` cover, each in the colour of the last of them: colourOf(1 + index). For each
// pixel, the largest cell value within a marker's reach: for each band of rows the marker
// keeps one width on, a running maximum over the band's rows, then over its width.
template <typename T, typename ColourOf>
void paintCovered(QImage& img, const std::vector<T>& cells, const QRect& area, const QRect& box,
                  const std::vector<int>& half, ColourOf colourOf) {
    const int r = static_cast<int>(half.size()) - 1;
    const int aw = area.width();
    const int w = box.width(), n = w + 2 * r;  // the box's columns, and those a marker reaches from
    std::vector<T> buffer(static_cast<std::size_t>(2 * n + w));
    T* v = buffer.data();  // the band's maximum in each column
    T* g = v + n;          // that maximum over runs of columns
    T* top = g + n;        // the result
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        auto rowAt = [&](int at) {
            return cells.data() + static_cast<std::size_t>(at) * static_cast<std::size_t>(aw) + (box.left() - r);
        };
        std::copy_n(rowAt(y), n, v);
        std::fill_n(top, w, T(0));
        for (int b = 0; b <= r; ++b) {
            if (b > 0) raise(v, rowAt(y - b), rowAt(y + b), n);
            const int h = half[static_cast<std::size_t>(b)];
            if (b < r && half[static_cast<std::size_t>(b) + 1] == h) continue;
            // Rows up to b away reach h columns either side: the maximum over 2h + 1 columns
            // is that of two overlapping runs of a power of two, built by doubling.
            std::copy_n(v, n, g);
            int p = 1;
            for (; 2 * p <= 2 * h + 1; p *= 2) raise(g, g + p, g + p, n - p);
            raise(top, g + r - h, g + r + h - p + 1, w);
        }
        QRgb* row = reinterpret_cast<QRgb*>(bits + (y + area.top()) * bpl) + (box.left() + area.left());
        T shown = 0;
        QRgb argb = 0;
        for (int j = 0; j < w; ++j) {
            if (!top[j]) continue;
            if (top[j] != shown) shown = top[j], argb = colourOf(shown);
            row[j] = argb;
        }
    }
}

// What painting the markers of points [from, to) in turn leaves in the image inside `clip`
// (the last point on top), found without painting them: first the last point centred on each
// pixel, then for each pixel the last of the points centred within a marker's reach of it. It
// costs a look at each point and a few at each pixel, however many markers overlap: a million
// points take milliseconds.
void paintTopPoints(QImage& img, const Series& s, const AxisMap& xm, const AxisMap& ym, const QRect& clip, int from,
                    int to, const std::vector<int>& half, PointScratch& scratch) {
    const int r = static_cast<int>(half.size()) - 1;
    const QRect area = clip.adjusted(-r, -r, r, r);  // the centres whose markers reach into clip
    // The pixels markers may cover: clip, narrowed to the reach of the series' extremes.
    QRect box(QPoint(r, r), clip.size());
    const auto xr = s.xRange();
    const auto yr = s.yRange();
    if (!xr || !yr) return;
    const double x0 = xm.toPixel(xr->min), x1 = xm.toPixel(xr->max);
    const double y0 = ym.toPixel(yr->min), y1 = ym.toPixel(yr->max);
    if (std::isfinite(x0) && std::isfinite(x1) && std::isfinite(y0) && std::isfinite(y1)) {
        const QRect reach(QPoint(nearestPixel(std::min(x0, x1)) - r, nearestPixel(std::min(y0, y1)) - r),
                          QPoint(nearestPixel(std::max(x0, x1)) + r, nearestPixel(std::max(y0, y1)) + r));
        box &= reach.translated(-area.topLeft());
    }
    if (box.isEmpty()) return;
    const auto& cs = s.rawColour();
    if (oneColour(s, from, to)) {
        if (s.nullCount() > 0) markCentres<std::uint8_t, true>(scratch.marks, s, xm, ym, area, from, to);
        else markCentres<std::uint8_t, false>(scratch.marks, s, xm, ym, area, from, to);
        const Colour c = cs[static_cast<std::size_t>(from)];
        const QRgb argb = pixelColour(c == SeriesColour ? s.colour() : c);
        paintCovered(img, scratch.marks, area, box, half, [argb](std::uint8_t) { return argb; });
    } else {
        if (s.nullCount() > 0) markCentres<std::int32_t, true>(scratch.last, s, xm, ym, area, from, to);
        else markCentres<std::int32_t, false>(scratch.last, s, xm, ym, area, from, to);
        const Colour own = s.colour();
        paintCovered(img, scratch.last, area, box, half, [&cs, own](std::int32_t i) {
            const Colour c = cs[static_cast<std::size_t>(i) - 1];
            return pixelColour(c == SeriesColour ? own : c);
        });
    }
}

// Points [from, to) of a point series drawn into the image's pixels inside `clip`, as if each
// marker were painted in turn. Many crowded points (a whole drawing of a long run) are drawn
// from the last points centred on each pixel, kept in `scratch`.
void writePoints(QImage& img, const Series& s, const AxisMap& xm, const AxisMap& ym, QRect clip, int from, int to,
                 PointScratch* scratch) {
    clip = clip.intersected(img.rect());
    if (clip.isEmpty() || from >= to) return;
    const std::vector<int> half = markerRows(s);
    const int r = static_cast<int>(half.size()) - 1;
    long long markerArea = 0;
    for (int dy = -r; dy <= r; ++dy) markerArea += 2 * half[static_cast<std::size_t>(std::abs(dy))] + 1;
    const long long areaPixels = static_cast<long long>(clip.width() + 2 * r) * (clip.height() + 2 * r);
    if (scratch && static_cast<long long>(to - from) * markerArea > 2 * areaPixels)
        paintTopPoints(img, s, xm, ym, clip, from, to, half, *scratch);
    else
        paintEachPoint(img, s, xm, ym, clip, from, to, half);
}

std::pair<int, int> visibleRange(const Series& s, const AxisMap& xm) {
    return visiblePoints(s, std::min(xm.min(), xm.max()), std::max(xm.min(), xm.max()));
}

// Bars drawn whole rather than reduced to pixel columns: few enough to tell apart.
bool fewBars(int visible, const QRect& plot) { return visible * 3 <= plot.width(); }

// One series to reduce to pixel columns.
struct ReduceJob {
    const Series* series;
    AxisMap xmap;
    std::pair<int, int> range;
    bool bars;
    std::vector<ColumnSample> samples;
};

// Below this many points a series is reduced in one piece, and a chart with fewer points in
// all on this thread: handing work to another thread costs more than it saves.
constexpr int PiecePoints = 16384;

// Reduces the jobs' series. Long series are cut into pieces reduced on the shared thread
// pool; reducing is bound by memory latency, so it gains from every thread. The pool starts
// at once, while this thread draws what lies under the series; finish() takes the pieces
// still left, so the work completes even when the pool is busy with other tasks. Nothing
// changes the series meanwhile, as they change only on this thread.
class Reduction {
public:
    Reduction() = default;
    Reduction(const Reduction&) = delete;
    Reduction& operator=(const Reduction&) = delete;
    ~Reduction() { finish(); }

    void start(std::vector<ReduceJob> jobs) {
        QThreadPool* pool = QThreadPool::globalInstance();
        const int threads = std::max(1, pool->maxThreadCount());
        work_ = std::make_shared<Work>();
        work_->jobs = std::move(jobs);
        long long points = 0;
        for (std::size_t j = 0; j < work_->jobs.size(); ++j) {
            const ReduceJob& job = work_->jobs[j];
            const int n = job.range.second - job.range.first;
            points += n;
            // A series reduced by its columns costs a few steps a column, however long: it
            // goes whole to one thread, beside the chart's other series.
            const int parts = threads > 1 && !reducedByColumns(*job.series) ? std::clamp(n / PiecePoints, 1, threads) : 1;
            for (const ColumnPiece& piece : columnPieces(*job.series, job.xmap, job.range, parts))
                work_->pieces.push_back({j, piece, {}});
        }
        work_->left = work_->pieces.size();
        const std::size_t count = work_->pieces.size();
        if (count > 1 && points >= 2 * PiecePoints) {
            // Pool tasks that start after the last piece was taken find nothing left and
            // touch no series: the work they share outlives this painter.
            const std::size_t helpers = std::min(static_cast<std::size_t>(threads - 1), count - 1);
            for (std::size_t h = 0; h < helpers; ++h) pool->start([work = work_] { work->run(); });
        }
    }

    // The jobs with their samples, once every piece is reduced.
    const std::vector<ReduceJob>& finish() {
        if (!work_) return done_;
        work_->run();
        for (std::size_t left = work_->left.load(); left != 0; left = work_->left.load()) work_->left.wait(left);
        for (Piece& pc : work_->pieces) {
            auto& out = work_->jobs[pc.job].samples;
            if (out.empty()) out = std::move(pc.samples);
            else out.insert(out.end(), pc.samples.begin(), pc.samples.end());
        }
        done_ = std::move(work_->jobs);
        work_.reset();
        return done_;
    }

private:
    struct Piece {
        std::size_t job;
        ColumnPiece piece;
        std::vector<ColumnSample> samples;
    };
    struct Work {
        std::vector<ReduceJob> jobs;
        std::vector<Piece> pieces;
        std::atomic<std::size_t> next{0};
        std::atomic<std::size_t> left{0};
        void run() {
            std::size_t k = 0;
            while ((k = next.fetch_add(1)) < pieces.size()) {
                Piece& pc = pieces[k];
                const ReduceJob& job = jobs[pc.job];
                reducePiece(*job.series, job.xmap, pc.piece, job.bars, pc.samples);
                if (left.fetch_sub(1) == 1) left.notify_all();
            }
        }
    };
    std::shared_ptr<Work> work_;
    std::vector<ReduceJob> done_;
};

class SeriesDrawer {
public:
    SeriesDrawer(QPainter& p, const QRect& plot) : p_(p), plot_(plot) {}

    // Starts reducing, all together, the series that line() and bars() will draw.
    void prepare(std::vector<ReduceJob> jobs) { reduction_.start(std::move(jobs)); }

    void line(const Series& s, const AxisMap& xm, const AxisMap& ym) {
        const std::vector<ColumnSample>& samples = reduced(s, xm, false);
        std::vector<QPolygonF> runs;
        for (const auto& c : samples) {
            if (c.startsRun || runs.empty()) runs.emplace_back();
            QPolygonF& poly = runs.back();
            poly << QPointF(c.px, ym.toPixel(c.first));
            if (c.min != c.max) {
                poly << QPointF(c.px, ym.toPixel(c.min)) << QPointF(c.px, ym.toPixel(c.max));
                poly << QPointF(c.px, ym.toPixel(c.last));
            }
        }
        const Pen& outline = s.outlinePen();
        if (outline.visible && s.kind() == SeriesKind::Line) {
            QPen op(toQColor(outline.colour));
            op.setWidth(std::max(1, s.linePen().width) + 2 * std::max(1, outline.width));
            p_.setPen(op);
            for (const auto& r : runs) drawRun(r);
        }
        p_.setPen(qtPen(s.linePen()));
        for (const auto& r : runs) drawRun(r);
    }

    void function(const Series& s, const AxisMap& xm, const AxisMap& ym) {
        if (s.count() < 2) return;
        const double y = ym.toPixel(s.functionValue());
        p_.setPen(qtPen(s.linePen()));
        p_.drawLine(QPointF(xm.toPixel(s.x(0)), y), QPointF(xm.toPixel(s.x(1)), y));
    }

    void bars(const Series& s, const AxisMap& xm, const AxisMap& ym) {
        const auto range = visibleRange(s, xm);
        const int visible = range.second - range.first;
        if (visible <= 0) return;
        const double origin = ym.toPixel(0);
        const bool outline = s.outlinePen().visible;
        p_.setPen(Qt::NoPen);
        if (fewBars(visible, plot_)) {
            // Few bars: each drawn whole, 70 % of its share of the width.
            const double w = std::max(1.0, 0.7 * plot_.width() / visible);
            if (outline) p_.setPen(qtPen(s.outlinePen()));
            for (int i = range.first; i < range.second; ++i) {
                if (s.isNull(i)) continue;
                const double px = xm.toPixel(s.x(i));
                const double py = ym.toPixel(s.y(i));
                QRectF r(QPointF(px - w / 2, std::min(py, origin)), QPointF(px + w / 2, std::max(py, origin)));
                p_.setBrush(brush(s, s.drawColour(i)));
                p_.drawRect(r);
            }
            p_.setBrush(Qt::NoBrush);
            return;
        }
        const std::vector<ColumnSample>& samples = reduced(s, xm, true);
        // Neighbouring columns of the same height and colour (long steps of one value) are
        // filled as one rectangle: the fill, gradient included, varies only with y.
        // Bars this dense read as a band, each reaching the next: where the points thin out
        // (a longer decimation block) the band would otherwise fall apart into columns and
        // gaps while the data go on. A gap wider than two and a half times the longer of the
        // two steps before it (whole pixels alternate round a step between them) is one in
        // the data, and stays open.
        double from = 0, to = 0, upper = 0, lower = 0, before = -1, step = 0, stepBefore = 0;
        Colour colour = 0;
        bool open = false;
        auto flush = [&] {
            if (open) p_.fillRect(QRectF(QPointF(from, upper), QPointF(to, lower)), brush(s, colour));
        };
        for (const auto& c : samples) {
            const double col = std::floor(c.px);
            if (before >= 0 && col > before) {
                const double gap = col - before;
                if (open && gap > 1 && gap <= std::max(2.0, 2.5 * std::max(step, stepBefore))) to = col;
                stepBefore = step;
                step = gap;
            }
            before = col;
            const double top = ym.toPixel(std::max(c.max, 0.0));
            const double bottom = ym.toPixel(std::min(c.min, 0.0));
            const double u = std::min(top, bottom), l = std::max(top, bottom);
            if (open && col == to && u == upper && l == lower && c.colour == colour) {
                to = col + 1;
                continue;
            }
            flush();
            open = true;
            from = col;
            to = col + 1;
            upper = u;
            lower = l;
            colour = c.colour;
        }
        flush();
    }

    void points(const Series& s, const AxisMap& xm, const AxisMap& ym, bool clip) {
        if (QImage* img = rasterTarget(p_)) {
            writePoints(*img, s, xm, ym, clip ? plot_.adjusted(0, 0, 1, 1) : img->rect(), 0, s.count(), &scratch_);
            return;
        }
        // A point whose centre pixel a later point takes is passed over: the later marker
        // covers it (to within a pixel). The last point on each pixel of the plot comes first.
        const int w = plot_.width() + 1, h = plot_.height() + 1;
        last_.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), -1);
        auto cellOf = [&](int i) -> std::int32_t* {
            const int ix = static_cast<int>(pixelOf(xm.toPixel(s.x(i)))) - plot_.left();
            const int iy = static_cast<int>(pixelOf(ym.toPixel(s.y(i)))) - plot_.top();
            if (ix < 0 || iy < 0 || ix >= w || iy >= h) return nullptr;
            return &last_[static_cast<std::size_t>(iy) * static_cast<std::size_t>(w) + static_cast<std::size_t>(ix)];
        };
        for (int i = 0; i < s.count(); ++i)
            if (!s.isNull(i))
                if (std::int32_t* cell = cellOf(i)) *cell = i;
        const int size = s.pointerSize();
        Colour lastColour = 0xFFFFFFFF;
        for (int i = 0; i < s.count(); ++i) {
            if (s.isNull(i)) continue;
            const std::int32_t* cell = cellOf(i);
            if (cell ? *cell != i : clip) continue;
            const double px = xm.toPixel(s.x(i));
            const double py = ym.toPixel(s.y(i));
            const Colour c = s.drawColour(i);
            if (c != lastColour) {
                p_.setPen(toQColor(c));
                p_.setBrush(toQColor(c));
                lastColour = c;
            }
            switch (s.pointerStyle()) {
            case PointerStyle::SmallDot: p_.drawPoint(QPointF(px, py)); break;
            case PointerStyle::Circle: p_.drawEllipse(QPointF(px, py), size, size); break;
            case PointerStyle::Rectangle: p_.drawRect(QRectF(px - size, py - size, 2 * size, 2 * size)); break;
            }
        }
        p_.setBrush(Qt::NoBrush);
    }

    void gantt(const Series& s, const AxisMap& xm, const AxisMap& ym) {
        // A run shows as many overlapping bars growing to the right: merge what lands on the
        // same pixel row so that a long run costs one rectangle.
        const int hh = s.ganttHeight();
        if (s.outlinePen().visible) p_.setPen(qtPen(s.outlinePen()));
        else p_.setPen(Qt::NoPen);
        bool open = false;
        double x0 = 0, x1 = 0;
        long row = 0;
        Colour colour = 0;
        auto flush = [&] {
            if (!open) return;
            p_.setBrush(toQColor(colour));
            p_.drawRect(QRectF(x0, row - hh, std::max(1.0, x1 - x0), 2 * hh));
            open = false;
        };
        const auto& xs = s.rawX();
        const auto& ends = s.rawEnd();
        const auto& ys = s.rawY();
        const auto& cs = s.rawColour();
        const auto& nulls = s.rawNull();
        const Colour own = s.colour();
        const double lo = std::min(xm.min(), xm.max()), hi = std::max(xm.min(), xm.max());
        const bool blocks = s.xAscending();
        for (std::size_t i = 0; i < xs.size(); ++i) {
            if (blocks) {
                // Blocks of bars that all end left of the view are passed over whole.
                const Series::Block* gone = nullptr;
                for (int level = Series::Levels - 1; level >= 0 && !gone; --level) {
                    const Series::Block* k = s.wholeBlockAt(level, static_cast<int>(i));
                    if (k && k->endMax < lo && k->xLast < lo) gone = k;
                }
                if (gone) {
                    i += static_cast<std::size_t>(gone->count) - 1;
                    continue;
                }
            }
            if (blocks && open) {
                // A block of bars that all start inside the open rectangle on its row and in
                // its colour only widens it.
                const Series::Block* taken = nullptr;
                for (int level = Series::Levels - 1; level >= 0 && !taken; --level) {
                    const Series::Block* k = s.wholeBlockAt(level, static_cast<int>(i));
                    if (!k || k->hasNull || k->mixedColour || k->yMin != k->yMax) continue;
                    const Colour kc = k->magColour == SeriesColour ? own : k->magColour;
                    if (kc != colour || pixelOf(ym.toPixel(k->yMin)) != row) continue;
                    const double a = xm.toPixel(k->xFirst), b = xm.toPixel(k->xLast);
                    if (std::min(a, b) >= x0 - 1 && std::max(a, b) <= x1 + 1) taken = k;
                }
                if (taken) {
                    const double e = std::clamp(xm.toPixel(taken->endMax), -1.0e6, 1.0e6);
                    x0 = std::min(x0, e);
                    x1 = std::max(x1, e);
                    i += static_cast<std::size_t>(taken->count) - 1;
                    continue;
                }
            }
            if (nulls[i]) continue;
            double a = xs[i], b = ends[i];
            if (a > b) std::swap(a, b);
            if (b < lo || a > hi) continue;
            a = std::max(xm.toPixel(a), -1.0e6);
            b = std::min(xm.toPixel(b), 1.0e6);
            if (a > b) std::swap(a, b);
            const long r = pixelOf(ym.toPixel(ys[i]));
            const Colour c = cs[i] == SeriesColour ? own : cs[i];
            if (open && r == row && c == colour && a <= x1 + 1 && b >= x0 - 1) {
                x0 = std::min(x0, a);
                x1 = std::max(x1, b);
                continue;
            }
            flush();
            open = true;
            x0 = a;
            x1 = b;
            row = r;
            colour = c;
        }
        flush();
        p_.setBrush(Qt::NoBrush);
    }

private:
    const std::vector<ColumnSample>& reduced(const Series& s, const AxisMap& xm, bool bars) {
        for (const ReduceJob& j : reduction_.finish())
            if (j.series == &s) return j.samples;
        samples_.clear();
        const auto range = visibleRange(s, xm);
        if (bars) reduceBars(s, xm, range, samples_);
        else reduceLine(s, xm, range, samples_);
        return samples_;
    }

    void drawRun(const QPolygonF& r) {
        if (r.size() == 1) p_.drawPoint(r.front());
        else p_.drawPolyline(r);
    }

    QBrush brush(const Series& s, Colour c) {
        if (!s.gradient()) return QBrush(toQColor(c));
        auto it = brushes_.find(c);
        if (it != brushes_.end()) return it->second;
        QLinearGradient g(0, plot_.top(), 0, plot_.bottom());
        g.setColorAt(0, toQColor(c));
        g.setColorAt(1, toQColor(c).darker(160));
        return brushes_.emplace(c, QBrush(g)).first->second;
    }

    QPainter& p_;
    QRect plot_;
    std::vector<ColumnSample> samples_;
    Reduction reduction_;
    std::vector<std::int32_t> last_;  // the last point centred on each pixel of the plot
    PointScratch scratch_;
    std::unordered_map<Colour, QBrush> brushes_;
};

}  // namespace

ChartPainter::ChartPainter(QFont font) : font_(std::move(font)) {}

ChartLayout ChartPainter::paint(QPainter& p, Chart& chart, const QRect& bounds, PaintPart part) {
    p.save();
    p.setFont(font_);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QFontMetrics fm(font_);
    const Measure measure{fm, widths_};
    const int lineH = fm.height();
    ChartLayout layout;
    layout.bounds = bounds;

    const bool under = part == PaintPart::All || part == PaintPart::Under;
    const bool over = part == PaintPart::All || part == PaintPart::Over;

    // Outer frame: margins, titles, legend, sub-footer.
    double left = bounds.left() + bounds.width() * chart.marginLeft() / 100.0;
    double right = bounds.right() - bounds.width() * chart.marginRight() / 100.0;
    double top = bounds.top() + bounds.height() * chart.marginTop() / 100.0;
    double bottom = bounds.bottom() - bounds.height() * chart.marginBottom() / 100.0;
    const double titleTop = top;
    top += textBlockHeight(chart.title(), fm);
    const double subTitleTop = top;
    top += textBlockHeight(chart.subTitle(), fm);
    const auto items = legendItems(chart, measure);
    const auto rows = legendRows(items, std::max(1, static_cast<int>(right - left)));
    const double legendTop = top;
    if (!rows.empty()) top += static_cast<double>(rows.size()) * lineH + Gap * 2;
    bottom -= textBlockHeight(chart.subFoot(), fm);
    const double subFootTop = bottom + Gap;

    // Axes: the space they need outside the plot, then the plot itself. An axis title that
    // does not fit along the plot gives its room back, and the plot is placed again.
    auto axes = chart.allAxes();
    std::vector<bool> shown(axes.size());
    std::vector<bool> titled(axes.size());
    std::vector<Ticks> edgeTicks(axes.size());
    const int roughW = std::max(1, static_cast<int>(right - left) - 80);
    const int roughH = std::max(1, static_cast<int>(bottom - top) - 3 * lineH);
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const Axis& a = *axes[i];
        shown[i] = axisShown(chart, a);
        titled[i] = shown[i] && a.titleVisible() && !a.title().empty();
        if (shown[i] && a.positionPercent() == 0) edgeTicks[i] = makeTicks(a, measure, a.horizontal() ? roughW : roughH);
    }
    std::vector<double> offset(axes.size(), 0);  // distance of an edge axis from the plot
    QRect plot;
    auto placePlot = [&] {
        double spaceL = 0, spaceR = 0, spaceT = 0, spaceB = 0;
        for (std::size_t i = 0; i < axes.size(); ++i) {
            const Axis& a = *axes[i];
            if (!shown[i] || a.positionPercent() != 0) continue;
            const int e = outsideExtent(a, edgeTicks[i], fm, titled[i]);
            switch (a.kind()) {
            case AxisKind::Right: offset[i] = spaceR; spaceR += e; break;
            case AxisKind::Top: offset[i] = spaceT; spaceT += e; break;
            case AxisKind::Bottom: offset[i] = spaceB; spaceB += e; break;
            case AxisKind::Left: offset[i] = spaceL; spaceL += e; break;
            case AxisKind::Custom:
                if (a.horizontal()) { offset[i] = spaceB; spaceB += e; }
                else { offset[i] = spaceL; spaceL += e; }
                break;
            }
        }
        if (spaceT == 0) spaceT = lineH / 2;  // room for the top label of the left axis
        plot = QRect(QPoint(static_cast<int>(left + spaceL), static_cast<int>(top + spaceT)),
                     QPoint(static_cast<int>(right - spaceR), static_cast<int>(bottom - spaceB)));
        if (plot.width() < 2) plot.setWidth(2);
        if (plot.height() < 2) plot.setHeight(2);
        if (chart.squarePlot()) {
            // The longer side gives up its extra pixels, half on each side.
            const int side = std::min(plot.width(), plot.height());
            plot = QRect(plot.left() + (plot.width() - side) / 2, plot.top() + (plot.height() - side) / 2, side, side);
        }
    };
    placePlot();
    std::vector<std::optional<TitleType>> titleTypes(axes.size());
    bool placeAgain = false;
    for (std::size_t i = 0; i < axes.size(); ++i) {
        if (!titled[i]) continue;
        const Axis& a = *axes[i];
        const QString title = toQt(a.title());
        titleTypes[i] = titleType(font_, measure.width(title), title, a.horizontal() ? plot.width() : plot.height());
        if (titleTypes[i]) continue;
        titled[i] = false;
        placeAgain = placeAgain || a.positionPercent() == 0;
    }
    if (placeAgain) placePlot();
    layout.plot = plot;

    std::vector<Ticks> ticks(axes.size());
    for (std::size_t i = 0; i < axes.size(); ++i) {
        Axis& a = *axes[i];
        AxisPlacement ap;
        ap.axis = &a;
        ap.shown = shown[i];
        ticks[i] = makeTicks(a, measure, a.horizontal() ? plot.width() : plot.height());
        const Ticks& t = ticks[i];
        const double pos = a.positionPercent() / 100.0;
        if (a.horizontal()) {
            ap.map = a.inverted() ? AxisMap(t.min, t.max, plot.right(), plot.left())
                                  : AxisMap(t.min, t.max, plot.left(), plot.right());
            if (a.kind() == AxisKind::Top) ap.line = static_cast<int>(plot.top() + pos * plot.height() - offset[i]);
            else ap.line = static_cast<int>(plot.bottom() - pos * plot.height() + offset[i]);
            const int e = std::max(outsideExtent(a, t, fm, titled[i]), 6);
            ap.hitArea = a.kind() == AxisKind::Top ? QRect(plot.left(), ap.line - e, plot.width(), e + 3)
                                                   : QRect(plot.left(), ap.line - 2, plot.width(), e + 3);
            if (titled[i]) {
                const int w = titleTypes[i]->width;
                const int from = labelExtent(a, t, fm) + Gap;
                const int ty = a.kind() == AxisKind::Top ? ap.line - from - lineH : ap.line + from;
                ap.title = QRect(plot.left() + (plot.width() - w) / 2, ty, w, lineH);
            }
        } else {
            ap.map = a.inverted() ? AxisMap(t.min, t.max, plot.top(), plot.bottom())
                                  : AxisMap(t.min, t.max, plot.bottom(), plot.top());
            if (a.kind() == AxisKind::Right) ap.line = static_cast<int>(plot.right() - pos * plot.width() + offset[i]);
            else ap.line = static_cast<int>(plot.left() + pos * plot.width() - offset[i]);
            const int e = std::max(outsideExtent(a, t, fm, titled[i]), 6);
            ap.hitArea = a.kind() == AxisKind::Right ? QRect(ap.line - 2, plot.top(), e + 3, plot.height())
                                                     : QRect(ap.line - e, plot.top(), e + 3, plot.height());
            if (titled[i]) {
                const int w = titleTypes[i]->width;
                const int from = labelExtent(a, t, fm) + Gap;
                const int tx = a.kind() == AxisKind::Right ? ap.line + from : ap.line - from - lineH;
                ap.title = QRect(tx, plot.center().y() - w / 2, lineH, w);
            }
        }
        if (shown[i] && a.labelsVisible()) placeLabels(a, ticks[i], ap, plot, bounds, measure, lineH);
        layout.axes.push_back(ap);
    }

    if (part == PaintPart::Layout) {
        p.restore();
        return layout;
    }

    // The series are reduced to pixel columns while the ground, grid and bands are drawn.
    SeriesDrawer drawer(p, plot);
    if (over) {
        std::vector<ReduceJob> jobs;
        for (int i = 0; i < chart.seriesCount(); ++i) {
            const Series& s = chart.series(i);
            const SeriesKind k = s.kind();
            if (s.function() != SeriesFunction::None || (k != SeriesKind::Line && k != SeriesKind::FastLine && k != SeriesKind::Bar))
                continue;
            const AxisPlacement* xp = layout.find(&chart.horizontalAxisOf(s));
            if (!xp || !layout.find(&chart.verticalAxisOf(s))) continue;
            const auto range = visibleRange(s, xp->map);
            const int visible = range.second - range.first;
            if (visible <= 0 || (k == SeriesKind::Bar && fewBars(visible, plot))) continue;
            jobs.push_back({&s, xp->map, range, k == SeriesKind::Bar, {}});
        }
        drawer.prepare(std::move(jobs));
    }
    if (under) p.fillRect(bounds, Qt::white);

    // Plot: grid, bands, series (point series first), colour lines.
    if (under) {
        const AxisPlacement& leftP = layout.axes[0];
        const AxisPlacement& bottomP = layout.axes[3];
        p.setPen(QPen(QColor(220, 220, 220), 1, Qt::DotLine));
        for (double v : ticks[0].values) {
            const int y = static_cast<int>(pixelOf(leftP.map.toPixel(v)));
            p.drawLine(plot.left(), y, plot.right(), y);
        }
        for (double v : ticks[3].values) {
            const int x = static_cast<int>(pixelOf(bottomP.map.toPixel(v)));
            p.drawLine(x, plot.top(), x, plot.bottom());
        }

        p.setClipRect(plot.adjusted(0, 0, 1, 1));
        for (int i = 0; i < chart.toolCount(); ++i) {
            const Tool& tool = chart.tool(i);
            if (!tool.active() || tool.kind() != ToolKind::ColorBand) continue;
            const AxisPlacement* ap = layout.find(&tool.axis());
            if (!ap) continue;
            QColor c = toQColor(tool.colour());
            c.setAlpha(255 * (100 - tool.transparency()) / 100);
            const double a = ap->map.toPixel(tool.startValue()), b = ap->map.toPixel(tool.endValue());
            const QRectF r = tool.axis().horizontal() ? QRectF(QPointF(std::min(a, b), plot.top()), QPointF(std::max(a, b), plot.bottom()))
                                                      : QRectF(QPointF(plot.left(), std::min(a, b)), QPointF(plot.right(), std::max(a, b)));
            p.fillRect(r, c);
            if (tool.pen().visible) {
                p.setPen(qtPen(tool.pen()));
                p.drawRect(r);
            }
        }
    }

    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 0 ? !under : !over) continue;
        for (int i = 0; i < chart.seriesCount(); ++i) {
            const Series& s = chart.series(i);
            // The satellite charts hold a series per satellite number, most of them empty.
            if (s.count() == 0 && s.function() == SeriesFunction::None) continue;
            const bool pointSeries = s.kind() == SeriesKind::Point && s.function() == SeriesFunction::None;
            if (pointSeries != (pass == 0)) continue;
            const AxisPlacement* xp = layout.find(&chart.horizontalAxisOf(s));
            const AxisPlacement* yp = layout.find(&chart.verticalAxisOf(s));
            if (!xp || !yp) continue;
            if (chart.clipPoints() || s.kind() != SeriesKind::Point) p.setClipRect(plot.adjusted(0, 0, 1, 1));
            else p.setClipping(false);
            if (s.function() != SeriesFunction::None) {
                drawer.function(s, xp->map, yp->map);
                continue;
            }
            switch (s.kind()) {
            case SeriesKind::Line:
            case SeriesKind::FastLine: drawer.line(s, xp->map, yp->map); break;
            case SeriesKind::Bar: drawer.bars(s, xp->map, yp->map); break;
            case SeriesKind::Point: drawer.points(s, xp->map, yp->map, chart.clipPoints()); break;
            case SeriesKind::Gantt: drawer.gantt(s, xp->map, yp->map); break;
            }
        }
    }
    if (!over) {
        p.restore();
        return layout;
    }
    p.setClipRect(plot.adjusted(0, 0, 1, 1));
    for (int i = 0; i < chart.toolCount(); ++i) {
        const Tool& tool = chart.tool(i);
        if (!tool.active() || tool.kind() != ToolKind::ColorLine || !tool.pen().visible) continue;
        const AxisPlacement* ap = layout.find(&tool.axis());
        if (!ap) continue;
        const double v = ap->map.toPixel(tool.value());
        p.setPen(qtPen(tool.pen()));
        if (tool.axis().horizontal()) p.drawLine(QPointF(v, plot.top()), QPointF(v, plot.bottom()));
        else p.drawLine(QPointF(plot.left(), v), QPointF(plot.right(), v));
    }
    p.setClipping(false);

    p.setPen(QColor(128, 128, 128));
    p.drawRect(plot);

    // Axes.
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const AxisPlacement& ap = layout.axes[i];
        if (!ap.shown) continue;
        const Axis& a = *ap.axis;
        const Ticks& t = ticks[i];
        const bool farSide = a.kind() == AxisKind::Right || a.kind() == AxisKind::Top;
        const int dir = farSide ? 1 : -1;  // outwards: right/up for the far axes
        p.setPen(Qt::black);
        if (a.horizontal()) {
            const int y = ap.line;
            p.drawLine(plot.left(), y, plot.right(), y);
            int extent = 0;
            if (a.ticksVisible()) {
                for (double v : t.values) {
                    const int x = static_cast<int>(pixelOf(ap.map.toPixel(v)));
                    p.drawLine(x, y, x, y - dir * TickLength);
                }
                extent += TickLength;
            }
            if (a.labelsVisible()) {
                for (std::size_t j = 0; j < ap.labels.size(); ++j)
                    p.drawText(ap.labels[j], Qt::AlignCenter, ap.labelTexts[j]);
                extent += Gap + lineH;
            }
            if (titleTypes[i] && !ap.title.isEmpty()) {
                p.setFont(titleTypes[i]->font);
                p.drawText(ap.title.adjusted(-1, 0, 1, 0), Qt::AlignCenter, toQt(a.title()));
                p.setFont(font_);
            }
        } else {
            const int x = ap.line;
            p.drawLine(x, plot.top(), x, plot.bottom());
            int extent = 0;
            if (a.ticksVisible()) {
                for (double v : t.values) {
                    const int y = static_cast<int>(pixelOf(ap.map.toPixel(v)));
                    p.drawLine(x, y, x + dir * TickLength, y);
                }
                extent += TickLength;
            }
            if (a.labelsVisible()) {
                for (std::size_t j = 0; j < ap.labels.size(); ++j)
                    p.drawText(ap.labels[j], (farSide ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                               ap.labelTexts[j]);
                extent += Gap + t.widest;
            }
            if (titleTypes[i] && !ap.title.isEmpty()) {
                const QString title = toQt(a.title());
                const int w = ap.title.height();
                p.save();
                p.setFont(titleTypes[i]->font);
                p.translate(ap.title.left() + lineH / 2, ap.title.top() + w / 2);
                if (a.titleAngle() == 90) p.rotate(farSide ? 90 : -90);
                p.drawText(QRect(-w / 2 - 1, -lineH / 2, w + 2, lineH), Qt::AlignCenter, title);
                p.restore();
            }
        }
    }

    // Titles and legend.
    auto drawText = [&](const TitleText& t, double y) {
        if (!t.visible() || t.lines().empty()) return;
        p.setPen(toQColor(t.fontColour()));
        int row = 0;
        for (const auto& line : t.lines()) {
            const QString s = toQt(line);
            if (t.customPosition())
                p.drawText(QPoint(bounds.left() + t.left(), bounds.top() + t.top() + fm.ascent() + row * lineH), s);
            else
                p.drawText(QRect(bounds.left(), static_cast<int>(y) + row * lineH, bounds.width(), lineH), Qt::AlignHCenter | Qt::AlignTop, s);
            ++row;
        }
    };
    drawText(chart.title(), titleTop);
    drawText(chart.subTitle(), subTitleTop);
    drawText(chart.subFoot(), subFootTop);

    double ly = legendTop + Gap;
    for (const auto& row : rows) {
        int rowW = 0;
        for (const auto* it : row) rowW += it->width;
        int x = static_cast<int>((left + right) / 2 - rowW / 2.0);
        for (const auto* it : row) {
            const Series& s = *it->series;
            const int cy = static_cast<int>(ly) + lineH / 2;
            if (s.kind() == SeriesKind::Line || s.kind() == SeriesKind::FastLine) {
                QPen lp = qtPen(s.linePen());
                lp.setWidth(std::max(2, s.linePen().width));
                p.setPen(lp);
                p.drawLine(x, cy, x + 12, cy);
            } else {
                p.fillRect(QRect(x, cy - 4, 12, 8), toQColor(s.colour()));
            }
            p.setPen(chart.legend().seriesColourText() ? toQColor(s.colour()) : QColor(Qt::black));
            p.drawText(QRect(x + 16, static_cast<int>(ly), it->width - 16, lineH), Qt::AlignLeft | Qt::AlignVCenter, it->text);
            x += it->width;
        }
        ly += lineH;
    }

    p.restore();
    return layout;
}

void ChartPainter::paintPoints(QImage& image, const Chart& chart, const ChartLayout& layout, int series, int from) {
    if (series < 0 || series >= chart.seriesCount()) return;
    const Series& s = chart.series(series);
    const AxisPlacement* xp = layout.find(&chart.horizontalAxisOf(s));
    const AxisPlacement* yp = layout.find(&chart.verticalAxisOf(s));
    if (!xp || !yp || s.kind() != SeriesKind::Point) return;
    const QRect clip = chart.clipPoints() ? layout.plot.adjusted(0, 0, 1, 1) : image.rect();
    writePoints(image, s, xp->map, yp->map, clip, std::max(0, from), s.count(), nullptr);
}

}  // namespace tiderune
