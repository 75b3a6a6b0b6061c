// The history window: draws the session's HistModel (five curves over time, legends, title,
// footnote with the statistics) and copies the history arrays into a new workbook ("Excel").
// The history transfer fills the model; this window only shows it.
//
// Closing: the close box only closes (the core's HistWindowLoaded stays until the next command
// unloads the window); the host's CloseHistWindow answers with closeFromCore().
#pragma once

#include <QPolygonF>
#include <QWidget>
#include <array>
#include <functional>

#include "history/hist_model.h"

class QChart;
class QChartView;
class GraphTrace;
class PlotOverlay;
class QLabel;
class QLineSeries;
class QPushButton;
class QValueAxis;

namespace sondix {
struct Session;
}

class frmHist : public QWidget {
    Q_OBJECT

  public:
    using Opener = std::function<bool(const QString& path)>;
    using FolderProvider = std::function<QString()>;

    explicit frmHist(sondix::Session& s, QWidget* parent = nullptr);

    // Draws the model as it stands: each curve's points go into its trace at once.
    void Render();
    void closeFromCore();

    void cmdDumpHist_Click();
    bool DumpBusy() const { return dumpBusy_; }
    void setOpener(Opener open) { open_ = std::move(open); }
    void setDumpFolder(FolderProvider folder) { folder_ = std::move(folder); }
    // The path of the last workbook written ("" before).
    QString lastDump() const { return lastDump_; }

    QChartView* chartHist = nullptr;
    QPushButton* cmdDumpHist = nullptr;
    QLabel* lblFootnote = nullptr;
    QLabel* lblStatus = nullptr;

    QChart* chart() const { return chart_; }
    // The legend's entry of curve k (no points) and the curve itself.
    QLineSeries* series(int k) const { return series_[static_cast<std::size_t>(k)]; }
    GraphTrace* trace(int k) const { return traces_[static_cast<std::size_t>(k)]; }
    QValueAxis* axisX() const { return axisX_; }
    QValueAxis* axisY() const { return axisY_; }

  protected:
    void resizeEvent(QResizeEvent* e) override;

  private:
    void SetupChart();
    void LayoutControls();
    void RenderTexts();
    void RenderSeries();
    void RenderAxes();
    void PlotAreaChanged();
    void UpdateTitle();
    void ShowStatus();

    sondix::Session& s_;
    QChart* chart_ = nullptr;
    std::array<QLineSeries*, sondix::kHistSeries> series_{};
    std::array<GraphTrace*, sondix::kHistSeries> traces_{};
    PlotOverlay* overlay_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QPolygonF buffer_;
    Opener open_;
    FolderProvider folder_;
    QString statusText_;
    QString lastDump_;
    bool dumpBusy_ = false;
};
