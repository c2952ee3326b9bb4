#pragma once
// The drawing surface over QImage and QPainter. What is drawn is kept as a list of
// operations in user coordinates and rendered into an image of the current size, so the
// picture stays sharp when its window is resized; the background part is rendered once and
// reused until it changes.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/drawing_surface.h"

namespace tiderune {

class ImageDrawingSurface : public DrawingSurface {
public:
    explicit ImageDrawingSurface(QSize size = QSize(200, 200));

    void setScale(double left, double top, double right, double bottom) override;
    void setKeepAsBackground(bool on) override { keep_ = on; }
    bool keepAsBackground() const override { return keep_; }
    void clear() override;
    void setForeColour(Colour c) override { colour_ = c; }
    Colour foreColour() const override { return colour_; }
    void setDrawWidth(int pixels) override { width_ = pixels < 1 ? 1 : pixels; }
    int drawWidth() const override { return width_; }
    void setDrawStyle(PenStyle s) override { style_ = s; }
    PenStyle drawStyle() const override { return style_; }
    void setCurrentX(double x) override { cx_ = x; }
    void setCurrentY(double y) override { cy_ = y; }
    double currentX() const override { return cx_; }
    double currentY() const override { return cy_; }
    void line(double x1, double y1, double x2, double y2) override;
    void circle(double cx, double cy, double radius) override;
    void point(double x, double y) override;
    void print(const std::string& text) override;

    void resize(QSize size);
    QSize size() const { return size_; }
    void setFont(const QFont& f);
    void setBackColour(Colour c);
    // The picture as it stands: background plus what was drawn since the last clear.
    const QImage& image();
    // Called after every change, e.g. to schedule a repaint.
    void setChangedCallback(std::function<void()> f) { changed_ = std::move(f); }
    // Pixel position of a point in user coordinates.
    QPointF toPixel(double x, double y) const;

private:
    struct Scale {
        double left = 0, top = 0, right = 1, bottom = 1;
    };
    struct Op {
        enum Type { Line, Circle, Point, Text } type;
        double a, b, c, d;
        std::string text;  // the program's 8-bit text, made a QString only when rendered
        Colour colour;
        int width;
        PenStyle style;
        Scale scale;
    };
    void add(Op op);
    void render(QImage& img, const std::vector<Op>& ops) const;
    QPointF map(const Scale& s, double x, double y) const;
    double spanX() const;  // pixels from the scale's left edge to its right
    double spanY() const;

    QSize size_;
    QFont font_;
    // The font's line height in pixels, for moving the pen after text; a sky plot prints
    // its satellites' numbers at every GSV group.
    int lineHeight_ = 0;
    Colour back_ = 0xFFFFFF;
    Scale scale_;
    bool keep_ = false;
    Colour colour_ = 0;
    int width_ = 1;
    PenStyle style_ = PenStyle::Solid;
    double cx_ = 0, cy_ = 0;
    std::vector<Op> background_;
    std::vector<Op> overlay_;
    QImage backgroundImage_;
    QImage image_;
    bool backgroundValid_ = false;
    bool imageValid_ = false;
    std::function<void()> changed_;
};

// A widget that shows a drawing surface and keeps it at the widget's size.
class DrawingSurfaceWidget : public QWidget {
    Q_OBJECT
public:
    explicit DrawingSurfaceWidget(QWidget* parent = nullptr);
    ImageDrawingSurface& surface() { return surface_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    ImageDrawingSurface surface_;
};

}  // namespace tiderune
