// The plot area of a chart whose data lines change often (a repeating spectrum many times a
// second). Qt Charts draws its grid as one graphics item per line and its labels as text
// items, and a repaint of the plot area repainted every one of them under the line: most of
// a spectrum's drawing time. The overlay is an opaque widget over the plot area that keeps a
// picture of the chart there (background, grid, zero line), taken from the chart's own
// drawing whenever something in the plot area changes, and draws its traces over it; a new
// spectrum repaints only the picture and the traces.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <memory>
#include <vector>

#include "response/ui/graph_trace.h"

class QChart;
class QChartView;

class PlotOverlay : public QWidget {
  public:
    // Over `view`'s viewport; draws `chart`'s plot area.
    PlotOverlay(QChartView* view, QChart* chart);
    ~PlotOverlay() override;

    // A trace drawn above the chart, in the order added; owned by the overlay.
    GraphTrace* addTrace(const QValueAxis* x, const QValueAxis* y, const QPen& pen);
    // Follows the chart's plot area (after a layout) and repaints.
    void followPlot();
    // The plot area in the overlay's coordinates.
    QRectF plotRect() const { return plot_; }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    void SceneChanged(const QList<QRectF>& rects);
    void TakeBackdrop();

    QChartView* view_;
    QChart* chart_;
    std::vector<std::unique_ptr<GraphTrace>> traces_;
    QPixmap backdrop_;
    QRectF plot_;
    bool stale_ = true;
};
