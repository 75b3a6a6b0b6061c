#include "response/ui/frmGraph.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>

#include "common/ui/twips.h"
#include "export/graph_workbook.h"
#include "response/ui/chart_title.h"
#include "response/ui/chart_window.h"
#include "response/ui/graph_axes.h"
#include "response/ui/graph_layout.h"
#include "response/ui/graph_trace.h"
#include "response/ui/plot_overlay.h"
#include "terminal/main_window.h"
#include "terminal/session.h"
#include "terminal/ui/qt_platform.h"

namespace {

using sondix::FromLatin1;

// The window's design size and the copy button's, in twips. The design size leaves the main
// window, which starts about one window height down the screen, uncovered even on a screen of
// 1024 lines with title bars; 2048 points get 900 pixels at the usual resolution. Below the
// least size the chart's texts would crowd out the plot.
constexpr double kDesignWidthTwips = 13500;
constexpr double kDesignHeightTwips = 6750;
constexpr double kLeastWidthTwips = 7200;
constexpr double kLeastHeightTwips = 6000;
constexpr double kButtonWidthTwips = 1200;
constexpr double kButtonHeightTwips = 420;
constexpr double kGapTwips = 120;
constexpr int kTitleSlackPx = 16;  // the title item's own padding
// Before the chart has laid out its plot area: the width and the height that the axes, the
// title and the margins take from it.
constexpr int kPlotInsetPx = 100;
constexpr int kPlotInsetYPx = 120;
constexpr int kFootnoteMarginPx = 4;
// A label's box is a little larger than its text.
constexpr double kLabelMarginPx = 2;

const QColor kDataPen(0, 0, 127);
const QColor kZeroPen(0, 127, 127);
const QColor kFrame(0, 0, 140);
const QColor kFill(240, 240, 255);
const QColor kCopying(255, 127, 127);
const QColor kMajorGrid(176, 176, 200);
const QColor kMinorGrid(220, 220, 236);

QFont Arial(int pointSize) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(std::max(1, pointSize));
    return f;
}

// The zero line is drawn by the chart (into the plot overlay's picture), never through the
// graphics card: a GL layer would sit under the overlay.
QLineSeries* NewSeries(const QColor& colour) {
    auto* s = new QLineSeries;
    QPen pen(colour);
    pen.setWidth(1);
    pen.setStyle(Qt::SolidLine);
    s->setPen(pen);
    s->setPointsVisible(false);
    return s;
}

}  // namespace

frmGraph::frmGraph(sondix::Session& s, QWidget* parent) : QWidget(parent, Qt::Window), s_(s) {
    setObjectName(QStringLiteral("frmGraph"));
    chartEchoProf = new QChartView(this);
    chartEchoProf->setObjectName(QStringLiteral("chartEchoProf"));
    lblFootnote = new QLabel(this);
    lblFootnote->setObjectName(QStringLiteral("lblFootnote"));
    cmdDumpChart = new QPushButton(QStringLiteral("Excel"), this);
    cmdDumpChart->setObjectName(QStringLiteral("cmdDumpChart"));
    cmdDumpChart->setToolTip(QStringLiteral("Copy the charted points into a new workbook"));
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);

    open_ = [](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    folder_ = &frmGraph::DefaultDumpFolder;

    SetupChart();
    cmdDumpChart->resize(sondix::TwipsToPixelsX(*this, kButtonWidthTwips),
                         sondix::TwipsToPixelsY(*this, kButtonHeightTwips));
    connect(cmdDumpChart, &QPushButton::clicked, this, &frmGraph::cmdDumpChart_Click);

    sondix::PlaceChartWindow(*this, kDesignWidthTwips, kDesignHeightTwips, kLeastWidthTwips,
                             kLeastHeightTwips);
    LayoutControls();
    Render();
}

void frmGraph::SetupChart() {
    chart_ = new QChart;
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->legend()->hide();
    chart_->setBackgroundRoundness(0);
    chart_->setBackgroundBrush(kFill);
    QPen frame(kFrame);
    frame.setWidth(2);
    chart_->setBackgroundPen(frame);
    chart_->setTitleFont(Arial(12));

    zero_ = NewSeries(kZeroPen);
    chart_->addSeries(zero_);

    axisX_ = new QValueAxis;
    axisX_->setTitleFont(Arial(10));
    axisX_->setLabelFormat(QStringLiteral("%d"));  // the axis truncates: the whole part
    axisX_->setGridLinePen(QPen(kMajorGrid, 1, Qt::SolidLine));
    axisX_->setMinorGridLinePen(QPen(kMinorGrid, 1, Qt::SolidLine));
    axisY_ = new QValueAxis;
    axisY_->setTitleFont(Arial(14));
    axisY_->setLabelsFont(Arial(8));
    axisY_->setGridLinePen(QPen(kMajorGrid, 1, Qt::SolidLine));
    axisY_->setMinorGridLinePen(QPen(kMinorGrid, 1, Qt::SolidLine));
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    zero_->attachAxis(axisX_);
    zero_->attachAxis(axisY_);

    // The label spacing depends on the plot's width, which the chart settles in its own layout.
    connect(chart_, &QChart::plotAreaChanged, this, &frmGraph::RenderAxesForPlot,
            Qt::QueuedConnection);

    // The view comes with an empty chart of its own, which setChart lets go of without
    // deleting it: one chart lost for every window opened.
    QChart* const empty = chartEchoProf->chart();
    chartEchoProf->setChart(chart_);
    delete empty;
    chartEchoProf->setRenderHint(QPainter::Antialiasing, false);
    chartEchoProf->setBackgroundBrush(kFill);
    chartEchoProf->setFrameShape(QFrame::NoFrame);
    QPen dataPen(kDataPen);
    dataPen.setWidth(1);
    overlay_ = new PlotOverlay(chartEchoProf, chart_);
    data_ = overlay_->addTrace(axisX_, axisY_, dataPen);

    lblFootnote->setTextFormat(Qt::PlainText);
    lblFootnote->setWordWrap(true);
    lblFootnote->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblFootnote->setFont(Arial(12));
    lblFootnote->setMargin(kFootnoteMarginPx);  // a full line does not touch the window's edges
    lblFootnote->setAutoFillBackground(true);
    QPalette notePalette = lblFootnote->palette();
    notePalette.setColor(QPalette::Window, kFill);
    lblFootnote->setPalette(notePalette);
}

void frmGraph::Render() {
    xTicks_ = sondix::XAxisTicksFor(s_.graph);
    yTicks_ = sondix::YAxisTicksFor(s_.graph);
    RenderTexts();
    RenderSeries();
    RenderXAxis();
    RenderYAxis();
    data_->plotChanged();
}

void frmGraph::RenderTexts() {
    const sondix::GraphModel& g = s_.graph;
    const QString caption = FromLatin1(g.caption);
    if (windowTitle() != caption) setWindowTitle(caption);
    UpdateTitle();
    const QString footnote = sondix::KeepValuesWithLabels(FromLatin1(g.footnote));
    if (lblFootnote->text() != footnote) {
        lblFootnote->setText(footnote);
        LayoutControls();  // the footnote may wrap onto another line
    }
    axisX_->setTitleText(FromLatin1(g.xAxisTitle));
    axisY_->setTitleText(FromLatin1(g.yAxisTitle));
    axisX_->setLabelsFont(Arial(g.xLabelFontSize));
}

void frmGraph::UpdateTitle() {
    const QMargins m = chart_->margins();
    const int width = chartEchoProf->width() - m.left() - m.right() - kTitleSlackPx;
    // A repeating spectrum mostly keeps its title: wrap only a new one.
    if (s_.graph.title == titleShown_ && width == titleWidth_) return;
    titleShown_ = s_.graph.title;
    titleWidth_ = width;
    const QStringList lines =
        sondix::WrapWords(sondix::KeepValuesWithLabels(FromLatin1(s_.graph.title)),
                          QFontMetrics(chart_->titleFont()), width);
    const QString title = sondix::ChartTitleHtml(lines);
    if (chart_->title() != title) chart_->setTitle(title);
}

void frmGraph::RenderSeries() {
    const auto& points = s_.graph.points;
    buffer_.resize(static_cast<qsizetype>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) {
        buffer_[static_cast<qsizetype>(i)] = QPointF(points[i].x, points[i].y);
    }
    data_->setPoints(buffer_);
    // Each change of the chart's own drawing in the plot area retakes the overlay's picture.
    const QList<QPointF> zero{{xTicks_.min, 0.0}, {xTicks_.max, 0.0}};
    if (zero_->points() != zero) zero_->replace(zero);
}

void frmGraph::RenderXAxis() {
    // The rule's label spacing assumes the sensor's chart and its narrow font; where those
    // labels would not fit, every second (fifth, ...) one is shown and the rest stay ticks.
    // The axis is as wide as the plot; before the chart has been laid out to the view's width,
    // the view's width less the room that the axes took last time (or a typical room).
    const QRectF plot = chart_->plotArea();
    const double inset = plot.width() > 0 ? chart_->size().width() - plot.width() : kPlotInsetPx;
    const double axisPx = chartEchoProf->width() - inset;
    const QFontMetricsF fm(axisX_->labelsFont());
    const QString widest = QString::number(static_cast<long long>(std::min(xTicks_.max, 1e15)));
    const double labelPx = fm.horizontalAdvance(widest) + fm.horizontalAdvance(QLatin1Char('0'));
    const int stride = sondix::LabelStride(xTicks_, axisPx, labelPx);
    const sondix::XAxisTicks t = sondix::WithLabelStride(xTicks_, stride);
    // The same ticks again (a repeating spectrum) leave the chart's layout as it is.
    if (xShown_ && *xShown_ == t) return;
    xShown_ = t;
    axisX_->setRange(t.min, t.max);
    if (t.dynamic) {
        axisX_->setTickInterval(t.interval);
        axisX_->setTickAnchor(t.anchor);
        axisX_->setTickType(QValueAxis::TicksDynamic);
    } else {
        axisX_->setTickType(QValueAxis::TicksFixed);
        axisX_->setTickCount(t.fixedCount);
    }
    axisX_->setMinorTickCount(t.minorCount);
    axisX_->setMinorGridLineVisible(t.minorCount > 0);
}

void frmGraph::RenderYAxis() {
    // A fixed scale with more divisions than the plot's height has room for labels every
    // second (fifth, ...) division; the automatic scale picks few labels itself.
    const QRectF plot = chart_->plotArea();
    const double inset =
        plot.height() > 0 ? chart_->size().height() - plot.height() : kPlotInsetYPx;
    const double axisPx = chartEchoProf->height() - inset;
    const double labelPx = QFontMetricsF(axisY_->labelsFont()).height() + kLabelMarginPx;
    const int stride = sondix::LabelStride(yTicks_, axisPx, labelPx);
    const sondix::YAxisTicks t = sondix::WithLabelStride(yTicks_, stride);
    if (yShown_ && *yShown_ == t) return;
    yShown_ = t;
    if (t.dynamic) {
        axisY_->setRange(t.min, t.max);
        axisY_->setTickInterval(t.interval);
        axisY_->setTickAnchor(t.anchor);
        axisY_->setTickType(QValueAxis::TicksDynamic);
    } else {
        // The nice scale is worked out on an axis of no chart: each range given to the chart's
        // own axis lays out all its labels again, and a repeating spectrum mostly keeps its
        // scale.
        QValueAxis scale;
        scale.setRange(t.min, t.max);
        scale.setTickCount(t.tickCount);
        if (t.nice) scale.applyNiceNumbers();
        axisY_->setTickType(QValueAxis::TicksFixed);
        axisY_->setRange(scale.min(), scale.max());
        axisY_->setTickCount(scale.tickCount());
    }
    axisY_->setMinorTickCount(t.minorCount);
    axisY_->setMinorGridLineVisible(t.minorCount > 0);
}

void frmGraph::RenderAxesForPlot() {
    RenderXAxis();
    if (!yTicks_.nice) RenderYAxis();  // a nice scale does not depend on the plot's size
    data_->plotChanged();
}

void frmGraph::LayoutControls() {
    const int strip = sondix::TwipsToPixelsY(*this, sondix::kGraphButtonStripTwips);
    const int gap = sondix::TwipsToPixelsX(*this, kGapTwips);
    const int noteH = lblFootnote->text().isEmpty() ? 0 : lblFootnote->heightForWidth(width());
    const auto layout = sondix::GraphLayoutFor(size(), strip, noteH, cmdDumpChart->size(), gap);
    if (!layout) return;
    chartEchoProf->setGeometry(layout->chart);
    lblFootnote->setGeometry(layout->footnote);
    cmdDumpChart->setGeometry(layout->button);
    lblStatus->setGeometry(layout->status);
    ShowStatus();
    UpdateTitle();  // the title wraps to the chart's new width
}

// A long folder name is shortened in its middle, so the file name stays in view.
void frmGraph::ShowStatus() {
    const QString shown = lblStatus->fontMetrics().elidedText(statusText_, Qt::ElideMiddle,
                                                              lblStatus->contentsRect().width());
    if (lblStatus->text() != shown) lblStatus->setText(shown);
}

void frmGraph::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    LayoutControls();
}

void frmGraph::closeFromCore() {
    closingFromCore_ = true;
    close();
    closingFromCore_ = false;
}

void frmGraph::closeEvent(QCloseEvent* e) {
    e->accept();
    if (closingFromCore_ || unloading_) return;
    // The user's close box: the core's unload clears the loaded flag, stops a running spectrum
    // stream and asks the host to close us (which lands in closeFromCore while we are here).
    unloading_ = true;
    sondix::UnloadGraphWindow(s_);
    unloading_ = false;
}

QString frmGraph::DefaultDumpFolder() {
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QFileInfo info(docs);
    if (!docs.isEmpty() && info.isDir() && info.isWritable()) return docs;
    return QDir::tempPath();
}

QString frmGraph::DumpPath(const Gen::DateTime& now) const {
    const std::string name = sondix::WorkbookFileName(now);
    return sondix::FreePath(folder_(), QString::fromStdString(name));
}

void frmGraph::cmdDumpChart_Click() {
    if (dumpBusy_) return;
    dumpBusy_ = true;
    const QPalette saved = cmdDumpChart->palette();
    QPalette busy = saved;
    busy.setColor(QPalette::Button, kCopying);
    cmdDumpChart->setPalette(busy);
    cmdDumpChart->repaint();  // the copy blocks: show the colour before it starts

    const Gen::DateTime now = sondix::NowOf(s_);
    const QString path = DumpPath(now);
    const std::string error = sondix::WriteGraphWorkbook(s_.graph, s_.GraphHeaderStr, now,
                                                         QFile::encodeName(path).toStdString());
    if (error.empty()) {
        const QString shown = QDir::toNativeSeparators(path);
        const bool opened = open_ && open_(path);
        statusText_ = QStringLiteral("Saved to ") + shown + (opened ? "" : " (not opened)");
        lblStatus->setToolTip(shown);
        ShowStatus();
    } else {
        statusText_.clear();
        ShowStatus();
        ReportDumpFailure(error);
    }
    cmdDumpChart->setPalette(saved);
    dumpBusy_ = false;
}

void frmGraph::ReportDumpFailure(const std::string& error) {
    // The error names the file in the file system's encoding; message texts are Latin-1.
    const std::string text =
        "Spreadsheet copy failed: " + sondix::ToLatin1(QString::fromLocal8Bit(error));
    if (s_.io.asker) {
        s_.io.asker->Ask("Graph error", text, sondix::MsgButtons::OK, sondix::MsgIcon::Exclamation);
        return;
    }
    QMessageBox::warning(this, QStringLiteral("Graph error"), FromLatin1(text));
}
