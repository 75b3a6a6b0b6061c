#include "response/ui/plot_overlay.h"

#include <QGraphicsScene>
#include <QPainter>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>

namespace {
// A grid line's changed area may be a line of no width: a pixel of slack on each side.
constexpr qreal kSlackPx = 1;
}  // namespace

PlotOverlay::PlotOverlay(QChartView* view, QChart* chart)
    : QWidget(view->viewport()), view_(view), chart_(chart) {
    setObjectName(QStringLiteral("plotOverlay"));
    // Opaque: the view does not paint the chart under it again for each new trace.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Any change the chart makes to its own drawing inside the plot area (axes, grid, zero
    // line, a new layout) takes a new picture.
    connect(view_->scene(), &QGraphicsScene::changed, this, &PlotOverlay::SceneChanged);
    followPlot();
}

PlotOverlay::~PlotOverlay() = default;

GraphTrace* PlotOverlay::addTrace(const QValueAxis* x, const QValueAxis* y, const QPen& pen) {
    traces_.push_back(std::make_unique<GraphTrace>(this, x, y, pen));
    update();
    return traces_.back().get();
}

void PlotOverlay::followPlot() {
    const QRectF plot =
        view_->viewportTransform().mapRect(chart_->mapRectToScene(chart_->plotArea()));
    const QRect area = plot.toAlignedRect() & view_->viewport()->rect();
    if (area != geometry()) {
        setGeometry(area);
        stale_ = true;
    }
    plot_ = plot.translated(-area.topLeft());
    setVisible(!area.isEmpty());
    update();
}

void PlotOverlay::SceneChanged(const QList<QRectF>& rects) {
    const QRectF mine = view_->mapToScene(geometry()).boundingRect();
    for (const QRectF& r : rects) {
        if (r.adjusted(-kSlackPx, -kSlackPx, kSlackPx, kSlackPx).intersects(mine)) {
            stale_ = true;
            update();
            return;
        }
    }
}

void PlotOverlay::TakeBackdrop() {
    const qreal ratio = devicePixelRatioF();
    backdrop_ = QPixmap((QSizeF(size()) * ratio).toSize());
    backdrop_.setDevicePixelRatio(ratio);
    QPainter p(&backdrop_);
    p.setRenderHints(view_->renderHints());
    view_->render(&p, QRectF(QPointF(0, 0), QSizeF(size())), geometry(), Qt::IgnoreAspectRatio);
    stale_ = false;
}

void PlotOverlay::paintEvent(QPaintEvent*) {
    if (stale_ || backdrop_.deviceIndependentSize() != QSizeF(size())) TakeBackdrop();
    QPainter p(this);
    p.drawPixmap(0, 0, backdrop_);
    for (const auto& trace : traces_)
        trace->paint(p, plot_);
}
