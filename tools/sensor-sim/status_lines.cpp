#include "status_lines.h"

#include "text_fields.h"

namespace sondix::sim {

std::string StatusLines(const AnswerContext& c, bool withSampleT) {
    const Reading& r = c.reading;
    std::string out;
    out += "Vel     =" + IntField(RoundSat(r.velocity), 5) + kCrLf;
    if (c.variant == Variant::Distance) {
        out += "Dist    =" + IntField(RoundSat(r.distance), 5) + kCrLf;
    }
    out += "Freq    =" + Plain(RoundSat(r.beatHz * 100)) + kCrLf;
    out += "Quality =" + IntField(r.snr, 5) + kCrLf;
    out += "Vrefcal =" + IntField(kVrefCalMv, 5) + kCrLf;
    if (withSampleT) {
        for (const Param& p : c.params.All()) {
            if (p.def->name == "SampleT") {
                out += std::string(p.def->key) + ValueText(*p.def, p.value) + kCrLf;
            }
        }
    }
    return out;
}

std::string TimerLine(long long ticks) {
    return "Timer=" + IntField(ticks, 11) + kCrLf;
}

std::string RampLine(bool down) {
    return std::string(down ? "RAMP DOWN" : "RAMP UP  ") + kCrLf;
}

std::string LogoLines(Variant v, const std::string& firmware) {
    return "FMCW RADAR Ver" + firmware + kCrLf +
           (v == Variant::Velocimeter ? "VELOCITY" : "DISTANCE") + kCrLf;
}

}  // namespace sondix::sim
