// Format pictures ("#0.00", "0.000%", "#00000"): the digits of captions and footnotes.
// The value is first taken to 15 significant decimal digits and then rounded in decimal, half
// away from zero, so 2.675 with "0.00" shows "2.68" as the user reads the number, not as the
// binary double happens to lie.
#include <charconv>
#include <cmath>
#include <string>

#include "common/gen_format.h"

namespace Gen {
namespace {

bool IsPlace(char c) {
    return c == '0' || c == '#';
}

// One picture split at its point. Literal characters stay in place; "\x" and quoted text are
// literals too.
// The digit places of a picture part, "0" or "#" each, escaped literals skipped.
std::string PlaceKinds(std::string_view part) {
    std::string kinds;
    for (std::size_t i = 0; i < part.size(); ++i) {
        if (part[i] == '\\') {
            ++i;
        } else if (IsPlace(part[i])) {
            kinds += part[i];
        }
    }
    return kinds;
}

struct Picture {
    std::string intPart, fracPart;
    bool hasPoint = false;
    int percents = 0;
    int intPlaces = 0, minIntDigits = 0, fracPlaces = 0;
};

Picture ParsePicture(std::string_view text) {
    Picture p;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        std::string& part = p.hasPoint ? p.fracPart : p.intPart;
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (c == '\\' && !quoted) {
            if (i + 1 == text.size()) break;
            c = text[++i];
            part += '\\';  // marks the next character as a literal for the renderer
            part += c;
            continue;
        }
        if (quoted) {
            part += '\\';
            part += c;
            continue;
        }
        if (c == '.' && !p.hasPoint) {
            p.hasPoint = true;
            continue;
        }
        if (c == '%') ++p.percents;
        part += c;
    }
    const std::string intKinds = PlaceKinds(p.intPart);
    const auto firstZero = intKinds.find('0');
    p.intPlaces = static_cast<int>(intKinds.size());
    // A "0" forces its own place and every place to its right.
    p.minIntDigits = firstZero == std::string::npos ? 0 : p.intPlaces - static_cast<int>(firstZero);
    p.fracPlaces = static_cast<int>(PlaceKinds(p.fracPart).size());
    return p;
}

// The magnitude as decimal digits, rounded half away from zero to `fracPlaces` decimals.
struct Fixed {
    std::string intDigits;  // no leading zeros: "" for a value below 1
    std::string fracDigits;
    bool IsZero() const {
        return intDigits.empty() && fracDigits.find_first_not_of('0') == std::string::npos;
    }
};

void AddOneUlp(std::string& digits) {
    for (auto i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

Fixed ToFixed(double magnitude, int fracPlaces) {
    char buf[64];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    const std::string_view sci(buf, r.ptr - buf);
    const auto ePos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, ePos)) {
        if (c != '.') digits += c;
    }
    int exponent = 0;
    std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+' ? 1 : 0), sci.data() + sci.size(),
                    exponent);

    Fixed f;
    if (exponent >= 0) {
        const auto intLen = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() < intLen) digits.append(intLen - digits.size(), '0');
        f.intDigits = digits.substr(0, intLen);
        f.fracDigits = digits.substr(intLen);
    } else if (-exponent - 1 <= fracPlaces) {
        f.fracDigits = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    const auto places = static_cast<std::size_t>(fracPlaces);
    bool roundUp = false;
    if (f.fracDigits.size() > places) {
        roundUp = f.fracDigits[places] >= '5';
        f.fracDigits.resize(places);
    }
    f.fracDigits.append(places - f.fracDigits.size(), '0');
    if (roundUp) {
        std::string all = f.intDigits + f.fracDigits;
        AddOneUlp(all);
        f.intDigits = all.substr(0, all.size() - places);
        f.fracDigits = all.substr(all.size() - places);
    }
    const auto firstSignificant = f.intDigits.find_first_not_of('0');
    f.intDigits.erase(
        0, firstSignificant == std::string::npos ? f.intDigits.size() : firstSignificant);
    return f;
}

// Integer places are filled from the right; digits beyond the places go with the first place.
std::string RenderInt(const Picture& p, std::string digits) {
    if (digits.size() < static_cast<std::size_t>(p.minIntDigits)) {
        digits.insert(0, static_cast<std::size_t>(p.minIntDigits) - digits.size(), '0');
    }
    const long long offset = static_cast<long long>(digits.size()) - p.intPlaces;
    std::string out;
    int place = 0;
    for (std::size_t i = 0; i < p.intPart.size(); ++i) {
        const char c = p.intPart[i];
        if (c == '\\') {
            out += p.intPart[++i];
            continue;
        }
        if (!IsPlace(c)) {
            out += c;
            continue;
        }
        const long long idx = place + offset;
        if (place == 0 && idx >= 0) {
            out += digits.substr(0, static_cast<std::size_t>(idx) + 1);
        } else if (idx >= 0) {
            out += digits[static_cast<std::size_t>(idx)];
        }
        ++place;
    }
    if (p.intPlaces == 0) out += digits;
    return out;
}

// Trailing "#" places show nothing where their digit is a zero.
std::string RenderFrac(const Picture& p, const std::string& digits) {
    const std::string placeKinds = PlaceKinds(p.fracPart);
    std::size_t shown = digits.size();
    while (shown > 0 && placeKinds[shown - 1] == '#' && digits[shown - 1] == '0')
        --shown;
    std::string out = ".";
    std::size_t place = 0;
    for (std::size_t i = 0; i < p.fracPart.size(); ++i) {
        const char c = p.fracPart[i];
        if (c == '\\') {
            out += p.fracPart[++i];
        } else if (!IsPlace(c)) {
            out += c;
        } else if (place++ < shown) {
            out += digits[place - 1];
        }
    }
    return out;
}

}  // namespace

std::string Format(double v, std::string_view picture) {
    if (picture.empty()) return CStr(v);  // no picture: the plain number
    const Picture p = ParsePicture(picture);
    double magnitude = std::fabs(v);
    for (int i = 0; i < p.percents; ++i)
        magnitude *= 100.0;
    if (std::isnan(magnitude)) return "NaN";
    if (std::isinf(magnitude)) return v < 0 ? "-Inf" : "Inf";
    const Fixed f = ToFixed(magnitude, p.fracPlaces);
    std::string out = v < 0 && !f.IsZero() ? "-" : "";
    out += RenderInt(p, f.intDigits);
    if (p.hasPoint) out += RenderFrac(p, f.fracDigits);
    return out;
}

std::string Format(float v, std::string_view picture) {
    if (!std::isfinite(v)) return Format(static_cast<double>(v), picture);
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 6);
    double decimal = 0;
    std::from_chars(buf, r.ptr, decimal);
    return Format(decimal, picture);
}

}  // namespace Gen
