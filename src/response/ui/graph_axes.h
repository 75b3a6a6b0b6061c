// The chart's axis settings in the units of the plotting component. The sensor's chart counts
// its x labels in points ("divisions"); the plot here has a value axis in ms or Hz, so a label
// every d points becomes a tick every d x steps, and the ticks between labels become minor ticks.
#pragma once

#include <vector>

#include "response/graph_model.h"

namespace sondix {

struct XAxisTicks {
    double min = 0;
    double max = 1;
    bool dynamic = false;  // labelled ticks every `interval` from `anchor`; else `fixedCount`
    double interval = 0;
    double anchor = 0;
    int fixedCount = 5;
    int minorCount = 0;  // unlabelled ticks between two labelled ones
    bool operator==(const XAxisTicks&) const = default;
};

struct YAxisTicks {
    double min = 0;
    double max = 1;
    int tickCount = 2;
    bool nice = false;     // let the axis round the range to nice numbers
    bool dynamic = false;  // labelled ticks every `interval` from `anchor` (thinned labels)
    double interval = 0;
    double anchor = 0;
    int minorCount = 0;
    bool operator==(const YAxisTicks&) const = default;
};

// More labels than this would crowd the axis and slow the drawing: such settings (a tiny step
// or points of no spacing) fall back to a fixed count.
inline constexpr int kMaxXLabels = 100;
inline constexpr int kMaxMinorTicks = 9;
inline constexpr int kMaxYTicks = 101;
// The labels show the whole part of the x value, as the sensor's chart labelled its rows. The
// ticks start a millionth of a step after 0 so that a tick that should fall on 70 but lands on
// 69.9999 in binary (steps such as 0.7 ms) still reads 70.
inline constexpr double kTickAnchorFraction = 1e-6;

XAxisTicks XAxisTicksFor(const GraphModel& g);
YAxisTicks YAxisTicksFor(const GraphModel& g);

// The chart gives every label an equal share of the axis length, less this padding on either
// side, and cuts a longer (or, on the y axis, taller) label down to "...".
inline constexpr double kAxisLabelPaddingPx = 4;

// How many of the rule's label steps one shown label spans so that the largest label
// (`labelPx`: its width on the x axis, with the room it should keep from its neighbours; its
// height on the y axis) fits its share of an axis `axisPx` long: the smallest of 1, 2, 5, 10,
// 20, 50, ... that fits, 1 when the axis is not laid out yet or the ticks are not spaced by the
// rule (an automatic y scale finds its own few labels).
int LabelStride(const XAxisTicks& t, double axisPx, double labelPx);
int LabelStride(const YAxisTicks& t, double axisPx, double labelPx);

// The ticks with a label every `stride` steps; the steps in between stay as unlabelled ticks
// (as many as the minor tick count allows). The y labels keep 0 among them when it is one of
// the scale's divisions.
XAxisTicks WithLabelStride(const XAxisTicks& t, int stride);
YAxisTicks WithLabelStride(const YAxisTicks& t, int stride);

}  // namespace sondix
