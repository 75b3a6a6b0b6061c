// One measurement as the sensor makes it: what it reports, how strong the echo was, what the
// relays and the current loop do with it. Every answer that carries a value is built from one.
#pragma once

#include <cstdint>

#include "params.h"
#include "rng.h"
#include "target.h"

namespace sondix::sim {

inline constexpr std::uint32_t kLossOfEchoBit = 0x2000;
inline constexpr double kCodesPerDecade = 73.2;

struct Reading {
    double time = 0;
    double distance = 0;   // mm, reported (distance sensor)
    double velocity = 0;   // mm/s, reported
    double total = 0;      // mm travelled (velocimeter)
    double beatHz = 0;     // frequency of the main value: range beat, or Doppler on a velocimeter
    double dopplerHz = 0;  // Doppler shift (the distance sensor's up/down ramp difference)
    double peakMv = 0;     // echo amplitude
    double noiseMv = 0;    // noise floor
    int signalCode = 0;    // log codes, 73.2 a decade
    int noiseCode = 0;
    int snr = 0;  // signal-to-noise, 0..99 (dB)
    bool lossOfEcho = false;
    double output = 0;         // the output variable chosen by OutSel
    int relays = 0;            // bit 0 relay 1, bit 1 relay 2
    long loopUa = 4000;        // loop current, microamperes
    int temperature = 0;       // tenths of a degree Celsius
    std::uint32_t status = 0;  // fault bits (relay bits not included)

    // Distance for the distance sensor, velocity for the velocimeter.
    double Main(Variant v) const { return v == Variant::Velocimeter ? velocity : distance; }
};

// Amplitude in millivolts to the log code (0 below 1 mV, at most 255).
int AmplitudeCode(double mv);

// Whether a relay is energised in `mode` (codes 0..6) with its signed switch value.
bool RelayOn(int mode, double switchValue, double value, bool lossOfEcho);

// Loop current from the 4 mA and 20 mA points (and trims); the alarm current on loss of echo.
long LoopCurrent(const Params& p, double value, bool lossOfEcho);

// Measures at `time`; `noise` supplies the measurement noise, `forceLoss` a lost echo.
Reading Measure(Variant v, const Target& target, const Params& p, double time, Rng& noise,
                bool forceLoss);

// The beat frequency the sensor sees for the current target, without noise (calibration).
double CurrentBeat(Variant v, const Target& target, double time);

}  // namespace sondix::sim
