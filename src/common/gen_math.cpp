// Placeholder implementation; replaced by the exact rules.
#include "common/gen_math.h"
#include <cmath>
namespace Gen {
double FloorToStep(double x, double step) { return std::floor(x / step) * step; }
double NextMultipleAbove(double x, double step) { return std::floor(x / step) * step + step; }
std::uint32_t AsUnsigned32(std::int64_t w) { return static_cast<std::uint32_t>(w); }
bool BitTest(double x, int n) { return n >= 1 && n <= 32 && ((static_cast<std::uint64_t>(x) >> (n - 1)) & 1); }
double LogAmplitude(double code) { return code < 1 ? 0 : std::floor(std::pow(10.0, std::fmin(code, 255) / 73.2) + 0.5); }
}  // namespace Gen
