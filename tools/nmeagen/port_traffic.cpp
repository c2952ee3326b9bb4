// A busy port approach for the target-list benchmarks: 500 AIS stations (425 class A
// vessels, 60 class B craft, 5 base stations, 10 aids to navigation) heard by one receiver,
// about two hundred messages a second, with our own GNSS fix each second (the clock of the
// recording) and 20 radar targets every 3 s.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "nmeagen/ais_encoder.h"
#include "nmeagen/generators.h"
#include "nmeagen/prng.h"
#include "nmeagen/sentences.h"

namespace tiderune::nmeagen {

namespace {

constexpr double Pi = std::numbers::pi;
// The approach: 51.85-52.05 N, 3.90-4.50 E.
constexpr double South = 51.85, North = 52.05, West = 3.90, East = 4.50;

enum class Kind { ClassA, ClassB, Base, Aid };

struct Station {
    Kind kind = Kind::ClassA;
    std::uint32_t mmsi = 0;
    std::string name;
    double lat = 0, lon = 0, speed = 0, course = 0;
    int navStatus = 0;
    double interval = 10;  // seconds between position reports
    double next = 0;       // seconds from the start
    double nextStatic = 0;
};

class Port {
public:
    Port(const PortOptions& o, const LineSink& sink) : o_(o), sink_(sink), rng_(o.seed) {
        const char* names[] = {"MAAS", "WAAL", "DELTA", "NOORD", "EUROPA", "CALAND", "BOTLEK", "PERNIS"};
        for (int i = 0; i < 500; ++i) {
            Station s;
            s.kind = i < 425 ? Kind::ClassA : i < 485 ? Kind::ClassB : i < 490 ? Kind::Base : Kind::Aid;
            s.mmsi = s.kind == Kind::Base ? 2440000u + static_cast<std::uint32_t>(i)
                     : s.kind == Kind::Aid ? 992440000u + static_cast<std::uint32_t>(i)
                                           : 244000000u + static_cast<std::uint32_t>(i) * 137u;
            s.name = std::string(names[i % 8]) + " " + std::to_string(i);
            s.lat = rng_.uniform(South, North);
            s.lon = rng_.uniform(West, East);
            s.course = rng_.uniform(0, 360);
            const double share = rng_.uniform();
            switch (s.kind) {
            case Kind::ClassA:
                // Manoeuvring in the approach reports every 2 s; slower traffic every 3.3 or
                // 10 s; vessels at anchor or moored every 3 minutes.
                s.interval = share < 0.75 ? 2.0 : share < 0.85 ? 3.3 : share < 0.92 ? 10.0 : 180.0;
                s.navStatus = s.interval == 180.0 ? (share < 0.96 ? 1 : 5) : 0;
                s.speed = s.navStatus ? 0.0 : rng_.uniform(4, 22);
                break;
            case Kind::ClassB:
                s.interval = 30;
                s.speed = rng_.uniform(2, 12);
                break;
            case Kind::Base: s.interval = 10; break;
            case Kind::Aid: s.interval = 180; break;
            }
            s.next = rng_.uniform(0, std::min(s.interval, 10.0));
            s.nextStatic = rng_.uniform(0, 360);
            stations_.push_back(s);
        }
    }

    void run() {
        for (int k = 0; k < o_.durationSeconds; ++k) {
            const double now = o_.startTime + k;
            GgaData own;
            own.time = now;
            own.latitude = 51.95;
            own.longitude = 4.05;
            own.quality = 2;
            own.satellites = 12;
            own.hdop = 0.8;
            own.altitude = 12.0;
            own.geoidSeparation = 46.9;
            sink_(buildGGA("GP", own));
            for (Station& s : stations_) {
                move(s);
                if (s.next <= k) {
                    report(s, now);
                    s.next += s.interval;
                }
                if ((s.kind == Kind::ClassA || s.kind == Kind::ClassB) && s.nextStatic <= k) {
                    staticReport(s);
                    s.nextStatic += 360;
                }
            }
            if (k % 3 == 0) radar(now);
        }
    }

private:
    void move(Station& s) {
        const double step = s.speed / 3600.0 / 60.0;  // degrees of latitude per second
        s.lat += step * std::cos(s.course * Pi / 180);
        s.lon += step * std::sin(s.course * Pi / 180) / std::cos(s.lat * Pi / 180);
        // Turning back at the edges of the approach.
        if (s.lat < South || s.lat > North || s.lon < West || s.lon > East) s.course = std::fmod(s.course + 180, 360);
    }

    // Where a vessel is and how it moves: the same fields in class A and class B reports.
    template <class Report>
    static void motion(Report& m, const Station& s, double now) {
        m.speed = s.speed;
        m.longitude = s.lon;
        m.latitude = s.lat;
        m.course = s.course;
        m.heading = static_cast<int>(s.course) % 360;
        m.timeStamp = static_cast<int>(std::fmod(now, 60));
    }

    void report(Station& s, double now) {
        switch (s.kind) {
        case Kind::ClassA: {
            ClassAPosition m;
            m.messageId = s.interval == 2.0 ? 3 : 1;
            m.mmsi = s.mmsi;
            m.navStatus = s.navStatus;
            m.rateOfTurn = rateOfTurnIndicator(rng_.gauss(5));
            motion(m, s, now);
            send(encodeClassAPosition(m));
            break;
        }
        case Kind::ClassB: {
            ClassBPosition m;
            m.mmsi = s.mmsi;
            motion(m, s, now);
            send(encodeClassBPosition(m));
            break;
        }
        case Kind::Base: {
            BaseStationReport m;
            m.mmsi = s.mmsi;
            m.year = 2026, m.month = 6, m.day = 15;
            const long long t = static_cast<long long>(now) % 86400;
            m.hour = static_cast<int>(t / 3600), m.minute = static_cast<int>(t / 60 % 60), m.second = static_cast<int>(t % 60);
            m.longitude = s.lon;
            m.latitude = s.lat;
            m.epfd = 7;
            send(encodeBaseStation(m));
            break;
        }
        case Kind::Aid: {
            AidToNavigation m;
            m.mmsi = s.mmsi;
            m.aidType = 14;
            m.name = "BUOY " + s.name;
            m.longitude = s.lon;
            m.latitude = s.lat;
            send(encodeAidToNavigation(m));
            break;
        }
        }
    }

    void staticReport(const Station& s) {
        if (s.kind == Kind::ClassB) {
            ClassBExtended m;
            m.mmsi = s.mmsi;
            m.speed = s.speed;
            m.longitude = s.lon;
            m.latitude = s.lat;
            m.course = s.course;
            m.name = s.name;
            m.shipType = 37;
            m.toBow = 8, m.toStern = 4, m.toPort = 2, m.toStarboard = 2;
            send(encodeClassBExtended(m));
            return;
        }
        StaticVoyage m;
        m.mmsi = s.mmsi;
        m.imo = 9000000 + s.mmsi % 999999;
        m.callSign = "PB" + std::to_string(s.mmsi % 10000);
        m.name = s.name;
        m.shipType = 70 + static_cast<int>(s.mmsi % 10);
        m.toBow = 120, m.toStern = 30, m.toPort = 12, m.toStarboard = 12;
        m.etaMonth = 6, m.etaDay = 16, m.etaHour = 6, m.etaMinute = 0;
        m.draught = 9.5;
        m.destination = "ROTTERDAM";
        send(encodeStaticVoyage(m));
    }

    void radar(double now) {
        for (int n = 0; n < 20; ++n) {
            const Station& s = stations_[static_cast<std::size_t>(n * 7)];
            TtmData t;
            t.targetNumber = n;
            t.distance = std::hypot(s.lat - 51.95, (s.lon - 4.05) * 0.62) * 60;
            t.bearing = std::fmod(std::atan2((s.lon - 4.05) * 0.62, s.lat - 51.95) * 180 / Pi + 360, 360);
            t.speed = s.speed;
            t.course = s.course;
            t.cpa = 0.5;
            t.tcpa = 12.0;
            t.time = now;
            sink_(buildTTM("RA", t));
        }
    }

    void send(const AisPayload& p) {
        const bool multi = p.armoured.size() > 60;
        if (multi) sequence_ = (sequence_ + 1) % 10;
        for (const std::string& line : encapsulate(p, rng_.chance(0.5) ? 'A' : 'B', sequence_)) sink_(line);
    }

    PortOptions o_;
    const LineSink& sink_;
    Prng rng_;
    std::vector<Station> stations_;
    int sequence_ = 0;
};

}  // namespace

void generatePort(const PortOptions& options, const LineSink& sink) { Port(options, sink).run(); }

}  // namespace tiderune::nmeagen
