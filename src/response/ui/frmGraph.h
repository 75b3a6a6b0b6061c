// The chart window: draws the session's GraphModel (time series, spectrum, ramp profile) and
// copies its points into a new workbook. The decoders fill the model; this window only shows it.
//
// Closing: the close box runs the core's UnloadGraphWindow, which asks the host to close the
// window; the host answers with closeFromCore() (and should delete the window with
// deleteLater(), never inside the close event).
#pragma once

#include <QPolygonF>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "common/gen_datetime.h"
#include "response/ui/graph_axes.h"

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class GraphTrace;
class PlotOverlay;
class QValueAxis;

namespace sondix {
struct Session;
}

class frmGraph : public QWidget {
    Q_OBJECT

  public:
    // Opens a written workbook in the desktop's spreadsheet program; false when none did.
    using Opener = std::function<bool(const QString& path)>;
    // The folder that receives the workbooks.
    using FolderProvider = std::function<QString()>;

    explicit frmGraph(sondix::Session& s, QWidget* parent = nullptr);

    // Draws the model as it stands: points, texts, axes. Cheap enough for every spectrum of
    // a running stream: the trace and the axes are reused.
    void Render();
    // Closes without running the core's unload (the core asked for the close).
    void closeFromCore();

    // The spreadsheet copy (the button's click).
    void cmdDumpChart_Click();
    bool DumpBusy() const { return dumpBusy_; }
    void setOpener(Opener open) { open_ = std::move(open); }
    void setDumpFolder(FolderProvider folder) { folder_ = std::move(folder); }

    // The documents folder when it exists and takes files, else the temporary folder.
    static QString DefaultDumpFolder();

    QChartView* chartEchoProf = nullptr;
    QPushButton* cmdDumpChart = nullptr;
    QLabel* lblFootnote = nullptr;
    QLabel* lblStatus = nullptr;

    QChart* chart() const { return chart_; }
    GraphTrace* dataTrace() const { return data_; }
    QLineSeries* zeroSeries() const { return zero_; }
    QValueAxis* axisX() const { return axisX_; }
    QValueAxis* axisY() const { return axisY_; }

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void SetupChart();
    void LayoutControls();
    void RenderTexts();
    void UpdateTitle();
    void RenderSeries();
    void RenderXAxis();
    void RenderYAxis();
    void RenderAxesForPlot();
    QString DumpPath(const Gen::DateTime& now) const;
    void ReportDumpFailure(const std::string& error);
    void ShowStatus();

    sondix::Session& s_;
    QChart* chart_ = nullptr;
    PlotOverlay* overlay_ = nullptr;
    GraphTrace* data_ = nullptr;
    QLineSeries* zero_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QPolygonF buffer_;           // kept between renders: no allocation per spectrum
    sondix::XAxisTicks xTicks_;  // the rule's ticks for the model last rendered
    sondix::YAxisTicks yTicks_;
    std::optional<sondix::XAxisTicks> xShown_;  // what the axes were last given
    std::optional<sondix::YAxisTicks> yShown_;
    std::string titleShown_;  // the title last wrapped, and the width it was wrapped to
    int titleWidth_ = -1;
    Opener open_;
    FolderProvider folder_;
    QString statusText_;  // what lblStatus says, before shortening to its width
    bool dumpBusy_ = false;
    bool closingFromCore_ = false;
    bool unloading_ = false;
};
