#pragma once
// Where the program's own forms meet Qt, in one place: text as the program's 8-bit bytes,
// paths handed to Qt as the file system's bytes, colours as the program stores them
// (0x00BBGGRR, red in the low byte), sizes in twips (platform/twips.h), and the plain labels
// and buttons of the windows.
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/code_page.h"
#include "platform/twips.h"

namespace tiderune {

// The program's text (code page 1252 bytes, core/code_page.h) as a window shows it, and
// typed text back as those bytes. A file's name is shown as toQt(fileNameText(name)).
inline QString toQt(std::string_view text) {
    QString s(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    widenText(text, reinterpret_cast<char16_t*>(s.data()));
    return s;
}
inline std::string fromQt(const QString& s) {
    return narrowText(std::u16string_view(QStringView(s).utf16(), static_cast<std::size_t>(s.size())));
}
inline std::string bytesOf(const QByteArray& b) { return std::string(b.constData(), static_cast<std::size_t>(b.size())); }
// A path for Qt's own use (a file dialog, a serial port); a window shows a file's name as
// toQt(fileNameText(name)).
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
