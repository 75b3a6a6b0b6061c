// The chart's x-axis label spacing: points per label and per tick from the point count, the
// last x and the label step, and the texts each kind of axis gets.
#include <gtest/gtest.h>

#include "response/graph_scale.h"

namespace sondix {
namespace {

struct ScaleCase {
    void (*rectify)(GraphModel&, std::int16_t, float, float);
    std::int16_t n;
    float xmax;
    float step;
    int perLabel;
    int perTick;
};

class Scale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(Scale, DivisionsFollowPointsPerLabelStep) {
    const ScaleCase c = GetParam();
    GraphModel g;
    c.rectify(g, c.n, c.xmax, c.step);
    EXPECT_EQ(g.divisionsPerLabel, c.perLabel);
    EXPECT_EQ(g.divisionsPerTick, c.perTick);
}

constexpr auto T = RectifyScaleX;
constexpr auto F = RectifyScaleX_Freq;

INSTANTIATE_TEST_SUITE_P(
    Time, Scale,
    ::testing::Values(ScaleCase{T, 2048, 409.4f, 50, 251, 125},   // 2048 / 8.188 + 0.5 = 250.62
                      ScaleCase{T, 512, 102.2f, 10, 51, 10},      // a fifth per tick below 800
                      ScaleCase{T, 1024, 204.6f, 20, 101, 50},    // half per tick up to 2100
                      ScaleCase{T, 4096, 819.0f, 100, 501, 501},  // one tick per label above
                      // xmax and step below 1 count as 1: d = 512.5, halves go to even
                      ScaleCase{T, 512, 0.5f, 0.2f, 512, 102},
                      // d = 1.5 at every count: ticks per label 5 below 800, 2 below 2100, 1 on
                      ScaleCase{T, 799, 799, 1, 2, 0}, ScaleCase{T, 800, 800, 1, 2, 1},
                      ScaleCase{T, 2099, 2099, 1, 2, 1}, ScaleCase{T, 2100, 2100, 1, 2, 2}));

INSTANTIATE_TEST_SUITE_P(Freq, Scale,
                         ::testing::Values(ScaleCase{F, 1024, 24975.5859375f, 2000, 83, 41},
                                           ScaleCase{F, 256, 6225.5859375f, 500, 21, 11},
                                           ScaleCase{F, 102, 2465.8203125f, 200, 9, 4},
                                           // no lower limit on a spectrum's xmax and step
                                           ScaleCase{F, 1024, 0.5f, 0.2f, 410, 205}));

TEST(TimeScaleTexts, TimeSeriesTitlesAndAxis) {
    GraphModel g;
    g.yAxisAuto = false;
    RectifyScaleX(g, 2048, 409.4f, 50);
    EXPECT_EQ(g.title, "Time Series");
    EXPECT_EQ(g.caption, "Radar Signal Time Series");
    EXPECT_EQ(g.chartKind, 1);
    EXPECT_EQ(g.footnote, "D command (AltPrtScr=copy graph window)   Npoints= 2048");
    EXPECT_EQ(g.xAxisTitle, "ms");
    EXPECT_EQ(g.xLabelFontSize, 10);
    EXPECT_FALSE(g.yAxisAuto);
}

TEST(FreqScaleTexts, SpectrumTitlesAndAxis) {
    GraphModel g;
    RectifyScaleX_Freq(g, 1024, 24975.5859375f, 2000);
    EXPECT_EQ(g.title, "Spectrum");
    EXPECT_EQ(g.caption, "Radar Signal Power Spectrum");
    EXPECT_EQ(g.chartKind, 0);
    EXPECT_EQ(g.footnote, "F command (AltPrtScr=copy graph window)   Npoints= 1024");
    EXPECT_EQ(g.xAxisTitle, "Hz");
    EXPECT_EQ(g.xLabelFontSize, 7);
    EXPECT_FALSE(g.yAxisAuto);
}

TEST(FreqScaleTexts, ZeroRangeSaturatesInsteadOfFailing) {
    GraphModel g;
    RectifyScaleX_Freq(g, 512, 0, 0);   // 0 / 0 points per label
    RectifyScaleX_Freq(g, 512, 0, 20);  // n / 0: no exception, a saturated count
    EXPECT_GT(g.divisionsPerLabel, 0);
}

}  // namespace
}  // namespace sondix
