#include "views/view_windows.h"

#include "views/nmea_monitor_window.h"
#include "views/numerics_window.h"
#include "views/statistics_windows.h"

namespace tiderune {

void installViewWindows(WindowRegistry& registry) {
    registry.add(WindowKind::NMEA, [](Shell& s, WindowKind) { return new NMEAMonitorWindow(s); });
    registry.add(WindowKind::Numerics, [](Shell& s, WindowKind) { return new NumericsWindow(s); });
    registry.add(WindowKind::Statistics, [](Shell& s, WindowKind) { return new StatisticsWindow(s); });
    registry.add(WindowKind::StatisticsSNR, [](Shell& s, WindowKind) { return new StatisticsSNRWindow(s); });
}

}  // namespace tiderune
