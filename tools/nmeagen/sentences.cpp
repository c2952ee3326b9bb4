#include "nmeagen/sentences.h"

#include <algorithm>

#include "nmeagen/nmea_text.h"

namespace tiderune::nmeagen {

namespace {

std::string address(std::string_view talker, std::string_view type) {
    std::string a(talker);
    a += type;
    return a;
}

std::string letter(char c) {
    return std::string(1, c);
}

}  // namespace

std::string buildGGA(std::string_view talker, const GgaData& d) {
    SentenceWriter w('$', address(talker, "GGA"));
    const bool fix = d.quality != 0 && d.latitude && d.longitude;
    w.text(timeField(d.time, 2))
        .latitude(fix ? d.latitude : std::nullopt, 5)
        .longitude(fix ? d.longitude : std::nullopt, 5)
        .integer(d.quality)
        .integer(d.satellites, 2)
        .number(d.hdop, 2)
        .number(fix ? d.altitude : std::nullopt, 2)
        .text(fix && d.altitude ? "M" : "")
        .number(fix ? d.geoidSeparation : std::nullopt, 2)
        .text(fix && d.geoidSeparation ? "M" : "")
        .number(d.dgpsAge, 1)
        .integer(d.stationId, 4);
    return w.finish();
}

std::string buildGNS(std::string_view talker, const GnsData& d) {
    SentenceWriter w('$', address(talker, "GNS"));
    const bool fix = d.mode.find_first_not_of('N') != std::string::npos && d.latitude && d.longitude;
    w.text(timeField(d.time, 2))
        .latitude(fix ? d.latitude : std::nullopt, 5)
        .longitude(fix ? d.longitude : std::nullopt, 5)
        .text(d.mode)
        .integer(d.satellites, 2)
        .number(d.hdop, 2)
        .number(fix ? d.altitude : std::nullopt, 2)
        .number(fix ? d.geoidSeparation : std::nullopt, 2)
        .number(d.dgpsAge, 1)
        .integer(d.stationId, 4);
    return w.finish();
}

std::string buildGLL(std::string_view talker, const GllData& d) {
    SentenceWriter w('$', address(talker, "GLL"));
    const bool fix = d.status == 'A' && d.latitude && d.longitude;
    w.latitude(fix ? d.latitude : std::nullopt, 5)
        .longitude(fix ? d.longitude : std::nullopt, 5)
        .text(timeField(d.time, 2))
        .text(letter(d.status))
        .text(letter(d.mode));
    return w.finish();
}

std::string buildRMC(std::string_view talker, const RmcData& d) {
    SentenceWriter w('$', address(talker, "RMC"));
    const bool fix = d.status == 'A' && d.latitude && d.longitude;
    w.text(timeField(d.time, 2))
        .text(letter(d.status))
        .latitude(fix ? d.latitude : std::nullopt, 5)
        .longitude(fix ? d.longitude : std::nullopt, 5)
        .number(fix ? d.speedKnots : std::nullopt, 3)
        .number(fix ? d.courseTrue : std::nullopt, 2)
        .text(dateField(d.time));
    if (d.magneticVariation) {
        w.number(*d.magneticVariation < 0 ? -*d.magneticVariation : *d.magneticVariation, 1)
            .text(*d.magneticVariation < 0 ? "W" : "E");
    } else {
        w.empty(2);
    }
    w.text(letter(d.mode));
    return w.finish();
}

std::string buildVTG(std::string_view talker, const VtgData& d) {
    SentenceWriter w('$', address(talker, "VTG"));
    w.number(d.courseTrue, 2).text("T").number(d.courseMagnetic, 2).text("M");
    w.number(d.speedKnots, 3).text("N");
    w.number(d.speedKnots ? OptDouble(*d.speedKnots * 1.852) : std::nullopt, 3).text("K");
    w.text(letter(d.mode));
    return w.finish();
}

std::string buildZDA(std::string_view talker, const ZdaData& d) {
    SentenceWriter w('$', address(talker, "ZDA"));
    const UtcDateTime t = utcFromUnix(d.time);
    w.text(timeField(d.time, 2))
        .integer(t.day, 2)
        .integer(t.month, 2)
        .integer(t.year, 4)
        .integer(d.zoneHours, 2)
        .integer(d.zoneMinutes, 2);
    return w.finish();
}

std::string buildGSA(std::string_view talker, const GsaData& d) {
    SentenceWriter w('$', address(talker, "GSA"));
    w.text(letter(d.selectionMode)).integer(d.fixType);
    for (std::size_t i = 0; i < 12; ++i) {
        if (i < d.prns.size())
            w.integer(d.prns[i], 2);
        else
            w.empty();
    }
    w.number(d.pdop, 2).number(d.hdop, 2).number(d.vdop, 2);
    if (d.systemId)
        w.integer(*d.systemId, 1);
    return w.finish();
}

std::string buildGST(std::string_view talker, const GstData& d) {
    SentenceWriter w('$', address(talker, "GST"));
    w.text(timeField(d.time, 2))
        .number(d.rms, 2)
        .number(d.sdSemiMajor, 2)
        .number(d.sdSemiMinor, 2)
        .number(d.orientation, 1)
        .number(d.sdLatitude, 2)
        .number(d.sdLongitude, 2)
        .number(d.sdAltitude, 2);
    return w.finish();
}

std::vector<std::string> buildGSVGroup(std::string_view talker, const std::vector<SatelliteView>& satellites,
                                       OptInt signalId) {
    const std::size_t total = satellites.size();
    const std::size_t count = std::max<std::size_t>(1, (total + 3) / 4);
    std::vector<std::string> out;
    out.reserve(count);
    for (std::size_t s = 0; s < count; ++s) {
        SentenceWriter w('$', address(talker, "GSV"));
        w.integer(static_cast<long long>(count))
            .integer(static_cast<long long>(s + 1))
            .integer(static_cast<long long>(total), 2);
        for (std::size_t i = s * 4; i < std::min(total, s * 4 + 4); ++i) {
            const SatelliteView& v = satellites[i];
            w.integer(v.prn, 2).integer(v.elevation, 2).integer(v.azimuth, 3).integer(v.snr, 2);
        }
        if (signalId)
            w.integer(*signalId, 1);
        out.push_back(w.finish());
    }
    return out;
}

std::string buildHDT(std::string_view talker, double heading) {
    return SentenceWriter('$', address(talker, "HDT")).number(heading, 2).text("T").finish();
}

std::string buildATT(const AttData& d) {
    SentenceWriter w('$', AttitudeAddress);
    w.text("att").number(d.heading, 2).number(d.pitch, 2).number(d.roll, 2).text(timeField(d.time, 2));
    return w.finish();
}

std::string buildROT(std::string_view talker, OptDouble degreesPerMinute, char status) {
    return SentenceWriter('$', address(talker, "ROT")).number(degreesPerMinute, 1).text(letter(status)).finish();
}

std::string buildVHW(std::string_view talker, const VhwData& d) {
    SentenceWriter w('$', address(talker, "VHW"));
    w.number(d.headingTrue, 1).text("T").number(d.headingMagnetic, 1).text("M");
    w.number(d.speedKnots, 2).text("N");
    w.number(d.speedKnots ? OptDouble(*d.speedKnots * 1.852) : std::nullopt, 2).text("K");
    return w.finish();
}

std::string buildDBT(std::string_view talker, OptDouble depthMetres) {
    SentenceWriter w('$', address(talker, "DBT"));
    const auto scaled = [&](double factor) { return depthMetres ? OptDouble(*depthMetres * factor) : std::nullopt; };
    w.number(scaled(1.0 / 0.3048), 1).text("f").number(depthMetres, 1).text("M").number(scaled(1.0 / 1.8288), 1).text("F");
    return w.finish();
}

std::string buildTTM(std::string_view talker, const TtmData& d) {
    SentenceWriter w('$', address(talker, "TTM"));
    w.integer(d.targetNumber, 2)
        .number(d.distance, 2)
        .number(d.bearing, 1)
        .text(letter(d.bearingReference))
        .number(d.speed, 1)
        .number(d.course, 1)
        .text(letter(d.courseReference))
        .number(d.cpa, 2)
        .number(d.tcpa, 1)
        .text(letter(d.units))
        .text(d.name)
        .text(letter(d.status))
        .text(d.referenceTarget)
        .text(timeField(d.time, 2))
        .text(letter(d.acquisition));
    return w.finish();
}

}  // namespace tiderune::nmeagen
