#pragma once
// The per-user settings store: values kept by application title, section and key, read with
// a default for a missing key. Window placements live here.
#include <map>
#include <string>
#include <tuple>

#include "platform/message_box.h"

namespace tiderune {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string value(const std::string& appTitle, const std::string& section, const std::string& key,
                              const std::string& defaultValue) const = 0;
    virtual void setValue(const std::string& appTitle, const std::string& section, const std::string& key,
                          const std::string& value) = 0;
    // Takes in what others (a user editing the file by hand) changed since it was read.
    virtual void reload() {}
};

// Kept in memory only; for tests and tools.
class MemorySettingsStore final : public SettingsStore {
public:
    std::string value(const std::string& appTitle, const std::string& section, const std::string& key,
                      const std::string& defaultValue) const override {
        auto it = values_.find({appTitle, section, key});
        return it == values_.end() ? defaultValue : it->second;
    }
    void setValue(const std::string& appTitle, const std::string& section, const std::string& key,
                  const std::string& value) override {
        values_[{appTitle, section, key}] = value;
    }

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

}  // namespace tiderune
