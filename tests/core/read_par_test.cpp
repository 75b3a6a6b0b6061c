// The "P" listing reader: number forms, text between markers, keyword search, and the whole
// listing of a distance sensor and of a velocimeter with every fallback spelling.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "config/read_par.h"

namespace sondix {
namespace {

// ---------------------------------------------------------------- GetParValue

struct ValueCase {
    const char* what;
    const char* text;
    const char* key;
    float expected;
};
std::ostream& operator<<(std::ostream& os, const ValueCase& c) {
    return os << c.what;
}

class GetParValueTest : public testing::TestWithParam<ValueCase> {};

TEST_P(GetParValueTest, ReadsTheNumberRightAfterTheKey) {
    const ValueCase& c = GetParam();
    EXPECT_FLOAT_EQ(GetParValue(c.text, c.key), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, GetParValueTest,
    testing::Values(
        ValueCase{"plain", "Units   =2\r\n", "Units   =", 2.0f},
        ValueCase{"point stops the scan", "Units   =2.5\r\n", "Units   =", 2.0f},
        ValueCase{"negative", "Rly1Dist=-1500\r\n", "Rly1Dist=", -1500.0f},
        ValueCase{"fraction", "CalFac  =30000/7\r\n",
                  "CalFac  =", static_cast<float>(30000.0 / 7.0)},
        ValueCase{"fraction not rounded", "CalFac  =12345/1000\r\n", "CalFac  =", 12.345f},
        ValueCase{"negative fraction", "CalFac  =-30000/7\r\n",
                  "CalFac  =", static_cast<float>(-30000.0 / 7.0)},
        ValueCase{"divisor 0 counts as 1", "CalFac  =7/0\r\n", "CalFac  =", 7.0f},
        ValueCase{"slash without digit ends", "CalFac  =7/\r\n", "CalFac  =", 7.0f},
        ValueCase{"product with star", "Tcorrfac=5*100\r\n", "Tcorrfac=", 500.0f},
        ValueCase{"product with blank", "Tcorrfac=5 100\r\n", "Tcorrfac=", 500.0f},
        ValueCase{"trailing blank ends", "Gain    =5 \r\nX=9", "Gain    =", 5.0f},
        ValueCase{"blank before the value is a factor", "Gain    = 5\r\n", "Gain    =", 0.0f},
        ValueCase{"no number", "Gain    =abc\r\n", "Gain    =", 0.0f},
        ValueCase{"empty at the end", "Gain    =", "Gain    =", 0.0f},
        ValueCase{"number at the very end", "Gain    =12345", "Gain    =", 12345.0f},
        ValueCase{"first occurrence", "Gain    =1\r\nGain    =2\r\n", "Gain    =", 1.0f},
        ValueCase{"blanks are part of the key", "Gain =3\r\n", "Gain    =", kMissing},
        ValueCase{"missing key", "Units   =2\r\n", "Damping =", kMissing}));

// ---------------------------------------------------------------- GetParText

struct TextCase {
    const char* what;
    const char* text;
    const char* key;
    const char* marker;
    const char* expected;
};
std::ostream& operator<<(std::ostream& os, const TextCase& c) {
    return os << c.what;
}

class GetParTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(GetParTextTest, TakesTheTextBetweenKeyAndMarker) {
    const TextCase& c = GetParam();
    EXPECT_EQ(GetParText(c.text, c.key, c.marker), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetParTextTest,
    testing::Values(TextCase{"with marker", "xxKEYhello ENDyy", "KEY", "END", "hello "},
                    TextCase{"marker before the key ignored", "ENDKEYabcENDz", "KEY", "END", "abc"},
                    TextCase{"no marker: one short of the end", "KEYhello", "KEY", "END", "hell"},
                    TextCase{"marker right after key", "KEYEND", "KEY", "END", ""},
                    TextCase{"key at the very end", "abcKEY", "KEY", "END", ""},
                    TextCase{"missing key", "hello END", "KEY", "END", ""}));

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

struct MemberCase {
    const char* name;
    float ParamMirror::*member;
    float expected;
};
std::ostream& operator<<(std::ostream& os, const MemberCase& c) {
    return os << c.name;
}

class DistanceListingTest : public testing::TestWithParam<MemberCase> {};

TEST_P(DistanceListingTest, FillsTheMember) {
    const ParamMirror m = Read(Listing("Radar Level Ver0.47", DistanceLines()));
    EXPECT_FLOAT_EQ(m.*(GetParam().member), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(EveryKey, DistanceListingTest,
                         testing::Values(MemberCase{"SerNum", &ParamMirror::SerNum, 1234},
                                         MemberCase{"Password", &ParamMirror::Password, 4711},
                                         MemberCase{"Units", &ParamMirror::Units, 2},
                                         MemberCase{"Damping", &ParamMirror::Damping, 5},
                                         MemberCase{"Range", &ParamMirror::Range, 30000},
                                         MemberCase{"Set__4", &ParamMirror::Set__4, 500},
                                         MemberCase{"Set_20", &ParamMirror::Set_20, 12000},
                                         MemberCase{"Raw_Fmin", &ParamMirror::Raw_Fmin, 10},
                                         MemberCase{"Raw_Fmax", &ParamMirror::Raw_Fmax, 400},
                                         MemberCase{"GENfault", &ParamMirror::GENfault, 1},
                                         MemberCase{"LOEfault", &ParamMirror::LOEfault, 2},
                                         MemberCase{"HistLog", &ParamMirror::HistLog, 3},
                                         MemberCase{"BaudRate", &ParamMirror::BaudRate, 9600},
                                         MemberCase{"CalOffs", &ParamMirror::CalOffs, -15},
                                         MemberCase{"CalFac", &ParamMirror::CalFac,
                                                    30000.0f / 7.0f},
                                         MemberCase{"CalDist", &ParamMirror::CalDist, 5000},
                                         MemberCase{"CalDopplr", &ParamMirror::CalDopplr, 123},
                                         MemberCase{"Rly1Dist", &ParamMirror::Rly1Dist, -1500},
                                         MemberCase{"Rly2Dist", &ParamMirror::Rly2Dist, 2500},
                                         MemberCase{"Log2Nfft", &ParamMirror::Log2Nfft, 11},
                                         MemberCase{"LoopTime", &ParamMirror::LoopTime, 250},
                                         MemberCase{"SampleT", &ParamMirror::SampleT, 20},
                                         MemberCase{"Trim_4", &ParamMirror::Trim_4, 101},
                                         MemberCase{"Trim_20", &ParamMirror::Trim_20, 202},
                                         MemberCase{"AmpMin", &ParamMirror::AmpMin, 30},
                                         MemberCase{"Gain", &ParamMirror::Gain, 4},
                                         MemberCase{"Rly1Mode", &ParamMirror::Rly1Mode, 1},
                                         MemberCase{"Rly2Mode", &ParamMirror::Rly2Mode, 2},
                                         MemberCase{"Algoritm", &ParamMirror::Algoritm, 1},
                                         MemberCase{"DistMax", &ParamMirror::DistMax, 40000},
                                         MemberCase{"TestFlgs", &ParamMirror::TestFlgs, 6},
                                         MemberCase{"Tcorrfac", &ParamMirror::Tcorrfac, 500},
                                         MemberCase{"Vrampmin", &ParamMirror::Vrampmin, 200},
                                         MemberCase{"Vrampmax", &ParamMirror::Vrampmax, 4000},
                                         MemberCase{"Vramp0", &ParamMirror::Vramp0, 10},
                                         MemberCase{"Vramp1", &ParamMirror::Vramp1, 11},
                                         MemberCase{"Vramp2", &ParamMirror::Vramp2, 12},
                                         MemberCase{"Vramp3", &ParamMirror::Vramp3, 13},
                                         MemberCase{"Vramp4", &ParamMirror::Vramp4, 14},
                                         MemberCase{"MargStrt", &ParamMirror::MargStrt, 5},
                                         MemberCase{"MargEnd", &ParamMirror::MargEnd, 6},
                                         MemberCase{"PeakSel", &ParamMirror::PeakSel, 1},
                                         MemberCase{"Dither", &ParamMirror::Dither, 1},
                                         MemberCase{"OutSel", &ParamMirror::OutSel, 2}));

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
    float ParamMirror::*member;
    float expected;
};
std::ostream& operator<<(std::ostream& os, const FallbackCase& c) {
    return os << c.what;
}

class DistanceFallbackTest : public testing::TestWithParam<FallbackCase> {};

TEST_P(DistanceFallbackTest, TriesTheOlderSpellings) {
    const ParamMirror m = Read(Listing("Radar Ver0.47", GetParam().lines));
    ASSERT_FALSE(m.VelocimeterMode);
    EXPECT_FLOAT_EQ(m.*(GetParam().member), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DistanceFallbackTest,
    testing::Values(
        FallbackCase{"CalFacD", Without(DistanceLines(), {"CalFac  ="}), &ParamMirror::CalFac, 99},
        FallbackCase{"CalFac missing", Without(DistanceLines(), {"CalFac  =", "CalFacD ="}),
                     &ParamMirror::CalFac, kMissing},
        FallbackCase{"CalDopp", Without(DistanceLines(), {"CalDopplr="}), &ParamMirror::CalDopplr,
                     98},
        FallbackCase{"CalFacV", Without(DistanceLines(), {"CalDopplr=", "CalDopp ="}),
                     &ParamMirror::CalDopplr, 97},
        FallbackCase{"CalDopplr missing",
                     Without(DistanceLines(), {"CalDopplr=", "CalDopp =", "CalFacV ="}),
                     &ParamMirror::CalDopplr, kMissing},
        FallbackCase{"PeakSel -1 gives PkSel",
                     With(Without(DistanceLines(), {"PeakSel =", "PkSel   ="}),
                          {"PeakSel =-1", "PkSel   =2"}),
                     &ParamMirror::PeakSel, 2},
        FallbackCase{"PeakSel missing gives PkSel", Without(DistanceLines(), {"PeakSel ="}),
                     &ParamMirror::PeakSel, 3},
        FallbackCase{"PeakSel and PkSel missing",
                     Without(DistanceLines(), {"PeakSel =", "PkSel   ="}), &ParamMirror::PeakSel,
                     kMissing},
        FallbackCase{"DistMax missing", Without(DistanceLines(), {"DistMax ="}),
                     &ParamMirror::DistMax, kMissing},
        FallbackCase{"SerNum missing", Without(DistanceLines(), {"SerNum  ="}),
                     &ParamMirror::SerNum, kMissing}));

std::vector<std::string> VelocimeterLines() {
    return {"SerNum  =555",  "Password=1111", "Units   =1",    "Damping =2",    "HistLog =4",
            "CalFac  =321",  "CalFacV =311",  "CalDopp =301",  "CalDopplr=291", "CalVel  =2000",
            "CalDist =9999", "Rly1Dist=1234", "Rly2Vel =-800", "Rly2Dist=4321", "Log2Nfft=9",
            "SampleT =50",   "AmpMin  =12",   "Rly1Mode=3",    "Rly2Mode=4",    "Algor   =2",
            "Algoritm=7",    "PkSel   =1",    "PeakSel =3",    "DistMax =5",    "OutSel  =1"};
}

class VelocimeterListingTest : public testing::TestWithParam<FallbackCase> {};

TEST_P(VelocimeterListingTest, FillsTheMember) {
    const ParamMirror m = Read(Listing("KurnSpeed Version 1.51", GetParam().lines));
    ASSERT_TRUE(m.VelocimeterMode);
    EXPECT_FLOAT_EQ(m.*(GetParam().member), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, VelocimeterListingTest,
    testing::Values(
        FallbackCase{"CalFac", VelocimeterLines(), &ParamMirror::CalFac, 321},
        FallbackCase{"CalFacV", Without(VelocimeterLines(), {"CalFac  ="}), &ParamMirror::CalFac,
                     311},
        FallbackCase{"CalDopp", Without(VelocimeterLines(), {"CalFac  =", "CalFacV ="}),
                     &ParamMirror::CalFac, 301},
        FallbackCase{"CalDopplr",
                     Without(VelocimeterLines(), {"CalFac  =", "CalFacV =", "CalDopp ="}),
                     &ParamMirror::CalFac, 291},
        FallbackCase{"CalDopplr copies CalFac",
                     Without(VelocimeterLines(), {"CalFac  =", "CalFacV ="}),
                     &ParamMirror::CalDopplr, 301},
        FallbackCase{"CalDist from CalVel", VelocimeterLines(), &ParamMirror::CalDist, 2000},
        FallbackCase{"Rly1Dist is 0", VelocimeterLines(), &ParamMirror::Rly1Dist, 0},
        FallbackCase{"Rly2Dist from Rly2Vel", VelocimeterLines(), &ParamMirror::Rly2Dist, -800},
        FallbackCase{"Algoritm from Algor", VelocimeterLines(), &ParamMirror::Algoritm, 2},
        FallbackCase{"PkSel first", VelocimeterLines(), &ParamMirror::PeakSel, 1},
        FallbackCase{"PkSel -1 gives PeakSel",
                     With(Without(VelocimeterLines(), {"PkSel   ="}), {"PkSel   =-1"}),
                     &ParamMirror::PeakSel, 3},
        FallbackCase{"DistMax not read", VelocimeterLines(), &ParamMirror::DistMax, 0},
        FallbackCase{"OutSel", VelocimeterLines(), &ParamMirror::OutSel, 1},
        FallbackCase{"Units", VelocimeterLines(), &ParamMirror::Units, 1},
        FallbackCase{"CalVel missing", Without(VelocimeterLines(), {"CalVel  ="}),
                     &ParamMirror::CalDist, kMissing}));

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

struct KindCase {
    const char* logo;
    bool withVramp;
    bool velocimeter;
};
std::ostream& operator<<(std::ostream& os, const KindCase& c) {
    return os << c.logo;
}

class SensorKindTest : public testing::TestWithParam<KindCase> {};

TEST_P(SensorKindTest, MarkerWordInTheLogoHeadOrNoRamp) {
    const KindCase& c = GetParam();
    const auto lines = c.withVramp ? DistanceLines() : Without(DistanceLines(), {"Vramp"});
    EXPECT_EQ(Read(Listing(c.logo, lines)).VelocimeterMode, c.velocimeter);
}

INSTANTIATE_TEST_SUITE_P(Logos, SensorKindTest,
                         testing::Values(KindCase{"Radar Ver0.47", true, false},
                                         KindCase{"Radar Ver0.47", false, true},
                                         KindCase{"KurnSpeed Ver1.51", true, true},
                                         KindCase{"123456Kurn", true, true},
                                         KindCase{"1234567Kurn", true, false}));

struct RevisionCase {
    const char* logo;
    float expected;
};
std::ostream& operator<<(std::ostream& os, const RevisionCase& c) {
    return os << c.logo;
}

class FirmwareRevisionTest : public testing::TestWithParam<RevisionCase> {};

TEST_P(FirmwareRevisionTest, FourCharactersAfterTheKeywordAndItsBlanks) {
    const ParamMirror m = Read(Listing(GetParam().logo, DistanceLines()));
    EXPECT_FLOAT_EQ(m.FirmwareRev, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Logos, FirmwareRevisionTest,
    testing::Values(RevisionCase{"Radar Ver0.47", 0.47f}, RevisionCase{"Radar Ver 0.47", 0.47f},
                    RevisionCase{"Radar Version 1.51", 1.51f},
                    RevisionCase{"Radar Revision  2.10 beta", 2.10f},
                    RevisionCase{"Radar Ver. 0.40", 0.40f}, RevisionCase{"Radar Rev.0.46x", 0.46f},
                    RevisionCase{"Radar Rev 1.234567", 1.23f}, RevisionCase{"Radar Ver", 0.0f},
                    RevisionCase{"Radar (no revision)", 0.0f}));

struct FftCase {
    const char* line;
    std::int32_t expected;
};
std::ostream& operator<<(std::ostream& os, const FftCase& c) {
    return os << c.line;
}

class SpectrumSizeTest : public testing::TestWithParam<FftCase> {};

TEST_P(SpectrumSizeTest, PowerOfTwoOnlyWithin4To16) {
    const auto lines = With(Without(DistanceLines(), {"Log2Nfft="}), {GetParam().line});
    EXPECT_EQ(Read(Listing("Radar", lines)).NumberOfFFTdatapoints, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Exponents, SpectrumSizeTest,
                         testing::Values(FftCase{"Log2Nfft=3", 1024}, FftCase{"Log2Nfft=4", 16},
                                         FftCase{"Log2Nfft=12", 4096},
                                         FftCase{"Log2Nfft=15", 32768},
                                         FftCase{"Log2Nfft=16", 65536},
                                         FftCase{"Log2Nfft=17", 1024}, FftCase{"Other=1", 1024},
                                         // a garbled exponent is no spectrum size
                                         FftCase{"Log2Nfft=11/2", 1024}));

TEST(ReadPar, SpectrumSizeStaysFromTheListingBefore) {
    ParamMirror m;
    ReadPar(m, Listing("Radar", With(Without(DistanceLines(), {"Log2Nfft="}), {"Log2Nfft=13"})));
    ReadPar(m, Listing("Radar", Without(DistanceLines(), {"Log2Nfft="})));
    EXPECT_FLOAT_EQ(m.Log2Nfft, kMissing);
    EXPECT_EQ(m.NumberOfFFTdatapoints, 8192);
}

}  // namespace
}  // namespace sondix
