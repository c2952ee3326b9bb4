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
        : EpochValues(o.EpochValues), lastTimeOfDay(o.lastTimeOfDay), timeOfDaySeen(o.timeOfDaySeen), clock(o.clock),
          tables_(std::make_unique<StatisticsTables>(*o.tables_)) {}
    AnalysisState& operator=(const AnalysisState& o) {
        if (this != &o) {
            EpochValues = o.EpochValues;
            lastTimeOfDay = o.lastTimeOfDay;
            timeOfDaySeen = o.timeOfDaySeen;
            clock = o.clock;
            *tables_ = *o.tables_;
        }
        return *this;
    }

    SystemStatistics& statistics(int system) { return (*tables_)[system]; }
    const SystemStatistics& statistics(int system) const { return (*tables_)[system]; }

    PerSystem<EpochValueSet> EpochValues;

    // The time of day (fraction of a day) of the last sentence time, the one a position
    // sentence's time is compared with to see a midnight crossing; unset at the start and
    // after a ZDA date without a time.
    PerSystem<double> lastTimeOfDay;
    PerSystem<bool> timeOfDaySeen;

    // The PC clock behind SetTimeFromPC and the first-sample dates; tests set their own.
    const PcClock* clock = &systemClock_;

private:
    static inline const SystemPcClock systemClock_{};
    std::unique_ptr<StatisticsTables> tables_;
};

}  // namespace tiderune
