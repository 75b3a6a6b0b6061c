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
    painter.drawPolyline(mapped_);
    painter.restore();
}
