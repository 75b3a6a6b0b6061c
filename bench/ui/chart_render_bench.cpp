// Drawing the chart window: a 2048-point time series replacing the previous one, and a
// 1024-point stream spectrum, as the window does for every transfer (the model's filling is
// not timed).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>

#include "response/ui/frmGraph.h"
#include "terminal/headless_io.h"
#include "terminal/session.h"

namespace {

struct Window : sondix::HeadlessSession {
    frmGraph* g;

    Window() {
        g = new frmGraph(s);
        g->resize(800, 600);
        g->show();
    }
    ~Window() { delete g; }

    void Fill(int n, float step, int phase) {
        s.graph.SetNPoints(n);
        for (int i = 1; i <= n; ++i)
            s.graph.SetData(i, (i - 1) * step,
                            1.8f + std::sin(0.1f * static_cast<float>(i + phase)));
        s.graph.XAxisScaleFact = step;
        s.graph.divisionsPerLabel = n / 8;
        s.graph.divisionsPerTick = n / 16;
    }
};

void BM_RenderTimeSeries2048(benchmark::State& state) {
    Window w;
    int phase = 0;
    for (auto _ : state) {
        state.PauseTiming();  // the drawing alone: the model filled outside the clock
        w.Fill(2048, 0.2f, ++phase);
        state.ResumeTiming();
        w.g->Render();
        QCoreApplication::processEvents();  // the repaint that follows a transfer
    }
}
BENCHMARK(BM_RenderTimeSeries2048)->Unit(benchmark::kMicrosecond);

void BM_RenderStreamSpectrum1024(benchmark::State& state) {
    Window w;
    int phase = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.Fill(1024, 24.4140625f, ++phase);
        state.ResumeTiming();
        w.g->Render();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_RenderStreamSpectrum1024)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
