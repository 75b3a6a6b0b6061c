// The "P" listing reader: number forms, text between markers, keyword search, and the whole
// listing of a distance sensor and of a velocimeter with every fallback spelling.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "config/read_par.h"

namespace sondix {
namespace {

using M = ParamMirror;

// ---------------------------------------------------------------- GetParValue

TEST(GetParValue, ReadsTheNumberRightAfterTheKey) {
    const struct {
        const char *what, *text, *key;
        float expected;
    } cases[] = {
        {"plain", "Units   =2\r\n", "Units   =", 2.0f},
        {"point stops the scan", "Units   =2.5\r\n", "Units   =", 2.0f},
        {"negative", "Rly1Dist=-1500\r\n", "Rly1Dist=", -1500.0f},
        {"fraction", "CalFac  =30000/7\r\n", "CalFac  =", static_cast<float>(30000.0 / 7.0)},
        {"fraction not rounded", "CalFac  =12345/1000\r\n", "CalFac  =", 12.345f},
        {"negative fraction", "CalFac  =-30000/7\r\n",
         "CalFac  =", static_cast<float>(-30000.0 / 7.0)},
        {"divisor 0 counts as 1", "CalFac  =7/0\r\n", "CalFac  =", 7.0f},
        {"slash without digit ends", "CalFac  =7/\r\n", "CalFac  =", 7.0f},
        {"product with star", "Tcorrfac=5*100\r\n", "Tcorrfac=", 500.0f},
        {"product with blank", "Tcorrfac=5 100\r\n", "Tcorrfac=", 500.0f},
        {"trailing blank ends", "Gain    =5 \r\nX=9", "Gain    =", 5.0f},
        {"blank before the value is a factor", "Gain    = 5\r\n", "Gain    =", 0.0f},
        {"no number", "Gain    =abc\r\n", "Gain    =", 0.0f},
        {"empty at the end", "Gain    =", "Gain    =", 0.0f},
        {"number at the very end", "Gain    =12345", "Gain    =", 12345.0f},
        {"first occurrence", "Gain    =1\r\nGain    =2\r\n", "Gain    =", 1.0f},
        {"blanks are part of the key", "Gain =3\r\n", "Gain    =", kMissing},
        {"missing key", "Units   =2\r\n", "Damping =", kMissing}};
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

// Every listed member reaching the mirror: the simulator's listings (tests/sim); here the older
// spellings, the kind of sensor and the sizes.
TEST(ReadPar, DistanceListingIdentifiesItself) {
    const ParamMirror m = Read(Listing("Radar Level Ver0.47\r\n(c) 2001", DistanceLines()));
    EXPECT_FALSE(m.VelocimeterMode);
    EXPECT_EQ(m.LogoStr, "Radar Level Ver0.47\r\n(c) 2001\r\n");
    EXPECT_FLOAT_EQ(m.FirmwareRev, 0.47f);
    EXPECT_EQ(m.NumberOfFFTdatapoints, 2048);
    EXPECT_FLOAT_EQ(m.Loop_Tst, 0);  // no key fills it
}

// Velocimeter keys in a distance listing are not read, and vice versa.
TEST(ReadPar, VelocimeterKeysDoNotLeakIntoADistanceSensor) {
    const auto m = Read(
        Listing("Radar", With(DistanceLines(), {"CalVel  =77", "Rly2Vel =78", "Algor   =79"})));
    EXPECT_FLOAT_EQ(m.CalDist, 5000);
    EXPECT_FLOAT_EQ(m.Rly2Dist, 2500);
    EXPECT_FLOAT_EQ(m.Algoritm, 1);
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
         {"CalFac missing", Without(DistanceLines(), {"CalFac  =", "CalFacD ="}), &M::CalFac,
          kMissing},
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
         {"DistMax missing", Without(DistanceLines(), {"DistMax ="}), &M::DistMax, kMissing},
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

TEST(ReadPar, EmptyListingLeavesTheSentinelEverywhere) {
    const ParamMirror m = Read(Listing("", {}));
    EXPECT_TRUE(m.VelocimeterMode);  // no "Vramp" anywhere
    EXPECT_FLOAT_EQ(m.FirmwareRev, 0);
    for (float v : {m.SerNum, m.Password, m.Units, m.CalFac, m.CalDist, m.CalDopplr, m.Rly2Dist,
                    m.Log2Nfft, m.PeakSel, m.OutSel, m.Algoritm}) {
        EXPECT_FLOAT_EQ(v, kMissing);
    }
    EXPECT_EQ(m.NumberOfFFTdatapoints, 1024);
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
        {"Radar Ver0.47", 0.47f},      {"Radar Ver 0.47", 0.47f},
        {"Radar Version 1.51", 1.51f}, {"Radar Revision  2.10 beta", 2.10f},
        {"Radar Ver. 0.40", 0.40f},    {"Radar Rev.0.46x", 0.46f},
        {"Radar Rev 1.234567", 1.23f}, {"Radar Ver", 0.0f},
        {"Radar (no revision)", 0.0f}};
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

TEST(ReadPar, SpectrumSizeStaysFromTheListingBefore) {
    ParamMirror m;
    ReadPar(m, Listing("Radar", With(Without(DistanceLines(), {"Log2Nfft="}), {"Log2Nfft=13"})));
    ReadPar(m, Listing("Radar", Without(DistanceLines(), {"Log2Nfft="})));
    EXPECT_FLOAT_EQ(m.Log2Nfft, kMissing);
    EXPECT_EQ(m.NumberOfFFTdatapoints, 8192);
}

}  // namespace
}  // namespace sondix
