// One recording replayed twice through the offline toolbar on the real core: every series of
// every time-series window, the SNR windows included, holds the same points after each PLAY.
#include <QAction>

#include <cstdio>
#include <fstream>
#include <tuple>
#include <vector>

#include "app/offline_replay.h"
#include "app/program_core.h"
#include "app/reset_family.h"
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
    // Epochs at 1 s as a receiver sends them: position, DOPs, one GSV group and the date,
    // last or first (the first epoch has its DOPs before its position). The PDOP wanders between 1.5 and 2.5 but for one peak, after which the
    // fix is lost for a few epochs (empty DOPs); PRN 31 is low and without SNR at first, and
    // PRN 14 joins the fix for the last epochs.
    void writeRecording(int epochs, int peakEpoch, double peak, bool dateFirst) {
        std::ofstream f(recording, std::ios::binary);
        char b[160];
        for (int i = 0; i < epochs; ++i) {
            const int h = 10 + i / 3600, m = i / 60 % 60, s = i % 60;
            char zda[64];
            std::snprintf(zda, sizeof zda, "$GPZDA,%02d%02d%02d.00,15,06,2026,00,00", h, m, s);
            if (dateFirst) f << sentence(zda);
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
            std::snprintf(b, sizeof b, "$GPGSV,1,1,04,07,%02d,083,%02d,08,%02d,308,41,12,07,344,%02d,31,03,228,%s",
                          20 + i / 200 % 50, 30 + i % 17, 10 + i / 300 % 60, i % 29 + 10, snr31);
            f << sentence(b);
            if (!dateFirst) f << sentence(zda);
        }
    }

    void startOffline() {
        startOnRealCore(real);
        useSystem(shell->config, 1, "Bridge", {SentenceType::GGA, SentenceType::GSA, SentenceType::GSV, SentenceType::ZDA, SentenceType::GST});
        shell->config.Systems[1].ComPort = 0;
        shell->config.Systems[1].OfflineFile = recording;
        shell->state.StartupDone = true;
        action("mnuModeOffline")->trigger();
        ShowSkyplotWindow(*shell, 1);  // feeds the SNR windows
        ShowTimeSeriesWindows(*shell, 1);
        boxes.shown.clear();
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
        return all;
    }

    double largestPdop() {
        auto* w = qobject_cast<TimeSeriesWindow*>(shell->windows.slot(WindowKind::TimeSeriesGSA, 1).window());
        const Series& pdop = w->timeSeriesForm()->TChart(0).series(0);
        double top = 0;
        for (int i = 0; i < pdop.count(); ++i) top = std::max(top, pdop.y(i));
        return top;
    }

    std::string recording;
    ProgramCore real;
};

// A recording whose first lines come before its first date (the first pass dates them by
// the PC, as the program does at start-up) and one that dates every line.
TEST_F(ReplayChartsTest, EveryPlayOfOneRecordingDrawsTheSamePointsAndKeepsThePeak) {
    for (const bool dateFirst : {false, true}) {
        SCOPED_TRACE(dateFirst ? "date first" : "date last");
        TearDown();
        recording = dir.path().toStdString() + "/run.nmea";
        writeRecording(3600, 2900, 12.29, dateFirst);
        startOffline();
        play();
        const std::vector<Point> first = points();
        EXPECT_FLOAT_EQ(largestPdop(), 12.29);
        for (int pass = 2; pass <= 3; ++pass) {
            play();
            EXPECT_FLOAT_EQ(largestPdop(), 12.29) << "PLAY " << pass;
            const std::vector<Point> again = points();
            EXPECT_EQ(again.size(), first.size()) << "PLAY " << pass;
            for (std::size_t i = 0; i < std::min(first.size(), again.size()); ++i)
                ASSERT_EQ(again[i], first[i]) << "PLAY " << pass << " point " << i;
        }
    }
}

}  // namespace
}  // namespace tiderune::test
