#include "statistics.h"

#include <cfloat>
#include <cmath>

#include "errors.h"

namespace tiderune {

namespace {

constexpr float Missing = -9999.0f;

[[noreturn]] void throwOverflow() { throw RuntimeError(err::Overflow, "Overflow"); }

// A record of single precision holds its mean and deviation as singles; a value that does not
// fit is an overflow, as for any single-precision assignment in the program.
template <typename Real>
Real narrow(double v) {
    if constexpr (sizeof(Real) == sizeof(float)) {
        if (std::fabs(v) > static_cast<double>(FLT_MAX)) throwOverflow();
    }
    return static_cast<Real>(v);
}

template <typename Real>
void updateRecord(BasicStatRecord<Real>& rec, Real value, std::string_view label,
                  const StatDateSource& dates) {
    if (value == Real(Missing)) {
        rec.noData = true;
        return;
    }
    rec.noData = false;
    rec.lastValue = value;
    ++rec.count;
    if (rec.count == 1) {
        rec.firstDate = dates.todayText();
        rec.firstTime.assign(label);
        rec.x0 = value;
    }
    rec.lastTime.assign(label);
    const double d = static_cast<double>(value) - static_cast<double>(rec.x0);
    rec.sum += d;
    rec.mean = narrow<Real>(static_cast<double>(rec.x0) + rec.sum / rec.count);
    if (rec.count == 1) {
        rec.maximum = value;
        rec.minimum = value;
    } else {
        if (value > rec.maximum) rec.maximum = value;
        if (value < rec.minimum) rec.minimum = value;
    }
    rec.sumOfSquares += d * d;
    if (rec.count > 1) {
        // The deviation uses the mean as the record stores it. Rounding can make the
        // argument slightly negative; the deviation then keeps its previous value.
        const double m = static_cast<double>(rec.mean) - static_cast<double>(rec.x0);
        const double arg = (rec.sumOfSquares - rec.count * m * m) / (rec.count - 1);
        if (arg >= 0) rec.standardDeviation = narrow<Real>(std::sqrt(arg));
    }
}

// Largest position p of the tree for which accept(sum of bins 1..p) holds; accept must hold
// for the empty sum and turn false at most once as p grows. prefix receives that sum.
template <int Size, typename Accept>
int largestAccepted(const detail::CountTree<Size>& t, Accept accept, std::int64_t& prefix) {
    int pos = 0;
    std::int64_t sum = 0;
    for (int step = Size / 2; step > 0; step >>= 1) {
        const int next = pos + step;
        if (next < Size && accept(sum + t.tree[static_cast<std::size_t>(next)])) {
            pos = next;
            sum += t.tree[static_cast<std::size_t>(next)];
        }
    }
    prefix = sum;
    return pos;
}

// A single-precision running share of k non-zero terms is within k rounding steps of the
// exact share. Twice that is a safe margin.
double shareMargin(std::int32_t usedBins) { return (usedBins + 1) * std::ldexp(1.0, -23); }

// True when the exact shares before and at the level bin are far enough from the threshold
// that the single-precision walk must agree with them.
bool clearOf(double threshold, double before, double at, double margin) {
    return at - threshold > margin && threshold - before >= margin;
}

// The walk itself, the definition of the levels: adds count/n bin by bin in single precision
// and stops at the first bins whose share exceeds 68 % and 95 %.
template <std::size_t N, typename Next>
void walk(const std::array<std::int32_t, N>& counts, int first, Next next, int& bin68, int& bin95) {
    const double n = counts[0];
    float share = 0;
    bool found68 = false;
    for (int i = first; i >= 1 && i < static_cast<int>(N); i = next(i)) {
        share = static_cast<float>(static_cast<double>(share) + counts[static_cast<std::size_t>(i)] / n);
        if (!found68 && share > 0.68) {
            bin68 = i;
            found68 = true;
        }
        if (share > 0.95) {
            bin95 = i;
            if (!found68) bin68 = i;
            return;
        }
    }
}

}  // namespace

void UpdateStatRecord(StatRecord& rec, float value, std::string_view timeLabel,
                      const StatDateSource& dates) {
    updateRecord(rec, value, timeLabel, dates);
}

void UpdateStatRecordDbl(StatRecordDbl& rec, double value, std::string_view timeLabel,
                         const StatDateSource& dates) {
    updateRecord(rec, value, timeLabel, dates);
}

void UpdatePercentileTable(PercentileTable& table, float value) {
    auto& c = table.counts;
    ++c[0];
    const float a = std::fabs(value);
    int bin = PercentileTable::Bins;
    if (a <= 10.0f) {
        // The bin is taken from a x 100 as a single, so 0.29 lands in bin 30, not 29.
        const float scaled = a * 100.0f;
        bin = static_cast<int>(scaled) + 1;
        if (bin > PercentileTable::Bins) bin = PercentileTable::Bins;
    }
    if (c[static_cast<std::size_t>(bin)]++ == 0) ++table.usedBins;
    table.tree.add(bin);

    const std::int64_t n = c[0];
    const double margin = shareMargin(table.usedBins);
    int bins[2] = {0, 0};
    bool exact = true;
    const int percents[2] = {68, 95};
    for (int k = 0; k < 2 && exact; ++k) {
        const std::int64_t p = percents[k];
        std::int64_t before = 0;
        // First bin whose cumulative share exceeds p %.
        const int i = largestAccepted(table.tree, [&](std::int64_t s) { return 100 * s <= p * n; }, before) + 1;
        const double at = static_cast<double>(before + c[static_cast<std::size_t>(i)]) / n;
        exact = clearOf(p / 100.0, static_cast<double>(before) / n, at, margin);
        bins[k] = i;
    }
    if (!exact) walk(c, 1, [](int i) { return i + 1; }, bins[0], bins[1]);
    table.p68 = static_cast<float>((bins[0] - 1) / 100.0);
    table.p95 = static_cast<float>((bins[1] - 1) / 100.0);
}

void UpdateSNRPercentileTable(SNRPercentileTable& table, float value) {
    if (!(value >= 1.0f)) return;
    auto& c = table.counts;
    ++c[0];
    const int bin = value <= 100.0f ? static_cast<int>(value) : SNRPercentileTable::Bins;
    if (c[static_cast<std::size_t>(bin)]++ == 0) ++table.usedBins;
    table.tree.add(bin);

    const std::int64_t n = c[0];
    const double margin = shareMargin(table.usedBins);
    int bins[2] = {0, 0};
    bool exact = true;
    const int percents[2] = {68, 95};
    for (int k = 0; k < 2 && exact; ++k) {
        const std::int64_t p = percents[k];
        std::int64_t below = 0;
        // Walking down, the first bin i whose share from the top exceeds p % is the highest
        // one with fewer than (100 - p) % of the samples below it.
        const int j = largestAccepted(table.tree, [&](std::int64_t s) { return 100 * s < (100 - p) * n; }, below);
        const int i = j + 1;
        const double at = static_cast<double>(n - below) / n;
        const double before = i < SNRPercentileTable::Bins
                                  ? static_cast<double>(n - below - c[static_cast<std::size_t>(i)]) / n
                                  : 0.0;
        exact = clearOf(p / 100.0, before, at, margin);
        bins[k] = i;
    }
    if (!exact) walk(c, SNRPercentileTable::Bins, [](int i) { return i - 1; }, bins[0], bins[1]);
    table.level68 = static_cast<float>(bins[0] - 1);
    table.level95 = static_cast<float>(bins[1] - 1);
}

void CountMissing(StatBlock& block) {
    block.record.noData = true;
    ++block.missing.count;
}

void CountMissing(SNRStatBlock& block) {
    block.record.noData = true;
    ++block.missing.count;
}

void AddSample(float value, StatBlock& block, std::string_view timeLabel, const StatDateSource& dates) {
    if (value == Missing) {
        CountMissing(block);
        return;
    }
    UpdateStatRecord(block.record, value, timeLabel, dates);
    UpdatePercentileTable(block.percentiles, value);
}

void AddSampleNonZero(float value, SNRStatBlock& block, std::string_view timeLabel,
                      const StatDateSource& dates) {
    if (value == Missing || !(value >= 1.0f)) {
        CountMissing(block);
        return;
    }
    UpdateStatRecord(block.record, value, timeLabel, dates);
    UpdateSNRPercentileTable(block.percentiles, value);
}

void ResetStatRecord(StatRecord& rec) { rec = StatRecord{}; }
void ResetStatRecordDbl(StatRecordDbl& rec) { rec = StatRecordDbl{}; }
void ResetPercentileTable(PercentileTable& table) { table = PercentileTable{}; }
void ResetSNRPercentileTable(SNRPercentileTable& table) { table = SNRPercentileTable{}; }
void ResetMissingCounter(MissingCounter& counter) { counter.count = 0; }

void ResetStatBlock(StatBlock& block) {
    ResetStatRecord(block.record);
    ResetMissingCounter(block.missing);
    ResetPercentileTable(block.percentiles);
}

void ResetSNRStatBlock(SNRStatBlock& block) {
    ResetStatRecord(block.record);
    ResetMissingCounter(block.missing);
    ResetSNRPercentileTable(block.percentiles);
}

}  // namespace tiderune
