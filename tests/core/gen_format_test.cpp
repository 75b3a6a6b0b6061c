// The Str form and the format pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "common/gen_format.h"

namespace {

struct StrCase {
    double v;
    std::string text;
};

class StrTest : public ::testing::TestWithParam<StrCase> {};

TEST_P(StrTest, DoublePrecision) {
    const auto& c = GetParam();
    EXPECT_EQ(Gen::Str(c.v), c.text);
    const std::string plain = c.text[0] == ' ' ? c.text.substr(1) : c.text;
    EXPECT_EQ(Gen::CStr(c.v), plain);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StrTest,
    ::testing::Values(
        StrCase{0, " 0"}, StrCase{-0.0, " 0"}, StrCase{1, " 1"}, StrCase{-1, "-1"},
        StrCase{0.35, " 0.35"}, StrCase{-0.5, "-0.5"}, StrCase{0.1 + 0.2, " 0.3"},
        StrCase{1.0 / 3, " 0.333333333333333"}, StrCase{2.0 / 3, " 0.666666666666667"},
        StrCase{123.45, " 123.45"}, StrCase{1e20, " 1E+20"}, StrCase{1.5e-7, " 1.5E-07"},
        StrCase{1e15, " 1E+15"}, StrCase{999999999999999, " 999999999999999"},
        StrCase{123456789012345678.0, " 1.23456789012346E+17"}, StrCase{0.0001, " 0.0001"},
        StrCase{0.00001, " 1E-05"}, StrCase{-0.000012345, "-1.2345E-05"}, StrCase{1e100, " 1E+100"},
        StrCase{1e-300, " 1E-300"}, StrCase{100, " 100"}, StrCase{1234567.25, " 1234567.25"},
        StrCase{45.67, " 45.67"}, StrCase{9.9999999999999999e14, " 1E+15"}));

class StrSingleTest : public ::testing::TestWithParam<StrCase> {};

TEST_P(StrSingleTest, SinglePrecision) {
    const auto& c = GetParam();
    const float f = static_cast<float>(c.v);
    EXPECT_EQ(Gen::StrSingle(f), c.text) << c.v;
    const std::string plain = c.text[0] == ' ' ? c.text.substr(1) : c.text;
    EXPECT_EQ(Gen::CStrSingle(f), plain) << c.v;
}

INSTANTIATE_TEST_SUITE_P(
    Table, StrSingleTest,
    ::testing::Values(StrCase{0, " 0"}, StrCase{0.1, " 0.1"}, StrCase{-0.5, "-0.5"},
                      StrCase{0.35, " 0.35"}, StrCase{1.0 / 3, " 0.3333333"},
                      StrCase{12345678, " 1.234568E+07"}, StrCase{-12345678, "-1.234568E+07"},
                      StrCase{1e7, " 1E+07"}, StrCase{9999999, " 9999999"},
                      StrCase{1.5e-7, " 1.5E-07"}, StrCase{3.14159274, " 3.141593"},
                      StrCase{16777216, " 1.677722E+07"}, StrCase{65.4, " 65.4"},
                      StrCase{0.001, " 0.001"}, StrCase{1e-5, " 1E-05"}, StrCase{1e30, " 1E+30"},
                      // The shortest text that reads back wins over the 7-digit rounding.
                      StrCase{8.63584e9, " 8.63584E+09"}));

TEST(Str, NonFiniteValuesGiveText) {
    EXPECT_FALSE(Gen::Str(std::numeric_limits<double>::quiet_NaN()).empty());
    EXPECT_FALSE(Gen::Str(std::numeric_limits<double>::infinity()).empty());
    EXPECT_FALSE(Gen::StrSingle(-std::numeric_limits<float>::infinity()).empty());
}

struct FormatCase {
    double v;
    std::string picture;
    std::string text;
};

class FormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, Picture) {
    const auto& c = GetParam();
    EXPECT_EQ(Gen::Format(c.v, c.picture), c.text) << c.v << " with \"" << c.picture << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Needed, FormatTest,
    ::testing::Values(
        FormatCase{1.25, "0.0", "1.3"}, FormatCase{-1.25, "0.0", "-1.3"},
        FormatCase{0.05, "0.0", "0.1"}, FormatCase{0.04, "0.0", "0.0"},
        FormatCase{12.345, "0.00", "12.35"}, FormatCase{2.675, "0.00", "2.68"},
        FormatCase{1.005, "0.00", "1.01"}, FormatCase{-0.001, "0.00", "0.00"},
        FormatCase{0.995, "0.00", "1.00"}, FormatCase{99.96, "#0.0", "100.0"},
        FormatCase{0.25, "#0.0", "0.3"}, FormatCase{3.14159, "#0.00", "3.14"},
        FormatCase{-3.14159, "#0.000", "-3.142"}, FormatCase{0.12345, "0.000%", "12.345%"},
        FormatCase{0.5, "0.000%", "50.000%"}, FormatCase{-0.0123456, "0.000%", "-1.235%"},
        FormatCase{0, "#0", "0"}, FormatCase{7.5, "#0", "8"}, FormatCase{-7.5, "#0", "-8"},
        FormatCase{123456, "#0", "123456"}, FormatCase{-0.4, "#0", "0"}, FormatCase{5, "##0", "5"},
        FormatCase{0.2, "##0", "0"}, FormatCase{1234, "##0", "1234"}, FormatCase{5, "00", "05"},
        FormatCase{123, "00", "123"}, FormatCase{7, "000", "007"},
        FormatCase{123, "000000", "000123"}, FormatCase{-45, "#00000", "-00045"},
        FormatCase{45, "#00000", "00045"}, FormatCase{1234567, "#00000", "1234567"},
        FormatCase{5, "#0'", "5'"}, FormatCase{12.6, "#0'", "13'"}));

INSTANTIATE_TEST_SUITE_P(
    General, FormatTest,
    ::testing::Values(FormatCase{0.5, "#.00", ".50"}, FormatCase{0, "#", ""},
                      FormatCase{1.5, "0.##", "1.5"}, FormatCase{12.5, "$#0.0 m", "$12.5 m"},
                      FormatCase{5.5, ".00", "5.50"}, FormatCase{5, "0#", "05"},
                      FormatCase{3, "\\#0", "#3"}, FormatCase{3, "0\"h\"", "3h"},
                      FormatCase{3, "0\\", "3"}, FormatCase{1e-300, "0.00", "0.00"},
                      FormatCase{0.0049999, "0.00", "0.00"}, FormatCase{0.005, "0.00", "0.01"},
                      FormatCase{999.5, "0", "1000"}, FormatCase{12.5, "", "12.5"}));

TEST(Format, HugeAndNonFiniteValuesDoNotBreak) {
    EXPECT_EQ(Gen::Format(1e300, "0.0").size(), 303u);
    EXPECT_EQ(Gen::Format(1e20, "#0"), "100000000000000000000");
    EXPECT_FALSE(Gen::Format(std::numeric_limits<double>::quiet_NaN(), "0.0").empty());
    EXPECT_FALSE(Gen::Format(1e307, "0.000%").empty());
    EXPECT_FALSE(Gen::Format(-std::numeric_limits<double>::infinity(), "#0").empty());
}

struct HmsCase {
    long long seconds;
    std::string text;
};

class FormatHmsTest : public ::testing::TestWithParam<HmsCase> {};

TEST_P(FormatHmsTest, Duration) {
    EXPECT_EQ(Gen::FormatHMS(GetParam().seconds), GetParam().text) << GetParam().seconds;
}

INSTANTIATE_TEST_SUITE_P(Table, FormatHmsTest,
                         ::testing::Values(HmsCase{0, "00:00:00"}, HmsCase{59, "00:00:59"},
                                           HmsCase{61, "00:01:01"}, HmsCase{3661, "01:01:01"},
                                           HmsCase{86399, "23:59:59"}, HmsCase{86400, "00:00:00"},
                                           HmsCase{90061, "01:01:01"}, HmsCase{-5, "00:00:00"},
                                           HmsCase{std::numeric_limits<long long>::min(),
                                                   "00:00:00"}));

}  // namespace
