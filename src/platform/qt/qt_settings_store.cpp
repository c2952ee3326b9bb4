#include "qt_settings_store.h"

#include <QStandardPaths>

#include "platform/qt/qt_edge.h"

namespace tiderune {

namespace {
QString titledKeyPath(const std::string& appTitle, const std::string& section, const std::string& key) {
    return toQt(appTitle) + QLatin1Char('/') + toQt(section) + QLatin1Char('/') + toQt(key);
}
}  // namespace

QtSettingsStore::QtSettingsStore(const QString& iniPath, std::string appTitle)
    : settings_(iniPath, QSettings::IniFormat), appTitle_(std::move(appTitle)) {}

QString QtSettingsStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Kestrelle/Tiderune.ini");
}

QString QtSettingsStore::keyPath(const std::string& appTitle, const std::string& section,
                                 const std::string& key) const {
    if (appTitle == appTitle_) return toQt(section) + QLatin1Char('/') + toQt(key);
    return titledKeyPath(appTitle, section, key);
}

std::string QtSettingsStore::value(const std::string& appTitle, const std::string& section, const std::string& key,
                                   const std::string& defaultValue) const {
    QVariant v = settings_.value(keyPath(appTitle, section, key));
    // Files of earlier versions kept the application's own values under its title too.
    if (!v.isValid() && appTitle == appTitle_) v = settings_.value(titledKeyPath(appTitle, section, key));
    return v.isValid() ? fromQt(v.toString()) : defaultValue;
}

void QtSettingsStore::setValue(const std::string& appTitle, const std::string& section, const std::string& key,
                               const std::string& value) {
    settings_.setValue(keyPath(appTitle, section, key), toQt(value));
}

}  // namespace tiderune
