// The chart's data line, drawn as one polyline inside the plot area. A QLineSeries works out
// the outline of its whole line (for hovering and selection, with a join angle per point) on
// every change of its points or of an axis; for 2048 points that took more than the rest of a
// transfer's drawing, and this chart never hovers. The trace maps the points through the
// axes' ranges when it paints.
#pragma once

#include <QGraphicsItem>
#include <QPen>
#include <QPolygonF>

class QChart;
class QValueAxis;

class GraphTrace : public QGraphicsItem {
  public:
    // A child of `chart`, drawn above its series; `x` and `y` give the ranges.
    GraphTrace(QChart* chart, const QValueAxis* x, const QValueAxis* y, const QPen& pen);

    // The points in axis units; schedules a repaint.
    void setPoints(const QPolygonF& points);
    const QPolygonF& points() const { return points_; }
    qsizetype count() const { return points_.size(); }
    // The plot area or the ranges changed.
    void plotChanged();

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

  private:
    QChart* chart_;
    const QValueAxis* x_;
    const QValueAxis* y_;
    QPen pen_;
    QPolygonF points_;
    QPolygonF mapped_;  // kept between paints: no allocation per spectrum
    QRectF bounds_;
};
