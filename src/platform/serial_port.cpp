#include "serial_port.h"

#include <charconv>

#include "message_box.h"
#include "settings_store.h"

namespace tiderune {

namespace {
std::optional<int> wholeNumber(std::string_view s) {
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || s.empty()) return std::nullopt;
    return v;
}
}  // namespace

std::optional<SerialSettings> SerialSettings::parse(std::string_view text) {
    std::string_view f[4];
    for (int i = 0; i < 4; ++i) {
        auto comma = text.find(',');
        if ((comma == std::string_view::npos) != (i == 3)) return std::nullopt;
        f[i] = text.substr(0, comma);
        if (comma != std::string_view::npos) text.remove_prefix(comma + 1);
    }
    SerialSettings s;
    auto baud = wholeNumber(f[0]);
    if (!baud || *baud <= 0) return std::nullopt;
    s.baud = *baud;
    if (f[1].size() != 1) return std::nullopt;
    char p = f[1][0];
    if (p >= 'A' && p <= 'Z') p = static_cast<char>(p - 'A' + 'a');
    if (p != 'n' && p != 'o' && p != 'e' && p != 'm' && p != 's') return std::nullopt;
    s.parity = p;
    auto data = wholeNumber(f[2]);
    if (!data || *data < 5 || *data > 8) return std::nullopt;
    s.dataBits = *data;
    if (f[3] != "1" && f[3] != "1.5" && f[3] != "2") return std::nullopt;
    s.stopBits = std::string(f[3]);
    return s;
}

std::string SerialSettings::text() const {
    return std::to_string(baud) + ',' + parity + ',' + std::to_string(dataBits) + ',' + stopBits;
}

std::string serialSettingsText(long baud, std::string_view parityName, int dataBits, int stopBits) {
    std::string s = std::to_string(baud) + ',';
    if (!parityName.empty()) s += parityName.front();
    return s + ',' + std::to_string(dataBits) + ',' + std::to_string(stopBits);
}

std::string SerialDeviceMap::defaultDevicePath(int comNumber) {
    return "/dev/ttyS" + std::to_string(comNumber - 1);
}

std::string SerialDeviceMap::devicePath(int comNumber) const {
    return store_.value(ApplicationTitle, "SerialDevices", "COM" + std::to_string(comNumber),
                        defaultDevicePath(comNumber));
}

void SerialDeviceMap::setDevicePath(int comNumber, const std::string& path) {
    store_.setValue(ApplicationTitle, "SerialDevices", "COM" + std::to_string(comNumber), path);
}

}  // namespace tiderune
