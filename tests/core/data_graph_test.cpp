// The data graph decoders' rules and edge cases: the cut to the data words, garbled and missing
// header fields, word positions, label steps, the ramp's y range and the stream's zoom. Whole
// decodes of real answers are checked through sondix-cli's expected reports (tests/cli).
#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

#include "common/gen_datetime.h"
#include "graph_answer.h"
#include "response/data_graph.h"
#include "response/data_graph_rules.h"
#include "response/status_lines.h"
#include "session_fixture.h"

namespace sondix {
namespace {

using test::GraphAnswer;
using test::SpectrumLabelLine;
using test::TimeHeaderLine;

constexpr double kVolts = 3.68 / 1024;

// The status listing and timer that head a "D" answer: 0.2 ms per sample, just under a day.
const std::string kTimeListing =
    "Timer=     988773\r\nVel     =  0.0\r\nDist    = 1500\r\nFreq    = 123456 \r\n"
    "Quality =   45\r\nVrefcal = 3.68 \r\nSampleT = 20000\r\nRAMP UP  \r\n";
// A velocimeter's listing before a spectrum; the sample period comes from the label line.
const std::string kSpectListing =
    "Vel     = 12.5\r\nFreq    = 123456 \r\nQuality =   45\r\nRAMP DOWN\r\n";

std::vector<int> Counts(int n, int modulo) {
    std::vector<int> w(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        w[static_cast<std::size_t>(i)] = (i * 7) % modulo;
    return w;
}

// What the dispatcher does around the decoders: the header step at the change to state 2, the
// cut at the terminator, the decode step once the line end has arrived.
long long Receive(test::SessionFixture& f, char key, int nwords, const std::string& answer) {
    f.s.parser.NWords = static_cast<std::int16_t>(nwords);
    f.s.parser.AnswerText = answer;
    return GraphHeaderStep(f.s, key);
}

void CutAndDecode(test::SessionFixture& f, char key, int width, int k) {
    std::string& text = f.s.parser.AnswerText;
    const auto q = static_cast<long long>(text.find("  ***  ")) + 1;
    ASSERT_EQ(q, test::TerminatorPosition(f.s.parser.NWords, width, k));
    text.resize(static_cast<std::size_t>(q));
    f.s.parser.AnswerLen = static_cast<std::int32_t>(q);
    GraphDecodeStep(f.s, key);
}


// ---- header step ----

// A period of 0 would be divided by when a spectrum without its label fields follows.
TEST(TimeHeader, GarbledRampPeriodFallsBackToOneMicrosecond) {
    test::SessionFixture f;
    Receive(f, 'y', 512, TimeHeaderLine(512, 17, 3680, 0) + "1234");
    EXPECT_FLOAT_EQ(f.s.res.SamplePeriodUs, 1);
    EXPECT_DOUBLE_EQ(f.s.res.SamplePeriodMs, 0.001);
}

const std::string kLine = "NWORDS=1024 001 3680 020000            \r\n";
const std::string kLabel = SpectrumLabelLine(1024, 1, 3680, 2000, 512);

TEST(TimeHeader, CutKeepsEveryDataCharacterAfterTheHeaderLine) {
    const struct {
        char key;
        std::string answer;
        long long h;
        std::string header, data;
    } cases[] = {// One character after the header line is data, not lost.
                 // clang-format off
        {'D', kLine + "0", 40, kLine.substr(0, 40), "0"},
        {'y', kLine + "01", 40, kLine.substr(0, 40), "01"},
        {'D', kLine, 40, kLine.substr(0, 40), ""},
                 // clang-format on
                 // No CR yet: no header line, no data.
                 {'D', "NWORDS=1024 001 3680", 0, "", ""},
                 // The CR that counts is the first one after "NWORDS=".
                 {'D', "LOGO\r\n" + kLine + "7", 46, "LOGO\r\n" + kLine.substr(0, 40), "7"},
                 // Spectra: H counts in the text after the label.
                 // clang-format off
        {'F', kLabel + "5", 33, "S", "5"}, {'[', "AB" + kLabel + "56", 33, "ABS", "56"},
        {'F', kLabel.substr(0, 40), 0, "S", ""},
                 // clang-format on
                 // A label at position 24 carries no fields and no data.
                 {'F', std::string(23, '-') + kLabel + "5", 0, std::string(23, '-') + "S", ""}};
    for (const auto& c : cases) {
        test::SessionFixture f;
        SCOPED_TRACE(c.answer);
        EXPECT_EQ(Receive(f, c.key, 1024, c.answer), c.h);
        EXPECT_EQ(f.s.parser.HeaderText, c.header);
        EXPECT_EQ(f.s.parser.AnswerText, c.data);
        EXPECT_EQ(f.s.parser.AnswerLen, static_cast<std::int32_t>(c.data.size()));
    }
}

TEST(TimeHeader, CrWithinTheFirst27CharactersReadsFieldsAsZero) {
    test::SessionFixture f;
    f.s.graphHdr.HeaderNumA = 5;
    EXPECT_EQ(Receive(f, 'D', 2048, "NWORDS=2048\r\n0001"), 12);
    EXPECT_EQ(f.s.graphHdr.HeaderNumA, 0);
    EXPECT_FLOAT_EQ(f.s.res.VrefCal, 0);
    EXPECT_FLOAT_EQ(f.s.res.SamplePeriodUs, 0);
    EXPECT_EQ(f.s.parser.AnswerText, "0001");

    EXPECT_EQ(Receive(f, 'y', 2048, "NWORDS=2048 99\r\n"), 15);
    // The period reads 0 and falls back to 1 us, as a garbled one does.
    EXPECT_FLOAT_EQ(f.s.res.SamplePeriodUs, 1);
    EXPECT_DOUBLE_EQ(f.s.res.SamplePeriodMs, 0.001);
}

TEST(SpectrumHeader, WithoutLabelFieldsStart24CharactersAfterNwords) {
    test::SessionFixture f;
    const std::string line = "NWORDS=1024  FILLER     007 2500 000000 0256\r\n";
    EXPECT_EQ(Receive(f, 'F', 1024, "LOGO " + line + "123"), 21);
    EXPECT_EQ(f.s.parser.HeaderText, "LOGO N");
    EXPECT_EQ(f.s.graphHdr.HeaderNumA, 7);
    EXPECT_FLOAT_EQ(f.s.res.VrefCal, 2.5f);
    EXPECT_FLOAT_EQ(f.s.res.SamplePeriodUs, 1);  // a period of 0 falls back to 1 us
    EXPECT_DOUBLE_EQ(f.s.res.SamplePeriodMs, 0.001);
    EXPECT_EQ(f.s.graphHdr.HeaderNumC, 256);
    EXPECT_EQ(f.s.parser.AnswerText, "123");
}

// ---- decode step ----

TEST(TimeSeries, GarbledWordsReadTheirLeadingNumber) {
    test::SessionFixture f;
    std::string answer = GraphAnswer(kTimeListing + TimeHeaderLine(512, 1, 3680, 20000),
                                     std::vector<int>(512, 100), 4, 3);
    Receive(f, 'D', 512, answer);
    f.s.parser.AnswerText.replace(0, 8, "12x4 2.5");  // words 1 and 2
    CutAndDecode(f, 'D', 4, 3);
    EXPECT_FLOAT_EQ(f.s.graph.points[0].y, static_cast<float>(12 * kVolts));
    EXPECT_FLOAT_EQ(f.s.graph.points[1].y, static_cast<float>(2 * kVolts));  // 2.5 to even
    EXPECT_FLOAT_EQ(f.s.graph.points[2].y, static_cast<float>(100 * kVolts));
}

TEST(Spectrum, AZeroPeriodNeverGivesInfiniteOrNaNPoints) {
    test::SessionFixture f;
    Receive(f, 'F', 512, GraphAnswer(kSpectListing + kLabel, Counts(512, 1000), 3, 2));
    f.s.res.SamplePeriodMs = 0;  // as a garbled answer before could leave it
    CutAndDecode(f, 'F', 3, 2);
    ASSERT_EQ(f.s.graph.NPoints(), 512);
    for (const GraphPoint& p : f.s.graph.points) {
        ASSERT_TRUE(std::isfinite(p.x));
        ASSERT_TRUE(std::isfinite(p.y));
    }
    EXPECT_GT(f.s.graph.divisionsPerLabel, 0);
}

// fmax = 24975.6 Hz: fmax / 4.4 > 5000 > fmax / 11; no frequency: no zoom.
TEST(StreamSpectrum, ShowsThePartAroundTheMeasuredFrequency) {
    const struct {
        std::string results;
        int zoom, points;
        float labelStep;
    } cases[] = {{"Dist=1234.5 S= 45 Favr=5000.000 RAMP DOWN\r\n", 4, 256, 500},
                 // clang-format off
                 {"Dist=1234.5 S= 45 Favr=2000.000 RAMP DOWN\r\n", 10, 102, 200},
                 {"Vel = 123.4 S= 45 f =  3000.00\r\n", 4, 256, 500},
                 {"Vel = 123.4 S= 45 f =  6000.00\r\n", 1, 1024, 2000},
                 // clang-format on
                 {"Dist=1234.5 S= 45\r\n", 1, 1024, 2000}};
    for (const auto& c : cases) {
        test::SessionFixture f;
        Receive(f, '[', 1024, GraphAnswer(c.results + kLabel, Counts(1024, 1000), 3, 2));
        CutAndDecode(f, '[', 3, 2);
        SCOPED_TRACE(c.results);
        EXPECT_EQ(f.s.graphHdr.SpectZoom, c.zoom);
        EXPECT_EQ(f.s.graph.NPoints(), c.points);
        EXPECT_FLOAT_EQ(f.s.graph.labelStep, c.labelStep);
        EXPECT_EQ(f.s.graph.footnote, SpectrumStreamFootnote(f.s));
        EXPECT_EQ(f.s.stats.StatCount, 1);
    }
}

// ---- rules ----

// Exact hundredths stay as they are although t / 0.01 lies just below them in binary.
TEST(UnitTime, CutDownToHundredths) {
    const std::pair<double, const char*> cases[] = {
        {4.35, " 4.35"},       {0.29, " 0.29"},   {0.57, " 0.57"},    {1, " 1"},
        {0.99999969, " 0.99"}, {4.3499, " 4.34"}, {100.07, " 100.07"}};
    for (const auto& [days, text] : cases)
        EXPECT_EQ(UnitTimeText(days), text) << days;
}

TEST(WordAt, SixteenWordsToALine) {
    struct Case {
        long long i;
        int width;
        long long pos;
    };
    const Case cases[] = {{1, 4, 1},    {2, 4, 5}, {16, 4, 61}, {17, 4, 67},
                          {33, 4, 133}, {1, 3, 1}, {17, 3, 51}, {2048, 4, 8443}};
    for (const Case& c : cases)
        EXPECT_EQ(WordPosition(c.i, c.width), c.pos) << c.i << " of width " << c.width;
}

TEST(LabelStep, TimeAndFrequencyByLastX) {
    const std::pair<double, float> time[] = {{1000.1, 100}, {1000, 50},  {409.4, 50}, {400, 20},
                                             {200.5, 20},   {102.2, 10}, {100, 5},    {40, 2},
                                             {20, 1},       {0, 1}};
    for (const auto& [xl, step] : time)
        EXPECT_FLOAT_EQ(TimeLabelStep(xl), step) << xl;
    const std::pair<double, float> freq[] = {
        {399.9, 20},   {400, 50},     {999, 50},     {1000, 100},   {2000, 200},    {4000, 500},
        {6225.6, 500}, {10000, 1000}, {19999, 1000}, {20000, 2000}, {24975.6, 2000}};
    for (const auto& [xl, step] : freq)
        EXPECT_FLOAT_EQ(FreqLabelStep(xl), step) << xl;
}

// fmax = 22 Hz: fmax / 4.4 = 5, fmax / 11 = 2, both exact; no result (0) gives no zoom.
TEST(ZoomRule, StrictlyBelowAQuarterOrATenthOfTheTopFrequency) {
    const std::pair<float, int> cases[] = {{5.0f, 1},   {4.99f, 4}, {2.0f, 4},
                                           {1.99f, 10}, {0.0f, 1},  {-3.0f, 10}};
    for (const auto& [freq, zoom] : cases)
        EXPECT_EQ(SpectZoomFor(23, 1, freq), zoom) << freq;
}

TEST(RampRange, WholeNumbersWithAnEvenSpan) {
    struct Case {
        float ymin, ymax;
        double min, max;
        int major;
    };
    const Case cases[] = {{-3.2f, 5.7f, -4, 6, 5},
                          {3.2f, 5.7f, 2, 6, 2},     // odd span widened
                          {-1.5f, -0.5f, -2, 0, 1},  // max at least 0
                          {-3.0f, 2.0f, -3, 3, 3}};
    for (const Case& c : cases) {
        const YAxisRange r = RampYAxis(c.ymin, c.ymax);
        EXPECT_DOUBLE_EQ(r.min, c.min) << c.ymin << ".." << c.ymax;
        EXPECT_DOUBLE_EQ(r.max, c.max) << c.ymin << ".." << c.ymax;
        EXPECT_EQ(r.major, c.major) << c.ymin << ".." << c.ymax;
    }
}

}  // namespace
}  // namespace sondix
