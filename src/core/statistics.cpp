#include "statistics.h"

#include <cfloat>
#include <cmath>

#include "counting.h"
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
    // A value that is no finite number would make the sums infinite for good, and every later
    // sample of the record would fail too: refuse it before anything changes.
    if (!std::isfinite(value)) throwOverflow();
    rec.noData = false;
    rec.lastValue = value;
    rec.lastTime.assign(label);
    if (value > rec.maximum) rec.maximum = value;
    if (value < rec.minimum) rec.minimum = value;
    // A record that has counted all the samples it can keeps its count, mean and deviation;
    // the latest value, its time and the extremes still follow.
    if (atMaximum(rec.count)) return;
    ++rec.count;
    if (rec.count == 1) {
        rec.firstDate = dates.todayText();
        rec.firstTime.assign(label);
        rec.x0 = value;
    }
    const double d = static_cast<double>(value) - static_cast<double>(rec.x0);
    rec.sum += d;
    rec.mean = narrow<Real>(static_cast<double>(rec.x0) + rec.sum / rec.count);
    if (rec.count == 1) {
        rec.maximum = value;
        rec.minimum = value;
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
    const float a = std::fabs(value);
    int bin = PercentileTable::Bins;
    if (a <= 10.0f) {
        // The bin is taken from a x 100 as a single, so 0.29 lands in bin 30, not 29.
        const float scaled = a * 100.0f;
        bin = static_cast<int>(scaled) + 1;
        if (bin > PercentileTable::Bins) bin = PercentileTable::Bins;
    }
    table.add(bin);
}

void UpdateSNRPercentileTable(SNRPercentileTable& table, float value) {
    if (!(value >= 1.0f)) return;
    table.add(value <= 100.0f ? static_cast<int>(value) : SNRPercentileTable::Bins);
}

void CountMissing(StatBlock& block) {
    block.record.noData = true;
    countUp(block.missing.count);
}

void CountMissing(SNRStatBlock& block) {
    block.record.noData = true;
    countUp(block.missing.count);
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

namespace detail {

namespace {

// Each step of the single-precision walk that adds a non-zero count rounds by at most half
// a unit in the last place: 2^-25 below 1, 2^-24 at the step that reaches 1. So after k such
// steps the share is within (k + 1) x 2^-25 of the exact share; the slack covers the
// rounding of the quotients and of the exact shares themselves.
double shareMargin(std::int32_t usedBins) { return (usedBins + 1) * std::ldexp(1.0, -25) + 1e-12; }

}  // namespace

template <int BinCount, bool FromTop>
void LevelTable<BinCount, FromTop>::refresh() const {
    if (!stale_) return;
    stale_ = false;
    const std::int64_t n = counts_[0];
    const double margin = shareMargin(usedBins_);
    const std::int64_t percents[2] = {68, 95};
    bool clear = true;
    for (int k = 0; k < 2; ++k) {
        // The first walking position whose exact share exceeds p %.
        const std::int64_t p = percents[k];
        Level& l = levels_[k];
        while (l.pos > 1 && 100 * l.before > p * n) {
            --l.pos;
            l.before -= countAt(l.pos);
        }
        while (100 * (l.before + countAt(l.pos)) <= p * n) {
            l.before += countAt(l.pos);
            ++l.pos;
        }
        const double threshold = p / 100.0;
        const double before = static_cast<double>(l.before) / n;
        const double at = static_cast<double>(l.before + countAt(l.pos)) / n;
        clear = clear && at - threshold > margin && threshold - before >= margin;
    }
    bin68_ = position(levels_[0].pos);
    bin95_ = position(levels_[1].pos);
    if (clear) return;

    // Too close to call from exact sums: the walk itself decides.
    const double nd = static_cast<double>(n);
    float share = 0;
    bool found68 = false;
    for (int pos = 1; pos <= BinCount; ++pos) {
        const std::int32_t c = countAt(pos);
        if (c == 0) continue;  // adding nothing leaves the share as it is
        share = static_cast<float>(static_cast<double>(share) + c / nd);
        if (!found68 && share > 0.68) {
            bin68_ = position(pos);
            found68 = true;
        }
        if (share > 0.95) {
            bin95_ = position(pos);
            break;
        }
    }
}

template class LevelTable<1001, false>;
template class LevelTable<101, true>;

}  // namespace detail

}  // namespace tiderune
