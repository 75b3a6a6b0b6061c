// Numbers to text: the Str form and the format pictures used in captions, titles and footnotes.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace Gen {

// Str form at double precision: a leading blank for values >= 0, "-" otherwise, then the shortest
// decimal form with at most 15 significant digits, "." as point, no thousands separator, a
// leading zero before the point (" 0.35", "-0.5"), exponent form ("1E+20", " 1.5E-07") beyond
// that precision.
std::string Str(double v);
// The same at single precision (7 significant digits): Str(0.1f) is " 0.1".
std::string StrSingle(float v);

// The plain text of a number without the leading blank (the text a value shows in a box).
std::string CStr(double v);
std::string CStrSingle(float v);

// A format picture: "0" a digit always shown, "#" a digit shown only when significant, "." the
// point, "%" multiplies by 100 and appends the sign, any other character (such as "'") is copied.
// Rounds half away from zero at the last shown digit. Supports at least "0.0", "0.00", "#0.0",
// "#0.00", "#0.000", "0.000%", "#0", "##0", "00", "000", "000000", "#00000", "#0'".
std::string Format(double v, std::string_view picture);
// A single-precision value is rounded as it reads in decimal at its own precision (7 significant
// digits): 0.175f with "0.00" shows "0.18", not the "0.17" of its binary value 0.17499999...
std::string Format(float v, std::string_view picture);
template <std::integral T>
std::string Format(T v, std::string_view picture) {
    return Format(static_cast<double>(v), picture);
}

// "hh:nn:ss" of a duration in whole seconds (wraps after 24 h).
std::string FormatHMS(std::int64_t seconds);

}  // namespace Gen
