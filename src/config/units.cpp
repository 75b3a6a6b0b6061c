// Millimetres (per second on a velocimeter) to and from the user's display unit. The sensor
// keeps every length in millimetres; long-range firmware takes them in centimetres and shows
// unit 0 as metres.
#include "config/units.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "common/gen_format.h"
#include "common/gen_number.h"
#include "common/gen_text.h"

namespace sondix {
namespace {

enum Unit { kMm = 0, kFeet = 1, kMetres = 2, kInches = 3, kCm = 4 };

constexpr float kMmPerFoot = 304.8f;
constexpr float kMmPerInch = 25.4f;

// Int(v + 0.5): the nearest whole number, halves upwards. The half is added in double, where the
// sum is exact: in single precision 0.49999997 + 0.5 rounds to 1, and above 2^23 an odd whole
// number plus 0.5 rounds to the even one above it.
float RoundHalfUp(float v) {
    return static_cast<float>(Gen::Int(static_cast<double>(v) + 0.5));
}

// A whole number of steps as the single nearest to the decimal value, so that the shortest text
// of the result carries no binary noise ("1.234", not "1.2340001").
float Steps(float count, double perUnit) {
    return Gen::ToSingle(count / perUnit);
}

// Feet and inches: whole feet (toward zero) with an apostrophe, inches to a tenth, an inch mark.
// The value is already a whole number of hundredths of a foot, so the split works on those
// hundredths and a float error cannot turn 0.99 ft into 12.0 inches. The sign goes in front of
// the feet, also for less than one foot ("-0'6.0\""), so the text reads back as it was shown.
std::string FeetAndInches(float feet) {
    const double hundredths = Gen::WholeValue(std::fabs(static_cast<double>(feet)) * 100.0);
    const double whole = Gen::Int(hundredths / 100.0);
    const double restHundredths = hundredths - whole * 100.0;
    const double inches = Gen::Int(restHundredths * 12.0 / 10.0 + 0.5) / 10.0;
    const bool negative = feet < 0 && hundredths > 0;
    return (negative ? "-" : "") + Gen::Format(whole, "#0'") + Gen::Format(inches, "#0.0") + "\"";
}

// 1-based position of the first inch mark, or the length of the text when there is none.
long long InchMarkOrLength(std::string_view text) {
    const std::size_t q = Gen::InStr(text, "\"");
    return q > 0 ? static_cast<long long>(q) : static_cast<long long>(text.size());
}

bool StartsNegative(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    return first != std::string_view::npos && text[first] == '-';
}

// "fff'ii.i\"" or plain decimal feet. A leading minus makes the whole length negative, even
// when the feet are 0 ("-0'6.0\"" is half a foot below zero).
double ReadFeet(std::string_view text) {
    const std::size_t p = Gen::InStr(text, "'");
    if (p == 0) return Gen::Val(text);
    const long long apostrophe = static_cast<long long>(p);
    const double feet = Gen::Val(Gen::Left(text, apostrophe - 1));
    const long long q = InchMarkOrLength(text);
    const double inches = Gen::Val(Gen::Mid(text, apostrophe + 1, std::max(q - apostrophe, 0LL)));
    const bool negative = feet < 0 || StartsNegative(Gen::Left(text, apostrophe - 1));
    return negative ? feet - inches / 12.0 : feet + inches / 12.0;
}

}  // namespace

int UnitIndex(const ParamMirror& m) {
    for (int u = kFeet; u <= kCm; ++u) {
        if (m.Units == static_cast<float>(u)) return u;
    }
    return kMm;
}

bool SensorTakesCentimetres(const ParamMirror& m) {
    return UnitIndex(m) == kMm && LongRangeFirmware(m);
}

// Compared in single precision, as the revision is held: 0.46 itself is not long-range.
bool LongRangeFirmware(const ParamMirror& m) {
    return !m.VelocimeterMode && m.FirmwareRev > 0.46f;
}

float cnv_mm_to_units(const ParamMirror& m, float mm) {
    switch (UnitIndex(m)) {
        case kFeet:
            return Steps(RoundHalfUp(mm * 100.0f / kMmPerFoot), 100.0);
        case kMetres:
            return Steps(RoundHalfUp(mm), 1000.0);
        case kInches:
            return Steps(RoundHalfUp(mm * 10.0f / kMmPerInch), 10.0);
        case kCm:
            return Steps(RoundHalfUp(mm), 10.0);
        default:
            // Long-range firmware shows metres rounded to the centimetre it works in.
            return LongRangeFirmware(m) ? Steps(RoundHalfUp(mm * 0.1f), 100.0) : mm;
    }
}

std::string cnv_mm_to_units_str(const ParamMirror& m, float mm) {
    const float x = cnv_mm_to_units(m, mm);
    switch (UnitIndex(m)) {
        case kInches:
        case kCm:
            return Gen::Format(x, "#0.0");
        case kFeet:
            return FeetAndInches(x);
        default:
            return LongRangeFirmware(m) ? Gen::Format(x, "#0.00") : Gen::CStrSingle(x);
    }
}

float cnv_units_to_mm(const ParamMirror& m, float x) {
    switch (UnitIndex(m)) {
        case kFeet:
            return Gen::ToSingle(RoundHalfUp(x * kMmPerFoot));
        case kMetres:
            return Gen::ToSingle(RoundHalfUp(x * 1000.0f));
        case kInches:
            return Gen::ToSingle(RoundHalfUp(x * kMmPerInch));
        case kCm:
            return Gen::ToSingle(RoundHalfUp(x * 10.0f));
        default:
            return LongRangeFirmware(m) ? Gen::ToSingle(RoundHalfUp(x * 1000.0f)) : x;
    }
}

float cnv_units_str_to_mm(const ParamMirror& m, std::string_view text) {
    double x = 0;
    switch (UnitIndex(m)) {
        case kInches:
            x = Gen::Val(Gen::Left(text, InchMarkOrLength(text)));
            break;
        case kFeet:
            x = ReadFeet(text);
            break;
        default:
            x = Gen::Val(text);
            break;
    }
    return cnv_units_to_mm(m, Gen::ToSingle(x));
}

std::string UnitLabel(const ParamMirror& m) {
    static constexpr std::string_view kDistance[] = {"mm", "ft", "m ", "in", "cm"};
    static constexpr std::string_view kVelocity[] = {"mm/s", "ft/s", "m/s", "in/s", "cm/s"};
    const int u = UnitIndex(m);
    if (m.VelocimeterMode) return std::string(kVelocity[u]);
    if (u == kMm && LongRangeFirmware(m)) return "m";
    return std::string(kDistance[u]);
}

std::int16_t cnv_mm_to_sensor(const ParamMirror& m, double mm) {
    constexpr double kLimit = 32760;
    if (std::isnan(mm)) return 0;
    // Clamped well before any integer arithmetic, so a typed 1e30 cannot overflow; the set
    // command works on whole millimetres.
    double v = Gen::WholeValue(std::clamp(mm, -1e9, 1e9));
    // Long-range firmware takes centimetres: the nearest one, halves upward.
    if (SensorTakesCentimetres(m)) v = Gen::Int((v + 5) / 10);
    return Gen::ToInt16(std::clamp(v, -kLimit, kLimit));
}

std::string LengthHint(const ParamMirror& m) {
    const bool feet = UnitIndex(m) == kFeet;
    if (m.VelocimeterMode) {
        return feet ? "type velocity as feet and inches: fff'ii.i per second\""
                    : "type in velocity";
    }
    return feet ? "type distance as feet and inches: fff'ii.i\"" : "type in the distance";
}

std::string UnitFrameHint(const ParamMirror& m) {
    return m.VelocimeterMode ? "select velocity unit" : "select distance unit";
}

}  // namespace sondix
