#pragma once
// The program keeps text as Latin-1 bytes and paths as the file system's bytes; Qt wants
// QString. These convert at the edge.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

namespace tiderune {

inline QString toQt(const std::string& latin1) {
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

}  // namespace tiderune
