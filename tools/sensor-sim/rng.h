// The simulated sensor's only source of randomness: a small generator whose sequence depends on
// nothing but its seed, so that answers repeat exactly for a given --seed on every platform.
#pragma once

#include <cmath>
#include <cstdint>

namespace sondix::sim {

class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    // splitmix64: tiny, fast and good enough for noise.
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

    // Standard normal (Box-Muller; one value per call keeps the state simple).
    double Gauss() {
        const double u1 = 1.0 - Uniform();
        const double u2 = Uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }

    // Whole number in [lo, hi].
    long long Between(long long lo, long long hi) {
        if (hi <= lo) return lo;
        const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
        return lo + static_cast<long long>(Next() % span);
    }

    bool Chance(double rate) { return rate > 0 && Uniform() < rate; }

  private:
    std::uint64_t state_;
};

// A seed derived from another and a label, so that independent streams do not share noise.
inline std::uint64_t MixSeed(std::uint64_t seed, std::uint64_t label) {
    Rng r(seed ^ (label * 0xD1B54A32D192ED03ULL));
    return r.Next();
}

}  // namespace sondix::sim
