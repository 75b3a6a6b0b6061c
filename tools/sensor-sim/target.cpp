#include "target.h"

#include <algorithm>
#include <cmath>

#include "rng.h"
#include "text_fields.h"

namespace sondix::sim {
namespace {

constexpr double kTwoPi = 6.283185307179586;

// Integral of a sin(2 pi x / p + phi) from 0 to x.
double SineIntegral(double a, double p, double phi, double x) {
    const double w = kTwoPi / p;
    return a / w * (std::cos(phi) - std::cos(w * x + phi));
}

// The drifting quantity: a distance for the distance sensor, a velocity for the velocimeter.
double Curve(const Target& t, double time) {
    return t.base + t.slowAmp * std::sin(kTwoPi * time / t.slowPeriod + t.slowPhase) +
           t.fastAmp * std::sin(kTwoPi * time / t.fastPeriod + t.fastPhase);
}

}  // namespace

Target MakeTarget(Variant v, double calFac, double calDoppler, std::uint64_t seed,
                  double historySpan) {
    Rng r(MixSeed(seed, 0x7A));
    Target t;
    t.variant = v;
    t.seed = seed;
    t.slowPhase = r.Uniform() * kTwoPi;
    t.fastPhase = r.Uniform() * kTwoPi;
    if (v == Variant::Velocimeter) {
        t.base = 1500;
        t.slowAmp = 220;
        t.slowPeriod = 600;
        t.fastAmp = 60;
        t.fastPeriod = 47;
        t.hardwareCal = calFac;
        t.hardwareDoppler = calFac;
    } else {
        t.base = 5000;
        t.hardwareCal = calFac;
        t.hardwareDoppler = calDoppler;
    }
    t.uptime = std::max(12 * 86400.0 + r.Uniform() * 86400.0, historySpan + 3600.0);
    return t;
}

double TrueDistance(const Target& t, double time) {
    return Curve(t, time);
}

double TrueVelocity(const Target& t, double time) {
    if (t.variant == Variant::Velocimeter) return Curve(t, time);
    // The derivative of the distance, plus a small ripple of the surface.
    const double slow =
        t.slowAmp * kTwoPi / t.slowPeriod * std::cos(kTwoPi * time / t.slowPeriod + t.slowPhase);
    const double fast =
        t.fastAmp * kTwoPi / t.fastPeriod * std::cos(kTwoPi * time / t.fastPeriod + t.fastPhase);
    return slow + fast + t.ripple * std::sin(kTwoPi * time / 7.3);
}

double TrueTotal(const Target& t, double time) {
    const auto integral = [&](double x) {
        return t.base * x + SineIntegral(t.slowAmp, t.slowPeriod, t.slowPhase, x) +
               SineIntegral(t.fastAmp, t.fastPeriod, t.fastPhase, x);
    };
    return integral(time) - integral(-t.uptime);
}

long long TimerTicks(const Target& t, double time) {
    return std::max(0LL, RoundSat((t.uptime + time) * 1000.0 / kTickMs));
}

}  // namespace sondix::sim
