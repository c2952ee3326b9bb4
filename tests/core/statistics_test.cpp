#include "core/statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "core/errors.h"

namespace tiderune {

namespace detail {
struct LevelTableTestAccess {
    // The table as the counts leave it, its levels to be worked out when read.
    template <int N, bool FromTop>
    static void fill(LevelTable<N, FromTop>& t, const typename LevelTable<N, FromTop>::Counts& counts) {
        t.counts_ = counts;
        t.usedBins_ = 0;
        for (std::size_t i = 1; i < counts.size(); ++i) t.usedBins_ += counts[i] != 0;
        for (auto& level : t.levels_) level = {};
        t.stale_ = true;
    }
};
}  // namespace detail

namespace {

constexpr float Missing = -9999.0f;

struct FixedDate final : StatDateSource {
    std::string text = "08 Dec 2026";
    mutable int asked = 0;
    std::string todayText() const override {
        ++asked;
        return text;
    }
};

// The levels as the program defines them: a plain walk over every bin with the share kept in
// single precision. The accelerated tables must always agree with it.
template <std::size_t N>
std::pair<float, float> walkLevels(const std::array<std::int32_t, N>& c, bool fromTop) {
    float share = 0;
    int b68 = -1, b95 = -1;
    const int last = static_cast<int>(N) - 1;
    for (int k = 1; k <= last; ++k) {
        const int i = fromTop ? last + 1 - k : k;
        share = static_cast<float>(static_cast<double>(share) + c[static_cast<std::size_t>(i)] / static_cast<double>(c[0]));
        if (b68 < 0 && share > 0.68) b68 = i;
        if (share > 0.95) {
            b95 = i;
            break;
        }
    }
    if (fromTop) return {static_cast<float>(b68 - 1), static_cast<float>(b95 - 1)};
    return {static_cast<float>((b68 - 1) / 100.0), static_cast<float>((b95 - 1) / 100.0)};
}

TEST(StatRecordTest, RunningMomentsExtremesAndLabels) {
    FixedDate date;
    StatRecord r;
    UpdateStatRecord(r, 1, "10:00:01", date);
    UpdateStatRecord(r, 2, "10:00:02", date);
    UpdateStatRecord(r, 3, "10:00:03", date);
    EXPECT_EQ(r.count, 3);
    EXPECT_FLOAT_EQ(r.mean, 2);
    EXPECT_FLOAT_EQ(r.standardDeviation, 1);
    EXPECT_EQ(r.maximum, 3);
    EXPECT_EQ(r.minimum, 1);
    EXPECT_EQ(r.firstTime, "10:00:01");
    EXPECT_EQ(r.lastTime, "10:00:03");
    EXPECT_EQ(r.firstDate, "08 Dec 2026");
    EXPECT_EQ(date.asked, 1);  // only the first sample reads the date
    EXPECT_EQ(r.x0, 1);
    EXPECT_EQ(r.current(), 3);
}

TEST(StatRecordTest, MissingOnlyFlagsAndNextRealSampleIsTheFirst) {
    FixedDate date;
    StatRecord r;
    UpdateStatRecord(r, Missing, "a", date);
    EXPECT_TRUE(r.noData);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(r.current(), Missing);
    UpdateStatRecord(r, 7.5f, "b", date);
    EXPECT_FALSE(r.noData);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.x0, 7.5f);
    EXPECT_EQ(r.firstTime, "b");
    EXPECT_EQ(r.standardDeviation, 0);
    UpdateStatRecord(r, Missing, "c", date);
    EXPECT_EQ(r.current(), Missing);
    EXPECT_EQ(r.lastValue, 7.5f);
    EXPECT_EQ(r.lastTime, "b");
}

TEST(StatRecordTest, ShiftedSumsKeepPrecisionFarFromZero) {
    // Latitudes in radians vary in the ninth decimal; without the shift by the first sample
    // the deviation would drown in rounding.
    FixedDate date;
    StatRecordDbl r;
    const double base = 1.0471975511965976;
    for (int i = 0; i < 1000; ++i) UpdateStatRecordDbl(r, base + (i % 2 ? 1e-9 : -1e-9), "t", date);
    EXPECT_NEAR(r.mean, base, 1e-15);
    EXPECT_NEAR(r.standardDeviation, 1e-9, 1e-11);

    StatRecord h;
    for (int i = 0; i < 100000; ++i) UpdateStatRecord(h, 45.0f + (i % 2 ? 0.01f : -0.01f), "t", date);
    EXPECT_NEAR(h.standardDeviation, 0.01, 1e-5);
}

TEST(StatRecordTest, EqualSamplesNeverGiveANegativeRoot) {
    FixedDate date;
    StatRecord r;
    for (int i = 0; i < 1000; ++i) UpdateStatRecord(r, 0.1f * static_cast<float>(i % 3) + 123.456f, "t", date);
    for (int i = 0; i < 1000; ++i) UpdateStatRecord(r, 123.456f, "t", date);
    EXPECT_TRUE(std::isfinite(r.standardDeviation));
    EXPECT_GE(r.standardDeviation, 0);
}

TEST(StatRecordTest, ValuesBeyondSingleRangeRaiseOverflow) {
    FixedDate date;
    StatRecord r;
    UpdateStatRecord(r, -3e38f, "t", date);
    try {
        UpdateStatRecord(r, 3e38f, "t", date);
        FAIL() << "expected an overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::Overflow);
    }
}

TEST(PercentileTableTest, LevelsFromExamples) {
    struct Case {
        const char* name;
        std::vector<std::pair<float, int>> samples;  // value, repetitions
        float p68, p95;
    };
    const std::vector<Case> cases = {
        {"tiny value", {{0.005f, 1}}, 0.0f, 0.0f},
        {"overflow bin", {{-12.3f, 1}}, 10.0f, 10.0f},
        {"exactly ten", {{10.0f, 1}}, 10.0f, 10.0f},
        {"69 low, 31 in bin 6", {{0.001f, 69}, {0.055f, 31}}, 0.0f, 0.05f},
        // 0.29 x 100 is 28.999999 in double but 29 as a single: bin 30.
        {"single-precision bin", {{0.29f, 1}}, 0.29f, 0.29f},
        {"negative uses absolute", {{-0.5f, 3}}, 0.5f, 0.5f},
        // 17 of 25 is 0.68 exactly; as a single it is a hair above, so it counts as exceeding.
        {"share at the threshold", {{0.0f, 17}, {1.0f, 8}}, 0.0f, 1.0f},
        {"share just under", {{0.0f, 67}, {2.0f, 33}}, 2.0f, 2.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PercentileTable t;
        for (auto [v, k] : c.samples)
            for (int i = 0; i < k; ++i) UpdatePercentileTable(t, v);
        EXPECT_FLOAT_EQ(t.p68(), c.p68);
        EXPECT_FLOAT_EQ(t.p95(), c.p95);
        EXPECT_EQ(walkLevels(t.counts(), false), std::make_pair(t.p68(), t.p95()));
    }
}

TEST(PercentileTableTest, AgreesWithTheWalkAfterEverySample) {
    std::mt19937 rng(7);
    struct Source {
        const char* name;
        std::function<float()> next;
    };
    std::normal_distribution<float> narrow(0.0f, 0.8f), wide(0.0f, 6.0f);
    std::uniform_int_distribution<int> few(0, 4);
    const std::vector<Source> sources = {
        {"narrow normal", [&] { return narrow(rng); }},
        {"wide normal", [&] { return wide(rng); }},
        // A handful of bins hit repeatedly: shares land exactly on 68 % and 95 % often.
        {"few bins", [&] { return 0.01f * few(rng) + 0.001f; }},
        {"two bins", [&] { return few(rng) < 1 ? 3.0f : 0.0f; }},
    };
    for (const auto& s : sources) {
        SCOPED_TRACE(s.name);
        PercentileTable t;
        for (int i = 0; i < 3000; ++i) {
            UpdatePercentileTable(t, s.next());
            const auto expected = walkLevels(t.counts(), false);
            ASSERT_EQ(t.p68(), expected.first) << "after sample " << i + 1;
            ASSERT_EQ(t.p95(), expected.second) << "after sample " << i + 1;
        }
    }
}

TEST(SNRPercentileTableTest, LevelsCountFromTheTop) {
    struct Case {
        const char* name;
        std::vector<float> samples;
        float l68, l95;
    };
    const std::vector<Case> cases = {
        {"three spread", {40, 45, 50}, 39, 39},
        {"one", {42}, 41, 41},
        {"above hundred", {120}, 100, 100},
        {"hundred itself", {100}, 99, 99},
        {"top heavy", {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 10}, 49, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SNRPercentileTable t;
        for (float v : c.samples) UpdateSNRPercentileTable(t, v);
        EXPECT_EQ(t.level68(), c.l68);
        EXPECT_EQ(t.level95(), c.l95);
        EXPECT_EQ(walkLevels(t.counts(), true), std::make_pair(t.level68(), t.level95()));
    }
}

TEST(SNRPercentileTableTest, AgreesWithTheWalkAfterEverySample) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> snr(20, 52), coarse(0, 3);
    for (bool clustered : {false, true}) {
        SNRPercentileTable t;
        for (int i = 0; i < 3000; ++i) {
            UpdateSNRPercentileTable(t, static_cast<float>(clustered ? 30 + 5 * coarse(rng) : snr(rng)));
            const auto expected = walkLevels(t.counts(), true);
            ASSERT_EQ(t.level68(), expected.first) << "after sample " << i + 1;
            ASSERT_EQ(t.level95(), expected.second) << "after sample " << i + 1;
        }
    }
}

TEST(StatBlockTest, MissingAndRejectedSamples) {
    FixedDate date;
    StatBlock b;
    AddSample(Missing, b, "t", date);
    EXPECT_EQ(b.missing.count, 1);
    EXPECT_TRUE(b.record.noData);
    EXPECT_EQ(b.percentiles.counts()[0], 0);
    AddSample(0.0f, b, "t", date);  // zero is a real sample here
    EXPECT_EQ(b.record.count, 1);
    EXPECT_EQ(b.percentiles.counts()[0], 1);
    EXPECT_FALSE(b.record.noData);

    struct Case {
        const char* name;
        float value;
        bool accepted;
    };
    const Case snrCases[] = {
        {"missing", Missing, false}, {"zero", 0.0f, false},      {"negative", -5.0f, false},
        {"fraction", 0.5f, false},   {"valid", 38.0f, true},     {"huge", 4000.0f, true},
        {"nan", std::nanf(""), false},
    };
    for (const auto& c : snrCases) {
        SCOPED_TRACE(c.name);
        SNRStatBlock s;
        AddSampleNonZero(c.value, s, "t", date);
        EXPECT_EQ(s.record.count, c.accepted ? 1 : 0);
        EXPECT_EQ(s.percentiles.counts()[0], c.accepted ? 1 : 0);
        EXPECT_EQ(s.missing.count, c.accepted ? 0 : 1);
        EXPECT_EQ(s.record.noData, !c.accepted);
    }
}

// A long unattended run fills its counters: they stop at their largest value, and a full
// record keeps its mean while the latest value and the extremes still follow.
TEST(StatBlockTest, CountsStopAtTheirLargestValue) {
    constexpr std::int32_t Top = std::numeric_limits<std::int32_t>::max();
    FixedDate date;
    StatBlock b;
    SNRStatBlock snr;
    StatRecordDbl dbl;
    b.record.count = b.missing.count = snr.missing.count = dbl.count = Top - 1;
    // Full level tables: a quarter, a quarter and the rest of the samples in three bins.
    PercentileTable::Counts full{};
    full[0] = Top;
    full[101] = Top / 4;   // 1.00 m
    full[201] = Top / 4;   // 2.00 m
    full[501] = Top - 2 * (Top / 4);  // 5.00 m
    detail::LevelTableTestAccess::fill(b.percentiles, full);
    SNRPercentileTable::Counts fullSnr{};
    fullSnr[0] = Top;
    fullSnr[48] = Top / 4;
    fullSnr[40] = Top / 4;
    fullSnr[30] = Top - 2 * (Top / 4);
    detail::LevelTableTestAccess::fill(snr.percentiles, fullSnr);
    EXPECT_EQ(std::make_pair(b.percentiles.p68(), b.percentiles.p95()), std::make_pair(5.0f, 5.0f));
    EXPECT_EQ(std::make_pair(snr.percentiles.level68(), snr.percentiles.level95()), std::make_pair(29.0f, 29.0f));
    struct Case {
        const char* name;
        std::function<void()> add;
        const std::int32_t& count;
    };
    const Case cases[] = {
        {"samples", [&] { AddSample(2.0f, b, "t", date); }, b.record.count},
        {"missing samples", [&] { AddSample(Missing, b, "t", date); }, b.missing.count},
        {"SNR below 1", [&] { AddSampleNonZero(0.0f, snr, "t", date); }, snr.missing.count},
        {"SNR samples into a full table", [&] { AddSampleNonZero(48.0f, snr, "t", date); }, snr.percentiles.counts()[0]},
        {"double samples", [&] { UpdateStatRecordDbl(dbl, 5.0, "t", date); }, dbl.count},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.add();
        c.add();
        EXPECT_EQ(c.count, Top);
    }
    const float fullMean = b.record.mean;
    AddSample(7.0f, b, "later", date);
    EXPECT_EQ(b.record.mean, fullMean);
    EXPECT_EQ(b.record.maximum, 7.0f);
    EXPECT_EQ(b.record.lastValue, 7.0f);
    EXPECT_EQ(b.record.lastTime, "later");
    // Full tables keep their bins and so their levels, wherever the new samples would go.
    for (float v : {0.5f, 1.0f, 9.0f, 12.0f}) AddSample(v, b, "t", date);
    for (float v : {1.0f, 30.0f, 99.0f, 250.0f}) AddSampleNonZero(v, snr, "t", date);
    EXPECT_EQ(b.percentiles.counts(), full);
    EXPECT_EQ(snr.percentiles.counts(), fullSnr);
    EXPECT_EQ(std::make_pair(b.percentiles.p68(), b.percentiles.p95()), std::make_pair(5.0f, 5.0f));
    EXPECT_EQ(std::make_pair(snr.percentiles.level68(), snr.percentiles.level95()), std::make_pair(29.0f, 29.0f));
}

TEST(StatBlockTest, ResetStartsAfresh) {
    FixedDate date;
    StatBlock b;
    for (float v : {1.0f, 9.0f, 0.2f, Missing}) AddSample(v, b, "old", date);
    ResetStatBlock(b);
    date.text = "09 Dec 2026";
    AddSample(3.5f, b, "new", date);
    EXPECT_FLOAT_EQ(b.percentiles.p68(), 3.5f);
    EXPECT_FLOAT_EQ(b.percentiles.p95(), 3.5f);
    EXPECT_EQ(b.record.count, 1);
    EXPECT_EQ(b.record.firstDate, "09 Dec 2026");
    EXPECT_EQ(b.record.firstTime, "new");
    EXPECT_EQ(b.record.x0, 3.5f);
    EXPECT_EQ(b.record.minimum, 3.5f);
    EXPECT_EQ(b.missing.count, 0);

    SNRStatBlock s;
    for (float v : {30.0f, 0.0f, 45.0f}) AddSampleNonZero(v, s, "old", date);
    ResetSNRStatBlock(s);
    AddSampleNonZero(41.0f, s, "new", date);
    EXPECT_EQ(s.percentiles.level68(), 40);
    EXPECT_EQ(s.percentiles.counts()[0], 1);
    EXPECT_EQ(s.missing.count, 0);
}

}  // namespace
}  // namespace tiderune
