#pragma once
// What the per-type processing keeps per system besides the epoch time: the epoch values
// derived from the last position or attitude sentence, and the running statistics.
#include <memory>

#include "epoch_time.h"
#include "indexed.h"
#include "statistics_tables.h"

namespace tiderune {

// Offsets and deviations of the current epoch from the reference; -9999 when they cannot be
// derived; otherwise they keep their value until a sentence of a type that sets them.
struct EpochValueSet {
    float EpochNorth = 0;            // metres
    float EpochEast = 0;             // metres
    float EpochHorizontalError = 0;  // metres
    float EpochHeightDiff = 0;       // metres
    float EpochHeadingDev = 0;       // degrees, -180 to 180
    float EpochPitchDev = 0;         // degrees
    float EpochRollDev = 0;          // degrees
};

class AnalysisState {
public:
    AnalysisState() : tables_(std::make_unique<StatisticsTables>()) {}
    AnalysisState(const AnalysisState& o)
        : EpochValues(o.EpochValues), epochFromSentence(o.epochFromSentence),
          lastSentenceEpoch(o.lastSentenceEpoch), sentenceEpochSeen(o.sentenceEpochSeen), clock(o.clock),
          tables_(std::make_unique<StatisticsTables>(*o.tables_)) {}
    AnalysisState& operator=(const AnalysisState& o) {
        if (this != &o) {
            EpochValues = o.EpochValues;
            epochFromSentence = o.epochFromSentence;
            lastSentenceEpoch = o.lastSentenceEpoch;
            sentenceEpochSeen = o.sentenceEpochSeen;
            clock = o.clock;
            *tables_ = *o.tables_;
        }
        return *this;
    }

    SystemStatistics& statistics(int system) { return (*tables_)[system]; }
    const SystemStatistics& statistics(int system) const { return (*tables_)[system]; }

    PerSystem<EpochValueSet> EpochValues;

    // Whether EpochTime came from a sentence's own time (rather than the PC clock or nothing
    // yet), and the last epoch time that did: only a step back between two
    // sentence times can be a midnight crossing, also when PC-timed sentences lie between.
    PerSystem<bool> epochFromSentence;
    PerSystem<double> lastSentenceEpoch;
    PerSystem<bool> sentenceEpochSeen;

    // The PC clock behind SetTimeFromPC and the first-sample dates; tests set their own.
    const PcClock* clock = &systemClock_;

private:
    static inline const SystemPcClock systemClock_{};
    std::unique_ptr<StatisticsTables> tables_;
};

}  // namespace tiderune
