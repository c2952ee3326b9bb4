// A large mix of every recognised sentence type for throughput measurements: plausible values
// drawn at random, some lines behind tag blocks, some with a wrong checksum, a few sentences
// the program does not read, and AIS messages that span two sentences.
#include <array>
#include <cmath>

#include "nmeagen/ais_encoder.h"
#include "nmeagen/generators.h"
#include "nmeagen/nmea_text.h"
#include "nmeagen/prng.h"
#include "nmeagen/sentences.h"

namespace tiderune::nmeagen {

namespace {

enum class Kind { GGA, GNS, GLL, RMC, ZDA, VTG, GSA, GST, GSV, HDT, ATT, ROT, VHW, DBT, TTM, VDM, VDO };

struct Weighted {
    Kind kind;
    int weight;
};

// Roughly the share of each type in a busy multi-sensor feed.
constexpr std::array<Weighted, 17> mix{{
    {Kind::GGA, 8}, {Kind::GNS, 5}, {Kind::GLL, 5}, {Kind::RMC, 8}, {Kind::ZDA, 3}, {Kind::VTG, 5},
    {Kind::GSA, 6}, {Kind::GST, 3}, {Kind::GSV, 12}, {Kind::HDT, 6}, {Kind::ATT, 6}, {Kind::ROT, 4},
    {Kind::VHW, 4}, {Kind::DBT, 4}, {Kind::TTM, 5}, {Kind::VDM, 12}, {Kind::VDO, 2},
}};

constexpr int totalWeight() {
    int sum = 0;
    for (const auto& w : mix)
        sum += w.weight;
    return sum;
}

constexpr std::array<std::string_view, 4> gnssTalkers{"GP", "GN", "GL", "GA"};

class StressMaker {
public:
    explicit StressMaker(const StressOptions& o) : options_(o), rng_(o.seed) {}

    void run(const LineSink& sink) {
        std::size_t written = 0;
        std::vector<std::string> lines;
        while (written < options_.lineCount) {
            lines.clear();
            make(lines);
            for (auto& line : lines) {
                if (written == options_.lineCount)
                    break;
                if (rng_.chance(options_.badChecksumShare))
                    line = breakChecksum(std::move(line));
                if (rng_.chance(options_.tagBlockShare))
                    line = tagBlock("s:STN" + zeroPadded(rng_.between(1, 12), 2) + ",c:" +
                                    std::to_string(static_cast<long long>(time_))) +
                           line;
                sink(line);
                ++written;
            }
            time_ += 0.1;
        }
    }

private:
    std::string_view talker() { return gnssTalkers[static_cast<std::size_t>(rng_.between(0, 3))]; }
    double lat() { return rng_.uniform(-80.0, 80.0); }
    double lon() { return rng_.uniform(-179.9, 179.9); }

    Kind pick() {
        int r = rng_.between(0, totalWeight() - 1);
        for (const auto& w : mix) {
            if (r < w.weight)
                return w.kind;
            r -= w.weight;
        }
        return Kind::GGA;
    }

    void make(std::vector<std::string>& out) {
        if (rng_.chance(options_.unknownShare)) {
            out.push_back(unknown());
            return;
        }
        switch (pick()) {
        case Kind::GGA: {
            GgaData d;
            d.time = time_;
            d.quality = rng_.chance(0.05) ? 0 : rng_.between(1, 5);
            d.latitude = lat();
            d.longitude = lon();
            d.satellites = rng_.between(4, 30);
            d.hdop = rng_.uniform(0.5, 3.0);
            d.altitude = rng_.uniform(-20.0, 300.0);
            d.geoidSeparation = rng_.uniform(-40.0, 50.0);
            if (d.quality == 2) {
                d.dgpsAge = rng_.uniform(0.0, 10.0);
                d.stationId = rng_.between(0, 1023);
            }
            out.push_back(buildGGA(talker(), d));
            break;
        }
        case Kind::GNS: {
            GnsData d;
            d.time = time_;
            d.latitude = lat();
            d.longitude = lon();
            d.mode = rng_.chance(0.05) ? "NNNN" : "AADN";
            d.satellites = rng_.between(4, 40);
            d.hdop = rng_.uniform(0.4, 2.5);
            d.altitude = rng_.uniform(0.0, 100.0);
            d.geoidSeparation = rng_.uniform(-40.0, 50.0);
            out.push_back(buildGNS("GN", d));
            break;
        }
        case Kind::GLL: {
            GllData d;
            d.time = time_;
            d.latitude = lat();
            d.longitude = lon();
            d.status = rng_.chance(0.05) ? 'V' : 'A';
            d.mode = d.status == 'A' ? 'D' : 'N';
            out.push_back(buildGLL(talker(), d));
            break;
        }
        case Kind::RMC: {
            RmcData d;
            d.time = time_;
            d.status = rng_.chance(0.05) ? 'V' : 'A';
            d.latitude = lat();
            d.longitude = lon();
            d.speedKnots = rng_.uniform(0.0, 25.0);
            d.courseTrue = rng_.uniform(0.0, 359.9);
            d.magneticVariation = rng_.uniform(-20.0, 20.0);
            out.push_back(buildRMC(talker(), d));
            break;
        }
        case Kind::ZDA:
            out.push_back(buildZDA(talker(), {time_, 0, 0}));
            break;
        case Kind::VTG: {
            VtgData d;
            d.courseTrue = rng_.uniform(0.0, 359.9);
            d.courseMagnetic = rng_.uniform(0.0, 359.9);
            d.speedKnots = rng_.uniform(0.0, 25.0);
            out.push_back(buildVTG(talker(), d));
            break;
        }
        case Kind::GSA: {
            GsaData d;
            d.fixType = rng_.between(1, 3);
            const int n = rng_.between(0, 12);
            const int base = rng_.chance(0.3) ? 64 : 0;
            for (int i = 0; i < n; ++i)
                d.prns.push_back(base + 1 + (i * 3 + rng_.between(0, 2)) % 32);
            d.pdop = rng_.uniform(0.8, 4.0);
            d.hdop = rng_.uniform(0.5, 3.0);
            d.vdop = rng_.uniform(0.6, 3.5);
            if (rng_.chance(0.3))
                d.systemId = rng_.between(1, 4);
            out.push_back(buildGSA("GN", d));
            break;
        }
        case Kind::GST: {
            GstData d;
            d.time = time_;
            d.rms = rng_.uniform(0.1, 30.0);
            d.sdSemiMajor = rng_.uniform(0.1, 20.0);
            d.sdSemiMinor = rng_.uniform(0.1, 10.0);
            d.orientation = rng_.uniform(0.0, 180.0);
            d.sdLatitude = rng_.uniform(0.01, 10.0);
            d.sdLongitude = rng_.uniform(0.01, 10.0);
            d.sdAltitude = rng_.uniform(0.02, 20.0);
            out.push_back(buildGST(talker(), d));
            break;
        }
        case Kind::GSV: {
            static constexpr std::array<std::pair<std::string_view, int>, 4> constellations{
                {{"GP", 0}, {"GL", 64}, {"GB", 100}, {"GA", 300}}};
            const auto& [t, base] = constellations[static_cast<std::size_t>(rng_.between(0, 3))];
            std::vector<SatelliteView> sats;
            const int n = rng_.between(0, 14);
            for (int i = 0; i < n; ++i) {
                SatelliteView v;
                v.prn = base + 1 + i * 2;
                v.elevation = rng_.between(0, 90);
                v.azimuth = rng_.between(0, 359);
                if (!rng_.chance(0.2))
                    v.snr = rng_.between(15, 52);
                sats.push_back(v);
            }
            auto group = buildGSVGroup(t, sats, rng_.chance(0.2) ? OptInt(1) : std::nullopt);
            for (auto& s : group)
                out.push_back(std::move(s));
            break;
        }
        case Kind::HDT:
            out.push_back(buildHDT("HE", rng_.uniform(0.0, 359.99)));
            break;
        case Kind::ATT:
            out.push_back(buildATT({time_, rng_.uniform(0.0, 359.99), rng_.uniform(-10.0, 10.0), rng_.uniform(-20.0, 20.0)}));
            break;
        case Kind::ROT:
            out.push_back(buildROT("HE", rng_.uniform(-300.0, 300.0), rng_.chance(0.05) ? 'V' : 'A'));
            break;
        case Kind::VHW: {
            VhwData d;
            d.headingTrue = rng_.uniform(0.0, 359.9);
            d.headingMagnetic = rng_.uniform(0.0, 359.9);
            d.speedKnots = rng_.uniform(0.0, 20.0);
            out.push_back(buildVHW("VW", d));
            break;
        }
        case Kind::DBT:
            out.push_back(buildDBT("SD", rng_.uniform(1.0, 400.0)));
            break;
        case Kind::TTM: {
            TtmData d;
            d.targetNumber = rng_.between(1, 99);
            d.distance = rng_.uniform(0.1, 24.0);
            d.bearing = rng_.uniform(0.0, 359.9);
            d.speed = rng_.uniform(0.0, 30.0);
            d.course = rng_.uniform(0.0, 359.9);
            d.cpa = rng_.uniform(0.0, 10.0);
            d.tcpa = rng_.uniform(-60.0, 60.0);
            d.name = "TGT" + zeroPadded(d.targetNumber, 2);
            d.status = rng_.chance(0.1) ? 'L' : 'T';
            d.time = time_;
            out.push_back(buildTTM("RA", d));
            break;
        }
        case Kind::VDM:
        case Kind::VDO:
            ais(out, rng_.chance(0.15) ? "AIVDO" : "AIVDM");
            break;
        }
    }

    void ais(std::vector<std::string>& out, std::string_view address) {
        const std::uint32_t mmsi = 200000000U + static_cast<std::uint32_t>(rng_.between(0, 599999999));
        AisPayload p;
        switch (rng_.between(0, 10)) {
        case 10: {
            // The rarer messages: SAR aircraft, safety broadcast, long-range position.
            const int which = rng_.between(0, 2);
            if (which == 0) {
                SarAircraft m;
                m.mmsi = 111257000U + static_cast<std::uint32_t>(rng_.between(0, 999));
                m.altitude = rng_.between(50, 3000);
                m.speed = rng_.uniform(60.0, 250.0);
                m.longitude = lon();
                m.latitude = lat();
                m.course = rng_.uniform(0.0, 359.9);
                m.timeStamp = rng_.between(0, 59);
                p = encodeSarAircraft(m);
            } else if (which == 1) {
                p = encodeSafetyBroadcast({0, mmsi, rng_.chance(0.5) ? "SECURITE DERELICT CONTAINER ADRIFT IN POSITION REPORTED, ALL SHIPS KEEP SHARP LOOKOUT" : "TEST"});
            } else {
                LongRangePosition m;
                m.mmsi = mmsi;
                m.navStatus = rng_.between(0, 8);
                m.longitude = lon();
                m.latitude = lat();
                m.speed = rng_.uniform(0.0, 25.0);
                m.course = rng_.uniform(0.0, 359.9);
                p = encodeLongRange(m);
            }
            break;
        }
        case 0: {
            StaticVoyage m;
            m.mmsi = mmsi;
            m.imo = 9000000U + static_cast<std::uint32_t>(rng_.between(0, 999999));
            m.callSign = "LA" + zeroPadded(rng_.between(0, 9999), 4);
            m.name = "STRESS VESSEL " + zeroPadded(rng_.between(0, 999), 3);
            m.shipType = rng_.between(30, 89);
            m.toBow = rng_.between(5, 200);
            m.toStern = rng_.between(5, 100);
            m.toPort = rng_.between(2, 20);
            m.toStarboard = rng_.between(2, 20);
            m.etaMonth = rng_.between(1, 12);
            m.etaDay = rng_.between(1, 28);
            m.etaHour = rng_.between(0, 23);
            m.etaMinute = rng_.between(0, 59);
            m.draught = rng_.uniform(1.0, 15.0);
            m.destination = "PORT " + zeroPadded(rng_.between(0, 99), 2);
            p = encodeStaticVoyage(m);
            break;
        }
        case 1: {
            ClassBPosition m;
            m.mmsi = mmsi;
            m.speed = rng_.uniform(0.0, 20.0);
            m.longitude = lon();
            m.latitude = lat();
            m.course = rng_.uniform(0.0, 359.9);
            m.timeStamp = rng_.between(0, 59);
            p = encodeClassBPosition(m);
            break;
        }
        case 2: {
            if (rng_.chance(0.5)) {
                p = encodeStaticDataA({0, mmsi, "SAILING YACHT " + zeroPadded(rng_.between(0, 99), 2)});
            } else {
                StaticDataB m;
                m.mmsi = mmsi;
                m.shipType = 36;
                m.vendorId = "GENSTRS";
                m.callSign = "SB" + zeroPadded(rng_.between(0, 9999), 4);
                m.toBow = 6;
                m.toStern = 4;
                m.toPort = 2;
                m.toStarboard = 2;
                p = encodeStaticDataB(m);
            }
            break;
        }
        case 3: {
            if (rng_.chance(0.5)) {
                BaseStationReport m;
                m.mmsi = 2570000U + static_cast<std::uint32_t>(rng_.between(0, 9999));
                const UtcDateTime t = utcFromUnix(time_);
                m.year = t.year;
                m.month = t.month;
                m.day = t.day;
                m.hour = t.hour;
                m.minute = t.minute;
                m.second = static_cast<int>(t.second);
                m.longitude = lon();
                m.latitude = lat();
                p = encodeBaseStation(m);
            } else if (rng_.chance(0.5)) {
                AidToNavigation m;
                m.mmsi = 992570000U + static_cast<std::uint32_t>(rng_.between(0, 9999));
                m.aidType = rng_.between(1, 31);
                m.name = rng_.chance(0.5) ? "STRESS BUOY" : "STRESS LIGHTHOUSE WITH LONG NAME";
                m.longitude = lon();
                m.latitude = lat();
                p = encodeAidToNavigation(m);
            } else {
                ClassBExtended m;
                m.mmsi = mmsi;
                m.speed = rng_.uniform(0.0, 20.0);
                m.longitude = lon();
                m.latitude = lat();
                m.name = "EXTENDED B " + zeroPadded(rng_.between(0, 99), 2);
                m.shipType = 37;
                p = encodeClassBExtended(m);
            }
            break;
        }
        default: {
            ClassAPosition m;
            m.messageId = rng_.between(1, 3);
            m.mmsi = mmsi;
            m.navStatus = rng_.between(0, 8);
            m.rateOfTurn = rateOfTurnIndicator(rng_.uniform(-700.0, 700.0));
            m.speed = rng_.uniform(0.0, 30.0);
            m.longitude = lon();
            m.latitude = lat();
            m.course = rng_.uniform(0.0, 359.9);
            m.heading = rng_.between(0, 359);
            m.timeStamp = rng_.between(0, 59);
            m.radio = static_cast<std::uint32_t>(rng_.between(0, (1 << 19) - 1));
            p = encodeClassAPosition(m);
            break;
        }
        }
        sequence_ = (sequence_ + 1) % 10;
        for (auto& s : encapsulate(p, rng_.chance(0.5) ? 'A' : 'B', sequence_, address))
            out.push_back(std::move(s));
    }

    std::string unknown() {
        switch (rng_.between(0, 2)) {
        case 0:
            return SentenceWriter('$', "GPXTE").text("A").text("A").number(rng_.uniform(0, 2), 3).text("L").text("N").text("D").finish();
        case 1:
            return SentenceWriter('$', "WIMWV").number(rng_.uniform(0, 359), 1).text("R").number(rng_.uniform(0, 30), 1).text("N").text("A").finish();
        default:
            return SentenceWriter('$', "SDMTW").number(rng_.uniform(2, 25), 1).text("C").finish();
        }
    }

    StressOptions options_;
    Prng rng_;
    double time_ = 1781510400.0;
    int sequence_ = 0;
};

}  // namespace

void generateStress(const StressOptions& options, const LineSink& sink) {
    StressMaker(options).run(sink);
}

std::vector<std::string> stressLines(const StressOptions& options) {
    std::vector<std::string> lines;
    lines.reserve(options.lineCount);
    generateStress(options, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

}  // namespace tiderune::nmeagen
