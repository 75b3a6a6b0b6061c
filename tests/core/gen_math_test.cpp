// Small numeric rules shared by the decoders.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "common/gen_math.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(LargerSmaller, MixedKinds) {
    EXPECT_EQ(Gen::Larger(3, 2.5), 3.0);
    EXPECT_EQ(Gen::Smaller(3, 2.5), 2.5);
    EXPECT_EQ(Gen::Larger(std::int16_t{-1}, 0L), 0L);
}

struct StepCase {
    double x, step, floor, next;
};

class StepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepTest, FloorAndNextMultiple) {
    const auto& c = GetParam();
    EXPECT_DOUBLE_EQ(Gen::FloorToStep(c.x, c.step), c.floor) << c.x << " / " << c.step;
    EXPECT_DOUBLE_EQ(Gen::NextMultipleAbove(c.x, c.step), c.next) << c.x << " / " << c.step;
}

INSTANTIATE_TEST_SUITE_P(Table, StepTest,
                         ::testing::Values(StepCase{17, 5, 15, 20}, StepCase{15, 5, 15, 20},
                                           StepCase{0, 5, 0, 5}, StepCase{-3, 5, -5, 0},
                                           StepCase{-5, 5, -5, 0}, StepCase{2.37, 0.5, 2, 2.5},
                                           StepCase{7, 0, 7, 7}));

TEST(AsUnsigned32, NegativeWordsWrap) {
    EXPECT_EQ(Gen::AsUnsigned32(-1), 4294967295u);
    EXPECT_EQ(Gen::AsUnsigned32(-2147483648LL), 2147483648u);
    EXPECT_EQ(Gen::AsUnsigned32(2147483647), 2147483647u);
    EXPECT_EQ(Gen::AsUnsigned32(3), 3u);
}

struct BitCase {
    double x;
    int n;
    bool set;
};

class BitTestTest : public ::testing::TestWithParam<BitCase> {};

TEST_P(BitTestTest, Halving) {
    const auto& c = GetParam();
    EXPECT_EQ(Gen::BitTest(c.x, c.n), c.set) << c.x << " bit " << c.n;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BitTestTest,
    ::testing::Values(BitCase{1, 1, true}, BitCase{1, 2, false}, BitCase{2, 1, false},
                      BitCase{2, 2, true}, BitCase{3, 1, true}, BitCase{3, 2, true},
                      BitCase{0, 1, false}, BitCase{5, 3, true}, BitCase{4294967295.0, 32, true},
                      BitCase{2147483648.0, 32, true}, BitCase{2147483648.0, 31, false},
                      BitCase{4294967295.0, 33, false}, BitCase{1, 0, false}, BitCase{1, -1, false},
                      BitCase{-1, 1, false}, BitCase{kNaN, 1, false},
                      // The value is first rounded half up: 1.5 reads as 2, 0.4 as 0.
                      BitCase{1.5, 1, false}, BitCase{1.5, 2, true}, BitCase{0.4, 1, false},
                      BitCase{0.6, 1, true}, BitCase{1e30, 1, false}));

struct AmpCase {
    double code, amplitude;
};

class LogAmplitudeTest : public ::testing::TestWithParam<AmpCase> {};

TEST_P(LogAmplitudeTest, DecadePer73Codes) {
    EXPECT_EQ(Gen::LogAmplitude(GetParam().code), GetParam().amplitude) << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(Table, LogAmplitudeTest,
                         ::testing::Values(AmpCase{0, 0}, AmpCase{-5, 0}, AmpCase{0.5, 0},
                                           AmpCase{0.6, 1}, AmpCase{1, 1}, AmpCase{13, 2},
                                           AmpCase{73.2, 10}, AmpCase{146, 99}, AmpCase{255, 3045},
                                           AmpCase{300, 3045}, AmpCase{1e30, 3045},
                                           AmpCase{kNaN, 0}, AmpCase{-1e30, 0}));

}  // namespace
