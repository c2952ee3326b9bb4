// Lines per second of the whole program replaying a demo recording, repeated to at least
// 2,000,000 lines (a pass of half a second is at the mercy of a shared machine), offscreen,
// each window set-up beside the command-line replay tool (tiderune-replay, its output thrown
// away) on the same file in the same run: what a user gets of the speed of the analysis.
// Each case's passes alternate with runs of the tool (the tool first in every other pair), so
// that a slow spell of a shared machine weighs on both sides alike; the figures are over those
// pairs (seven by default): the median rates, and the case's rate as a share of the tool's,
// median, middle half, lowest and highest, in wall time and in processor time (of the whole
// program process, every thread, the pool that reduces chart columns too; of the tool process,
// user and system). Every window a case shows must have been redrawn in its passes; beside
// that, the share of the pass's wall time that the redraw tick spent drawing and what one of
// its drawings took (the tick keeps drawing to about a third of the time), and the longest an
// event waited for the event loop's turn during a pass (a timer due every 5 ms measures it),
// median and worst of the passes, with the GUI thread's processor time in the worst: what a
// click, a menu or a live source waits while the replay runs, and how much of that the
// program's own work.
// The first demo: with no window open (the time-series windows of its analysed types are
// loaded hidden and fed, as the program always does), with those time-series windows shown
// (drawn on the shared redraw tick), then with one of the primary system's windows alone open
// (the NMEA monitor; the numerics; the statistics with the SNR statistics; the AIS target
// list with the detail window of its first target, then with the ARPA target list as well;
// the sky plot, which also feeds the SNR windows at every GSV group end, then with those SNR
// windows shown too, those that show charts counted: the demo shows GPS charts only; the sky
// plot at 700 x 900, which shows all of it: the plot, its GSA panel and its table, the SNR
// windows beside it in a 1920 x 1200 main window), and last with every window of the system
// open, tiled in a grid in a 1920 x 1200 main window so that each one shows, every one
// checked to have been painted (not only refreshed).
// Windows are opened and closed as a user does: the target lists the demo setup
// opens are closed first. The second demo (the bridge's navigation lines): with no window
// shown and with its time-series windows shown. GSV only (the first demo's GSV lines alone,
// on its setup): what the sky plot and its SNR windows cost. An AIS-heavy recording
// (tiderune-gen --port) shows what the target lists cost.
//   tiderune-bench-replay [RECORDING] [MIN_LINES] [PAIRS] [CASES]
// RECORDING: replayed on the first demo's setup alone (without it: the three runs above);
// PAIRS of passes per case, 7 by default; CASES: a comma-separated list, only the cases whose
// name holds one of them (also from TIDERUNE_BENCH_CASES), e.g. "sky plot,tiled".
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <functional>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ais/windows/ais_target_windows.h"
#include "app/reset_family.h"
#include "charts/snr_window.h"
#include "platform/qt/chart_widget.h"
#include "demo_program.h"
#include "frame/redraw_tick.h"

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

// The demo's GSV lines alone.
bool gsvLines(const std::string& source, const std::string& target) {
    std::ifstream in(source, std::ios::binary);
    std::ofstream out(target, std::ios::binary);
    long n = 0;
    for (std::string line; std::getline(in, line);)
        if (line.size() > 7 && line[0] == '$' && line.compare(3, 4, "GSV,") == 0) {
            out << line << "\n";
            ++n;
        }
    return n > 0;
}

// Processor time of the whole process (every thread) or of the calling thread.
double cpuSeconds(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

// Case names holding one of the comma-separated parts of `cases` (all when it is empty).
bool chosen(const std::string& name, const std::string& cases) {
    if (cases.empty()) return true;
    std::stringstream parts(cases);
    for (std::string part; std::getline(parts, part, ',');)
        if (!part.empty() && name.find(part) != std::string::npos) return true;
    return false;
}

// The redraw ticks in which each child window painted (itself or anything inside it), told
// apart by the tick's count of ticks that drew.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(const RedrawTick& tick) : tick_(tick) {}
    std::map<const QObject*, std::set<long long>> painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            for (QObject* o = watched; o; o = o->parent())
                if (qobject_cast<ChildWindow*>(o)) {
                    painted[o].insert(tick_.ticks());
                    break;
                }
        return false;
    }

private:
    const RedrawTick& tick_;
};

// Lines per second of wall time and of processor time.
struct Rates {
    double wall = 0, cpu = 0;
    double drawing = 0;  // the share of the wall time the redraw tick spent drawing, in %
    double tickMs = 0;   // what a tick that drew took, on average, in milliseconds
    double waitMs = 0;     // the longest an event waited for the event loop's turn
    double waitCpuMs = 0;  // the program's own work in that wait: the GUI thread's processor time
};

double seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

// The command-line replay tool on `file` of `lines` lines, as a user runs it with its output
// thrown away; its processor time is the child process's, user and system. Zero rates when
// it could not run.
Rates toolPass(const std::string& file, long lines) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const char* tool = TIDERUNE_REPLAY_TOOL;
    char* const args[] = {const_cast<char*>(tool), const_cast<char*>(file.c_str()), nullptr};
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, tool, &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (failed != 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not run on %s\n", tool, file.c_str());
        return {};
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    return {lines / wall, lines / cpu};
}

// The value below which the share q of the values lies, between neighbours.
double quantile(std::vector<double> v, double q) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const double at = q * static_cast<double>(v.size() - 1);
    const auto i = static_cast<std::size_t>(at);
    return i + 1 < v.size() ? v[i] + (at - static_cast<double>(i)) * (v[i + 1] - v[i]) : v[i];
}

double median(const std::vector<double>& v) { return quantile(v, 0.5); }

// A window set-up measured against the replay tool: `open` shows its windows, `close`
// takes them away again; `shown` lists the windows whose redraws are counted.
struct Case {
    const char* name;
    std::function<void()> open, close;
    std::function<std::vector<ChildWindow*>()> shown;
    // Every shown window must have been painted too, not only refreshed.
    bool checkPainted = false;
};

enum class Cases { All, TimeSeries, SkyPlot };

void bench(const char* name, const std::string& source, const char* setupTemplate, long minLines, int pairs,
           Cases which, const std::string& only) {
    QTemporaryDir dir;
    const std::string home = dir.path().toStdString() + "/Tiderune";
    const std::string scaled = dir.path().toStdString() + "/scaled.nmea";
    std::size_t recorded = 0;
    const long lines = scale(source, scaled, minLines, recorded);
    if (lines == 0 || !demo::installDemoSetup(home, scaled, setupTemplate)) {
        std::fprintf(stderr, "%s: no recording or setup\n", name);
        return;
    }
    std::printf("%s: %s, %ld lines (%zu repeated), offscreen; each case %d pairs of passes (the program's and\n"
                "  the command-line replay tool's on the same file, in alternating order); rates are medians (wall\n"
                "  time); the program's rate as a share of the tool's: median, middle half and all of the pairs', in\n"
                "  wall time and in processor time\n",
                name, source.c_str(), lines, recorded, pairs);

    demo::Program program(home);
    Shell& shell = *program.shell;
    auto pass = [&] {
        // What the event loop does between two clicks of a user: the windows the last run
        // closed (its reset reopens them) are deleted, and their memory is there to be used
        // again. The bench runs no event loop of its own.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuSeconds();
        const double d0 = program.window->redrawTick().drawnMs();
        const long long t0Ticks = program.window->redrawTick().ticks();
        // A timer due every 5 ms stands for a click: how late its timeouts come, once the
        // replay has begun its lines (PLAY's reset before them is no wait of the replay's), is
        // how long a click, a menu or a source's data waits while the replay runs.
        // On a loaded machine a wait may be the work of other programs: the GUI thread's own
        // processor time in the longest wait says what the program made it wait.
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        double lastMs = -1, lastCpuMs = 0, waitMs = 0, waitCpuMs = 0;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const double now = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            const double cpuNow = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) * 1000;
            if (lastMs >= 0 && now - lastMs - probe.interval() > waitMs) {
                waitMs = now - lastMs - probe.interval();
                waitCpuMs = std::max(0.0, cpuNow - lastCpuMs - probe.interval());
            }
            if (program.replay->linesReplayed() > 0) {
                lastMs = now;
                lastCpuMs = cpuNow;
            }
        });
        probe.start(5);
        program.click("PLAY");
        probe.stop();
        const long long drew = program.window->redrawTick().ticks() - t0Ticks;
        const double cpu = cpuSeconds() - c0;
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const auto n = static_cast<double>(program.replay->linesReplayed());
        const double drawnMs = program.window->redrawTick().drawnMs() - d0;
        return Rates{n / s, n / cpu, drawnMs / 10 / s, drew > 0 ? drawnMs / static_cast<double>(drew) : 0, waitMs, waitCpuMs};
    };
    auto slotOf = [&](WindowKind kind) -> WindowSlot& { return shell.windows.slot(kind, 1); };
    auto close = [&](WindowKind kind) { slotOf(kind).unload(); };
    auto windowOf = [&](WindowKind kind) { return slotOf(kind).window(); };
    // Each window pass beside a run of the tool, the order alternating, so that a slow spell
    // of the machine weighs on both sides alike.
    auto measure = [&](const Case& c) {
        if (!chosen(c.name, only)) return;
        std::vector<double> with, tool, wallShares, cpuShares, drawing, tickMs, waitMs, waitCpuMs;
        long long redraws = 0;
        std::size_t checked = 0;
        std::set<std::string> notDrawn, notPainted;
        PaintCounter paints(program.window->redrawTick());
        for (int p = 0; p < pairs; ++p) {
            Rates a, b;
            auto windowPass = [&] {
                c.open();
                std::vector<std::pair<QPointer<ChildWindow>, long long>> before;
                if (c.shown)
                    for (ChildWindow* w : c.shown())
                        if (w) before.emplace_back(w, w->refreshCount());
                paints.painted.clear();
                if (c.checkPainted) qApp->installEventFilter(&paints);
                b = pass();
                if (c.checkPainted) qApp->removeEventFilter(&paints);
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
                        ++checked;
                        if (n == 0) notDrawn.insert(w->windowTitle().toStdString());
                        // A redraw that changed nothing on screen paints nothing, but most
                        // must paint: in as many ticks as at least half its redraws.
                        if (c.checkPainted && static_cast<long long>(paints.painted[w].size()) * 2 < n)
                            notPainted.insert(w->windowTitle().toStdString());
                    }
                c.close();
            };
            if (p % 2 == 0) {
                a = toolPass(scaled, lines);
                windowPass();
            } else {
                windowPass();
                a = toolPass(scaled, lines);
            }
            if (a.wall <= 0) return;
            tool.push_back(a.wall);
            with.push_back(b.wall);
            wallShares.push_back(100 * b.wall / a.wall);
            cpuShares.push_back(100 * b.cpu / a.cpu);
            drawing.push_back(b.drawing);
            tickMs.push_back(b.tickMs);
            waitMs.push_back(b.waitMs);
            waitCpuMs.push_back(b.waitCpuMs);
        }
        // A run of the tool now and then takes half as long again (another program on the
        // same core): the middle half of the pairs says how steady a share is, the lowest and
        // highest what the machine did at worst.
        auto shares = [](const char* name, const std::vector<double>& v) {
            std::printf("%s %3.0f %% (middle half %.0f-%.0f, all %.0f-%.0f)", name, median(v), quantile(v, 0.25),
                        quantile(v, 0.75), quantile(v, 0), quantile(v, 1));
        };
        std::printf("  %-38s %8.0f lines/s, the tool %8.0f:", c.name, median(with), median(tool));
        shares(" wall", wallShares);
        shares(", CPU", cpuShares);
        std::printf(", events waited up to %.0f ms (%.0f at worst, %.0f ms of it the program's)", median(waitMs),
                    *std::max_element(waitMs.begin(), waitMs.end()),
                    waitCpuMs[static_cast<std::size_t>(std::max_element(waitMs.begin(), waitMs.end()) - waitMs.begin())]);
        if (c.shown) std::printf(", redrawn on %lld ticks, drawing %.0f %% of the time (%.1f ms a tick)", redraws, median(drawing), median(tickMs));
        if (c.checkPainted) std::printf(", %zu windows checked for paints", checked / static_cast<std::size_t>(pairs));
        for (const std::string& title : notDrawn) std::printf("; not redrawn in a pass: %s", title.c_str());
        for (const std::string& title : notPainted) std::printf("; not painted in a pass: %s", title.c_str());
        std::printf("\n");
        std::fflush(stdout);
    };
    // The demo setup records the target lists as open, and the program has loaded them: they
    // are closed as a user closes them, and opened again by their case. (It records the
    // monitor as open too, which a start opens none of: closing it changes nothing.)
    close(WindowKind::NMEA);
    close(WindowKind::AISTargets);
    close(WindowKind::ARPATargets);
    program.click("PLAY");  // warms caches and allocations
    measure({"no window open", [] {}, [] {}, {}});
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
    if (which != Cases::SkyPlot)
        measure({"time-series windows shown", [&] { ShowTimeSeriesWindows(shell, 1); }, hideTimeSeries, shownTimeSeries});
    if (which == Cases::TimeSeries) return;
    auto closeLists = [&] {
        if (auto* detail = program.window->findChild<AISExtraInfoWindow*>()) detail->closeFromCode();
        close(WindowKind::AISTargets);
        close(WindowKind::ARPATargets);
    };
    auto openList = [&] {
        ShowAISTargetsWindow(shell, 1);
        if (auto* list = qobject_cast<AISTargetsWindow*>(windowOf(WindowKind::AISTargets))) list->openDetail(1);
    };
    if (which == Cases::All) {
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
    }
    // The sky plot at a size that shows all of it (the plot, its GSA panel and its table), in
    // the top left corner of a 1920 x 1200 main window, and the SNR windows, when shown,
    // beside it in two columns.
    const QSize mainSize = program.window->size();
    auto frameOf = [](ChildWindow* w) { return w ? qobject_cast<QMdiSubWindow*>(w->parentWidget()) : nullptr; };
    auto showSkyplotWhole = [&] {
        program.window->resize(1920, 1200);
        ShowSkyplotWindow(shell, 1);
        if (QMdiSubWindow* sub = frameOf(windowOf(WindowKind::Skyplot))) sub->setGeometry(0, 0, 700, 900);
    };
    auto closeSkyplot = [&] {
        close(WindowKind::Skyplot);
        program.window->resize(mainSize);
    };
    measure({"sky plot open, SNR windows fed", showSkyplotWhole, closeSkyplot,
             [&] { return std::vector<ChildWindow*>{windowOf(WindowKind::Skyplot)}; }});
    // An SNR window whose constellation shows no chart has nothing to redraw but its filter
    // label, which changes only with the filter length.
    auto snrWithCharts = [&] {
        std::vector<ChildWindow*> ws;
        for (int c = 1; c <= SNRConstellations; ++c) {
            WindowSlot& slot = shell.windows.slot(WindowKind::TimeSeriesSNR, 1, c);
            auto* snr = qobject_cast<SnrTimeSeriesWindow*>(slot.window());
            if (!slot.isLoaded() || !snr || !snr->isVisible()) continue;
            bool charts = false;
            for (int i = 1; i <= SNRCharts; ++i) charts = charts || snr->chartWidget(i)->isVisible();
            if (charts) ws.push_back(snr);
        }
        return ws;
    };
    auto snrShown = [&] {
        for (int c = 1; c <= SNRConstellations; ++c) {
            WindowSlot& slot = shell.windows.slot(WindowKind::TimeSeriesSNR, 1, c);
            if (slot.isLoaded()) slot.setVisible(true);
        }
    };
    measure({"sky plot and its SNR windows shown",
             [&] {
                 showSkyplotWhole();
                 snrShown();
                 const QRect area = program.window->mdiArea()->contentsRect();
                 const int w = (std::min(area.width(), 1920) - 700) / 2, h = std::min(area.height(), 1100) / 3;
                 int cell = 0;
                 for (int c = 1; c <= SNRConstellations; ++c)
                     if (QMdiSubWindow* sub = frameOf(shell.windows.slot(WindowKind::TimeSeriesSNR, 1, c).window())) {
                         sub->setGeometry(700 + cell % 2 * w, cell / 2 * h, w, h);
                         ++cell;
                     }
             },
             [&] {
                 closeSkyplot();
                 hideTimeSeries();
             },
             [&] {
                 std::vector<ChildWindow*> ws{windowOf(WindowKind::Skyplot)};
                 for (ChildWindow* w : snrWithCharts()) ws.push_back(w);
                 return ws;
             }});
    if (which != Cases::All) return;
    // Every window of the system: those above, the scatter plot, the time-series windows and
    // the SNR windows, tiled in a grid in a main window of 1920 x 1200.
    const std::vector<WindowKind> singles{WindowKind::NMEA,         WindowKind::Numerics,   WindowKind::Statistics,
                                          WindowKind::StatisticsSNR, WindowKind::AISTargets, WindowKind::ARPATargets,
                                          WindowKind::Skyplot,      WindowKind::Scatter};
    measure({"every window open, tiled (1920 x 1200)",
             [&] {
                 program.window->resize(1920, 1200);
                 ShowNMEAWindow(shell, 1);
                 ShowNumericsWindow(shell, 1);
                 ShowStatisticsWindow(shell, 1);
                 ShowStatisticsSNRWindow(shell, 1);
                 openList();
                 ShowARPATargetsWindow(shell, 1);
                 ShowSkyplotWindow(shell, 1);
                 ShowScatterWindow(shell, 1);
                 ShowTimeSeriesWindows(shell, 1);
                 snrShown();
                 // A grid over the area, so that every window shows: the area scrolls, and a
                 // tiling that keeps each window at a size that reads runs on past its edge.
                 // The main window does not shrink below what its tool and status bars need
                 // (wider than 1920 offscreen): the grid takes the width a 1920-pixel main
                 // window gives its windows. Its last row holds the offline status window at
                 // its fixed size and the AIS target list, whose positions, the columns that
                 // change, need a wider cell than the rest; what is left of the row is shared.
                 QMdiArea* area = program.window->mdiArea();
                 QList<QMdiSubWindow*> subs, last;
                 for (QMdiSubWindow* sub : area->subWindowList()) {
                     if (!sub->isVisible()) continue;
                     const bool wide = sub->minimumSize() == sub->maximumSize() ||
                                       qobject_cast<AISTargetsWindow*>(sub->widget()) != nullptr;
                     (wide ? last : subs).append(sub);
                 }
                 const int width = std::min(area->viewport()->width(), 1920 - (program.window->width() - area->width()));
                 const int height = area->viewport()->height();
                 const auto n = static_cast<int>(subs.size() + last.size());
                 const int columns = std::max(1, static_cast<int>(std::ceil(std::sqrt(n * double(width) / height))));
                 const int rows = (n + columns - 1) / columns;
                 const int cellWidth = width / columns, cellHeight = height / rows;
                 // The last row: the windows of the grid beyond the full rows, then the wide ones.
                 const int full = std::min(static_cast<int>(subs.size()), (rows - 1) * columns);
                 for (int i = 0; i < full; ++i)
                     subs[i]->setGeometry(i % columns * cellWidth, i / columns * cellHeight, cellWidth, cellHeight);
                 last = subs.mid(full) + last;
                 int x = 0;
                 int shared = width;
                 int sharing = 0;
                 for (QMdiSubWindow* sub : last) {
                     if (sub->minimumSize() == sub->maximumSize()) shared -= sub->width();
                     else ++sharing;
                 }
                 for (QMdiSubWindow* sub : last) {
                     const bool fixed = sub->minimumSize() == sub->maximumSize();
                     const int w = fixed ? sub->width() : shared / std::max(1, sharing);
                     sub->setGeometry(x, (rows - 1) * cellHeight, w, cellHeight);
                     x += w;
                 }
             },
             [&] {
                 closeLists();
                 for (WindowKind kind : singles) close(kind);
                 hideTimeSeries();
                 program.window->resize(mainSize);
             },
             [&] {
                 std::vector<ChildWindow*> ws = shownTimeSeries();
                 // The target's detail window is open too, but redraws only when that target
                 // sends, which a pass need not see.
                 for (WindowKind kind : singles) ws.push_back(windowOf(kind));
                 for (ChildWindow* w : snrWithCharts()) ws.push_back(w);
                 return ws;
             },
             true});
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string examples = std::string(TIDERUNE_SOURCE_DIR) + "/examples/";
    const std::string recording = argc > 1 ? argv[1] : examples + "demo.nmea";
    const long minLines = argc > 2 ? std::atol(argv[2]) : 2000000;
    const int pairs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    const std::string only = argc > 4 ? argv[4] : qEnvironmentVariable("TIDERUNE_BENCH_CASES").toStdString();
    std::printf("Built as %s; figures in wall time and in processor time (CLOCK_PROCESS_CPUTIME_ID)\n", *TIDERUNE_BUILD_TYPE ? TIDERUNE_BUILD_TYPE : "(no build type)");
    bench("Demo setup", recording, "Tiderune.ini.in", minLines, pairs, Cases::All, only);
    if (argc <= 1) {
        bench("Second demo setup", examples + "demo-nav.nmea", "Tiderune-nav.ini.in", minLines, pairs, Cases::TimeSeries,
              only);
        QTemporaryDir dir;
        const std::string gsv = dir.path().toStdString() + "/demo-gsv.nmea";
        if (gsvLines(examples + "demo.nmea", gsv))
            bench("GSV only, demo setup", gsv, "Tiderune.ini.in", minLines, pairs, Cases::SkyPlot, only);
    }
    std::fflush(stdout);
    return 0;
}
