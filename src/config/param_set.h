// The parameters the program writes to the sensor with a set command, by their mirror names:
// their set index on each sensor kind, whether they are lengths, and the values the
// configuration screen can give them. Shared by the screen's save/load/compare and sondix-cli.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "config/param_mirror.h"

namespace sondix {

struct SetParam {
    const char* name;  // the mirror member's name
    float ParamMirror::*member;
    std::int16_t distanceIndex;     // -1: not written on a distance sensor
    std::int16_t velocimeterIndex;  // -1: not written on a velocimeter
    bool length;  // millimetres (per second on a velocimeter), sent through cnv_mm_to_sensor
    std::int16_t lo, hi;  // the values the screen offers (for a length: what the sensor takes)
};

// Every written parameter, in the order a restore writes them: the unit first, because it
// decides how the sensor takes the lengths that follow.
const std::vector<SetParam>& SetParams();

// nullptr when `name` is not a written parameter (names as in the mirror: "Set__4", "Rly2Mode").
const SetParam* FindSetParam(std::string_view name);

// The set index on this sensor kind; -1 when the sensor kind has none.
std::int16_t SetIndex(const SetParam& p, const ParamMirror& m);

// The written parameters of this sensor kind.
std::vector<const SetParam*> WritableParams(const ParamMirror& m);

// The whole number a set command carries for `value` (millimetres for a length, else the
// parameter's own whole number); nothing when it is not whole or outside what the screen offers.
std::optional<std::int16_t> SensorValue(const SetParam& p, const ParamMirror& m, double value);

// The value the listing shows once the sensor has taken `sent` (a length in centimetres on
// long-range firmware comes back in millimetres).
double ReadBackValue(const SetParam& p, const ParamMirror& m, std::int16_t sent);

}  // namespace sondix
