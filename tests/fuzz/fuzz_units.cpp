// The unit conversions against any typed text and any length. Input: byte 1 picks Units
// (the five units and a few values a broken listing could leave), byte 2 the firmware revision
// and the sensor kind, bytes 3..6 a length in millimetres (any float), the rest a typed text.
// A shown length typed back must give the length again within the unit's resolution and show
// the same text again.
#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>

#include "config/units.h"
#include "fuzz_support.h"

namespace sondix::fuzz {
namespace {

// The five units, then what a missing, odd or out-of-range listing value leaves behind.
constexpr std::array<float, 10> kUnits{0, 1, 2, 3, 4, 5, -1, 2.5f, kMissing, 1e30f};
constexpr std::array<float, 6> kFirmware{0, 0.46f, 0.47f, 1.51f, -2e9f, 0.4600001f};

ParamMirror ReadMirror(FuzzInput& in) {
    const std::uint8_t u = in.Byte();
    const std::uint8_t f = in.Byte();
    ParamMirror m;
    m.Units = kUnits[u % kUnits.size()];
    m.FirmwareRev = kFirmware[f % kFirmware.size()];
    m.VelocimeterMode = (f & 0x80) != 0;
    return m;
}

// Half a display step of the unit, in millimetres, plus the rounding to whole millimetres on
// the way back.
double Resolution(const ParamMirror& m) {
    switch (UnitIndex(m)) {
        case 1:
            // Hundredths of a foot, then inches to a tenth, then whole millimetres.
            return 304.8 * 0.005 + 25.4 * 0.05 + 0.5;
        case 2:
            return LongRangeFirmware(m) ? 5.5 : 1.0;
        case 3:
            return 25.4 * 0.05 + 0.5;
        case 4:
            return 1.0;
        default:
            return LongRangeFirmware(m) ? 5.5 : 0.0;
    }
}

void CheckTyped(const ParamMirror& m, const std::string& text) {
    const float mm = cnv_units_str_to_mm(m, text);
    Require(!std::isnan(mm), "typed text converts to a number of millimetres", text);
}

void CheckRoundTrip(const ParamMirror& m, float mm) {
    const std::string shown = cnv_mm_to_units_str(m, mm);
    Require(!shown.empty() && shown.size() <= 64, "a shown length is a short text", shown);
    if (std::isnan(mm)) return;
    Require(!std::isnan(cnv_mm_to_units(m, mm)), "a length converts to a number");
    if (std::fabs(mm) > 1e6f) return;

    const float back = cnv_units_str_to_mm(m, shown);
    const double tol = Resolution(m) + std::fabs(mm) * 1e-6 + 1e-30;
    Require(std::fabs(static_cast<double>(back) - mm) <= tol,
            "a shown length typed back gives the length", shown + " -> " + std::to_string(back));
    // Beyond 100 m single precision no longer holds the hundredths of a foot exactly.
    if (std::fabs(mm) > 1e5f) return;
    Require(cnv_mm_to_units_str(m, back) == shown, "a length typed back shows the same text",
            shown + " -> " + cnv_mm_to_units_str(m, back));
}

void CheckSensorValue(const ParamMirror& m, double mm) {
    const std::int16_t v = cnv_mm_to_sensor(m, mm);
    Require(v >= -32760 && v <= 32760, "a set command's length stays within +-32760");
    if (std::isnan(mm) || std::fabs(mm) > 300000) return;
    const double whole = LongRangeFirmware(m) && UnitIndex(m) == 0 ? mm / 10 : mm;
    Require(std::fabs(std::clamp(whole, -32760.0, 32760.0) - v) <= 1.0,
            "a set command carries the length in its unit");
}

}  // namespace
}  // namespace sondix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sondix::fuzz;
    FuzzInput in(data, size);
    const sondix::ParamMirror m = ReadMirror(in);
    const float mm = in.Number<float>();
    const std::string text = in.Rest();

    Require(!sondix::UnitLabel(m).empty(), "every unit has a label");
    CheckTyped(m, text);
    CheckRoundTrip(m, mm);
    // The typed text's own value, shown and typed back.
    CheckRoundTrip(m, sondix::cnv_units_str_to_mm(m, text));
    CheckSensorValue(m, mm);
    return 0;
}
