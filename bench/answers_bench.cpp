// ShowData's throughput for each kind of answer, the answers taken from the simulated sensor
// (largest graphs: 2048 words). Each iteration hands one whole answer to ShowData as one block,
// as a fast line delivers it, and the figure is set against that answer's time on the line.
#include <benchmark/benchmark.h>

#include <string>

#include "line_share.h"
#include "response/show_data.h"
#include "sensor.h"
#include "terminal/headless_io.h"
#include "terminal/session.h"

namespace {

using sondix::sim::Config;
using sondix::sim::Sensor;

// The sensor's bytes after `key`: its answer, or for a stream its first repeated answer.
std::string AnswerTo(char key) {
    Config c;
    c.nwords = 2048;
    Sensor sensor(c);
    std::string out = sensor.Feed(std::string(1, key), 1.0);
    if (key != '[' && key != '{') return out;
    for (double t = 1.5; t < 30; t += 0.5) {
        const std::string more = sensor.Tick(t);
        if (!more.empty()) return more;
    }
    return out;
}

void ShowAnswer(benchmark::State& state, char key) {
    const std::string answer = AnswerTo(key);
    sondix::HeadlessSession h;
    h.s.D_GraphLoaded = true;
    h.s.ResultDisp_Loaded = true;
    for (auto _ : state) {
        h.s.CommandKey = static_cast<std::int16_t>(key);
        std::string block = answer;
        sondix::ShowData(h.s, h.term, block);
        state.PauseTiming();
        h.term.text.clear();
        h.asker.asked.clear();
        state.ResumeTiming();
    }
    sondix::bench::ReportLineShare(state, answer.size());
}

BENCHMARK_CAPTURE(ShowAnswer, D_time_series, 'D')->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ShowAnswer, F_spectrum, 'F')->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ShowAnswer, y_ramp, 'y')->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ShowAnswer, stream_spectrum, '[')->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ShowAnswer, stream_results, '{')->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ShowAnswer, P_listing, 'P')->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ShowAnswer, H_history, 'H')->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ShowAnswer, L_logo, 'L')->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ShowAnswer, T_timer, 'T')->Unit(benchmark::kMicrosecond);

}  // namespace
