#include "setup/logic/input_checks.h"

#include <cmath>

#include "core/number_text.h"

namespace tiderune {

namespace {
// An octet of digits only: its value, or -1 when it is empty or beyond 255.
int octetValue(std::string_view digits) {
    if (digits.empty()) return -1;
    int v = 0;
    for (char c : digits) {
        v = v * 10 + (c - '0');
        if (v > 255) return -1;
    }
    return v;
}
}  // namespace

bool isValidIPv4(std::string_view t) {
    if (t.size() > 15) return false;
    int dots = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '.') {
            if (i == 0) return false;
            ++dots;
            const int v = octetValue(t.substr(start, i - start));
            if (v < 0 || (dots == 1 && v == 0)) return false;
            start = i + 1;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return dots == 3 && octetValue(t.substr(start)) >= 0;
}

std::string invalidIPMessage(std::string_view text) {
    return std::string(text) + " is not a valid IP address! Has to be in the range 1.0.0.1 to 255.255.255.255";
}

std::optional<std::string> checkedPortText(std::string_view text) {
    const double x = ValDecimal(text);
    if (x > 65535 || x != std::round(x) || x < 1) return std::nullopt;
    return StrNumber(static_cast<long long>(x));
}

std::string invalidPortMessage(std::string_view text) {
    return std::string(text) + " is not a valid port number! Has to be an integer value in the range 1-65535";
}

bool isRefusedLimit(std::string_view text) { return static_cast<float>(ValDecimal(text)) == 0.0f; }

const char* zeroLimitMessage(LimitList list) {
    switch (list) {
    case LimitList::Hdop: return "A hdop value <> 0 has to be selected";
    case LimitList::Svs: return "No of svs > 3 has to be selected";
    case LimitList::Outliers: return "A outlier <> 0 has to be selected";
    }
    return "";
}

int ipHistoryCount(const Config& config) {
    const int n = config.IPListCount;
    return n < 0 ? 0 : n > 10 ? 10 : n;
}

IPHistoryChange ReArrange_IP_List(Config& config, const std::string& address) {
    const int n = ipHistoryCount(config);
    for (int i = 0; i < n; ++i)
        if (config.IPList[i] == address) return IPHistoryChange::None;
    if (config.IPListCount >= 10) {
        for (int i = 1; i <= 9; ++i) config.IPList[i - 1] = config.IPList[i];
        config.IPList[9] = address;
        return IPHistoryChange::Refilled;
    }
    config.IPListCount = static_cast<std::int16_t>(n + 1);
    config.IPList[n] = address;
    return IPHistoryChange::Appended;
}

bool isStorableReferenceName(std::string_view name) {
    return name.find_first_of("\"\r\n") == std::string_view::npos;
}

}  // namespace tiderune
