#pragma once
// Local north and east offsets of a measured position from an origin (the reference), with a
// small-difference formula on the ellipsoid. Positions in radians, offsets in metres.
namespace tiderune {

inline constexpr double Wgs84SemiMajorAxis = 6378137.0;
inline constexpr double Wgs84EccentricitySquared = 0.0066943799901413165;

// Point 1 is the origin, point 2 the measured point; north and east positive. The longitude
// difference is taken the short way round, so two positions either side of the 180th
// meridian lie metres apart, not a whole earth. Raises Overflow for a position that is not
// a finite number.
void DeltaNE_WGS84(double lat1, double lon1, double lat2, double lon2, float& dN, float& dE);
void DeltaNE_Ellipsoid(double lat1, double lon1, double lat2, double lon2, float& dN, float& dE,
                       double a, double e2);

}  // namespace tiderune
