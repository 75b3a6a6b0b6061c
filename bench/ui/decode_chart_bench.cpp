// Decode and chart: a whole answer through ShowData, the chart window drawn from the model it
// leaves (as frmTerminal::ShowGraph does) and the repaint that follows. The largest graph (a
// 2048-word time series) and the repeating spectrum's update, each against its line time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "../line_share.h"
#include "response/show_data.h"
#include "response/ui/frmGraph.h"
#include "sensor.h"
#include "terminal/headless_io.h"
#include "terminal/session.h"

namespace {

std::string SensorAnswer(char key, int nwords) {
    sondix::sim::Config c;
    c.nwords = nwords;
    sondix::sim::Sensor sensor(c);
    std::string out = sensor.Feed(std::string(1, key), 1.0);
    for (double t = 1.5; key == '[' && t < 30; t += 0.5) {
        out = sensor.Tick(t);
        if (!out.empty()) break;
    }
    return out;
}

void DecodeAndChart(benchmark::State& state, char key, int nwords) {
    const std::string answer = SensorAnswer(key, nwords);
    sondix::HeadlessSession h;
    h.s.D_GraphLoaded = true;
    frmGraph g(h.s);
    g.resize(800, 600);
    g.show();
    h.host.onShowGraph = [&g] { g.Render(); };
    QCoreApplication::processEvents();
    const int shows = h.host.graphShows;
    for (auto _ : state) {
        h.s.CommandKey = static_cast<std::int16_t>(key);
        std::string block = answer;
        sondix::ShowData(h.s, h.term, block);
        QCoreApplication::processEvents();  // the repaint that follows a transfer
        state.PauseTiming();
        h.term.text.clear();
        state.ResumeTiming();
    }
    if (h.host.graphShows == shows || !h.asker.asked.empty())
        state.SkipWithError("the answer was not charted");
    sondix::bench::ReportLineShare(state, answer.size());
}

BENCHMARK_CAPTURE(DecodeAndChart, D_time_series_2048, 'D', 2048)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeAndChart, y_ramp_2048, 'y', 2048)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeAndChart, F_spectrum_2048, 'F', 2048)->Unit(benchmark::kMicrosecond);
// The repeating spectrum of a 1024-word and of a 2048-word sensor: the smaller answer has the
// shorter line time for much the same drawing.
BENCHMARK_CAPTURE(DecodeAndChart, stream_spectrum_update_1024, '[', 1024)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DecodeAndChart, stream_spectrum_update_2048, '[', 2048)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
