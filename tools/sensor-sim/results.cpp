#include "results.h"

#include <algorithm>

#include "text_fields.h"

namespace sondix::sim {

std::string ResultsLine(const AnswerContext& c) {
    const Reading& r = c.reading;
    const long long outSel = RoundSat(c.params.Get("OutSel"));
    std::string value;
    if (outSel == 1 && c.variant == Variant::Velocimeter) {
        value = "TotDist=" + FixedField(r.output, 12, 0);
    } else if (outSel == 0) {
        value = "Vel=" + FixedField(r.output, 9, 1);
    } else {
        value = (outSel == 1 ? "TotDist=" : "Dist=") + FixedField(r.output, 9, 1);
    }
    const auto stat = r.status | static_cast<std::uint32_t>(r.relays);
    return value + " S=" + ZeroField(r.snr, 2) + " stat=" + Hex8(stat) + kCrLf;
}

std::string StreamResultFields(const AnswerContext& c) {
    const Reading& r = c.reading;
    const std::string s = " S=" + IntField(r.snr, 3);
    if (c.variant == Variant::Velocimeter) {
        return "Vel =" + FixedField(r.velocity, 7, 1) + s +
               " f =" + FixedField(std::clamp(r.beatHz, -9999.99, 99999.99), 10, 2) + kCrLf;
    }
    return "Dist=" + IntField(RoundSat(r.distance), 6) +
           " Vel=" + FixedField(std::clamp(r.velocity, -999.9, 9999.9), 7, 1) + s +
           " Favr=" + FixedField(r.beatHz, 8, 2) + " Fdif=" + FixedField(r.dopplerHz, 9, 2) + kCrLf;
}

}  // namespace sondix::sim
