#pragma once
// Where the program's own forms meet Qt, in one place: text as Latin-1 bytes and paths as the
// file system's bytes, colours as the program stores them (0x00BBGGRR, red in the low byte),
// sizes in twips (platform/twips.h), and the plain labels and buttons of the windows.
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/twips.h"

namespace tiderune {

inline QString toQt(std::string_view latin1) {
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}
inline std::string fromQt(const QString& s) {
    const QByteArray b = s.toLatin1();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}
inline std::string bytesOf(const QByteArray& b) { return std::string(b.constData(), static_cast<std::size_t>(b.size())); }
inline QString pathToQt(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}
inline std::string pathFromQt(const QString& path) { return bytesOf(QFile::encodeName(path)); }

inline QColor toQColor(std::uint32_t bbggrr) {
    return QColor(static_cast<int>(bbggrr & 0xFF), static_cast<int>((bbggrr >> 8) & 0xFF),
                  static_cast<int>((bbggrr >> 16) & 0xFF));
}

// Places a widget by its design's twips, each rounded to the nearest pixel.
inline void setTwipsGeometry(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(fromTwips(left), fromTwips(top), fromTwips(width), fromTwips(height));
}

// A label with its design text; `name` (the control's name) may be empty.
inline QLabel* makeLabel(QWidget* parent, const char* name, std::string_view text) {
    auto* l = new QLabel(toQt(text), parent);
    if (*name) l->setObjectName(name);
    return l;
}
// A button that Enter in its window does not press by itself.
inline QPushButton* makeButton(QWidget* parent, const char* name, std::string_view text) {
    auto* b = new QPushButton(toQt(text), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace tiderune
