#include "platform/qt/fitting_label.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace tiderune {

namespace {
double textWidth(const QFont& f, const QString& text) { return QFontMetricsF(f).horizontalAdvance(text); }
double pointSize(const QFont& f) { return f.pointSizeF() > 0 ? f.pointSizeF() : QFontInfo(f).pointSizeF(); }
}  // namespace

QFont FittingLabel::fittedFont() const {
    QFont f = font();
    const double room = contentsRect().width();
    if (text().isEmpty() || wordWrap() || textWidth(f, text()) <= room) return f;
    double size = pointSize(f);
    const double floor = std::min(size, ReadablePointSize);
    while (size > floor) {
        size = std::max(floor, size - 0.5);
        f.setPointSizeF(size);
        if (textWidth(f, text()) <= room) break;
    }
    return f;
}

QString FittingLabel::shownText() const {
    const QFont f = fittedFont();
    if (text().isEmpty() || wordWrap() || textWidth(f, text()) <= contentsRect().width()) return text();
    return QFontMetrics(f).elidedText(text(), Qt::ElideRight, contentsRect().width());
}

QRect FittingLabel::textRect() const {
    return style()->itemTextRect(QFontMetrics(fittedFont()), contentsRect(),
                                 QStyle::visualAlignment(layoutDirection(), alignment()), isEnabled(), shownText());
}

void FittingLabel::paintEvent(QPaintEvent* e) {
    const QFont f = fittedFont();
    const QString shown = shownText();
    if (f == font() && shown == text()) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter p(this);
    p.setFont(f);
    style()->drawItemText(&p, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shown, foregroundRole());
}

}  // namespace tiderune
