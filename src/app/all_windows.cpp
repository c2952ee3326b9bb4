#include "app/all_windows.h"

#include "ais/windows/ais_windows.h"
#include "charts/chart_windows.h"
#include "views/view_windows.h"

namespace tiderune {

void installAllWindows(WindowRegistry& r) {
    installViewWindows(r);
    installAisWindows(r);
    installChartWindows(r);

    // Not built yet: each opens as an empty window with its caption. A window library that
    // registers one of these kinds takes its line out.
    using K = WindowKind;
    r.addPlaceholder(K::Scatter);
    r.addPlaceholder(K::TimeSeriesSNR);
}

}  // namespace tiderune
