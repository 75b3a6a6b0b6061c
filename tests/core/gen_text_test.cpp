// Text helpers with 1-based positions.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "common/gen_text.h"

namespace {

struct InStrCase {
    std::string hay, needle;
    long long start;
    std::size_t pos;
};

class InStrTest : public ::testing::TestWithParam<InStrCase> {};

TEST_P(InStrTest, OneBasedPosition) {
    const auto& c = GetParam();
    EXPECT_EQ(Gen::InStr(c.hay, c.needle, c.start), c.pos)
        << '"' << c.needle << "\" in \"" << c.hay << "\" from " << c.start;
}

INSTANTIATE_TEST_SUITE_P(Table, InStrTest,
                         ::testing::Values(InStrCase{"abc", "c", 1, 3}, InStrCase{"abc", "a", 1, 1},
                                           InStrCase{"abcabc", "bc", 3, 5},
                                           InStrCase{"abcabc", "bc", 2, 2},
                                           InStrCase{"abc", "x", 1, 0}, InStrCase{"abc", "c", 4, 0},
                                           InStrCase{"abc", "a", 0, 0},
                                           InStrCase{"abc", "a", -5, 0}, InStrCase{"abc", "", 1, 1},
                                           InStrCase{"abc", "", 3, 3}, InStrCase{"abc", "", 4, 4},
                                           InStrCase{"abc", "", 5, 0}, InStrCase{"", "", 1, 1},
                                           InStrCase{"", "a", 1, 0}, InStrCase{"abc", "abcd", 1, 0},
                                           InStrCase{"abc", "a", LLONG_MAX, 0},
                                           InStrCase{"NWORDS=128", "NWORDS=", 1, 1}));

struct CutCase {
    std::string s;
    long long start, len;
    std::string mid;
};

class MidTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(MidTest, ClampsPositions) {
    const auto& c = GetParam();
    EXPECT_EQ(Gen::Mid(c.s, c.start, c.len), c.mid) << c.start << ", " << c.len;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MidTest,
    ::testing::Values(CutCase{"abcdef", 2, 3, "bcd"}, CutCase{"abcdef", 2, -1, "bcdef"},
                      CutCase{"abcdef", 1, 0, ""}, CutCase{"abcdef", 5, 10, "ef"},
                      CutCase{"abcdef", 6, 1, "f"}, CutCase{"abcdef", 7, 1, ""},
                      CutCase{"abcdef", 0, 2, "ab"}, CutCase{"abcdef", -3, 2, "ab"},
                      CutCase{"abcdef", LLONG_MAX, 1, ""}, CutCase{"abcdef", 3, LLONG_MAX, "cdef"},
                      CutCase{"", 1, 1, ""}, CutCase{"\xE9t\xE9", 2, 2, "t\xE9"}));

struct EndCase {
    std::string s;
    long long n;
    std::string left, right;
};

class LeftRightTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(LeftRightTest, TakeFromTheEnds) {
    const auto& c = GetParam();
    EXPECT_EQ(Gen::Left(c.s, c.n), c.left) << c.n;
    EXPECT_EQ(Gen::Right(c.s, c.n), c.right) << c.n;
}

INSTANTIATE_TEST_SUITE_P(
    Table, LeftRightTest,
    ::testing::Values(EndCase{"abcdef", 2, "ab", "ef"}, EndCase{"abcdef", 0, "", ""},
                      EndCase{"abcdef", -1, "", ""}, EndCase{"abcdef", 6, "abcdef", "abcdef"},
                      EndCase{"abcdef", 99, "abcdef", "abcdef"}, EndCase{"", 3, "", ""}));

TEST(Replace, EveryOccurrence) {
    EXPECT_EQ(Gen::Replace("a,b,,c", ",", ";"), "a;b;;c");
    EXPECT_EQ(Gen::Replace("&H        ", "        ", "0000001F"), "&H0000001F");
    EXPECT_EQ(Gen::Replace("aaa", "aa", "b"), "ba");
    EXPECT_EQ(Gen::Replace("abc", "", "x"), "abc");
    EXPECT_EQ(Gen::Replace("abc", "b", ""), "ac");
    EXPECT_EQ(Gen::Replace("", "b", "x"), "");
}

}  // namespace
