// The simulator's command line: every option reaches its place, bad values are refused.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

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
    EXPECT_EQ(o->line.baud, 0);
    EXPECT_EQ(o->link, "/tmp/x");
    EXPECT_EQ(o->sensor.variant, Variant::Velocimeter);
    EXPECT_EQ(FirmwareOf(o->sensor), "1.49");
    EXPECT_EQ(o->sensor.nwords, 1024);
    EXPECT_DOUBLE_EQ(o->sensor.resultsInterval, 0.25);
    EXPECT_EQ(o->sensor.historyRecords, 12);
    EXPECT_DOUBLE_EQ(o->sensor.historyInterval, 1.5);
    EXPECT_EQ(o->sensor.historyLoeEvery, 4);
    EXPECT_TRUE(o->sensor.historyShuffle);
    EXPECT_EQ(o->line.splitMin, 2);
    EXPECT_EQ(o->line.splitMax, 7);
    EXPECT_DOUBLE_EQ(o->line.garbleRate, 0.01);
    EXPECT_DOUBLE_EQ(o->line.dropRate, 0.02);
    EXPECT_DOUBLE_EQ(o->hangupAfter, 3);
    EXPECT_EQ(o->sensor.seed, 99u);
    EXPECT_EQ(o->line.seed, 99u);
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
