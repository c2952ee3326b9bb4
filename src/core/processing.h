#pragma once
// Per-type processing of one recognised sentence: epoch time, reference, statistics and the
// fan-out to what is open or analysed for the system.
#include "core_sink.h"
#include "core_state.h"
#include "records.h"

namespace tiderune {

// Runs once for every recognised sentence, right after the intake has parsed it into the
// system's NMEAMessages record. `system` is 1 to 4.
void ProcessMessageType(CoreState& state, CoreSink& sink, int system, SentenceType type);

}  // namespace tiderune
