#include "app/all_windows.h"

#include "ais/windows/ais_windows.h"
#include "charts/chart_windows.h"
#include "views/view_windows.h"

namespace tiderune {

void installAllWindows(WindowRegistry& r) {
    installViewWindows(r);
    installAisWindows(r);
    installChartWindows(r);
}

}  // namespace tiderune
