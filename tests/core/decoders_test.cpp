// The decoders' rules and edge cases: data graph headers and the cut to the data words, word
// positions, label steps and axis divisions, the ramp's y range, the stream's zoom; status
// listings, timer, ramp texts, the spectrum stream's fields and statistics, results lines and
// the unit identification. Whole decodes of real answers: the CLI's expected reports.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "common/gen_datetime.h"
#include "graph_answer.h"
#include "response/data_graph.h"
#include "response/data_graph_rules.h"
#include "response/graph_scale.h"
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
        {4.35, " 4.35"}, {0.57, " 0.57"}, {0.99999969, " 0.99"}, {100.07, " 100.07"}};
    for (const auto& [days, text] : cases)
        EXPECT_EQ(UnitTimeText(days), text) << days;
}

TEST(WordAt, SixteenWordsToALine) {
    struct Case {
        long long i;
        int width;
        long long pos;
    };
    const Case cases[] = {{1, 4, 1}, {16, 4, 61}, {17, 4, 67}, {17, 3, 51}, {2048, 4, 8443}};
    for (const Case& c : cases)
        EXPECT_EQ(WordPosition(c.i, c.width), c.pos) << c.i << " of width " << c.width;
}

TEST(LabelStep, TimeAndFrequencyByLastX) {
    const std::pair<double, float> time[] = {{1000.1, 100}, {1000, 50}, {400, 20}, {102.2, 10},
                                             {100, 5},      {40, 2},    {0, 1}};
    for (const auto& [xl, step] : time)
        EXPECT_FLOAT_EQ(TimeLabelStep(xl), step) << xl;
    const std::pair<double, float> freq[] = {{399.9, 20}, {400, 50},     {1000, 100},
                                             {4000, 500}, {10000, 1000}, {24975.6, 2000}};
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

TEST(StatusLines, ListingReadsItsKeysAndLeavesAbsentOnes) {
    const struct {
        std::string text;
        float vel, dist, freq;
        std::int16_t signal;
        bool velocity;
        float periodUs;
        float vref;
    } cases[] = {// A distance sensor's full listing; "Freq" ends at its blank, "SampleT" at the CR.
                 {"Vel     = 12.5\r\nDist    = 1500\r\nFreq    = 123456 \r\nQuality =   45\r\n"
                  "Vrefcal = 3.70\r\nSampleT = 20000\r\n",
                  12.5f, 1500, 1234.56f, 45, false, 200, 3.7f},
                 // No "Dist    =": a velocimeter; a sample time of 0 falls back to 1 us.
                 {"Vel     =-0.75\r\nSampleT =     0\r\n", -0.75f, 0, 9, 10, true, 1, 12},
                 // A variable field without blank or CR after it is five characters long.
                 {"Dist    =  100Freq    =12345678", 7, 100, 123.45f, 10, false, 11, 12},
                 // Whole values round halves to even; a negative sample time falls back too.
                 {"Dist    =    1Quality =  6.5SampleT = -500 ", 7, 1, 9, 6, false, 1, 12},
                 // The keys are exactly nine characters: a shorter spacing is another key.
                 {"Dist   = 1500\r\nVel    = 3\r\n", 7, 0, 9, 10, true, 11, 12}};
    for (const auto& c : cases) {
        ResultFields r;  // fields not in a listing keep these values
        r.ResultVel = 7;
        r.ResultDist = 8;
        r.ResultFreq = 9;
        r.ResultSignal = 10;
        r.SamplePeriodUs = 11;
        r.SamplePeriodMs = 0.011;
        r.VrefCal = 12;
        ParseStatusListing(r, c.text);
        SCOPED_TRACE(c.text);
        EXPECT_FLOAT_EQ(r.ResultVel, c.vel);
        EXPECT_FLOAT_EQ(r.ResultDist, c.dist);
        EXPECT_FLOAT_EQ(r.ResultFreq, c.freq);
        EXPECT_EQ(r.ResultSignal, c.signal);
        EXPECT_EQ(r.ModeVelocity, c.velocity);
        EXPECT_EQ(r.ModeText, c.velocity ? "Velocity" : "Distance");
        EXPECT_FLOAT_EQ(r.SamplePeriodUs, c.periodUs);
        EXPECT_DOUBLE_EQ(r.SamplePeriodMs, c.periodUs * 0.001);
        EXPECT_FLOAT_EQ(r.VrefCal, c.vref);
    }
}

// A tick is 87.381 ms; the ramp text needs two blanks after "UP".
TEST(StatusLines, TimerAndRampTexts) {
    ResultFields r;
    ParseTimer(r, "LOGO\r\nTimer=     988773\r\n");
    EXPECT_NEAR(r.UnitTimeDays, 0.9999996934375, 1e-12);
    ParseTimer(r, "Timer=123456789012345");  // eleven characters at most
    EXPECT_NEAR(r.UnitTimeDays, 12485.853796855, 1e-8);
    ParseTimer(r, "no timer here");
    EXPECT_NEAR(r.UnitTimeDays, 12485.853796855, 1e-8);
    const std::pair<const char*, const char*> ramps[] = {
        {"x RAMP UP  y", "RAMP UP  "}, {"RAMP UP \r\n", ""}, {"RAMP DOWN RAMP UP  ", "RAMP DOWN"}};
    for (const auto& [text, ramp] : ramps)
        EXPECT_EQ(FindRampText(text), ramp) << text;
}

// Each field has its own start after its key and its own width: longer digit runs are cut.
TEST(StatusLines, SpectrumStreamFieldsStartAndWidth) {
    using F = ResultFields;
    const std::tuple<const char*, float F::*, float> cases[] = {
        // clang-format off
        {"Vel =123456789", &F::ResultVel, 1234567},
        {"Dist=123456789", &F::ResultDist, 123456},
        {"Dist=1 Favr=123456789", &F::ResultFreq, 12345678},
        {"Dist=1 Fdif=1234567890", &F::ResultFdif, 123456789.0f},
        // clang-format on
        // a velocimeter has no "Favr=", a distance sensor no "f ="
        {"Vel =1 Favr=123", &F::ResultFreq, 0},
        {"Dist=1 f =  123", &F::ResultFreq, 0}};
    for (const auto& [header, member, value] : cases) {
        test::SessionFixture f;
        SpectrumResultStep(f.s, header);
        EXPECT_FLOAT_EQ(f.s.res.*member, value) << header;
    }
    test::SessionFixture f;
    SpectrumResultStep(f.s, "Vel =1 S=12345");
    EXPECT_EQ(f.s.res.ResultSignal, 123);
    SpectrumResultStep(f.s, "Dist=1 S=2.5");
    EXPECT_EQ(f.s.res.ResultSignal, 2);  // halves to even
}

std::string DistanceHeader(double dist) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Dist=%6.1f S= 50\r\n", dist);
    return buf;
}

TEST(StatusLines, StatisticsRunOverTheNonZeroResults) {
    const struct {
        std::vector<double> results;  // one spectrum each; 0 is a spectrum without result
        std::int32_t count;
        float mean, sd, rel;
    } cases[] = {
        {{1000}, 1, 1000, 0, 0},
        {{1000, 0, 1010, 0, 1020}, 3, 1010, 10, 10.0f / 1010},  // zero results skipped
        {{1000, 1010, 0}, 2, 0, 0, 0},
        {{0.3, 0.3, 0.3, 0.3}, 4, 0.3f, 0, 0},       // a variance rounding below zero is no error
        {{0.1, 0.1, 0.1, -0.1}, 4, 0.05f, 0.1f, 0},  // a mean of at most 0.1 gives no ratio
        // a steady reading at 10 m: squares rounded to single precision would make the
        // deviation 1.7 mm instead of 0.1 mm
        {{9999.1, 9999.2, 9999.3}, 3, 9999.2f, 0.1001f, 0.1001f / 9999.2f}};
    for (const auto& c : cases) {
        test::SessionFixture f;
        for (const double v : c.results)
            SpectrumResultStep(f.s, DistanceHeader(v));
        SCOPED_TRACE(c.results.back());
        EXPECT_EQ(f.s.stats.StatCount, c.count);
        EXPECT_NEAR(f.s.stats.StatMean, c.mean, 1e-4);
        EXPECT_NEAR(f.s.stats.StatSd, c.sd, 1e-4);
        EXPECT_NEAR(f.s.stats.StatRel, c.rel, 1e-7);
    }
}

TEST(StatusLines, ResultsLineFillsTheResultsWindow) {
    const Colour on{127, 255, 127};
    const Colour off{127, 0, 0};
    const Colour none{85, 85, 85};
    const Colour kept{1, 2, 3};  // a lamp colour no line sets
    const struct {
        std::string line, value;  // the value as shown in millimetres
        int S;
        std::string sText;
        Colour relay1, relay2;
    } cases[] = {// clang-format off
        {"D=  1234.5 S=45 stat=00000003", "1234.5", 45, "45", on, on},
        {"D= -12.25 S=07 stat=00000002", "-12.25", 7, "07", off, on},
        {"D=  1234.5 S=45", "1234.5", 45, "45", none, kept},
        {"no value", "0", 0, "00", none, kept},
                 // clang-format on
                 // the top bit of the status word makes it negative as a signed word
                 {"D=1 S=99 stat=80000001", "1", 99, "99", on, off},
                 // an unreadable or negative signal figure shows 0 instead of ending the program
                 // clang-format off
        {"D=5 S=xy stat=00000001", "5", 0, "00", on, off}, {"D=5 S=-7", "5", 0, "00", none, kept},
                 // clang-format on
                 // a status word cut short by the line end reads what is there
                 {"D=5 S=12 stat=3", "5", 12, "12", on, on},
                 // "S=" and "stat=" count only after the value
                 {"S=45 D=100", "45", 0, "00", none, kept}};
    for (const auto& c : cases) {
        test::SessionFixture f;
        f.s.results.shpRelay2 = kept;
        ResultsLineStep(f.s, c.line);
        const ResultsModel& m = f.s.results;
        SCOPED_TRACE(c.line);
        EXPECT_EQ(m.txtOutputvalue, c.value);
        EXPECT_EQ(m.pbrSigstrength, c.S);
        EXPECT_EQ(m.txtSigstrength, c.sText);
        EXPECT_EQ(m.SigColor, SignalColor(c.S));
        EXPECT_EQ(m.shpRelay1, c.relay1);
        EXPECT_EQ(m.shpRelay2, c.relay2);
        EXPECT_EQ(f.host.resultsUpdates, 1);
    }
    // Red through green to blue.
    EXPECT_EQ(SignalColor(50), (Colour{128, 127, 1}));
    EXPECT_EQ(SignalColor(90), (Colour{26, 120, 110}));
}

TEST(StatusLines, UnitLabelAndGraphHeader) {
    const struct {
        std::string logo;
        float serNum;
        std::string label, header;
    } cases[] = {
        {"SONDIX RADAR\r\nV1.23", 1234, "SONDIX RADAR\r\nV1.2 : S/N= 1234", "Unit# 1234,SONDIX R"},
        {"SONDIX RADAR FMCW V1.23 build 7", 56, "SONDIX RADAR FMCW  : S/N= 56",
         "Unit# 56,SONDIX RADAR FMCW V1."},
        {"ABCDEFGHIJ", 7, "ABCDEFGHIJ : S/N= 7", "Unit# 7"}};
    for (const auto& c : cases) {
        ParamMirror m;
        m.LogoStr = c.logo;
        m.SerNum = c.serNum;
        EXPECT_EQ(VerAndSerialLabel(m), c.label);
        EXPECT_EQ(MakeGraphHeaderStr(m), c.header);
    }
}

constexpr auto T = RectifyScaleX;
constexpr auto F = RectifyScaleX_Freq;

TEST(Scale, DivisionsFollowPointsPerLabelStep) {
    const struct {
        void (*rectify)(GraphModel&, std::int16_t, float, float);
        std::int16_t n;
        float xmax, step;
        int perLabel, perTick;
    } cases[] = {{T, 2048, 409.4f, 50, 251, 125},   // 2048 / 8.188 + 0.5 = 250.62
                 {T, 512, 102.2f, 10, 51, 10},      // a fifth per tick below 800
                 {T, 1024, 204.6f, 20, 101, 50},    // half per tick up to 2100
                 {T, 4096, 819.0f, 100, 501, 501},  // one tick per label above
                 // xmax and step below 1 count as 1: d = 512.5, halves go to even
                 {T, 512, 0.5f, 0.2f, 512, 102},
                 // d = 1.5 at every count: ticks per label 5 below 800, 2 below 2100, 1 on
                 {T, 799, 799, 1, 2, 0},
                 {T, 800, 800, 1, 2, 1},
                 {T, 2100, 2100, 1, 2, 2},
                 {F, 1024, 24975.5859375f, 2000, 83, 41},
                 // no lower limit on a spectrum's xmax and step
                 {F, 1024, 0.5f, 0.2f, 410, 205}};
    for (const auto& c : cases) {
        GraphModel g;
        c.rectify(g, c.n, c.xmax, c.step);
        EXPECT_EQ(g.divisionsPerLabel, c.perLabel) << c.n << " " << c.xmax;
        EXPECT_EQ(g.divisionsPerTick, c.perTick) << c.n << " " << c.xmax;
    }
}

TEST(FreqScaleTexts, ZeroRangeSaturatesInsteadOfFailing) {
    GraphModel g;
    RectifyScaleX_Freq(g, 512, 0, 0);   // 0 / 0 points per label
    RectifyScaleX_Freq(g, 512, 0, 20);  // n / 0: no exception, a saturated count
    EXPECT_GT(g.divisionsPerLabel, 0);
}

}  // namespace
}  // namespace sondix
