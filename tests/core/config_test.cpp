// The configuration rules: the listing reader with every fallback spelling, the unit
// conversions both ways (their round trip: the units fuzz target), and parameter writes and
// commands on the wire.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
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
using Lines = std::vector<std::string>;

// The point stops the scan; a fraction is not rounded, a divisor 0 counts as 1; a product with
// star or blank; a trailing blank ends, a blank before the value is a factor; blanks are part of
// the key.
TEST(ListingText, ValuesTextsAndKeywords) {
    const std::tuple<const char*, const char*, float> values[] = {
        {"Units   =2.5\r\n", "Units   =", 2.0f},
        {"Rly1Dist=-1500\r\n", "Rly1Dist=", -1500},
        {"CalFac  =12345/1000\r\n", "CalFac  =", 12.345f},
        {"CalFac  =7/0\r\n", "CalFac  =", 7},
        {"Tcorrfac=5*100\r\n", "Tcorrfac=", 500},
        {"Tcorrfac=5 100\r\n", "Tcorrfac=", 500},
        {"Gain    =5 \r\nX=9", "Gain    =", 5},
        {"Gain    = 5\r\n", "Gain    =", 0},
        {"Gain    =12345", "Gain    =", 12345},
        {"Gain =3\r\n", "Gain    =", kMissing}};
    for (const auto& [text, key, value] : values)
        EXPECT_FLOAT_EQ(GetParValue(text, key), value) << text;
    // A marker before the key does not count; without a marker the text ends one short of the end.
    for (const auto& [text, expected] : {std::pair{"xxKEYhello ENDyy", "hello "},
                                         {"ENDKEYabcENDz", "abc"},
                                         {"KEYhello", "hell"},
                                         {"KEYEND", ""},
                                         {"abcKEY", ""},
                                         {"hello END", ""}})
        EXPECT_EQ(GetParText(text, "KEY", "END"), expected) << text;
    // Keywords are tried in their order, not by position.
    EXPECT_EQ(FindAfterKeyword("Ver 1 Version 2", {"Version", "Ver"}), 14);
    EXPECT_EQ(FindAfterKeyword("Ver 1 Version 2", {"Ver", "Version"}), 4);
    EXPECT_EQ(FindAfterKeyword("Radar Rev.2", {"Version", "Rev.", "Rev"}), 11);
    EXPECT_EQ(FindAfterKeyword("no revision here", {"Version", "Ver"}), 0);
}

std::string Listing(const std::string& logo, const Lines& lines) {
    std::string out = "P\r\nSYSTEM LOGO:\r\n" + logo + "\r\nBOARDID = 7\r\n";
    for (const std::string& l : lines)
        out += l + "\r\n";
    return out + "  ***  \r\n";
}

// Every key of a distance sensor, with the preferred spellings.
const Lines kDistance = {
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

const Lines kVelocimeter = {
    "SerNum  =555",  "Password=1111", "Units   =1",    "Damping =2",    "HistLog =4",
    "CalFac  =321",  "CalFacV =311",  "CalDopp =301",  "CalDopplr=291", "CalVel  =2000",
    "CalDist =9999", "Rly1Dist=1234", "Rly2Vel =-800", "Rly2Dist=4321", "Log2Nfft=9",
    "SampleT =50",   "AmpMin  =12",   "Rly1Mode=3",    "Rly2Mode=4",    "Algor   =2",
    "Algoritm=7",    "PkSel   =1",    "PeakSel =3",    "DistMax =5",    "OutSel  =1"};

// The lines without those starting with one of `keys`, and `extra` added.
Lines Edit(Lines lines, std::initializer_list<std::string> keys, Lines extra = {}) {
    std::erase_if(lines, [&](const std::string& l) {
        return std::any_of(keys.begin(), keys.end(),
                           [&](const auto& k) { return l.starts_with(k); });
    });
    lines.insert(lines.end(), extra.begin(), extra.end());
    return lines;
}

ParamMirror Read(const std::string& logo, const Lines& lines) {
    ParamMirror m;
    ReadPar(m, Listing(logo, lines));
    return m;
}

// Every listed member reaching the mirror: the read_par fuzz target on the simulator's listings;
// here the kind of sensor, the sizes and the older spellings. The logo "Radar Ver0.47" names no
// kind: a listing without "Vramp" lines is a velocimeter's.
TEST(ReadPar, KindRevisionAndSizes) {
    const ParamMirror m = Read("Radar Level Ver0.47\r\n(c) 2001", kDistance);
    EXPECT_FALSE(m.VelocimeterMode);
    EXPECT_EQ(m.LogoStr, "Radar Level Ver0.47\r\n(c) 2001\r\n");
    EXPECT_FLOAT_EQ(m.Loop_Tst, 0);  // no key fills it
    // A marker word in the logo's head, or no ramp, makes a velocimeter.
    for (const auto& [logo, withVramp, velocimeter] : {std::tuple{"Radar Ver0.47", true, false},
                                                       {"Radar Ver0.47", false, true},
                                                       {"KurnSpeed Ver1.51", true, true},
                                                       {"123456Kurn", true, true},
                                                       {"1234567Kurn", true, false}})
        EXPECT_EQ(Read(logo, withVramp ? kDistance : Edit(kDistance, {"Vramp"})).VelocimeterMode,
                  velocimeter)
            << logo;
    // The revision is four characters after the keyword and its blanks.
    for (const auto& [logo, rev] : {std::pair{"Radar Ver 0.47", 0.47f},
                                    {"Radar Version 1.51", 1.51f},
                                    {"Radar Rev.0.46x", 0.46f},
                                    {"Radar Rev 1.234567", 1.23f},
                                    {"Radar Ver", 0.0f},
                                    {"Radar (no revision)", 0.0f}})
        EXPECT_FLOAT_EQ(Read(logo, kDistance).FirmwareRev, rev) << logo;
    // A power of two only within 4 to 16; a garbled exponent is no spectrum size.
    for (const auto& [line, size] : {std::pair{"Log2Nfft=3", 1024},
                                     {"Log2Nfft=4", 16},
                                     {"Log2Nfft=12", 4096},
                                     {"Log2Nfft=15", 32768},
                                     {"Log2Nfft=16", 65536},
                                     {"Log2Nfft=17", 1024},
                                     {"Other=1", 1024},
                                     {"Log2Nfft=11/2", 1024}})
        EXPECT_EQ(Read("Radar", Edit(kDistance, {"Log2Nfft="}, {line})).NumberOfFFTdatapoints, size)
            << line;
}

// A velocimeter reads CalDist from CalVel, Rly2Dist from Rly2Vel, Algoritm from Algor, PkSel
// before PeakSel; Rly1Dist is 0 and DistMax is not read.
TEST(ReadPar, KeysAndTheirOlderSpellings) {
    const ParamMirror v = Read("KurnSpeed Version 1.51", kVelocimeter);
    ASSERT_TRUE(v.VelocimeterMode);
    for (const auto& [member, value] : {std::pair{&M::CalFac, 321.0f},
                                        {&M::CalDist, 2000},
                                        {&M::Rly1Dist, 0},
                                        {&M::Rly2Dist, -800},
                                        {&M::Algoritm, 2},
                                        {&M::PeakSel, 1},
                                        {&M::DistMax, 0}})
        EXPECT_FLOAT_EQ(v.*member, value) << value;
    const std::tuple<Lines, float M::*, float> cases[] = {
        {Edit(kDistance, {"CalFac  ="}), &M::CalFac, 99},
        {Edit(kDistance, {"CalDopplr="}), &M::CalDopplr, 98},
        {Edit(kDistance, {"CalDopplr=", "CalDopp ="}), &M::CalDopplr, 97},
        {Edit(kDistance, {"CalDopplr=", "CalDopp =", "CalFacV ="}), &M::CalDopplr, kMissing},
        {Edit(kDistance, {"PeakSel =", "PkSel   ="}, {"PeakSel =-1", "PkSel   =2"}), &M::PeakSel,
         2},
        {kDistance, &M::PeakSel, 1},  // a distance sensor prefers PeakSel over PkSel
        {Edit(kDistance, {"PeakSel ="}), &M::PeakSel, 3},
        {Edit(kDistance, {"PeakSel =", "PkSel   ="}), &M::PeakSel, kMissing},
        {Edit(kDistance, {"SerNum  ="}), &M::SerNum, kMissing},
        {Edit(kVelocimeter, {"CalFac  ="}), &M::CalFac, 311},
        {Edit(kVelocimeter, {"CalFac  =", "CalFacV ="}), &M::CalFac, 301},
        {Edit(kVelocimeter, {"CalFac  =", "CalFacV =", "CalDopp ="}), &M::CalFac, 291},
        {Edit(kVelocimeter, {"CalFac  =", "CalFacV ="}), &M::CalDopplr, 301},
        {Edit(kVelocimeter, {"PkSel   ="}, {"PkSel   =-1"}), &M::PeakSel, 3},
        {Edit(kVelocimeter, {"CalVel  ="}), &M::CalDist, kMissing}};
    for (const auto& [lines, member, value] : cases)
        EXPECT_FLOAT_EQ(Read("Radar Ver0.47", lines).*member, value) << lines.size() << " lines";
}

enum Kind { D, L, V };  // distance, long-range distance, velocimeter

ParamMirror Mirror(Kind kind, float units) {
    ParamMirror m;
    m.Units = units;
    m.FirmwareRev = kind == D ? 0.40f : 1.51f;
    m.VelocimeterMode = kind == V;
    return m;
}

std::string Name(Kind k, int units) {
    return std::string("DLV").substr(k, 1) + " unit " + std::to_string(units);
}

// (kind, unit, mm, value, text)
TEST(Units, MillimetresToValueAndText) {
    const std::tuple<Kind, int, float, float, const char*> cases[] = {
        // clang-format off
        {D, 0, -20.25f, -20.25f, "-20.25"}, {L, 0, 1235, 1.24f, "1.24"}, {L, 0, -1236, -1.24f, "-1.24"},
        {V, 0, 1234.5f, 1234.5f, "1234.5"}, {D, 2, 1234.4f, 1.234f, "1.234"}, {L, 2, 1234, 1.234f, "1.23"},
        {D, 4, 1000, 100.0f, "100.0"}, {D, 4, 0.49999997f, 0.0f, "0.0"}, {V, 4, -55, -5.5f, "-5.5"},
        {D, 2, 8388609.0f, 8388.609f, "8388.609"}, {D, 3, 1000, 39.4f, "39.4"}, {V, 3, 25.4f, 1.0f, "1.0"},
        {D, 1, 1000, 3.28f, "3'3.4\""}, {D, 1, 301.752f, 0.99f, "0'11.9\""}, {D, 1, 304.19f, 1.0f, "1'0.0\""},
        {D, 1, -914.4f, -3.0f, "-3'0.0\""}, {D, 1, -152.4f, -0.5f, "-0'6.0\""}, {D, 1, -1.0f, 0.0f, "0'0.0\""}};
    // clang-format on
    for (const auto& [kind, units, mm, value, text] : cases) {
        const ParamMirror m = Mirror(kind, units);
        EXPECT_FLOAT_EQ(cnv_mm_to_units(m, mm), value) << Name(kind, units) << " " << mm;
        EXPECT_EQ(cnv_mm_to_units_str(m, mm), text) << Name(kind, units) << " " << mm;
    }
    // An unread or odd unit index behaves as millimetres.
    for (const float units : {5.0f, 1.5f, std::numeric_limits<float>::quiet_NaN()}) {
        const ParamMirror m = Mirror(D, units);
        EXPECT_EQ(UnitIndex(m), 0) << units;
        EXPECT_FLOAT_EQ(cnv_mm_to_units(m, 1234.5f), 1234.5f) << units;
        EXPECT_FLOAT_EQ(cnv_units_str_to_mm(m, "12.5"), 12.5f) << units;
        EXPECT_EQ(UnitLabel(m), "mm") << units;
    }
}

// The value is the number that text stands for, for cnv_units_to_mm; an inch mark before the
// apostrophe ends the number. (kind, unit, text, value, mm)
TEST(Units, TextAndValueToMillimetres) {
    const std::tuple<Kind, int, const char*, float, float> cases[] = {
        // clang-format off
        {D, 0, " -12.25 mm", -12.25f, -12.25f}, {L, 0, "1.2345", 1.2345f, 1235}, {L, 2, "-0.5", -0.5f, -500},
        {V, 2, "2.5 m/s", 2.5f, 2500}, {D, 4, "  12.3cm", 12.3f, 123}, {D, 3, "39.4\"", 39.4f, 1001},
        {V, 3, "-1.0\"", -1.0f, -25}, {D, 1, "5'6", 5.5f, 1676}, {V, 1, "5'6.0\"", 5.5f, 1676},
        {D, 1, "-2'6", -2.5f, -762}, {D, 1, " -0'6", -0.5f, -152}, {D, 1, "'6", 0.5f, 152},
        {D, 1, "3.5", 3.5f, 1067}, {D, 1, "5\"6'", 5.0f, 1524}, {D, 1, "abc", 0.0f, 0}};
    // clang-format on
    for (const auto& [kind, units, text, value, mm] : cases) {
        const ParamMirror m = Mirror(kind, units);
        EXPECT_FLOAT_EQ(cnv_units_str_to_mm(m, text), mm) << Name(kind, units) << text;
        EXPECT_FLOAT_EQ(cnv_units_to_mm(m, value), mm) << Name(kind, units) << text;
    }
    // Long-range firmware: above revision 0.46 on a distance sensor.
    for (const auto& [rev, velocimeter, longRange] :
         {std::tuple{0.46f, false, false}, {0.47f, false, true}, {1.51f, true, false}}) {
        ParamMirror m;
        m.FirmwareRev = rev;
        m.VelocimeterMode = velocimeter;
        EXPECT_EQ(LongRangeFirmware(m), longRange) << rev << " " << velocimeter;
    }
}

// The set command's integer: whole millimetres, or centimetres for long-range unit 0, clamped
// before rounding. (kind, unit, mm, sent)
TEST(Units, SetCommandInteger) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const std::tuple<Kind, int, double, int> cases[] = {
        {L, 0, 1234, 123},    {L, 0, 1235, 124},     {L, 0, -1236, -124}, {L, 0, 1e30, 32760},
        {L, 0, kNaN, 0},      {L, 2, 1234, 1234},    {V, 0, 1234, 1234},  {D, 0, 1234.4, 1234},
        {D, 0, 32761, 32760}, {D, 4, -1e30, -32760}, {D, 0, kInf, 32760}};
    for (const auto& [kind, units, mm, sent] : cases)
        EXPECT_EQ(cnv_mm_to_sensor(Mirror(kind, units), mm), sent) << Name(kind, units) << mm;
}

namespace P = Gen::Pauses;

// The letter, a pause, then a two-digit index and a six-character value in one piece; nothing for
// a bad index or a closed port.
TEST(SendSCmd, LetterPauseThenIndexAndValueInOnePiece) {
    for (const auto& [index, value, wire] : {std::tuple{23, 400, "23000400"},
                                             {47, -1500, "47-01500"},
                                             {5, 0, "05000000"},
                                             {82, -1, "82-00001"},
                                             {0, 32767, "00032767"},
                                             {99, -32768, "99-32768"}})
        EXPECT_EQ(
            FormatSetValue(static_cast<std::int16_t>(index), static_cast<std::int16_t>(value)),
            wire);
    const std::tuple<int, int, bool, Lines> cases[] = {{30, 3, true, {"s", "30000003"}},
                                                       {99, 12, true, {"s", "99000012"}},
                                                       {100, 3, true, {}},
                                                       {-1, 3, true, {}},
                                                       {30, 3, false, {}}};
    for (const auto& [index, value, portOpen, writes] : cases) {
        SessionFixture f;
        TracingPort port(f.clock);
        port.open = portOpen;
        f.s.io.port = &port;
        const double start = f.clock.now;
        send_s_cmd(f.s, static_cast<std::int16_t>(index), static_cast<std::int16_t>(value));
        EXPECT_EQ(port.writes, writes) << index;
        if (writes.empty()) {
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
    EXPECT_EQ(f.port.writes, Lines{"P"});
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
