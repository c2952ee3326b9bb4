// What repeated replays of one recording leave behind, with the sky plot open so that the SNR
// windows are fed: after each PLAY the resident memory, the points the system's SNR windows
// hold, and how many of their series no longer run in time order. The SNR windows outlive
// the resets, so whatever a replay adds to them stays for the next one.
//   tiderune-bench-replay-memory [RECORDING] [PLAYS] [shown]
// RECORDING is replayed on the demo setup; "shown" also shows the time-series windows with
// the SNR windows, drawn on the redraw tick.
#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../chart/resident_memory.h"
#include "app/reset_family.h"
#include "platform/chart_model.h"
#include "demo_program.h"

using namespace tiderune;

namespace {

struct SnrFigures {
    long points = 0;
    int series = 0;
    int outOfOrder = 0;  // series whose x steps back somewhere
};

SnrFigures snrFigures(Shell& shell) {
    SnrFigures f;
    for (int k = 1; k <= SNRConstellations; ++k) {
        if (!shell.windows.slot(WindowKind::TimeSeriesSNR, 1, k).isLoaded()) continue;
        for (int c = 0; c <= SNRSeriesPerConstellation; ++c) {
            Chart* chart = shell.timeSeriesWindows.snrChart(1, k, c);
            if (!chart) continue;
            for (int i = 0; i < chart->seriesCount(); ++i) {
                const Series& s = chart->series(i);
                if (s.count() == 0) continue;
                ++f.series;
                f.points += s.count();
                if (!s.xAscending()) ++f.outOfOrder;
            }
        }
    }
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string recording =
        argc > 1 ? argv[1] : std::string(TIDERUNE_SOURCE_DIR) + "/examples/demo.nmea";
    const int plays = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir dir;
    const std::string home = dir.path().toStdString() + "/Tiderune";
    if (!demo::installDemoSetup(home, recording)) {
        std::fprintf(stderr, "no setup\n");
        return 1;
    }
    demo::Program program(home);
    // The demo setup opens the monitor and the target lists: closed as a user closes them,
    // so that the sky plot is the one window fed.
    for (WindowKind kind : {WindowKind::NMEA, WindowKind::AISTargets, WindowKind::ARPATargets})
        program.shell->windows.slot(kind, 1).unload();
    ShowSkyplotWindow(*program.shell, 1);
    const bool shown = argc > 3 && std::string(argv[3]) == "shown";
    if (shown) ShowTimeSeriesWindows(*program.shell, 1);
    std::printf("%s, sky plot open%s, %d plays\n", recording.c_str(),
                shown ? ", time-series and SNR windows shown" : "", plays);
    const long before = bench::residentKiB();
    std::printf("  before:  resident %7ld KiB\n", before);
    for (int play = 1; play <= plays; ++play) {
        program.click("PLAY");
        // The windows a reset closed go when the event loop next gets control, as it does
        // after the PLAY click in the program.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const SnrFigures f = snrFigures(*program.shell);
        const long now = bench::residentKiB();
        std::printf("  play %d:  resident %7ld KiB (%+7ld)  SNR points %8ld in %4d series, %4d out of time order\n",
                    play, now, now - before, f.points, f.series, f.outOfOrder);
        std::fflush(stdout);
    }
    return 0;
}
