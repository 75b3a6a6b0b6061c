// The set command's parameters. A velocimeter has no relay-1 switch length (its relay 1 only
// switches on or off) and numbers its echo selection and output choice differently.
#include "config/param_set.h"

#include <cmath>

#include "config/units.h"

namespace sondix {
namespace {

using M = ParamMirror;
constexpr std::int16_t kLengthLimit = 32760;

const std::vector<SetParam> kSetParams = {
    {"Units", &M::Units, 18, 18, false, 0, 4},
    {"Damping", &M::Damping, 19, 19, false, 0, 12},
    {"Set__4", &M::Set__4, 23, 23, true, -kLengthLimit, kLengthLimit},
    {"Set_20", &M::Set_20, 24, 24, true, -kLengthLimit, kLengthLimit},
    {"Raw_Fmin", &M::Raw_Fmin, 25, 25, false, 1, kLengthLimit},
    {"Raw_Fmax", &M::Raw_Fmax, 26, 26, false, 1, kLengthLimit},
    {"HistLog", &M::HistLog, 30, 30, false, 0, 6},
    {"CalDist", &M::CalDist, 36, 36, true, 1, kLengthLimit},
    {"AmpMin", &M::AmpMin, 41, 41, false, 0, 9999},
    {"Rly1Dist", &M::Rly1Dist, 47, -1, true, -kLengthLimit, kLengthLimit},
    {"Rly2Dist", &M::Rly2Dist, 48, 48, true, -kLengthLimit, kLengthLimit},
    {"Rly1Mode", &M::Rly1Mode, 49, 49, false, 0, 6},
    {"Rly2Mode", &M::Rly2Mode, 50, 50, false, 0, 6},
    {"PeakSel", &M::PeakSel, 77, 61, false, 0, 3},
    {"OutSel", &M::OutSel, 82, 63, false, 0, 2},
};

// A velocimeter's relay 1 knows only "Always ON" (0) and "Always OFF" (1).
std::int16_t HighestValue(const SetParam& p, const ParamMirror& m) {
    if (m.VelocimeterMode && p.member == &M::Rly1Mode) return 1;
    return p.hi;
}

}  // namespace

const std::vector<SetParam>& SetParams() {
    return kSetParams;
}

const SetParam* FindSetParam(std::string_view name) {
    for (const SetParam& p : kSetParams)
        if (name == p.name) return &p;
    return nullptr;
}

std::int16_t SetIndex(const SetParam& p, const ParamMirror& m) {
    return m.VelocimeterMode ? p.velocimeterIndex : p.distanceIndex;
}

std::vector<const SetParam*> WritableParams(const ParamMirror& m) {
    std::vector<const SetParam*> out;
    for (const SetParam& p : kSetParams)
        if (SetIndex(p, m) >= 0) out.push_back(&p);
    return out;
}

std::optional<std::int16_t> SensorValue(const SetParam& p, const ParamMirror& m, double value) {
    if (!std::isfinite(value)) return std::nullopt;
    if (p.length) {
        const std::int16_t sent = cnv_mm_to_sensor(m, value);
        // cnv_mm_to_sensor clamps; a length it had to cut would be stored as another length.
        const double back = ReadBackValue(p, m, sent);
        const double step = SensorTakesCentimetres(m) ? 5.0 : 0.5;
        if (std::fabs(back - value) > step || back < p.lo) return std::nullopt;
        return sent;
    }
    if (value != std::trunc(value) || value < p.lo || value > HighestValue(p, m))
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

double ReadBackValue(const SetParam& p, const ParamMirror& m, std::int16_t sent) {
    if (!p.length) return sent;
    return SensorTakesCentimetres(m) ? sent * 10.0 : sent;
}

}  // namespace sondix
