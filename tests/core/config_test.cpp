// The configuration rules: the listing reader with every fallback spelling, the unit
// conversions both ways with their round trip, and parameter writes and commands on the wire.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "common/pauses.h"
#include "config/param_exchange.h"
#include "config/read_par.h"
#include "config/units.h"
#include "session_fixture.h"
#include "tracing_port.h"

namespace sondix::test {
namespace {

using M = ParamMirror;

// ---------------------------------------------------------------- GetParValue

TEST(GetParValue, ReadsTheNumberRightAfterTheKey) {
    const struct {
        const char *what, *text, *key;
        float expected;
    } cases[] = {{"point stops the scan", "Units   =2.5\r\n", "Units   =", 2.0f},
                 {"negative", "Rly1Dist=-1500\r\n", "Rly1Dist=", -1500.0f},
                 {"fraction not rounded", "CalFac  =12345/1000\r\n", "CalFac  =", 12.345f},
                 {"divisor 0 counts as 1", "CalFac  =7/0\r\n", "CalFac  =", 7.0f},
                 {"product with star", "Tcorrfac=5*100\r\n", "Tcorrfac=", 500.0f},
                 {"product with blank", "Tcorrfac=5 100\r\n", "Tcorrfac=", 500.0f},
                 {"trailing blank ends", "Gain    =5 \r\nX=9", "Gain    =", 5.0f},
                 {"blank before the value is a factor", "Gain    = 5\r\n", "Gain    =", 0.0f},
                 {"number at the very end", "Gain    =12345", "Gain    =", 12345.0f},
                 {"blanks are part of the key", "Gain =3\r\n", "Gain    =", kMissing}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(GetParValue(c.text, c.key), c.expected) << c.what;
}

// ---------------------------------------------------------------- GetParText

// A marker before the key does not count; without a marker the text ends one short of the end.
TEST(GetParText, TakesTheTextBetweenKeyAndMarker) {
    const std::pair<const char*, const char*> cases[] = {{"xxKEYhello ENDyy", "hello "},
                                                         {"ENDKEYabcENDz", "abc"},
                                                         {"KEYhello", "hell"},
                                                         {"KEYEND", ""},
                                                         {"abcKEY", ""},
                                                         {"hello END", ""}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(GetParText(text, "KEY", "END"), expected) << text;
}

// ---------------------------------------------------------------- FindAfterKeyword

TEST(FindAfterKeyword, KeywordsAreTriedInTheirOrderNotByPosition) {
    // "Ver" occurs first in the text, but "Version" is asked for first.
    EXPECT_EQ(FindAfterKeyword("Ver 1 Version 2", {"Version", "Ver"}), 14);
    EXPECT_EQ(FindAfterKeyword("Ver 1 Version 2", {"Ver", "Version"}), 4);
    EXPECT_EQ(FindAfterKeyword("Radar Rev.2", {"Version", "Rev.", "Rev"}), 11);
    EXPECT_EQ(FindAfterKeyword("no revision here", {"Version", "Ver"}), 0);
}

// ---------------------------------------------------------------- Listings

std::string Listing(const std::string& logo, const std::vector<std::string>& lines) {
    std::string out = "P\r\nSYSTEM LOGO:\r\n" + logo + "\r\nBOARDID = 7\r\n";
    for (const std::string& l : lines)
        out += l + "\r\n";
    return out + "  ***  \r\n";
}

// Every key of a distance sensor, with the preferred spellings.
std::vector<std::string> DistanceLines() {
    return {
        "SerNum  =1234",  "Password=4711",  "Units   =2",     "Damping =5",   "Range   =30000",
        "Set  4  =500",   "Set 20  =12000", "Raw Fmin=10",    "Raw Fmax=400", "GENfault=1",
        "LOEfault=2",     "HistLog =3",     "BaudRate=9600",  "CalOffs =-15", "CalFac  =30000/7",
        "CalFacD =99",    "CalDist =5000",  "CalDopplr=123",  "CalDopp =98",  "CalFacV =97",
        "Rly1Dist=-1500", "Rly2Dist=2500",  "Log2Nfft=11",    "LoopTime=250", "SampleT =20",
        "Trim 4  =101",   "Trim 20 =202",   "AmpMin  =30",    "Gain    =4",   "Rly1Mode=1",
        "Rly2Mode=2",     "Algoritm=1",     "DistMax =40000", "TestFlgs=6",   "Tcorrfac=5*100",
        "Vrampmin=1 200", "Vrampmax=4000",  "Vramp0  =10",    "Vramp1  =11",  "Vramp2  =12",
        "Vramp3  =13",    "Vramp4  =14",    "MargStrt=5",     "MargEnd =6",   "PeakSel =1",
        "PkSel   =3",     "Dither  =1",     "OutSel  =2"};
}

std::vector<std::string> Without(std::vector<std::string> lines,
                                 std::initializer_list<std::string> keys) {
    std::erase_if(lines, [&](const std::string& l) {
        for (const std::string& k : keys) {
            if (l.rfind(k, 0) == 0) return true;
        }
        return false;
    });
    return lines;
}

std::vector<std::string> With(std::vector<std::string> lines,
                              std::initializer_list<std::string> extra) {
    lines.insert(lines.end(), extra);
    return lines;
}

ParamMirror Read(const std::string& listing) {
    ParamMirror m;
    ReadPar(m, listing);
    return m;
}

// Every listed member reaching the mirror: the read_par fuzz target on the simulator's listings;
// here the older
// spellings, the kind of sensor and the sizes.
TEST(ReadPar, DistanceListingIdentifiesItself) {
    const ParamMirror m = Read(Listing("Radar Level Ver0.47\r\n(c) 2001", DistanceLines()));
    EXPECT_FALSE(m.VelocimeterMode);
    EXPECT_EQ(m.LogoStr, "Radar Level Ver0.47\r\n(c) 2001\r\n");
    EXPECT_FLOAT_EQ(m.FirmwareRev, 0.47f);
    EXPECT_EQ(m.NumberOfFFTdatapoints, 2048);
    EXPECT_FLOAT_EQ(m.Loop_Tst, 0);  // no key fills it
}

struct FallbackCase {
    const char* what;
    std::vector<std::string> lines;
    float M::*member;
    float expected;
};

// The logo names no kind: a listing without "Vramp" lines is a velocimeter's.
void ExpectFallbacks(const std::vector<FallbackCase>& cases) {
    for (const FallbackCase& c : cases)
        EXPECT_FLOAT_EQ(Read(Listing("Radar Ver0.47", c.lines)).*(c.member), c.expected) << c.what;
}

TEST(ReadPar, DistanceKeysTryTheOlderSpellings) {
    ExpectFallbacks(
        {{"CalFacD", Without(DistanceLines(), {"CalFac  ="}), &M::CalFac, 99},
         {"CalDopp", Without(DistanceLines(), {"CalDopplr="}), &M::CalDopplr, 98},
         {"CalFacV", Without(DistanceLines(), {"CalDopplr=", "CalDopp ="}), &M::CalDopplr, 97},
         {"CalDopplr missing", Without(DistanceLines(), {"CalDopplr=", "CalDopp =", "CalFacV ="}),
          &M::CalDopplr, kMissing},
         {"PeakSel -1 gives PkSel",
          With(Without(DistanceLines(), {"PeakSel =", "PkSel   ="}), {"PeakSel =-1", "PkSel   =2"}),
          &M::PeakSel, 2},
         {"PeakSel missing gives PkSel", Without(DistanceLines(), {"PeakSel ="}), &M::PeakSel, 3},
         {"PeakSel and PkSel missing", Without(DistanceLines(), {"PeakSel =", "PkSel   ="}),
          &M::PeakSel, kMissing},
         {"SerNum missing", Without(DistanceLines(), {"SerNum  ="}), &M::SerNum, kMissing}});
}

std::vector<std::string> VelocimeterLines() {
    return {"SerNum  =555",  "Password=1111", "Units   =1",    "Damping =2",    "HistLog =4",
            "CalFac  =321",  "CalFacV =311",  "CalDopp =301",  "CalDopplr=291", "CalVel  =2000",
            "CalDist =9999", "Rly1Dist=1234", "Rly2Vel =-800", "Rly2Dist=4321", "Log2Nfft=9",
            "SampleT =50",   "AmpMin  =12",   "Rly1Mode=3",    "Rly2Mode=4",    "Algor   =2",
            "Algoritm=7",    "PkSel   =1",    "PeakSel =3",    "DistMax =5",    "OutSel  =1"};
}

TEST(ReadPar, VelocimeterListingReadsItsOwnKeys) {
    const ParamMirror m = Read(Listing("KurnSpeed Version 1.51", VelocimeterLines()));
    ASSERT_TRUE(m.VelocimeterMode);
    // CalDist from CalVel, Rly2Dist from Rly2Vel, Algoritm from Algor, PkSel before PeakSel;
    // Rly1Dist is 0 and DistMax is not read.
    const std::pair<float M::*, float> cases[] = {
        {&M::CalFac, 321}, {&M::CalDist, 2000}, {&M::Rly1Dist, 0}, {&M::Rly2Dist, -800},
        {&M::Algoritm, 2}, {&M::PeakSel, 1},    {&M::DistMax, 0}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(m.*c.first, c.second) << "case " << &c - cases;
}

TEST(ReadPar, VelocimeterKeysTryTheOlderSpellings) {
    ExpectFallbacks(
        {{"CalFacV", Without(VelocimeterLines(), {"CalFac  ="}), &M::CalFac, 311},
         {"CalDopp", Without(VelocimeterLines(), {"CalFac  =", "CalFacV ="}), &M::CalFac, 301},
         {"CalDopplr", Without(VelocimeterLines(), {"CalFac  =", "CalFacV =", "CalDopp ="}),
          &M::CalFac, 291},
         {"CalDopplr copies CalFac", Without(VelocimeterLines(), {"CalFac  =", "CalFacV ="}),
          &M::CalDopplr, 301},
         {"PkSel -1 gives PeakSel",
          With(Without(VelocimeterLines(), {"PkSel   ="}), {"PkSel   =-1"}), &M::PeakSel, 3},
         {"CalVel missing", Without(VelocimeterLines(), {"CalVel  ="}), &M::CalDist, kMissing}});
}

TEST(ReadPar, VelocimeterByAMarkerWordInTheLogoHeadOrNoRamp) {
    struct Case {
        const char* logo;
        bool withVramp;
        bool velocimeter;
    };
    const Case cases[] = {{"Radar Ver0.47", true, false},
                          {"Radar Ver0.47", false, true},
                          {"KurnSpeed Ver1.51", true, true},
                          {"123456Kurn", true, true},
                          {"1234567Kurn", true, false}};
    for (const Case& c : cases) {
        const auto lines = c.withVramp ? DistanceLines() : Without(DistanceLines(), {"Vramp"});
        EXPECT_EQ(Read(Listing(c.logo, lines)).VelocimeterMode, c.velocimeter) << c.logo;
    }
}

TEST(ReadPar, FirmwareRevisionIsFourCharactersAfterTheKeywordAndItsBlanks) {
    const std::pair<const char*, float> cases[] = {
        {"Radar Ver 0.47", 0.47f},  {"Radar Version 1.51", 1.51f},
        {"Radar Rev.0.46x", 0.46f}, {"Radar Rev 1.234567", 1.23f},
        {"Radar Ver", 0.0f},        {"Radar (no revision)", 0.0f}};
    for (const auto& [logo, rev] : cases)
        EXPECT_FLOAT_EQ(Read(Listing(logo, DistanceLines())).FirmwareRev, rev) << logo;
}

// A power of two only within 4 to 16 (the larger sizes need 32 bits); a garbled exponent is no
// spectrum size.
TEST(ReadPar, SpectrumSizeFromLog2Nfft) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"Log2Nfft=3", 1024},   {"Log2Nfft=4", 16},     {"Log2Nfft=12", 4096},
        {"Log2Nfft=15", 32768}, {"Log2Nfft=16", 65536}, {"Log2Nfft=17", 1024},
        {"Other=1", 1024},      {"Log2Nfft=11/2", 1024}};
    for (const auto& [line, size] : cases) {
        const auto lines = With(Without(DistanceLines(), {"Log2Nfft="}), {line});
        EXPECT_EQ(Read(Listing("Radar", lines)).NumberOfFFTdatapoints, size) << line;
    }
}

enum class Kind { Distance, LongRange, Velocimeter };

ParamMirror Mirror(Kind kind, float units) {
    ParamMirror m;
    m.Units = units;
    m.FirmwareRev = kind == Kind::Distance ? 0.40f : 1.51f;
    m.VelocimeterMode = kind == Kind::Velocimeter;
    return m;
}

std::string Name(Kind k, int units) {
    return std::string(k == Kind::Distance    ? "distance"
                       : k == Kind::LongRange ? "long-range"
                                              : "velocimeter") +
           " unit " + std::to_string(units);
}

struct Case {
    Kind kind;
    int units;
    float mm;
};

// ---------------------------------------------------------------- mm -> units

constexpr Kind D = Kind::Distance;
constexpr Kind L = Kind::LongRange;
constexpr Kind V = Kind::Velocimeter;

TEST(Units, MillimetresToValueAndText) {
    const struct {
        Case c;
        float value;
        const char* text;
    } cases[] = {// clang-format off
        {{D, 0, -20.25f}, -20.25f, "-20.25"}, {{L, 0, 1235}, 1.24f, "1.24"},
        {{L, 0, -1236}, -1.24f, "-1.24"}, {{V, 0, 1234.5f}, 1234.5f, "1234.5"},
        {{D, 2, 1234.4f}, 1.234f, "1.234"}, {{L, 2, 1234}, 1.234f, "1.23"},
        {{D, 4, 1000}, 100.0f, "100.0"}, {{D, 4, 0.49999997f}, 0.0f, "0.0"},
        {{D, 2, 8388609.0f}, 8388.609f, "8388.609"}, {{V, 4, -55}, -5.5f, "-5.5"},
        {{D, 3, 1000}, 39.4f, "39.4"}, {{V, 3, 25.4f}, 1.0f, "1.0"},
        {{D, 1, 1000}, 3.28f, "3'3.4\""}, {{D, 1, 301.752f}, 0.99f, "0'11.9\""},
        {{D, 1, 304.19f}, 1.0f, "1'0.0\""}, {{D, 1, -914.4f}, -3.0f, "-3'0.0\""},
        {{D, 1, -152.4f}, -0.5f, "-0'6.0\""}, {{D, 1, -1.0f}, 0.0f, "0'0.0\""}};
    // clang-format on
    for (const auto& t : cases) {
        const ParamMirror m = Mirror(t.c.kind, t.c.units);
        EXPECT_FLOAT_EQ(cnv_mm_to_units(m, t.c.mm), t.value) << Name(t.c.kind, t.c.units) << t.c.mm;
        EXPECT_EQ(cnv_mm_to_units_str(m, t.c.mm), t.text) << Name(t.c.kind, t.c.units) << t.c.mm;
    }
}

// An unread or odd unit index behaves as millimetres.
TEST(UnitIndex, OddValuesActAsMillimetres) {
    for (const float units : {5.0f, 1.5f, std::numeric_limits<float>::quiet_NaN()}) {
        ParamMirror m = Mirror(D, 0);
        m.Units = units;
        EXPECT_EQ(UnitIndex(m), 0) << units;
        EXPECT_FLOAT_EQ(cnv_mm_to_units(m, 1234.5f), 1234.5f) << units;
        EXPECT_FLOAT_EQ(cnv_units_str_to_mm(m, "12.5"), 12.5f) << units;
        EXPECT_EQ(UnitLabel(m), "mm") << units;
    }
}

// ---------------------------------------------------------------- units -> mm

// The value is the number that text stands for, for cnv_units_to_mm.
TEST(Units, TextAndValueToMillimetres) {
    const struct {
        Kind kind;
        int units;
        const char* text;
        float value, mm;
    } cases[] = {// clang-format off
        {D, 0, " -12.25 mm", -12.25f, -12.25f}, {L, 0, "1.2345", 1.2345f, 1235},
        {L, 2, "-0.5", -0.5f, -500}, {V, 2, "2.5 m/s", 2.5f, 2500}, {D, 4, "  12.3cm", 12.3f, 123},
        {D, 3, "39.4\"", 39.4f, 1001}, {V, 3, "-1.0\"", -1.0f, -25}, {D, 1, "5'6", 5.5f, 1676},
        {V, 1, "5'6.0\"", 5.5f, 1676}, {D, 1, "-2'6", -2.5f, -762},
        {D, 1, " -0'6", -0.5f, -152}, {D, 1, "'6", 0.5f, 152}, {D, 1, "3.5", 3.5f, 1067},
        {D, 1, "5\"6'", 5.0f, 1524}, {D, 1, "abc", 0.0f, 0}};  // inch mark before the apostrophe
    // clang-format on
    for (const auto& t : cases) {
        const ParamMirror m = Mirror(t.kind, t.units);
        EXPECT_FLOAT_EQ(cnv_units_str_to_mm(m, t.text), t.mm) << Name(t.kind, t.units) << t.text;
        EXPECT_FLOAT_EQ(cnv_units_to_mm(m, t.value), t.mm) << Name(t.kind, t.units) << t.text;
    }
}

TEST(LongRange, AboveRevision046OnADistanceSensor) {
    struct Case {
        float rev;
        bool velocimeter;
        bool longRange;
    };
    const Case cases[] = {{0.46f, false, false}, {0.47f, false, true}, {1.51f, true, false}};
    for (const Case& c : cases) {
        ParamMirror m;
        m.FirmwareRev = c.rev;
        m.VelocimeterMode = c.velocimeter;
        EXPECT_EQ(LongRangeFirmware(m), c.longRange) << c.rev << " " << c.velocimeter;
    }
}

// ---------------------------------------------------------------- the set command's integer

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Whole millimetres, or centimetres for long-range unit 0, clamped before rounding.
TEST(Units, SetCommandInteger) {
    const struct {
        Kind kind;
        int units;
        double mm;
        std::int16_t sent;
    } cases[] = {// clang-format off
        {L, 0, 1234, 123}, {L, 0, 1235, 124}, {L, 0, -1236, -124}, {L, 0, 1e30, 32760},
        {L, 0, kNaN, 0}, {L, 2, 1234, 1234}, {V, 0, 1234, 1234}, {D, 0, 1234.4, 1234},
        {D, 0, 32761, 32760}, {D, 4, -1e30, -32760}, {D, 0, kInf, 32760}};
    // clang-format on
    for (const auto& t : cases)
        EXPECT_EQ(cnv_mm_to_sensor(Mirror(t.kind, t.units), t.mm), t.sent)
            << Name(t.kind, t.units) << t.mm;
}

namespace P = Gen::Pauses;

TEST(SendSCmd, TwoDigitIndexAndSixCharacterValue) {
    const struct {
        std::int16_t index, value;
        const char* wire;
    } cases[] = {{23, 400, "23000400"},   {47, -1500, "47-01500"}, {30, 3, "30000003"},
                 {5, 0, "05000000"},      {82, -1, "82-00001"},    {0, 32767, "00032767"},
                 {99, -32768, "99-32768"}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatSetValue(c.index, c.value), c.wire);
}

// The letter, a pause, then index and value in one piece; nothing for a bad index or a closed port.
TEST(SendSCmd, LetterPauseThenIndexAndValueInOnePiece) {
    const struct {
        std::int16_t index, value;
        bool portOpen;
        std::vector<std::string> writes;
    } cases[] = {{30, 3, true, {"s", "30000003"}},
                 // clang-format off
                                           {47, -1500, true, {"s", "47-01500"}},
                                           {99, 12, true, {"s", "99000012"}},
                                           {100, 3, true, {}}, {-1, 3, true, {}},
                 // clang-format on
                 {30, 3, false, {}}};
    for (const auto& c : cases) {
        SessionFixture f;
        TracingPort port(f.clock);
        port.open = c.portOpen;
        f.s.io.port = &port;
        const double start = f.clock.now;
        send_s_cmd(f.s, c.index, c.value);
        EXPECT_EQ(port.writes, c.writes) << c.index;
        if (c.writes.empty()) {
            EXPECT_TRUE(f.clock.waits.empty());
            continue;
        }
        EXPECT_EQ(port.writeTimes, (std::vector<double>{start, start + 1.0}));
        EXPECT_EQ(f.clock.waits, (std::vector<double>{P::kBeforeValue, P::kAfterCommand}));
    }
}

// One letter goes out and becomes the pending command; a write error is shown, the parser starts
// afresh, the command still counts and the pause still follows.
TEST(SendCmd, WritesTheFirstLetterAndMakesItPendingErrorsAreShown) {
    SessionFixture f;
    f.s.CommandKey = 'x';
    send_cmd(f.s, "Pxyz");
    EXPECT_EQ(f.port.writes, std::vector<std::string>{"P"});
    EXPECT_EQ(f.s.CommandKey, 'P');
    EXPECT_EQ(f.clock.waits, std::vector<double>{P::kAfterCommand});
    f.port.outputError = "Write timeout";
    send_cmd(f.s, "D");
    f.s.parser.GraphState = 2;
    send_s_cmd(f.s, 19, 4);
    EXPECT_EQ(f.asker.asked.size(), 2u);
    EXPECT_EQ(f.asker.asked[1].text, "send_s_cmd error: Write timeout");
    EXPECT_EQ(f.s.CommandKey, 'D');
    EXPECT_EQ(f.s.parser.GraphState, 0);
    EXPECT_EQ(f.clock.waits.back(), P::kAfterCommand);
}

}  // namespace
}  // namespace sondix::test
