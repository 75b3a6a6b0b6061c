// The process the sensor looks at: a surface whose distance (or velocity) drifts slowly, as a
// smooth function of time so that every answer, past history records included, agrees with the
// others. Times are seconds since the simulator started (negative: before it).
#pragma once

#include <cstdint>

#include "sim_config.h"

namespace sondix::sim {

struct Target {
    Variant variant = Variant::Distance;
    double base = 5000;  // mm (distance sensor) or mm/s (velocimeter)
    double slowAmp = 600, slowPeriod = 900, slowPhase = 0;
    double fastAmp = 120, fastPeriod = 131, fastPhase = 0;
    double ripple = 4;                // mm/s of surface movement seen by the distance sensor
    double hardwareCal = 15.36;       // mm per hertz of beat frequency the front end really has
    double hardwareDoppler = 6.2176;  // mm/s per hertz of Doppler shift (half the wavelength)
    double uptime = 12 * 86400.0;     // how long the sensor had been running at time 0
    std::uint64_t seed = 1;
};

// The target for a variant, phases and uptime drawn from the seed; the hardware factors are the
// factory calibration the parameters start with.
Target MakeTarget(Variant v, double calFac, double calDoppler, std::uint64_t seed,
                  double historySpan);

double TrueDistance(const Target& t, double time);  // mm (distance sensor)
double TrueVelocity(const Target& t, double time);  // mm/s, positive away from the sensor
double TrueTotal(const Target& t, double time);     // mm travelled since power-up (velocimeter)

// The sensor's own time counter: ticks of 87.381 ms since power-up.
inline constexpr double kTickMs = 87.381;
long long TimerTicks(const Target& t, double time);

}  // namespace sondix::sim
