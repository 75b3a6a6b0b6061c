// The chart's x-axis label spacing: points per label and per tick from the point count, the
// last x and the label step.
#include <gtest/gtest.h>

#include "response/graph_scale.h"

namespace sondix {
namespace {

constexpr auto T = RectifyScaleX;
constexpr auto F = RectifyScaleX_Freq;

TEST(Scale, DivisionsFollowPointsPerLabelStep) {
    const struct {
        void (*rectify)(GraphModel&, std::int16_t, float, float);
        std::int16_t n;
        float xmax, step;
        int perLabel, perTick;
    } cases[] = {{T, 2048, 409.4f, 50, 251, 125},   // 2048 / 8.188 + 0.5 = 250.62
                 {T, 512, 102.2f, 10, 51, 10},      // a fifth per tick below 800
                 {T, 1024, 204.6f, 20, 101, 50},    // half per tick up to 2100
                 {T, 4096, 819.0f, 100, 501, 501},  // one tick per label above
                 // xmax and step below 1 count as 1: d = 512.5, halves go to even
                 {T, 512, 0.5f, 0.2f, 512, 102},
                 // d = 1.5 at every count: ticks per label 5 below 800, 2 below 2100, 1 on
                 // clang-format off
                      {T, 799, 799, 1, 2, 0}, {T, 800, 800, 1, 2, 1},
                      {T, 2099, 2099, 1, 2, 1}, {T, 2100, 2100, 1, 2, 2},
                      {F, 1024, 24975.5859375f, 2000, 83, 41},
                      {F, 256, 6225.5859375f, 500, 21, 11}, {F, 102, 2465.8203125f, 200, 9, 4},
                 // clang-format on
                 // no lower limit on a spectrum's xmax and step
                 {F, 1024, 0.5f, 0.2f, 410, 205}};
    for (const auto& c : cases) {
        GraphModel g;
        c.rectify(g, c.n, c.xmax, c.step);
        EXPECT_EQ(g.divisionsPerLabel, c.perLabel) << c.n << " " << c.xmax;
        EXPECT_EQ(g.divisionsPerTick, c.perTick) << c.n << " " << c.xmax;
    }
}

TEST(FreqScaleTexts, ZeroRangeSaturatesInsteadOfFailing) {
    GraphModel g;
    RectifyScaleX_Freq(g, 512, 0, 0);   // 0 / 0 points per label
    RectifyScaleX_Freq(g, 512, 0, 20);  // n / 0: no exception, a saturated count
    EXPECT_GT(g.divisionsPerLabel, 0);
}

}  // namespace
}  // namespace sondix
