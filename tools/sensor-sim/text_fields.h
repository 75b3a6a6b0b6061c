// Fixed-width text fields as the sensor prints them. Every field is clamped to what fits its
// width, because the host reads most of them at fixed positions: a value that spilled over
// would shift everything after it.
#pragma once

#include <cstdint>
#include <string>

namespace sondix::sim {

// Nearest whole number, halves away from zero, saturating; NaN gives 0.
long long RoundSat(double v);

// Right-aligned whole number in exactly `width` characters (blanks in front).
std::string IntField(long long v, int width);
// Non-negative whole number with leading zeros in exactly `width` characters.
std::string ZeroField(long long v, int width);
// Right-aligned fixed-point number in exactly `width` characters.
std::string FixedField(double v, int width, int decimals);
// Eight upper-case hexadecimal digits.
std::string Hex8(std::uint32_t v);
// Plain whole number, no padding.
std::string Plain(long long v);

inline constexpr const char* kCrLf = "\r\n";
inline constexpr const char* kTerminator = "  ***  ";

}  // namespace sondix::sim
