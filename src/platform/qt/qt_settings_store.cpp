#include "qt_settings_store.h"

#include <QStandardPaths>

#include "qt_text.h"

namespace tiderune {

namespace {
QString keyPath(const std::string& appTitle, const std::string& section, const std::string& key) {
    return toQt(appTitle) + QLatin1Char('/') + toQt(section) + QLatin1Char('/') + toQt(key);
}
}  // namespace

QtSettingsStore::QtSettingsStore(const QString& iniPath) : settings_(iniPath, QSettings::IniFormat) {}

QString QtSettingsStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Kestrelle/Tiderune.ini");
}

std::string QtSettingsStore::value(const std::string& appTitle, const std::string& section, const std::string& key,
                                   const std::string& defaultValue) const {
    const QVariant v = settings_.value(keyPath(appTitle, section, key));
    return v.isValid() ? fromQt(v.toString()) : defaultValue;
}

void QtSettingsStore::setValue(const std::string& appTitle, const std::string& section, const std::string& key,
                               const std::string& value) {
    settings_.setValue(keyPath(appTitle, section, key), toQt(value));
}

}  // namespace tiderune
