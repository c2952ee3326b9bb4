#include "views/view_windows.h"

#include "views/nmea_monitor_window.h"

namespace tiderune {

void installViewWindows(WindowRegistry& registry) {
    registry.add(WindowKind::NMEA, [](Shell& s, WindowKind) { return new NMEAMonitorWindow(s); });
}

}  // namespace tiderune
