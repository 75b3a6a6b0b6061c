#include "response/ui/graph_trace.h"

#include <QPainter>
#include <QtCharts/QChart>
#include <QtCharts/QValueAxis>

namespace {
// Above the chart's own series (the zero line), below its legend.
constexpr qreal kTraceZ = 4.5;
}  // namespace

GraphTrace::GraphTrace(QChart* chart, const QValueAxis* x, const QValueAxis* y, const QPen& pen)
    : QGraphicsItem(chart), chart_(chart), x_(x), y_(y), pen_(pen) {
    setZValue(kTraceZ);
    setFlag(ItemClipsToShape, false);
    bounds_ = chart_->plotArea();
}

void GraphTrace::setPoints(const QPolygonF& points) {
    points_ = points;
    plotChanged();
}

void GraphTrace::plotChanged() {
    const QRectF plot = chart_->plotArea();
    if (plot != bounds_) {
        prepareGeometryChange();
        bounds_ = plot;
    }
    update();
}

QRectF GraphTrace::boundingRect() const {
    return bounds_;
}

void GraphTrace::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const QRectF plot = chart_->plotArea();
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
    painter->save();
    painter->setClipRect(plot);
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(pen_);
    painter->drawPolyline(mapped_);
    painter->restore();
}
