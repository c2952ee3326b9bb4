#include "platform/qt/fitting_label.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace tiderune {

namespace {
// Smaller than this a value is no longer read at a glance.
constexpr double SmallestPointSize = 5.0;

double textWidth(const QFont& f, const QString& text) { return QFontMetricsF(f).horizontalAdvance(text); }
}  // namespace

QFont FittingLabel::fittedFont() const {
    QFont f = font();
    const double room = contentsRect().width();
    if (text().isEmpty() || wordWrap() || textWidth(f, text()) <= room) return f;
    double size = f.pointSizeF() > 0 ? f.pointSizeF() : QFontInfo(f).pointSizeF();
    while (size > SmallestPointSize) {
        size = std::max(SmallestPointSize, size - 0.5);
        f.setPointSizeF(size);
        if (textWidth(f, text()) <= room) break;
    }
    return f;
}

QRect FittingLabel::textRect() const {
    return style()->itemTextRect(QFontMetrics(fittedFont()), contentsRect(),
                                 QStyle::visualAlignment(layoutDirection(), alignment()), isEnabled(), text());
}

void FittingLabel::paintEvent(QPaintEvent* e) {
    const QFont f = fittedFont();
    if (f == font()) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter p(this);
    p.setFont(f);
    style()->drawItemText(&p, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), text(), foregroundRole());
}

}  // namespace tiderune
