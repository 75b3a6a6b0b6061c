// The history chart fed by the simulated sensor's "H" answer, and the communications log that
// recorded it shown again through "&Disp Hist File" while it keeps recording.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QtCharts/QLineSeries>

#include "e2e_support.h"
#include "history/ui/frmHist.h"
#include "response/ui/graph_trace.h"
#include "terminal/main_window.h"
#include "test_files.h"

namespace sondix::test {
namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != text.npos;
}

TEST(HistWithSimulator, HistShowsTheChartAndTheRecordingLogShowsItAgain) {
    SimulatedSession t({"--history-records", "600", "--history-loe-every", "9"});
    ScriptedChooser chooser;
    t.w->SetFileChooser(&chooser);
    const std::string log = OutPath("hist.log");
    std::filesystem::remove(log);
    chooser.answers = {log};
    t.w->mnuOpenLog_Click();
    ASSERT_TRUE(t.w->Log().IsOpen());

    t.w->Button("cmdHist")->click();
    ASSERT_TRUE(
        PumpUntil([&] { return t.w->HistWindow() && t.w->HistWindow()->isVisible(); }, 15000));
    frmHist* h = t.w->HistWindow();
    EXPECT_TRUE(t.asker.asked.empty()) << t.asker.asked.front().text;
    const HistModel& m = t.s().histChart;
    EXPECT_TRUE(Has(m.title, "History " + t.s().GraphHeaderStr + "  ")) << m.title;
    EXPECT_TRUE(Has(m.footnote, "Nrecords =  600\n\rXavr=")) << m.footnote;
    EXPECT_TRUE(Has(m.footnote, " n=534)")) << "every 9th of 600 records lost its echo";
    EXPECT_TRUE(Has(h->lblFootnote->text().toStdString(), "Xavr=")) << "statistics shown";
    for (int k = 0; k < kHistSeries; ++k)
        EXPECT_EQ(h->trace(k)->count(), 600);
    EXPECT_TRUE(Has(t.w->StatusPanelText(0).toStdString(), "600 records"));
    // Loss of echo takes the loop below 4 mA: stored negative, drawn at 0.
    EXPECT_LT(m.points[8].iloop, 0);
    EXPECT_EQ(h->trace(1)->points()[8].y(), 0);
    h->setDumpFolder([] { return QString(SONDIX_TEST_OUT); });
    h->setOpener([](const QString&) { return false; });
    h->cmdDumpHist->click();
    EXPECT_TRUE(QFileInfo::exists(h->lastDump())) << h->lblStatus->text().toStdString();

    // The log that recorded the answer, shown again: the same chart in the same window.
    const HistModel live = m;
    chooser.answers = {log};
    t.w->findChild<QAction*>("mnuShowHistFile")->trigger();
    EXPECT_TRUE(t.asker.asked.empty()) << t.asker.asked.front().text;
    EXPECT_EQ(t.w->HistWindow(), h) << "the open window is used again";
    EXPECT_EQ(m.footnote, live.footnote);
    EXPECT_EQ(m.x.max, live.x.max);
    ASSERT_EQ(m.NPoints(), 600);
    EXPECT_EQ(m.points[599].vel, live.points[599].vel);
    EXPECT_EQ(std::count(m.title.begin(), m.title.end(), 'T'), 1) << m.title;

    // ... and the log goes on recording.
    ASSERT_TRUE(t.w->Log().IsOpen());
    const std::size_t before = Slurp(log).size();
    txtTerm_KeyPress(t.s(), 'E');
    EXPECT_TRUE(PumpUntil([&] { return Slurp(log).size() > before; }, 3000));
}

}  // namespace
}  // namespace sondix::test
