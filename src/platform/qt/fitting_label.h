#pragma once
// A label that keeps its text inside its own width. The windows place their labels at fixed
// design positions and widths; a value longer than the design expected is drawn in a smaller
// type instead of being cut or running under its neighbour, but never in a type too small to
// read: a text that does not fit even then is shortened with an ellipsis.
#include <QLabel>

namespace tiderune {

class FittingLabel : public QLabel {
public:
    using QLabel::QLabel;

    // The smallest type a text is shrunk to (a label whose own type is smaller keeps it).
    static constexpr double ReadablePointSize = 8.0;

    // The font the text is drawn in: the label's own when the text fits, else the largest
    // smaller size in half points that fits, never below ReadablePointSize.
    QFont fittedFont() const;
    // The text as drawn: the whole text, or, when it does not fit even in the smallest
    // readable type, its start and an ellipsis.
    QString shownText() const;
    // Where the text is drawn, in the label's coordinates, in fittedFont().
    QRect textRect() const;

protected:
    void paintEvent(QPaintEvent* e) override;
};

}  // namespace tiderune
