// Format pictures round a number as it reads in decimal at its own precision, halves away from
// zero: a single-precision value at 7 significant digits, a double at 15.
#include <gtest/gtest.h>

#include <cstdint>

#include "common/gen_format.h"

namespace {

struct SingleCase {
    float v;
    const char* picture;
    const char* shown;
};

const SingleCase kSingles[] = {
    {0.175f, "0.00", "0.18"},          // 175 mm in metres
    {4.665f, "0.00", "4.67"},          // 4665 mm in metres
    {4.665f, "#0.00", "4.67"},         //
    {-0.175f, "0.00", "-0.18"},        // halves away from zero
    {2.25f, "#0.0", "2.3"},            //
    {0.0012345f, "0.000%", "0.123%"},  // the percent of the decimal value
    {0.0012355f, "0.000%", "0.124%"},
    {1.005f, "0.00", "1.01"},
    {12.5f, "#0", "13"},
    {5.05f, "0.0", "5.1"},
};

TEST(FormatSingle, RoundsTheDecimalTheValueReadsAs) {
    for (const SingleCase& c : kSingles)
        EXPECT_EQ(Gen::Format(c.v, c.picture), c.shown) << c.v << " " << c.picture;
}

TEST(FormatSingle, DoublesAndWholeNumbersKeepTheirOwnPrecision) {
    EXPECT_EQ(Gen::Format(2.675, "0.00"), "2.68");
    EXPECT_EQ(Gen::Format(0.17499999701976776, "0.00"), "0.17");  // a double reads as it is
    EXPECT_EQ(Gen::Format(std::int16_t{7}, "00"), "07");
    EXPECT_EQ(Gen::Format(std::int32_t{42}, "#0"), "42");
}

}  // namespace
