// Placeholder implementation; replaced by the exact rules.
#include "common/gen_number.h"
#include <cmath>
#include <cstdlib>
#include <string>
namespace Gen {
double Val(std::string_view text) { return std::atof(std::string(text).c_str()); }
double Int(double x) { return std::floor(x); }
double WholeValue(double x) { return std::nearbyint(x); }
std::int16_t ToInt16(double x) { return static_cast<std::int16_t>(std::nearbyint(x)); }
std::int32_t ToInt32(double x) { return static_cast<std::int32_t>(std::nearbyint(x)); }
std::int64_t ToInt64(double x) { return static_cast<std::int64_t>(std::nearbyint(x)); }
std::int32_t FloorToInt32(double x) { return static_cast<std::int32_t>(std::floor(x)); }
float ToSingle(double x) { return static_cast<float>(x); }
}  // namespace Gen
