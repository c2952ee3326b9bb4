#include "app/reset_family.h"

#include "frame/shell.h"

namespace tiderune {

namespace {

using K = WindowKind;

std::size_t timeSeriesIndex(WindowKind kind) {
    for (std::size_t i = 0; i < TimeSeriesKinds.size(); ++i)
        if (TimeSeriesKinds[i] == kind) return i;
    return 0;
}

void handOverAndShow(Shell& shell, WindowKind kind, int system) {
    shell.handOverWord(windowKindInfo(kind).handOver) = static_cast<std::int16_t>(system);
    shell.windows.slot(kind, system).show();
}

}  // namespace

void ShowNumericsWindow(Shell& shell, int system) { handOverAndShow(shell, K::Numerics, system); }
void ShowStatisticsWindow(Shell& shell, int system) { handOverAndShow(shell, K::Statistics, system); }
void ShowStatisticsSNRWindow(Shell& shell, int system) { handOverAndShow(shell, K::StatisticsSNR, system); }
void ShowSkyplotWindow(Shell& shell, int system) { handOverAndShow(shell, K::Skyplot, system); }
void ShowScatterWindow(Shell& shell, int system) { handOverAndShow(shell, K::Scatter, system); }
void ShowNMEAWindow(Shell& shell, int system) { handOverAndShow(shell, K::NMEA, system); }
void ShowARPATargetsWindow(Shell& shell, int system) { handOverAndShow(shell, K::ARPATargets, system); }
void ShowAISTargetsWindow(Shell& shell, int system) { handOverAndShow(shell, K::AISTargets, system); }

void ShowTimeSeriesWindows(Shell& shell, int system) {
    static const WindowKind Order[] = {K::TimeSeriesDBT, K::TimeSeriesVHW, K::TimeSeriesROT,
                                       K::TimeSeriesHDT, K::TimeSeriesATT, K::TimeSeriesGSA,
                                       K::TimeSeriesGST, K::TimeSeriesGSV, K::TimeSeriesVTG,
                                       K::TimeSeriesGLL, K::TimeSeriesRMC, K::TimeSeriesGGA,
                                       K::TimeSeriesGNS};
    const SystemSetup& s = shell.config.Systems[system];
    for (WindowKind kind : Order) {
        if (!analysesKind(s, kind)) continue;
        // The window is normally loaded already; one that is not (an exit refused half-way
        // closed it) must still load for this system, not for the last one handed over.
        shell.handOverWord(windowKindInfo(kind).handOver) = static_cast<std::int16_t>(system);
        shell.windows.slot(kind, system).setVisible(true);
        if (kind == K::TimeSeriesGSV) {
            shell.handOverWord(HandOver::SNRTimeSeries) = static_cast<std::int16_t>(system);
            for (int c = 1; c <= 4; ++c) {
                shell.state.SNRWindowConstellation = static_cast<std::int16_t>(c);
                shell.windows.slot(K::TimeSeriesSNR, system, c).setVisible(true);
            }
        }
    }
}

void ResetFamily::ResetAll(int replayed) {
    // The windows come back where they were, in their states and in the same pile.
    KeepStacking keep(shell_);
    // Starting afresh shows each parser failure again the first time it comes back.
    shell_.coreState.parserNotices.reset();
    ResetNumerics();
    ResetStatistics();
    ResetGraphics(replayed);
    ResetScatter(replayed);
    ResetSkyplot();
    ResetARPATargets();
    ResetAISTargets();
}

void ResetFamily::reopen(WindowKind kind) {
    KeepStacking keep(shell_);
    const WindowKindInfo& info = windowKindInfo(kind);
    for (int s = 1; s <= MaxSystems; ++s) {
        if (!shell_.config.WindowVisible[s][info.visibleWord]) continue;
        if (shell_.state.StartupDone) shell_.windows.slot(kind, s).unload();
        handOverAndShow(shell_, kind, s);
    }
}

void ResetFamily::ResetNumerics() { reopen(K::Numerics); }
void ResetFamily::ResetSkyplot() { reopen(K::Skyplot); }
void ResetFamily::ResetARPATargets() { reopen(K::ARPATargets); }
void ResetFamily::ResetAISTargets() { reopen(K::AISTargets); }

void ResetFamily::ResetStatistics() {
    KeepStacking keep(shell_);
    const int word = windowKindInfo(K::Statistics).visibleWord;
    for (int s = 1; s <= MaxSystems; ++s) {
        shell_.core.ResetSystemStatistics(s);
        if (!shell_.config.WindowVisible[s][word]) continue;
        if (shell_.state.StartupDone) shell_.windows.slot(K::Statistics, s).unload();
        ShowStatisticsWindow(shell_, s);
        if (shell_.config.Systems[s].GSVAnalysed) ShowStatisticsSNRWindow(shell_, s);
    }
}

bool ResetFamily::charted(int system, int replayed) const {
    // A replay reads its system's file whether the system is in use or not (a failed ONLINE
    // switch takes it out of use): its lines must not be drawn over the last run's.
    return shell_.config.Systems[system].InUse || system == replayed;
}

void ResetFamily::ResetGraphics(int replayed) {
    static const WindowKind UnloadOrder[] = {K::TimeSeriesGGA, K::TimeSeriesGNS, K::TimeSeriesGLL,
                                             K::TimeSeriesRMC, K::TimeSeriesVTG, K::TimeSeriesGSA,
                                             K::TimeSeriesGST, K::TimeSeriesGSV, K::TimeSeriesHDT,
                                             K::TimeSeriesATT, K::TimeSeriesROT, K::TimeSeriesVHW,
                                             K::TimeSeriesDBT};
    // The SNR windows are not rebuilt and keep their points; the run that follows takes back
    // the stretch of time it goes over again (a replay of the same recording).
    shell_.timeSeries.MarkSNRSeriesForNewRun();
    KeepStacking keep(shell_);
    for (int s = 1; s <= MaxSystems; ++s) {
        const SystemSetup& sys = shell_.config.Systems[s];
        if (!charted(s, replayed)) continue;
        if (shell_.state.StartupDone) {
            for (WindowKind kind : UnloadOrder) {
                if (!analysesKind(sys, kind)) continue;
                WindowSlot& slot = shell_.windows.slot(kind, s);
                shell_.state.TimeSeriesWasVisible[s][timeSeriesIndex(kind)] = slot.isVisible();
                slot.unload();
            }
        }
        RestoreTimeSeriesWindows(s);
    }
}

void ResetFamily::RestoreTimeSeriesWindows(int system) {
    static const WindowKind Order[] = {K::TimeSeriesGGA, K::TimeSeriesGNS, K::TimeSeriesGLL,
                                       K::TimeSeriesRMC, K::TimeSeriesVTG, K::TimeSeriesHDT,
                                       K::TimeSeriesATT, K::TimeSeriesROT, K::TimeSeriesVHW,
                                       K::TimeSeriesDBT, K::TimeSeriesGSA, K::TimeSeriesGST,
                                       K::TimeSeriesGSV};
    const SystemSetup& sys = shell_.config.Systems[system];
    for (WindowKind kind : Order) {
        if (!analysesKind(sys, kind)) continue;
        shell_.handOverWord(windowKindInfo(kind).handOver) = static_cast<std::int16_t>(system);
        WindowSlot& slot = shell_.windows.slot(kind, system);
        slot.setVisible(false);
        if (shell_.state.TimeSeriesWasVisible[system][timeSeriesIndex(kind)]) slot.show();
    }
}

void ResetFamily::ResetScatter(int replayed) {
    KeepStacking keep(shell_);
    bool wasVisible = false;
    for (int s = 1; s <= MaxSystems; ++s) {
        if (!charted(s, replayed)) continue;
        WindowSlot& slot = shell_.windows.slot(K::Scatter, s);
        if (shell_.state.StartupDone) {
            wasVisible = slot.isVisible();
            slot.unload();
        }
        if (!wasVisible) {
            shell_.handOverWord(HandOver::Scatter) = static_cast<std::int16_t>(s);
            slot.setVisible(false);
        } else {
            ShowScatterWindow(shell_, s);
        }
    }
}

}  // namespace tiderune
