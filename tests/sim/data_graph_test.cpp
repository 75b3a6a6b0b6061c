// Data graph answers read back by the host's framing rules: word count, terminator position,
// header fields, every word readable.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "host_rules.h"
#include "sensor.h"

namespace sondix::sim {
namespace {

using test::ExpectedTerminator;
using test::FrameGraph;
using test::Val;
using test::Word;

struct GraphCase {
    char command;
    int nwords;  // 0: the sensor's own choice from Log2Nfft
    Variant variant;
};

std::string Name(const testing::TestParamInfo<GraphCase>& info) {
    const GraphCase& c = info.param;
    const char* kind = c.command == 'D'   ? "Time"
                       : c.command == 'y' ? "Ramp"
                       : c.command == 'F' ? "Spectrum"
                                          : "Stream";
    return std::string(kind) + "_" + std::to_string(c.nwords) +
           (c.variant == Variant::Velocimeter ? "_Velocimeter" : "_Distance");
}

class DataGraph : public testing::TestWithParam<GraphCase> {
  protected:
    std::string Answer(Sensor& s) { return s.Feed(std::string(1, GetParam().command), 12.5); }
    Sensor MakeSensor() {
        Config c;
        c.variant = GetParam().variant;
        c.nwords = GetParam().nwords;
        c.seed = 7;
        return Sensor(c);
    }
    bool Time() const { return GetParam().command == 'D' || GetParam().command == 'y'; }
    int Width() const { return Time() ? 4 : 3; }
    int K() const { return Time() ? 3 : 2; }
};

// The terminator stands where the word count puts it, and every word, 16 to a line, is a number.
TEST_P(DataGraph, TerminatorWhereTheWordCountPutsItAndEveryWordANumber) {
    Sensor s = MakeSensor();
    const std::string a = Answer(s);
    const auto f = FrameGraph(a, Time());
    ASSERT_TRUE(f.ok) << a.substr(0, 400);
    const int expected =
        GetParam().nwords ? GetParam().nwords : (Time() ? s.TimeWords() : s.SpectrumWords());
    EXPECT_EQ(f.nwords, expected);
    EXPECT_EQ(f.terminator, ExpectedTerminator(f.nwords, Width(), K()));
    // A line end follows the terminator, and nothing after it.
    EXPECT_EQ(f.data.substr(static_cast<std::size_t>(f.terminator - 1)), "  ***  \r\n");
    // Without the line ends, the text before the terminator is the words and the gap.
    std::string words = f.data.substr(0, static_cast<std::size_t>(f.terminator - 1));
    std::erase(words, '\r');
    std::erase(words, '\n');
    EXPECT_EQ(words.size(), static_cast<std::size_t>(f.nwords * Width()));
    for (int i = 1; i <= f.nwords; ++i) {
        const std::string w = Word(f.data, i, Width());
        ASSERT_EQ(w.size(), static_cast<std::size_t>(Width()));
        ASSERT_EQ(w.find_first_not_of(" -0123456789"), std::string::npos) << "word " << i;
        const double v = Val(w);
        if (GetParam().command == 'D') {
            ASSERT_GE(v, 0);
            ASSERT_LE(v, 1023);
        }
        if (!Time()) {
            ASSERT_GE(v, 0);
        }
    }
}

TEST_P(DataGraph, HeaderFieldsReadBackTheSamplePeriod) {
    Sensor s = MakeSensor();
    const auto f = FrameGraph(Answer(s), Time());
    ASSERT_TRUE(f.ok);
    const double sampleUs = s.State().params.Get("SampleT");
    if (Time()) {
        const auto h = static_cast<std::size_t>(f.headerEnd);  // 1-based CR position
        const std::string& a = f.header;
        EXPECT_EQ(a[h - 1], '\r');
        EXPECT_DOUBLE_EQ(Val(a.substr(h - 27 - 1, 3)), s.State().params.Get("Gain"));
        EXPECT_DOUBLE_EQ(Val(a.substr(h - 23 - 1, 4)), 3680);
        EXPECT_DOUBLE_EQ(Val(a.substr(h - 18 - 1, 6)) * 0.01, sampleUs);
    } else {
        EXPECT_NE(f.labelPos, 24);  // the reader ignores a label at exactly 24
        EXPECT_DOUBLE_EQ(Val(f.label.substr(4, 4)) * 0.001, 3.68);
        EXPECT_DOUBLE_EQ(Val(f.label.substr(9, 6)) * 0.01, sampleUs);
        EXPECT_EQ(f.label.substr(20, 8), " NWORDS=");
    }
}

class SpectrumPeak : public DataGraph {};

TEST_P(SpectrumPeak, SitsAtTheBeatFrequency) {
    Sensor s = MakeSensor();
    const auto f = FrameGraph(Answer(s), false);
    ASSERT_TRUE(f.ok);
    // Host scaling: FreqStep = 1e6 / SampleT / (2 n); the header holds the frequency.
    const double step = 1e6 / s.State().params.Get("SampleT") / (2.0 * f.nwords);
    int best = 3;  // past the leak of the sweep at the lowest points
    for (int i = 4; i <= f.nwords; ++i) {
        if (Val(Word(f.data, i, 3)) > Val(Word(f.data, best, 3))) best = i;
    }
    const double peakHz = (best - 1) * step;
    double beatHz = 0;
    if (GetParam().command == 'F') {
        beatHz = Val(test::VariableField(f.header, "Freq    =")) * 0.01;
    } else {
        const auto p = f.header.find(GetParam().variant == Variant::Velocimeter ? "f =" : "Favr=");
        beatHz = Val(f.header.substr(p + 5, 8));
    }
    EXPECT_NEAR(peakHz, std::fabs(beatHz), 1.5 * step);
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, DataGraph,
    testing::Values(GraphCase{'D', 0, Variant::Distance}, GraphCase{'D', 512, Variant::Distance},
                    GraphCase{'D', 1024, Variant::Velocimeter},
                    GraphCase{'D', 2048, Variant::Distance}, GraphCase{'y', 0, Variant::Distance},
                    GraphCase{'y', 512, Variant::Velocimeter}, GraphCase{'F', 0, Variant::Distance},
                    GraphCase{'F', 512, Variant::Distance},
                    GraphCase{'F', 1024, Variant::Velocimeter},
                    GraphCase{'F', 2048, Variant::Distance}, GraphCase{'[', 0, Variant::Distance},
                    GraphCase{'[', 1024, Variant::Velocimeter}),
    Name);

INSTANTIATE_TEST_SUITE_P(Spectra, SpectrumPeak,
                         testing::Values(GraphCase{'F', 0, Variant::Distance},
                                         GraphCase{'F', 512, Variant::Velocimeter},
                                         GraphCase{'F', 2048, Variant::Distance},
                                         GraphCase{'[', 0, Variant::Distance},
                                         GraphCase{'[', 1024, Variant::Velocimeter}),
                         Name);

TEST(DataGraphStream, NextSpectrumWaitsForAQuietLineAndStopsOnRequest) {
    Config c;
    c.nwords = 512;
    Sensor s(c);
    ASSERT_FALSE(s.Feed("[", 0).empty());
    EXPECT_EQ(s.Tick(0.5, false), "");  // line still busy
    EXPECT_EQ(s.Tick(1.2, true), "");   // quiet, but not yet for the gap
    const std::string second = s.Tick(1.6, true);
    const auto f = FrameGraph(second, false);
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.terminator, ExpectedTerminator(512, 3, 2));
    EXPECT_EQ(second.rfind("Dist=", 0), 0u) << "a later spectrum starts with its result fields";
    EXPECT_EQ(s.Feed("]", 2.0), "]\r\n");
    EXPECT_EQ(s.Tick(5.0, true), "");
}

TEST(DataGraphStream, RampDirectionAlternatesFromSweepToSweep) {
    Sensor s{Config{}};
    const std::string first = s.Feed("y", 1);
    const std::string second = s.Feed("y", 2);
    EXPECT_NE(first.find("RAMP DOWN"), std::string::npos);
    EXPECT_NE(second.find("RAMP UP  "), std::string::npos);
    // The host plots -0.01 per count: an upward sweep rises from its first to its last word.
    const auto f = FrameGraph(second, true);
    EXPECT_GT(Val(Word(f.data, f.nwords, 4)) * -0.01, Val(Word(f.data, 1, 4)) * -0.01);
}

}  // namespace
}  // namespace sondix::sim
