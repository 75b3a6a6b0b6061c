// One line of the repeating results stream into the results window: the output value in the
// user's unit, the signal-to-noise figure and the two relay lamps.
#include <cmath>

#include "common/gen_format.h"
#include "common/gen_math.h"
#include "common/gen_number.h"
#include "common/gen_text.h"
#include "config/units.h"
#include "response/status_lines.h"
#include "response/text_field.h"
#include "terminal/session.h"

namespace sondix {
namespace {

constexpr Colour kRelayOn{127, 255, 127};
constexpr Colour kRelayOff{127, 0, 0};
constexpr Colour kRelayUnknown{85, 85, 85};
constexpr int kMaxSignal = 99;  // the bar and the two-digit box show 0..99

bool IsValueChar(char c) {
    return c == '-' || c == ' ' || c == '.' || (c >= '0' && c <= '9');
}

struct LineValue {
    float v = 0;
    long long end = 1;  // 1-based position after the number: later keys are searched from here
};

// The value follows the first "=" and runs over signs, blanks, points and digits.
LineValue ReadLineValue(std::string_view line) {
    LineValue out;
    const auto p = static_cast<long long>(Gen::InStr(line, "="));
    if (p == 0) return out;
    long long e = p + 1;
    while (e <= static_cast<long long>(line.size()) && IsValueChar(line[e - 1]))
        ++e;
    out.v = Gen::ToSingle(ValueAt(line, p + 1, e - 1 - p));
    out.end = e;
    return out;
}

// The sensor sends two digits after "S="; anything unreadable shows 0 rather than stopping the
// program, and the figure is kept within what the bar can show.
int ReadSignal(std::string_view line, long long from) {
    const auto p = static_cast<long long>(Gen::InStr(line, "S=", from));
    if (p == 0) return 0;
    const int S = Gen::ToInt16(ValueAt(line, p + 2, 2));
    return Gen::Smaller(Gen::Larger(S, 0), kMaxSignal);
}

Colour RelayColour(std::uint32_t status, int bit) {
    return Gen::BitTest(status, bit) ? kRelayOn : kRelayOff;
}

// "stat=" carries the relay states as 8 hexadecimal digits.
void ReadRelays(ResultsModel& m, std::string_view line, long long from) {
    const auto p = static_cast<long long>(Gen::InStr(line, "stat=", from));
    if (p == 0) {
        m.shpRelay1 = kRelayUnknown;
        return;
    }
    std::string hex(FieldAt(line, p + 5, 8));
    hex.resize(8, ' ');
    const std::int64_t word = Gen::ToInt64(Gen::Val("&H" + hex));
    const std::uint32_t status = Gen::AsUnsigned32(word);
    m.shpRelay1 = RelayColour(status, 1);
    m.shpRelay2 = RelayColour(status, 2);
}

int Channel(double x) {
    return Gen::ToInt32(x);
}

}  // namespace

void ResultsLineStep(Session& s, std::string_view line) {
    ResultsModel& m = s.results;
    const LineValue value = ReadLineValue(line);
    m.txtOutputvalue = cnv_mm_to_units_str(s.mirror, value.v);
    const int S = ReadSignal(line, value.end);
    m.txtSigstrength = Gen::Format(S, "00");
    m.pbrSigstrength = S;
    m.SigColor = SignalColor(S);
    ReadRelays(m, line, value.end);
    m.stale = false;
    if (s.io.host != nullptr) s.io.host->ResultsChanged();
}

// Red for a weak signal through green to blue for a strong one; blue only rises near the top.
Colour SignalColor(double S) {
    const double v = Gen::Smaller(Gen::Larger(S, 0.0), 100.0);
    const double red = (100 - v) / 100 * 255;
    const double blue = std::pow(v / 100, 8) * 255;
    const double green = Gen::Larger(255 - red - blue, 0.0);
    return Colour{Channel(red), Channel(green), Channel(blue)};
}

}  // namespace sondix
