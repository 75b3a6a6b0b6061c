// Status listings, timer and ramp texts, the spectrum stream's results and statistics, the
// results stream's lines and the unit identification.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "response/status_lines.h"
#include "session_fixture.h"

namespace sondix {
namespace {

// ---- status listing ----

struct ListingCase {
    std::string text;
    float vel, dist, freq;
    std::int16_t signal;
    bool modeVelocity;
    float periodUs;
    double periodMs;
    float vref;
    std::string modeText;
};

// Fields not in a listing keep these values.
ResultFields Sentinel() {
    ResultFields r;
    r.ResultVel = 7;
    r.ResultDist = 8;
    r.ResultFreq = 9;
    r.ResultSignal = 10;
    r.SamplePeriodUs = 11;
    r.SamplePeriodMs = 0.011;
    r.VrefCal = 12;
    return r;
}

class Listing : public ::testing::TestWithParam<ListingCase> {};

TEST_P(Listing, ReadsKeysAndLeavesAbsentOnes) {
    const ListingCase& c = GetParam();
    ResultFields r = Sentinel();
    ParseStatusListing(r, c.text);
    EXPECT_FLOAT_EQ(r.ResultVel, c.vel);
    EXPECT_FLOAT_EQ(r.ResultDist, c.dist);
    EXPECT_FLOAT_EQ(r.ResultFreq, c.freq);
    EXPECT_EQ(r.ResultSignal, c.signal);
    EXPECT_EQ(r.ModeVelocity, c.modeVelocity);
    EXPECT_FLOAT_EQ(r.SamplePeriodUs, c.periodUs);
    EXPECT_DOUBLE_EQ(r.SamplePeriodMs, c.periodMs);
    EXPECT_FLOAT_EQ(r.VrefCal, c.vref);
    EXPECT_EQ(r.ModeText, c.modeText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Listing,
    ::testing::Values(
        // A distance sensor's full listing; "Freq" ends at its blank, "SampleT" at the CR.
        ListingCase{"Vel     = 12.5\r\nDist    = 1500\r\nFreq    = 123456 \r\n"
                    "Quality =   45\r\nVrefcal = 3.70\r\nSampleT = 20000\r\n",
                    12.5f, 1500, 1234.56f, 45, false, 200, 200.0f * 0.001, 3.7f, "Distance"},
        // No "Dist    =": a velocimeter; a sample time of 0 falls back to 1 us.
        ListingCase{"Vel     =-0.75\r\nSampleT =     0\r\n", -0.75f, 0, 9, 10, true, 1, 0.001, 12,
                    "Velocity"},
        // A variable field without blank or CR after it is five characters long.
        ListingCase{"Dist    =  100Freq    =12345678", 7, 100, 123.45f, 10, false, 11, 0.011, 12,
                    "Distance"},
        // Whole values round halves to even; a negative sample time falls back too.
        ListingCase{"Dist    =    1Quality =  6.5SampleT = -500 ", 7, 1, 9, 6, false, 1, 0.001, 12,
                    "Distance"},
        ListingCase{"Dist    =    1Quality =  7.5", 7, 1, 9, 8, false, 11, 0.011, 12, "Distance"},
        // The variable field's blank is searched from its second character, so a value that
        // starts with two blanks is empty; without blank the CR is searched from the first.
        ListingCase{"Dist    =    1Freq    =  5000 \r\n", 7, 1, 0, 10, false, 11, 0.011, 12,
                    "Distance"},
        ListingCase{"Dist    =    1SampleT =\r\n300", 7, 1, 9, 10, false, 1, 0.001, 12, "Distance"},
        // The keys are exactly nine characters: a shorter spacing is another key.
        ListingCase{"Dist   = 1500\r\nVel    = 3\r\n", 7, 0, 9, 10, true, 11, 0.011, 12,
                    "Velocity"}));

// ---- timer and ramp ----

// A tick is 87.381 ms.
TEST(Timer, TicksOf87msBecomeDays) {
    ResultFields r;
    ParseTimer(r, "LOGO\r\nTimer=     988773\r\n");
    EXPECT_NEAR(r.UnitTimeDays, 0.9999996934375, 1e-12);
    ParseTimer(r, "Timer=123456789012345");  // eleven characters at most
    EXPECT_NEAR(r.UnitTimeDays, 12485.853796855, 1e-8);
    r.UnitTimeDays = 2.5;
    ParseTimer(r, "no timer here");
    EXPECT_DOUBLE_EQ(r.UnitTimeDays, 2.5);
}

TEST(RampText, FindsTheSweepDirection) {
    const std::pair<const char*, const char*> cases[] = {{"", ""},
                                                         {"x RAMP UP  y", "RAMP UP  "},
                                                         {"RAMP UP \r\n", ""},  // needs two blanks
                                                         {"RAMP DOWN\r\n", "RAMP DOWN"},
                                                         {"RAMP DOWN RAMP UP  ", "RAMP DOWN"}};
    for (const auto& [text, ramp] : cases)
        EXPECT_EQ(FindRampText(text), ramp) << text;
}

// ---- spectrum stream: results and statistics ----

const char* kVelocityHeader = "Vel = 123.4 S= 45 f =  2000.00 RAMP UP  \r\n";
const char* kDistanceHeader =
    "Dist=1234.5 Vel= 12.34 S= 45 Favr=5000.000 Fdif=  12.3456 RAMP DOWN\r\n";

std::string DistanceHeader(double dist) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Dist=%6.1f S= 50\r\n", dist);
    return buf;
}

TEST(SpectrumResults, VelocityHeaderFieldsAndFootnote) {
    test::SessionFixture f;
    f.s.res.ResultFdif = 99;
    SpectrumResultStep(f.s, kVelocityHeader);
    const ResultFields& r = f.s.res;
    EXPECT_TRUE(r.ModeVelocity);
    EXPECT_FLOAT_EQ(r.ResultVel, 123.4f);
    EXPECT_EQ(r.ResultSignal, 45);
    EXPECT_FLOAT_EQ(r.ResultFreq, 2000);
    EXPECT_FLOAT_EQ(r.ResultFdif, 0);  // cleared for every spectrum
    EXPECT_FLOAT_EQ(r.ResultDist, 0);
    EXPECT_EQ(r.RampText, "RAMP UP  ");
    EXPECT_FLOAT_EQ(r.ResultValue, 123.4f);
    EXPECT_EQ(SpectrumStreamFootnote(f.s),
              "V= 123.4mm/s, F= 2000Hz, S= 45, Vavr=123.4+/-0.00mm/s(0.000% N=1) RAMP UP  ");
}

// Each field has its own start after its key and its own width: longer digit runs are cut.
TEST(SpectrumField, StartAndWidthAfterTheKey) {
    using F = ResultFields;
    const std::tuple<const char*, float F::*, float> cases[] = {
        {"Vel =123456789", &F::ResultVel, 1234567},
        {"Vel = f =123456789012", &F::ResultFreq, 34567890.0f},
        {"Dist=123456789", &F::ResultDist, 123456},
        {"Dist=1 Vel=123456789", &F::ResultVel, 234567},
        {"Dist=1 Favr=123456789", &F::ResultFreq, 12345678},
        {"Dist=1 Fdif=1234567890", &F::ResultFdif, 123456789.0f},
        // a velocimeter has no "Favr=", a distance sensor no "f ="
        {"Vel =1 Favr=123", &F::ResultFreq, 0},
        {"Dist=1 f =  123", &F::ResultFreq, 0}};
    for (const auto& [header, member, value] : cases) {
        test::SessionFixture f;
        SpectrumResultStep(f.s, header);
        EXPECT_FLOAT_EQ(f.s.res.*member, value) << header;
    }
}

TEST(SpectrumField, SignalIsTheWholeValueOfThreeCharacters) {
    test::SessionFixture f;
    SpectrumResultStep(f.s, "Vel =1 S=12345");
    EXPECT_EQ(f.s.res.ResultSignal, 123);
    SpectrumResultStep(f.s, "Dist=1 S=2.5");
    EXPECT_EQ(f.s.res.ResultSignal, 2);  // halves to even
}

struct StatsCase {
    std::vector<double> results;  // one spectrum each; 0 is a spectrum without result
    std::int32_t count;
    float mean, sd, rel;
};

class Statistics : public ::testing::TestWithParam<StatsCase> {};

TEST_P(Statistics, RunOverTheNonZeroResults) {
    const StatsCase& c = GetParam();
    test::SessionFixture f;
    for (double v : c.results)
        SpectrumResultStep(f.s, DistanceHeader(v));
    EXPECT_EQ(f.s.stats.StatCount, c.count);
    EXPECT_NEAR(f.s.stats.StatMean, c.mean, 1e-4);
    EXPECT_NEAR(f.s.stats.StatSd, c.sd, 1e-4);
    EXPECT_NEAR(f.s.stats.StatRel, c.rel, 1e-7);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Statistics,
    ::testing::Values(StatsCase{{1000}, 1, 1000, 0, 0},
                      StatsCase{{1000, 1010}, 2, 1005, 0, 0},  // no deviation from two
                      StatsCase{{1000, 1010, 1020}, 3, 1010, 10, 10.0f / 1010},
                      // zero results are skipped and show zero for their own spectrum
                      StatsCase{{1000, 0, 1010, 0, 1020}, 3, 1010, 10, 10.0f / 1010},
                      StatsCase{{1000, 1010, 0}, 2, 0, 0, 0},
                      StatsCase{{100, 101, 102, 103, 104, 105, 106, 107, 108, 109},
                                10,
                                104.5f,
                                3.0276504f,
                                3.0276504f / 104.5f},
                      // equal values: a variance rounding below zero is no error
                      StatsCase{{0.3, 0.3, 0.3, 0.3}, 4, 0.3f, 0, 0},
                      // a mean of at most 0.1 gives no ratio
                      StatsCase{{0.1, 0.1, 0.1, -0.1}, 4, 0.05f, 0.1f, 0},
                      // a steady reading at 10 m: squares rounded to single precision would
                      // make the deviation 1.7 mm instead of 0.1 mm
                      StatsCase{{9999.1, 9999.2, 9999.3}, 3, 9999.2f, 0.1001f, 0.1001f / 9999.2f}));

TEST(SpectrumResults, DistanceHeaderFieldsAndFootnoteAfterFourSpectra) {
    test::SessionFixture f;
    SpectrumResultStep(f.s, DistanceHeader(1000));
    SpectrumResultStep(f.s, DistanceHeader(1010));
    SpectrumResultStep(f.s, DistanceHeader(1020));
    EXPECT_EQ(SpectrumStreamFootnote(f.s),
              "X= 1020mm, F= 0Hz, S= 50, Xavr=1010.0+/-10.00mm(0.990%)V= 0mm/s, F= 0Hz N=3 ");
    SpectrumResultStep(f.s, kDistanceHeader);
    const ResultFields& r = f.s.res;
    EXPECT_FALSE(r.ModeVelocity);
    EXPECT_FLOAT_EQ(r.ResultDist, 1234.5f);
    EXPECT_FLOAT_EQ(r.ResultVel, 12.34f);
    EXPECT_EQ(r.ResultSignal, 45);
    EXPECT_FLOAT_EQ(r.ResultFreq, 5000);
    EXPECT_FLOAT_EQ(r.ResultFdif, 12.3456f);
    EXPECT_EQ(r.RampText, "RAMP DOWN");
    EXPECT_EQ(SpectrumStreamFootnote(f.s),
              "X= 1234.5mm, F= 5000Hz, S= 45, Xavr=1066.1+/-112.55mm(10.557%)V= 12.34mm/s, "
              "F= 12.3456Hz N=4 RAMP DOWN");
}

// ---- results stream ----

const Colour kGreen{127, 255, 127};
const Colour kDarkRed{127, 0, 0};
const Colour kGrey{85, 85, 85};
const Colour kMarker{1, 2, 3};  // a lamp colour no line sets

struct LineCase {
    std::string line;
    std::string value;  // as shown in millimetres
    int S;
    std::string sText;
    Colour relay1, relay2;
};

class ResultsLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ResultsLine, FillsTheResultsWindow) {
    const LineCase& c = GetParam();
    test::SessionFixture f;
    f.s.results.shpRelay2 = kMarker;
    ResultsLineStep(f.s, c.line);
    const ResultsModel& m = f.s.results;
    EXPECT_EQ(m.txtOutputvalue, c.value);
    EXPECT_EQ(m.pbrSigstrength, c.S);
    EXPECT_EQ(m.txtSigstrength, c.sText);
    EXPECT_EQ(m.SigColor, SignalColor(c.S));
    EXPECT_EQ(m.shpRelay1, c.relay1);
    EXPECT_EQ(m.shpRelay2, c.relay2);
    EXPECT_EQ(f.host.resultsUpdates, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultsLine,
    ::testing::Values(
        LineCase{"D=  1234.5 S=45 stat=00000003", "1234.5", 45, "45", kGreen, kGreen},
        LineCase{"D= -12.25 S=07 stat=00000002", "-12.25", 7, "07", kDarkRed, kGreen},
        LineCase{"D=  1234.5 S=45", "1234.5", 45, "45", kGrey, kMarker},
        LineCase{"no value", "0", 0, "00", kGrey, kMarker},
        // the top bit of the status word makes it negative as a signed word
        LineCase{"D=1 S=99 stat=80000001", "1", 99, "99", kGreen, kDarkRed},
        // an unreadable or negative signal figure shows 0 instead of ending the program
        LineCase{"D=5 S=xy stat=00000001", "5", 0, "00", kGreen, kDarkRed},
        LineCase{"D=5 S=-7", "5", 0, "00", kGrey, kMarker},
        // a status word cut short by the line end reads what is there
        LineCase{"D=5 S=12 stat=3", "5", 12, "12", kGreen, kGreen},
        // "S=" and "stat=" count only after the value
        LineCase{"S=45 D=100", "45", 0, "00", kGrey, kMarker}));

TEST(ResultsLineHost, NoHostIsNoError) {
    test::SessionFixture f;
    f.s.io.host = nullptr;
    ResultsLineStep(f.s, "D=1 S=10");
    EXPECT_EQ(f.s.results.pbrSigstrength, 10);
}

TEST(SignalColour, RedThroughGreenToBlue) {
    const std::pair<double, Colour> cases[] = {
        {0, {255, 0, 0}},  {50, {128, 127, 1}}, {100, {0, 0, 255}},  {150, {0, 0, 255}},
        {-5, {255, 0, 0}}, {25, {191, 64, 0}},  {90, {26, 120, 110}}};
    for (const auto& [S, colour] : cases)
        EXPECT_EQ(SignalColor(S), colour) << S;
}

// ---- unit identification ----

struct UnitCase {
    std::string logo;
    float serNum;
    std::string label;
    std::string header;
};

class UnitInfo : public ::testing::TestWithParam<UnitCase> {};

TEST_P(UnitInfo, LabelAndGraphHeader) {
    const UnitCase& c = GetParam();
    ParamMirror m;
    m.LogoStr = c.logo;
    m.SerNum = c.serNum;
    EXPECT_EQ(VerAndSerialLabel(m), c.label);
    EXPECT_EQ(MakeGraphHeaderStr(m), c.header);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnitInfo,
    ::testing::Values(UnitCase{"SONDIX RADAR\r\nV1.23", 1234, "SONDIX RADAR\r\nV1.2 : S/N= 1234",
                               "Unit# 1234,SONDIX R"},
                      UnitCase{"SONDIX RADAR FMCW V1.23 build 7", 56,
                               "SONDIX RADAR FMCW  : S/N= 56", "Unit# 56,SONDIX RADAR FMCW V1."},
                      UnitCase{"ABCDEFGHIJK", 7, "ABCDEFGHIJK : S/N= 7", "Unit# 7,A"},
                      UnitCase{"ABCDEFGHIJ", 7, "ABCDEFGHIJ : S/N= 7", "Unit# 7"},
                      UnitCase{"V1.2", 0, "V1.2 : S/N= 0", "V1.2"},
                      UnitCase{"", 0, " : S/N= 0", ""}));

}  // namespace
}  // namespace sondix
