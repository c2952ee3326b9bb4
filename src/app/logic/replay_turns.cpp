#include "app/logic/replay_turns.h"

#include <utility>

namespace tiderune {

ReplayTurns::ReplayTurns(std::function<double()> nowMs) : nowMs_(std::move(nowMs)), lastMs_(nowMs_()) {}

}  // namespace tiderune
