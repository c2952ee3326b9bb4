#include "platform/qt/drawing_surface_qt.h"

#include <QFontMetrics>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "platform/qt/chart_painter.h"
#include "platform/qt/qt_edge.h"

namespace tiderune {

ImageDrawingSurface::ImageDrawingSurface(QSize size)
    : size_(size.expandedTo(QSize(1, 1))), lineHeight_(QFontMetrics(font_).height()) {}

void ImageDrawingSurface::setScale(double left, double top, double right, double bottom) {
    if (left == right || top == bottom || !std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right) ||
        !std::isfinite(bottom))
        throwChartValue("Invalid scale");
    scale_ = {left, top, right, bottom};
}

// The scale's edges fall on the first and the last pixel: a figure drawn out to the edge (the
// horizon circle of a sky plot) is drawn whole on all four sides, not cut off at the right and
// the bottom.
double ImageDrawingSurface::spanX() const { return std::max(1, size_.width() - 1); }
double ImageDrawingSurface::spanY() const { return std::max(1, size_.height() - 1); }

QPointF ImageDrawingSurface::map(const Scale& s, double x, double y) const {
    const double px = (x - s.left) / (s.right - s.left) * spanX();
    const double py = (y - s.top) / (s.bottom - s.top) * spanY();
    return {px, py};
}

QPointF ImageDrawingSurface::toPixel(double x, double y) const { return map(scale_, x, y); }

void ImageDrawingSurface::add(Op op) {
    // Coordinates that are not numbers draw nothing.
    if (!std::isfinite(op.a) || !std::isfinite(op.b) || !std::isfinite(op.c) || !std::isfinite(op.d)) return;
    op.colour = colour_;
    op.width = width_;
    op.style = style_;
    op.scale = scale_;
    if (keep_) {
        background_.push_back(std::move(op));
        backgroundValid_ = false;
    } else {
        overlay_.push_back(std::move(op));
    }
    imageValid_ = false;
    if (changed_) changed_();
}

void ImageDrawingSurface::clear() {
    if (keep_) {
        background_.clear();
        backgroundValid_ = false;
    }
    overlay_.clear();
    imageValid_ = false;
    cx_ = cy_ = 0;
    if (changed_) changed_();
}

void ImageDrawingSurface::line(double x1, double y1, double x2, double y2) {
    add({Op::Line, x1, y1, x2, y2, {}, 0, 0, PenStyle::Solid, {}});
    cx_ = x2;
    cy_ = y2;
}

void ImageDrawingSurface::circle(double cx, double cy, double radius) {
    add({Op::Circle, cx, cy, radius, 0, {}, 0, 0, PenStyle::Solid, {}});
    cx_ = cx;
    cy_ = cy;
}

void ImageDrawingSurface::point(double x, double y) {
    add({Op::Point, x, y, 0, 0, {}, 0, 0, PenStyle::Solid, {}});
    cx_ = x;
    cy_ = y;
}

void ImageDrawingSurface::print(const std::string& text) {
    add({Op::Text, cx_, cy_, 0, 0, text, 0, 0, PenStyle::Solid, {}});
    // The pen goes one text line down, back to where the text began.
    const double lineUser = lineHeight_ * (scale_.bottom - scale_.top) / spanY();
    cy_ += lineUser;
}

void ImageDrawingSurface::resize(QSize size) {
    size = size.expandedTo(QSize(1, 1));
    if (size == size_) return;
    size_ = size;
    backgroundValid_ = imageValid_ = false;
    if (changed_) changed_();
}

void ImageDrawingSurface::setFont(const QFont& f) {
    font_ = f;
    lineHeight_ = QFontMetrics(font_).height();
    backgroundValid_ = imageValid_ = false;
}

void ImageDrawingSurface::setBackColour(Colour c) {
    back_ = c;
    backgroundValid_ = imageValid_ = false;
    if (changed_) changed_();
}

void ImageDrawingSurface::render(QImage& img, const std::vector<Op>& ops) const {
    QPainter p(&img);
    // Crisp pixels, as a picture box draws them.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(font_);
    const QFontMetrics fm(font_);
    for (const Op& op : ops) {
        const QColor c = toQColor(op.colour);
        QPen pen(c, op.width);
        pen.setStyle(op.style == PenStyle::Dash ? Qt::DashLine : op.style == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        switch (op.type) {
        case Op::Line: p.drawLine(map(op.scale, op.a, op.b), map(op.scale, op.c, op.d)); break;
        case Op::Circle: {
            const double r = std::fabs(op.c / (op.scale.right - op.scale.left) * spanX());
            p.drawEllipse(map(op.scale, op.a, op.b), r, r);
            break;
        }
        case Op::Point: {
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            const double r = op.width / 2.0;
            const QPointF at = map(op.scale, op.a, op.b);
            if (op.width <= 1) p.fillRect(QRect(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())), 1, 1), c);
            else p.drawEllipse(at, r, r);
            break;
        }
        case Op::Text: {
            const QPointF at = map(op.scale, op.a, op.b);
            p.drawText(QPointF(at.x(), at.y() + fm.ascent()), toQt(op.text));
            break;
        }
        }
    }
}

const QImage& ImageDrawingSurface::image() {
    if (!backgroundValid_) {
        backgroundImage_ = QImage(size_, QImage::Format_ARGB32_Premultiplied);
        backgroundImage_.fill(toQColor(back_));
        render(backgroundImage_, background_);
        backgroundValid_ = true;
        imageValid_ = false;
    }
    if (!imageValid_) {
        image_ = backgroundImage_.copy();
        render(image_, overlay_);
        imageValid_ = true;
    }
    return image_;
}

DrawingSurfaceWidget::DrawingSurfaceWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    surface_.setFont(font());
    surface_.resize(size());
    surface_.setChangedCallback([this] { update(); });
}

void DrawingSurfaceWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, surface_.image());
}

void DrawingSurfaceWidget::resizeEvent(QResizeEvent* e) {
    surface_.resize(e->size());
    QWidget::resizeEvent(e);
}

}  // namespace tiderune
