#include "response/ui/graph_layout.h"

#include <algorithm>

namespace sondix {

std::optional<GraphLayout> GraphLayoutFor(QSize inner, int stripPx, int footnoteHeight,
                                          QSize button, int gapPx) {
    if (inner.height() <= stripPx) return std::nullopt;
    const int w = inner.width();
    const int areaH = inner.height() - stripPx;
    const int noteH = std::clamp(footnoteHeight, 0, areaH / 2);
    GraphLayout l;
    l.chart = QRect(0, 0, w, areaH - noteH);
    l.footnote = QRect(0, areaH - noteH, w, noteH);
    l.button = QRect(QPoint(0, areaH), button);
    const int statusLeft = button.width() + gapPx;
    l.status = QRect(statusLeft, areaH, std::max(0, w - statusLeft - gapPx), button.height());
    return l;
}

}  // namespace sondix
