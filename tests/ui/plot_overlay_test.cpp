// The plot area is a picture of the chart taken once and a trace drawn over it: after a new
// answer with other axes the window must look as a window that drew that answer first.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "response/ui/frmGraph.h"
#include "session_fixture.h"

namespace sondix {
namespace {

void Fill(GraphModel& g, int n, float step, float top, int ticksPerLabel) {
    g.SetNPoints(n);
    for (int i = 1; i <= n; ++i)
        g.SetData(i, static_cast<float>(i - 1) * step, top * static_cast<float>(i % 7) / 7);
    g.XAxisScaleFact = step;
    g.divisionsPerLabel = n / 8;
    g.divisionsPerTick = n / 8 / ticksPerLabel;
}

QImage Drawn(frmGraph& w) {
    w.Render();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    return w.grab().toImage();
}

TEST(PlotOverlay, NewAxesAreDrawnUnderTheTrace) {
    test::SessionFixture a, b;
    frmGraph first(a.s), fresh(b.s);
    for (frmGraph* w : {&first, &fresh}) {
        w->resize(800, 600);
        w->show();
    }
    Fill(a.s.graph, 2048, 0.2f, 3, 2);
    Drawn(first);
    // Other minor ticks, the same labels and plot area: only the chart's change in the plot
    // area can tell the overlay.
    Fill(a.s.graph, 2048, 0.2f, 1, 4);
    Fill(b.s.graph, 2048, 0.2f, 1, 4);
    EXPECT_EQ(Drawn(first), Drawn(fresh));
}

}  // namespace
}  // namespace sondix
