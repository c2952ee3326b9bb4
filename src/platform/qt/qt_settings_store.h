#pragma once
// The settings store as an INI file through QSettings. The file belongs to one application:
// its own values are kept as [<section>] with plain keys, so that a user can edit them by hand
// (a [SerialDevices] section with COM3=/dev/pts/2); another title's values go to
// [<title>] with keys "<section>\<key>".
#include <QSettings>

#include "platform/settings_store.h"

namespace tiderune {

class QtSettingsStore final : public SettingsStore {
public:
    // appTitle: the application the file belongs to.
    explicit QtSettingsStore(const QString& iniPath, std::string appTitle = ApplicationTitle);
    // The INI file in the user's configuration folder (~/.config/Kestrelle/Tiderune.ini).
    static QString defaultPath();

    std::string value(const std::string& appTitle, const std::string& section, const std::string& key,
                      const std::string& defaultValue) const override;
    void setValue(const std::string& appTitle, const std::string& section, const std::string& key,
                  const std::string& value) override;
    void reload() override { settings_.sync(); }
    void sync() { settings_.sync(); }

private:
    QString keyPath(const std::string& appTitle, const std::string& section, const std::string& key) const;

    mutable QSettings settings_;
    std::string appTitle_;
};

}  // namespace tiderune
