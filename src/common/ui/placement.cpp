#include "common/ui/placement.h"

#include <algorithm>

namespace sondix {

QPoint MainWindowStart(const QRect& available, const QSize& outer) {
    const int left = available.right() + 1 - outer.width();
    const int top =
        std::min(available.top() + outer.height(), available.bottom() + 1 - outer.height());
    return {std::max(available.left(), left), std::max(available.top(), top)};
}

std::optional<QPoint> BesideWindow(const QRect& available, const QRect& anchor,
                                   const QSize& outer) {
    const int top = std::clamp(anchor.top(), available.top(),
                               std::max(available.top(), available.bottom() + 1 - outer.height()));
    if (anchor.left() - outer.width() >= available.left()) {
        return QPoint(anchor.left() - outer.width(), top);
    }
    if (anchor.right() + 1 + outer.width() <= available.right() + 1) {
        return QPoint(anchor.right() + 1, top);
    }
    return std::nullopt;
}

}  // namespace sondix
