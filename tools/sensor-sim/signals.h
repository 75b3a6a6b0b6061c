// The radar signal behind the data graphs, as the words the sensor prints: the time series in
// A/D counts, the spectrum amplitudes, the sweep ramp.
#pragma once

#include <vector>

#include "answer_context.h"
#include "rng.h"

namespace sondix::sim {

inline constexpr double kVoltsPerCount = 3.68 / 1024;  // A/D full scale over its counts
inline constexpr int kMidScale = 512;

// Hertz between two spectrum points when the answer carries `words` of them.
double SpectrumStep(const Params& p, int words);

// `n` samples 0..1023: the beat sinusoid around mid-scale, a slow bow from the sweep, noise.
std::vector<int> TimeSeriesWords(const AnswerContext& c, int n, Rng& rng);

// `n` amplitudes 0..999: noise floor, the leak of the sweep at the lowest points, the echo peak
// at the beat frequency (missing when the echo is lost) and a weak second reflection.
std::vector<int> SpectrumWords(const AnswerContext& c, int n, Rng& rng);

// The spectrum point nearest to the beat frequency.
int PeakIndex(const AnswerContext& c, int n);

// `n` ramp values: minus the sweep voltage in hundredths of a volt (the host plots -0.01 per
// count), through the Vramp0..Vramp4 breakpoints, rising or falling with the direction.
std::vector<int> RampWords(const AnswerContext& c, int n, Rng& rng);

}  // namespace sondix::sim
