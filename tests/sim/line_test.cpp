// The simulator's line: pacing, lost and garbled characters with a simulated clock. The built
// sondix-sim on a pseudo-terminal (its link, split output, hang-up): the end-to-end tests.
#include <gtest/gtest.h>

#include <algorithm>

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
Delivery Drain(const LineConfig& c, const std::string& text) {
    Transmitter tx(c);
    tx.Push(text);
    Delivery d;
    double now = 0;
    for (int guard = 0; !tx.Empty() && guard < 1'000'000; ++guard) {
        now = tx.NextTime(now);
        const std::string_view block = tx.Ready(now);
        if (block.empty()) continue;
        d.bytes += block;
        d.blocks.push_back(block.size());
        tx.Sent(block.size(), now);
        d.finished = now + (c.baud > 0 ? block.size() * 10.0 / c.baud : 0.0);
    }
    return d;
}

TEST(SimLine, PacesDropsAndGarbles) {
    for (const auto& [baud, chars] : {std::pair{9600, 960}, {300, 10}, {115200, 20000}}) {
        LineConfig c;
        c.baud = baud;
        const Delivery d = Drain(c, std::string(static_cast<std::size_t>(chars), 'a'));
        EXPECT_EQ(d.bytes.size(), static_cast<std::size_t>(chars));
        EXPECT_NEAR(d.finished, chars * 10.0 / baud, chars * 0.01 / baud) << baud;
        for (const std::size_t b : d.blocks)  // never faster than the line
            EXPECT_LE(b, std::max<std::size_t>(1, static_cast<std::size_t>(baud / 1000)));
    }

    for (const auto& [drop, garble] : {std::pair{0.0, 0.0}, {0.1, 0.0}, {0.3, 0.2}}) {
        LineConfig c;
        c.baud = 0;
        c.dropRate = drop;
        c.garbleRate = garble;
        const std::string out = Drain(c, std::string(20000, 'a')).bytes;
        EXPECT_NEAR(1.0 - out.size() / 20000.0, drop, 0.02);
        const auto changed =
            std::count_if(out.begin(), out.end(), [](char ch) { return ch != 'a'; });
        EXPECT_NEAR(static_cast<double>(changed) / out.size(), garble, 0.02);
    }
}

}  // namespace
}  // namespace sondix::sim
