// The main window against the simulated sensor on a bad line: its answers in tiny blocks, with
// garbled or lost characters, a box held open mid-stream. Tiny blocks must chart (and draw)
// exactly as the same bytes in one block do, for every chart button and the spectrum stream; noise
// may bring up only the dispatcher's own fault boxes and must leave the program able to chart
// once the line is good again. A hang-up: capture_reconnect_test (the device reopened), the
// MSComm and core tests (the fault box).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "known_boxes.h"
#include "response/show_data.h"
#include "response/ui/graph_trace.h"
#include "terminal/main_window.h"

namespace sondix::test {
namespace {

// The same bytes read by a headless session that starts from the window's state before the
// command: `pieceEnd` cuts them where a whole answer ends, one block each.
struct Replay {
    HeadlessSession h;

    Replay(const Session& before, char command) {
        const Outside io = h.s.io;
        h.s = before;
        h.s.io = io;
        h.s.CommandKey = KeyCode(command);
        ResetVariables(h.s);
    }

    void Feed(const std::string& bytes, const std::string& pieceEnd) {
        for (std::size_t at = 0, end; at < bytes.size(); at = end) {
            end = pieceEnd.empty() ? bytes.npos : bytes.find(pieceEnd, at);
            end = end == bytes.npos ? bytes.size() : end + pieceEnd.size();
            std::string block = bytes.substr(at, end - at);
            ShowData(h.s, h.term, block);
        }
    }
};

// The title carries the time of the decode; everything else must match to the bit.
std::string WithoutDigits(std::string s) {
    std::erase_if(s, [](char c) { return c >= '0' && c <= '9'; });
    return s;
}

void ExpectSameChart(const GraphModel& got, const GraphModel& want) {
    EXPECT_EQ(got.kind, want.kind);
    ASSERT_EQ(got.NPoints(), want.NPoints());
    const auto same = [](GraphPoint a, GraphPoint b) { return a.x == b.x && a.y == b.y; };
    ASSERT_TRUE(std::equal(got.points.begin(), got.points.end(), want.points.begin(), same));
    EXPECT_EQ(got.footnote, want.footnote);
    EXPECT_EQ(WithoutDigits(got.title), WithoutDigits(want.title));
    EXPECT_EQ(got.labelStep, want.labelStep);
    EXPECT_EQ(got.yAxis.min, want.yAxis.min);
    EXPECT_EQ(got.yAxis.max, want.yAxis.max);
}

struct ChartButton {
    const char* name;
    char kind;
};
constexpr ChartButton kChartButtons[] = {{"cmdScope", 'D'}, {"cmdSpect", 'F'}, {"cmdRamp", 'y'}};

// The click closed the previous chart, so a visible chart of this kind is this answer's.
bool Charted(SimulatedSession& t, char kind) {
    return t.w->GraphWindow() && t.w->GraphWindow()->isVisible() && t.s().graph.kind == kind;
}

// A small answer size keeps a run in tiny blocks short; a fixed --seed makes the line's faults
// repeat.
std::vector<std::string> SimOptions(std::vector<std::string> line) {
    std::vector<std::string> o{"--nwords", "512", "--seed", "7", "--results-interval", "0.2"};
    o.insert(o.end(), line.begin(), line.end());
    return o;
}

TEST(LineFaults, TinyBlocksChartExactlyAsOneBlock) {
    SimulatedSession t(SimOptions({"--split", "1:40"}));
    ASSERT_TRUE(t.asker.asked.empty()) << t.asker.asked.front().text;
    ReceiveTap tap(t.s());

    for (const ChartButton& b : kChartButtons) {
        SCOPED_TRACE(b.name);
        const Session before = t.s();
        tap.Clear();
        t.w->Button(b.name)->click();
        ASSERT_TRUE(PumpUntil([&] { return Charted(t, b.kind); }, 8000));
        EXPECT_GT(tap.blocks, 20) << "the answer did not come in tiny blocks";
        Replay one(before, b.kind);
        one.Feed(tap.received, {});
        ExpectSameChart(t.s().graph, one.h.s.graph);
        EXPECT_EQ(t.w->GraphWindow()->dataTrace()->count(), t.s().graph.NPoints());
    }

    // The repeating spectrum: each spectrum of the stream in one block.
    const Session before = t.s();
    tap.Clear();
    QPushButton* button = t.w->Button("cmdRptSpect");
    button->click();
    ASSERT_TRUE(PumpUntil([&] { return Charted(t, '['); }, 8000));
    const GraphModel streamed = t.s().graph;
    Replay stream(before, '[');
    stream.Feed(tap.received, "  ***  \r\n");
    button->click();
    ExpectSameChart(streamed, stream.h.s.graph);

    EXPECT_TRUE(t.asker.asked.empty()) << t.asker.asked.front().text;
    EXPECT_FALSE(t.w->ProgramEnded());
}

// A click returns after the command's short pause, whatever the line brings.
void ClickQuickly(SimulatedSession& t, const char* name) {
    QElapsedTimer timer;
    timer.start();
    t.w->Button(name)->click();
    EXPECT_LT(timer.elapsed(), 2000) << name << " hung";
}

class NoisyLine : public ::testing::TestWithParam<const char*> {};

TEST_P(NoisyLine, OnlyKnownBoxesAndACleanCommandWorksAfterwards) {
    SimulatedSession t(SimOptions({GetParam(), "0.002"}));

    for (const ChartButton& b : kChartButtons) {
        const std::size_t boxes = t.asker.asked.size();
        ClickQuickly(t, b.name);
        // A lost terminator leaves the answer pending until the next command: no wait for ever.
        PumpUntil([&] { return Charted(t, b.kind) || t.asker.asked.size() > boxes; }, 1500);
    }
    ClickQuickly(t, "cmdRptSpect");
    Pump(1500);
    ClickQuickly(t, "cmdRptSpect");
    EXPECT_EQ(t.w->Button("cmdRptSpect")->text(), "StartSpec");
    ClickQuickly(t, "cmdRptDist");
    Pump(700);
    ClickQuickly(t, "cmdRptDist");
    EXPECT_EQ(t.w->Button("cmdRptDist")->text(), "Results");
    Pump(100);

    EXPECT_FALSE(t.w->ProgramEnded());
    for (const AskedMessage& m : t.asker.asked)  // the framing boxes and the error path only
        EXPECT_TRUE(IsFramingBox(m) || Is(m, kErrorBox)) << m.title << ": " << m.text;
    const std::size_t boxes = t.asker.asked.size();

    // The line is mended: the same window, a clean sensor behind the port.
    SimProcess clean({"--baud", "0", "--nwords", "512", "--seed", "7"});
    ASSERT_TRUE(clean.running());
    t.w->port().SetEnvironmentPort(clean.device());
    ResetPort(t.s());
    ASSERT_TRUE(t.s().io.port->PortOpen());
    EXPECT_EQ(t.w->LampColour(), (Colour{0, 255, 0}));
    Pump(100);

    ReceiveTap tap(t.s());
    const Session before = t.s();
    t.w->Button("cmdScope")->click();
    ASSERT_TRUE(PumpUntil([&] { return Charted(t, 'D'); }, 4000));
    Replay one(before, 'D');
    one.Feed(tap.received, {});
    ExpectSameChart(t.s().graph, one.h.s.graph);
    EXPECT_EQ(t.s().graph.NPoints(), 512);
    EXPECT_EQ(t.asker.asked.size(), boxes) << t.asker.asked.back().text;
    EXPECT_FALSE(t.w->ProgramEnded());
}

INSTANTIATE_TEST_SUITE_P(Faults, NoisyLine, ::testing::Values("--garble", "--drop"),
                         [](const auto& info) { return std::string(info.param + 2); });

// A split and garbled line with a box open in the middle of the results stream: the terminal
// shows every received character once, in the order the line delivered them.
std::string WithoutLineEnds(std::string s) {
    std::erase_if(s, [](char c) { return c == '\r' || c == '\n'; });
    return s;
}

TEST(LineOrderWithSimulator, TheTerminalKeepsTheLinesOrderUnderABox) {
    SimulatedSession t(
        {"--split", "1:7", "--garble", "0.01", "--seed", "3", "--results-interval", "0.05"});
    Pump(200);
    ReceiveTap tap(t.s());
    const std::string before = t.s().io.term->Text();
    // While the box is open the event loop runs on and the line keeps delivering.
    t.asker.whileOpen = [] { Pump(400); };

    t.w->Button("cmdRptDist")->click();
    ASSERT_TRUE(PumpUntil([&] { return tap.received.size() > 100; }, 3000));
    // The results answer never ends: the next block opens the "transfer too long" box.
    t.s().parser.ChunkCount = kMaxChunks;
    ASSERT_TRUE(PumpUntil([&] { return !t.asker.asked.empty(); }, 3000));
    Pump(200);
    t.w->Button("cmdRptDist")->click();
    Pump(300);

    EXPECT_EQ(WithoutLineEnds(t.s().io.term->Text()), WithoutLineEnds(before + tap.received));
}

}  // namespace
}  // namespace sondix::test
