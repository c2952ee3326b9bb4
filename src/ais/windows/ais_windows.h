#pragma once
// The install call of the AIS and ARPA window library: registers the AIS target list and the
// ARPA target list. The one AIS detail window of the program is opened by the lists.
#include "frame/window_registry.h"

namespace tiderune {

void installAisWindows(WindowRegistry& registry);

}  // namespace tiderune
