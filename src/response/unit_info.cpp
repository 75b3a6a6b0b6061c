// How the connected unit is named on the main window and in chart titles, from its logo and
// serial number.
#include "common/gen_format.h"
#include "common/gen_text.h"
#include "response/status_lines.h"

namespace sondix {

std::string VerAndSerialLabel(const ParamMirror& m) {
    return Gen::Left(m.LogoStr, 18) + " : S/N=" + Gen::StrSingle(m.SerNum);
}

// A long logo loses its last 10 characters behind the serial number; a short one is replaced
// by the serial number when the unit has one.
std::string MakeGraphHeaderStr(const ParamMirror& m) {
    const std::string logo = Gen::Replace(m.LogoStr, "\r\n", " ");
    const std::string unit = "Unit#" + Gen::StrSingle(m.SerNum);
    if (logo.size() < 11) return m.SerNum != 0 ? unit : logo;
    return unit + "," + Gen::Left(logo, static_cast<long long>(logo.size()) - 10);
}

}  // namespace sondix
