// Arbitrary doubles through an axis's scale: the drawable range, the label step, the label
// values and their texts, and the value-to-pixel mapping. Whatever the range, increment and
// length, the scale must be finite and ordered, the labels few, ascending and inside the
// range, their texts of bounded length, and the range's values must map to pixels.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/chart_scale.h"

using namespace tiderune;

namespace {

double take(const std::uint8_t*& data, std::size_t& size) {
    double v = 0;
    if (size >= sizeof v) {
        std::memcpy(&v, data, sizeof v);
        data += sizeof v;
        size -= sizeof v;
    }
    return v;
}

void check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const bool date = data[0] & 1;
    const bool labelGrows = data[0] & 2;
    const int length = 1 + data[1] * 8;  // an axis of 1 to 2041 pixels
    data += 2;
    size -= 2;
    const double min = take(data, size);
    const double max = take(data, size);
    double increment = take(data, size);
    // As the axis takes it: a finite increment of 0 or more.
    if (!(increment >= 0) || !std::isfinite(increment)) increment = 0;
    // The rest is a date format of the user's.
    const std::string format(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 64));

    auto text = [&](double v, double step) { return date ? formatDateValue(v, format) : formatAxisNumber(v, step); };
    const AxisTicks t = axisTicks(min, max, date, increment, length, [&](double lo, double hi, double guess) -> double {
        // Labels a few pixels a character wide, or one line high.
        if (!labelGrows) return 16;
        return 6.0 * static_cast<double>(std::max(text(lo, guess).size(), text(hi, guess).size())) + 6;
    });
    check(std::isfinite(t.min) && std::isfinite(t.max) && t.min < t.max);
    check(std::isfinite(t.step) && t.step > 0);
    check(t.values.size() <= static_cast<std::size_t>(length) + 2);
    const AxisMap map(t.min, t.max, 0, length);
    check(std::isfinite(map.toPixel(t.min)) && std::isfinite(map.toPixel(t.max)));
    for (std::size_t i = 0; i < t.values.size(); ++i) {
        const double v = t.values[i];
        const double slack = (t.max - t.min) * 1e-9;  // a multiple a rounding away outside
        check(v >= t.min - slack && v <= t.max + slack);
        check(i == 0 || v > t.values[i - 1]);
        const double px = map.toPixel(v);
        check(px >= -0.5 && px <= length + 0.5);
        check(text(v, t.step).size() <= 400 + 4 * format.size());
    }
    return 0;
}
