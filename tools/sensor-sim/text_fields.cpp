#include "text_fields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sondix::sim {
namespace {

// Largest and smallest whole numbers that print in `width` characters.
long long MaxFor(int width) {
    long long m = 1;
    for (int i = 0; i < width && m < 1'000'000'000'000'000LL; ++i)
        m *= 10;
    return m - 1;
}
long long MinFor(int width) {
    return width <= 1 ? 0 : -MaxFor(width - 1);
}

}  // namespace

long long RoundSat(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 9.0e18) return 9'000'000'000'000'000'000LL;
    if (v <= -9.0e18) return -9'000'000'000'000'000'000LL;
    return std::llround(v);
}

std::string IntField(long long v, int width) {
    v = std::clamp(v, MinFor(width), MaxFor(width));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%*lld", width, v);
    return buf;
}

std::string ZeroField(long long v, int width) {
    v = std::clamp(v, 0LL, MaxFor(width));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, v);
    return buf;
}

std::string FixedField(double v, int width, int decimals) {
    const int intWidth = width - decimals - (decimals > 0 ? 1 : 0);
    const double hi = static_cast<double>(MaxFor(intWidth)) + (decimals > 0 ? 0.9 : 0.0);
    const double lo = static_cast<double>(MinFor(intWidth)) - (decimals > 0 ? 0.9 : 0.0);
    if (std::isnan(v)) v = 0;
    v = std::clamp(v, lo, hi);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, v);
    return buf;
}

std::string Hex8(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(v));
    return buf;
}

std::string Plain(long long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld", v);
    return buf;
}

}  // namespace sondix::sim
