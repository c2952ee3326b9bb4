#pragma once
// The one place where every window library is installed: the program (program.h) calls it
// before the start-up makes the window slots.
#include "frame/window_registry.h"

namespace tiderune {

void installAllWindows(WindowRegistry& registry);

}  // namespace tiderune
