// The history window: 4096 records decoded (HistTransfer, the answer handed over whole as a
// stored file is) and drawn (five curves) with the repaint that follows, against the answer's
// line time; and the drawing alone.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cmath>
#include <string>

#include "../full_history.h"
#include "../line_share.h"
#include "history/hist_transfer.h"
#include "history/ui/frmHist.h"
#include "terminal/headless_io.h"
#include "terminal/session.h"

namespace {

void BM_HistDecodeAndWindow4096(benchmark::State& state) {
    const std::string answer = sondix::bench::FullHistory();
    sondix::HeadlessSession h;
    frmHist w(h.s);
    w.resize(800, 500);
    w.show();
    int shows = 0;
    h.host.onShowHist = [&] {
        w.Render();
        ++shows;
    };
    QCoreApplication::processEvents();
    for (auto _ : state) {
        std::string text = answer;
        sondix::HistTransfer(h.s, text, true);
        QCoreApplication::processEvents();  // the repaint that follows a transfer
    }
    if (shows == 0 || !h.asker.asked.empty()) state.SkipWithError("the history was not charted");
    sondix::bench::ReportLineShare(state, answer.size());
}
BENCHMARK(BM_HistDecodeAndWindow4096)->Unit(benchmark::kMillisecond);

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
