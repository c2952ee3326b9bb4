// The drawing surface: user coordinates, pen, the pen position after each drawing, and
// the kept background that a clear returns to.
#include <QImage>
#include <gtest/gtest.h>

#include <vector>

#include "platform/qt/chart_painter.h"
#include "platform/qt/drawing_surface_qt.h"

using namespace tiderune;

namespace {

int inkOf(const QImage& img, QRect r, QColor c) {
    int n = 0;
    r = r.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (std::abs(qRed(p) - c.red()) < 60 && std::abs(qGreen(p) - c.green()) < 60 && std::abs(qBlue(p) - c.blue()) < 60) ++n;
        }
    return n;
}

// The polar layout: x -90 .. 90 from left to right, y 90 .. -90 from top to bottom.
struct Polar {
    ImageDrawingSurface s{QSize(181, 181)};
    Polar() { s.setScale(-90, 90, 90, -90); }
};

TEST(DrawingSurface, UserCoordinatesPutTheOriginInTheCentreWithYUp) {
    Polar p;
    EXPECT_EQ(p.s.toPixel(0, 0), QPointF(90, 90));
    EXPECT_EQ(p.s.toPixel(-90, 90), QPointF(0, 0));
    EXPECT_EQ(p.s.toPixel(90, -90), QPointF(180, 180)) << "the last pixel";
    p.s.setForeColour(colours::Blue);
    p.s.line(-90, 0, 90, 0);
    p.s.setForeColour(colours::Red);
    p.s.point(45, 45);
    const QImage& img = p.s.image();
    EXPECT_GT(inkOf(img, QRect(0, 89, 181, 3), Qt::blue), 150);
    const QPointF red = p.s.toPixel(45, 45);
    EXPECT_GT(inkOf(img, QRect(red.toPoint() - QPoint(1, 1), QSize(3, 3)), Qt::red), 0);
    EXPECT_LT(red.y(), 90) << "positive y is up";
}

TEST(DrawingSurface, PenPositionAfterEachDrawing) {
    Polar p;
    p.s.line(-10, -20, 30, 40);
    EXPECT_EQ(p.s.currentX(), 30);
    EXPECT_EQ(p.s.currentY(), 40);
    p.s.circle(0, 0, 30);
    EXPECT_EQ(p.s.currentX(), 0);
    EXPECT_EQ(p.s.currentY(), 0);
    p.s.print(" 90\xB0");
    EXPECT_EQ(p.s.currentX(), 0) << "back to where the text began";
    EXPECT_LT(p.s.currentY(), 0) << "one line down, which is negative y here";
    p.s.setCurrentY(-30);
    p.s.print(" 60\xB0");
    EXPECT_EQ(p.s.currentX(), 0);
    const QImage& img = p.s.image();
    const QPointF at = p.s.toPixel(0, -30);
    EXPECT_GT(inkOf(img, QRect(at.toPoint(), QSize(30, 14)), Qt::black), 5) << "text below and right of the pen";
}

TEST(DrawingSurface, ClearReturnsToTheKeptBackground) {
    Polar p;
    p.s.setKeepAsBackground(true);
    p.s.setForeColour(colours::Blue);
    p.s.circle(0, 0, 90);
    p.s.setKeepAsBackground(false);
    p.s.setForeColour(colours::Black);
    p.s.setDrawWidth(5);
    p.s.point(0, 45);
    const QPointF dot = p.s.toPixel(0, 45);
    const QRect dotArea(dot.toPoint() - QPoint(2, 2), QSize(5, 5));
    const QRect ring(0, 85, 4, 10);  // the left end of the horizon circle
    EXPECT_GT(inkOf(p.s.image(), dotArea, Qt::black), 10);
    EXPECT_GT(inkOf(p.s.image(), ring, Qt::blue), 0);
    // The circle is whole: its right and bottom ends are drawn as its left and top ones.
    const std::vector<QRect> ends{{0, 0, 1, 181}, {180, 0, 1, 181}, {0, 0, 181, 1}, {0, 180, 181, 1}};
    std::vector<int> ink;
    for (const QRect& r : ends) ink.push_back(inkOf(p.s.image(), r, Qt::blue));
    EXPECT_EQ(ink, std::vector<int>(4, ink[0]));

    p.s.clear();
    EXPECT_EQ(inkOf(p.s.image(), dotArea, Qt::black), 0) << "the point is gone";
    EXPECT_GT(inkOf(p.s.image(), ring, Qt::blue), 0) << "the background stays";

    p.s.setKeepAsBackground(true);
    p.s.clear();
    EXPECT_EQ(inkOf(p.s.image(), ring, Qt::blue), 0) << "clearing while keeping wipes the background";
}

TEST(DrawingSurface, DashedPenLeavesGapsAndWidthWidens) {
    Polar p;
    p.s.setForeColour(colours::Red);
    p.s.setDrawStyle(PenStyle::Dash);
    p.s.line(-90, 30, 90, 30);
    p.s.setDrawStyle(PenStyle::Solid);
    p.s.setDrawWidth(5);
    p.s.line(-90, -30, 90, -30);
    const QImage& img = p.s.image();
    const int dashedRow = static_cast<int>(p.s.toPixel(0, 30).y());
    const int thickRow = static_cast<int>(p.s.toPixel(0, -30).y());
    int dashed = 0;
    for (int x = 0; x < 181; ++x)
        if (inkOf(img, QRect(x, dashedRow - 1, 1, 3), Qt::red)) ++dashed;
    EXPECT_GT(dashed, 60);
    EXPECT_LT(dashed, 170);
    EXPECT_GE(inkOf(img, QRect(90, thickRow - 3, 1, 7), Qt::red), 4);
}

TEST(DrawingSurface, ResizingRedrawsAtTheNewSize) {
    Polar p;
    p.s.setKeepAsBackground(true);
    p.s.setForeColour(colours::Blue);
    p.s.line(-90, 0, 90, 0);
    p.s.resize(QSize(400, 100));
    const QImage& img = p.s.image();
    EXPECT_EQ(img.size(), QSize(400, 100));
    EXPECT_GT(inkOf(img, QRect(0, 48, 400, 4), Qt::blue), 350);
}

}  // namespace
