#pragma once
// The running statistics of every system: the position and attitude records that keep the
// reference in its averaging mode, one block per quantity of each sentence type, and the
// signal-to-noise tables per constellation. Fixed size, made once, cleared by the resets.
#include "indexed.h"
#include "statistics.h"

namespace tiderune {

struct SystemStatistics {
    StatRecordDbl LatitudeStats;   // radians
    StatRecordDbl LongitudeStats;  // radians
    StatRecord HeightStats;
    StatRecord HeadingStats;
    StatRecord PitchStats;
    StatRecord RollStats;

    IndexedArray<StatBlock, 0, 9> GGAStats;
    IndexedArray<StatBlock, 0, 8> GNSStats;
    IndexedArray<StatBlock, 0, 2> GLLStats;
    IndexedArray<StatBlock, 0, 4> RMCStats;
    IndexedArray<StatBlock, 0, 1> VTGStats;
    IndexedArray<StatBlock, 0, 0> HDTStats;
    IndexedArray<StatBlock, 0, 2> ATTStats;
    IndexedArray<StatBlock, 0, 0> ROTStats;
    IndexedArray<StatBlock, 0, 2> VHWStats;
    IndexedArray<StatBlock, 0, 0> DBTStats;
    IndexedArray<StatBlock, 0, 2> GSAStats;
    IndexedArray<StatBlock, 0, 6> GSTStats;

    SNRStatBlock GSVStats;  // satellites in view, one sample per complete GSV group
    IndexedArray<SNRStatBlock, 1, 32> GPSSNRStats;      // satellite n
    IndexedArray<SNRStatBlock, 1, 32> SBASSNRStats;     // satellite 32 + n
    IndexedArray<SNRStatBlock, 1, 46> GLONASSSNRStats;  // satellite 64 + n
    IndexedArray<SNRStatBlock, 1, 50> BeiDouSNRStats;   // satellite 100 + n
};

// Some 2 MB: allocate the owner on the heap.
using StatisticsTables = PerSystem<SystemStatistics>;

// Clears every record and block of one system; the next sample of each is a first sample.
void ResetSystemStatistics(SystemStatistics& stats);

}  // namespace tiderune
