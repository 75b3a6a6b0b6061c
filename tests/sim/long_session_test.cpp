// An hour with the sensor, compressed: the repeating spectrum and the results stream by turns,
// five minutes each, and a history transfer every five minutes, all through ShowData in the
// blocks a fast line delivers. Memory stays flat (resident size after the first ten minutes
// against the end), the terminal stays within its trim, and no box comes up: no "Data transfer
// too long" however long a stream runs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>
#include <fstream>
#include <string>

#include "response/show_data.h"
#include "sensor.h"
#include "terminal/headless_io.h"
#include "terminal/main_window.h"

namespace sondix::sim {
namespace {

long ResidentBytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

TEST(LongSession, AnHourOfStreamsAndHistoriesKeepsMemoryFlat) {
    constexpr double kHour = 3600, kStep = 0.25, kTurn = 300;
    constexpr std::size_t kBlock = 1024;
    Sensor sensor{Config{}};
    HeadlessSession h;
    h.s.ResultDisp_Loaded = true;
    h.host.resultsWindow = true;
    int spectra = 0, histories = 0;
    long warm = 0;
    const std::clock_t cpu = std::clock();
    auto feed = [&](const std::string& bytes) {
        for (std::size_t at = 0; at < bytes.size(); at += kBlock) {
            std::string block = bytes.substr(at, kBlock);
            ShowData(h.s, h.term, block);
        }
    };
    auto send = [&](char key, double now) {
        h.s.CommandKey = KeyCode(key);
        ResetVariables(h.s);
        h.s.ResultDisp_Loaded = true;
        feed(sensor.Feed(std::string(1, key), now));
    };
    for (double now = 0; now < kHour; now += kStep) {
        if (std::fmod(now, kTurn) == 0) {
            send('H', now);  // the history between the streams, then the next stream
            ++histories;
            send(static_cast<int>(now / kTurn) % 2 == 0 ? '[' : '{', now);
        }
        const int shows = h.host.graphShows;
        feed(sensor.Tick(now));
        spectra += h.host.graphShows - shows;
        if (now == 600) warm = ResidentBytes();
        ASSERT_LE(h.term.text.size(), 16384u + 2 * kBlock) << "at " << now << " s";
    }
    const double cpuSeconds = static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    const long growth = ResidentBytes() - warm;
    RecordProperty("cpu_seconds", std::to_string(cpuSeconds));
    RecordProperty("resident_growth_bytes", std::to_string(growth));
    EXPECT_TRUE(h.asker.asked.empty())
        << h.asker.asked.front().title << ": " << h.asker.asked.front().text;
    EXPECT_GE(spectra, 1000);  // half an hour of "[" at one spectrum a second and more
    EXPECT_EQ(histories, 12);
    EXPECT_LT(growth, 1 << 20);
}

}  // namespace
}  // namespace sondix::sim
