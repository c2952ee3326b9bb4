#include "core/geodetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "core/errors.h"

namespace tiderune {
namespace {

constexpr double deg = std::numbers::pi / 180;
constexpr double arcSecond = std::numbers::pi / 648000;

TEST(GeodeticTest, OffsetsOnTheEllipsoid) {
    struct Case {
        const char* name;
        double lat1, lon1, lat2, lon2;
        double north, east, tolerance;
    };
    const double w60 = std::sqrt(1 - Wgs84EccentricitySquared * 0.75);
    const Case cases[] = {
        {"same point", 0.9, 0.1, 0.9, 0.1, 0, 0, 0},
        {"arc second north at equator", 0, 0, arcSecond, 0, 6335439.3272928195 * arcSecond, 0, 1e-3},
        {"arc second east at equator", 0, 0, 0, arcSecond, 0, 30.922, 1e-3},
        {"east at 60 degrees", 60 * deg, 0, 60 * deg, 0.001, 0, 0.5 * 6378137.0 * 0.001 / w60, 1e-2},
        {"south-west is negative", 10 * deg, 5 * deg, 10 * deg - 1e-5, 5 * deg - 1e-5, -63.4, -62.7, 0.5},
        // Either side of the 180th meridian: metres apart, the short way round.
        {"across the antimeridian eastward", 0, 179.9999 * deg, 0, -179.9999 * deg, 0, 22.26, 0.01},
        {"across the antimeridian westward", 0, -179.9999 * deg, 0, 179.9999 * deg, 0, -22.26, 0.01},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        float n = 1, e = 1;
        DeltaNE_WGS84(c.lat1, c.lon1, c.lat2, c.lon2, n, e);
        EXPECT_NEAR(n, c.north, c.tolerance);
        EXPECT_NEAR(e, c.east, c.tolerance);
        float n2 = 1, e2 = 1;
        DeltaNE_Ellipsoid(c.lat1, c.lon1, c.lat2, c.lon2, n2, e2, Wgs84SemiMajorAxis, Wgs84EccentricitySquared);
        EXPECT_EQ(n, n2);
        EXPECT_EQ(e, e2);
    }
}

TEST(GeodeticTest, NonFiniteInputRaises) {
    float n, e;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(DeltaNE_WGS84(0, 0, nan, 0, n, e), RuntimeError);
    EXPECT_THROW(DeltaNE_WGS84(0, std::numeric_limits<double>::infinity(), 0, 0, n, e), RuntimeError);
}

}  // namespace
}  // namespace tiderune
