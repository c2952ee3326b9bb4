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

    void ResetAll();
    void ResetNumerics();
    void ResetStatistics();
    void ResetGraphics();
    void ResetScatter();
    void ResetSkyplot();
    void ResetARPATargets();
    void ResetAISTargets();
    void RestoreTimeSeriesWindows(int system);

private:
    void reopen(WindowKind kind);

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
