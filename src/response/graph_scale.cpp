// The chart's x-axis label spacing and titles. The chart's x axis is a category axis (one
// category per point), so a label step in ms or Hz has to become a count of points.
#include "response/graph_scale.h"

#include "common/gen_format.h"
#include "common/gen_math.h"
#include "common/gen_number.h"

namespace sondix {
namespace {

// Points per label step, rounded up from the half: the chart wants whole categories.
double PointsPerLabel(std::int16_t n, double xmax, double step) {
    return n / (xmax / step) + 0.5;
}

// Dense time series get fewer ticks per label so the axis stays readable.
int TicksPerLabel(std::int16_t n) {
    if (n < 800) return 5;
    if (n < 2100) return 2;
    return 1;
}

void SetDivisions(GraphModel& g, double d, double ticksPerLabel) {
    g.divisionsPerLabel = Gen::ToInt32(d);
    g.divisionsPerTick = Gen::ToInt32(d / ticksPerLabel);
}

}  // namespace

void RectifyScaleX(GraphModel& g, std::int16_t n, float xmax, float step) {
    g.title = "Time Series";
    g.caption = "Radar Signal Time Series";
    g.chartKind = 1;
    const double x = Gen::Larger(xmax, 1.0f);
    const double st = Gen::Larger(step, 1.0f);
    g.footnote = g.timeFootnoteBase + "  Npoints=" + Gen::Str(n);
    g.xAxisTitle = "ms";
    g.xLabelFontSize = 10;
    SetDivisions(g, PointsPerLabel(n, x, st), TicksPerLabel(n));
}

void RectifyScaleX_Freq(GraphModel& g, std::int16_t n, float xmax, float step) {
    g.title = "Spectrum";
    g.caption = "Radar Signal Power Spectrum";
    g.chartKind = 0;
    g.footnote = g.spectFootnoteBase + "  Npoints=" + Gen::Str(n);
    g.xAxisTitle = "Hz";
    g.xLabelFontSize = 7;
    // The y axis keeps its fixed volts (-0.5 to 4.0 in 9 divisions): a running spectrum stream
    // must not rescale with every spectrum.
    SetDivisions(g, PointsPerLabel(n, xmax, step), 2);
}

}  // namespace sondix
