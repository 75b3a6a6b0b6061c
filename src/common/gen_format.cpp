// Number to text: the Str form of messages, titles and footnotes, and durations.
// Everything goes through std::to_chars so that no locale can change the decimal point.
#include "common/gen_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace Gen {
namespace {

// A finite non-negative number as significant digits: value = d.ddd x 10^exponent.
struct Digits {
    std::string digits;  // no trailing zeros, at least one digit
    int exponent = 0;
};

// Reads the output of to_chars in scientific form ("1.2345e+07").
Digits FromScientific(std::string_view text) {
    Digits d;
    const auto e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (c != '.') d.digits.push_back(c);
    }
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    d.exponent);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// The value rounded to `precision` significant digits.
template <typename T>
Digits RoundedDigits(T v, int precision) {
    char buf[64];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, precision - 1);
    return FromScientific(std::string_view(buf, r.ptr - buf));
}

// The shortest text that reads back as the same single, unless that needs more than 7 digits.
Digits SingleDigits(float v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    Digits d = FromScientific(std::string_view(buf, r.ptr - buf));
    if (d.digits.size() <= 7) return d;
    return RoundedDigits(v, 7);
}

std::string NonFinite(double v) {
    if (std::isnan(v)) return "NaN";
    return v < 0 ? "-Inf" : "Inf";
}

// Plain notation within the precision, exponent notation ("1.5E-07") beyond it.
std::string Render(const Digits& d, int precision) {
    const std::string& s = d.digits;
    const int e = d.exponent;
    if (e >= precision || e < -4) {
        std::string out(1, s[0]);
        if (s.size() > 1) out += '.' + s.substr(1);
        const int mag = e < 0 ? -e : e;
        out += e < 0 ? "E-" : "E+";
        if (mag < 10) out += '0';
        return out + std::to_string(mag);
    }
    if (e < 0) return "0." + std::string(static_cast<std::size_t>(-e - 1), '0') + s;
    const auto intLen = static_cast<std::size_t>(e) + 1;
    if (s.size() <= intLen) return s + std::string(intLen - s.size(), '0');
    return s.substr(0, intLen) + '.' + s.substr(intLen);
}

template <typename T>
std::string PlainText(T v, Digits (*digitsOf)(T), int precision) {
    if (!std::isfinite(v)) return NonFinite(v);
    if (v == 0) return "0";
    const std::string body = Render(digitsOf(std::fabs(v)), precision);
    return v < 0 ? '-' + body : body;
}

Digits DoubleDigits(double v) {
    return RoundedDigits(v, 15);
}

std::string WithSignBlank(double v, const std::string& text) {
    return v >= 0 ? ' ' + text : text;
}

}  // namespace

std::string CStr(double v) {
    // Counts and indices, most of what is shown: a whole number of up to 15 digits is its digits
    // (zero without sign), without the way through the 15 significant digits.
    if (std::fabs(v) < 1e15 && v == std::trunc(v)) {
        return std::to_string(static_cast<std::int64_t>(v));
    }
    return PlainText<double>(v, DoubleDigits, 15);
}
std::string CStrSingle(float v) {
    return PlainText<float>(v, SingleDigits, 7);
}
std::string Str(double v) {
    return WithSignBlank(v, CStr(v));
}
std::string StrSingle(float v) {
    return WithSignBlank(v, CStrSingle(v));
}

std::string FormatHMS(std::int64_t seconds) {
    const std::int64_t s = seconds < 0 ? 0 : seconds % 86400;
    const auto two = [](std::int64_t n) {
        return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
    };
    return two(s / 3600) + ':' + two(s / 60 % 60) + ':' + two(s % 60);
}

}  // namespace Gen
