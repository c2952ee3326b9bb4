// Lines per second of the whole program replaying a demo recording, repeated to at least
// 1,000,000 lines, offscreen, each window set-up as a share of the no-window rate. A single
// no-window figure is noisier than what it is compared with on a shared machine, so each
// window pass runs beside a no-window pass, the two in alternating order, and the figures
// are medians over the pairs; the first case pairs no-window passes with each other and
// shows the noise. Every window a case shows must have been redrawn in its passes.
// The first demo: with no window open (the time-series windows of its analysed types are
// loaded hidden and fed, as the program always does), with those time-series windows shown
// (drawn on the shared redraw tick), then with one of the primary system's windows alone open
// (the NMEA monitor; the numerics; the statistics with the SNR statistics; the AIS target
// list with the detail window of its first target, then with the ARPA target list as well;
// the sky plot, which also feeds the SNR windows at every GSV group end, then with those SNR
// windows shown too, those that show charts counted: the demo shows GPS charts only).
// Windows are opened and closed as a user does: the monitor and target lists the demo setup
// opens are closed first. An AIS-heavy recording (tiderune-gen --port)
// shows what the target lists cost, a GSV-only one (tiderune-gen --gsv) what the sky plot
// costs. The second demo (the bridge's navigation lines): with no window shown and with its
// time-series windows shown.
//   tiderune-bench-replay [RECORDING] [MIN_LINES] [PAIRS] [ONLY]   (RECORDING: replayed on the first
//   demo's setup; PAIRS of passes per case, 5 by default; ONLY: the cases whose name holds it)
#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <functional>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "ais/windows/ais_target_windows.h"
#include "app/reset_family.h"
#include "charts/snr_window.h"
#include "platform/qt/chart_widget.h"
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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A window set-up measured against the no-window rate: `open` shows its windows, `close`
// takes them away again; `shown` lists the windows whose redraws are counted.
struct Case {
    const char* name;
    std::function<void()> open, close;
    std::function<std::vector<ChildWindow*>()> shown;
};

void bench(const char* name, const std::string& source, const char* setupTemplate, long minLines, int pairs,
           bool others, const std::string& only) {
    QTemporaryDir dir;
    const std::string home = dir.path().toStdString() + "/Tiderune";
    const std::string scaled = dir.path().toStdString() + "/scaled.nmea";
    std::size_t recorded = 0;
    const long lines = scale(source, scaled, minLines, recorded);
    if (lines == 0 || !demo::installDemoSetup(home, scaled, setupTemplate)) {
        std::fprintf(stderr, "%s: no recording or setup\n", name);
        return;
    }
    std::printf("%s: %s, %ld lines (%zu repeated), offscreen; each case %d pairs of passes (with and without its\n"
                "  windows, in alternating order); rates are medians, the share is the median of the pairs' shares\n"
                "  (min-max in brackets)\n",
                name, source.c_str(), lines, recorded, pairs);

    demo::Program program(home);
    Shell& shell = *program.shell;
    auto pass = [&] {
        const auto t0 = std::chrono::steady_clock::now();
        program.click("PLAY");
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        return program.replay->linesReplayed() / s;
    };
    auto slotOf = [&](WindowKind kind) -> WindowSlot& { return shell.windows.slot(kind, 1); };
    auto close = [&](WindowKind kind) { slotOf(kind).unload(); };
    auto windowOf = [&](WindowKind kind) { return slotOf(kind).window(); };
    // Each window pass beside a no-window pass, the order alternating, so that a slow spell
    // of the machine weighs on both sides alike.
    auto measure = [&](const Case& c) {
        std::vector<double> with, without, shares;
        if (!only.empty() && std::string(c.name).find(only) == std::string::npos) return;
        long long redraws = 0;
        std::set<std::string> notDrawn;
        for (int p = 0; p < pairs; ++p) {
            double a = 0, b = 0;
            auto windowPass = [&] {
                c.open();
                std::vector<std::pair<QPointer<ChildWindow>, long long>> before;
                if (c.shown)
                    for (ChildWindow* w : c.shown())
                        if (w) before.emplace_back(w, w->refreshCount());
                b = pass();
                // PLAY reopens most windows (the resets): a window made during the pass had
                // two refreshes of its own, its opening's and the end of the run's; the rest
                // were the redraw tick's.
                if (c.shown)
                    for (ChildWindow* w : c.shown()) {
                        if (!w) continue;
                        long long n = std::max(0LL, w->refreshCount() - 2);
                        for (const auto& [old, count] : before)
                            if (old == w) n = w->refreshCount() - count;
                        redraws += n;
                        if (n == 0) notDrawn.insert(w->windowTitle().toStdString());
                    }
                c.close();
            };
            if (p % 2 == 0) {
                a = pass();
                windowPass();
            } else {
                windowPass();
                a = pass();
            }
            without.push_back(a);
            with.push_back(b);
            shares.push_back(100 * b / a);
        }
        std::printf("  %-38s %10.0f lines/s against %10.0f: %3.0f %% (%3.0f-%3.0f)", c.name, median(with),
                    median(without), median(shares), *std::min_element(shares.begin(), shares.end()),
                    *std::max_element(shares.begin(), shares.end()));
        if (c.shown) std::printf(", redrawn on %lld ticks", redraws);
        for (const std::string& title : notDrawn) std::printf("; not redrawn in a pass: %s", title.c_str());
        std::printf("\n");
        std::fflush(stdout);
    };
    // The demo setup records the monitor and the target lists as open, and the program has
    // loaded them: they are closed as a user closes them, and opened again by their case.
    close(WindowKind::NMEA);
    close(WindowKind::AISTargets);
    close(WindowKind::ARPATargets);
    program.click("PLAY");  // warms caches and allocations
    measure({"no window open (two alike)", [] {}, [] {}, {}});
    auto hideTimeSeries = [&] {
        // Hidden again (a user's close): they stay loaded and fed, as they always are.
        for (WindowKind kind : TimeSeriesKinds)
            if (slotOf(kind).isLoaded()) slotOf(kind).setVisible(false);
        for (int c = 1; c <= SNRConstellations; ++c)
            if (shell.windows.slot(WindowKind::TimeSeriesSNR, 1, c).isLoaded())
                shell.windows.slot(WindowKind::TimeSeriesSNR, 1, c).setVisible(false);
    };
    auto shownTimeSeries = [&] {
        std::vector<ChildWindow*> ws;
        for (WindowKind kind : TimeSeriesKinds)
            if (slotOf(kind).isLoaded() && slotOf(kind).window()->isVisible()) ws.push_back(windowOf(kind));
        return ws;
    };
    measure({"time-series windows shown", [&] { ShowTimeSeriesWindows(shell, 1); }, hideTimeSeries, shownTimeSeries});
    if (!others) return;
    measure({"NMEA monitor open", [&] { ShowNMEAWindow(shell, 1); }, [&] { close(WindowKind::NMEA); },
             [&] { return std::vector<ChildWindow*>{windowOf(WindowKind::NMEA)}; }});
    measure({"numerics open", [&] { ShowNumericsWindow(shell, 1); }, [&] { close(WindowKind::Numerics); },
             [&] { return std::vector<ChildWindow*>{windowOf(WindowKind::Numerics)}; }});
    measure({"statistics and SNR statistics open",
             [&] {
                 ShowStatisticsWindow(shell, 1);
                 ShowStatisticsSNRWindow(shell, 1);
             },
             [&] {
                 close(WindowKind::Statistics);
                 close(WindowKind::StatisticsSNR);
             },
             [&] {
                 return std::vector<ChildWindow*>{windowOf(WindowKind::Statistics), windowOf(WindowKind::StatisticsSNR)};
             }});
    auto closeLists = [&] {
        if (auto* detail = program.window->findChild<AISExtraInfoWindow*>()) detail->closeFromCode();
        close(WindowKind::AISTargets);
        close(WindowKind::ARPATargets);
    };
    auto openList = [&] {
        ShowAISTargetsWindow(shell, 1);
        if (auto* list = qobject_cast<AISTargetsWindow*>(windowOf(WindowKind::AISTargets))) list->openDetail(1);
    };
    measure({"AIS list and detail window open", openList, closeLists,
             [&] { return std::vector<ChildWindow*>{windowOf(WindowKind::AISTargets)}; }});
    measure({"the same and the ARPA list open",
             [&] {
                 openList();
                 ShowARPATargetsWindow(shell, 1);
             },
             closeLists,
             [&] {
                 return std::vector<ChildWindow*>{windowOf(WindowKind::AISTargets), windowOf(WindowKind::ARPATargets)};
             }});
    measure({"sky plot open, SNR windows fed", [&] { ShowSkyplotWindow(shell, 1); },
             [&] { close(WindowKind::Skyplot); }, [&] { return std::vector<ChildWindow*>{windowOf(WindowKind::Skyplot)}; }});
    auto snrShown = [&] {
        for (int c = 1; c <= SNRConstellations; ++c) {
            WindowSlot& slot = shell.windows.slot(WindowKind::TimeSeriesSNR, 1, c);
            if (slot.isLoaded()) slot.setVisible(true);
        }
    };
    measure({"sky plot and its SNR windows shown",
             [&] {
                 ShowSkyplotWindow(shell, 1);
                 snrShown();
             },
             [&] {
                 close(WindowKind::Skyplot);
                 hideTimeSeries();
             },
             [&] {
                 // An SNR window whose constellation shows no chart has nothing to redraw but
                 // its filter label, which changes only with the filter length.
                 std::vector<ChildWindow*> ws{windowOf(WindowKind::Skyplot)};
                 for (int c = 1; c <= SNRConstellations; ++c) {
                     WindowSlot& slot = shell.windows.slot(WindowKind::TimeSeriesSNR, 1, c);
                     auto* snr = qobject_cast<SnrTimeSeriesWindow*>(slot.window());
                     if (!slot.isLoaded() || !snr || !snr->isVisible()) continue;
                     bool charts = false;
                     for (int i = 1; i <= SNRCharts; ++i) charts = charts || snr->chartWidget(i)->isVisible();
                     if (charts) ws.push_back(snr);
                 }
                 return ws;
             }});
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string examples = std::string(TIDERUNE_SOURCE_DIR) + "/examples/";
    const std::string recording = argc > 1 ? argv[1] : examples + "demo.nmea";
    const long minLines = argc > 2 ? std::atol(argv[2]) : 1000000;
    const int pairs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const std::string only = argc > 4 ? argv[4] : "";
    bench("Demo setup", recording, "Tiderune.ini.in", minLines, pairs, true, only);
    if (argc <= 1) bench("Second demo setup", examples + "demo-nav.nmea", "Tiderune-nav.ini.in", minLines, pairs, false, only);
    std::fflush(stdout);
    return 0;
}
