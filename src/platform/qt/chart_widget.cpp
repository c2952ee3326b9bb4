#include "platform/qt/chart_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace tiderune {

namespace {

int buttonCode(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return mouse::Left;
    case Qt::RightButton: return mouse::Right;
    case Qt::MiddleButton: return mouse::Middle;
    default: return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers m) {
    int s = 0;
    if (m & Qt::ShiftModifier) s |= shift::Shift;
    if (m & Qt::ControlModifier) s |= shift::Ctrl;
    if (m & Qt::AltModifier) s |= shift::Alt;
    return s;
}

}  // namespace

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {
    chart_.setObserver(this);
    setAttribute(Qt::WA_OpaquePaintEvent);
    timer_.setSingleShot(true);
    timer_.setInterval(50);
    connect(&timer_, &QTimer::timeout, this, [this] { update(); });
}

ChartWidget::~ChartWidget() { chart_.setObserver(nullptr); }

void ChartWidget::setGeometryTwips(int left, int top, int width, int height) {
    setGeometry(left / TwipsPerPixel, top / TwipsPerPixel, std::max(0, width / TwipsPerPixel),
                std::max(0, height / TwipsPerPixel));
}

void ChartWidget::chartChanged() {
    if (!timer_.isActive()) timer_.start();
}

const QImage& ChartWidget::ensureRendered() {
    // Drawn at the screen's pixel density, laid out in the widget's own coordinates.
    const qreal dpr = devicePixelRatioF();
    const QSize logical = size().expandedTo(QSize(1, 1));
    const QSize want = (QSizeF(logical) * dpr).toSize();
    if (incremental_ && dpr == 1) {
        if (chart_.dirty() || picture_.size() != want || layout_.axes.empty()) renderIncremental(logical);
        return picture_;
    }
    if (chart_.dirty() || picture_.size() != want || layout_.axes.empty()) {
        if (picture_.size() != want) {
            picture_ = QImage(want, QImage::Format_ARGB32_Premultiplied);
            picture_.setDevicePixelRatio(dpr);
        }
        QPainter p(&picture_);
        layout_ = painter_.paint(p, chart_, QRect(QPoint(0, 0), logical));
        chart_.markPainted();
    }
    return picture_;
}

ChartWidget::Needs ChartWidget::needs() {
    const QSize at = size().expandedTo(QSize(480, 360));
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&scratch);
    auto layOut = [&](QSize bounds) { return painter_.paint(p, chart_, QRect(QPoint(0, 0), bounds), PaintPart::Layout); };
    const ChartLayout l = layOut(at);
    const QFontMetrics fm{QFont()};
    QSize label(fm.horizontalAdvance(QStringLiteral("00:00")), fm.height());
    for (const AxisPlacement& a : l.axes)
        if (a.shown && a.axis->horizontal())
            for (const QRect& r : a.labels) label = label.expandedTo(r.size());
    if (!chart_.squarePlot()) return {at - l.plot.size(), label};
    // A square plot gives its spare pixels on the longer side to the room beside it: each way
    // is measured where that way is the shorter.
    const ChartLayout wide = layOut({at.width() * 10, at.height()});
    const ChartLayout tall = layOut({at.width(), at.height() * 10});
    return {{at.width() - tall.plot.width(), at.height() - wide.plot.height()}, label};
}

void ChartWidget::setIncrementalPoints(bool on) {
    incremental_ = on;
    under_ = QImage();
    underKey_.clear();
    chart_.changed();
}

std::vector<double> ChartWidget::underSignature(const ChartLayout& layout) const {
    std::vector<double> k = {double(layout.bounds.width()), double(layout.bounds.height()),
                             double(layout.plot.left()), double(layout.plot.top()),
                             double(layout.plot.width()), double(layout.plot.height()),
                             double(chart_.clipPoints()), double(chart_.seriesCount())};
    for (const AxisPlacement& ap : layout.axes) {
        k.insert(k.end(), {ap.map.min(), ap.map.max(), ap.map.toPixel(ap.map.min()), ap.map.toPixel(ap.map.max()),
                           double(ap.shown), double(ap.axis->labelsVisible())});
    }
    for (int i = 0; i < chart_.toolCount(); ++i) {
        const Tool& t = chart_.tool(i);
        if (t.kind() != ToolKind::ColorBand) continue;
        k.insert(k.end(), {double(t.active()), t.startValue(), t.endValue(), double(t.colour()), double(t.transparency())});
    }
    for (int i = 0; i < chart_.seriesCount(); ++i) {
        const Series& s = chart_.series(i);
        k.insert(k.end(), {double(s.kind()), double(s.colour()), double(s.pointerStyle()), double(s.pointerSize())});
    }
    return k;
}

void ChartWidget::renderIncremental(const QSize& logical) {
    const QRect bounds(QPoint(0, 0), logical);
    if (under_.size() != logical) {
        under_ = QImage(logical, QImage::Format_ARGB32_Premultiplied);
        underKey_.clear();
    }
    ChartLayout layout;
    {
        QPainter p(&under_);
        layout = painter_.paint(p, chart_, bounds, PaintPart::Layout);
    }
    std::vector<double> key = underSignature(layout);
    bool whole = key != underKey_ || drawn_.size() != static_cast<std::size_t>(chart_.seriesCount());
    for (std::size_t i = 0; !whole && i < drawn_.size(); ++i) {
        const Series& s = chart_.series(static_cast<int>(i));
        whole = s.rewrites() != drawn_[i].rewrites || s.count() < drawn_[i].count;
    }
    if (whole) {
        QPainter p(&under_);
        painter_.paint(p, chart_, bounds, PaintPart::Under);
    } else {
        for (std::size_t i = 0; i < drawn_.size(); ++i)
            painter_.paintPoints(under_, chart_, layout, static_cast<int>(i), drawn_[i].count);
    }
    underKey_ = std::move(key);
    drawn_.clear();
    for (int i = 0; i < chart_.seriesCount(); ++i) drawn_.push_back({chart_.series(i).count(), chart_.series(i).rewrites()});

    picture_ = under_;  // the painter below takes its own copy
    QPainter p(&picture_);
    layout_ = painter_.paint(p, chart_, bounds, PaintPart::Over);
    chart_.markPainted();
}

QImage ChartWidget::renderImage() { return ensureRendered(); }

void ChartWidget::paintEvent(QPaintEvent*) {
    const QImage& img = ensureRendered();
    QPainter p(this);
    p.drawImage(0, 0, img);
    if (drag_ == Drag::Zoom) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(dragStart_, dragNow_).normalized());
    }
}

void ChartWidget::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    ensureRendered();
    for (const auto& ap : layout_.axes) {
        if (!ap.shown || ap.axis->kind() == AxisKind::Custom || !ap.hitArea.contains(pos)) continue;
        AxisCode code = AxisCode::Left;
        switch (ap.axis->kind()) {
        case AxisKind::Top: code = AxisCode::Top; break;
        case AxisKind::Right: code = AxisCode::Right; break;
        case AxisKind::Bottom: code = AxisCode::Bottom; break;
        default: break;
        }
        chart_.raiseAxisClick({chart_.index(), code, buttonCode(e->button()), shiftCode(e->modifiers()), pos.x(), pos.y()});
        return;
    }
    if (!layout_.plot.contains(pos)) return;
    dragStart_ = dragNow_ = pos;
    if (e->button() == Qt::LeftButton) {
        drag_ = Drag::Zoom;
    } else if (e->button() == Qt::RightButton) {
        drag_ = Drag::Scroll;
        scrollFrom_.clear();
        for (const auto& ap : layout_.axes)
            if (ap.shown) scrollFrom_.push_back({ap.axis, Range{ap.map.min(), ap.map.max()}});
    }
}

void ChartWidget::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (drag_ == Drag::Zoom) {
        dragNow_ = pos;
        update();
    } else if (drag_ == Drag::Scroll && pos != dragNow_) {
        dragNow_ = pos;
        std::vector<AxisSpan> spans;
        for (const auto& [axis, from] : scrollFrom_) {
            const AxisPlacement* ap = layout_.find(axis);
            if (!ap) continue;
            const double a = axis->horizontal() ? dragStart_.x() : dragStart_.y();
            const double b = axis->horizontal() ? pos.x() : pos.y();
            const double delta = ap->map.toValue(a) - ap->map.toValue(b);
            spans.push_back({axis, from.min + delta, from.max + delta});
        }
        chart_.scroll(spans);
    }
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (drag_ == Drag::Zoom) {
        drag_ = Drag::None;
        const int dx = pos.x() - dragStart_.x();
        const int dy = pos.y() - dragStart_.y();
        if (dx < -3) {
            chart_.undoZoom();
        } else if (dx > 3 && dy > 3) {
            std::vector<AxisSpan> spans;
            for (const auto& ap : layout_.axes) {
                if (!ap.shown) continue;
                const double a = ap.axis->horizontal() ? dragStart_.x() : dragStart_.y();
                const double b = ap.axis->horizontal() ? pos.x() : pos.y();
                double v0 = ap.map.toValue(a), v1 = ap.map.toValue(b);
                if (v0 > v1) std::swap(v0, v1);
                spans.push_back({ap.axis, v0, v1});
            }
            chart_.zoom(spans);
        }
        update();
    } else if (drag_ == Drag::Scroll) {
        drag_ = Drag::None;
    }
}

}  // namespace tiderune
