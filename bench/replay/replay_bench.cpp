// Lines per second of the whole program replaying a demo recording, repeated to at least
// 1,000,000 lines, offscreen, each also as a share of the no-window rate of the same run.
// The first demo: with no window open (the time-series windows of its analysed types are
// loaded hidden and fed, as the program always does), with those time-series windows shown
// (drawn on the shared redraw tick), then with one of the primary system's windows alone open
// (the NMEA monitor; the numerics; the statistics with the SNR statistics; the AIS target
// list with the detail window of its first target, then with the ARPA target list as well;
// the sky plot, which also feeds the SNR windows at every GSV group end),
// and last with no window again. An AIS-heavy recording (tiderune-gen --port) shows what the
// target lists cost. The second demo (the bridge's navigation lines): with no window shown
// and with its time-series windows shown.
//   tiderune-bench-replay [RECORDING] [MIN_LINES]   (RECORDING: replayed on the first demo's setup)
#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "ais/windows/ais_target_windows.h"
#include "app/reset_family.h"
#include "demo_program.h"

using namespace tiderune;

namespace {

// The recording repeated to at least minLines lines; the number of lines written.
long scale(const std::string& source, const std::string& target, long minLines, std::size_t& recorded) {
    std::vector<std::string> recording;
    std::ifstream in(source, std::ios::binary);
    for (std::string line; std::getline(in, line);) recording.push_back(line + "\n");
    recorded = recording.size();
    long lines = 0;
    std::ofstream out(target, std::ios::binary);
    while (!recording.empty() && lines < minLines)
        for (const std::string& l : recording) {
            out << l;
            ++lines;
        }
    return lines;
}

void bench(const char* name, const std::string& source, const char* setupTemplate, long minLines, bool others) {
    QTemporaryDir dir;
    const std::string home = dir.path().toStdString() + "/Tiderune";
    const std::string scaled = dir.path().toStdString() + "/scaled.nmea";
    std::size_t recorded = 0;
    const long lines = scale(source, scaled, minLines, recorded);
    if (lines == 0 || !demo::installDemoSetup(home, scaled, setupTemplate)) {
        std::fprintf(stderr, "%s: no recording or setup\n", name);
        return;
    }
    std::printf("%s: %s, %ld lines (%zu repeated), offscreen\n", name, source.c_str(), lines, recorded);

    demo::Program program(home);
    double alone = 0;
    // Each figure is the best of three passes: other work on the machine only slows a pass.
    auto run = [&](const char* what) {
        if (!what) {  // a first pass that only warms caches and allocations
            program.click("PLAY");
            return;
        }
        double best = 0, bestSeconds = 0;
        long long n = 0;
        for (int pass = 0; pass < 3; ++pass) {
            const auto t0 = std::chrono::steady_clock::now();
            program.click("PLAY");
            const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            n = program.replay->linesReplayed();
            if (n / s > best) best = n / s, bestSeconds = s;
        }
        if (alone == 0) alone = best;
        std::printf("  %-34s %9lld lines in %7.2f s: %10.0f lines/s (%3.0f %% of no window)\n", what, n, bestSeconds,
                    best, 100 * best / alone);
        std::fflush(stdout);
    };
    auto close = [&](WindowKind kind) { program.shell->windows.slot(kind, 1).unload(); };
    // The demo setup records the monitor and the target lists as open; nothing is fed until
    // they are opened.
    VisibleForms& open = program.shell->config.WindowVisible[1];
    open[VisibleForms::NMEAMonitor] = open[VisibleForms::AISTargets] = open[VisibleForms::ARPATargets] = false;
    run(nullptr);
    run("no window open");
    ShowTimeSeriesWindows(*program.shell, 1);
    run("time-series windows shown");
    if (!others) return;
    // Hidden again (a user's close), so that each window below is the only one shown.
    for (WindowKind kind : TimeSeriesKinds)
        if (program.shell->windows.slot(kind, 1).isLoaded()) program.shell->windows.slot(kind, 1).setVisible(false);
    for (int c = 1; c <= SNRConstellations; ++c)
        if (program.shell->windows.slot(WindowKind::TimeSeriesSNR, 1, c).isLoaded())
            program.shell->windows.slot(WindowKind::TimeSeriesSNR, 1, c).setVisible(false);
    ShowNMEAWindow(*program.shell, 1);
    run("NMEA monitor open");
    close(WindowKind::NMEA);
    ShowNumericsWindow(*program.shell, 1);
    run("numerics open");
    close(WindowKind::Numerics);
    ShowStatisticsWindow(*program.shell, 1);
    ShowStatisticsSNRWindow(*program.shell, 1);
    run("statistics and SNR statistics open");
    close(WindowKind::Statistics);
    close(WindowKind::StatisticsSNR);
    ShowAISTargetsWindow(*program.shell, 1);
    if (auto* list = qobject_cast<AISTargetsWindow*>(program.shell->windows.slot(WindowKind::AISTargets, 1).window()))
        list->openDetail(1);
    run("AIS list and detail window open");
    ShowARPATargetsWindow(*program.shell, 1);
    run("the same and the ARPA list open");
    if (auto* detail = program.window->findChild<AISExtraInfoWindow*>()) detail->closeFromCode();
    close(WindowKind::AISTargets);
    close(WindowKind::ARPATargets);
    ShowSkyplotWindow(*program.shell, 1);
    run("sky plot open, SNR windows fed");
    close(WindowKind::Skyplot);
    run("no window open again");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string examples = std::string(TIDERUNE_SOURCE_DIR) + "/examples/";
    const std::string recording = argc > 1 ? argv[1] : examples + "demo.nmea";
    const long minLines = argc > 2 ? std::atol(argv[2]) : 1000000;
    bench("Demo setup", recording, "Tiderune.ini.in", minLines, true);
    if (argc <= 1) bench("Second demo setup", examples + "demo-nav.nmea", "Tiderune-nav.ini.in", minLines, false);
    std::fflush(stdout);
    return 0;
}
