// Small numeric rules shared by the decoders.
#include "common/gen_math.h"

#include <cmath>

#include "common/gen_number.h"

namespace Gen {

// A zero or non-finite step has no grid: the value stays as it is rather than turning into NaN.
double FloorToStep(double x, double step) {
    if (step == 0 || !std::isfinite(step)) return x;
    return Int(x / step) * step;
}

double NextMultipleAbove(double x, double step) {
    if (step == 0 || !std::isfinite(step)) return x;
    return Int(x / step) * step + step;
}

std::uint32_t AsUnsigned32(std::int64_t word) {
    // Modulo 2^32: a negative 32-bit word gains 4294967296.
    return static_cast<std::uint32_t>(word);
}

bool BitTest(double x, int n) {
    if (n < 1 || n > 32 || std::isnan(x) || x < 0) return false;
    x = Int(x + 0.5);
    bool set = false;
    for (int i = 0; i < n; ++i) {
        const double h = x / 2;
        x = Int(h);
        set = h - x > 0.1;
    }
    return set;
}

double LogAmplitude(double code) {
    const int c = ToInt16(code);
    if (c < 1) return 0;
    return Int(std::pow(10.0, Smaller(c, 255) / 73.2) + 0.5);
}

}  // namespace Gen
