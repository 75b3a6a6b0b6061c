// Decoding the largest data graphs the sensor sends: a 2048-word time series and a 1024-word
// stream spectrum, once through the decoders alone and once through ShowData as one block.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "../tests/support/graph_answer.h"
#include "response/data_graph.h"
#include "response/show_data.h"
#include "terminal/headless_io.h"
#include "terminal/session.h"

namespace {

using sondix::test::GraphAnswer;

struct Headless : sondix::HeadlessSession {
    Headless() { s.D_GraphLoaded = true; }
};

std::vector<int> Counts(int n, int modulo) {
    std::vector<int> w(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        w[static_cast<std::size_t>(i)] = (i * 37) % modulo;
    return w;
}

const std::string& TimeSeriesAnswer() {
    static const std::string answer = GraphAnswer(
        "Timer=     988773\r\nDist    = 1500\r\nFreq    = 123456 \r\nQuality =   45\r\n"
        "Vrefcal = 3.68 \r\nSampleT = 20000\r\nRAMP UP  \r\n" +
            sondix::test::TimeHeaderLine(2048, 1, 3680, 20000),
        Counts(2048, 1024), 4, 3);
    return answer;
}

const std::string& StreamSpectrumAnswer() {
    static const std::string answer =
        GraphAnswer("Dist=1234.5 Vel= 12.34 S= 45 Favr=6000.000 Fdif=  12.3456 RAMP DOWN\r\n" +
                        sondix::test::SpectrumLabelLine(1024, 1, 3680, 2000, 512),
                    Counts(1024, 1000), 3, 2);
    return answer;
}

// The decoders' share: header step, the cut at the terminator, decode step.
void DecodeOnce(sondix::Session& s, char key, int nwords, const std::string& answer) {
    s.parser.NWords = static_cast<std::int16_t>(nwords);
    s.parser.AnswerText = answer;
    sondix::GraphHeaderStep(s, key);
    const auto q = s.parser.AnswerText.find("  ***  ") + 1;
    s.parser.AnswerText.resize(q);
    s.parser.AnswerLen = static_cast<std::int32_t>(q);
    sondix::GraphDecodeStep(s, key);
}

void BM_DecodeTimeSeries2048(benchmark::State& state) {
    Headless h;
    for (auto _ : state) {
        DecodeOnce(h.s, 'D', 2048, TimeSeriesAnswer());
        benchmark::DoNotOptimize(h.s.graph.points.data());
    }
}
BENCHMARK(BM_DecodeTimeSeries2048)->Unit(benchmark::kMicrosecond);

void BM_DecodeStreamSpectrum1024(benchmark::State& state) {
    Headless h;
    for (auto _ : state) {
        DecodeOnce(h.s, '[', 1024, StreamSpectrumAnswer());
        benchmark::DoNotOptimize(h.s.graph.points.data());
    }
}
BENCHMARK(BM_DecodeStreamSpectrum1024)->Unit(benchmark::kMicrosecond);

// The whole path: the answer arrives as one block and is framed, decoded, charted and shown.
void ShowWholeAnswer(benchmark::State& state, char key, const std::string& answer) {
    Headless h;
    h.s.CommandKey = static_cast<std::int16_t>(key);
    const std::size_t shows = static_cast<std::size_t>(h.host.graphShows);
    for (auto _ : state) {
        std::string block = answer;
        sondix::ShowData(h.s, h.term, block);
        h.term.text.clear();
    }
    if (static_cast<std::size_t>(h.host.graphShows) == shows || !h.asker.asked.empty()) {
        state.SkipWithError("the answer was not charted");
    }
}

void BM_ShowDataTimeSeries2048(benchmark::State& state) {
    ShowWholeAnswer(state, 'D', TimeSeriesAnswer());
}
BENCHMARK(BM_ShowDataTimeSeries2048)->Unit(benchmark::kMicrosecond);

void BM_ShowDataStreamSpectrum1024(benchmark::State& state) {
    ShowWholeAnswer(state, '[', StreamSpectrumAnswer());
}
BENCHMARK(BM_ShowDataStreamSpectrum1024)->Unit(benchmark::kMicrosecond);

}  // namespace
