// Lines per second of the whole program replaying the demo recording, repeated to at least
// 1,000,000 lines, offscreen: once with no window open, then with one of the primary
// system's windows alone open (the NMEA monitor; the numerics; the statistics with the SNR
// statistics; the AIS target list with the detail window of its first target, then with the
// ARPA target list as well), each also as a share of the no-window rate of the same run, and
// last with no window again. An AIS-heavy recording (tiderune-gen --port) shows what the
// target lists cost.
//   tiderune-bench-replay [RECORDING] [MIN_LINES]
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

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string source = argc > 1 ? argv[1] : std::string(TIDERUNE_SOURCE_DIR) + "/examples/demo.nmea";
    const long minLines = argc > 2 ? std::atol(argv[2]) : 1000000;

    std::vector<std::string> recording;
    {
        std::ifstream in(source, std::ios::binary);
        for (std::string line; std::getline(in, line);) recording.push_back(line + "\n");
    }
    if (recording.empty()) {
        std::fprintf(stderr, "no lines in %s\n", source.c_str());
        return 1;
    }
    QTemporaryDir dir;
    const std::string home = dir.path().toStdString() + "/Tiderune";
    const std::string scaled = dir.path().toStdString() + "/demo-scaled.nmea";
    long lines = 0;
    {
        std::ofstream out(scaled, std::ios::binary);
        while (lines < minLines)
            for (const std::string& l : recording) {
                out << l;
                ++lines;
            }
    }
    if (!demo::installDemoSetup(home, scaled)) {
        std::fprintf(stderr, "demo setup not found\n");
        return 1;
    }
    std::printf("Replay of %s, %ld lines (%zu repeated), offscreen\n", source.c_str(), lines, recording.size());

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
    run("no window open again");
    std::fflush(stdout);
    return 0;
}
