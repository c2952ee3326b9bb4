#pragma once
// Running statistics of one quantity since the last reset: count, mean, standard deviation,
// extremes, a missing-sample count and the 68 % / 95 % levels. Every record is fixed-size and
// lives for the whole run; nothing is stored per sample.
//
// The levels are defined by a walk over the bin counts with a running share kept in single
// precision. Walking up to 1001 bins after every sample is far too slow for the intake, so
// each table also keeps a Fenwick tree of its counts: the level bins are found from exact
// integer sums, and the single-precision walk is run only when a share lies so close to 68 %
// or 95 % that its rounding could decide the outcome. The levels are therefore always the
// ones the walk gives.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

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
// Binary indexed tree over bin counts 1..Size-1 (Size a power of two).
template <int Size>
struct CountTree {
    std::array<std::int32_t, Size> tree{};
    void add(int bin) {
        for (int i = bin; i < Size; i += i & -i) ++tree[static_cast<std::size_t>(i)];
    }
};
}  // namespace detail

// Absolute values in 0.01-wide bins: counts[0] is the number of samples, counts[i] (1..1000)
// holds |x| in [(i-1)/100, i/100), counts[1001] holds 10 and more.
struct PercentileTable {
    static constexpr int Bins = 1001;
    std::array<std::int32_t, Bins + 1> counts{};
    float p68 = 0;
    float p95 = 0;
    // Acceleration of the level search; cleared with the table.
    detail::CountTree<1024> tree;
    std::int32_t usedBins = 0;
};

// Whole-unit bins: counts[0] is n, counts[i] (1..100) holds [i, i+1), counts[101] above 100.
// The levels count from the top: more than 68 % (95 %) of the samples lie above them.
struct SNRPercentileTable {
    static constexpr int Bins = 101;
    std::array<std::int32_t, Bins + 1> counts{};
    float level68 = 0;
    float level95 = 0;
    detail::CountTree<128> tree;
    std::int32_t usedBins = 0;
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
