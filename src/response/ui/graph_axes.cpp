#include "response/ui/graph_axes.h"

#include <algorithm>
#include <cmath>

namespace sondix {

namespace {

double LastX(const GraphModel& g) {
    double last = 0;
    for (const GraphPoint& p : g.points) {
        if (std::isfinite(p.x)) last = std::max(last, static_cast<double>(p.x));
    }
    return last;
}

// Minor ticks between two labels: the label spacing over the tick spacing, less the label.
int MinorTicks(int perLabel, int perTick) {
    if (perLabel <= 0 || perTick <= 0) return 0;
    const double ratio = std::round(static_cast<double>(perLabel) / perTick);
    return static_cast<int>(std::clamp(ratio - 1.0, 0.0, static_cast<double>(kMaxMinorTicks)));
}

}  // namespace

XAxisTicks XAxisTicksFor(const GraphModel& g) {
    XAxisTicks t;
    const double last = LastX(g);
    t.max = last > 0 ? last : 1.0;
    const double interval = static_cast<double>(g.divisionsPerLabel) * g.XAxisScaleFact;
    if (!(interval > 0) || !std::isfinite(interval) || (t.max - t.min) / interval > kMaxXLabels) {
        return t;
    }
    t.dynamic = true;
    t.interval = interval;
    t.anchor = interval * kTickAnchorFraction;
    t.minorCount = MinorTicks(g.divisionsPerLabel, g.divisionsPerTick);
    return t;
}

namespace {

// Beyond this the axis shows its first label alone.
constexpr int kMaxStride = 100;

int LabelCount(const XAxisTicks& t, double interval) {
    return static_cast<int>(std::floor((t.max - t.min) / interval)) + 1;
}

// 1, 2, 5, 10, 20, 50, ...
int NextStride(int stride) {
    int decade = 1;
    while (stride >= decade * 10)
        decade *= 10;
    const int lead = stride / decade;
    return lead == 1 ? 2 * decade : (lead == 2 ? 5 * decade : 10 * decade);
}

}  // namespace

int LabelStride(const XAxisTicks& t, double axisPx, double labelPx) {
    if (!t.dynamic || !(t.interval > 0) || !(axisPx > 0) || !(labelPx > 0)) return 1;
    if (!std::isfinite(axisPx) || !std::isfinite(labelPx)) return 1;
    int stride = 1;
    while (stride < kMaxStride) {
        const double share = axisPx / LabelCount(t, t.interval * stride) - 2 * kAxisLabelPaddingPx;
        if (share >= labelPx) return stride;
        stride = NextStride(stride);
    }
    return kMaxStride;
}

XAxisTicks WithLabelStride(const XAxisTicks& t, int stride) {
    if (!t.dynamic || stride <= 1) return t;
    XAxisTicks out = t;
    out.interval = t.interval * stride;
    out.anchor = out.interval * kTickAnchorFraction;
    out.minorCount = std::min(stride * (t.minorCount + 1) - 1, kMaxMinorTicks);
    return out;
}

YAxisTicks YAxisTicksFor(const GraphModel& g) {
    YAxisTicks t;
    if (!g.yAxisAuto) {
        t.min = g.yAxis.min;
        t.max = g.yAxis.max > g.yAxis.min ? g.yAxis.max : g.yAxis.min + 1.0;
        t.tickCount = std::clamp(g.yAxis.major + 1, 2, kMaxYTicks);
        return t;
    }
    double lo = INFINITY, hi = -INFINITY;
    for (const GraphPoint& p : g.points) {
        if (!std::isfinite(p.y)) continue;
        lo = std::min(lo, static_cast<double>(p.y));
        hi = std::max(hi, static_cast<double>(p.y));
    }
    if (lo > hi) lo = hi = 0;  // no (finite) points
    if (lo == hi) {
        lo -= 0.5;
        hi += 0.5;
    }
    t.min = lo;
    t.max = hi;
    t.tickCount = 5;
    t.nice = true;
    return t;
}

}  // namespace sondix
