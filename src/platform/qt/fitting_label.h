#pragma once
// A label that keeps its text inside its own width. The windows place their labels at fixed
// design positions and widths; a value longer than the design expected (a deviation of
// hundreds of metres, a date after a time) is drawn in a smaller type instead of being cut or
// running under its neighbour.
#include <QLabel>

namespace tiderune {

class FittingLabel : public QLabel {
public:
    using QLabel::QLabel;

    // The font the text is drawn in: the label's own when the text fits, else the largest
    // smaller size that fits, never below a readable floor.
    QFont fittedFont() const;
    // Where the text is drawn, in the label's coordinates, in fittedFont().
    QRect textRect() const;

protected:
    void paintEvent(QPaintEvent* e) override;
};

}  // namespace tiderune
