// Status listings, timer and ramp texts, the spectrum stream's results and statistics, the
// results stream's lines and the unit identification: one table a reader.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "response/status_lines.h"
#include "session_fixture.h"

namespace sondix {
namespace {

TEST(StatusLines, ListingReadsItsKeysAndLeavesAbsentOnes) {
    const struct {
        std::string text;
        float vel, dist, freq;
        std::int16_t signal;
        bool velocity;
        float periodUs;
        float vref;
    } cases[] = {
        // A distance sensor's full listing; "Freq" ends at its blank, "SampleT" at the CR.
        {"Vel     = 12.5\r\nDist    = 1500\r\nFreq    = 123456 \r\nQuality =   45\r\n"
         "Vrefcal = 3.70\r\nSampleT = 20000\r\n",
         12.5f, 1500, 1234.56f, 45, false, 200, 3.7f},
        // No "Dist    =": a velocimeter; a sample time of 0 falls back to 1 us.
        {"Vel     =-0.75\r\nSampleT =     0\r\n", -0.75f, 0, 9, 10, true, 1, 12},
        // A variable field without blank or CR after it is five characters long.
        {"Dist    =  100Freq    =12345678", 7, 100, 123.45f, 10, false, 11, 12},
        // Whole values round halves to even; a negative sample time falls back too.
        {"Dist    =    1Quality =  6.5SampleT = -500 ", 7, 1, 9, 6, false, 1, 12},
        {"Dist    =    1Quality =  7.5", 7, 1, 9, 8, false, 11, 12},
        // The variable field's blank is searched from its second character, so a value that
        // starts with two blanks is empty; without blank the CR is searched from the first.
        {"Dist    =    1Freq    =  5000 \r\n", 7, 1, 0, 10, false, 11, 12},
        {"Dist    =    1SampleT =\r\n300", 7, 1, 9, 10, false, 1, 12},
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
        {"Vel = f =123456789012", &F::ResultFreq, 34567890.0f},
        {"Dist=123456789", &F::ResultDist, 123456},
        {"Dist=1 Vel=123456789", &F::ResultVel, 234567},
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
    test::SessionFixture v;
    v.s.res.ResultFdif = 99;
    SpectrumResultStep(v.s, "Vel = 123.4 S= 45 f =  2000.00 RAMP UP  \r\n");
    EXPECT_FLOAT_EQ(v.s.res.ResultFdif, 0);  // cleared for every spectrum
    EXPECT_EQ(SpectrumStreamFootnote(v.s),
              "V= 123.4mm/s, F= 2000Hz, S= 45, Vavr=123.4+/-0.00mm/s(0.000% N=1) RAMP UP  ");
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
        {{1000, 1010}, 2, 1005, 0, 0},  // no deviation from two
        {{1000, 1010, 1020}, 3, 1010, 10, 10.0f / 1010},
        // zero results are skipped and show zero for their own spectrum
        {{1000, 0, 1010, 0, 1020}, 3, 1010, 10, 10.0f / 1010},
        {{1000, 1010, 0}, 2, 0, 0, 0},
        {{100, 101, 102, 103, 104, 105, 106, 107, 108, 109},
         10,
         104.5f,
         3.0276504f,
         3.0276504f / 104.5f},
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
        {"ABCDEFGHIJK", 7, "ABCDEFGHIJK : S/N= 7", "Unit# 7,A"},
        {"ABCDEFGHIJ", 7, "ABCDEFGHIJ : S/N= 7", "Unit# 7"},
        {"", 0, " : S/N= 0", ""}};
    for (const auto& c : cases) {
        ParamMirror m;
        m.LogoStr = c.logo;
        m.SerNum = c.serNum;
        EXPECT_EQ(VerAndSerialLabel(m), c.label);
        EXPECT_EQ(MakeGraphHeaderStr(m), c.header);
    }
}

}  // namespace
}  // namespace sondix
