// What a live source that runs for days leaves on the heap, with every window of the primary
// system open: a simulated day of a receiver (GGA at 10 Hz, a GPS and a GLONASS GSV group and
// a ZDA once a second, the time running on across midnights and dates) is fed through the
// analysis day after day, as the replay feeds its lines, the event loop turning after every
// line so that the windows draw. The receiver lies still, its position wandering round the
// reference, or is under way at 6 knots on a slowly swinging course, so that every position
// is a new point of the scatter plot. After each day: the heap in use (malloc's own count),
// the resident set, the points the scatter plot holds, the longest time one line took (its
// analysis and the event loop's turn after it) and how many took over 100 ms, the wall and
// CPU time of that day, and the windows whose charts hold the most points. The time-series
// charts keep 24 hours, so a receiver lying still should leave the heap where the first day
// left it.
//   tiderune-bench-heap [DAYS] [SECONDS_PER_DAY] [still|moving]   (4 days of 86400 s, still)
#include <QApplication>
#include <QTemporaryDir>
#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "../chart/resident_memory.h"
#include "app/reset_family.h"
#include "frame/child_window.h"
#include "nmeagen/prng.h"
#include "nmeagen/sentences.h"
#include "platform/chart_model.h"
#include "platform/qt/chart_widget.h"
#include "demo_program.h"

using namespace tiderune;
namespace gen = tiderune::nmeagen;

namespace {

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// What malloc has handed out and not had back: from its heap and, for the large blocks (a
// chart's point columns), straight from the system.
double heapMiB() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

// The lines of one second of the simulated receiver, starting at unix time t.
class Receiver {
public:
    Receiver(std::uint64_t seed, bool moving) : random_(seed), moving_(moving) {}

    std::vector<std::string> second(double t) {
        std::vector<std::string> lines;
        for (int tenth = 0; tenth < 10; ++tenth) {
            if (moving_) {
                // 6 knots, the course swinging 50 degrees either way of north-east every 6 hours.
                const double course = (45 + 50 * std::sin(t / 21600.0 * 2 * M_PI)) * M_PI / 180.0;
                const double step = 6 * 1852.0 / 3600.0 / 10;
                north_ += step * std::cos(course) + random_.uniform(-0.02, 0.02);
                east_ += step * std::sin(course) + random_.uniform(-0.02, 0.02);
            } else {
                // A wander of a few metres round the reference, pulled back towards it.
                north_ += random_.uniform(-0.05, 0.05) - north_ * 0.001;
                east_ += random_.uniform(-0.05, 0.05) - east_ * 0.001;
            }
            gen::GgaData d;
            d.time = t + tenth / 10.0;
            d.latitude = RefLat + north_ / 111120.0;
            d.longitude = RefLon + east_ / (111120.0 * std::cos(RefLat * M_PI / 180.0));
            d.quality = 2;
            d.satellites = 10;
            d.hdop = 0.9 + random_.uniform(0, 0.2);
            d.altitude = 6.3 + random_.uniform(-0.5, 0.5);
            d.geoidSeparation = 40.1;
            d.dgpsAge = 3.0;
            d.stationId = 120;
            lines.push_back(gen::buildGGA("GP", d));
        }
        // The satellites turn slowly over the sky: one revolution in about twelve hours.
        const double phase = std::fmod(t, 43080.0) / 43080.0 * 360.0;
        auto views = [&](int firstPrn, int count) {
            std::vector<gen::SatelliteView> v;
            for (int i = 0; i < count; ++i) {
                gen::SatelliteView s;
                s.prn = firstPrn + i * 3;
                const double a = phase + i * 360.0 / count;
                s.azimuth = static_cast<int>(std::fmod(a, 360.0));
                s.elevation = 5 + static_cast<int>(40 + 40 * std::sin((a + i * 17) * M_PI / 180.0)) % 80;
                s.snr = 30 + random_.between(0, 18);
                v.push_back(s);
            }
            return v;
        };
        for (const std::string& l : gen::buildGSVGroup("GP", views(1, 10))) lines.push_back(l);
        for (const std::string& l : gen::buildGSVGroup("GL", views(65, 7))) lines.push_back(l);
        gen::ZdaData z;
        z.time = t;
        lines.push_back(gen::buildZDA("GP", z));
        return lines;
    }

private:
    static constexpr double RefLat = 59.41871, RefLon = 10.49215;
    gen::Prng random_;
    bool moving_;
    double north_ = 0, east_ = 0;
};

// The windows whose charts hold the most points, with the points their series hold and the
// room they keep for them.
void printChartHolders(QWidget& root) {
    struct Held {
        long long points = 0, room = 0;
    };
    std::map<std::string, Held> byWindow;
    for (ChartWidget* w : root.findChildren<ChartWidget*>()) {
        QWidget* top = w;
        while (top && !qobject_cast<ChildWindow*>(top)) top = top->parentWidget();
        const std::string name = top ? top->windowTitle().toStdString() : "?";
        Held& h = byWindow[name];
        const Chart& c = w->chart();
        for (int i = 0; i < c.seriesCount(); ++i) {
            h.points += c.series(i).count();
            h.room += static_cast<long long>(c.series(i).rawX().capacity());
        }
    }
    std::vector<std::pair<std::string, Held>> v(byWindow.begin(), byWindow.end());
    std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.second.room > b.second.room; });
    for (std::size_t i = 0; i < v.size() && i < 6; ++i)
        std::printf("      %-40.40s %9lld points, room for %9lld\n", v[i].first.c_str(), v[i].second.points,
                    v[i].second.room);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int days = argc > 1 ? std::max(1, std::atoi(argv[1])) : 4;
    const int secondsPerDay = argc > 2 ? std::max(1, std::atoi(argv[2])) : 86400;
    const bool moving = argc > 3 && std::string(argv[3]) == "moving";
    QTemporaryDir dir;
    const std::string home = dir.path().toStdString() + "/Tiderune";
    if (!demo::installDemoSetup(home, std::string(TIDERUNE_SOURCE_DIR) + "/examples/demo.nmea")) {
        std::fprintf(stderr, "no setup\n");
        return 1;
    }
    demo::Program program(home);
    Shell& shell = *program.shell;
    ShowTimeSeriesWindows(shell, 1);
    ShowSkyplotWindow(shell, 1);
    ShowScatterWindow(shell, 1);
    ShowNMEAWindow(shell, 1);
    ShowNumericsWindow(shell, 1);
    ShowStatisticsWindow(shell, 1);
    ShowStatisticsSNRWindow(shell, 1);
    ShowAISTargetsWindow(shell, 1);
    ShowARPATargetsWindow(shell, 1);
    Receiver receiver(7, moving);
    // Fed once, so that the sky plot has loaded the SNR windows, which are then shown too.
    const double start = 1781438400.0;  // 14 June 2026 12:00:00 UTC: the first midnight comes after 12 hours
    for (const std::string& l : receiver.second(start)) shell.processSentence(1, l);
    for (int c = 1; c <= SNRConstellations; ++c) {
        WindowSlot& slot = shell.windows.slot(WindowKind::TimeSeriesSNR, 1, c);
        if (slot.isLoaded()) slot.setVisible(true);
    }
    QCoreApplication::processEvents();

    std::printf("Built as %s. Every window of the primary system open, offscreen; a day is %d s of GGA at\n"
                "10 Hz, GPS and GLONASS GSV and ZDA at 1 Hz; the receiver %s\n",
                *TIDERUNE_BUILD_TYPE ? TIDERUNE_BUILD_TYPE : "(no build type)", secondsPerDay,
                moving ? "under way at 6 knots" : "lying still");
    const Chart* scatter = shell.scatterWindows.scatterChart(1);
    std::printf("  start:   heap in use %7.1f MiB, resident %7.1f MiB\n", heapMiB(), bench::residentKiB() / 1024.0);
    std::fflush(stdout);
    long long lines = 0;
    double t = start + 1;
    for (int day = 1; day <= days; ++day) {
        const auto wall0 = std::chrono::steady_clock::now();
        const double cpu0 = cpuSeconds();
        double longest = 0;
        long long slow = 0;  // lines over 100 ms
        for (int s = 0; s < secondsPerDay; ++s, t += 1) {
            for (const std::string& l : receiver.second(t)) {
                const auto line0 = std::chrono::steady_clock::now();
                // As the replay hands a line on: to the monitor while it is open, then through
                // the analysis, the event loop turning after it.
                if (shell.config.WindowVisible[1][VisibleForms::NMEAMonitor]) {
                    shell.coreState.NMEACurrentSystem = 1;
                    shell.sink.showInputBuffer(1, l + "\r\n");
                }
                shell.processSentence(1, l + "\r\n");
                QCoreApplication::processEvents();
                const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - line0).count();
                longest = std::max(longest, took);
                slow += took > 0.1;
                ++lines;
            }
        }
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        const double cpu = cpuSeconds() - cpu0;
        std::printf("  day %d:   heap in use %7.1f MiB, resident %7.1f MiB; %lld lines; scatter %d points; "
                    "longest line %.0f ms, %lld over 100 ms; this day %.0f s wall, %.0f s CPU\n",
                    day, heapMiB(), bench::residentKiB() / 1024.0, lines, scatter ? scatter->series(0).count() : 0,
                    longest * 1000, slow, wall, cpu);
        printChartHolders(*program.window);
        std::fflush(stdout);
    }
    return 0;
}
