// One recording replayed again and again through the offline toolbar on the real core: every
// series of every time-series window, the SNR and scatter windows included, holds the same
// points after each start of the recording, however it was started, also once a failed
// ONLINE switch has taken the system out of use.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "app/offline_replay.h"
#include "app/program_core.h"
#include "app/reset_family.h"
#include "charts/scatter_window.h"
#include "charts/snr_window.h"
#include "charts/time_series_window.h"
#include "core/parsers.h"
#include "shell_fixture.h"

namespace tiderune::test {
namespace {

std::string sentence(const std::string& body) { return body + "*" + CalcChecksum(body + "*") + "\r\n"; }

// One point of one series: the window, its chart and series, and the point's x and y.
using Point = std::tuple<int, int, int, int, double, double>;

class ReplayChartsTest : public ShellTest {
protected:
    // Epochs at 1 s as a receiver, a compass, a log and a sounder send them: position, DOPs,
    // GSV groups of three talkers, the other sentences of every time-series window and the dates (ZDA and
    // RMC), last or first (the first epoch has its DOPs before its position). The PDOP wanders
    // between 1.5 and 2.5 but for one peak, after which the fix is lost for a few epochs
    // (empty DOPs); PRN 31 is low and without SNR at first, and PRN 14 joins the fix for the
    // last epochs.
    void writeRecording(int epochs, int peakEpoch, double peak, bool dateFirst) {
        std::ofstream f(recording, std::ios::binary);
        char b[160];
        for (int i = 0; i < epochs; ++i) {
            const int h = 10 + i / 3600, m = i / 60 % 60, s = i % 60;
            char zda[64], rmc[128];
            std::snprintf(zda, sizeof zda, "$GPZDA,%02d%02d%02d.00,15,06,2026,00,00", h, m, s);
            std::snprintf(rmc, sizeof rmc, "$GPRMC,%02d%02d%02d.00,A,5925.12%03d,N,01029.52%03d,E,%.3f,%.1f,150626,3.6,E,D",
                          h, m, s, i * 7 % 1000, i * 11 % 1000, 0.1 + i % 9 * 0.05, 180.0 + i % 23);
            if (dateFirst) f << sentence(zda) << sentence(rmc);
            char gga[160];
            std::snprintf(gga, sizeof gga, "$GPGGA,%02d%02d%02d.00,5925.1242,N,01029.5288,E,2,08,0.9,%.1f,M,39.1,M,%.1f,0100",
                          h, m, s, 35 + (i % 7) * 0.1, 1.0 + i % 3);
            const double pdop = i == peakEpoch ? peak : 1.5 + (i * 37 % 101) / 100.0;
            if (i > peakEpoch && i <= peakEpoch + 3)
                std::snprintf(b, sizeof b, "$GPGSA,A,1,,,,,,,,,,,,,,,");
            else
                std::snprintf(b, sizeof b, "$GPGSA,A,3,07,08,12,%s,,,,,,,,,%.2f,0.9,%.1f", i >= epochs - 50 ? "14" : "", pdop,
                              1.1 + (i % 5) * 0.1);
            // The recording opens with DOPs, which carry no time: they take the time a pass
            // starts with, never the one the last pass ended with.
            if (i == 0)
                f << sentence(b) << sentence(gga);
            else
                f << sentence(gga) << sentence(b);
            char snr31[4] = "";
            if (i >= 20) std::snprintf(snr31, sizeof snr31, "%02d", 20 + i % 13);
            std::snprintf(b, sizeof b, "$GPGSV,2,1,05,07,%02d,083,%02d,08,%02d,308,41,12,07,344,%02d,31,03,228,%s",
                          20 + i / 200 % 50, 30 + i % 17, 10 + i / 300 % 60, i % 29 + 10, snr31);
            f << sentence(b);
            // An SBAS, a GLONASS and a BeiDou satellite for the other SNR windows.
            std::snprintf(b, sizeof b, "$GPGSV,2,2,05,40,25,200,%02d", 35 + i % 5);
            f << sentence(b);
            std::snprintf(b, sizeof b, "$GLGSV,1,1,01,70,%02d,120,%02d", 30 + i / 400 % 40, 28 + i % 11);
            f << sentence(b);
            std::snprintf(b, sizeof b, "$GBGSV,1,1,01,110,%02d,045,%02d", 55 - i / 500 % 40, 33 + i % 7);
            f << sentence(b);
            // The other windows' sentences, each value wandering on its own beat.
            const int q = i % 11;
            std::snprintf(b, sizeof b, "$GPGNS,%02d%02d%02d.00,5925.12%03d,N,01029.52%03d,E,%s,%02d,0.%d,%.2f,39.80,%.1f,0113",
                          h, m, s, i * 13 % 1000, i * 5 % 1000, q < 8 ? "DDNN" : "RRNN", 8 + i % 5, 4 + i % 5,
                          7.2 + q * 0.01, 1.0 + i % 4);
            f << sentence(b);
            std::snprintf(b, sizeof b, "$GPGLL,5925.12%03d,N,01029.52%03d,E,%02d%02d%02d.00,A,D", i * 3 % 1000,
                          i * 17 % 1000, h, m, s);
            f << sentence(b);
            std::snprintf(b, sizeof b, "$GPVTG,%.1f,T,,M,%.3f,N,%.3f,K,D", 180.0 + i % 19, 0.1 + i % 7 * 0.05,
                          0.2 + i % 7 * 0.09);
            f << sentence(b);
            std::snprintf(b, sizeof b, "$HEHDT,%.2f,T", 183.0 + i % 17 * 0.1);
            f << sentence(b);
            std::snprintf(b, sizeof b, "$HEROT,%.1f,A", (i % 9 - 4) * 0.5);
            f << sentence(b);
            std::snprintf(b, sizeof b, "$PADHRS,att,%.2f,%.2f,%.2f,%02d%02d%02d.50", 183.0 + i % 13 * 0.1,
                          (i % 7 - 3) * 0.1, (i % 5 - 2) * 0.3, h, m, s);
            f << sentence(b);
            std::snprintf(b, sizeof b, "$VWVHW,%.1f,T,%.1f,M,%.2f,N,%.2f,K", 183.0 + i % 3, 179.4 + i % 3,
                          0.3 + i % 6 * 0.01, 0.55 + i % 6 * 0.02);
            f << sentence(b);
            const double depth = 9.0 + i % 15 * 0.1;
            std::snprintf(b, sizeof b, "$SDDBT,%.1f,f,%.1f,M,%.1f,F", depth / 0.3048, depth, depth / 1.8288);
            f << sentence(b);
            std::snprintf(b, sizeof b, "$GPGST,%02d%02d%02d.00,1.15,0.30,0.23,11.3,%.2f,%.2f,%.2f", h, m, s,
                          0.2 + i % 8 * 0.01, 0.24 + i % 6 * 0.01, 0.48 + i % 10 * 0.02);
            f << sentence(b);
            if (!dateFirst) f << sentence(zda) << sentence(rmc);
        }
    }

    void startOffline() {
        // A core of its own for each start, as each run of the program has.
        real = std::make_unique<ProgramCore>();
        startOnRealCore(*real);
        useSystem(shell->config, 1, "Bridge", {});
        analyseEveryType();
        shell->config.Systems[1].ComPort = 0;
        shell->config.Systems[1].OfflineFile = recording;
        shell->state.StartupDone = true;
        boxes.answers = {MessageAnswer::Yes};
        action("mnuModeOffline")->trigger();
        ASSERT_EQ(shell->config.Mode, "OFFLINE");
        ShowSkyplotWindow(*shell, 1);  // feeds the SNR windows
        ShowTimeSeriesWindows(*shell, 1);
        boxes.shown.clear();
    }

    // Every type the recording holds; a setup file lists ten at most.
    void analyseEveryType() {
        using T = SentenceType;
        for (T t : {T::GGA, T::GNS, T::GLL, T::RMC, T::VTG, T::GSA, T::GSV, T::ZDA, T::HDT, T::ATT, T::ROT, T::VHW, T::DBT,
                    T::GST})
            shell->config.Systems[1].analysed(t) = true;
    }

    void play() {
        QAction* b = MainWindow::button(window->offlineToolBar(), "PLAY");
        ASSERT_NE(b, nullptr);
        b->trigger();
        ASSERT_FALSE(shell->run.OfflineRunning);
    }

    // Every point of every series of system 1's time-series and SNR windows.
    std::vector<Point> points() {
        std::vector<Point> all;
        auto take = [&](int window, int c, const Chart& chart) {
            for (int s = 0; s < chart.seriesCount(); ++s) {
                const Series& series = chart.series(s);
                for (int i = 0; i < series.count(); ++i) all.emplace_back(window, c, s, i, series.x(i), series.y(i));
            }
        };
        for (int k = static_cast<int>(WindowKind::TimeSeriesGGA); k < static_cast<int>(WindowKind::TimeSeriesSNR); ++k) {
            auto* w = qobject_cast<TimeSeriesWindow*>(shell->windows.slot(static_cast<WindowKind>(k), 1).window());
            if (!w) continue;
            const TimeSeriesForm& form = *w->timeSeriesForm();
            for (int c = 0; c < form.ChartCount; ++c) take(k, c, form.TChart(c));
        }
        for (int constellation = 1; constellation <= 5; ++constellation) {
            auto* w = qobject_cast<SnrTimeSeriesWindow*>(
                shell->windows.slot(WindowKind::TimeSeriesSNR, 1, constellation).window());
            if (!w) continue;

            for (int c = 0; c <= 32; ++c) take(100 + constellation, c, w->snrChart(c));
        }
        if (auto* w = qobject_cast<ScatterWindow*>(shell->windows.slot(WindowKind::Scatter, 1).window()))
            take(200, 0, w->scatterChart());
        return all;
    }

    // Step from idle, `steps` lines in all, then PLAY while the replay waits.
    void stepThenPlay(int steps) {
        QTimer next;
        QObject::connect(&next, &QTimer::timeout, [&] {
            if (!program->replay().isWaiting()) return;
            if (--steps > 0) {
                MainWindow::button(window->offlineToolBar(), "Step")->trigger();
                return;
            }
            next.stop();
            MainWindow::button(window->offlineToolBar(), "PLAY")->trigger();
        });
        next.start(0);
        QAction* b = MainWindow::button(window->offlineToolBar(), "Step");
        ASSERT_NE(b, nullptr);
        b->trigger();
        ASSERT_FALSE(shell->run.OfflineRunning);
    }

    // PLAY, and STOP at the replay's first turn after `lines` lines.
    void playAndStopAfter(long long lines) {
        QTimer stop;
        QObject::connect(&stop, &QTimer::timeout, [&] {
            if (program->replay().linesReplayed() < lines) return;
            stop.stop();
            boxes.answers = {MessageAnswer::Yes};
            MainWindow::button(window->offlineToolBar(), "STOP")->trigger();
        });
        stop.start(0);
        play();
        EXPECT_GE(program->replay().linesReplayed(), lines);
    }

    // The captions of the windows on screen, in their stacking order.
    std::vector<std::string> shownWindows() {
        std::vector<std::string> shown;
        for (QMdiSubWindow* sub : window->mdiArea()->subWindowList(QMdiArea::StackingOrder))
            if (sub->isVisible()) shown.push_back(sub->windowTitle().toStdString());
        return shown;
    }

    std::string recording;
    std::unique_ptr<ProgramCore> real;
};

// A recording whose first lines come before its first date (the first pass dates them by
// the PC, as the program does at start-up) and one that dates every line. Every way of
// starting the recording from its first line again is a new run alike.
TEST_F(ReplayChartsTest, EveryPlayOfOneRecordingDrawsTheSamePoints) {
    for (const bool dateFirst : {false, true}) {
        SCOPED_TRACE(dateFirst ? "date first" : "date last");
        TearDown();
        recording = dir.path().toStdString() + "/run.nmea";
        writeRecording(1800, 1450, 12.29, dateFirst);
        startOffline();
        play();
        const long long lines = program->replay().linesReplayed();
        const std::vector<Point> first = points();
        // Every time-series window, the four SNR windows the satellites reach and the scatter
        // have points.
        std::set<int> fed;
        for (const Point& p : first) fed.insert(std::get<0>(p));
        std::set<int> every{101, 102, 103, 104, 200};
        for (WindowKind kind : TimeSeriesKinds) every.insert(static_cast<int>(kind));
        EXPECT_EQ(fed, every);
        // How the user starts the recording again, and what the user does before: nothing; a
        // STOP part way; another setup file, the same one here; switching to ONLINE, where the
        // primary system has no port and is taken out of use, and back, which the replay reads
        // all the same; and giving that system a true reference position, as its setup's OK
        // does even with the system left out of use, which moves every offset but adds no
        // point (these on the recording that dates its lines from the first, as the demo's does).
        enum class Points { Same, SnrInTimeOrder, Other };
        struct Step {
            const char* what;
            Points expected;
            std::function<void()> act;
            std::function<void()> start = {};  // PLAY when empty
        };
        const std::vector<Step> before{
            {"PLAY at the end of the file", Points::Same, [] {}},
            {"PLAY after a STOP", Points::Same,
             [&] {
                 playAndStopAfter(4321);
                 EXPECT_LT(program->replay().linesReplayed(), lines);
             }},
            {"File > Open of the same setup, then PLAY", Points::Same,
             [&] {
                 const std::string setup = dir.path().toStdString() + "/same.ini";
                 shell->core.SaveSetupFile(setup);
                 fileDialogs.answers = {setup};
                 action("mnuFileOpen")->trigger();
                 ASSERT_EQ(shell->config.Systems[1].OfflineFile, recording);
                 analyseEveryType();
             }},
            {"PLAY at the end of the file again", Points::Same, [] {}},
            // Step takes its line in before PLAY's reset empties the charts: a recording that
            // opens with its date, as the demo's does, so that the line feeds no chart.
            {"Step, then PLAY", Points::Same, [] {}, [&] { stepThenPlay(1); }},
            // The SNR windows keep their points through PLAY's reset, which takes the stepped
            // lines' points from the other windows: the stepped groups take the last pass's
            // points back as PLAY's first groups do. The GSV window's filter, which they
            // follow, is Off, so that the stepped samples are points whatever length the last
            // pass left (the reset puts the window back to "Automatic", and the decimation
            // then differs from the first pass's by the points the reset took).
            {"Steps over the first satellite groups, then PLAY", Points::SnrInTimeOrder,
             [&] {
                 auto* gsv = qobject_cast<TimeSeriesWindow*>(shell->windows.slot(WindowKind::TimeSeriesGSV, 1).window());
                 ASSERT_NE(gsv, nullptr);
                 gsv->timeSeriesForm()->cmbFilter_Click(1);
             },
             [&] { stepThenPlay(8); }},
            {"ONLINE without a port, then OFFLINE", Points::Same,
             [&] {
                 boxes.answers = {MessageAnswer::Yes, MessageAnswer::Ok};
                 action("mnuModeOnline")->trigger();
                 ASSERT_FALSE(shell->config.Systems[1].InUse);
                 boxes.answers = {MessageAnswer::Yes};
                 action("mnuModeOffline")->trigger();
             }},
            {"nothing, the system out of use", Points::Same, [] {}},
            {"a true reference, the system out of use", Points::Other,
             [&] {
                 Config& c = shell->config;
                 c.ReferenceMode[1] = 2;
                 c.ReferenceLat[1] = (59 + 25.1 / 60) * 3.14159265359 / 180;
                 c.ReferenceLon[1] = (10 + 29.5 / 60) * 3.14159265359 / 180;
                 c.ReferenceHeight[1] = 40;
             }},
        };
        for (std::size_t step = 0; step < (dateFirst ? before.size() : 4); ++step) {
            const Step& s = before[step];
            SCOPED_TRACE(s.what);
            s.act();
            const std::vector<std::string> shown = shownWindows();
            if (s.start)
                s.start();
            else
                play();
            EXPECT_EQ(shownWindows(), shown);
            EXPECT_EQ(program->replay().linesReplayed(), lines);
            const std::vector<Point> again = points();
            if (s.expected == Points::SnrInTimeOrder) {
                for (std::size_t i = 1; i < again.size(); ++i) {
                    const auto [w, c, series, index, x, y] = again[i];
                    if (w > 100 && w < 200 && index > 0) {
                        ASSERT_GE(x, std::get<4>(again[i - 1])) << "point " << i;
                    }
                }
                continue;
            }
            ASSERT_EQ(again.size(), first.size());
            for (std::size_t i = 0; s.expected == Points::Same && i < first.size(); ++i)
                ASSERT_EQ(again[i], first[i]) << "point " << i;
            if (s.expected == Points::Other) {
                EXPECT_NE(again, first);
            }
        }
    }
}

}  // namespace
}  // namespace tiderune::test
