// Lines per second of the whole program replaying the demo recording, repeated to at least
// 1,000,000 lines, offscreen: once with no window open, once with the primary system's NMEA
// monitor open.
//   tiderune-bench-replay [RECORDING] [MIN_LINES]
#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

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
    auto run = [&](const char* what) {
        const auto t0 = std::chrono::steady_clock::now();
        program.click("PLAY");
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const long long n = program.replay->linesReplayed();
        std::printf("  %-26s %9lld lines in %7.2f s: %10.0f lines/s\n", what, n, s, n / s);
    };
    // The demo setup records the monitor as open; nothing is shown until it is opened.
    program.shell->config.WindowVisible[1][VisibleForms::NMEAMonitor] = false;
    run("no window open");
    ShowNMEAWindow(*program.shell, 1);
    run("NMEA monitor open");
    std::fflush(stdout);
    return 0;
}
