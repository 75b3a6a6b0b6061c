// A chart's data line, drawn as one polyline inside the plot area. A QLineSeries works out
// the outline of its whole line (for hovering and selection, with a join angle per point) on
// every change of its points or of an axis; for 2048 points that took more than the rest of a
// transfer's drawing, and these charts never hover. The trace maps the points through the
// axes' ranges when its PlotOverlay paints it.
#pragma once

#include <QLineF>
#include <QList>
#include <QPen>
#include <QPolygonF>

class PlotOverlay;
class QPainter;
class QValueAxis;

class GraphTrace {
  public:
    GraphTrace(PlotOverlay* overlay, const QValueAxis* x, const QValueAxis* y, const QPen& pen);

    // The points in axis units; schedules a repaint.
    void setPoints(const QPolygonF& points);
    const QPolygonF& points() const { return points_; }
    qsizetype count() const { return points_.size(); }
    // The plot area or the ranges changed.
    void plotChanged();

    // Draws the line into `plot` (the plot area in the painter's coordinates), clipped to it.
    void paint(QPainter& painter, const QRectF& plot);

  private:
    PlotOverlay* overlay_;
    const QValueAxis* x_;
    const QValueAxis* y_;
    QPen pen_;
    QPolygonF points_;
    QPolygonF mapped_;  // kept between paints: no allocation per spectrum
    QList<QLineF> segments_;
};
