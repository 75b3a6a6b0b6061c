// The command interpreter: echoes, small answers, calibration, the typed line, stopping.
#include <gtest/gtest.h>

#include <string>

#include "host_rules.h"
#include "sensor.h"

namespace sondix::sim {
namespace {

using test::GetParValue;

struct EchoCase {
    std::string sent;
    std::string answer;  // exact, or its start when `prefix`
    bool prefix;
};

class Echo : public testing::TestWithParam<EchoCase> {};

TEST_P(Echo, AnswersAsTheInterpreterDoes) {
    Sensor s{Config{}};
    const std::string out = s.Feed(GetParam().sent, 1.0);
    if (GetParam().prefix) {
        EXPECT_EQ(out.substr(0, GetParam().answer.size()), GetParam().answer);
    } else {
        EXPECT_EQ(out, GetParam().answer);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, Echo,
    testing::Values(EchoCase{"E", "E\r\nOK\r\n", false}, EchoCase{"x", "x", false},
                    EchoCase{"\r", "\r\n", false}, EchoCase{"\n", "", false},
                    EchoCase{"?", "?\r\nFMCW radar commands:\r\n", true},
                    EchoCase{"T", "T\r\nTimer=", true},
                    EchoCase{"L", "L\r\nSYSTEM LOGO:\r\nFMCW RADAR Ver0.47\r\n", true},
                    EchoCase{"]", "]\r\n", false}, EchoCase{"}", "}\r\n", false},
                    EchoCase{"R", "R\r\n", false}, EchoCase{"s", "s", false},
                    EchoCase{"c", "c", false}, EchoCase{"I", "I", false}));

TEST(Commands, TimerAnswerAndLogoFitTheirReaders) {
    Sensor s{Config{}};
    const std::string t = s.Feed("T", 10);
    // The timer reader waits for a CR at or after position 4, then reads 11 characters.
    const auto p = t.find("Timer=");
    EXPECT_NE(t.find('\r', 3), std::string::npos);
    const double ticks = test::Val(t.substr(p + 6, 11));
    const double days = ticks * 87.381 / 8.64e7;
    // Running for days, long enough to have filled its history log.
    EXPECT_GT(days, 12);
    EXPECT_LT(days, 40);
    const double later = test::Val(s.Feed("T", 110).substr(p + 6, 11));
    EXPECT_NEAR((later - ticks) * 87.381 / 1000, 100, 0.2);

    const std::string l = s.Feed("L", 11);
    EXPECT_LT(l.size(), 500u);
    EXPECT_EQ(l.substr(l.size() - 9), "  ***  \r\n");
}

struct CodeCase {
    std::string code;
    bool done;
};

class Calibration : public testing::TestWithParam<CodeCase> {};

TEST_P(Calibration, RightCodeCalibratesWrongCodeIsRefusedWithoutD) {
    Sensor s{Config{}};
    const double before = GetParValue(s.Feed("P", 1), "CalFac  =");
    EXPECT_EQ(s.Feed("c", 2), "c");
    const std::string answer = s.Feed(GetParam().code, 3);
    EXPECT_EQ(answer.substr(0, 3), GetParam().code);
    const double after = GetParValue(s.Feed("P", 4), "CalFac  =");
    if (GetParam().done) {
        EXPECT_NE(answer.find("Calibration Done"), std::string::npos);
        EXPECT_NE(after, before);
        // Calibrated against CalDist: the sensor now reads the target at 5000 mm.
        const std::string r = s.Feed("{", 3);
        EXPECT_NEAR(test::Val(r.substr(r.find('=') + 1, 10)), 5000, 40);
    } else {
        EXPECT_EQ(answer.find_first_of("Dd"), std::string::npos) << answer;
        EXPECT_DOUBLE_EQ(after, before);
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, Calibration,
                         testing::Values(CodeCase{"417", true}, CodeCase{"418", false},
                                         CodeCase{"000", false}, CodeCase{"41x", false}));

TEST(Calibration, LostEchoRefusesWithoutD) {
    Sensor s{Config{}};
    s.Feed("s41009999", 0);  // a threshold no echo reaches
    const std::string answer = s.Feed("c417", 1);
    EXPECT_EQ(answer.find_first_of("Dd", 4), std::string::npos) << answer;
    EXPECT_NE(answer.find("no calibration"), std::string::npos);
}

TEST(Commands, DigitsThatComeTooLateAreCommandsAgain) {
    Sensor s{Config{}};
    s.Feed("s", 0);
    EXPECT_EQ(s.Feed("E", 11), "E\r\nOK\r\n");
}

TEST(Commands, TypedLineIsEchoedThenRun) {
    Sensor s{Config{}};
    EXPECT_EQ(s.Feed("I", 0), "I");
    EXPECT_EQ(s.Feed("hello\n", 0.5), "hello\r\n");
    s.Feed("I", 1);
    EXPECT_EQ(s.Feed("s19000007\n", 1.5), "s19000007\r\n\r\nOK\r\n");
    EXPECT_DOUBLE_EQ(GetParValue(s.Feed("P", 2), "Damping ="), 7);
    s.Feed("I", 3);
    const std::string listing = s.Feed("P\n", 3.5);
    EXPECT_EQ(listing.rfind("P\r\n\r\nVel     =", 0), 0u);
}

TEST(Commands, StopDropsQueuedOutputAndStreams) {
    Config c;
    c.resultsInterval = 0.5;
    Sensor s(c);
    s.Feed("{", 0);
    EXPECT_EQ(s.Feed("R", 0.2), "R\r\n");
    EXPECT_TRUE(s.TakeFlushRequest());
    EXPECT_FALSE(s.TakeFlushRequest());
    EXPECT_EQ(s.Tick(3), "");
    // Output made before "R" in the same read is dropped with the rest.
    EXPECT_EQ(s.Feed("PR", 4), "R\r\n");
}

TEST(Commands, AnotherAnswerEndsAStreamButSettingsDoNot) {
    Config c;
    c.resultsInterval = 0.5;
    Sensor s(c);
    s.Feed("{", 0);
    s.Feed("s19000004", 0.1);
    EXPECT_NE(s.Tick(0.6), "");
    s.Feed("T", 0.7);
    EXPECT_EQ(s.Tick(1.5), "");
}

TEST(Commands, SameSeedSameAnswers) {
    Config c;
    c.seed = 42;
    Sensor a(c);
    Sensor b(c);
    for (const char* cmd : {"D", "F", "y", "H", "P"})
        EXPECT_EQ(a.Feed(cmd, 5), b.Feed(cmd, 5));
    c.seed = 43;
    Sensor other(c);
    EXPECT_NE(Sensor(Config{}).Feed("D", 5), other.Feed("D", 5));
}

}  // namespace
}  // namespace sondix::sim
