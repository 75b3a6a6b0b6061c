// The simulated sensor's interpreter rules (echoes, calibration code, stop, typed lines, seeds,
// the stream's pause) and its history log read by the program's history reader. Its other answers
// are read by the program's readers end to end (tests/e2e) and in the CLI's captures.
#include <gtest/gtest.h>

#include <string>

#include "config/read_par.h"
#include "response/show_data.h"
#include "sensor.h"
#include "terminal/headless_io.h"
#include "terminal/main_window.h"

namespace sondix::sim {
namespace {

// A session that has just sent `command` and reads `answer` in one block.
struct Decoded : HeadlessSession {
    Decoded(char command, std::string answer) {
        s.CommandKey = static_cast<unsigned char>(command);
        ResetVariables(s);
        ShowData(s, term, answer);
    }
};

TEST(SimInterpreter, EchoesAndShortAnswers) {
    const std::pair<const char*, const char*> cases[] = {
        {"E", "E\r\nOK\r\n"}, {"x", "x"},     {"\r", "\r\n"}, {"\n", ""}, {"]", "]\r\n"},
        {"}", "}\r\n"},       {"R", "R\r\n"}, {"s", "s"},     {"c", "c"}, {"I", "I"}};
    for (const auto& [sent, answer] : cases)
        EXPECT_EQ(Sensor{Config{}}.Feed(sent, 1.0), answer) << sent;
    Sensor s{Config{}};
    s.Feed("s", 0);
    EXPECT_EQ(s.Feed("E", 11), "E\r\nOK\r\n") << "digits that come too late are commands again";
}

TEST(SimInterpreter, OnlyTheAccessCodeCalibrates) {
    for (const auto& [code, done] : {std::pair{"417", true}, {"418", false}, {"41x", false}}) {
        Sensor s{Config{}};
        const double before = GetParValue(s.Feed("P", 1), "CalFac  =");
        s.Feed("c", 2);
        const std::string answer = s.Feed(code, 3);
        EXPECT_EQ(answer.find("Calibration Done") != std::string::npos, done) << code;
        EXPECT_EQ(GetParValue(s.Feed("P", 4), "CalFac  =") != before, done) << code;
        // A refusal never holds a "D": the program reads that letter as success.
        EXPECT_TRUE(done || answer.find_first_of("Dd") == std::string::npos) << answer;
    }
    Sensor s{Config{}};
    s.Feed("s41009999", 0);  // a threshold no echo reaches
    EXPECT_EQ(s.Feed("c417", 1).find_first_of("Dd", 4), std::string::npos);
}

TEST(SimInterpreter, TypedLinesStopAndSeeds) {
    Sensor s{Config{}};
    s.Feed("I", 0);
    EXPECT_EQ(s.Feed("s19000007\n", 1.5), "s19000007\r\n\r\nOK\r\n");
    EXPECT_DOUBLE_EQ(GetParValue(s.Feed("P", 2), "Damping ="), 7);

    Config c;
    c.resultsInterval = 0.5;
    Sensor r(c);
    r.Feed("{", 0);
    r.Feed("s19000004", 0.1);
    EXPECT_NE(r.Tick(0.6), "") << "a setting does not end the stream";
    EXPECT_EQ(r.Feed("PR", 1), "R\r\n") << "R drops what was made before it";
    EXPECT_TRUE(r.TakeFlushRequest());
    EXPECT_EQ(r.Tick(3), "");

    c.seed = 42;
    Sensor a(c);
    Sensor b(c);
    for (const char* cmd : {"D", "F", "y", "H", "P"})
        EXPECT_EQ(a.Feed(cmd, 5), b.Feed(cmd, 5));
    EXPECT_NE(Sensor(Config{}).Feed("D", 5), a.Feed("D", 5));
}

TEST(SimInterpreter, NextStreamSpectrumWaitsForAQuietLine) {
    Config c;
    c.nwords = 512;
    Sensor s(c);
    ASSERT_FALSE(s.Feed("[", 0).empty());
    EXPECT_EQ(s.Tick(0.5, false), "");  // line still busy
    EXPECT_EQ(s.Tick(1.2, true), "");   // quiet, but not yet for the gap
    const Decoded d('[', s.Tick(1.6, true));
    EXPECT_EQ(d.host.graphShows, 1);
    EXPECT_EQ(s.Feed("]", 2.0), "]\r\n");
    EXPECT_EQ(s.Tick(5.0, true), "");
}

// Both variants' history logs: every record read in the reader's columns without a box, loss of
// echo in every 7th record's status, the record interval, the loop current within 3.6..20.5 mA.
TEST(SimHistory, BothVariantsReadByTheHistoryReader) {
    for (const auto& [variant, count, interval] :
         {std::tuple{Variant::Distance, 240, 10.0}, {Variant::Velocimeter, 100, 600.0}}) {
        Config c;
        c.variant = variant;
        c.historyRecords = count;
        c.historyInterval = interval;
        c.historyLoeEvery = 7;
        const Decoded d('H', Sensor(c).Feed("H", 100));
        EXPECT_TRUE(d.asker.asked.empty()) << d.asker.asked.front().text;
        ASSERT_EQ(d.s.histChart.NPoints(), count);
        const Gen::HistoryArrays& a = d.s.hist;
        for (int i = 1; i <= count; ++i) {
            EXPECT_EQ((a.HistStatus[i] & 0x2000) != 0, i % 7 == 0) << i;
            EXPECT_GE(a.HistLoopPct[i], (3600 - 4000) / 160.0) << i;
            EXPECT_LE(a.HistLoopPct[i], (20500 - 4000) / 160.0) << i;
            const double step = i > 1 ? (a.HistTime[i] - a.HistTime[i - 1]) * 60 : interval;
            EXPECT_NEAR(step, interval, 0.1) << i;
        }
    }
}

}  // namespace
}  // namespace sondix::sim
