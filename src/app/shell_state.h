#pragma once
// The session-control values the main window owns for the whole run: start-up and closing
// flags, the system colours, the hand-over words of the window kinds and what the last
// graphics reset saw. The run state the core reads (pause, replay flags, logging) lives in
// the core's tables.
#include <array>
#include <cstdint>

#include "app/window_kinds.h"
#include "core/indexed.h"

namespace tiderune {

struct ShellState {
    bool StartupDone = false;
    bool AppClosing = false;

    // Windows colour values, red in the low byte.
    PerSystem<std::uint32_t> SystemColour{};

    std::array<std::int16_t, HandOverCount> handOver{};
    std::int16_t SNRWindowConstellation = 0;

    // Per system and time-series kind (index into TimeSeriesKinds): visible when the last
    // graphics reset closed it.
    PerSystem<std::array<bool, TimeSeriesKinds.size()>> TimeSeriesWasVisible{};

    std::int16_t& word(HandOver h) { return handOver[static_cast<std::size_t>(h)]; }
    // The system a loading window takes: 0 (never handed over) counts as system 1.
    int takeSystem(HandOver h) const {
        int s = handOver[static_cast<std::size_t>(h)];
        return isValidSystem(s) ? s : 1;
    }
};

}  // namespace tiderune
