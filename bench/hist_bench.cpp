// The history at its largest: 4096 records decoded and charted (the answer handed over whole,
// as a stored file is) and their spreadsheet copy. The goal for the decode: under 1 % of the
// answer's line time at 115200 baud.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "export/hist_workbook.h"
#include "full_history.h"
#include "history/hist_transfer.h"
#include "line_share.h"
#include "terminal/headless_io.h"

namespace {

void BM_HistDecodeAndChart4096(benchmark::State& state) {
    sondix::HeadlessSession h;
    for (auto _ : state) {
        std::string text = sondix::bench::FullHistory();
        sondix::HistTransfer(h.s, text, true);
        benchmark::DoNotOptimize(h.s.histChart.points.data());
    }
    // 10 bits a character at 115200 baud.
    const double lineSeconds =
        static_cast<double>(sondix::bench::FullHistory().size()) * 10 / 115200;
    state.counters["line_ms"] = lineSeconds * 1000;
    state.counters["goal_ms"] = lineSeconds * 10;
    sondix::bench::ReportLineShare(state, sondix::bench::FullHistory().size());
    state.counters["records"] = h.s.HistCount;
}
BENCHMARK(BM_HistDecodeAndChart4096)->Unit(benchmark::kMillisecond);

void BM_HistWorkbook4096(benchmark::State& state) {
    sondix::HeadlessSession h;
    std::string text = sondix::bench::FullHistory();
    sondix::HistTransfer(h.s, text, true);
    const auto path = std::filesystem::temp_directory_path() / "sondix-hist-bench.xlsx";
    for (auto _ : state) {
        const std::string err = sondix::WriteHistWorkbook(h.s.hist, h.s.HistCount, false, "Unit",
                                                          {2026, 12, 7, 3, 0, 0}, path.string());
        if (!err.empty()) state.SkipWithError(err.c_str());
    }
    std::filesystem::remove(path);
    sondix::bench::ReportLineShare(state, sondix::bench::FullHistory().size());
}
BENCHMARK(BM_HistWorkbook4096)->Unit(benchmark::kMillisecond);

}  // namespace
