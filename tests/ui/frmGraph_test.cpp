// The chart and results windows on one fixture: the model drawn (the chart into one trace, with
// the axis tick rules), the chart's spreadsheet copy, and closing.
#include "response/ui/frmGraph.h"
#include "history/ui/frmResults.h"
#include "response/ui/graph_trace.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>
#include <cmath>

#include "response/ui/graph_axes.h"
#include "session_fixture.h"

namespace sondix {
namespace {

// The host as the main window behaves: closing a window goes back to it.
class ClosingHost : public RecordingHost {
  public:
    frmGraph* window = nullptr;
    frmResults* results = nullptr;
    void CloseGraphWindow() override {
        RecordingHost::CloseGraphWindow();
        if (window) window->closeFromCore();
    }
    void CloseResultsWindow() override {
        RecordingHost::CloseResultsWindow();
        if (results) results->closeFromCore();
    }
};

struct WindowFixture : test::SessionFixture {
    ClosingHost closingHost;
    WindowFixture() { s.io.host = &closingHost; }
};

// A "D" time series as the decoder leaves it: 0.2 ms apart, a sine around 1.84 V.
void Fill(GraphModel& g, int n) {
    g.SetNPoints(n);
    for (int i = 1; i <= n; ++i)
        g.SetData(i, static_cast<float>(i - 1) * 0.2f, 1.84f + 1.5f * std::sin(i * 0.02f));
    g.XAxisScaleFact = 0.2f;
    g.chartKind = 1;
    g.yAxisAuto = false;
    g.divisionsPerLabel = 251;
    g.divisionsPerTick = 125;
}

// Pixels of exactly the data pen's colour inside the plot area (antialiasing is off).
int DataPixels(frmGraph& w) {
    const QImage img = w.chartEchoProf->grab().toImage();
    const QRect plot = w.chartEchoProf->mapFromScene(w.chart()->plotArea()).boundingRect();
    int count = 0;
    for (int y = std::max(0, plot.top()); y <= std::min(img.height() - 1, plot.bottom()); ++y) {
        for (int x = std::max(0, plot.left()); x <= std::min(img.width() - 1, plot.right()); ++x) {
            if ((img.pixel(x, y) & 0xFFFFFF) == (qRgb(0, 0, 127) & 0xFFFFFF)) ++count;
        }
    }
    return count;
}

TEST(frmGraph, DrawsTheModelThenTheNextAnswerInTheSameSeries) {
    WindowFixture f;
    Fill(f.s.graph, 2048);
    frmGraph w(f.s);
    w.Render();
    EXPECT_EQ(w.dataTrace()->count(), 2048);
    EXPECT_EQ(w.dataTrace()->points().at(2047), QPointF(2047 * 0.2f, f.s.graph.points[2047].y));
    EXPECT_DOUBLE_EQ(w.axisY()->min(), -0.5);
    EXPECT_DOUBLE_EQ(w.axisY()->max(), 4.0);
    EXPECT_EQ(w.axisY()->tickCount(), 10);
    EXPECT_FLOAT_EQ(w.axisX()->max(), 2047 * 0.2f);
    EXPECT_NEAR(w.axisX()->tickInterval(), 251 * 0.2, 1e-4);

    w.show();
    QApplication::processEvents();
    // A sine over the whole width draws at least one pixel per column.
    EXPECT_GE(DataPixels(w), static_cast<int>(w.chart()->plotArea().width() * 0.9));

    GraphTrace* data = w.dataTrace();
    Fill(f.s.graph, 512);
    w.Render();
    EXPECT_EQ(w.dataTrace(), data);
    EXPECT_EQ(w.dataTrace()->count(), 512);
    EXPECT_FLOAT_EQ(w.axisX()->max(), 511 * 0.2f);
    f.s.graph.SetNPoints(0);
    w.Render();
    QApplication::processEvents();
    EXPECT_EQ(DataPixels(w), 0) << "the count sees only the data line";
}

// A label every d points is a tick every d x steps; ticks between labels are minor ticks.
TEST(GraphAxes, DivisionsBecomeValueAxisTicks) {
    const struct {
        int perLabel, perTick;
        float scale, lastX;
        bool dynamic;
        double interval;
        int minor;
    } cases[] = {{251, 125, 0.2f, 409.4f, true, 50.2, 1},                 // 2048-point "D"
                 {41, 20, 24.4140625f, 24975.6f, true, 1000.9765625, 1},  // spectrum
                 {1, 1, 0.0f, 10.0f, false, 0, 0},                        // before any transfer
                 {1, 1, 0.001f, 400.0f, false, 0, 0},                     // too many labels
                 {100, 1, 1.0f, 1000.0f, true, 100, 9}};                  // capped minor ticks
    for (const auto& c : cases) {
        GraphModel g;
        g.SetNPoints(2);
        g.SetData(2, c.lastX, 0);
        g.divisionsPerLabel = c.perLabel;
        g.divisionsPerTick = c.perTick;
        g.XAxisScaleFact = c.scale;
        const XAxisTicks t = XAxisTicksFor(g);
        SCOPED_TRACE(c.perLabel);
        EXPECT_EQ(t.dynamic, c.dynamic);
        if (c.dynamic) {
            EXPECT_NEAR(t.interval, c.interval, 1e-4);
            // Just after 0, so that 69.9999 (70 in steps of 0.7f) is labelled 70.
            EXPECT_GT(t.anchor, 0.0);
            EXPECT_LT(t.anchor, c.interval * 1e-5);
        }
        EXPECT_EQ(t.minorCount, c.minor);
        EXPECT_FLOAT_EQ(t.max, c.lastX);
    }
}

TEST(frmGraph, SpreadsheetCopyIsWrittenOpenedAndAFailureReported) {
    WindowFixture f;
    QTemporaryDir dir;
    frmGraph w{f.s};
    QStringList opened;
    Fill(f.s.graph, 2048);
    w.Render();
    w.setDumpFolder([&] { return dir.path(); });
    w.setOpener([&](const QString& p) {
        opened << p;
        w.cmdDumpChart_Click();  // a second click while copying does nothing
        return true;
    });
    w.cmdDumpChart->click();
    w.cmdDumpChart_Click();  // same second: a second name, the first file stays
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], dir.filePath("Sondix chart 2026-12-06 12-00-00.xlsx"));
    EXPECT_EQ(opened[1], dir.filePath("Sondix chart 2026-12-06 12-00-00 (2).xlsx"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(w.lblStatus->text(), "Saved to " + QDir::toNativeSeparators(opened[1]));

    w.setDumpFolder([] { return QStringLiteral("/nonexistent-sondix-folder/deeper"); });
    w.cmdDumpChart_Click();
    EXPECT_EQ(opened.size(), 2);
    ASSERT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.asker.asked[0].text.rfind("Spreadsheet copy failed: ", 0), 0u);
    EXPECT_FALSE(w.DumpBusy());
    EXPECT_EQ(w.lblStatus->text(), "");
}

TEST(frmResults, RenderShowsTheModel) {
    WindowFixture f;
    frmResults w(f.s);
    ResultsModel& r = f.s.results;
    r.txtOutputvalue = "  1.234 m";
    r.txtSigstrength = "57";
    r.pbrSigstrength = 57;
    r.shpRelay1 = {127, 255, 127};
    r.shpRelay2 = {127, 0, 0};
    w.Render();
    EXPECT_EQ(w.txtOutputvalue->text(), "  1.234 m");
    EXPECT_EQ(w.txtSigstrength->text(), "57");
    EXPECT_EQ(w.pbrSigstrength->value(), 57);
    EXPECT_EQ(w.shpRelay1->palette().color(QPalette::Window), QColor(127, 255, 127));
    EXPECT_EQ(w.shpRelay2->palette().color(QPalette::Window), QColor(127, 0, 0));

    r.pbrSigstrength = 150;
    r.txtOutputvalue = "\xB5m";  // Latin-1 from the sensor
    w.Render();
    EXPECT_EQ(w.pbrSigstrength->value(), 99);
    EXPECT_EQ(w.txtOutputvalue->text(), QString::fromUtf8("\xC2\xB5m"));
}

// A close asked by the core only hides a window; the close box runs its unload, once. The results
// window's stops a running stream with "}" and gives the Results button back.
TEST(Windows, CloseBoxUnloadsOnceAndACloseByTheCoreOnlyHides) {
    WindowFixture f;
    frmGraph g(f.s);
    frmResults r(f.s);
    f.closingHost.window = &g;
    f.closingHost.results = &r;
    f.s.D_GraphLoaded = f.s.ResultDisp_Loaded = true;
    f.s.cmdRptDist.caption = "Stop";
    g.show();
    r.show();
    g.closeFromCore();
    r.closeFromCore();
    EXPECT_FALSE(g.isVisible() || r.isVisible());
    EXPECT_TRUE(f.s.D_GraphLoaded && f.s.ResultDisp_Loaded);
    EXPECT_EQ(f.port.sent, "");
    g.show();
    r.show();
    EXPECT_TRUE(g.close());
    EXPECT_TRUE(r.close());
    EXPECT_FALSE(f.s.D_GraphLoaded || f.s.ResultDisp_Loaded);
    EXPECT_EQ(f.closingHost.graphCloses + 10 * f.closingHost.resultsCloses, 11);
    EXPECT_EQ(f.port.sent, "}");
    EXPECT_EQ(f.s.cmdRptDist.caption, "Results");
}

}  // namespace
}  // namespace sondix
