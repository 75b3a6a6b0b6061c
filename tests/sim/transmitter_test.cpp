// The line layer with a simulated clock: pacing, split blocks, lost and garbled characters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transmitter.h"

namespace sondix::sim {
namespace {

struct Delivery {
    std::string bytes;
    std::vector<std::size_t> blocks;
    double finished = 0;
};

// Drains the queue as the main loop does, waking exactly when the transmitter asks.
// `baud` only to tell when the last character has left the line.
Delivery Drain(Transmitter& tx, int baud = 0) {
    Delivery d;
    double now = 0;
    for (int guard = 0; !tx.Empty() && guard < 1'000'000; ++guard) {
        now = tx.NextTime(now);
        const std::string_view block = tx.Ready(now);
        if (block.empty()) continue;
        d.bytes += block;
        d.blocks.push_back(block.size());
        tx.Sent(block.size(), now);
        d.finished = now + (baud > 0 ? block.size() * 10.0 / baud : 0.0);
    }
    return d;
}

struct PaceCase {
    int baud;
    std::size_t chars;
};

class Pacing : public testing::TestWithParam<PaceCase> {};

TEST_P(Pacing, TakesTenBitsACharacter) {
    LineConfig c;
    c.baud = GetParam().baud;
    Transmitter tx(c);
    tx.Push(std::string(GetParam().chars, 'a'));
    const Delivery d = Drain(tx, GetParam().baud);
    EXPECT_EQ(d.bytes.size(), GetParam().chars);
    const double expected = GetParam().chars * 10.0 / GetParam().baud;
    EXPECT_NEAR(d.finished, expected, expected * 0.001);
    // Nothing goes out faster than the line: no block is larger than 10 ms of characters.
    for (std::size_t b : d.blocks)
        EXPECT_LE(b, std::max<std::size_t>(1, GetParam().baud / 1000));
}

INSTANTIATE_TEST_SUITE_P(Bauds, Pacing,
                         testing::Values(PaceCase{9600, 960}, PaceCase{2400, 300},
                                         PaceCase{115200, 20000}, PaceCase{300, 10}));

TEST(Transmitter, UnpacedGivesEverythingAtOnce) {
    LineConfig c;
    c.baud = 0;
    Transmitter tx(c);
    tx.Push("hello");
    EXPECT_EQ(tx.Ready(0), "hello");
    tx.Sent(2, 0);
    EXPECT_EQ(tx.Ready(0), "llo");
}

TEST(Transmitter, SplitBlocksStayWithinBoundsWithGaps) {
    LineConfig c;
    c.baud = 0;
    c.splitMin = 3;
    c.splitMax = 9;
    c.seed = 5;
    Transmitter tx(c);
    const std::string text(500, 'x');
    tx.Push(text);
    const Delivery d = Drain(tx);
    EXPECT_EQ(d.bytes, text);
    for (std::size_t i = 0; i + 1 < d.blocks.size(); ++i) {
        EXPECT_GE(d.blocks[i], 3u);
        EXPECT_LE(d.blocks[i], 9u);
    }
    // Each block is followed by a gap of 5..25 ms.
    EXPECT_GE(d.finished, 0.005 * (d.blocks.size() - 1));
    EXPECT_LE(d.finished, 0.025 * d.blocks.size());
}

struct FaultCase {
    double drop;
    double garble;
};

class Faults : public testing::TestWithParam<FaultCase> {};

TEST_P(Faults, LoseOrReplaceAboutTheirShare) {
    LineConfig c;
    c.baud = 0;
    c.dropRate = GetParam().drop;
    c.garbleRate = GetParam().garble;
    Transmitter tx(c);
    const std::string text(20000, 'a');
    tx.Push(text);
    const std::string out(tx.Ready(0));
    const double lost = 1.0 - static_cast<double>(out.size()) / text.size();
    EXPECT_NEAR(lost, GetParam().drop, 0.02);
    std::size_t changed = 0;
    for (char ch : out) {
        if (ch != 'a') {
            ++changed;
            EXPECT_TRUE(ch > ' ' && ch < 0x7F);
        }
    }
    EXPECT_NEAR(static_cast<double>(changed) / std::max<std::size_t>(1, out.size()),
                GetParam().garble, 0.02);
}

INSTANTIATE_TEST_SUITE_P(Rates, Faults,
                         testing::Values(FaultCase{0, 0}, FaultCase{0.1, 0}, FaultCase{0, 0.05},
                                         FaultCase{0.3, 0.2}));

TEST(Transmitter, ClearDropsWhatWaits) {
    Transmitter tx(LineConfig{});
    tx.Push("abc");
    tx.Clear();
    EXPECT_TRUE(tx.Empty());
    EXPECT_EQ(tx.Ready(10), "");
}

}  // namespace
}  // namespace sondix::sim
