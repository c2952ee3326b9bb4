#pragma once
// Draws a chart with QPainter: titles, legend, bands, series reduced to pixel columns,
// colour lines, axes. Returns where everything went, which the widget needs to turn mouse
// positions back into axis values and axis clicks.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>
#include <vector>

#include "platform/chart_model.h"
#include "platform/chart_scale.h"
#include "platform/qt/qt_edge.h"

namespace tiderune {

struct AxisPlacement {
    Axis* axis = nullptr;
    bool shown = false;
    AxisMap map;       // value to pixel along the axis
    int line = 0;      // pixel x (vertical axes) or y (horizontal axes) of the axis line
    QRect hitArea;     // where a click counts as a click on this axis
    QRect title;       // where the axis title goes (upright, before any turn); empty when left out
    std::vector<QRect> labels;  // where the tick labels go, in the order of their values
    std::vector<QString> labelTexts;  // what they read
};

struct ChartLayout {
    QRect bounds;
    QRect plot;
    std::vector<AxisPlacement> axes;  // in Chart::allAxes() order
    const AxisPlacement* find(const Axis* a) const;
};

// What one paint draws: everything; nothing (the layout alone); the part under the point
// series and the point series themselves (white ground, grid, bands, points); or the rest
// over them (other series, colour lines, frame, axes, titles, legend). Under then Over
// draws what All draws.
enum class PaintPart { All, Layout, Under, Over };

class ChartPainter {
public:
    explicit ChartPainter(QFont font = QFont());
    ChartLayout paint(QPainter& p, Chart& chart, const QRect& bounds, PaintPart part = PaintPart::All);
    // Points from `from` on of point series `series`, added onto an image that holds the
    // chart's Under part as `layout` placed it (a 32-bit image at one pixel per unit).
    void paintPoints(QImage& image, const Chart& chart, const ChartLayout& layout, int series, int from);

    // Widths of texts met before, in the font of the metrics asked with.
    class TextWidths {
    public:
        int of(const QFontMetrics& fm, const QString& text);

    private:
        QHash<QString, int> known_;
        int height_ = -1;
    };

private:
    QFont font_;
    TextWidths widths_;
};

}  // namespace tiderune
