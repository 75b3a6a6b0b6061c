// The repeating results stream ("{") and the result fields of the repeating spectrum ("["), read
// as the host's results-line and spectrum-stream steps do.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>

#include "host_rules.h"
#include "sensor.h"

namespace sondix::sim {
namespace {

using test::Val;

struct Line {
    double value = 0;
    std::string s;     // the two characters after "S="
    std::string stat;  // the eight after "stat="
};

// The results-line step: the value after "=", then "S=" and "stat=" after it.
Line ReadResults(const std::string& l) {
    Line r;
    const auto p = l.find('=');
    if (p == std::string::npos) return r;
    auto e = p + 1;
    while (e < l.size() && (l[e] == '-' || l[e] == ' ' || l[e] == '.' || std::isdigit(l[e])))
        ++e;
    r.value = Val(l.substr(p + 1, e - p - 1));
    if (const auto s = l.find("S=", e); s != std::string::npos) r.s = l.substr(s + 2, 2);
    if (const auto t = l.find("stat=", e); t != std::string::npos) r.stat = l.substr(t + 5, 8);
    return r;
}

struct ResultsCase {
    Variant variant;
    std::string outSel;  // the set command for OutSel, "" for the default
    std::string name;    // the line's name before "="
};

class ResultsStream : public testing::TestWithParam<ResultsCase> {};

TEST_P(ResultsStream, LinesCarryValueSignalAndRelayStatus) {
    Config c;
    c.variant = GetParam().variant;
    c.resultsInterval = 0.5;
    Sensor s(c);
    if (!GetParam().outSel.empty()) s.Feed("s" + GetParam().outSel, 0);
    const std::string first = s.Feed("{", 1.0);
    // The first line follows the echo without a line end in between.
    ASSERT_EQ(first.rfind("{" + GetParam().name + "=", 0), 0u) << first;
    std::vector<std::string> lines = {first.substr(1)};
    for (double t = 1.1; t < 6.0; t += 0.1) {
        const std::string out = s.Tick(t);
        if (!out.empty()) lines.push_back(out);
    }
    EXPECT_NEAR(static_cast<double>(lines.size()), 11, 1);  // one every half second
    for (const std::string& l : lines) {
        ASSERT_GE(l.size(), 2u);
        EXPECT_EQ(l.substr(l.size() - 2), "\r\n");
        EXPECT_EQ(l.find('\r'), l.size() - 2) << "one line per result";
        const Line r = ReadResults(l.substr(0, l.size() - 2));
        ASSERT_EQ(r.s.size(), 2u);
        EXPECT_TRUE(std::isdigit(r.s[0]) && std::isdigit(r.s[1])) << l;
        ASSERT_EQ(r.stat.size(), 8u);
        EXPECT_EQ(r.stat.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        const auto stat = std::stoul(r.stat, nullptr, 16);
        EXPECT_EQ(stat & ~0x2003UL, 0u) << "only relay and lost-echo bits";
        if (stat & 0x2000) {
            EXPECT_EQ(r.s, "00");
        }
        EXPECT_NE(r.value, 0);
    }
    EXPECT_EQ(s.Feed("}", 6.1), "}\r\n");
    EXPECT_EQ(s.Tick(9.0), "");
}

INSTANTIATE_TEST_SUITE_P(OutputVariables, ResultsStream,
                         testing::Values(ResultsCase{Variant::Distance, "", "Dist"},
                                         ResultsCase{Variant::Distance, "82000000", "Vel"},
                                         ResultsCase{Variant::Velocimeter, "", "Vel"},
                                         ResultsCase{Variant::Velocimeter, "63000001", "TotDist"}));

TEST(ResultsStream, RelayBitsFollowTheRelayModes) {
    Config c;
    Sensor s(c);
    s.Feed("s49000005", 0);  // relay 1 always on
    s.Feed("s50000006", 0);  // relay 2 always off
    EXPECT_EQ(ReadResults(s.Feed("{", 1).substr(1)).stat.substr(6), "01");
    s.Feed("R", 2);
    s.Feed("s50000005", 2);
    EXPECT_EQ(ReadResults(s.Feed("{", 3).substr(1)).stat.substr(6), "03");
}

TEST(SpectrumStream, DistanceFieldsStandWhereTheStepReadsThem) {
    Sensor s{Config{}};
    const std::string a = s.Feed("[", 1);
    const std::string h = a.substr(0, a.find("SPECTRUM MODAMP DECIMAL "));
    const auto d = h.find("Dist=");
    const auto v = h.find("Vel=");
    const auto sig = h.find("S=");
    const auto fa = h.find("Favr=");
    const auto fd = h.find("Fdif=");
    ASSERT_TRUE(d != std::string::npos && v != std::string::npos && sig != std::string::npos &&
                fa != std::string::npos && fd != std::string::npos);
    EXPECT_NEAR(Val(h.substr(d + 5, 6)), 5000, 1000);
    EXPECT_EQ(h[v + 4], ' ') << "the step skips this character";
    EXPECT_LT(std::fabs(Val(h.substr(v + 5, 6))), 100);
    EXPECT_GT(Val(h.substr(sig + 2, 3)), 0);
    // Distance = CalFac x frequency.
    EXPECT_NEAR(Val(h.substr(fa + 5, 8)) * 15.36, Val(h.substr(d + 5, 6)), 2);
    EXPECT_LT(std::fabs(Val(h.substr(fd + 5, 9))), 10);
    EXPECT_NE(h.find("RAMP "), std::string::npos);
}

TEST(SpectrumStream, VelocimeterFieldsStandWhereTheStepReadsThem) {
    Config c;
    c.variant = Variant::Velocimeter;
    Sensor s(c);
    const std::string a = s.Feed("[", 1);
    const std::string h = a.substr(0, a.find("SPECTRUM MODAMP DECIMAL "));
    EXPECT_EQ(h.find("Dist="), std::string::npos);
    const auto v = h.find("Vel =");
    const auto f = h.find("f =");
    ASSERT_NE(v, std::string::npos);
    ASSERT_NE(f, std::string::npos);
    EXPECT_EQ(h.substr(f + 3, 2), "  ") << "the step skips these characters";
    const double vel = Val(h.substr(v + 5, 7));
    EXPECT_NEAR(vel, 1500, 400);
    EXPECT_NEAR(Val(h.substr(f + 5, 8)) * 6.2176, vel, 2);
}

}  // namespace
}  // namespace sondix::sim
