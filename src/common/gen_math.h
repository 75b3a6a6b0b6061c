// Small numeric rules shared by the decoders.
#pragma once

#include <cstdint>

namespace Gen {

template <typename A, typename B>
constexpr auto Larger(A a, B b) {
    return a > b ? a : b;
}
template <typename A, typename B>
constexpr auto Smaller(A a, B b) {
    return a < b ? a : b;
}

// Int(x / step) * step, and the next multiple strictly above x: Int(x / step) * step + step.
double FloorToStep(double x, double step);
double NextMultipleAbove(double x, double step);

// A signed 32-bit word read as unsigned (a negative value + 4294967296).
std::uint32_t AsUnsigned32(std::int64_t word);

// Bit n (1 = least significant) of a non-negative number, found by halving as the sensor's
// documentation does it; bits outside 1..32 read as clear.
bool BitTest(double x, int n);

// A logarithmic amplitude code (73.2 codes a decade, capped at 255) as a linear amplitude:
// c = the code as a 16-bit whole value; c < 1 gives 0; otherwise Int(10^(min(c,255)/73.2) + 0.5).
double LogAmplitude(double code);

}  // namespace Gen
