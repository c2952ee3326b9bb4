#pragma once
// Builders of the sentences the program reads. Each takes the talker (two letters, "GP",
// "GN", "HE", ...) and the values, and returns the whole sentence with its checksum and
// without a line end. An absent value (std::nullopt) leaves its field empty, as a receiver
// without a fix or a sensor without a reading sends it.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tiderune::nmeagen {

using OptDouble = std::optional<double>;
using OptInt = std::optional<long long>;

// Time values are seconds since 1970-01-01 00:00 UTC.

struct GgaData {
    double time = 0;
    OptDouble latitude, longitude;  // degrees, north and east positive
    int quality = 1;                // 0 no fix, 1 GPS, 2 DGPS, 4 RTK fixed, 5 RTK float
    int satellites = 0;
    OptDouble hdop;
    OptDouble altitude;             // metres above the geoid
    OptDouble geoidSeparation;
    OptDouble dgpsAge;              // seconds
    OptInt stationId;
};
std::string buildGGA(std::string_view talker, const GgaData& d);

struct GnsData {
    double time = 0;
    OptDouble latitude, longitude;
    std::string mode = "AA";        // one letter per constellation, "N" = no fix
    int satellites = 0;
    OptDouble hdop;
    OptDouble altitude;
    OptDouble geoidSeparation;
    OptDouble dgpsAge;
    OptInt stationId;
};
std::string buildGNS(std::string_view talker, const GnsData& d);

struct GllData {
    double time = 0;
    OptDouble latitude, longitude;
    char status = 'A';              // A valid, V invalid
    char mode = 'A';
};
std::string buildGLL(std::string_view talker, const GllData& d);

struct RmcData {
    double time = 0;
    char status = 'A';
    OptDouble latitude, longitude;
    OptDouble speedKnots, courseTrue;
    OptDouble magneticVariation;    // degrees east positive
    char mode = 'A';
};
std::string buildRMC(std::string_view talker, const RmcData& d);

struct VtgData {
    OptDouble courseTrue, courseMagnetic, speedKnots;
    char mode = 'A';
};
std::string buildVTG(std::string_view talker, const VtgData& d);

struct ZdaData {
    double time = 0;
    int zoneHours = 0, zoneMinutes = 0;
};
std::string buildZDA(std::string_view talker, const ZdaData& d);

struct GsaData {
    char selectionMode = 'A';
    int fixType = 3;                // 1 no fix, 2 2D, 3 3D
    std::vector<int> prns;          // at most 12 are written
    OptDouble pdop, hdop, vdop;
    OptInt systemId;                // the trailing GNSS system ID of newer receivers
};
std::string buildGSA(std::string_view talker, const GsaData& d);

struct GstData {
    double time = 0;
    OptDouble rms, sdSemiMajor, sdSemiMinor, orientation, sdLatitude, sdLongitude, sdAltitude;
};
std::string buildGST(std::string_view talker, const GstData& d);

struct SatelliteView {
    int prn = 0;
    OptInt elevation, azimuth, snr;
};
// One constellation's satellites in view as a group of GSV sentences, four per sentence.
// An empty list gives one sentence with zero satellites.
std::vector<std::string> buildGSVGroup(std::string_view talker, const std::vector<SatelliteView>& satellites,
                                       OptInt signalId = std::nullopt);

std::string buildHDT(std::string_view talker, double heading);

// The attitude sentence of the heading and motion sensor: its proprietary address, then the
// tag "att", heading, pitch, roll (degrees) and the time of the measurement.
struct AttData {
    double time = 0;
    double heading = 0, pitch = 0, roll = 0;
};
inline constexpr std::string_view AttitudeAddress = "PADHRS";
std::string buildATT(const AttData& d);

std::string buildROT(std::string_view talker, OptDouble degreesPerMinute, char status = 'A');

struct VhwData {
    OptDouble headingTrue, headingMagnetic, speedKnots;
};
std::string buildVHW(std::string_view talker, const VhwData& d);

std::string buildDBT(std::string_view talker, OptDouble depthMetres);

struct TtmData {
    int targetNumber = 1;
    OptDouble distance, bearing;    // nautical miles, degrees
    char bearingReference = 'T';
    OptDouble speed, course;        // knots, degrees
    char courseReference = 'T';
    OptDouble cpa, tcpa;            // nautical miles, minutes
    char units = 'N';
    std::string name;
    char status = 'T';              // T tracking, Q acquiring, L lost
    std::string referenceTarget;
    double time = 0;
    char acquisition = 'A';         // A automatic, M manual
};
std::string buildTTM(std::string_view talker, const TtmData& d);

}  // namespace tiderune::nmeagen
