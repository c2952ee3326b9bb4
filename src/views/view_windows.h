#pragma once
// The install call of this window library: registers the window class of each kind it builds.
#include "frame/window_registry.h"

namespace tiderune {

void installViewWindows(WindowRegistry& registry);

}  // namespace tiderune
