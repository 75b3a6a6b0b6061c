// Writing the chart's spreadsheet copy of a full 2048-point transfer into a temporary file.
// The figure is set against the line time of the answer that brought the points.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

#include "export/graph_workbook.h"
#include "line_share.h"

namespace {

sondix::GraphModel FullTimeSeries() {
    sondix::GraphModel g;
    g.chartKind = 1;
    g.XAxisScaleFact = 0.2f;
    g.SetNPoints(2048);
    for (int i = 1; i <= 2048; ++i) {
        const float x = static_cast<float>(i - 1) * 0.2f;
        g.SetData(i, x, 1.84f + 1.5f * std::sin(x * 0.1f));
    }
    return g;
}

void BM_WriteGraphWorkbook2048(benchmark::State& state) {
    const sondix::GraphModel g = FullTimeSeries();
    const Gen::DateTime now{2026, 12, 6, 12, 0, 0};
    const auto path = std::filesystem::temp_directory_path() / "sondix-bench-chart.xlsx";
    for (auto _ : state) {
        const std::string err =
            sondix::WriteGraphWorkbook(g, "Unit#1234,RADAR", now, path.string());
        if (!err.empty()) state.SkipWithError(err.c_str());
    }
    std::filesystem::remove(path);
    // Against the 2048-word "D" answer that brought the points (8640 bytes from the simulator).
    sondix::bench::ReportLineShare(state, 8640);
}
BENCHMARK(BM_WriteGraphWorkbook2048)->Unit(benchmark::kMillisecond);

}  // namespace
