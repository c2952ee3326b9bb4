#include "frame/window_icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "platform/qt/qt_edge.h"

namespace tiderune {

IconPicture iconPictureOf(WindowKind kind) {
    switch (kind) {
    case WindowKind::Numerics: return IconPicture::Numerics;
    case WindowKind::Statistics:
    case WindowKind::StatisticsSNR: return IconPicture::Statistics;
    case WindowKind::Scatter: return IconPicture::Scatter;
    case WindowKind::Skyplot: return IconPicture::Skyplot;
    case WindowKind::ARPATargets: return IconPicture::ARPAList;
    case WindowKind::AISTargets: return IconPicture::AISList;
    case WindowKind::NMEA: return IconPicture::Monitor;
    default: return IconPicture::TimeSeries;  // the time series of every type and the SNR time series
    }
}

namespace {

constexpr int Size = 32;

// The window's glyph on a light tile, drawn in a 32 by 32 box; the badge later covers the
// lower right corner, so the glyphs keep their telling part in the upper left.
void drawGlyph(QPainter& p, IconPicture picture) {
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.setBrush(QColor(245, 245, 240));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 4, 4);
    const QColor ink(30, 30, 30);
    const QColor blue(20, 80, 200);
    p.setPen(QPen(ink, 2));
    p.setBrush(Qt::NoBrush);
    switch (picture) {
    case IconPicture::TimeSeries:
        p.drawPolyline(QPolygonF({QPointF(5, 5), QPointF(5, 26), QPointF(27, 26)}));
        p.setPen(QPen(blue, 2.2));
        p.drawPolyline(QPolygonF({QPointF(7, 20), QPointF(11, 12), QPointF(15, 17), QPointF(19, 7), QPointF(23, 14),
                                  QPointF(27, 10)}));
        break;
    case IconPicture::Skyplot:
        p.setPen(QPen(ink, 1.5));
        p.drawEllipse(QPointF(16, 16), 13, 13);
        p.drawEllipse(QPointF(16, 16), 7, 7);
        p.drawLine(QPointF(16, 3), QPointF(16, 29));
        p.drawLine(QPointF(3, 16), QPointF(29, 16));
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        for (QPointF at : {QPointF(10, 9), QPointF(21, 11), QPointF(8, 20)}) p.drawEllipse(at, 2.5, 2.5);
        break;
    case IconPicture::Scatter:
        p.setPen(QPen(ink, 1.2));
        p.drawLine(QPointF(16, 4), QPointF(16, 28));
        p.drawLine(QPointF(4, 16), QPointF(28, 16));
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        for (QPointF at : {QPointF(12, 11), QPointF(15, 13), QPointF(18, 10), QPointF(13, 18), QPointF(19, 15),
                           QPointF(10, 15), QPointF(17, 19)})
            p.drawEllipse(at, 1.8, 1.8);
        break;
    case IconPicture::AISList:
    case IconPicture::ARPAList:
        p.setPen(QPen(ink, 1.2));
        for (int y = 6; y <= 26; y += 5) p.drawLine(QPointF(4, y), QPointF(28, y));
        p.drawLine(QPointF(12, 6), QPointF(12, 26));
        if (picture == IconPicture::AISList) {  // a vessel's outline in the first column
            p.setPen(Qt::NoPen);
            p.setBrush(blue);
            p.drawPolygon(QPolygonF({QPointF(8, 7.5), QPointF(10.5, 12.5), QPointF(5.5, 12.5)}));
        } else {  // a radar echo
            p.setPen(QPen(QColor(0, 140, 60), 1.5));
            p.drawEllipse(QPointF(8, 10), 3, 3);
            p.drawLine(QPointF(8, 10), QPointF(10.5, 7.5));
        }
        break;
    case IconPicture::AISDetail: {
        QPainterPath hull;  // a vessel seen from above, bow up
        hull.moveTo(16, 3);
        hull.cubicTo(23, 9, 23, 14, 22, 28);
        hull.lineTo(10, 28);
        hull.cubicTo(9, 14, 9, 9, 16, 3);
        p.setBrush(QColor(20, 80, 200, 60));
        p.setPen(QPen(blue, 2));
        p.drawPath(hull);
        break;
    }
    case IconPicture::Numerics:
        p.setPen(QPen(ink, 2));
        for (int row = 0; row < 3; ++row) {
            const double y = 8 + row * 7;
            p.drawLine(QPointF(5, y), QPointF(11, y));
            p.drawLine(QPointF(15, y), QPointF(27 - row * 3, y));
        }
        break;
    case IconPicture::Statistics:
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        for (double x = 5; double h : {8.0, 16.0, 22.0, 13.0, 6.0}) {
            p.drawRect(QRectF(x, 27 - h, 3.6, h));
            x += 4.6;
        }
        break;
    case IconPicture::Monitor:
        p.setBrush(QColor(20, 20, 20));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(4, 4, 24, 24));
        p.setPen(QPen(QColor(80, 220, 80), 1.6));
        for (int row = 0; row < 4; ++row) p.drawLine(QPointF(7, 8 + row * 5), QPointF(25 - (row % 2) * 7, 8 + row * 5));
        break;
    case IconPicture::None: break;
    }
}

// The system's badge: a disc in its display colour with the number in white.
void drawBadge(QPainter& p, QColor colour, int system) {
    const QRectF disc(15, 15, 16.5, 16.5);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(colour);
    p.drawEllipse(disc);
    QFont f = p.font();
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(disc, Qt::AlignCenter, QString::number(system));
}

}  // namespace

QIcon WindowIcons::icon(IconPicture p, int system) {
    if (p == IconPicture::None || system < 2 || system > MaxSystems) return {};
    QIcon& icon = drawn_[static_cast<std::size_t>(p)][static_cast<std::size_t>(system - 2)];
    if (icon.isNull()) {
        QPixmap picture(Size, Size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        drawGlyph(painter, p);
        drawBadge(painter, toQColor(colours_[system]), system);
        painter.end();
        icon = QIcon(picture);
    }
    return icon;
}

}  // namespace tiderune
