#include "history/ui/frmHist.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>

#include "common/ui/twips.h"
#include "export/hist_workbook.h"
#include "response/ui/chart_title.h"
#include "response/ui/chart_window.h"
#include "response/ui/frmGraph.h"
#include "response/ui/graph_axes.h"
#include "response/ui/graph_layout.h"
#include "response/ui/graph_trace.h"
#include "response/ui/plot_overlay.h"
#include "terminal/session.h"
#include "terminal/ui/qt_platform.h"

namespace {

using sondix::FromLatin1;

// The design size leaves room for 4096 points across and the legend beside the plot.
constexpr double kDesignWidthTwips = 13500;
constexpr double kDesignHeightTwips = 7500;
constexpr double kLeastWidthTwips = 7200;
constexpr double kLeastHeightTwips = 6000;
constexpr double kButtonWidthTwips = 1200;
constexpr double kButtonHeightTwips = 420;
constexpr double kGapTwips = 120;
constexpr int kTitleSlackPx = 16;
constexpr int kPenPx = 2;
constexpr int kFramePx = 2;
constexpr int kPlotInsetPx = 100;  // the axes' and legend's room before the first layout

const QColor kFrame(0, 0, 140);
const QColor kFill(255, 255, 255);
const QColor kCopying(255, 127, 127);
const QColor kMajorGrid(176, 176, 200);
const QColor kMinorGrid(225, 225, 235);

QFont Arial(int pointSize) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(pointSize);
    return f;
}

// The footnote's statistics line follows a LF and a CR: one line break.
QString FootnoteText(const std::string& footnote) {
    QString t = FromLatin1(footnote);
    t.remove(QLatin1Char('\r'));
    return sondix::KeepValuesWithLabels(t);
}

}  // namespace

frmHist::frmHist(sondix::Session& s, QWidget* parent) : QWidget(parent, Qt::Window), s_(s) {
    setObjectName(QStringLiteral("frmHist"));
    chartHist = new QChartView(this);
    chartHist->setObjectName(QStringLiteral("chartHist"));
    lblFootnote = new QLabel(this);
    lblFootnote->setObjectName(QStringLiteral("lblFootnote"));
    cmdDumpHist = new QPushButton(QStringLiteral("Excel"), this);
    cmdDumpHist->setObjectName(QStringLiteral("cmdDumpHist"));
    cmdDumpHist->setToolTip(QStringLiteral("Copy the history records into a new workbook"));
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    open_ = [](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    folder_ = &frmGraph::DefaultDumpFolder;

    SetupChart();
    cmdDumpHist->resize(sondix::TwipsToPixelsX(*this, kButtonWidthTwips),
                        sondix::TwipsToPixelsY(*this, kButtonHeightTwips));
    connect(cmdDumpHist, &QPushButton::clicked, this, &frmHist::cmdDumpHist_Click);

    sondix::PlaceChartWindow(*this, kDesignWidthTwips, kDesignHeightTwips, kLeastWidthTwips,
                             kLeastHeightTwips);
    LayoutControls();
    Render();
}

void frmHist::SetupChart() {
    chart_ = new QChart;
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->setBackgroundRoundness(0);
    chart_->setBackgroundBrush(kFill);
    chart_->setBackgroundPen(QPen(kFrame, kFramePx));
    chart_->setTitleFont(Arial(10));
    chart_->legend()->setAlignment(Qt::AlignRight);
    chart_->legend()->setFont(Arial(9));

    axisX_ = new QValueAxis;
    axisX_->setTitleFont(Arial(12));
    axisX_->setLabelsFont(Arial(10));
    axisX_->setLabelFormat(QStringLiteral("%d"));  // every row of the time axis has whole ticks
    axisX_->setGridLinePen(QPen(kMajorGrid, 1, Qt::SolidLine));
    axisY_ = new QValueAxis;
    axisY_->setTitleFont(Arial(10));
    axisY_->setLabelFormat(QStringLiteral("%g"));
    axisY_->setGridLinePen(QPen(kMajorGrid, 1, Qt::SolidLine));
    axisY_->setMinorGridLinePen(QPen(kMinorGrid, 1, Qt::SolidLine));
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    // The series stay empty and give the legend its names and colours; the curves are traces
    // over the plot area (a series of 4096 points took most of the window's drawing time).
    std::array<QPen, sondix::kHistSeries> pens;
    for (std::size_t k = 0; k < series_.size(); ++k) {
        auto* line = new QLineSeries;
        const sondix::Colour& c = sondix::kHistPens[k];
        pens[k] = QPen(QColor(c.r, c.g, c.b), kPenPx, Qt::SolidLine);
        line->setPen(pens[k]);
        chart_->addSeries(line);
        line->attachAxis(axisX_);
        line->attachAxis(axisY_);
        series_[k] = line;
    }
    // The label spacing depends on the plot's width, which the chart settles in its own layout.
    connect(chart_, &QChart::plotAreaChanged, this, &frmHist::PlotAreaChanged,
            Qt::QueuedConnection);
    // The view comes with an empty chart of its own, which setChart lets go of without
    // deleting it: one chart lost for every window opened.
    QChart* const empty = chartHist->chart();
    chartHist->setChart(chart_);
    delete empty;
    chartHist->setRenderHint(QPainter::Antialiasing, false);
    chartHist->setFrameShape(QFrame::NoFrame);
    overlay_ = new PlotOverlay(chartHist, chart_);
    for (std::size_t k = 0; k < traces_.size(); ++k)
        traces_[k] = overlay_->addTrace(axisX_, axisY_, pens[k]);

    lblFootnote->setTextFormat(Qt::PlainText);
    lblFootnote->setWordWrap(true);
    lblFootnote->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblFootnote->setFont(Arial(10));
    lblFootnote->setAutoFillBackground(true);
    QPalette notePalette = lblFootnote->palette();
    notePalette.setColor(QPalette::Window, kFill);
    lblFootnote->setPalette(notePalette);
}

void frmHist::Render() {
    RenderTexts();
    RenderSeries();
    RenderAxes();
    overlay_->followPlot();
}

void frmHist::PlotAreaChanged() {
    RenderAxes();
    overlay_->followPlot();
}

void frmHist::RenderTexts() {
    const sondix::HistModel& m = s_.histChart;
    setWindowTitle(FromLatin1(m.caption));
    UpdateTitle();
    const QString note = FootnoteText(m.footnote);
    if (lblFootnote->text() != note) {
        lblFootnote->setText(note);
        LayoutControls();
    }
    axisX_->setTitleText(FromLatin1(m.x.title));
    axisY_->setTitleText(FromLatin1(m.y.title));
    for (std::size_t k = 0; k < series_.size(); ++k)
        series_[k]->setName(FromLatin1(m.legends[k]));
}

void frmHist::UpdateTitle() {
    const QMargins mg = chart_->margins();
    const int width = chartHist->width() - mg.left() - mg.right() - kTitleSlackPx;
    const QStringList lines =
        sondix::WrapWords(sondix::KeepValuesWithLabels(FromLatin1(s_.histChart.title)),
                          QFontMetrics(chart_->titleFont()), width);
    const QString title = sondix::ChartTitleHtml(lines);
    if (chart_->title() != title) chart_->setTitle(title);
}

// Negative values (a loop current below 4 mA) are drawn at 0.
void frmHist::RenderSeries() {
    const auto& points = s_.histChart.points;
    buffer_.resize(static_cast<qsizetype>(points.size()));
    const std::array<float sondix::HistPoint::*, sondix::kHistSeries> values{
        &sondix::HistPoint::vel, &sondix::HistPoint::iloop, &sondix::HistPoint::anerr,
        &sondix::HistPoint::amp, &sondix::HistPoint::noise};
    for (std::size_t k = 0; k < series_.size(); ++k) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            const sondix::HistPoint& p = points[i];
            buffer_[static_cast<qsizetype>(i)] = QPointF(p.t, std::max(p.*values[k], 0.0f));
        }
        traces_[k]->setPoints(buffer_);
    }
}

// The x axis has as many divisions as the time axis chose (up to 36); where their labels would
// not fit the plot's width, every second (fifth, ...) division is labelled and the others stay
// unlabelled ticks.
void frmHist::RenderAxes() {
    const sondix::HistModel& m = s_.histChart;
    sondix::XAxisTicks t;
    t.min = m.x.min;
    t.max = m.x.max;
    t.dynamic = m.x.max > m.x.min;
    t.interval = (m.x.max - m.x.min) / std::clamp(m.x.ndivs, 1, sondix::kMaxXLabels);
    t.anchor = m.x.min + t.interval * sondix::kTickAnchorFraction;
    t.minorCount = std::clamp(m.x.minor - 1, 0, sondix::kMaxMinorTicks);
    const QRectF plot = chart_->plotArea();
    const double inset = plot.width() > 0 ? chart_->size().width() - plot.width() : kPlotInsetPx;
    const QFontMetricsF fm(axisX_->labelsFont());
    const double labelPx = fm.horizontalAdvance(QString::number(m.x.max, 'g')) +
                           fm.horizontalAdvance(QLatin1Char('0'));
    t = sondix::WithLabelStride(t, sondix::LabelStride(t, chartHist->width() - inset, labelPx));
    axisX_->setRange(t.min, t.max);
    if (t.dynamic) {
        axisX_->setTickInterval(t.interval);
        axisX_->setTickAnchor(t.anchor);
        axisX_->setTickType(QValueAxis::TicksDynamic);
    }
    axisX_->setMinorTickCount(t.minorCount);
    axisY_->setRange(m.y.min, m.y.max);
    axisY_->setTickCount(std::clamp(m.y.ndivs, 1, 100) + 1);
    axisY_->setMinorTickCount(std::max(m.y.minor - 1, 0));
    axisY_->setMinorGridLineVisible(m.y.minor > 1);
}

void frmHist::LayoutControls() {
    const int strip = sondix::TwipsToPixelsY(*this, sondix::kGraphButtonStripTwips);
    const int gap = sondix::TwipsToPixelsX(*this, kGapTwips);
    const int noteH = lblFootnote->text().isEmpty() ? 0 : lblFootnote->heightForWidth(width());
    const auto layout = sondix::GraphLayoutFor(size(), strip, noteH, cmdDumpHist->size(), gap);
    if (!layout) return;
    chartHist->setGeometry(layout->chart);
    lblFootnote->setGeometry(layout->footnote);
    cmdDumpHist->setGeometry(layout->button);
    lblStatus->setGeometry(layout->status);
    ShowStatus();
    UpdateTitle();
}

void frmHist::ShowStatus() {
    const QString shown = lblStatus->fontMetrics().elidedText(statusText_, Qt::ElideMiddle,
                                                              lblStatus->contentsRect().width());
    if (lblStatus->text() != shown) lblStatus->setText(shown);
}

void frmHist::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    LayoutControls();
}

void frmHist::closeFromCore() {
    close();
}

// The records in record order; a failure is reported and leaves the button usable.
void frmHist::cmdDumpHist_Click() {
    if (dumpBusy_) return;
    dumpBusy_ = true;
    const QPalette saved = cmdDumpHist->palette();
    QPalette busy = saved;
    busy.setColor(QPalette::Button, kCopying);
    cmdDumpHist->setPalette(busy);
    cmdDumpHist->repaint();

    const Gen::DateTime now = sondix::NowOf(s_);
    const QString path =
        sondix::FreePath(folder_(), QString::fromStdString(sondix::HistWorkbookFileName(now)));
    const std::string error =
        sondix::WriteHistWorkbook(s_.hist, s_.histChart.NPoints(), s_.res.ModeVelocity,
                                  s_.GraphHeaderStr, now, QFile::encodeName(path).toStdString());
    if (error.empty()) {
        lastDump_ = path;
        const QString shown = QDir::toNativeSeparators(path);
        const bool opened = open_ && open_(path);
        statusText_ = QStringLiteral("Saved to ") + shown + (opened ? "" : " (not opened)");
        lblStatus->setToolTip(shown);
    } else {
        statusText_.clear();
        const std::string text =
            "Spreadsheet copy failed: " + sondix::ToLatin1(QString::fromLocal8Bit(error));
        if (s_.io.asker) {
            s_.io.asker->Ask("Hist error", text, sondix::MsgButtons::OK,
                             sondix::MsgIcon::Exclamation);
        } else {
            QMessageBox::warning(this, QStringLiteral("Hist error"), FromLatin1(text));
        }
    }
    ShowStatus();
    cmdDumpHist->setPalette(saved);
    dumpBusy_ = false;
}
