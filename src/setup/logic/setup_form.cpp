#include "setup/logic/setup_form.h"

#include "core/latlon_text.h"
#include "core/number_text.h"

namespace tiderune {

std::string setupCaption(int system) {
    if (system == 1) return "Setup Primary System";
    return "Setup Secondary SYSTEM" + StrNumber(system - 1);
}

std::string setupNameText(const Config& config, int system) {
    const std::string& name = config.Systems[system].Name;
    if (!name.empty()) return name;
    return system == 1 ? "Primary System" : "Secondary System" + StrNumber(system - 1);
}

const std::array<SourceKindOption, 8>& sourceKinds() {
    static const std::array<SourceKindOption, 8> Kinds = {{
        {"GNSS", "GPS/GLONASS"},
        {"Loran C", "Loran C"},
        {"Gyro", "Gyro"},
        {"Speed Log", "Speed Log"},
        {"Echosounder", "Echosounder"},
        {"ARPA radar", "ARPA Radar"},
        {"AIS", "AIS"},
        {"other", "other"},
    }};
    return Kinds;
}

std::optional<int> kindOption(const std::string& kind) {
    for (int i = 0; i < 8; ++i)
        if (kind == sourceKinds()[i].kind) return i;
    return std::nullopt;
}

const std::vector<std::string>& baudRateItems() {
    static const std::vector<std::string> Items = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
    return Items;
}

const std::vector<std::string>& outlierItems() {
    static const std::vector<std::string> Items = [] {
        std::vector<std::string> v;
        for (int i = 1; i <= 10; ++i) v.push_back(std::to_string(i));
        for (int i = 20; i <= 100; i += 10) v.push_back(std::to_string(i));
        return v;
    }();
    return Items;
}

const std::vector<std::string>& satelliteItems() {
    static const std::vector<std::string> Items = {"4", "5", "6", "7", "8", "9", "10"};
    return Items;
}

std::vector<std::string> hdopItems(char decimalPoint) {
    std::vector<std::string> v;
    for (int i = 1; i <= 10; ++i) {
        std::string t = i % 2 ? std::to_string((i + 2) / 2) + decimalPoint + "5" : std::to_string(i / 2 + 1);
        v.push_back(t);
    }
    return v;
}

const std::vector<std::string>& timeZoneItems() {
    static const std::vector<std::string> Items = [] {
        std::vector<std::string> v;
        for (int z = -12; z <= 12; ++z) v.push_back(FormatNumber(z, "00"));
        return v;
    }();
    return Items;
}

int baudItemFor(std::int32_t baud) {
    const auto& items = baudRateItems();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == std::to_string(baud)) return static_cast<int>(i);
    return 2;
}

std::string outlierLimitText(float limit) { return FormatNumber(limit, "0.0"); }
std::string hdopLimitText(float limit) { return FormatNumber(limit, "0.0"); }
std::string satelliteLimitText(std::int16_t count) { return StrNumber(count); }

std::string heightText(double metres) { return FormatNumber(metres, "0.000"); }
std::string headingText(double degrees) { return FormatNumber(degrees, "000.00"); }
std::string attitudeText(double degrees) { return FormatNumber(degrees, "0.00"); }

namespace {
const char* kindOf(LatLonAxis axis) { return axis == LatLonAxis::Lat ? "LAT" : "LON"; }
}  // namespace

std::string loadLatLonText(const Config& c, LatLonAxis axis, double radians) {
    const double degrees = radians * RadiansToDegrees;
    return c.LatLonFormatDMS ? FormatLatLonDMS(degrees, kindOf(axis), "Form", c.LatLonDecimals)
                             : FormatLatLonDM(degrees, kindOf(axis), "Form", c.LatLonDecimals);
}

std::string boxLatLonText(const Config& c, LatLonAxis axis, double radians) {
    const double degrees = radians * RadiansToDegrees;
    return c.LatLonFormatDMS ? FormatDMSCompact(degrees, kindOf(axis), "FORM", 4)
                             : FormatLatLonDM(degrees, kindOf(axis), "Form", c.LatLonDecimals);
}

double parseLatLonBox(const Config& c, LatLonAxis axis, std::string& text, NoticeSink& notices) {
    if (c.LatLonFormatDMS) {
        const double degrees = ParseLatLonDMS(text, kindOf(axis), notices);
        text = FormatDMSCompact(degrees, kindOf(axis), "FORM", 4);
        return degrees * DegreesToRadians;
    }
    const double degrees = ParseLatLonDM(text, kindOf(axis), c.LatLonDecimals, notices);
    text = FormatLatLonDM(degrees, kindOf(axis), "Form", c.LatLonDecimals);
    return degrees * DegreesToRadians;
}

}  // namespace tiderune
