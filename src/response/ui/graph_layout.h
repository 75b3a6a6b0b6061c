// Where the chart window puts its controls for a given inner size. The chart takes the whole
// width and all but a strip of 800 twips at the bottom, which holds the copy button (with the
// status line beside it); the footnote sits at the foot of the chart area.
#pragma once

#include <QRect>
#include <QSize>
#include <optional>

namespace sondix {

inline constexpr double kGraphButtonStripTwips = 800;

struct GraphLayout {
    QRect chart;     // the chart view
    QRect footnote;  // under the chart view, inside the chart area
    QRect button;    // directly under the chart area
    QRect status;    // right of the button
};

// nullopt when the inner height is not above the strip: a window that small keeps its layout.
// `footnoteHeight` is the footnote's height at the inner width; it never takes more than half
// of the chart area.
std::optional<GraphLayout> GraphLayoutFor(QSize inner, int stripPx, int footnoteHeight,
                                          QSize button, int gapPx);

}  // namespace sondix
