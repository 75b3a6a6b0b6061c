// The decoders' rules and edge cases, one table a rule: data graph headers and the cut to the
// data words, word positions, label steps and axis divisions, the ramp's y range, the zoom;
// status listings, timer, ramp texts, the spectrum stream's fields and statistics, results lines
// and the unit identification. Whole decodes of real answers: the CLI's expected reports.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "graph_answer.h"
#include "response/data_graph.h"
#include "response/data_graph_rules.h"
#include "response/graph_scale.h"
#include "response/status_lines.h"
#include "session_fixture.h"

namespace sondix {
namespace {

using test::SessionFixture;

// What the dispatcher does at the change to state 2: the header step.
long long Receive(SessionFixture& f, char key, int nwords, const std::string& answer) {
    f.s.parser.NWords = static_cast<std::int16_t>(nwords);
    f.s.parser.AnswerText = answer;
    return GraphHeaderStep(f.s, key);
}

const std::string kLine = "NWORDS=1024 001 3680 020000            \r\n";
const std::string kLabel = test::SpectrumLabelLine(1024, 1, 3680, 2000, 512);

// One character after the header line is data, not lost; no CR yet: no header line, no data; the
// CR that counts is the first one after "NWORDS="; in spectra H counts in the text after the
// label; a label at position 24 carries no fields and no data. (key, answer, H, header, data)
TEST(GraphHeader, CutKeepsEveryDataCharacterAfterTheHeaderLine) {
    const std::string h40 = kLine.substr(0, 40), dashes(23, '-');
    const std::tuple<char, std::string, long long, std::string, std::string> cases[] = {
        {'D', kLine + "0", 40, h40, "0"},
        {'y', kLine + "01", 40, h40, "01"},
        {'D', kLine, 40, h40, ""},
        {'D', "NWORDS=1024 001 3680", 0, "", ""},
        {'D', "LOGO\r\n" + kLine + "7", 46, "LOGO\r\n" + h40, "7"},
        {'F', kLabel + "5", 33, "S", "5"},
        {'[', "AB" + kLabel + "56", 33, "ABS", "56"},
        {'F', kLabel.substr(0, 40), 0, "S", ""},
        {'F', dashes + kLabel + "5", 0, dashes + "S", ""}};
    for (const auto& [key, answer, h, header, data] : cases) {
        SessionFixture f;
        EXPECT_EQ(Receive(f, key, 1024, answer), h) << answer;
        EXPECT_EQ(f.s.parser.HeaderText + "|" + f.s.parser.AnswerText, header + "|" + data);
        EXPECT_EQ(f.s.parser.AnswerLen, static_cast<std::int32_t>(data.size()));
    }
}

// A CR within the first 27 characters reads the fields as zero; a period of 0 falls back to
// 1 us. Without a label, a spectrum's fields start 24 characters after "NWORDS".
// (key, answer, H, NumA or -1, Vref, period in us, NumC)
TEST(GraphHeader, FieldsByPosition) {
    const std::tuple<char, std::string, long long, int, float, float, int> cases[] = {
        {'D', "NWORDS=2048\r\n0001", 12, 0, 0, 0, 512},
        {'y', "NWORDS=2048 99\r\n", 15, -1, 0, 1, 512},
        {'F', "LOGO NWORDS=1024  FILLER     007 2500 000000 0256\r\n123", 21, 7, 2.5f, 1, 256}};
    for (const auto& [key, answer, h, numA, vref, periodUs, numC] : cases) {
        SessionFixture f;
        f.s.graphHdr.HeaderNumA = 5;
        EXPECT_EQ(Receive(f, key, 1024, answer), h) << answer;
        if (numA >= 0) {
            EXPECT_EQ(f.s.graphHdr.HeaderNumA, numA) << answer;
        }
        EXPECT_FLOAT_EQ(f.s.res.VrefCal, vref) << answer;
        EXPECT_FLOAT_EQ(f.s.res.SamplePeriodUs, periodUs) << answer;
        EXPECT_EQ(f.s.graphHdr.HeaderNumC, numC) << answer;
    }
}

// A zero period left by a garbled answer never gives infinite or NaN points.
TEST(GraphDecode, AZeroPeriodNeverGivesInfiniteOrNaNPoints) {
    SessionFixture f;
    std::vector<int> words(512);
    for (int i = 0; i < 512; ++i)
        words[static_cast<std::size_t>(i)] = (i * 7) % 1000;
    const std::string label = test::SpectrumLabelLine(512, 1, 3680, 2000, 512);
    Receive(f, 'F', 512, test::GraphAnswer("Vel     = 12.5\r\n" + label, words, 3, 2));
    f.s.res.SamplePeriodMs = 0;
    std::string& text = f.s.parser.AnswerText;
    text.resize(text.find("  ***  ") + 1);
    f.s.parser.AnswerLen = static_cast<std::int32_t>(text.size());
    GraphDecodeStep(f.s, 'F');
    ASSERT_EQ(f.s.graph.NPoints(), 512);
    for (const GraphPoint& p : f.s.graph.points)
        ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    EXPECT_GT(f.s.graph.divisionsPerLabel, 0);
}

TEST(GraphRules, PositionsStepsZoomAndRanges) {
    // Sixteen words to a line: (word, width, position).
    for (const auto& [i, width, pos] : {std::tuple{1LL, 4, 1LL},
                                        {16LL, 4, 61LL},
                                        {17LL, 4, 67LL},
                                        {17LL, 3, 51LL},
                                        {2048LL, 4, 8443LL}})
        EXPECT_EQ(WordPosition(i, width), pos) << i << " of width " << width;
    // The label step by the last x, for time and for frequency.
    for (const auto& [xl, step] :
         {std::pair{1000.1, 100.0f}, {1000, 50}, {400, 20}, {102.2, 10}, {100, 5}, {40, 2}, {0, 1}})
        EXPECT_FLOAT_EQ(TimeLabelStep(xl), step) << xl;
    for (const auto& [xl, step] : {std::pair{399.9, 20.0f},
                                   {400, 50},
                                   {1000, 100},
                                   {4000, 500},
                                   {10000, 1000},
                                   {24975.6, 2000}})
        EXPECT_FLOAT_EQ(FreqLabelStep(xl), step) << xl;
    // fmax = 22 Hz: fmax / 4.4 = 5, fmax / 11 = 2, both exact; zoom strictly below a quarter or
    // a tenth of the top frequency; no result (0) gives no zoom.
    for (const auto& [freq, zoom] :
         {std::pair{5.0f, 1}, {4.99f, 4}, {2.0f, 4}, {1.99f, 10}, {0.0f, 1}, {-3.0f, 10}})
        EXPECT_EQ(SpectZoomFor(23, 1, freq), zoom) << freq;
    // The ramp's y axis: whole numbers, an even span (odd spans widened), max at least 0.
    for (const auto& [ymin, ymax, min, max, major] : {std::tuple{-3.2f, 5.7f, -4.0, 6.0, 5},
                                                      {3.2f, 5.7f, 2.0, 6.0, 2},
                                                      {-1.5f, -0.5f, -2.0, 0.0, 1},
                                                      {-3.0f, 2.0f, -3.0, 3.0, 3}}) {
        const YAxisRange r = RampYAxis(ymin, ymax);
        EXPECT_EQ(std::tuple(r.min, r.max, r.major), std::tuple(min, max, major)) << ymin;
    }
}

constexpr auto T = RectifyScaleX;
constexpr auto F = RectifyScaleX_Freq;

// Divisions per label and per tick follow the points per label step. xmax and step below 1
// count as 1 for time (d = 512.5, halves go to even), not for spectra; d = 1.5 at every count
// gives ticks per label 5 below 800 points, 2 below 2100, 1 from there.
TEST(GraphRules, DivisionsFollowPointsPerLabelStep) {
    const std::tuple<void (*)(GraphModel&, std::int16_t, float, float), std::int16_t, float, float,
                     int, int>
        cases[] = {{T, 2048, 409.4f, 50, 251, 125},
                   {T, 512, 102.2f, 10, 51, 10},
                   {T, 1024, 204.6f, 20, 101, 50},
                   {T, 4096, 819.0f, 100, 501, 501},
                   {T, 512, 0.5f, 0.2f, 512, 102},
                   {T, 799, 799, 1, 2, 0},
                   {T, 800, 800, 1, 2, 1},
                   {T, 2100, 2100, 1, 2, 2},
                   {F, 1024, 24975.5859375f, 2000, 83, 41},
                   {F, 1024, 0.5f, 0.2f, 410, 205}};
    for (const auto& [rectify, n, xmax, step, perLabel, perTick] : cases) {
        GraphModel g;
        rectify(g, n, xmax, step);
        EXPECT_EQ(g.divisionsPerLabel, perLabel) << n << " " << xmax;
        EXPECT_EQ(g.divisionsPerTick, perTick) << n << " " << xmax;
    }
    GraphModel g;  // a zero range saturates instead of failing
    RectifyScaleX_Freq(g, 512, 0, 0);
    RectifyScaleX_Freq(g, 512, 0, 20);
    EXPECT_GT(g.divisionsPerLabel, 0);
}

// Fields not in a listing keep their values; "Freq" ends at its blank, "SampleT" at the CR; no
// "Dist    =" means a velocimeter with distance 0; a sample time of 0 or below falls back to 1 us;
// a variable field without blank or CR after it is five characters long; whole values round halves
// to even; the keys are exactly nine characters. (text, vel, dist, freq, signal, velocity, us,
// vref)
TEST(StatusLines, ListingReadsItsKeysAndLeavesAbsentOnes) {
    const std::tuple<std::string, float, float, float, int, bool, float, float> cases[] = {
        {"Vel     = 12.5\r\nDist    = 1500\r\nFreq    = 123456 \r\nQuality =   45\r\n"
         "Vrefcal = 3.70\r\nSampleT = 20000\r\n",
         12.5f, 1500, 1234.56f, 45, false, 200, 3.7f},
        {"Vel     =-0.75\r\nSampleT =     0\r\n", -0.75f, 0, 9, 10, true, 1, 12},
        {"Dist    =  100Freq    =12345678", 7, 100, 123.45f, 10, false, 11, 12},
        {"Dist    =    1Quality =  6.5SampleT = -500 ", 7, 1, 9, 6, false, 1, 12},
        {"Dist   = 1500\r\nVel    = 3\r\n", 7, 0, 9, 10, true, 11, 12}};
    for (const auto& [text, vel, dist, freq, signal, velocity, periodUs, vref] : cases) {
        ResultFields r;
        std::tie(r.ResultVel, r.ResultDist, r.ResultFreq, r.ResultSignal) = std::tuple(7, 8, 9, 10);
        std::tie(r.SamplePeriodUs, r.SamplePeriodMs, r.VrefCal) = std::tuple(11, 0.011, 12);
        ParseStatusListing(r, text);
        SCOPED_TRACE(text);
        EXPECT_EQ(std::tuple(r.ResultVel, r.ResultDist, r.ResultFreq, r.ResultSignal),
                  std::tuple(vel, dist, freq, signal));
        EXPECT_EQ(r.ModeText, velocity ? "Velocity" : "Distance");
        EXPECT_FLOAT_EQ(r.SamplePeriodUs, periodUs);
        EXPECT_DOUBLE_EQ(r.SamplePeriodMs, periodUs * 0.001);
        EXPECT_FLOAT_EQ(r.VrefCal, vref);
    }
}

// A tick is 87.381 ms, the timer eleven characters at most; the ramp text needs two blanks after
// "UP"; the unit time shown is cut to hundredths, exact hundredths stay.
TEST(StatusLines, TimerRampAndUnitTimeTexts) {
    ResultFields r;
    ParseTimer(r, "LOGO\r\nTimer=     988773\r\n");
    EXPECT_NEAR(r.UnitTimeDays, 0.9999996934375, 1e-12);
    ParseTimer(r, "Timer=123456789012345");
    EXPECT_NEAR(r.UnitTimeDays, 12485.853796855, 1e-8);
    ParseTimer(r, "no timer here");
    EXPECT_NEAR(r.UnitTimeDays, 12485.853796855, 1e-8);
    for (const auto& [text, ramp] : {std::pair{"x RAMP UP  y", "RAMP UP  "},
                                     {"RAMP UP \r\n", ""},
                                     {"RAMP DOWN RAMP UP  ", "RAMP DOWN"}})
        EXPECT_EQ(FindRampText(text), ramp) << text;
    for (const auto& [days, text] :
         {std::pair{4.35, " 4.35"}, {0.57, " 0.57"}, {0.99999969, " 0.99"}, {100.07, " 100.07"}})
        EXPECT_EQ(UnitTimeText(days), text) << days;
}

// Each field has its own start after its key and its own width: longer digit runs are cut; a
// velocimeter has no "Favr=", a distance sensor no "f ="; the signal rounds halves to even.
TEST(StatusLines, SpectrumStreamFieldsStartAndWidth) {
    using R = ResultFields;
    const std::tuple<const char*, float R::*, float> cases[] = {
        {"Vel =123456789", &R::ResultVel, 1234567},
        {"Dist=123456789", &R::ResultDist, 123456},
        {"Dist=1 Favr=123456789", &R::ResultFreq, 12345678},
        {"Dist=1 Fdif=1234567890", &R::ResultFdif, 123456789.0f},
        {"Vel =1 Favr=123", &R::ResultFreq, 0},
        {"Dist=1 f =  123", &R::ResultFreq, 0}};
    for (const auto& [header, member, value] : cases) {
        SessionFixture f;
        SpectrumResultStep(f.s, header);
        EXPECT_FLOAT_EQ(f.s.res.*member, value) << header;
    }
    SessionFixture f;
    SpectrumResultStep(f.s, "Vel =1 S=12345");
    EXPECT_EQ(f.s.res.ResultSignal, 123);
    SpectrumResultStep(f.s, "Dist=1 S=2.5");
    EXPECT_EQ(f.s.res.ResultSignal, 2);
}

// One spectrum a result (0: a spectrum without result, skipped); a variance rounding below zero
// is no error; a mean of at most 0.1 gives no ratio; a steady reading at 10 m: squares rounded
// to single precision would make the deviation 1.7 mm instead of 0.1 mm.
TEST(StatusLines, StatisticsRunOverTheNonZeroResults) {
    const std::tuple<std::vector<double>, int, float, float, float> cases[] = {
        {{1000}, 1, 1000, 0, 0},
        {{1000, 0, 1010, 0, 1020}, 3, 1010, 10, 10.0f / 1010},
        {{1000, 1010, 0}, 2, 0, 0, 0},
        {{0.3, 0.3, 0.3, 0.3}, 4, 0.3f, 0, 0},
        {{0.1, 0.1, 0.1, -0.1}, 4, 0.05f, 0.1f, 0},
        {{9999.1, 9999.2, 9999.3}, 3, 9999.2f, 0.1001f, 0.1001f / 9999.2f}};
    for (const auto& [results, count, mean, sd, rel] : cases) {
        SessionFixture f;
        for (const double v : results) {
            char header[32];
            std::snprintf(header, sizeof header, "Dist=%6.1f S= 50\r\n", v);
            SpectrumResultStep(f.s, header);
        }
        SCOPED_TRACE(results.back());
        EXPECT_EQ(f.s.stats.StatCount, count);
        EXPECT_NEAR(f.s.stats.StatMean, mean, 1e-4);
        EXPECT_NEAR(f.s.stats.StatSd, sd, 1e-4);
        EXPECT_NEAR(f.s.stats.StatRel, rel, 1e-7);
    }
}

// The value as shown in millimetres, the signal, the relay lamps from the status word's two low
// bits (on, off, or no status: the first grey, the second as it was). The top bit of the status
// word makes it negative as a signed word; an unreadable or negative signal figure shows 0; a
// status word cut short by the line end reads what is there; "S=" and "stat=" count only after
// the value.
TEST(StatusLines, ResultsLineFillsTheResultsWindow) {
    const Colour on{127, 255, 127}, off{127, 0, 0}, none{85, 85, 85}, kept{1, 2, 3};
    const std::tuple<std::string, std::string, int, std::string, Colour, Colour> cases[] = {
        {"D=  1234.5 S=45 stat=00000003", "1234.5", 45, "45", on, on},
        {"D= -12.25 S=07 stat=00000002", "-12.25", 7, "07", off, on},
        {"D=  1234.5 S=45", "1234.5", 45, "45", none, kept},
        {"no value", "0", 0, "00", none, kept},
        {"D=1 S=99 stat=80000001", "1", 99, "99", on, off},
        {"D=5 S=xy stat=00000001", "5", 0, "00", on, off},
        {"D=5 S=-7", "5", 0, "00", none, kept},
        {"D=5 S=12 stat=3", "5", 12, "12", on, on},
        {"S=45 D=100", "45", 0, "00", none, kept}};
    for (const auto& [line, value, S, sText, relay1, relay2] : cases) {
        SessionFixture f;
        f.s.results.shpRelay2 = kept;
        ResultsLineStep(f.s, line);
        const ResultsModel& m = f.s.results;
        SCOPED_TRACE(line);
        EXPECT_EQ(m.txtOutputvalue + " " + m.txtSigstrength, value + " " + sText);
        EXPECT_EQ(m.pbrSigstrength, S);
        EXPECT_EQ(m.shpRelay1, relay1);
        EXPECT_EQ(m.shpRelay2, relay2);
        EXPECT_EQ(f.host.resultsUpdates, 1);
    }
}

TEST(StatusLines, UnitLabelAndGraphHeader) {
    const std::tuple<std::string, float, std::string, std::string> cases[] = {
        {"SONDIX RADAR\r\nV1.23", 1234, "SONDIX RADAR\r\nV1.2 : S/N= 1234", "Unit# 1234,SONDIX R"},
        {"SONDIX RADAR FMCW V1.23 build 7", 56, "SONDIX RADAR FMCW  : S/N= 56",
         "Unit# 56,SONDIX RADAR FMCW V1."},
        {"ABCDEFGHIJ", 7, "ABCDEFGHIJ : S/N= 7", "Unit# 7"}};
    for (const auto& [logo, serNum, label, header] : cases) {
        ParamMirror m;
        m.LogoStr = logo;
        m.SerNum = serNum;
        EXPECT_EQ(VerAndSerialLabel(m), label);
        EXPECT_EQ(MakeGraphHeaderStr(m), header);
    }
}

}  // namespace
}  // namespace sondix
