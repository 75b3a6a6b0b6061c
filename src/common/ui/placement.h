// Where the windows appear on the screen. Positions are those of the outer frame, in pixels,
// inside the screen's available area (the desktop less its panels).
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace sondix {

// The main window: flush with the right edge of the screen, one window height down, and kept
// on the screen when the screen is too small for that.
QPoint MainWindowStart(const QRect& available, const QSize& outer);

// A window of outer size `outer` next to `anchor`, top edges level: to its left when there is
// room, else to its right; nullopt when neither fits (the window system places it then).
std::optional<QPoint> BesideWindow(const QRect& available, const QRect& anchor, const QSize& outer);

}  // namespace sondix
