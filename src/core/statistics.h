#pragma once
// Running statistics of one quantity since the last reset: count, mean, standard deviation,
// extremes, a missing-sample count and the 68 % / 95 % levels. Every record is fixed-size and
// lives for the whole run; nothing is stored per sample.
//
// The levels are defined by a walk over the bin counts with a running share kept in single
// precision. Walking up to 1001 bins after every sample is far too slow for the intake, so
// the levels are worked out only when read, and then from exact integer sums kept beside
// the counts; the single-precision walk is run only when a share lies so close to 68 % or
// 95 % that its rounding could decide the outcome.
// The levels are therefore always the ones the walk gives.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "counting.h"

namespace tiderune {

// The PC date stamped on the first sample of a record ("dd mmm yyyy"). Asked only when a
// record takes its first sample, so the clock is not read per sample.
class StatDateSource {
public:
    virtual ~StatDateSource() = default;
    virtual std::string todayText() const = 0;
};

template <typename Real>
struct BasicStatRecord {
    std::int32_t count = 0;
    std::string firstDate;  // PC date of the first sample
    std::string firstTime;  // label of the first sample
    std::string lastTime;   // label of the latest sample
    double sum = 0;         // of (x - x0)
    double sumOfSquares = 0;
    Real maximum = 0;
    Real minimum = 0;
    Real mean = 0;
    Real standardDeviation = 0;
    Real x0 = 0;            // the first sample: shift of the sums
    bool noData = false;    // the latest value offered was a missing one
    Real lastValue = 0;     // the latest value accepted

    // What a "current" column shows: the latest value offered, missing when it was.
    Real current() const { return noData ? Real(-9999) : lastValue; }
};

using StatRecord = BasicStatRecord<float>;
using StatRecordDbl = BasicStatRecord<double>;

struct MissingCounter {
    std::int32_t count = 0;
};

namespace detail {
struct LevelTableTestAccess;

// Counts of one level table and its levels, worked out when they are read. The levels
// depend on nothing but the counts, so reading them after the last sample gives exactly
// what a recomputation after every sample would have left there. Each level remembers its
// bin and the number of samples before it in walking order, so after a sample it moves by
// the few bins the new share calls for instead of walking the table again.
template <int BinCount, bool FromTop>
class LevelTable {
public:
    static constexpr int Bins = BinCount;
    using Counts = std::array<std::int32_t, BinCount + 1>;

    // counts()[0] is the number of samples, counts()[i] the count of bin i.
    const Counts& counts() const { return counts_; }
    void add(int bin) {
        // A full table keeps its levels: shares need the total and the bins to agree.
        if (atMaximum(counts_[0])) return;
        ++counts_[0];
        if (counts_[static_cast<std::size_t>(bin)]++ == 0) ++usedBins_;
        const int pos = position(bin);
        for (Level& l : levels_)
            if (pos < l.pos) ++l.before;
        stale_ = true;
    }
    // The 68 % and 95 % bins; 1 before any sample.
    int bin68() const {
        refresh();
        return bin68_;
    }
    int bin95() const {
        refresh();
        return bin95_;
    }

private:
    // Lets a test start from a table that a run of thousands of millions of samples filled.
    friend struct LevelTableTestAccess;
    struct Level {
        int pos = 1;              // walking position of the level's bin
        std::int64_t before = 0;  // samples at earlier walking positions
    };
    static constexpr int position(int bin) { return FromTop ? BinCount + 1 - bin : bin; }
    std::int32_t countAt(int pos) const { return counts_[static_cast<std::size_t>(position(pos))]; }
    void refresh() const;

    Counts counts_{};
    std::int32_t usedBins_ = 0;
    mutable Level levels_[2];
    mutable int bin68_ = 1;
    mutable int bin95_ = 1;
    mutable bool stale_ = false;
};
}  // namespace detail

// Absolute values in 0.01-wide bins: bin i (1..1000) holds |x| in [(i-1)/100, i/100), bin
// 1001 holds 10 and more. The levels are the lower edges of the first bins whose running
// share exceeds 68 % and 95 % (10 for the overflow bin).
struct PercentileTable : detail::LevelTable<1001, false> {
    float p68() const { return static_cast<float>((bin68() - 1) / 100.0); }
    float p95() const { return static_cast<float>((bin95() - 1) / 100.0); }
};

// Whole-unit bins: bin i (1..100) holds [i, i+1), bin 101 values above 100. The levels count
// from the top: more than 68 % (95 %) of the samples lie above them.
struct SNRPercentileTable : detail::LevelTable<101, true> {
    float level68() const { return static_cast<float>(bin68() - 1); }
    float level95() const { return static_cast<float>(bin95() - 1); }
};

struct StatBlock {
    StatRecord record;
    MissingCounter missing;
    PercentileTable percentiles;
};

struct SNRStatBlock {
    StatRecord record;
    MissingCounter missing;
    SNRPercentileTable percentiles;
};

// One sample; a missing value (-9999) only sets the no-data flag. Raises Overflow when a
// result does not fit the record's precision.
void UpdateStatRecord(StatRecord& rec, float value, std::string_view timeLabel,
                      const StatDateSource& dates);
void UpdateStatRecordDbl(StatRecordDbl& rec, double value, std::string_view timeLabel,
                         const StatDateSource& dates);

void UpdatePercentileTable(PercentileTable& table, float value);
// Takes whole values from 1 upward; anything below 1 is ignored (AddSampleNonZero counts
// it as missing before it gets here).
void UpdateSNRPercentileTable(SNRPercentileTable& table, float value);

// Missing (-9999) is counted, anything else accumulated.
void AddSample(float value, StatBlock& block, std::string_view timeLabel,
               const StatDateSource& dates);
// Missing, 0 and anything below 1 (a negative SNR or count from a faulty sentence) are
// counted as missing; nothing outside the table is ever indexed.
void AddSampleNonZero(float value, SNRStatBlock& block, std::string_view timeLabel,
                      const StatDateSource& dates);

void CountMissing(StatBlock& block);
void CountMissing(SNRStatBlock& block);

void ResetStatRecord(StatRecord& rec);
void ResetStatRecordDbl(StatRecordDbl& rec);
void ResetPercentileTable(PercentileTable& table);
void ResetSNRPercentileTable(SNRPercentileTable& table);
void ResetMissingCounter(MissingCounter& counter);
void ResetStatBlock(StatBlock& block);
void ResetSNRStatBlock(SNRStatBlock& block);

}  // namespace tiderune
