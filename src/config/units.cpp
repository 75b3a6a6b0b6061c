// Placeholder; the conversions replace it.
#include "config/units.h"
#include "common/gen_format.h"
namespace sondix {
int UnitIndex(const ParamMirror&) { return 0; }
bool LongRangeFirmware(const ParamMirror&) { return false; }
float cnv_mm_to_units(const ParamMirror&, float mm) { return mm; }
std::string cnv_mm_to_units_str(const ParamMirror&, float mm) { return Gen::CStrSingle(mm); }
float cnv_units_to_mm(const ParamMirror&, float x) { return x; }
float cnv_units_str_to_mm(const ParamMirror&, std::string_view) { return 0; }
std::string UnitLabel(const ParamMirror&) { return "mm"; }
std::int16_t cnv_mm_to_sensor(const ParamMirror&, double mm) { return static_cast<std::int16_t>(mm); }
std::string LengthHint(const ParamMirror&) { return {}; }
std::string UnitFrameHint(const ParamMirror&) { return {}; }
}  // namespace sondix
