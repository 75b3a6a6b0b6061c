// Drawing the history window: 4096 records, five curves, each loaded with one replace.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cmath>

#include "history/ui/frmHist.h"
#include "terminal/headless_io.h"
#include "terminal/session.h"

namespace {

void BM_RenderHistory4096(benchmark::State& state) {
    sondix::HeadlessSession h;
    sondix::HistModel& m = h.s.histChart;
    m.Setup(false);
    m.SetScaleX(0, 48, 24, "Time (hours)");
    m.SetScaleY(0, 10, 10, "Distance in 10% of Ymax units", false);
    frmHist w(h.s);
    w.resize(800, 500);
    w.show();
    int phase = 0;
    for (auto _ : state) {
        ++phase;
        m.SetNPoints(4096);
        for (int i = 1; i <= 4096; ++i) {
            const float t = static_cast<float>(i) * 48 / 4096;
            const float v = 8 + std::sin(0.01f * static_cast<float>(i + phase));
            m.SetData(i, {t, v, v / 3, 0.1f, v / 4, 0.1f, 2.5f});
        }
        w.Render();
        QCoreApplication::processEvents();  // the repaint that follows a transfer
    }
}
BENCHMARK(BM_RenderHistory4096)->Unit(benchmark::kMillisecond);

}  // namespace
