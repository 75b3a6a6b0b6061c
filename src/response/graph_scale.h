// The chart's x-axis label spacing and titles for time series and spectra.
#pragma once

#include <cstdint>

#include "response/graph_model.h"

namespace sondix {

void RectifyScaleX(GraphModel& g, std::int16_t n, float xmax, float step);
void RectifyScaleX_Freq(GraphModel& g, std::int16_t n, float xmax, float step);

}  // namespace sondix
