#include "geodetic.h"

#include <cfloat>
#include <cmath>
#include <numbers>

#include "errors.h"

namespace tiderune {

namespace {

[[noreturn]] void throwOverflow() { throw RuntimeError(err::Overflow, "Overflow"); }

float toSingle(double v) {
    if (!std::isfinite(v) || std::fabs(v) > static_cast<double>(FLT_MAX)) throwOverflow();
    return static_cast<float>(v);
}

// Longitude difference in [-pi, pi].
double shortLongitudeDifference(double lon1, double lon2) {
    double d = lon2 - lon1;
    if (d > std::numbers::pi || d < -std::numbers::pi) d = std::remainder(d, 2 * std::numbers::pi);
    return d;
}

}  // namespace

void DeltaNE_WGS84(double lat1, double lon1, double lat2, double lon2, float& dN, float& dE) {
    // a x (1 - e2) for WGS 84, as the program has always used it.
    constexpr double meridianFactor = 6335439.3272928195;
    if (!std::isfinite(lat1) || !std::isfinite(lon1) || !std::isfinite(lat2) || !std::isfinite(lon2))
        throwOverflow();
    const double dLat = lat2 - lat1;
    const double dLon = shortLongitudeDifference(lon1, lon2);
    const double s = std::sin(lat1);
    const double w = std::sqrt(1 - Wgs84EccentricitySquared * s * s);
    dN = toSingle(dLat * meridianFactor / w);
    dE = toSingle(std::cos(lat1) * Wgs84SemiMajorAxis * dLon / w);
}

void DeltaNE_Ellipsoid(double lat1, double lon1, double lat2, double lon2, float& dN, float& dE,
                       double a, double e2) {
    if (!std::isfinite(lat1) || !std::isfinite(lon1) || !std::isfinite(lat2) || !std::isfinite(lon2))
        throwOverflow();
    const double dLat = lat2 - lat1;
    const double dLon = shortLongitudeDifference(lon1, lon2);
    const double s = std::sin(lat1);
    const double w = std::sqrt(1 - e2 * s * s);
    dN = toSingle((1 - e2) * a * dLat / w);
    dE = toSingle(std::cos(lat1) * a * dLon / w);
}

}  // namespace tiderune
