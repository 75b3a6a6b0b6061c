// Number reading from sensor text and the saturating conversions between numeric kinds.
#include "common/gen_number.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace Gen {
namespace {

// Blanks are skipped anywhere inside a number, as the sensor pads its fields with them.
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A cursor over the text that steps over blanks before every look.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    char Peek() {
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void Skip() { ++pos_; }
    bool Take(char a, char b) {
        const char c = Peek();
        if (c == '\0' || (c != a && c != b)) return false;
        Skip();
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

int HexDigit(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int OctDigit(char c) {
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

// "&H" / "&O" numbers. Short texts are 16-bit words and longer ones 32-bit words, both read
// with the top bit as sign; a value too large for 32 bits saturates.
double ReadRadix(Reader& in, int radix, int shortDigits) {
    constexpr std::uint64_t kCap = 0xFFFFFFFFull + 1;  // anything above 32 bits
    std::uint64_t value = 0;
    int digits = 0;
    for (;;) {
        const int d = radix == 16 ? HexDigit(in.Peek()) : OctDigit(in.Peek());
        if (d < 0) break;
        in.Skip();
        ++digits;
        value = value * radix + d;
        if (value > kCap) value = kCap;
    }
    if (value >= kCap) return std::numeric_limits<std::int32_t>::max();
    if (digits <= shortDigits && value <= 0xFFFF) {
        return value >= 0x8000 ? static_cast<double>(value) - 65536.0 : static_cast<double>(value);
    }
    return value >= 0x80000000ull ? static_cast<double>(value) - 4294967296.0
                                  : static_cast<double>(value);
}

// The decimal number as plain text ("-123.45e-6") for a correctly rounded conversion, and the
// decimal order of its first significant digit so that an out-of-range result can tell an
// overflow from an underflow.
struct CleanNumber {
    std::string text;
    long long order = 0;
    bool negative = false;
    bool anyDigit = false;
};

CleanNumber CollectDecimal(Reader& in) {
    constexpr long long kExponentCap = 100000;  // far beyond any double, small enough to add
    CleanNumber n;
    if (in.Take('-', '-')) {
        n.negative = true;
    } else {
        in.Take('+', '+');
    }
    if (n.negative) n.text.push_back('-');
    // The value is 0.d... x 10^order, d the first nonzero digit.
    long long firstSignificant = 0;
    bool seenNonZero = false;
    long long intDigits = 0;
    while (IsDigit(in.Peek())) {
        const char c = in.Peek();
        in.Skip();
        n.text.push_back(c);
        n.anyDigit = true;
        ++intDigits;
        if (!seenNonZero && c != '0') {
            seenNonZero = true;
            firstSignificant = intDigits;  // made relative to the point below
        }
    }
    if (seenNonZero) firstSignificant = intDigits - firstSignificant + 1;
    if (in.Take('.', '.')) {
        n.text.push_back('.');
        long long fracPos = 0;
        while (IsDigit(in.Peek())) {
            const char c = in.Peek();
            in.Skip();
            n.text.push_back(c);
            n.anyDigit = true;
            ++fracPos;
            if (!seenNonZero && c != '0') {
                seenNonZero = true;
                firstSignificant = 1 - fracPos;
            }
        }
    }
    if (!n.anyDigit) return n;
    if (in.Take('E', 'e') || in.Take('D', 'd')) {
        bool expNegative = false;
        if (in.Take('-', '-')) {
            expNegative = true;
        } else {
            in.Take('+', '+');
        }
        long long exponent = 0;
        while (IsDigit(in.Peek())) {
            exponent = std::min(exponent * 10 + (in.Peek() - '0'), kExponentCap);
            in.Skip();
        }
        if (expNegative) exponent = -exponent;
        n.text += 'e' + std::to_string(exponent);
        firstSignificant += exponent;
    }
    n.order = firstSignificant;
    return n;
}

double ReadDecimal(Reader& in) {
    const CleanNumber n = CollectDecimal(in);
    if (!n.anyDigit) return 0.0;
    double value = 0.0;
    const char* first = n.text.data();
    const char* last = first + n.text.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        const double magnitude = n.order > 0 ? DBL_MAX : 0.0;
        return n.negative ? -magnitude : magnitude;
    }
    if (ec != std::errc()) return 0.0;
    return value;
}

template <typename T>
T Saturate(double whole) {
    if (std::isnan(whole)) return 0;
    constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
    // 2^(bits-1): exactly representable, unlike the type's maximum for 64 bits.
    constexpr double hiExclusive = -lo;
    if (whole < lo) return std::numeric_limits<T>::min();
    if (whole >= hiExclusive) return std::numeric_limits<T>::max();
    return static_cast<T>(whole);
}

// The common case, a whole number of at most 15 digits (every data word, most fields), read
// without building a text: the same value as ReadDecimal. False where the text goes on with a
// point, an exponent or "&", or has more digits: the full reader takes those.
bool ReadPlainWhole(std::string_view text, double& value) {
    constexpr int kExactDigits = 15;  // still exact in a double
    std::int64_t whole = 0;
    int digits = 0;
    bool negative = false;
    bool signSeen = false;
    for (const char c : text) {
        if (IsBlank(c)) continue;
        if (IsDigit(c)) {
            if (++digits > kExactDigits) return false;
            whole = whole * 10 + (c - '0');
            continue;
        }
        if (c == '.' || c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == '&') return false;
        if (digits == 0 && !signSeen && (c == '-' || c == '+')) {
            signSeen = true;
            negative = c == '-';
            continue;
        }
        break;
    }
    const double v = static_cast<double>(whole);
    value = digits == 0 ? 0.0 : (negative ? -v : v);
    return true;
}

}  // namespace

double Val(std::string_view text) {
    if (double v = 0; ReadPlainWhole(text, v)) return v;
    Reader in(text);
    if (in.Peek() == '&') {
        in.Skip();
        if (in.Take('H', 'h')) return ReadRadix(in, 16, 4);
        if (in.Take('O', 'o')) return ReadRadix(in, 8, 6);
        return 0.0;
    }
    return ReadDecimal(in);
}

double Int(double x) {
    return std::floor(x);
}

double WholeValue(double x) {
    if (!std::isfinite(x)) return x;
    const double down = std::floor(x);
    const double rest = x - down;  // exact: both lie within one binade's integer grid
    if (rest < 0.5) return down;
    if (rest > 0.5) return down + 1.0;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

std::int16_t ToInt16(double x) {
    return Saturate<std::int16_t>(WholeValue(x));
}
std::int32_t ToInt32(double x) {
    return Saturate<std::int32_t>(WholeValue(x));
}
std::int64_t ToInt64(double x) {
    return Saturate<std::int64_t>(WholeValue(x));
}
std::int32_t FloorToInt32(double x) {
    return Saturate<std::int32_t>(std::floor(x));
}

float ToSingle(double x) {
    if (std::isnan(x)) return std::numeric_limits<float>::quiet_NaN();
    if (x > FLT_MAX) return FLT_MAX;
    if (x < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(x);
}

}  // namespace Gen
