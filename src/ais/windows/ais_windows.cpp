#include "ais/windows/ais_windows.h"

#include <memory>

#include "ais/windows/ais_target_windows.h"
#include "ais/windows/arpa_targets_window.h"

namespace tiderune {

void installAisWindows(WindowRegistry& registry) {
    // The AIS lists of the four systems share the one detail window.
    auto link = std::make_shared<AisDetailLink>();
    registry.add(WindowKind::AISTargets, [link](Shell& s, WindowKind) { return new AISTargetsWindow(s, link); });
    registry.add(WindowKind::ARPATargets, [](Shell& s, WindowKind) { return new ARPATargetsWindow(s); });
}

}  // namespace tiderune
