// Gen's rules, one table a rule: the leading-number parse, saturating conversions, the Str form,
// format pictures, steps and bits, 1-based text helpers, dates.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>

#include "common/gen_datetime.h"
#include "common/gen_format.h"
#include "common/gen_math.h"
#include "common/gen_number.h"
#include "common/gen_text.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr long long kI64Max = std::numeric_limits<long long>::max();
constexpr long long kI64Min = std::numeric_limits<long long>::min();

TEST(Gen, ValReadsTheLeadingNumber) {
    const struct {
        std::string text;
        double v;
    } cases[] = {
        // clang-format off
        {"", 0}, {"abc", 0}, {"1 2.5", 12.5}, {"- 3", -3}, {"-0.25xyz", -0.25}, {"-.5", -0.5},
        {"1.2.3", 1.2}, {"2.5e-2", 0.025}, {"1D2", 100}, {"1 e 2", 100}, {"1e+", 1}, {"3,5", 3},
        {"--1", 0}, {"e5", 0}, {"7\r\n", 7}, {"1e400", DBL_MAX}, {"1e-400", 0},
        {std::string(400, '9'), DBL_MAX}, {"0.000000000000000000000000000000000000000001e42", 1},
        {"9007199254740993", 9007199254740992.0},
        // radix prefixes: 16-bit forms sign-extend, 32-bit forms wrap, longer ones saturate
        {"&HFFFFFFFF", -1}, {"&H80000000", -2147483648.0}, {"&HFF", 255}, {"&H8000", -32768},
        {"&H7FFF", 32767}, {"&H0000FFFF", 65535}, {"&H1FFFF", 131071}, {"&H 1 F", 31},
        {"&H12 X", 18}, {"&HG", 0}, {"&H1FFFFFFFF", 2147483647}, {"&O177777", -1},
        {"&O200000", 65536}, {"&O8", 0}, {"&X12", 0},
        // clang-format on
        {"&", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(Gen::Val(c.text), c.v) << '"' << c.text << '"';
}

TEST(Gen, RoundingAndSaturatingConversions) {
    const std::pair<double, double> even[] = {{2.5, 2},
                                              // clang-format off
                                              {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2},
                                              {2.4999999, 2}, {2.5000001, 3}, {-0.6, -1},
                                              {1e20, 1e20},
                                              {4503599627370497.0, 4503599627370497.0},
                                              // clang-format on
                                              {0.49999999999999994, 0}};
    for (const auto& [x, whole] : even)
        EXPECT_EQ(Gen::WholeValue(x), whole) << x;
    EXPECT_EQ(Gen::Int(-2.5), -3);
    EXPECT_EQ(Gen::Int(-0.0001), -1);

    const struct {
        double x;
        long long i16, i32, i64, floor32;
    } sat[] = {{2.5, 2, 2, 2, 2},
               // clang-format off
               {-2.5, -2, -2, -2, -3}, {3.5, 4, 4, 4, 3}, {-0.7, -1, -1, -1, -1},
               {32767.5, 32767, 32768, 32768, 32767}, {-32768.5, -32768, -32768, -32768, -32769},
               {2147483647.5, 32767, 2147483647, 2147483648LL, 2147483647},
               {-2147483648.6, -32768, -2147483648LL, -2147483649LL, -2147483648LL},
               {kNaN, 0, 0, 0, 0}, {kInf, 32767, 2147483647, kI64Max, 2147483647},
               {-kInf, -32768, -2147483648LL, kI64Min, -2147483648LL},
               // clang-format on
               {9223372036854775808.0, 32767, 2147483647, kI64Max, 2147483647}};
    for (const auto& c : sat) {
        EXPECT_EQ(Gen::ToInt16(c.x), c.i16) << c.x;
        EXPECT_EQ(Gen::ToInt32(c.x), c.i32) << c.x;
        EXPECT_EQ(Gen::ToInt64(c.x), c.i64) << c.x;
        EXPECT_EQ(Gen::FloorToInt32(c.x), c.floor32) << c.x;
    }
    EXPECT_EQ(Gen::ToSingle(1e300), FLT_MAX);
    EXPECT_EQ(Gen::ToSingle(-kInf), -FLT_MAX);
    EXPECT_TRUE(std::isnan(Gen::ToSingle(kNaN)));
    EXPECT_EQ(Gen::ToSingle(0.1), 0.1f);
}

TEST(Gen, StrShowsTheSignPlaceAndLeadingZero) {
    const std::pair<double, const char*> dbl[] = {{0, " 0"},
                                                  // clang-format off
                                                  {-0.0, " 0"}, {-1, "-1"}, {0.35, " 0.35"},
                                                  {-0.5, "-0.5"}, {0.1 + 0.2, " 0.3"},
                                                  {2.0 / 3, " 0.666666666666667"},
                                                  {1e20, " 1E+20"}, {1.5e-7, " 1.5E-07"},
                                                  {1e15, " 1E+15"},
                                                  {999999999999999, " 999999999999999"},
                                                  {123456789012345678.0, " 1.23456789012346E+17"},
                                                  {0.0001, " 0.0001"}, {0.00001, " 1E-05"},
                                                  {-0.000012345, "-1.2345E-05"},
                                                  {1e100, " 1E+100"}, {1e-300, " 1E-300"},
                                                  {1234567.25, " 1234567.25"},
                                                  // clang-format on
                                                  {9.9999999999999999e14, " 1E+15"}};
    for (const auto& [v, text] : dbl) {
        EXPECT_EQ(Gen::Str(v), text);
        EXPECT_EQ(" " + Gen::CStr(v), text[0] == ' ' ? text : std::string(" ") + text);
    }
    const std::pair<float, const char*> sgl[] = {
        // clang-format off
        {0.1f, " 0.1"}, {-0.5f, "-0.5"}, {1.0f / 3, " 0.3333333"}, {12345678, " 1.234568E+07"},
        {-12345678, "-1.234568E+07"}, {1e7f, " 1E+07"}, {9999999, " 9999999"},
        {1.5e-7f, " 1.5E-07"}, {3.14159274f, " 3.141593"}, {16777216, " 1.677722E+07"},
        {65.4f, " 65.4"}, {1e-5f, " 1E-05"}, {1e30f, " 1E+30"},
        // clang-format on
        {8.63584e9f, " 8.63584E+09"}};  // the shortest text that reads back wins
    for (const auto& [v, text] : sgl) {
        EXPECT_EQ(Gen::StrSingle(v), text) << v;
        EXPECT_EQ(Gen::CStrSingle(v), text[0] == ' ' ? text + 1 : text) << v;
    }
    EXPECT_FALSE(Gen::Str(kNaN).empty());
    EXPECT_FALSE(Gen::StrSingle(-std::numeric_limits<float>::infinity()).empty());
}

TEST(Gen, FormatPictures) {
    const struct {
        double v;
        const char *picture, *text;
    } cases[] = {{1.25, "0.0", "1.3"},
                 // clang-format off
                 {-1.25, "0.0", "-1.3"}, {0.05, "0.0", "0.1"}, {0.04, "0.0", "0.0"},
                 {2.675, "0.00", "2.68"}, {1.005, "0.00", "1.01"}, {-0.001, "0.00", "0.00"},
                 {0.995, "0.00", "1.00"}, {99.96, "#0.0", "100.0"}, {0.25, "#0.0", "0.3"},
                 {-3.14159, "#0.000", "-3.142"}, {0.12345, "0.000%", "12.345%"},
                 {-0.0123456, "0.000%", "-1.235%"}, {7.5, "#0", "8"}, {-7.5, "#0", "-8"},
                 {-0.4, "#0", "0"}, {0.2, "##0", "0"}, {1234, "##0", "1234"}, {5, "00", "05"},
                 {123, "00", "123"}, {123, "000000", "000123"}, {-45, "#00000", "-00045"},
                 {1234567, "#00000", "1234567"}, {12.6, "#0'", "13'"}, {0.5, "#.00", ".50"},
                 {0, "#", ""}, {1.5, "0.##", "1.5"}, {12.5, "$#0.0 m", "$12.5 m"},
                 {5.5, ".00", "5.50"}, {5, "0#", "05"}, {3, "\\#0", "#3"}, {3, "0\"h\"", "3h"},
                 {3, "0\\", "3"}, {1e-300, "0.00", "0.00"}, {0.0049999, "0.00", "0.00"},
                 {0.005, "0.00", "0.01"}, {999.5, "0", "1000"}, {12.5, "", "12.5"},
                 // clang-format on
                 {1e20, "#0", "100000000000000000000"}};
    for (const auto& c : cases)
        EXPECT_EQ(Gen::Format(c.v, c.picture), c.text) << c.v << " with " << c.picture;
    // A single-precision value rounds as it reads in decimal at 7 digits, halves away from zero;
    // a double reads as it is.
    for (const auto& [v, picture, text] : {std::tuple{0.175f, "0.00", "0.18"},
                                           {4.665f, "#0.00", "4.67"},
                                           {-0.175f, "0.00", "-0.18"},
                                           {1.005f, "0.00", "1.01"},
                                           {0.0012355f, "0.000%", "0.124%"},
                                           {12.5f, "#0", "13"}})
        EXPECT_EQ(Gen::Format(v, picture), text) << v << " with " << picture;
    EXPECT_EQ(Gen::Format(0.17499999701976776, "0.00"), "0.17");
    EXPECT_EQ(Gen::Format(1e300, "0.0").size(), 303u);
    EXPECT_FALSE(Gen::Format(kNaN, "0.0").empty());
    EXPECT_FALSE(Gen::Format(-kInf, "#0").empty());
    const std::pair<long long, const char*> hms[] = {
        {59, "00:00:59"},    {3661, "01:01:01"}, {86399, "23:59:59"},    {86400, "00:00:00"},
        {90061, "01:01:01"}, {-5, "00:00:00"},   {LLONG_MIN, "00:00:00"}};
    for (const auto& [s, text] : hms)
        EXPECT_EQ(Gen::FormatHMS(s), text) << s;
}

TEST(Gen, StepsBitsAndLogAmplitudes) {
    EXPECT_EQ(Gen::Larger(std::int16_t{-1}, 0L), 0L);
    EXPECT_EQ(Gen::Smaller(3, 2.5), 2.5);
    const struct {
        double x, step, floor, next;
    } steps[] = {{17, 5, 15, 20}, {15, 5, 15, 20},     {0, 5, 0, 5}, {-3, 5, -5, 0},
                 {-5, 5, -5, 0},  {2.37, 0.5, 2, 2.5}, {7, 0, 7, 7}};
    for (const auto& c : steps) {
        EXPECT_DOUBLE_EQ(Gen::FloorToStep(c.x, c.step), c.floor) << c.x << " / " << c.step;
        EXPECT_DOUBLE_EQ(Gen::NextMultipleAbove(c.x, c.step), c.next) << c.x << " / " << c.step;
    }
    EXPECT_EQ(Gen::AsUnsigned32(-1), 4294967295u);
    EXPECT_EQ(Gen::AsUnsigned32(-2147483648LL), 2147483648u);
    // (value, bit from 1, set); the value is first rounded half up: 1.5 reads as 2, 0.4 as 0.
    const struct {
        double x;
        int n;
        bool set;
    } bits[] = {{1, 1, true},
                // clang-format off
                {1, 2, false}, {2, 1, false}, {3, 2, true}, {5, 3, true}, {4294967295.0, 32, true},
                {2147483648.0, 31, false}, {4294967295.0, 33, false}, {1, 0, false},
                {-1, 1, false}, {kNaN, 1, false}, {1.5, 1, false}, {1.5, 2, true}, {0.4, 1, false},
                {0.6, 1, true},
                // clang-format on
                {1e30, 1, false}};
    for (const auto& c : bits)
        EXPECT_EQ(Gen::BitTest(c.x, c.n), c.set) << c.x << " bit " << c.n;
    // A decade per 73 codes, rounded; codes beyond 255 are 255.
    const std::pair<double, double> amps[] = {{0, 0},      {-5, 0},    {0.5, 0},  {0.6, 1},
                                              {13, 2},     {73.2, 10}, {146, 99}, {255, 3045},
                                              {300, 3045}, {kNaN, 0},  {-1e30, 0}};
    for (const auto& [code, amp] : amps)
        EXPECT_EQ(Gen::LogAmplitude(code), amp) << code;
}

TEST(Gen, OneBasedTextHelpersClampPositions) {
    const struct {
        const char *hay, *needle;
        long long start;
        std::size_t pos;
    } instr[] = {{"abcabc", "bc", 3, 5}, {"abcabc", "bc", 2, 2}, {"abc", "x", 1, 0},
                 {"abc", "c", 4, 0},     {"abc", "a", 0, 0},     {"abc", "a", -5, 0},
                 {"abc", "", 3, 3},      {"abc", "", 4, 4},      {"abc", "", 5, 0},
                 {"", "", 1, 1},         {"abc", "abcd", 1, 0},  {"abc", "a", LLONG_MAX, 0}};
    for (const auto& c : instr)
        EXPECT_EQ(Gen::InStr(c.hay, c.needle, c.start), c.pos) << c.needle << " in " << c.hay;
    const struct {
        long long start, len;
        const char* mid;
    } mids[] = {
        {2, 3, "bcd"}, {2, -1, "bcdef"}, {1, 0, ""},    {5, 10, "ef"},      {6, 1, "f"},
        {7, 1, ""},    {0, 2, "ab"},     {-3, 2, "ab"}, {LLONG_MAX, 1, ""}, {3, LLONG_MAX, "cdef"}};
    for (const auto& c : mids)
        EXPECT_EQ(Gen::Mid("abcdef", c.start, c.len), c.mid) << c.start << ", " << c.len;
    EXPECT_EQ(Gen::Mid("\xE9t\xE9", 2, 2), "t\xE9");
    for (const long long n : {-1LL, 0LL, 2LL, 6LL, 99LL}) {
        const auto k = static_cast<std::size_t>(std::clamp(n, 0LL, 6LL));
        EXPECT_EQ(Gen::Left("abcdef", n), std::string("abcdef").substr(0, k)) << n;
        EXPECT_EQ(Gen::Right("abcdef", n), std::string("abcdef").substr(6 - k)) << n;
    }
    EXPECT_EQ(Gen::Replace("&H        ", "        ", "0000001F"), "&H0000001F");
    EXPECT_EQ(Gen::Replace("aaa", "aa", "b"), "ba");
    EXPECT_EQ(Gen::Replace("abc", "", "x"), "abc");
    EXPECT_EQ(Gen::Replace("abc", "b", ""), "ac");
}

TEST(Gen, DatesForTitlesAndWorkbooks) {
    EXPECT_EQ(Gen::FormatGeneral({2026, 3, 7, 9, 5, 1}), "2026-03-07 09:05:01");
    const std::pair<Gen::DateTime, double> serials[] = {
        // clang-format off
        {{1899, 12, 30, 0, 0, 0}, 0}, {{1900, 3, 1, 0, 0, 0}, 61},
        {{2000, 2, 29, 6, 0, 0}, 36585.25}, {{2026, 12, 6, 12, 0, 0}, 46362.5},
        // clang-format on
        {{2024, 1, 1, 0, 0, 1}, 45292 + 1 / 86400.0}};
    for (const auto& [t, serial] : serials)
        EXPECT_DOUBLE_EQ(Gen::ToSerialDate(t), serial) << Gen::FormatGeneral(t);
    Gen::DateTime t{1, 1, 1, 1, 1, 1};
    ASSERT_TRUE(Gen::ParseIso("2024-02-29T23:59:59", t));
    EXPECT_EQ(t, (Gen::DateTime{2024, 2, 29, 23, 59, 59}));
    ASSERT_TRUE(Gen::ParseIso("2026-12-06 00:00:00", t));
    EXPECT_EQ(t, (Gen::DateTime{2026, 12, 6, 0, 0, 0}));
    for (const char* bad : {"2023-02-29T00:00:00", "1900-02-29T00:00:00", "2026-04-31T00:00:00",
                            "2026-04-01T24:00:00", "2026-04-01T23:00:60", "2026-04-01T23:00",
                            "2026-04-01T23:00:00Z", "20a6-04-01T23:00:00"}) {
        EXPECT_FALSE(Gen::ParseIso(bad, t)) << bad;
        EXPECT_EQ(t, (Gen::DateTime{2026, 12, 6, 0, 0, 0})) << "left alone by " << bad;
    }
}

}  // namespace
