// The simulator's command line: every option reaches its place, bad values are refused.
#include <gtest/gtest.h>

#include <sstream>

#include "options.h"

namespace sondix::sim {
namespace {

std::optional<CliOptions> Parse(const std::string& line, std::string& error) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return ParseOptions(words, error);
}

TEST(SimOptions, DefaultsAndEveryOptionInItsPlace) {
    std::string error;
    const auto d = Parse("", error);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->line.baud, 9600);
    EXPECT_EQ(FirmwareOf(d->sensor), "0.47");
    const auto o = Parse(
        "--baud 0 --link /tmp/x --velocimeter --firmware 1.49 --nwords 1024 "
        "--results-interval 0.25 --history-records 12 --history-interval 1.5 "
        "--history-loe-every 4 --history-shuffle --split 2:7 --garble 0.01 --drop=0.02 "
        "--hangup-after 3 --seed 99",
        error);
    ASSERT_TRUE(o) << error;
    // The options the end-to-end and CLI tests would not notice lost; the others change what
    // those tests read (the device, the variant, firmware, sizes, split blocks, the hang-up).
    EXPECT_EQ(
        std::tuple(o->sensor.resultsInterval, o->sensor.historyInterval, o->sensor.historyShuffle,
                   o->line.garbleRate, o->line.dropRate, o->sensor.seed, o->line.seed),
        std::tuple(0.25, 1.5, true, 0.01, 0.02, 99u, 99u));
    for (const char* bad : {"--baud", "--baud x", "--baud -1", "--nwords 300", "--nwords 768",
                            "--split 5", "--split 9:3", "--garble 1.5", "--results-interval 0",
                            "--firmware abc", "--frobnicate"}) {
        error.clear();
        EXPECT_FALSE(Parse(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

}  // namespace
}  // namespace sondix::sim
