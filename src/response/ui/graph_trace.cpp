#include "response/ui/graph_trace.h"

#include <QPainter>
#include <QtCharts/QValueAxis>

#include "response/ui/plot_overlay.h"

GraphTrace::GraphTrace(PlotOverlay* overlay, const QValueAxis* x, const QValueAxis* y,
                       const QPen& pen)
    : overlay_(overlay), x_(x), y_(y), pen_(pen) {}

void GraphTrace::setPoints(const QPolygonF& points) {
    points_ = points;
    overlay_->update();
}

void GraphTrace::plotChanged() {
    overlay_->followPlot();
}

void GraphTrace::paint(QPainter& painter, const QRectF& plot) {
    const double xSpan = x_->max() - x_->min();
    const double ySpan = y_->max() - y_->min();
    if (points_.size() < 2 || plot.isEmpty() || !(xSpan > 0) || !(ySpan > 0)) return;
    const double sx = plot.width() / xSpan;
    const double sy = plot.height() / ySpan;
    mapped_.resize(points_.size());
    for (qsizetype i = 0; i < points_.size(); ++i) {
        const QPointF& p = points_[i];
        mapped_[i] = QPointF(plot.left() + (p.x() - x_->min()) * sx,
                             plot.bottom() - (p.y() - y_->min()) * sy);
    }
    painter.save();
    painter.setClipRect(plot);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen_);
    if (pen_.widthF() <= 1) {
        painter.drawPolyline(mapped_);
    } else {
        // A wide pen strokes a polyline with a join worked out at every point (an arc tangent
        // each): 4096 points of the history took 10 ms. As separate segments, each is filled
        // directly, and the square caps close the corners.
        segments_.resize(mapped_.size() - 1);
        for (qsizetype i = 1; i < mapped_.size(); ++i)
            segments_[i - 1] = QLineF(mapped_[i - 1], mapped_[i]);
        painter.drawLines(segments_);
    }
    painter.restore();
}
