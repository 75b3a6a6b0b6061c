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

// 1, 2, 5, 10, 20, 50, ...
int NextStride(int stride) {
    int decade = 1;
    while (stride >= decade * 10)
        decade *= 10;
    const int lead = stride / decade;
    return lead == 1 ? 2 * decade : (lead == 2 ? 5 * decade : 10 * decade);
}

// Labels every `interval` over `span`, the first at the start of the axis.
int StrideFor(double span, double interval, double axisPx, double labelPx) {
    if (!(interval > 0) || !(span > 0) || !(axisPx > 0) || !(labelPx > 0)) return 1;
    if (!std::isfinite(span / interval) || !std::isfinite(axisPx) || !std::isfinite(labelPx)) {
        return 1;
    }
    int stride = 1;
    while (stride < kMaxStride) {
        const double count = std::floor(span / (interval * stride)) + 1;
        if (axisPx / count - 2 * kAxisLabelPaddingPx >= labelPx) return stride;
        stride = NextStride(stride);
    }
    return kMaxStride;
}

}  // namespace

int LabelStride(const XAxisTicks& t, double axisPx, double labelPx) {
    if (!t.dynamic) return 1;
    return StrideFor(t.max - t.min, t.interval, axisPx, labelPx);
}

int LabelStride(const YAxisTicks& t, double axisPx, double labelPx) {
    if (t.nice || t.dynamic || t.tickCount < 3) return 1;
    return StrideFor(t.max - t.min, (t.max - t.min) / (t.tickCount - 1), axisPx, labelPx);
}

XAxisTicks WithLabelStride(const XAxisTicks& t, int stride) {
    if (!t.dynamic || stride <= 1) return t;
    XAxisTicks out = t;
    out.interval = t.interval * stride;
    out.anchor = out.interval * kTickAnchorFraction;
    out.minorCount = std::min(stride * (t.minorCount + 1) - 1, kMaxMinorTicks);
    return out;
}

YAxisTicks WithLabelStride(const YAxisTicks& t, int stride) {
    if (t.nice || t.dynamic || t.tickCount < 3 || stride <= 1) return t;
    const double division = (t.max - t.min) / (t.tickCount - 1);
    YAxisTicks out = t;
    out.dynamic = true;
    out.interval = division * stride;
    out.minorCount = std::min(stride - 1, kMaxMinorTicks);
    // 0 is labelled when it lies on a division (the zero line of the chart); else the bottom.
    const double zeroSteps = -t.min / division;
    const bool zeroOnDivision =
        t.min <= 0 && t.max >= 0 && std::abs(zeroSteps - std::round(zeroSteps)) < 1e-6;
    out.anchor = zeroOnDivision ? 0.0 : t.min;
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
