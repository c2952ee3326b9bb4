// A fitting label as painted: a text that fits in the label's own type, a longer one in the
// largest half point size that fits, and one too long even for the smallest readable type
// shortened in that type. Checked on the pixels, against the text drawn plainly in the type
// it should take.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/qt/fitting_label.h"

using namespace tiderune;

namespace {

// The box round the dark pixels of the image; empty when there are none.
QRect inkBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 160) box |= QRect(x, y, 1, 1);
    return box;
}

QImage blank(const QSize& size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

// Smaller than this a value is no longer read at a glance.
constexpr double Readable = 8.0;

TEST(FittingLabel, PaintsTheLargestReadableTypeThatFits) {
    QFont own;
    own.setPointSizeF(12);
    const QString value = QStringLiteral("12345.678");
    const double ownWidth = QFontMetricsF(own).horizontalAdvance(value);
    struct Case {
        const char* name;
        int width;       // of the label
        double type;     // the type the text is drawn in
        bool shortened;  // an ellipsis ends it
        double ownType = 12;  // the label's own type
    };
    // The widths of the value in each half point size down from the label's own.
    auto widthAt = [&](double pt) {
        QFont f = own;
        f.setPointSizeF(pt);
        return QFontMetricsF(f).horizontalAdvance(value);
    };
    // Room for the value in a type and not in the next half point up.
    auto roomFor = [&](double pt) {
        const int room = static_cast<int>(std::ceil(widthAt(pt)));
        EXPECT_LT(room, widthAt(pt + 0.5)) << pt << " pt";
        return room;
    };
    const Case cases[] = {
        {"fits", static_cast<int>(std::ceil(ownWidth)) + 4, 12, false},
        {"one size smaller", roomFor(11.5), 11.5, false},
        {"two points smaller", roomFor(10), 10, false},
        {"too long to read whole", static_cast<int>(widthAt(Readable) * 0.7),
         Readable, true},
        {"too long for a label already in the smallest readable type", static_cast<int>(widthAt(Readable) * 0.7),
         Readable, true, Readable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FittingLabel label(value);
        QFont labelType = own;
        labelType.setPointSizeF(c.ownType);
        label.setFont(labelType);
        label.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label.resize(c.width, 30);
        QImage painted = blank(label.size());
        label.render(&painted);

        // The text as it should be drawn, plainly.
        QFont type = own;
        type.setPointSizeF(c.type);
        const QString text = c.shortened ? QFontMetrics(type).elidedText(value, Qt::ElideRight, c.width) : value;
        ASSERT_EQ(text != value, c.shortened);
        QImage expected = blank(label.size());
        QPainter p(&expected);
        p.setFont(type);
        p.setPen(Qt::black);
        p.drawText(label.contentsRect(), static_cast<int>(label.alignment()), text);
        p.end();

        const QRect ink = inkBox(painted);
        ASSERT_FALSE(ink.isEmpty());
        const QRect want = inkBox(expected);
        // Half a point changes the value's width by three pixels; placing glyphs on whole
        // pixels changes it by one.
        EXPECT_NEAR(ink.width(), want.width(), 1) << "drawn in " << c.type << " pt";
        EXPECT_NEAR(ink.height(), want.height(), 1) << "drawn in " << c.type << " pt";
        EXPECT_NEAR(ink.right(), want.right(), 1) << "right-aligned";
        EXPECT_TRUE(label.contentsRect().contains(ink)) << "cut";
        EXPECT_EQ(label.fittedFont().pointSizeF(), c.type);
        EXPECT_EQ(label.shownText().toStdString(), text.toStdString());
    }
}

}  // namespace
