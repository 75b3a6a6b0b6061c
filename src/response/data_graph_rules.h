// The pure rules of the data graphs: where each word stands, which label step an axis gets,
// how far the repeating spectrum zooms in and how a ramp's y range is rounded.
#pragma once

#include <string>

#include "response/graph_model.h"

namespace sondix {

// The layout of one kind of data graph answer.
struct GraphWordFormat {
    int width;      // characters per word
    bool spectrum;  // x in Hz (spectra) rather than ms
};

// 'D', 'y': 4-character words; 'F', '[': 3-character words.
GraphWordFormat WordFormatOf(char key);

// 1-based position of word i (1-based) in the data text: 16 words to a line, each line closed
// by CR LF.
long long WordPosition(long long i, int width);

// The x distance between two labels: time axes in ms, spectra in Hz.
float TimeLabelStep(double xl);
float FreqLabelStep(double xl);

// How many times the repeating spectrum zooms in, so that the measured frequency stays well
// within the shown part (1, 4 or 10).
int SpectZoomFor(int nwords, double freqStep, float resultFreq);

// The ramp's y range: whole numbers around the values, an even span, two major divisions.
YAxisRange RampYAxis(float ymin, float ymax);

// The running time as the title shows it: cut down to hundredths of a day, Str form.
std::string UnitTimeText(double days);

}  // namespace sondix
