// The simulator's line: pacing, split blocks, lost and garbled characters with a simulated clock;
// then the built sondix-sim on a real pseudo-terminal (device path, link, clients coming and
// going, split output). Its hang-up: the end-to-end tests.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sensor.h"
#include "sim_process.h"
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

TEST(SimLine, PacesSplitsDropsAndGarbles) {
    for (const auto& [baud, chars] : {std::pair{9600, 960}, {300, 10}, {115200, 20000}}) {
        LineConfig c;
        c.baud = baud;
        const Delivery d = Drain(c, std::string(static_cast<std::size_t>(chars), 'a'));
        EXPECT_EQ(d.bytes.size(), static_cast<std::size_t>(chars));
        EXPECT_NEAR(d.finished, chars * 10.0 / baud, chars * 0.01 / baud) << baud;
        for (const std::size_t b : d.blocks)  // never faster than the line
            EXPECT_LE(b, std::max<std::size_t>(1, static_cast<std::size_t>(baud / 1000)));
    }
    LineConfig split;
    split.baud = 0;
    split.splitMin = 3;
    split.splitMax = 9;
    const Delivery d = Drain(split, std::string(500, 'x'));
    EXPECT_EQ(d.bytes, std::string(500, 'x'));
    for (std::size_t i = 0; i + 1 < d.blocks.size(); ++i) {
        EXPECT_GE(d.blocks[i], 3u);
        EXPECT_LE(d.blocks[i], 9u);
    }
    EXPECT_GE(d.finished, 0.005 * (d.blocks.size() - 1));  // a gap of 5..25 ms after each
    EXPECT_LE(d.finished, 0.025 * d.blocks.size());

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

// Reads the device until the text ends with `end` or three seconds pass.
std::string ReadUntil(int fd, const std::string& end, int* reads) {
    std::string got;
    for (int i = 0; i < 150 && !(!end.empty() && got.ends_with(end)); ++i) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        char buf[4096];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) break;
        ++*reads;
        got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
}

// The host's side: the device opened raw with plain POSIX calls.
int OpenRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

TEST(SimBinary, ServesClientsThatComeAndGoOnItsLinkAndRemovesIt) {
    namespace fs = std::filesystem;
    const fs::path link = fs::temp_directory_path() / ("sondix-sim-" + std::to_string(getpid()));
    test::SimProcess sim({"--baud", "0", "--link", link.string(), "--split", "2:9"});
    ASSERT_EQ(sim.device().rfind("/dev/", 0), 0u) << "first stdout line: " << sim.device();
    ASSERT_EQ(fs::read_symlink(link).string(), sim.device());
    for (const char* command : {"E", "E", "L"}) {
        const int fd = OpenRaw(link.string());
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, command, 1), 1);
        int reads = 0;
        const std::string want = Sensor(Config{}).Feed(command);
        const std::string got = ReadUntil(fd, command[0] == 'E' ? "OK\r\n" : "  ***  \r\n", &reads);
        EXPECT_EQ(got, want);
        EXPECT_GE(reads, command[0] == 'E' ? 1 : 3) << "split output comes in several reads";
        close(fd);
    }
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

}  // namespace
}  // namespace sondix::sim
