// The leading-number parse and the saturating conversions.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "common/gen_number.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct ValCase {
    std::string text;
    double expected;
};

class ValTest : public ::testing::TestWithParam<ValCase> {};

TEST_P(ValTest, ReadsLeadingNumber) {
    const auto& c = GetParam();
    EXPECT_EQ(Gen::Val(c.text), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Decimal, ValTest,
    ::testing::Values(
        ValCase{"", 0}, ValCase{"   ", 0}, ValCase{"abc", 0}, ValCase{"12", 12},
        ValCase{"  12", 12}, ValCase{"1 2.5", 12.5}, ValCase{"- 3", -3}, ValCase{"+7", 7},
        ValCase{"-0.25xyz", -0.25}, ValCase{".5", 0.5}, ValCase{"-.5", -0.5}, ValCase{"5.", 5},
        ValCase{"1.2.3", 1.2}, ValCase{"1e3", 1000}, ValCase{"1E+3", 1000},
        ValCase{"2.5e-2", 0.025}, ValCase{"1D2", 100}, ValCase{"1d-1", 0.1}, ValCase{"1 e 2", 100},
        ValCase{"1e", 1}, ValCase{"1e+", 1}, ValCase{"12 dB", 12}, ValCase{"3,5", 3},
        ValCase{"--1", 0}, ValCase{"-", 0}, ValCase{".", 0}, ValCase{"e5", 0}, ValCase{"0.1", 0.1},
        ValCase{"123456789012", 123456789012.0}, ValCase{"\t4", 4}, ValCase{"7\r\n", 7},
        ValCase{"1e400", DBL_MAX}, ValCase{"-1e400", -DBL_MAX}, ValCase{"1e-400", 0},
        ValCase{"1e99999999999999999999", DBL_MAX},
        ValCase{"0.000000000000000000000000000000000000000001e42", 1},
        ValCase{std::string(400, '9'), DBL_MAX},
        // correctly rounded decimal conversion
        ValCase{"0.3", 0.3}, ValCase{"2.2250738585072014e-308", 2.2250738585072014e-308},
        ValCase{"9007199254740993", 9007199254740992.0}));

INSTANTIATE_TEST_SUITE_P(
    Radix, ValTest,
    ::testing::Values(ValCase{"&HFFFFFFFF", -1}, ValCase{"&H7FFFFFFF", 2147483647},
                      ValCase{"&H80000000", -2147483648.0}, ValCase{"&H00000003", 3},
                      ValCase{"&HFF", 255}, ValCase{"&HFFFF", -1}, ValCase{"&H7FFF", 32767},
                      ValCase{"&H0000FFFF", 65535}, ValCase{"&H1FFFF", 131071},
                      ValCase{"&hff", 255}, ValCase{"  &H1F  ", 31}, ValCase{"&H 1 F", 31},
                      ValCase{"&H12 X", 18}, ValCase{"&H", 0}, ValCase{"&HG", 0},
                      ValCase{"&H1FFFFFFFF", 2147483647}, ValCase{"&H000000001", 1},
                      ValCase{"&O17", 15}, ValCase{"&O177777", -1}, ValCase{"&O200000", 65536},
                      ValCase{"&O8", 0}, ValCase{"&X12", 0}, ValCase{"&", 0}));

struct RoundCase {
    double x;
    double whole;
};

class WholeValueTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(WholeValueTest, HalvesGoToEven) {
    EXPECT_EQ(Gen::WholeValue(GetParam().x), GetParam().whole) << GetParam().x;
}

INSTANTIATE_TEST_SUITE_P(Table, WholeValueTest,
                         ::testing::Values(RoundCase{2.5, 2}, RoundCase{3.5, 4},
                                           RoundCase{-2.5, -2}, RoundCase{-3.5, -4},
                                           RoundCase{0.5, 0}, RoundCase{1.5, 2},
                                           RoundCase{2.4999999, 2}, RoundCase{2.5000001, 3},
                                           RoundCase{-0.4, 0}, RoundCase{-0.6, -1},
                                           RoundCase{1e20, 1e20},
                                           RoundCase{4503599627370497.0, 4503599627370497.0},
                                           RoundCase{0.49999999999999994, 0}));

TEST(Int, IsFloor) {
    EXPECT_EQ(Gen::Int(-2.5), -3);
    EXPECT_EQ(Gen::Int(2.9), 2);
    EXPECT_EQ(Gen::Int(-0.0001), -1);
}

struct IntCase {
    double x;
    long long i16, i32, i64, floor32;
};

class SaturationTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(SaturationTest, ConvertsAndSaturates) {
    const auto& c = GetParam();
    EXPECT_EQ(Gen::ToInt16(c.x), c.i16) << c.x;
    EXPECT_EQ(Gen::ToInt32(c.x), c.i32) << c.x;
    EXPECT_EQ(Gen::ToInt64(c.x), c.i64) << c.x;
    EXPECT_EQ(Gen::FloorToInt32(c.x), c.floor32) << c.x;
}

constexpr long long kI64Max = std::numeric_limits<long long>::max();
constexpr long long kI64Min = std::numeric_limits<long long>::min();

INSTANTIATE_TEST_SUITE_P(
    Table, SaturationTest,
    ::testing::Values(
        IntCase{0, 0, 0, 0, 0}, IntCase{2.5, 2, 2, 2, 2}, IntCase{-2.5, -2, -2, -2, -3},
        IntCase{3.5, 4, 4, 4, 3}, IntCase{-0.7, -1, -1, -1, -1},
        IntCase{32767.4, 32767, 32767, 32767, 32767}, IntCase{32767.5, 32767, 32768, 32768, 32767},
        IntCase{-32768.5, -32768, -32768, -32768, -32769},
        IntCase{-40000, -32768, -40000, -40000, -40000},
        IntCase{2147483647.5, 32767, 2147483647, 2147483648LL, 2147483647},
        IntCase{-2147483648.6, -32768, -2147483648LL, -2147483649LL, -2147483648LL},
        IntCase{kNaN, 0, 0, 0, 0}, IntCase{1e30, 32767, 2147483647, kI64Max, 2147483647},
        IntCase{-1e30, -32768, -2147483648LL, kI64Min, -2147483648LL},
        IntCase{kInf, 32767, 2147483647, kI64Max, 2147483647},
        IntCase{-kInf, -32768, -2147483648LL, kI64Min, -2147483648LL},
        IntCase{9223372036854775808.0, 32767, 2147483647, kI64Max, 2147483647},
        IntCase{-9223372036854775808.0, -32768, -2147483648LL, kI64Min, -2147483648LL}));

TEST(ToSingle, SaturatesToTheFloatRange) {
    EXPECT_EQ(Gen::ToSingle(1e300), FLT_MAX);
    EXPECT_EQ(Gen::ToSingle(-1e300), -FLT_MAX);
    EXPECT_EQ(Gen::ToSingle(kInf), FLT_MAX);
    EXPECT_TRUE(std::isnan(Gen::ToSingle(kNaN)));
    EXPECT_EQ(Gen::ToSingle(0.1), 0.1f);
    EXPECT_EQ(Gen::ToSingle(-2.5), -2.5f);
}

}  // namespace
