// The demo recording: one hour of a survey vessel moored in a fjord, as its sensor
// multiplexer delivers it on one line. A multi-constellation GNSS receiver (1 Hz position,
// DOP, error estimates and time; satellites in view every 5 s), a gyro, a motion sensor, a
// speed log, an echosounder, the radar's tracked targets and the AIS transponder with the
// traffic around. The receiver switches between DGPS and RTK and loses its fix three times
// (interference); the echosounder loses the bottom twice and the motion sensor has a few
// spikes, so that the statistics have something to reject.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "nmeagen/ais_encoder.h"
#include "nmeagen/generators.h"
#include "nmeagen/nmea_text.h"
#include "nmeagen/prng.h"
#include "nmeagen/sentences.h"

namespace tiderune::nmeagen {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Deg = Pi / 180.0;
constexpr double EarthRadius = 6371000.0;
constexpr double Knot = 1852.0 / 3600.0;  // metres per second

// The berth: a quay on the west side of the fjord.
constexpr double BerthLatitude = 59.41873;
constexpr double BerthLongitude = 10.49215;
constexpr double MagneticVariation = 3.6;  // degrees east
constexpr double GeoidSeparation = 39.8;
constexpr double AntennaHeight = 6.35;    // above the geoid at mean tide
constexpr double MooredHeading = 183.7;
constexpr double DepthAtBerth = 8.9;      // under the transducer at mean tide
constexpr std::uint32_t OwnMmsi = 257842000;
// The session is planned for an hour; a shorter one is its beginning, a longer one goes on
// in DGPS.
constexpr double SessionPlan = 3600.0;
constexpr int RtkFrom = 600, RtkTo = 2400;

struct Local {
    double east = 0, north = 0;  // metres from the berth
};

double latitudeOf(const Local& p) {
    return BerthLatitude + p.north / EarthRadius / Deg;
}
double longitudeOf(const Local& p) {
    return BerthLongitude + p.east / (EarthRadius * std::cos(BerthLatitude * Deg)) / Deg;
}

double wrap360(double a) {
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360.0 : a;
}

double wrap180(double a) {
    a = wrap360(a);
    return a > 180.0 ? a - 360.0 : a;
}

// ---------------------------------------------------------------------------------------
// Satellites: each visible one follows one pass across the sky during the hour.

enum class Constellation { GPS, GLONASS, Galileo, BeiDou };

struct Satellite {
    Constellation constellation = Constellation::GPS;
    int number = 0;            // as the receiver reports it
    double rise = 0;           // seconds from the start of the session
    double duration = 0;       // of the whole pass
    double gap = 0;            // below the horizon between two passes
    double maxElevation = 0;   // degrees
    double azimuthMid = 0, azimuthSweep = 0;
    double snrBias = 0;
    GaussMarkov snrNoise{1.2, 20.0};
    // Per epoch:
    double elevation = -1, azimuth = 0;
    std::optional<int> snr;
    bool used = false;
};

struct ConstellationInfo {
    Constellation constellation;
    std::string_view talker;
    int firstNumber;  // numbers the receiver uses: GPS 1-32, GLONASS 65-88, Galileo 301-336,
                      // BeiDou 100 + PRN
    int count;
    int visible;
    double passHours;
};

constexpr std::array<ConstellationInfo, 4> constellations{{
    {Constellation::GPS, "GP", 1, 32, 12, 6.0},
    {Constellation::GLONASS, "GL", 65, 24, 9, 5.0},
    {Constellation::Galileo, "GA", 301, 36, 9, 6.5},
    {Constellation::BeiDou, "GB", 119, 28, 10, 6.0},
}};

// ---------------------------------------------------------------------------------------
// Traffic: vessels on routes around the berth.

struct Route {
    std::vector<Local> points;
    double speedKnots = 10;
    enum Kind { Once, PingPong, Loop };
    Kind kind = Once;        // ferries run back and forth, waiting at each end; patrols loop
    double dwell = 0;        // seconds at each end
    double offset = 0;       // metres along the route at the start
};

enum class AisClass { None, A, B };

struct Vessel {
    AisClass aisClass = AisClass::A;
    std::uint32_t mmsi = 0;
    std::string name, callSign, destination;
    std::uint32_t imo = 0;
    int shipType = 70;
    int toBow = 50, toStern = 20, toPort = 8, toStarboard = 8;
    double draught = 5.0;
    int navStatus = 0;          // 0 under way, 1 at anchor, 5 moored
    int messageId = 1;          // 1 or 3 for class A
    bool sendsExtended = false;  // class B unit that answers with message 19
    Route route;
    Local anchor;               // for vessels that do not move
    int radarTarget = 0;        // target number on the radar, 0 when not tracked
    std::string radarName;
    // Per epoch:
    Local position;
    double course = 0, speed = 0, heading = 0, rateOfTurn = 0, trackCourse = 0;
    double nextReport = 0, nextStatic = 0;
    int slotTimeout = 0;
    bool wasTracked = false;
};

struct RouteState {
    Local position;
    double course = 0, speed = 0;
};

RouteState followRoute(const Route& r, double t) {
    RouteState s;
    std::vector<double> lengths;
    double total = 0;
    for (std::size_t i = 1; i < r.points.size(); ++i) {
        const double l = std::hypot(r.points[i].east - r.points[i - 1].east, r.points[i].north - r.points[i - 1].north);
        lengths.push_back(l);
        total += l;
    }
    const double speed = r.speedKnots * Knot;
    double along = r.offset + speed * t;
    bool backwards = false;
    bool waiting = false;
    if (r.kind == Route::Loop) {
        along = std::fmod(along, total);
    } else if (r.kind == Route::PingPong) {
        const double leg = total / speed + r.dwell;  // seconds for one way with its wait
        double phase = std::fmod(along / speed, 2 * leg);
        if (phase < 0)
            phase += 2 * leg;
        backwards = phase >= leg;
        double inLeg = backwards ? phase - leg : phase;
        if (inLeg > total / speed) {
            waiting = true;
            inLeg = total / speed;
        }
        along = inLeg * speed;
        if (backwards)
            along = total - along;
    } else {
        along = std::clamp(along, 0.0, total);
        if (along >= total)
            waiting = true;
    }
    std::size_t seg = 0;
    while (seg + 1 < lengths.size() && along > lengths[seg]) {
        along -= lengths[seg];
        ++seg;
    }
    const Local& a = r.points[seg];
    const Local& b = r.points[seg + 1];
    const double f = lengths[seg] > 0 ? std::min(1.0, along / lengths[seg]) : 0.0;
    s.position = {a.east + (b.east - a.east) * f, a.north + (b.north - a.north) * f};
    double c = std::atan2(b.east - a.east, b.north - a.north) / Deg;
    if (backwards)
        c += 180.0;
    s.course = wrap360(c);
    s.speed = waiting ? 0.0 : r.speedKnots;
    return s;
}

// ---------------------------------------------------------------------------------------

class DemoSession {
public:
    DemoSession(const DemoOptions& o, const LineSink& sink) : o_(o), sink_(sink), rng_(o.seed) {
        makeSatellites();
        makeTraffic();
    }

    void run() {
        for (int k = 0; k < o_.durationSeconds; ++k)
            epoch(k);
    }

private:
    void emit(const std::string& line) { sink_(line); }
    void emitAll(const std::vector<std::string>& lines) {
        for (const auto& l : lines)
            emit(l);
    }

    // -- set-up ----------------------------------------------------------------------

    void makeSatellites() {
        for (const auto& c : constellations) {
            std::vector<int> numbers;
            for (int i = 0; i < c.count; ++i)
                numbers.push_back(c.firstNumber + i);
            // A deterministic shuffle; the first `visible` satellites pass overhead during the
            // planned hour, the others rise after it.
            for (std::size_t i = numbers.size() - 1; i > 0; --i)
                std::swap(numbers[i], numbers[static_cast<std::size_t>(rng_.between(0, static_cast<int>(i)))]);
            for (int i = 0; i < c.count; ++i) {
                Satellite s;
                s.constellation = c.constellation;
                s.number = numbers[static_cast<std::size_t>(i)];
                s.duration = c.passHours * 3600.0 * rng_.uniform(0.8, 1.1);
                // Most passes span the hour; a few satellites rise or set during it.
                const double span = SessionPlan;
                // Below the horizon a satellite stays away for one and a half passes, so a
                // session longer than the hour keeps about as many in view.
                s.gap = s.duration * 1.5;
                if (i < c.visible - 3)
                    s.rise = rng_.uniform(-s.duration + span * 0.9, -span * 0.2);
                else if (i < c.visible)
                    s.rise = rng_.uniform(-s.duration + span * 0.2, span * 0.7);
                else
                    s.rise = rng_.uniform(span, span + s.gap);
                s.maxElevation = rng_.uniform(15.0, 87.0);
                s.azimuthMid = rng_.uniform(0.0, 360.0);
                s.azimuthSweep = rng_.uniform(90.0, 170.0) * (rng_.chance(0.5) ? 1 : -1);
                s.snrBias = rng_.uniform(-3.0, 3.0);
                sats_.push_back(s);
            }
        }
        std::stable_sort(sats_.begin(), sats_.end(), [](const Satellite& a, const Satellite& b) {
            return a.constellation == b.constellation ? a.number < b.number
                                                      : static_cast<int>(a.constellation) < static_cast<int>(b.constellation);
        });
    }

    void makeTraffic() {
        auto add = [&](Vessel v) {
            v.nextReport = rng_.uniform(0.0, 10.0);
            v.nextStatic = rng_.uniform(5.0, 360.0);
            v.slotTimeout = rng_.between(0, 7);
            vessels_.push_back(std::move(v));
        };
        // Class A: two ferries crossing the fjord, traffic along it, a tug, a fishing vessel,
        // a tanker at anchor and a cargo ship at the next quay.
        {
            Vessel v;
            v.mmsi = 257011240, v.name = "FJORDLINK", v.callSign = "LJTR", v.imo = 9612345, v.shipType = 60;
            v.toBow = 70, v.toStern = 40, v.toPort = 9, v.toStarboard = 9, v.draught = 4.2, v.destination = "MOSS";
            v.route = {{{600, 300}, {3500, 1200}, {7200, 1900}}, 12.5, Route::PingPong, 420, 900};
            v.radarTarget = 1, v.radarName = "";
            add(v);
        }
        {
            Vessel v;
            v.mmsi = 257011250, v.name = "BASTOE VI", v.callSign = "LJTS", v.imo = 9612357, v.shipType = 60;
            v.toBow = 70, v.toStern = 40, v.toPort = 9, v.toStarboard = 9, v.draught = 4.2, v.destination = "MOSS";
            v.route = {{{600, 300}, {3500, 1200}, {7200, 1900}}, 12.5, Route::PingPong, 420, 6500};
            v.radarTarget = 2;
            add(v);
        }
        {
            Vessel v;
            v.mmsi = 219004561, v.name = "NORDIC STAR", v.callSign = "OZKT2", v.imo = 9301234, v.shipType = 70;
            v.toBow = 120, v.toStern = 30, v.toPort = 12, v.toStarboard = 12, v.draught = 7.8, v.destination = "OSLO";
            v.route = {{{2500, -9000}, {2200, -2000}, {1500, 3000}, {800, 9000}, {-200, 24000}}, 11.8, Route::PingPong, 0, 2500};
            v.radarTarget = 3, v.radarName = "NORDIC";
            add(v);
        }
        {
            Vessel v;
            v.mmsi = 636019824, v.name = "ATLANTIC PIONEER", v.callSign = "D5QX4", v.imo = 9455012, v.shipType = 80;
            v.toBow = 150, v.toStern = 33, v.toPort = 16, v.toStarboard = 16, v.draught = 10.4, v.destination = "NOSLO";
            v.route = {{{900, 9500}, {1700, 2500}, {2600, -3000}, {3000, -9500}, {3600, -26000}}, 13.2, Route::PingPong, 0, 1200};
            v.radarTarget = 4;
            v.messageId = 3;
            add(v);
        }
        {
            Vessel v;
            v.mmsi = 257233400, v.name = "BUKSER 7", v.callSign = "LM8Q", v.imo = 0, v.shipType = 52;
            v.toBow = 18, v.toStern = 10, v.toPort = 5, v.toStarboard = 5, v.draught = 3.6, v.destination = "HORTEN";
            v.route = {{{300, -200}, {1200, -1500}, {2400, -1400}, {2900, 200}, {1200, 800}, {300, -200}}, 7.5, Route::Loop, 0, 0};
            v.radarTarget = 5;
            add(v);
        }
        {
            Vessel v;
            v.mmsi = 257600770, v.name = "HAVFRUE", v.callSign = "LFQW", v.imo = 0, v.shipType = 30;
            v.toBow = 14, v.toStern = 8, v.toPort = 4, v.toStarboard = 4, v.draught = 2.8, v.destination = "FISKE";
            v.route = {{{4200, -5200}, {5200, -4600}, {5600, -5800}, {4300, -6400}, {4200, -5200}}, 3.2, Route::Loop, 0, 0};
            add(v);
        }
        {
            Vessel v;
            v.mmsi = 538008811, v.name = "CALYPSO SPIRIT", v.callSign = "V7ZQ3", v.imo = 9388001, v.shipType = 84;
            v.toBow = 200, v.toStern = 45, v.toPort = 22, v.toStarboard = 22, v.draught = 12.1, v.destination = "SLAGEN";
            v.navStatus = 1, v.anchor = {4800, 2600};
            v.radarTarget = 6;
            add(v);
        }
        {
            Vessel v;
            v.mmsi = 257123800, v.name = "KYSTVAKT", v.callSign = "LCKV", v.imo = 9122334, v.shipType = 71;
            v.toBow = 60, v.toStern = 25, v.toPort = 10, v.toStarboard = 10, v.draught = 5.5, v.destination = "HORTEN";
            v.navStatus = 5, v.anchor = {-40, 310};
            add(v);
        }
        // Class B: leisure craft.
        {
            Vessel v;
            v.aisClass = AisClass::B, v.mmsi = 257998120, v.name = "SOLVIND", v.callSign = "LG4512", v.shipType = 36;
            v.toBow = 8, v.toStern = 4, v.toPort = 2, v.toStarboard = 2;
            v.route = {{{-300, 2600}, {1800, 1200}, {2600, -1900}, {900, -4200}}, 5.8, Route::PingPong, 300, 0};
            v.radarTarget = 7;
            add(v);
        }
        {
            Vessel v;
            v.aisClass = AisClass::B, v.mmsi = 257998340, v.name = "MARIANNE", v.callSign = "LH7723", v.shipType = 37;
            v.toBow = 7, v.toStern = 3, v.toPort = 2, v.toStarboard = 1;
            v.route = {{{3100, 4600}, {1100, 600}, {400, 150}}, 18.5, Route::Once, 0, 0};
            v.sendsExtended = true;
            add(v);
        }
        {
            Vessel v;
            v.aisClass = AisClass::B, v.mmsi = 257998560, v.name = "LILLE MAAKE", v.callSign = "LE2290", v.shipType = 36;
            v.toBow = 6, v.toStern = 3, v.toPort = 1, v.toStarboard = 2;
            v.route = {{{5200, 800}, {6100, -1300}, {5000, -2600}, {5200, 800}}, 4.6, Route::Loop, 0, 0};
            add(v);
        }
        {
            Vessel v;
            v.aisClass = AisClass::B, v.mmsi = 257998770, v.name = "RIB 11", v.callSign = "", v.shipType = 37;
            v.toBow = 5, v.toStern = 3, v.toPort = 1, v.toStarboard = 1;
            v.navStatus = 5, v.anchor = {-60, -380};
            add(v);
        }
        // A small boat without AIS that only the radar sees.
        {
            Vessel v;
            v.aisClass = AisClass::None;
            v.route = {{{2000, 300}, {1300, -900}, {2600, -2200}}, 4.0, Route::PingPong, 120, 0};
            v.radarTarget = 8;
            add(v);
        }
    }

    // -- one second ------------------------------------------------------------------

    void epoch(int k) {
        const double t = o_.startTime + k;
        updateOwnShip(k);
        updateSatellites(k);
        gnss(k, t);
        sensors(k, t);
        traffic(k, t);
    }

    // The receiver's mode at second k: DGPS, then RTK (with short float spells), then DGPS
    // again; three interference spells with no fix and a few seconds of autonomous fixes
    // after each.
    struct Outage {
        int from, to;
    };
    static constexpr std::array<Outage, 3> outages{{{1320, 1365}, {2712, 2731}, {3305, 3317}}};

    bool jammed(int k) const {
        for (const auto& o : outages)
            if (k >= o.from && k < o.to)
                return true;
        return false;
    }

    int quality(int k) const {
        if (jammed(k))
            return 0;
        for (const auto& o : outages)
            if (k >= o.to && k < o.to + 8)
                return 1;
        if (k >= RtkFrom && k < RtkTo) {
            const int intoRtk = k - RtkFrom;
            if (intoRtk < 25 || (k % 600) < 14)
                return 5;
            for (const auto& o : outages)
                if (k >= o.to + 8 && k < o.to + 40)
                    return 5;
            return 4;
        }
        return 2;
    }

    double horizontalSigma(int q) const {
        switch (q) {
        case 1: return 1.6;
        case 2: return 0.45;
        case 4: return 0.012;
        case 5: return 0.18;
        default: return 0;
        }
    }

    void updateOwnShip(int k) {
        const double t = k;
        const int q = quality(k);
        if (q != lastQuality_) {
            // A new solution starts from another error; the correlated part jumps.
            const double s = horizontalSigma(q);
            errNorth_ = GaussMarkov(s, q == 1 ? 90.0 : 40.0);
            errEast_ = GaussMarkov(s, q == 1 ? 90.0 : 40.0);
            errUp_ = GaussMarkov(s * 1.8, q == 1 ? 90.0 : 40.0);
            for (int i = 0; i < 60; ++i) {
                errNorth_.step(rng_);
                errEast_.step(rng_);
                errUp_.step(rng_);
            }
            lastQuality_ = q;
        }
        errNorth_.step(rng_);
        errEast_.step(rng_);
        errUp_.step(rng_);
        tide_ = 0.42 * std::sin(2 * Pi * (t + 1500.0) / (12.42 * 3600.0)) - 0.05;
        // The hull surges and sways a little on its lines.
        surge_ = 0.22 * std::sin(2 * Pi * t / 47.0) + 0.08 * std::sin(2 * Pi * t / 13.0 + 1.0);
        sway_ = 0.12 * std::sin(2 * Pi * t / 61.0 + 0.4);
        const double yawSwing = 0.45 * std::sin(2 * Pi * t / 95.0) + 0.2 * std::sin(2 * Pi * t / 31.0 + 0.7);
        const double previousHeading = heading_;
        heading_ = wrap360(MooredHeading + yawSwing + gyroNoise_.step(rng_));
        rot_ = k == 0 ? 0.0 : wrap180(heading_ - previousHeading) * 60.0;
        pitch_ = 0.35 * std::sin(2 * Pi * t / 6.8 + 0.3) + 0.15 * std::sin(2 * Pi * t / 4.1) + rng_.gauss(0.03) - 0.2;
        roll_ = 1.6 * std::sin(2 * Pi * t / 9.3) + 0.6 * std::sin(2 * Pi * t / 5.7 + 1.1) + rng_.gauss(0.05) + 0.4;
    }

    Local antenna() const {
        const double h = heading_ * Deg;
        return {surge_ * std::sin(h) + sway_ * std::cos(h) + errEast_.value(),
                surge_ * std::cos(h) - sway_ * std::sin(h) + errNorth_.value()};
    }

    void updateSatellites(int k) {
        const bool jam = jammed(k);
        for (auto& s : sats_) {
            const double sinceRise = k - s.rise;
            const double p = sinceRise < 0 ? -1.0 : std::fmod(sinceRise, s.duration + s.gap) / s.duration;
            const double noise = s.snrNoise.step(rng_);
            if (p <= 0 || p >= 1) {
                s.elevation = -1;
                s.snr.reset();
                s.used = false;
                continue;
            }
            s.elevation = s.maxElevation * std::sin(Pi * p);
            s.azimuth = wrap360(s.azimuthMid + s.azimuthSweep * (p - 0.5));
            double snr = 22.0 + 26.0 * std::sqrt(std::sin(s.elevation * Deg)) + s.snrBias + noise;
            if (jam)
                snr -= 24.0;
            else if (k >= 1300 && k < 1320)
                snr -= (k - 1300) * 0.9;  // the interference builds up before the fix is lost
            s.snr.reset();
            if (s.elevation >= 3.0 && snr >= 18.0)
                s.snr = static_cast<int>(std::lround(std::min(snr, 54.0)));
            s.used = !jam && s.elevation >= 10.0 && s.snr && *s.snr >= 28;
        }
    }

    struct Dops {
        std::optional<double> pdop, hdop, vdop;
        int used = 0;
    };

    // Dilution of precision of the satellites used, from their geometry.
    Dops dops() const {
        double n[4][4] = {};
        int used = 0;
        for (const auto& s : sats_) {
            if (!s.used)
                continue;
            ++used;
            const double e = s.elevation * Deg, a = s.azimuth * Deg;
            const double row[4] = {-std::cos(e) * std::sin(a), -std::cos(e) * std::cos(a), -std::sin(e), 1.0};
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 4; ++j)
                    n[i][j] += row[i] * row[j];
        }
        Dops d;
        d.used = used;
        if (used < 4)
            return d;
        // Gauss-Jordan inverse of the 4x4 normal matrix.
        double inv[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        for (int c = 0; c < 4; ++c) {
            int pivot = c;
            for (int r = c + 1; r < 4; ++r)
                if (std::fabs(n[r][c]) > std::fabs(n[pivot][c]))
                    pivot = r;
            if (std::fabs(n[pivot][c]) < 1e-12)
                return d;
            for (int j = 0; j < 4; ++j) {
                std::swap(n[c][j], n[pivot][j]);
                std::swap(inv[c][j], inv[pivot][j]);
            }
            const double div = n[c][c];
            for (int j = 0; j < 4; ++j) {
                n[c][j] /= div;
                inv[c][j] /= div;
            }
            for (int r = 0; r < 4; ++r) {
                if (r == c)
                    continue;
                const double f = n[r][c];
                for (int j = 0; j < 4; ++j) {
                    n[r][j] -= f * n[c][j];
                    inv[r][j] -= f * inv[c][j];
                }
            }
        }
        d.hdop = std::sqrt(inv[0][0] + inv[1][1]);
        d.vdop = std::sqrt(inv[2][2]);
        d.pdop = std::sqrt(inv[0][0] + inv[1][1] + inv[2][2]);
        return d;
    }

    void gnss(int k, double t) {
        const int q = quality(k);
        const bool fix = q != 0;
        const Dops dop = dops();
        const Local a = antenna();
        const OptDouble lat = fix ? OptDouble(latitudeOf(a)) : std::nullopt;
        const OptDouble lon = fix ? OptDouble(longitudeOf(a)) : std::nullopt;
        const double altitude = AntennaHeight + tide_ + errUp_.value();
        const OptDouble hdop = fix ? dop.hdop : std::nullopt;
        // Speed over ground of a moored hull is the receiver's noise.
        if (k == 0)
            lastAntenna_ = a;
        const double vn = a.north - lastAntenna_.north, ve = a.east - lastAntenna_.east;
        lastAntenna_ = a;
        const double sog = fix ? std::min(0.6, std::hypot(vn, ve) / Knot * (q >= 4 ? 1.0 : 0.15)) : 0.0;
        const OptDouble cog = fix && sog > 0.05 ? OptDouble(wrap360(std::atan2(ve, vn) / Deg)) : std::nullopt;
        // RMC, VTG and GLL know no RTK letters; GNS does.
        const char mode = q == 0 ? 'N' : q == 1 ? 'A' : 'D';
        const char gnsMode = q == 4 ? 'R' : q == 5 ? 'F' : mode;
        OptDouble age;
        OptInt station;
        if (q == 2) {
            age = 1.0 + (k % 6) + rng_.uniform(0.0, 0.9);
            station = 113;
        } else if (q >= 4) {
            age = 1.0;
            station = 42;
        }

        RmcData rmc{t, fix ? 'A' : 'V', lat, lon, sog, cog, MagneticVariation, mode};
        emit(buildRMC("GN", rmc));
        VtgData vtg{cog, cog ? OptDouble(wrap360(*cog - MagneticVariation)) : std::nullopt,
                    fix ? OptDouble(sog) : std::nullopt, mode};
        emit(buildVTG("GN", vtg));
        GgaData gga{t, lat, lon, q, fix ? dop.used : 0, hdop, altitude, GeoidSeparation, age, station};
        emit(buildGGA("GN", gga));

        // One GSA per constellation, satellites used in the fix.
        for (const auto& c : constellations) {
            GsaData g;
            g.fixType = fix ? 3 : 1;
            for (const auto& s : sats_)
                if (s.constellation == c.constellation && s.used && fix)
                    g.prns.push_back(s.number);
            g.pdop = fix ? dop.pdop : std::nullopt;
            g.hdop = hdop;
            g.vdop = fix ? dop.vdop : std::nullopt;
            emit(buildGSA("GN", g));
        }
        if (o_.gsvIntervalSeconds > 0 && k % o_.gsvIntervalSeconds == 0) {
            for (const auto& c : constellations) {
                std::vector<SatelliteView> view;
                for (const auto& s : sats_) {
                    if (s.constellation != c.constellation || s.elevation < 0)
                        continue;
                    view.push_back({s.number, std::lround(s.elevation), std::lround(s.azimuth) % 360,
                                    s.snr ? OptInt(*s.snr) : std::nullopt});
                }
                emitAll(buildGSVGroup(c.talker, view));
            }
        }
        GllData gll{t, lat, lon, fix ? 'A' : 'V', mode};
        emit(buildGLL("GN", gll));

        GstData gst;
        gst.time = t;
        if (fix) {
            const double s = horizontalSigma(q) * (hdop ? *hdop / 0.7 : 1.0);
            const double sn = s * rng_.uniform(0.9, 1.1), se = s * rng_.uniform(0.75, 0.95);
            gst.rms = (q >= 4 ? 0.35 : 1.1) * rng_.uniform(0.7, 1.4);
            gst.sdSemiMajor = std::max(sn, se) * 1.05;
            gst.sdSemiMinor = std::min(sn, se) * 0.95;
            gst.orientation = std::max(0.0, 12.0 + rng_.gauss(3.0));
            gst.sdLatitude = sn;
            gst.sdLongitude = se;
            gst.sdAltitude = s * (dop.vdop && dop.hdop ? *dop.vdop / *dop.hdop : 1.8);
        }
        emit(buildGST("GN", gst));
        emit(buildZDA("GN", {t, 0, 0}));
        const std::string modes(4, gnsMode);
        GnsData gns{t, lat, lon, modes, fix ? dop.used : 0, hdop, altitude, GeoidSeparation, age, station};
        emit(buildGNS("GN", gns));
    }

    void sensors(int k, double t) {
        emit(buildHDT("HE", heading_));
        // The motion sensor reads a little off the gyro; now and then it glitches.
        AttData att{t + 0.5, wrap360(heading_ + 0.18 + rng_.gauss(0.04)), pitch_, roll_};
        if (k == 777 || k == 2024 || k == 3141) {
            att.roll += k == 2024 ? -23.0 : 21.5;
            att.pitch += 17.0;
        }
        emit(buildATT(att));
        emit(buildROT("HE", rot_, 'A'));
        // The log sees the tidal current past the hull.
        const double stw = std::max(0.0, 0.32 + 0.12 * std::sin(2 * Pi * k / 1800.0) + currentNoise_.step(rng_));
        emit(buildVHW("VW", {heading_, wrap360(heading_ - MagneticVariation), stw}));
        const bool lostBottom = (k >= 950 && k < 962) || (k >= 2390 && k < 2396);
        const double depth = DepthAtBerth + tide_ + 0.08 * std::sin(2 * Pi * k / 7.3) + rng_.gauss(0.03);
        emit(buildDBT("SD", lostBottom ? std::nullopt : OptDouble(depth)));
    }

    // -- traffic ---------------------------------------------------------------------

    void moveVessel(Vessel& v, int k) {
        if (v.route.points.size() >= 2) {
            const RouteState s = followRoute(v.route, k);
            v.position = s.position;
            // The turn rate follows the track's turns, smoothed as a hull turns.
            const double turn = k == 0 ? 0.0 : std::clamp(wrap180(s.course - v.trackCourse) * 60.0, -40.0, 40.0);
            v.rateOfTurn = 0.7 * v.rateOfTurn + 0.3 * turn;
            v.trackCourse = s.course;
            v.course = wrap360(s.course + rng_.gauss(0.8));
            v.speed = std::max(0.0, s.speed + (s.speed > 0 ? rng_.gauss(0.15) : 0.0));
            // Heading differs from course by the leeway and the current.
            v.heading = wrap360(s.course + 2.0 + rng_.gauss(0.5));
        } else {
            // At anchor or alongside: the hull swings a little around its position.
            v.position = {v.anchor.east + 15.0 * std::sin(2 * Pi * k / 900.0), v.anchor.north + 10.0 * std::cos(2 * Pi * k / 900.0)};
            v.speed = v.navStatus == 1 ? 0.1 : 0.0;
            v.heading = wrap360(v.navStatus == 1 ? 200.0 + 10.0 * std::sin(2 * Pi * k / 900.0) : 3.0);
            v.course = v.heading;
            v.rateOfTurn = 0.0;
        }
    }

    // Seconds to the next position report, as transponders schedule them.
    static double reportInterval(const Vessel& v) {
        if (v.aisClass == AisClass::B)
            return v.speed > 2.0 ? 30.0 : 180.0;
        if (v.navStatus == 1 || v.navStatus == 5)
            return 180.0;
        if (std::fabs(v.rateOfTurn) > 20.0)
            return v.speed > 14.0 ? 2.0 : 3.3;
        return v.speed > 23.0 ? 2.0 : v.speed > 14.0 ? 6.0 : 10.0;
    }

    char channel() { return rng_.chance(0.5) ? 'A' : 'B'; }

    void send(const AisPayload& p, std::string_view address = "AIVDM") {
        // A few transmissions are not received at all.
        if (address == "AIVDM" && rng_.chance(0.04))
            return;
        const bool multi = p.armoured.size() > 60;
        if (multi)
            sequence_ = (sequence_ + 1) % 10;
        emitAll(encapsulate(p, address == "AIVDO" ? 'A' : channel(), sequence_, address));
    }

    std::uint32_t radioState(Vessel& v, int k) {
        // SOTDMA: the slot timeout counts down 7..0; its sub-message depends on it.
        v.slotTimeout = v.slotTimeout == 0 ? 7 : v.slotTimeout - 1;
        std::uint32_t sub = 0;
        const UtcDateTime u = utcFromUnix(o_.startTime + k);
        switch (v.slotTimeout) {
        case 0: sub = static_cast<std::uint32_t>(rng_.between(1, 2249)); break;
        case 1: sub = static_cast<std::uint32_t>((u.hour << 9) | (u.minute << 2)); break;
        case 2: case 4: case 6: sub = static_cast<std::uint32_t>(rng_.between(0, 2249)); break;
        default: sub = static_cast<std::uint32_t>(rng_.between(3, 40)); break;
        }
        return (static_cast<std::uint32_t>(v.slotTimeout) << 14) | sub;
    }

    void positionReport(Vessel& v, int k) {
        const int second = static_cast<int>(utcFromUnix(o_.startTime + k).second);
        if (v.aisClass == AisClass::A) {
            ClassAPosition m;
            m.messageId = v.messageId;
            m.mmsi = v.mmsi;
            m.navStatus = v.navStatus;
            m.rateOfTurn = rateOfTurnIndicator(v.rateOfTurn);
            m.speed = v.speed;
            m.accuracy = false;
            m.longitude = longitudeOf(v.position);
            m.latitude = latitudeOf(v.position);
            m.course = v.course;
            m.heading = static_cast<int>(std::lround(v.heading)) % 360;
            m.timeStamp = second;
            m.radio = v.messageId == 3 ? (static_cast<std::uint32_t>(rng_.between(0, 8191)) << 6) : radioState(v, k);
            send(encodeClassAPosition(m));
        } else {
            ClassBPosition m;
            m.mmsi = v.mmsi;
            m.speed = v.speed;
            m.longitude = longitudeOf(v.position);
            m.latitude = latitudeOf(v.position);
            m.course = v.course;
            m.heading = std::nullopt;  // small craft seldom have a heading sensor
            m.timeStamp = second;
            send(encodeClassBPosition(m));
        }
    }

    void staticReport(Vessel& v, int k) {
        if (v.aisClass == AisClass::A) {
            StaticVoyage m;
            m.mmsi = v.mmsi;
            m.aisVersion = 2;
            m.imo = v.imo;
            m.callSign = v.callSign;
            m.name = v.name;
            m.shipType = v.shipType;
            m.toBow = v.toBow, m.toStern = v.toStern, m.toPort = v.toPort, m.toStarboard = v.toStarboard;
            m.epfd = 1;
            const UtcDateTime u = utcFromUnix(o_.startTime + k + 4 * 3600.0);
            m.etaMonth = u.month, m.etaDay = u.day, m.etaHour = u.hour, m.etaMinute = 30;
            m.draught = v.draught;
            m.destination = v.destination;
            send(encodeStaticVoyage(m));
        } else if (v.sendsExtended && v.speed > 0) {
            ClassBExtended m;
            m.mmsi = v.mmsi;
            m.speed = v.speed;
            m.longitude = longitudeOf(v.position);
            m.latitude = latitudeOf(v.position);
            m.course = v.course;
            m.timeStamp = static_cast<int>(utcFromUnix(o_.startTime + k).second);
            m.name = v.name;
            m.shipType = v.shipType;
            m.toBow = v.toBow, m.toStern = v.toStern, m.toPort = v.toPort, m.toStarboard = v.toStarboard;
            send(encodeClassBExtended(m));
        } else {
            send(encodeStaticDataA({0, v.mmsi, v.name}));
            StaticDataB b;
            b.mmsi = v.mmsi;
            b.shipType = v.shipType;
            b.vendorId = "SRT0042";
            b.callSign = v.callSign;
            b.toBow = v.toBow, b.toStern = v.toStern, b.toPort = v.toPort, b.toStarboard = v.toStarboard;
            send(encodeStaticDataB(b));
        }
    }

    void radar(Vessel& v, double t) {
        const double range = std::hypot(v.position.east, v.position.north) / 1852.0;
        const bool inRange = range < 4.5;  // the radar runs on its 4.5 nm scale here
        if (!inRange && !v.wasTracked)
            return;
        TtmData d;
        d.targetNumber = v.radarTarget;
        d.time = t;
        d.name = v.radarName;
        if (!inRange) {
            d.status = 'L';  // the target has left the radar's range
            v.wasTracked = false;
        } else {
            d.status = v.wasTracked ? 'T' : 'Q';
            v.wasTracked = true;
        }
        d.distance = range + rng_.gauss(0.004);
        d.bearing = wrap360(std::atan2(v.position.east, v.position.north) / Deg + rng_.gauss(0.3));
        // The radar's estimate of the target's motion, smoothed over a few scans.
        const double speed = std::max(0.0, v.speed + rng_.gauss(0.2));
        d.speed = speed;
        d.course = speed > 0.3 ? OptDouble(wrap360(v.course + rng_.gauss(1.5))) : OptDouble(0.0);
        const double ve = speed * Knot * std::sin(v.course * Deg), vn = speed * Knot * std::cos(v.course * Deg);
        const double v2 = ve * ve + vn * vn;
        if (v2 > 1e-6) {
            const double tcpa = -(v.position.east * ve + v.position.north * vn) / v2;
            const double ce = v.position.east + ve * tcpa, cn = v.position.north + vn * tcpa;
            d.cpa = std::hypot(ce, cn) / 1852.0;
            d.tcpa = tcpa / 60.0;
        } else {
            d.cpa = range;
            d.tcpa = 0.0;
        }
        emit(buildTTM("RA", d));
    }

    void traffic(int k, double t) {
        for (auto& v : vessels_)
            moveVessel(v, k);
        for (auto& v : vessels_) {
            if (v.aisClass == AisClass::None)
                continue;
            if (k >= v.nextReport) {
                positionReport(v, k);
                v.nextReport = k + reportInterval(v) * rng_.uniform(0.95, 1.05);
            }
            if (k >= v.nextStatic) {
                staticReport(v, k);
                v.nextStatic = k + 360.0;
            }
        }
        // The radar reports its tracked targets every third second.
        if (k % 3 == 1)
            for (auto& v : vessels_)
                if (v.radarTarget > 0)
                    radar(v, t);
        // The base station on the headland, and two aids to navigation.
        if (k % 10 == 4) {
            BaseStationReport b;
            b.mmsi = 2579100;
            const UtcDateTime u = utcFromUnix(t);
            b.year = u.year, b.month = u.month, b.day = u.day, b.hour = u.hour, b.minute = u.minute;
            b.second = static_cast<int>(u.second);
            b.accuracy = true;
            b.longitude = longitudeOf({-1800, 5200});
            b.latitude = latitudeOf({-1800, 5200});
            b.epfd = 7;
            b.radio = (static_cast<std::uint32_t>(k / 10 % 8) << 14) | 7;
            send(encodeBaseStation(b));
        }
        if (k % 180 == 40) {
            AidToNavigation a;
            a.mmsi = 992576031;
            a.aidType = 20;  // cardinal mark north
            a.name = "VESTRE BRAKAR NORD";
            a.accuracy = true;
            a.longitude = longitudeOf({900, 2200});
            a.latitude = latitudeOf({900, 2200});
            a.epfd = 7;
            a.timeStamp = static_cast<int>(utcFromUnix(t).second);
            send(encodeAidToNavigation(a));
        }
        if (k % 180 == 130) {
            AidToNavigation a;
            a.mmsi = 992576032;
            a.aidType = 6;  // light with sectors
            a.name = "HORTEN INDRE HAVN FYRLYKT VEST";
            a.accuracy = true;
            a.longitude = longitudeOf({-350, 900});
            a.latitude = latitudeOf({-350, 900});
            a.toBow = 2, a.toStern = 2, a.toPort = 2, a.toStarboard = 2;
            a.epfd = 7;
            a.timeStamp = static_cast<int>(utcFromUnix(t).second);
            send(encodeAidToNavigation(a));
        }
        // Our own transponder's reports, as it echoes them.
        if (k % 10 == 2) {
            ClassAPosition m;
            m.mmsi = OwnMmsi;
            m.navStatus = 5;
            m.rateOfTurn = 0;
            m.speed = 0.0;
            m.accuracy = quality(k) >= 2;
            m.longitude = longitudeOf({});
            m.latitude = latitudeOf({});
            m.course = std::nullopt;
            m.heading = static_cast<int>(std::lround(heading_)) % 360;
            m.timeStamp = static_cast<int>(utcFromUnix(t).second);
            send(encodeClassAPosition(m), "AIVDO");
        }
        if (k % 360 == 200) {
            StaticVoyage m;
            m.mmsi = OwnMmsi;
            m.imo = 9745210;
            m.callSign = "LNSV";
            m.name = "HAVLODD";
            m.shipType = 90;
            m.toBow = 24, m.toStern = 12, m.toPort = 5, m.toStarboard = 5;
            m.epfd = 1;
            m.draught = 3.4;
            m.destination = "HORTEN";
            send(encodeStaticVoyage(m), "AIVDO");
        }
    }

    DemoOptions o_;
    const LineSink& sink_;
    Prng rng_;
    std::vector<Satellite> sats_;
    std::vector<Vessel> vessels_;
    int lastQuality_ = -1;
    GaussMarkov errNorth_{0, 1}, errEast_{0, 1}, errUp_{0, 1};
    GaussMarkov gyroNoise_{0.04, 5.0};
    GaussMarkov currentNoise_{0.05, 60.0};
    Local lastAntenna_;
    double tide_ = 0, surge_ = 0, sway_ = 0;
    double heading_ = MooredHeading, rot_ = 0, pitch_ = 0, roll_ = 0;
    int sequence_ = 0;
};

}  // namespace

void generateDemo(const DemoOptions& options, const LineSink& sink) {
    DemoSession(options, sink).run();
}

void generateNavigation(const DemoOptions& options, const LineSink& sink) {
    generateDemo(options, [&](std::string_view line) {
        if (line.size() < 6 || line[0] != '$') return;
        const std::string_view type = line.substr(3, 3);
        if (type == "GLL" || type == "VTG" || type == "ZDA" || type == "HDT" || type == "ROT") sink(line);
    });
}

void generateSatellitesInView(const DemoOptions& options, const LineSink& sink) {
    DemoOptions o = options;
    o.gsvIntervalSeconds = 1;
    generateDemo(o, [&](std::string_view line) {
        if (line.size() >= 6 && line[0] == '$' && line.substr(3, 3) == "GSV") sink(line);
    });
}

}  // namespace tiderune::nmeagen
