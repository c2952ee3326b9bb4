#pragma once
// The generator's own random numbers. The standard distributions may give other numbers with
// another library version; a recording must come out byte for byte the same from the same seed
// everywhere, so everything here is plain integer and floating-point arithmetic.
#include <cmath>
#include <cstdint>

namespace tiderune::nmeagen {

// xoshiro256** seeded through SplitMix64.
class Prng {
public:
    explicit Prng(std::uint64_t seed) {
        for (auto& s : state_) {
            seed += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            s = z ^ (z >> 31);
        }
    }

    std::uint64_t next() {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

    // Uniform in [0, 1), 53 bits.
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }

    // Uniform integer in [lo, hi].
    int between(int lo, int hi) {
        const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1);
        return lo + static_cast<int>(next() % span);
    }

    bool chance(double p) { return uniform() < p; }

    // Standard normal, approximated by the sum of twelve uniforms (tails end at 6 sigma,
    // which no sensor noise here needs to pass).
    double gauss() {
        double sum = 0.0;
        for (int i = 0; i < 12; ++i)
            sum += uniform();
        return sum - 6.0;
    }
    double gauss(double sigma) { return sigma * gauss(); }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t state_[4];
};

// First-order Gauss-Markov process: correlated noise with a time constant, as receiver
// position errors and sensor drifts behave.
class GaussMarkov {
public:
    GaussMarkov(double sigma, double tauSeconds) : sigma_(sigma), tau_(tauSeconds) {}
    double step(Prng& rng, double dtSeconds = 1.0) {
        const double a = tau_ > 0 ? 1.0 - dtSeconds / tau_ : 0.0;
        const double k = a > 0 ? a : 0.0;
        // Keeps the stationary deviation at sigma: var = k^2 var + q.
        const double q = sigma_ * sigma_ * (1.0 - k * k);
        value_ = k * value_ + rng.gauss(q > 0 ? std::sqrt(q) : 0.0);
        return value_;
    }
    double value() const { return value_; }

private:
    double sigma_;
    double tau_;
    double value_ = 0.0;
};

}  // namespace tiderune::nmeagen
