#include "frame/window_registry.h"
#include "charts/chart_windows.h"
#include "charts/scatter_window.h"
#include "charts/snr_window.h"

namespace tiderune {

void installScatterAndSNRWindows(WindowRegistry& r) {
    r.add(WindowKind::Scatter, [](Shell& s, WindowKind) { return new ScatterWindow(s); });
    r.add(WindowKind::TimeSeriesSNR, [](Shell& s, WindowKind) { return new SnrTimeSeriesWindow(s); });
}

}  // namespace tiderune
