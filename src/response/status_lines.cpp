// The status listing that heads every data graph and the parameter listing, the timer line and
// the sweep direction. Keys the sensor did not send leave their fields as they were.
#include "response/status_lines.h"

#include <array>

#include "common/gen_number.h"
#include "common/gen_text.h"
#include "response/text_field.h"

namespace sondix {
namespace {

constexpr long long kKeyLength = 9;
constexpr long long kFixedWidth = 5;

// A variable field runs to the next blank after its first character (the sensor right-aligns
// some values and left-aligns others), else to the line end, else five characters.
std::string_view VariableField(std::string_view text, long long q) {
    long long end = static_cast<long long>(Gen::InStr(text, " ", q + 1));
    if (end == 0) end = static_cast<long long>(Gen::InStr(text, "\r", q));
    if (end == 0) end = q + kFixedWidth;
    return FieldAt(text, q, end - q);
}

void StoreSampleTime(ResultFields& r, double v) {
    r.SamplePeriodUs = Gen::ToSingle(v * 0.01);
    if (r.SamplePeriodUs <= 0) r.SamplePeriodUs = 1.0f;
    r.SamplePeriodMs = r.SamplePeriodUs * 0.001;
}

struct ListingKey {
    const char* key;
    bool variable;  // the field ends at a blank or line end instead of after 5 characters
    void (*store)(ResultFields&, double);
};

constexpr std::array<ListingKey, 5> kKeys{{
    {"Vel     =", false, [](ResultFields& r, double v) { r.ResultVel = Gen::ToSingle(v); }},
    {"Freq    =", true, [](ResultFields& r, double v) { r.ResultFreq = Gen::ToSingle(v * 0.01); }},
    {"Quality =", false, [](ResultFields& r, double v) { r.ResultSignal = Gen::ToInt16(v); }},
    {"Vrefcal =", false, [](ResultFields& r, double v) { r.VrefCal = Gen::ToSingle(v); }},
    {"SampleT =", true, StoreSampleTime},
}};

// Only the distance key decides the sensor variant: a velocimeter lists no distance at all.
void ReadDistance(ResultFields& r, std::string_view text) {
    const auto p = static_cast<long long>(Gen::InStr(text, "Dist    ="));
    if (p == 0) {
        r.ModeVelocity = true;
        r.ResultDist = 0;
        r.ModeText = "Velocity";
        return;
    }
    r.ModeVelocity = false;
    r.ResultDist = Gen::ToSingle(ValueAt(text, p + kKeyLength, kFixedWidth));
    r.ModeText = "Distance";
}

}  // namespace

void ParseStatusListing(ResultFields& r, std::string_view text) {
    for (const ListingKey& k : kKeys) {
        const auto p = static_cast<long long>(Gen::InStr(text, k.key));
        if (p == 0) continue;
        const long long q = p + kKeyLength;
        const std::string_view field =
            k.variable ? VariableField(text, q) : FieldAt(text, q, kFixedWidth);
        k.store(r, Gen::Val(field));
    }
    ReadDistance(r, text);
}

void ParseTimer(ResultFields& r, std::string_view text) {
    const auto p = static_cast<long long>(Gen::InStr(text, "Timer="));
    if (p == 0) return;
    // The sensor counts ticks of 87.381 ms.
    r.UnitTimeDays = ValueAt(text, p + 6, 11) * 87.381 / 8.64e7;
}

std::string FindRampText(std::string_view text) {
    std::string ramp;
    if (Gen::InStr(text, "RAMP UP  ") != 0) ramp = "RAMP UP  ";
    if (Gen::InStr(text, "RAMP DOWN") != 0) ramp = "RAMP DOWN";
    return ramp;
}

}  // namespace sondix
