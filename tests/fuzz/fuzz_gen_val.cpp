// The shared number rules against any text and any double: the leading-number parse, the Str
// form, the format pictures, the saturating conversions and the 1-based text helpers. Input:
// byte 1 picks a picture, bytes 2..9 are a double, bytes 10..11 a position and a length, the
// rest is text.
#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "common/gen_format.h"
#include "common/gen_number.h"
#include "common/gen_text.h"
#include "fuzz_support.h"

namespace sondix::fuzz {
namespace {

// Every picture the program formats with: the "0" places before the point, the places after it,
// and whether it shows a percentage.
struct Picture {
    std::string_view text;
    int minIntDigits;
    int decimals;
    bool percent;
};
constexpr std::array<Picture, 13> kPictures{{{"0.0", 1, 1, false},
                                             {"0.00", 1, 2, false},
                                             {"#0.0", 1, 1, false},
                                             {"#0.00", 1, 2, false},
                                             {"#0.000", 1, 3, false},
                                             {"0.000%", 1, 3, true},
                                             {"#0", 1, 0, false},
                                             {"##0", 1, 0, false},
                                             {"00", 2, 0, false},
                                             {"000", 3, 0, false},
                                             {"000000", 6, 0, false},
                                             {"#00000", 5, 0, false},
                                             {"#0'", 1, 0, false}}};

// The digits from `at` on.
std::size_t DigitsFrom(const std::string& s, std::size_t at) {
    const auto end =
        std::find_if_not(s.begin() + static_cast<std::ptrdiff_t>(std::min(at, s.size())), s.end(),
                         [](char c) { return c >= '0' && c <= '9'; });
    return static_cast<std::size_t>(end - s.begin()) - std::min(at, s.size());
}

void CheckVal(const std::string& text) {
    const double v = Gen::Val(text);
    // Leading blanks are skipped, so one more changes nothing.
    Require(SameValue(Gen::Val(" " + text), v), "a leading blank does not change Val", text);
}

void CheckStr(double v) {
    const std::string s = Gen::Str(v);
    Require(!s.empty() && s.size() <= 32, "the Str form is short", s);
    if (std::isnan(v)) return;
    Require(s[0] == (v >= 0 ? ' ' : '-'), "the Str form starts with a blank or a minus", s);
    if (!std::isfinite(v)) return;
    // 15 significant digits come back to within rounding.
    const double back = Gen::Val(s);
    const double tol = std::max(std::fabs(v) * 1e-14, 1e-300);
    Require(std::fabs(back - v) <= tol, "Val reads the Str form back", s);

    const float f = Gen::ToSingle(v);
    const std::string sf = Gen::StrSingle(f);
    const double backF = Gen::Val(sf);
    const double tolF = std::max(std::fabs(static_cast<double>(f)) * 1e-6, 1e-38);
    Require(std::fabs(backF - f) <= tolF, "Val reads the single Str form back", sf);
}

void CheckFormat(double v, const Picture& picture) {
    const std::string s = Gen::Format(v, picture.text);
    const std::string what = std::string(picture.text) + " -> " + s;
    Require(s.size() <= 400, "a formatted number stays short", s);
    if (!std::isfinite(v) || std::fabs(v) >= 1e15) return;
    const double shown = picture.percent ? v * 100 : v;
    const double tol = 0.5 * std::pow(10.0, -picture.decimals) + std::fabs(shown) * 1e-12;
    Require(std::fabs(Gen::Val(s) - shown) <= tol, "Val reads a formatted number back", what);
    Require(static_cast<int>(DigitsFrom(s, s[0] == '-' ? 1 : 0)) >= picture.minIntDigits,
            "the picture's 0 places are always shown", what);
    const std::size_t point = s.find('.');
    Require((point != std::string::npos) == (picture.decimals > 0),
            "a point is shown where the picture has one", what);
    if (point == std::string::npos) return;
    Require(static_cast<int>(DigitsFrom(s, point + 1)) == picture.decimals,
            "the picture's decimals are shown", what);
}

void CheckConversions(double v) {
    const std::int16_t i16 = Gen::ToInt16(v);
    const std::int32_t i32 = Gen::ToInt32(v);
    const float f = Gen::ToSingle(v);
    if (std::isnan(v)) {
        Require(i16 == 0 && i32 == 0 && Gen::ToInt64(v) == 0 && Gen::FloorToInt32(v) == 0,
                "NaN converts to 0");
        return;
    }
    const double w = Gen::WholeValue(v);
    Require(std::isfinite(f), "ToSingle saturates");
    Require(i16 == static_cast<std::int16_t>(std::clamp(w, -32768.0, 32767.0)),
            "ToInt16 is the whole value, saturated");
    Require(i32 == static_cast<std::int32_t>(std::clamp(w, -2147483648.0, 2147483647.0)),
            "ToInt32 is the whole value, saturated");
    if (!std::isfinite(v)) return;
    Require(std::fabs(w - v) <= 0.5 && w == std::floor(w), "WholeValue is the nearest whole");
    Require(Gen::Int(v) == std::floor(v), "Int is the floor");
}

void CheckText(const std::string& text, long long start, long long len) {
    const std::string mid = Gen::Mid(text, start, len);
    Require(len < 0 || static_cast<long long>(mid.size()) <= len, "Mid takes at most len");
    Require(text.find(mid) != std::string::npos, "Mid is a piece of the text");
    Require(Gen::Left(text, len).size() <= static_cast<std::size_t>(std::max(len, 0LL)),
            "Left takes at most n");
    Require(Gen::Right(text, len).size() <= static_cast<std::size_t>(std::max(len, 0LL)),
            "Right takes at most n");
    if (text.size() < 2) return;
    const std::string needle = text.substr(text.size() / 2, 2);
    const auto p = static_cast<long long>(Gen::InStr(text, needle, start));
    if (p == 0) return;
    Require(p >= start, "InStr finds at or after its start");
    Require(Gen::Mid(text, p, static_cast<long long>(needle.size())) == needle,
            "InStr points at the needle");
}

}  // namespace
}  // namespace sondix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sondix::fuzz;
    FuzzInput in(data, size);
    const Picture& picture = kPictures[in.Byte() % kPictures.size()];
    const double v = in.Number<double>();
    const auto start = static_cast<long long>(static_cast<std::int8_t>(in.Byte()));
    const auto len = static_cast<long long>(static_cast<std::int8_t>(in.Byte()));
    const std::string text = in.Rest();

    CheckVal(text);
    const double parsed = Gen::Val(text);
    for (const double x : {v, parsed}) {
        CheckStr(x);
        CheckFormat(x, picture);
        CheckConversions(x);
    }
    CheckText(text, start, len);
    return 0;
}
