// Lengths (and velocities) between the sensor's millimetres and the user's display unit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/param_mirror.h"

namespace sondix {

// Units 0..4 (anything else is 0): mm, ft, m, in, cm; per second on a velocimeter.
int UnitIndex(const ParamMirror& m);
// FirmwareRev above 0.46 on a distance sensor: unit 0 means metres, lengths go out in cm.
bool LongRangeFirmware(const ParamMirror& m);
// Long-range firmware showing unit 0: set commands carry lengths in centimetres.
bool SensorTakesCentimetres(const ParamMirror& m);

float cnv_mm_to_units(const ParamMirror& m, float mm);
std::string cnv_mm_to_units_str(const ParamMirror& m, float mm);
float cnv_units_to_mm(const ParamMirror& m, float x);
float cnv_units_str_to_mm(const ParamMirror& m, std::string_view text);
std::string UnitLabel(const ParamMirror& m);
// The integer a set command carries for a length, clamped to -32760..32760.
std::int16_t cnv_mm_to_sensor(const ParamMirror& m, double mm);

// Tool tips of the length boxes and of the unit frame.
std::string LengthHint(const ParamMirror& m);
std::string UnitFrameHint(const ParamMirror& m);

}  // namespace sondix
