#pragma once
// Per-type processing of one recognised sentence: epoch time, reference, statistics and the
// fan-out to what is open or analysed for the system.
#include "core_sink.h"
#include "core_state.h"
#include "records.h"

namespace tiderune {

// Runs once for every recognised sentence, right after the intake has parsed it into the
// system's NMEAMessages record. `system` is 1 to 4. Raises Type mismatch when a GLL or RMC
// time, an RMC date or a ZDA date gives no date-time; the sentence then has no effect.
void ProcessMessageType(CoreState& state, CoreSink& sink, int system, SentenceType type);

// Derives the epoch values of a position or attitude sentence and feeds the quantities of
// the sentence into its type's statistics blocks. Part of ProcessMessageType's fan-out.
void StoreEpochValues(CoreState& state, int system, SentenceType type);

// Rebuilds the system's 16 analyse flags from slots 1 to 10 of its MessagesToAnalyse; an
// empty slot ends the list.
void SetAnalysedMessageTypes(Config& config, int system);

// Clears every statistics record and block of one system (the reset family's per-system step).
void ResetSystemStatistics(CoreState& state, int system);

// Every system's dates start afresh, as at start-up and at each new run of a recording:
// the sentence date is the whole day of `today` (a day count), there is no epoch time yet,
// and the next position time has no earlier time of day to step back from. So a recording
// played again dates its lines as the first pass did, whatever date the last pass ended on.
void StartDates(CoreState& state, double today);

}  // namespace tiderune
