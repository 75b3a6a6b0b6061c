#include "reading.h"

#include <algorithm>
#include <cmath>

#include "text_fields.h"

namespace sondix::sim {

int AmplitudeCode(double mv) {
    if (!(mv >= 1.0)) return 0;
    return static_cast<int>(std::min<long long>(255, RoundSat(kCodesPerDecade * std::log10(mv))));
}

bool RelayOn(int mode, double switchValue, double value, bool lossOfEcho) {
    switch (mode) {
        case 0: {
            const bool tripped = value > std::fabs(switchValue);
            return switchValue < 0 ? !tripped : tripped;
        }
        case 1:
            return lossOfEcho;
        case 2:
            return !lossOfEcho;
        case 3:
            return false;  // no system fault in the simulator
        case 4:
            return true;
        case 5:
            return true;
        default:
            return false;
    }
}

long LoopCurrent(const Params& p, double value, bool lossOfEcho) {
    if (lossOfEcho) return 3600;
    const double lo = p.Get("Set__4");
    const double hi = p.Get("Set_20");
    const double frac = hi == lo ? 0.0 : (value - lo) / (hi - lo);
    const double trim = p.Get("Trim_4") + (p.Get("Trim_20") - p.Get("Trim_4")) * frac;
    return static_cast<long>(std::clamp(RoundSat(4000 + 16000 * frac + trim), 3800LL, 20500LL));
}

double CurrentBeat(Variant v, const Target& target, double time) {
    if (v == Variant::Velocimeter) return TrueVelocity(target, time) / target.hardwareDoppler;
    return TrueDistance(target, time) / target.hardwareCal;
}

Reading Measure(Variant v, const Target& target, const Params& p, double time, Rng& noise,
                bool forceLoss) {
    Reading r;
    r.time = time;
    // Damping averages successive cycles: the noise falls with the square root of their number.
    const double smooth =
        1.0 / std::sqrt(std::ldexp(1.0, static_cast<int>(std::clamp(p.Get("Damping"), 0.0, 12.0))));
    const double sampleS = p.Get("SampleT") * 1e-6;
    const double sweepS = sampleS * p.FftSize();
    const double doppler = TrueVelocity(target, time) / target.hardwareDoppler;

    if (v == Variant::Velocimeter) {
        r.beatHz = doppler + noise.Gauss() * 3.0 * smooth;
        r.dopplerHz = r.beatHz;
        r.velocity = p.Get("CalFac") * r.beatHz + p.Get("CalOffs");
        r.total = TrueTotal(target, time);
        r.peakMv = 700 * (1 + 0.15 * std::sin(time / 37.0)) + 20 * noise.Gauss();
        r.output = p.Get("OutSel") == 1 ? r.total : r.velocity;
    } else {
        r.beatHz = TrueDistance(target, time) / target.hardwareCal + noise.Gauss() * 0.4 * smooth;
        r.dopplerHz = doppler + noise.Gauss() * 0.3 * smooth;
        r.distance = p.Get("CalFac") * r.beatHz + p.Get("CalOffs");
        r.velocity = p.Get("CalDopplr") * r.dopplerHz;
        r.peakMv = 620 * std::pow(5000.0 / std::max(300.0, TrueDistance(target, time)), 0.8) *
                   (1 + 0.1 * std::sin(time / 53.0));
        r.peakMv += 15 * noise.Gauss();
        r.output = p.Get("OutSel") == 0 ? r.velocity : r.distance;
    }
    r.noiseMv = 35 + 6 * std::fabs(noise.Gauss());
    r.peakMv = std::max(r.peakMv, r.noiseMv);

    const double bin = std::fabs(r.beatHz) * sweepS;
    const bool outOfRange = bin < p.Get("Raw_Fmin") || bin > p.Get("Raw_Fmax");
    r.lossOfEcho = forceLoss || outOfRange || r.peakMv < p.Get("AmpMin");
    if (r.lossOfEcho) r.peakMv = r.noiseMv * (1.1 + 0.2 * noise.Uniform());

    r.signalCode = AmplitudeCode(r.peakMv);
    r.noiseCode = AmplitudeCode(r.noiseMv);
    r.snr = r.lossOfEcho
                ? 0
                : static_cast<int>(std::clamp(
                      RoundSat((r.signalCode - r.noiseCode) * 20.0 / kCodesPerDecade), 0LL, 99LL));
    r.status = r.lossOfEcho ? kLossOfEchoBit : 0;

    const double main = r.Main(v);
    const bool relay1 = v == Variant::Velocimeter ? p.Get("Rly1Mode") == 0
                                                  : RelayOn(static_cast<int>(p.Get("Rly1Mode")),
                                                            p.Get("Rly1Dist"), main, r.lossOfEcho);
    const bool relay2 =
        RelayOn(static_cast<int>(p.Get("Rly2Mode")), p.Get("Rly2Dist"), main, r.lossOfEcho);
    r.relays = (relay1 ? 1 : 0) | (relay2 ? 2 : 0);
    r.loopUa = LoopCurrent(p, main, r.lossOfEcho);
    r.temperature =
        static_cast<int>(RoundSat(235 + 25 * std::sin(time / 5400.0 + 1.0) + 2 * noise.Gauss()));
    return r;
}

}  // namespace sondix::sim
