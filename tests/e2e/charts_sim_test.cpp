// The chart window fed by the simulated sensor's data graphs.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineSeries>
#include <QPushButton>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>

#include "e2e_support.h"
#include "response/ui/frmGraph.h"

namespace sondix::test {
namespace {

// Pixels of the data series' colour (0, 0, 127) in a picture of the chart.
int SeriesPixels(QWidget* w) {
    const QImage img = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() < 40 && c.green() < 40 && c.blue() > 90 && c.blue() < 170) ++n;
        }
    return n;
}

struct ChartCase {
    const char* button;
    char kind;
    const char* title;
    const char* shot;
};

class ChartsWithSimulator : public ::testing::TestWithParam<ChartCase> {};

TEST_P(ChartsWithSimulator, ButtonShowsItsChart) {
    const ChartCase c = GetParam();
    SimulatedSession t;
    t.w->Button(c.button)->click();
    ASSERT_TRUE(PumpUntil(
        [&] {
            return t.w->GraphWindow() && t.w->GraphWindow()->isVisible() &&
                   t.s().graph.kind == c.kind;
        },
        8000));
    frmGraph* g = t.w->GraphWindow();
    EXPECT_TRUE(t.asker.asked.empty()) << t.asker.asked.front().text;
    EXPECT_NE(t.s().graph.title.find(c.title), std::string::npos) << t.s().graph.title;
    EXPECT_EQ(g->dataSeries()->count(), t.s().graph.NPoints());
    EXPECT_GE(t.s().graph.NPoints(), 102);
    Pump(100);
    SaveScreenshot(g, c.shot);
    EXPECT_GT(SeriesPixels(g->chartEchoProf), 200) << "the plotted line is not drawn";
}

INSTANTIATE_TEST_SUITE_P(Buttons, ChartsWithSimulator,
                         ::testing::Values(ChartCase{"cmdScope", 'D', "Time Series", "chart-scope"},
                                           ChartCase{"cmdSpect", 'F', "Spectrum", "chart-spect"},
                                           ChartCase{"cmdRamp", 'y', "Ramp Profile", "chart-ramp"}),
                         [](const auto& info) { return std::string(info.param.button); });

TEST(RepeatingSpectrumWithSimulator, StartSpecStreamsUntilStopSpec) {
    SimulatedSession t;
    QPushButton* b = t.w->Button("cmdRptSpect");
    b->click();
    EXPECT_EQ(b->text(), "StopSpec");
    int shown = 0;
    std::string last;
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (t.s().graph.kind == '[' && t.s().graph.footnote != last) {
                last = t.s().graph.footnote;
                ++shown;
            }
            return shown >= 2;
        },
        10000));
    frmGraph* g = t.w->GraphWindow();
    ASSERT_NE(g, nullptr);
    EXPECT_NE(t.s().graph.title.find("Spectrum"), std::string::npos);
    EXPECT_NE(t.s().graph.footnote.find("N="), std::string::npos);
    EXPECT_EQ(g->dataSeries()->count(), t.s().graph.NPoints());
    SaveScreenshot(g, "chart-repeating-spectrum");
    EXPECT_GT(SeriesPixels(g->chartEchoProf), 200);

    b->click();
    EXPECT_EQ(b->text(), "StartSpec");
    EXPECT_TRUE(t.asker.asked.empty());
}

}  // namespace
}  // namespace sondix::test
