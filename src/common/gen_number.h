// Reading numbers from sensor text and converting between numeric kinds.
// Every float-to-integer conversion saturates: NaN gives 0, huge values give the type's limit.
#pragma once

#include <cstdint>
#include <string_view>

namespace Gen {

// The leading-number parse: leading blanks skipped; optional sign, digits, optional point and
// digits, optional exponent (E or D, with sign); blanks inside the number skipped; reading stops
// at the first other character; no number reads 0; "&H" starts a hexadecimal number ("&O" octal).
// The decimal point is always ".". A hexadecimal text of 5 to 8 digits is a signed 32-bit value
// (top bit set gives a negative number), as the sensor's status words expect.
double Val(std::string_view text);

// Floor (the whole part rounded down): Int(-2.5) = -3.
double Int(double x);

// Nearest whole value, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double WholeValue(double x);

// Saturating conversions with the rounding of WholeValue (halves to even); NaN gives 0.
std::int16_t ToInt16(double x);
std::int32_t ToInt32(double x);
std::int64_t ToInt64(double x);
// Saturating conversion of the floor (Int) to 32 bits.
std::int32_t FloorToInt32(double x);

// A double narrowed to single precision; beyond the float range it saturates to +-FLT_MAX.
float ToSingle(double x);

}  // namespace Gen
