#pragma once
// The chart control on screen: owns a Chart, repaints it at most once per tick of a timer
// however fast points arrive, and turns the mouse into the chart's events: a press on an
// axis is an axis click; dragging with the left button down and to the right zooms into the
// dragged rectangle, dragging it to the left undoes the zoom; dragging with the right button
// scrolls.
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include "platform/chart_model.h"
#include "platform/qt/chart_painter.h"

namespace tiderune {

class ChartWidget : public QWidget, private ChartObserver {
    Q_OBJECT
public:
    explicit ChartWidget(QWidget* parent = nullptr);
    ~ChartWidget() override;

    Chart& chart() { return chart_; }
    const Chart& chart() const { return chart_; }

    // Placement in twips (15 to the pixel), as the windows lay out their charts.
    void setGeometryTwips(int left, int top, int width, int height);
    int leftTwips() const { return x() * TwipsPerPixel; }
    int topTwips() const { return y() * TwipsPerPixel; }
    int widthTwips() const { return width() * TwipsPerPixel; }
    int heightTwips() const { return height() * TwipsPerPixel; }

    // Point series drawn onto a kept image, for charts that keep every point of a run (the
    // scatter plot): new points are only added to it, and it is drawn whole again only
    // when the size, the layout (axis ranges, titles), a colour band or the points already
    // drawn change. Off by default.
    void setIncrementalPoints(bool on);
    bool incrementalPoints() const { return incremental_; }

    // Shortest time between two repaints caused by new data.
    void setRepaintInterval(int ms) { timer_.setInterval(ms); }
    int repaintInterval() const { return timer_.interval(); }

    // The chart as it stands, drawn now if anything changed since the last drawing (tests,
    // examples, printing). Exposing or moving the window reuses the last drawing.
    QImage renderImage();
    const ChartLayout& layout() const { return layout_; }

    // What the chart needs beside its plot: the room outside the plot (titles, legend, the
    // axes' labels and titles), and the width of the bottom axis's widest label with the
    // height of a line of labels. Laid out at the chart's size, or at one that gives its
    // labels their room where the chart has little.
    struct Needs {
        QSize outsidePlot;
        QSize label;
    };
    Needs needs();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    void chartChanged() override;
    const QImage& ensureRendered();

    void renderIncremental(const QSize& logical);
    std::vector<double> underSignature(const ChartLayout& layout) const;

    Chart chart_;
    ChartPainter painter_;
    ChartLayout layout_;
    QImage picture_;
    bool incremental_ = false;
    QImage under_;                     // ground, grid, bands and every point drawn so far
    std::vector<double> underKey_;     // what under_ was drawn for
    struct Drawn {
        int count;
        std::uint64_t rewrites;
    };
    std::vector<Drawn> drawn_;         // per series: points in under_
    QTimer timer_;
    enum class Drag { None, Zoom, Scroll } drag_ = Drag::None;
    QPoint dragStart_;
    QPoint dragNow_;
    std::vector<std::pair<Axis*, Range>> scrollFrom_;
};

}  // namespace tiderune
