// An hour with the sensor, compressed, as a user runs it through the main window on the real
// serial stack: a dozen turns of a history transfer, the repeating spectrum and the results
// stream, the simulator unpaced and its streams fast. Memory stays flat (resident size after
// the first turns against the end: every window opened again must not leave anything behind),
// the terminal stays within its trim, and no box comes up: no "Data transfer too long" however
// long a stream runs.
#include <gtest/gtest.h>

#include <QPushButton>
#include <algorithm>

#include "serial_rig.h"

namespace sondix::test {
namespace {

constexpr int kTurns = 12, kWarmTurns = 3;  // the terminal reaches its trim in the first turns
constexpr int kRecords = 1000;
// An hour of the sensor's streams: a spectrum a second, a results line every two seconds.
constexpr std::size_t kSpectraPerTurn = 3600 / kTurns, kLinesPerTurn = 1800 / kTurns;
constexpr std::size_t kTrimmed = 16384;  // the terminal is cut back once it grows past this

TEST(LongSessionSerial, AnHourOfStreamsAndHistoriesKeepsMemoryFlat) {
    SerialRig r("long-session",
                {"--spectrum-interval", "0.002", "--results-interval", "0.002", "--history-records",
                 std::to_string(kRecords)},
                false);
    ASSERT_TRUE(r.LampGreen());
    std::size_t longest = 0;
    const auto watch = [&] {
        longest = std::max(longest, r.s().io.term->TextLength());
        return false;
    };
    // A stream button pressed, left running until it brought `n` more (or for 6 s), pressed
    // again; what it brought.
    const auto stream = [&](const char* name, std::size_t n, std::size_t ReceiveTap::*count) {
        const std::size_t before = (*r.tap).*count;
        r.w->Button(name)->click();
        PumpUntil([&] { return watch() || (*r.tap).*count >= before + n; }, 6000);
        r.w->Button(name)->click();
        PumpUntil(watch, 100);
        return (*r.tap).*count - before;
    };
    std::size_t spectra = 0, lines = 0;
    int histories = 0;
    long warm = 0;
    const double cpu = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    for (int turn = 0; turn < kTurns && r.asker.asked.empty(); ++turn) {
        if (r.w->HistWindow()) r.w->HistWindow()->hide();
        r.w->Button("cmdHist")->click();
        histories +=
            PumpUntil([&] { return r.w->HistWindow() && r.w->HistWindow()->isVisible(); }, 5000) &&
            r.s().histChart.NPoints() == kRecords;
        spectra += stream("cmdRptSpect", kSpectraPerTurn, &ReceiveTap::terminators);
        lines += stream("cmdRptDist", kLinesPerTurn, &ReceiveTap::lines);
        if (turn + 1 == kWarmTurns) warm = ResidentBytes();
    }
    const long growth = ResidentBytes() - warm;
    const double cpuShare = (CpuSeconds() - cpu) / (static_cast<double>(wall.elapsed()) * 1e-3);
    RecordProperty("spectra", static_cast<int>(spectra));
    RecordProperty("results_lines", static_cast<int>(lines));
    RecordProperty("megabytes_read", static_cast<int>(r.tap->bytes >> 20));
    RecordProperty("resident_growth_kb", static_cast<int>(growth / 1024));
    RecordProperty("cpu_share_percent", static_cast<int>(cpuShare * 100));
    RecordProperty("longest_terminal", static_cast<int>(longest));

    for (const AskedMessage& m : r.asker.asked)
        ADD_FAILURE() << m.title << ": " << m.text;
    EXPECT_EQ(histories, kTurns);
    EXPECT_GE(spectra, 3600u);
    EXPECT_GE(lines, 1800u);
    EXPECT_LE(longest, 2 * kTrimmed);
    EXPECT_LT(growth, 1 << 20);
}

}  // namespace
}  // namespace sondix::test
