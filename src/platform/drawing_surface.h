#pragma once
// A picture to draw on in the caller's own coordinates: lines, circles, points and text at
// the pen position, with a pen colour, width and style. Drawings made while the background
// is being kept survive clear(); clear() returns to that background.
#include <string>

#include "platform/chart_types.h"

namespace tiderune {

class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    // The user coordinate system: x of the left and right edges, y of the top and bottom
    // edges (y may grow upwards).
    virtual void setScale(double left, double top, double right, double bottom) = 0;

    // While on, drawings become part of the background; clear() then wipes the background
    // too. While off, clear() wipes back to the background.
    virtual void setKeepAsBackground(bool on) = 0;
    virtual bool keepAsBackground() const = 0;
    virtual void clear() = 0;

    virtual void setForeColour(Colour c) = 0;
    virtual Colour foreColour() const = 0;
    virtual void setDrawWidth(int pixels) = 0;
    virtual int drawWidth() const = 0;
    virtual void setDrawStyle(PenStyle s) = 0;
    virtual PenStyle drawStyle() const = 0;

    // The pen position. A line leaves it at its end, a circle or a point at its centre;
    // text is printed with its top left corner at the pen, which then moves to the start
    // of the next text line (same x, one line lower).
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;
    virtual double currentX() const = 0;
    virtual double currentY() const = 0;

    virtual void line(double x1, double y1, double x2, double y2) = 0;
    virtual void circle(double cx, double cy, double radius) = 0;
    // A dot of the pen's width.
    virtual void point(double x, double y) = 0;
    // The program's 8-bit text at the pen position.
    virtual void print(const std::string& text) = 0;
};

}  // namespace tiderune
