// The history chart fed by the simulated sensor's "H" answer, and a stored capture shown again
// through "&Disp Hist File".
#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>

#include "e2e_support.h"
#include "history/ui/frmHist.h"

namespace sondix::test {
namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(HistWithSimulator, HistShowsTheChartThenAStoredCaptureReplaces) {
    SimulatedSession t({"--history-records", "600", "--history-loe-every", "9"});
    t.w->Button("cmdHist")->click();
    ASSERT_TRUE(
        PumpUntil([&] { return t.w->HistWindow() && t.w->HistWindow()->isVisible(); }, 15000));
    frmHist* h = t.w->HistWindow();
    EXPECT_TRUE(t.asker.asked.empty()) << t.asker.asked.front().text;
    const HistModel& m = t.s().histChart;
    EXPECT_TRUE(Has(m.title, "History " + t.s().GraphHeaderStr + "  ")) << m.title;
    EXPECT_TRUE(Has(m.footnote, "Nrecords =  600\n\rXavr=")) << m.footnote;
    EXPECT_TRUE(Has(m.footnote, " n=534)")) << "every 9th of 600 records lost its echo";
    EXPECT_EQ(h->windowTitle(), "DIST History V3.58");
    EXPECT_TRUE(Has(h->lblFootnote->text().toStdString(), "Xavr=")) << "statistics shown";
    EXPECT_TRUE(Has(h->chart()->title().toStdString(), "History"));
    for (int k = 0; k < kHistSeries; ++k)
        EXPECT_EQ(h->series(k)->count(), 600);
    EXPECT_EQ(h->series(0)->name(), "Dist % of max");
    EXPECT_TRUE(Has(t.w->StatusPanelText(0).toStdString(), "600 records"));
    // Loss of echo takes the loop below 4 mA: stored negative, drawn at 0.
    const QList<QPointF> loop = h->series(1)->points();
    EXPECT_LT(m.points[8].iloop, 0);
    EXPECT_EQ(loop[8].y(), 0);
    h->setDumpFolder([] { return QString(SONDIX_TEST_OUT); });
    h->setOpener([](const QString&) { return false; });
    h->cmdDumpHist->click();
    EXPECT_TRUE(QFileInfo::exists(h->lastDump())) << h->lblStatus->text().toStdString();
    Pump(100);
    SaveScreenshot(h, "hist-live");

    t.w->setHistFileChooser([] { return QString(SONDIX_TEST_DATA) + "/history_H.cap"; });
    t.w->findChild<QAction*>("mnuShowHistFile")->trigger();
    EXPECT_EQ(t.w->HistWindow(), h) << "the open window is used again";
    EXPECT_EQ(h->series(0)->count(), 30);
    EXPECT_TRUE(Has(m.footnote, "Nrecords =  30\n\rXavr=")) << m.footnote;
    EXPECT_EQ(std::count(m.title.begin(), m.title.end(), 'T'), 1) << m.title;
    Pump(100);
    SaveScreenshot(h, "hist-file");
}

}  // namespace
}  // namespace sondix::test
