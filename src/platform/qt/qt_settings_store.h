#pragma once
// The settings store as an INI file through QSettings: [<title>] with keys "<section>\<key>".
#include <QSettings>

#include "platform/settings_store.h"

namespace tiderune {

class QtSettingsStore final : public SettingsStore {
public:
    explicit QtSettingsStore(const QString& iniPath);
    // The INI file in the user's configuration folder (~/.config/Kestrelle/Tiderune.ini).
    static QString defaultPath();

    std::string value(const std::string& appTitle, const std::string& section, const std::string& key,
                      const std::string& defaultValue) const override;
    void setValue(const std::string& appTitle, const std::string& section, const std::string& key,
                  const std::string& value) override;
    void sync() { settings_.sync(); }

private:
    mutable QSettings settings_;
};

}  // namespace tiderune
