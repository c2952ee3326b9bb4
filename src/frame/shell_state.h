#pragma once
// The session-control values the main window owns for the whole run: start-up and closing
// flags, the system colours, the hand-over words of the window kinds and what the last
// graphics reset saw. The run state the core reads (pause, replay flags, logging) lives in
// the core's tables.
#include <array>
#include <cstdint>

#include "frame/window_kinds.h"
#include "core/indexed.h"

namespace tiderune {

struct ShellState {
    bool StartupDone = false;
    bool AppClosing = false;

    // Windows colour values, red in the low byte.
    PerSystem<std::uint32_t> SystemColour{};

    // The monitor's word is the core's NMEACurrentSystem (see Shell::handOverWord).
    std::array<std::int16_t, HandOverCount> handOver{};
    std::int16_t SNRWindowConstellation = 0;

    // Per system and time-series kind (index into TimeSeriesKinds): visible when the last
    // graphics reset closed it.
    PerSystem<std::array<bool, TimeSeriesKinds.size()>> TimeSeriesWasVisible{};

};

}  // namespace tiderune
