// Tables and small rules of the data graph decoder.
#include "response/data_graph_rules.h"

#include <array>
#include <cmath>

#include "common/gen_format.h"
#include "common/gen_math.h"
#include "common/gen_number.h"

namespace sondix {
namespace {

constexpr int kWordsPerLine = 16;

struct StepRow {
    double bound;
    float step;
};

// Time axes: the first row whose bound the last x exceeds.
constexpr std::array<StepRow, 6> kTimeSteps{{
    {1000, 100},
    {400, 50},
    {200, 20},
    {100, 10},
    {40, 5},
    {20, 2},
}};
constexpr float kSmallestTimeStep = 1;

// Spectra: the first row whose bound the last x stays below.
constexpr std::array<StepRow, 6> kFreqSteps{{
    {400, 20},
    {1000, 50},
    {2000, 100},
    {4000, 200},
    {10000, 500},
    {20000, 1000},
}};
constexpr float kLargestFreqStep = 2000;

// Int(t / 0.01) alone would cut 4.35 to 4.34, as 4.35 / 0.01 lies just below 435 in binary.
constexpr double kCutTolerance = 1e-9;

}  // namespace

GraphWordFormat WordFormatOf(char key) {
    if (key == 'F' || key == '[') return {3, true};
    return {4, false};
}

long long WordPosition(long long i, int width) {
    return 1 + (i - 1) * width + 2 * ((i - 1) / kWordsPerLine);
}

float TimeLabelStep(double xl) {
    for (const StepRow& row : kTimeSteps) {
        if (xl > row.bound) return row.step;
    }
    return kSmallestTimeStep;
}

float FreqLabelStep(double xl) {
    for (const StepRow& row : kFreqSteps) {
        if (xl < row.bound) return row.step;
    }
    return kLargestFreqStep;
}

int SpectZoomFor(int nwords, double freqStep, float resultFreq) {
    if (resultFreq == 0) return 1;
    const double fmax = (nwords - 1) * freqStep;
    int zoom = 1;
    if (fmax / 4.4 > resultFreq) zoom = 4;
    if (fmax / 11 > resultFreq) zoom = 10;
    return zoom;
}

YAxisRange RampYAxis(float ymin, float ymax) {
    YAxisRange r;
    r.min = Gen::Int(ymin);
    r.max = Gen::Larger(Gen::Int(ymax) + 1, 0.0);
    if (std::fmod(r.max - r.min, 2.0) != 0) r.min -= 1;
    r.major = Gen::ToInt32((r.max - r.min) / 2);
    return r;
}

std::string UnitTimeText(double days) {
    return Gen::Str(Gen::Int(days / 0.01 + kCutTolerance) * 0.01);
}

}  // namespace sondix
