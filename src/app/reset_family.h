#pragma once
// The resets: clear the running statistics, rebuild the charts empty and reopen every open
// window from a fresh state. Before the start-up is done they close nothing, so the reset of
// the start-up only opens what the setup file records as open.
#include "frame/window_kinds.h"

namespace tiderune {

class Shell;

class ResetFamily {
public:
    explicit ResetFamily(Shell& shell) : shell_(shell) {}

    // `replayed`: a system whose charts start afresh too when it is not in use, the one a
    // replay is about to read (0: none).
    void ResetAll(int replayed = 0);
    void ResetNumerics();
    void ResetStatistics();
    void ResetGraphics(int replayed = 0);
    void ResetScatter(int replayed = 0);
    void ResetSkyplot();
    void ResetARPATargets();
    void ResetAISTargets();
    void RestoreTimeSeriesWindows(int system);

private:
    void reopen(WindowKind kind);
    // The systems whose time-series and scatter windows a reset rebuilds.
    bool charted(int system, int replayed) const;

    Shell& shell_;
};

// The show routines: hand the system over to the window kind and show the window.
void ShowNumericsWindow(Shell& shell, int system);
void ShowStatisticsWindow(Shell& shell, int system);
void ShowStatisticsSNRWindow(Shell& shell, int system);
void ShowSkyplotWindow(Shell& shell, int system);
void ShowScatterWindow(Shell& shell, int system);
void ShowNMEAWindow(Shell& shell, int system);
void ShowARPATargetsWindow(Shell& shell, int system);
void ShowAISTargetsWindow(Shell& shell, int system);
void ShowTimeSeriesWindows(Shell& shell, int system);

}  // namespace tiderune
