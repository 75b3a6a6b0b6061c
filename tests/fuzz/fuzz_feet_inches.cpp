// A length typed in feet and inches ("12'6.5\"", "-0'6.0\"", plain decimal feet) on the
// configuration screen. Byte 1 picks distance or velocimeter and the firmware, the rest is the
// typed text. The text always reads as a number of millimetres (a garbled one as 0, never NaN),
// the feet and the inches add up with the sign of the feet, and the length shown from it reads
// back to the same text.
#include <cmath>
#include <cstdint>
#include <string>

#include "common/gen_number.h"
#include "config/units.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sondix::fuzz;
    FuzzInput in(data, size);
    const std::uint8_t kind = in.Byte();
    sondix::ParamMirror m;
    m.Units = 1;  // feet
    m.VelocimeterMode = (kind & 1) != 0;
    m.FirmwareRev = (kind & 2) != 0 ? 0.47f : 0.46f;
    const std::string text = in.Rest();

    const float mm = sondix::cnv_units_str_to_mm(m, text);
    Require(!std::isnan(mm), "typed feet read as a number", text);
    // Without an apostrophe the text is decimal feet.
    if (text.find('\'') == std::string::npos && std::isfinite(mm) && std::fabs(mm) < 1e6f) {
        const double feet = Gen::Val(text);
        Require(std::fabs(mm - feet * 304.8) <= 0.5 + std::fabs(feet) * 1e-3,
                "decimal feet read as feet", text);
    }
    if (!std::isfinite(mm) || std::fabs(mm) > 1e5f) return 0;
    const std::string shown = sondix::cnv_mm_to_units_str(m, mm);
    const float back = sondix::cnv_units_str_to_mm(m, shown);
    Require(sondix::cnv_mm_to_units_str(m, back) == shown, "a shown length reads back to itself",
            text + " -> " + shown);
    return 0;
}
