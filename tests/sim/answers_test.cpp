// The simulated sensor's answers read by the program's own readers (ShowData on the headless
// fakes, as `sondix-cli decode` runs it): every data graph charts with its word count and the
// spectrum's peak where the decoded frequency says; results, timer and logo decode; and the
// interpreter's own rules (echoes, calibration code, stop, typed lines, seeds).
#include <gtest/gtest.h>

#include <cmath>
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
        s.ResultDisp_Loaded = command == '{';
        ShowData(s, term, answer);
    }
    std::string Boxes() const {
        std::string out;
        for (const AskedMessage& m : asker.asked)
            out += m.title + ": " + m.text + "\n";
        return out;
    }
};

Sensor MakeSensor(Variant variant, int nwords = 0) {
    Config c;
    c.variant = variant;
    c.nwords = nwords;
    c.seed = 7;
    return Sensor(c);
}

TEST(SimAnswers, EveryDataGraphChartsWithItsWordCount) {
    // (command, words; 0: the sensor's own from Log2Nfft, variant)
    const struct {
        char command;
        int nwords;
        Variant variant;
    } cases[] = {{'D', 0, Variant::Distance},       {'D', 1024, Variant::Velocimeter},
                 {'D', 2048, Variant::Distance},    {'y', 0, Variant::Distance},
                 {'y', 512, Variant::Velocimeter},  {'F', 512, Variant::Distance},
                 {'F', 1024, Variant::Velocimeter}, {'F', 2048, Variant::Distance},
                 {'[', 0, Variant::Distance},       {'[', 1024, Variant::Velocimeter}};
    for (const auto& c : cases) {
        Sensor sensor = MakeSensor(c.variant, c.nwords);
        const bool time = c.command == 'D' || c.command == 'y';
        const int words = time ? sensor.TimeWords() : sensor.SpectrumWords();
        SCOPED_TRACE(std::string(1, c.command) + " " + std::to_string(words));
        EXPECT_TRUE(c.nwords == 0 || words == c.nwords);
        const Decoded d(c.command, sensor.Feed(std::string(1, c.command), 12.5));
        EXPECT_EQ(d.Boxes(), "");
        EXPECT_EQ(d.host.graphShows, 1);
        const GraphModel& g = d.s.graph;
        EXPECT_TRUE(c.command == '[' || g.NPoints() == words);  // the stream shows a zoom
        ASSERT_GT(g.NPoints(), 10);
        if (time) {
            EXPECT_NEAR(d.s.res.SamplePeriodUs, sensor.State().params.Get("SampleT"), 1e-3);
            continue;
        }
        // The peak (past the leak of the sweep at the lowest points) sits at the beat frequency.
        int best = 3;
        for (int i = 4; i < g.NPoints(); ++i)
            if (g.points[i].y > g.points[best].y) best = i;
        EXPECT_NEAR(g.points[best].x, std::fabs(d.s.res.ResultFreq), 1.5 * g.XAxisScaleFact);
    }
}

TEST(SimAnswers, ResultsTimerAndLogoDecode) {
    for (const Variant v : {Variant::Distance, Variant::Velocimeter}) {
        Config c;
        c.variant = v;
        c.resultsInterval = 0.5;
        Sensor sensor(c);
        sensor.Feed("s49000005", 0);  // relay 1 always on
        const std::string first = sensor.Feed("{", 1.0);
        const Decoded d('{', first + sensor.Tick(1.6));
        EXPECT_EQ(d.Boxes(), "");
        EXPECT_GE(d.host.resultsUpdates, 1);
        const double value = std::stod(d.s.results.txtOutputvalue);
        EXPECT_NEAR(value, v == Variant::Distance ? 5000 : 1500,
                    v == Variant::Distance ? 1000 : 400);
        EXPECT_EQ(d.s.results.txtSigstrength.size(), 2u);
        EXPECT_EQ(d.s.results.shpRelay1, (Colour{127, 255, 127}));
    }
    Sensor sensor{Config{}};
    const Decoded t('T', sensor.Feed("T", 10));
    // Running for days, long enough to have filled its history log.
    EXPECT_GT(t.s.res.UnitTimeDays, 12);
    EXPECT_LT(t.s.res.UnitTimeDays, 40);
    const Decoded later('T', sensor.Feed("T", 110));
    EXPECT_NEAR((later.s.res.UnitTimeDays - t.s.res.UnitTimeDays) * 86400, 100, 0.2);
    const Decoded l('L', sensor.Feed("L", 11));
    EXPECT_EQ(l.Boxes(), "");
    EXPECT_NE(l.s.parser.AnswerText.find("Ver0.47\r\n"), std::string::npos);
}

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

}  // namespace
}  // namespace sondix::sim
