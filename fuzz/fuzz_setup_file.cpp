// Any bytes as a setup file. Whether it loads or is refused as damaged (and the defaults put
// in place, as at start-up), every value that later picks a table entry must lie inside its
// table. What the program would then save must load again without error and say the same:
// a setup that cannot be loaded after a save, or that changes when loaded, is lost.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/config.h"
#include "core/errors.h"
#include "core/setup_file.h"

using namespace tiderune;

namespace {

bool inTables(const Config& c) {
    for (int s = 1; s <= MaxSystems; ++s) {
        if (c.Systems[s].ComPort < 0 || c.Systems[s].ComPort > MaxComPorts) return false;
        if (c.ReferenceMode[s] < 0 || c.ReferenceMode[s] > 2) return false;
        const float singles[] = {c.ReferenceHeight[s], c.ReferenceHeading[s], c.ReferencePitch[s], c.ReferenceRoll[s]};
        for (float v : singles)
            if (!std::isfinite(v)) return false;
        if (!std::isfinite(c.ReferenceLat[s]) || !std::isfinite(c.ReferenceLon[s])) return false;
    }
    for (int p = 1; p <= MaxComPorts; ++p)
        if (c.Comports[p].AssignedSystem < 0 || c.Comports[p].AssignedSystem > MaxSystems) return false;
    for (int k = 1; k <= SNRConstellations; ++k) {
        const int count = c.SNRSeriesCount[k], columns = c.SNRSeriesColumns[k];
        if (count < 0 || count > SNRSeriesPerConstellation || columns < 0 || columns > 3) return false;
        if (count > 0 && columns == 0) return false;  // the window divides by its columns
    }
    return c.IPListCount >= 0 && c.IPListCount <= 10 && c.LatLonDecimals >= 0 && c.LatLonDecimals <= 5 &&
           c.ElevationMask >= 0 && c.ElevationMask <= 89;
}

// The items of a saved file in order. Quoted texts never hold a double quote (the writer
// turns it into an apostrophe), so a quote always opens or closes one.
std::vector<std::string_view> items(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        if (text[i] == '"') {
            end = text.find('"', i + 1);
            end = end == std::string_view::npos ? text.size() : end + 1;
        } else {
            end = text.find_first_of(",\r", i);
            if (end == std::string_view::npos) end = text.size();
        }
        out.push_back(text.substr(i, end - i));
        i = end;
        while (i < text.size() && (text[i] == ',' || text[i] == '\r' || text[i] == '\n')) ++i;
    }
    return out;
}

// Single-precision values are written with 7 digits, which does not always name the same
// float again: such a number may move by a unit of its last place, nothing else may change.
bool sameSetup(std::string_view a, std::string_view b) {
    if (a == b) return true;
    const auto x = items(a), y = items(b);
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (x[i] == y[i]) continue;
        if (x[i].front() == '"' || y[i].front() == '"' || x[i].front() == '#' || y[i].front() == '#') return false;
        const double u = std::strtod(std::string(x[i]).c_str(), nullptr);
        const double v = std::strtod(std::string(y[i]).c_str(), nullptr);
        if (!(std::fabs(u - v) <= 2e-7 * std::fmax(std::fabs(u), std::fabs(v)))) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Config config;
    LoadDefaultSetup(config);
    try {
        ReadSetupText(config, std::string(reinterpret_cast<const char*>(data), size));
    } catch (const RuntimeError&) {
        // Damaged: the defaults go in over what was read, as when the program loads it.
        LoadDefaultSetup(config);
    }
    if (!inTables(config)) __builtin_trap();

    const std::string saved = SetupFileText(config);
    Config again;
    LoadDefaultSetup(again);
    try {
        ReadSetupText(again, saved);
    } catch (const RuntimeError&) {
        __builtin_trap();  // the program could not load what it saved
    }
    if (!inTables(again) || !sameSetup(saved, SetupFileText(again))) __builtin_trap();
    return 0;
}
