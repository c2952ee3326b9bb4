#pragma once
// What the setup dialog shows, computed from the configuration: captions, the fixed lists,
// the kinds of source, the texts of the reference and limit boxes, and the latitude and
// longitude boxes that keep the exact value behind their text.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/notices.h"

namespace tiderune {

// "Setup Primary System", "Setup Secondary SYSTEM 2" (system 3).
std::string setupCaption(int system);
// The name box: the stored name, or "Primary System" / "Secondary System 2" when empty.
std::string setupNameText(const Config& config, int system);

// The eight kinds of source: option caption and the stored kind text.
struct SourceKindOption {
    const char* caption;
    const char* kind;
};
const std::array<SourceKindOption, 8>& sourceKinds();
// The option of a stored kind text (exact comparison), or none.
std::optional<int> kindOption(const std::string& kind);

// Fixed lists, in their order.
const std::vector<std::string>& baudRateItems();
const std::vector<std::string>& outlierItems();
const std::vector<std::string>& satelliteItems();
// 1.5 ... 6 with `decimalPoint` as the decimal separator.
std::vector<std::string> hdopItems(char decimalPoint);
const std::vector<std::string>& timeZoneItems();
inline constexpr int TimeZoneDefaultItem = 12;  // "00"

// The baud item of a port's stored baud rate; "4800" for a value the list does not have.
int baudItemFor(std::int32_t baud);

// The limit texts at load: "15.0", "0.0" (formatted 0.0) and the satellites in Str form.
std::string outlierLimitText(float limit);
std::string hdopLimitText(float limit);
std::string satelliteLimitText(std::int16_t count);

// Reference boxes.
std::string heightText(double metres);      // "0.000"
std::string headingText(double degrees);    // "000.00"
std::string attitudeText(double degrees);   // "0.00", pitch and roll

enum class LatLonAxis { Lat, Lon };
// The text of a latitude or longitude box at load, in the display format with its decimals.
std::string loadLatLonText(const Config& config, LatLonAxis axis, double radians);
// The text a box's own focus handler writes, which the copy buttons and the stored
// reference pick write too: compact degrees-minutes-seconds with 4 decimals, or degrees and
// decimal minutes with the display decimals.
std::string boxLatLonText(const Config& config, LatLonAxis axis, double radians);
// Reads a box in the display format (the parsers' messages go to `notices`), rewrites the
// text as the focus handler does and gives radians.
double parseLatLonBox(const Config& config, LatLonAxis axis, std::string& text, NoticeSink& notices);

// A latitude or longitude box remembers the exact value behind the text the program last
// wrote, so that a box the user did not edit gives back the full precision of the stored
// reference instead of its rounded text.
class LatLonBox {
public:
    // The program writes `text` for `radians`.
    void set(std::string text, double radians) {
        text_ = std::move(text);
        radians_ = radians;
    }
    // The exact value when `shown` is still the text the program wrote.
    std::optional<double> exact(const std::string& shown) const {
        if (radians_ && shown == text_) return radians_;
        return std::nullopt;
    }

private:
    std::string text_;
    std::optional<double> radians_;
};

// Degrees to radians and back, with the program's factors.
inline constexpr double DegreesToRadians = 0.017453292519944444;
inline constexpr double RadiansToDegrees = 57.29577951307855;

}  // namespace tiderune
