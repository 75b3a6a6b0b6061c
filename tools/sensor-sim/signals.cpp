#include "signals.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "text_fields.h"

namespace sondix::sim {
namespace {

constexpr double kTwoPi = 6.283185307179586;

int Clamp(double v, int lo, int hi) {
    return static_cast<int>(std::clamp<long long>(RoundSat(v), lo, hi));
}

// The sweep voltages at five evenly spaced points of the ramp, millivolts.
std::array<double, 5> RampBreakpoints(const AnswerContext& c) {
    if (c.variant == Variant::Velocimeter) return {1000, 1750, 2500, 3250, 4000};
    return {c.params.Get("Vramp0"), c.params.Get("Vramp1"), c.params.Get("Vramp2"),
            c.params.Get("Vramp3"), c.params.Get("Vramp4")};
}

}  // namespace

double SpectrumStep(const Params& p, int words) {
    const double sampleS = std::max(p.Get("SampleT"), 0.01) * 1e-6;
    return 1.0 / (2.0 * words * sampleS);
}

std::vector<int> TimeSeriesWords(const AnswerContext& c, int n, Rng& rng) {
    const Reading& r = c.reading;
    const double sampleS = std::max(c.params.Get("SampleT"), 0.01) * 1e-6;
    const double amp = r.lossOfEcho ? 0.0 : r.peakMv * 0.001 / kVoltsPerCount;
    const double noise = r.noiseMv * 0.001 / kVoltsPerCount * 0.25;
    const double bow = c.variant == Variant::Velocimeter ? 8.0 : 45.0;
    const double phase = rng.Uniform() * kTwoPi;
    std::vector<int> words(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double t = i * sampleS;
        const double v = kMidScale + amp * std::cos(kTwoPi * r.beatHz * t + phase) +
                         bow * std::sin(3.14159265 * i / n) + noise * rng.Gauss();
        words[static_cast<std::size_t>(i)] = Clamp(v, 0, 1023);
    }
    return words;
}

int PeakIndex(const AnswerContext& c, int n) {
    const double step = SpectrumStep(c.params, n);
    return Clamp(std::fabs(c.reading.beatHz) / step, 0, n - 1);
}

std::vector<int> SpectrumWords(const AnswerContext& c, int n, Rng& rng) {
    const Reading& r = c.reading;
    const double step = SpectrumStep(c.params, n);
    const double peak = std::fabs(r.beatHz) / step;
    const double peakCounts = r.peakMv * 0.001 / (2 * kVoltsPerCount);
    const double floorCounts = r.noiseMv * 0.001 / (2 * kVoltsPerCount) * 0.5;
    const double leak = c.variant == Variant::Velocimeter ? 25.0 : 140.0;
    std::vector<int> words(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        // Rayleigh-distributed floor: the magnitude of complex Gaussian noise.
        const double g1 = rng.Gauss();
        const double g2 = rng.Gauss();
        double v = floorCounts * std::sqrt(g1 * g1 + g2 * g2);
        v += leak * std::exp(-0.9 * k);
        if (!r.lossOfEcho) {
            const double d = k - peak;
            v += peakCounts * std::exp(-0.5 * d * d / 0.55);
            if (c.variant == Variant::Distance) {
                const double d2 = k - 2 * peak;
                v += 0.15 * peakCounts * std::exp(-0.5 * d2 * d2 / 0.8);
            }
        }
        words[static_cast<std::size_t>(k)] = Clamp(v, 0, 999);
    }
    return words;
}

std::vector<int> RampWords(const AnswerContext& c, int n, Rng& rng) {
    const auto bp = RampBreakpoints(c);
    std::vector<int> words(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        double x = n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
        if (c.rampDown) x = 1.0 - x;
        const double pos = x * 4.0;
        const int seg = std::min(3, static_cast<int>(pos));
        const double mv = bp[seg] + (bp[seg + 1] - bp[seg]) * (pos - seg);
        words[static_cast<std::size_t>(i)] = Clamp(-mv / 10.0 + 0.6 * rng.Gauss(), -999, 9999);
    }
    return words;
}

}  // namespace sondix::sim
