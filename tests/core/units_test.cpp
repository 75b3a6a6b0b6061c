// Lengths between millimetres and the display units, in both directions, for both sensor kinds
// and both firmware generations, and the round trip of what the boxes show.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "config/units.h"

namespace sondix {
namespace {

enum class Kind { Distance, LongRange, Velocimeter };

ParamMirror Mirror(Kind kind, float units) {
    ParamMirror m;
    m.Units = units;
    m.FirmwareRev = kind == Kind::Distance ? 0.40f : 1.51f;
    m.VelocimeterMode = kind == Kind::Velocimeter;
    return m;
}

std::string Name(Kind k, int units) {
    return std::string(k == Kind::Distance    ? "distance"
                       : k == Kind::LongRange ? "long-range"
                                              : "velocimeter") +
           " unit " + std::to_string(units);
}

struct Case {
    Kind kind;
    int units;
    float mm;
};

// ---------------------------------------------------------------- mm -> units

constexpr Kind D = Kind::Distance;
constexpr Kind L = Kind::LongRange;
constexpr Kind V = Kind::Velocimeter;

TEST(Units, MillimetresToValueAndText) {
    const struct {
        Case c;
        float value;
        const char* text;
    } cases[] = {{{D, 0, 1234.5f}, 1234.5f, "1234.5"},
                 // clang-format off
        {{D, 0, -20.25f}, -20.25f, "-20.25"}, {{L, 0, 999.96f}, 1.0f, "1.00"},
        {{L, 0, 1234}, 1.23f, "1.23"}, {{L, 0, 1235}, 1.24f, "1.24"},
        {{L, 0, -1236}, -1.24f, "-1.24"},
                 // clang-format on
                 {{V, 0, 1234.5f}, 1234.5f, "1234.5"},  // a velocimeter is never long-range
                 // clang-format off
        {{D, 2, 999.96f}, 1.0f, "1"}, {{D, 2, 1234.4f}, 1.234f, "1.234"},
        {{D, 2, -1234.4f}, -1.234f, "-1.234"}, {{L, 2, 1234}, 1.234f, "1.23"},
        {{V, 2, 2500}, 2.5f, "2.5"}, {{D, 4, 0.5f}, 0.1f, "0.1"},
        {{D, 4, 1234}, 123.4f, "123.4"}, {{D, 4, 1000}, 100.0f, "100.0"},
                 // clang-format on
                 // Int(x + 0.5) is exact: just below a half rounds down, an odd whole number above
                 // 2^23 stays odd
                 // clang-format off
        {{D, 4, 0.49999997f}, 0.0f, "0.0"}, {{D, 2, 0.49999997f}, 0.0f, "0"},
        {{D, 2, 8388609.0f}, 8388.609f, "8388.609"}, {{D, 4, 8388609.0f}, 838860.9f, "838860.9"},
        {{L, 4, 1234}, 123.4f, "123.4"}, {{V, 4, -55}, -5.5f, "-5.5"},
        {{D, 3, 1000}, 39.4f, "39.4"}, {{D, 3, 0}, 0.0f, "0.0"},
        {{V, 3, 25.4f}, 1.0f, "1.0"}, {{D, 1, 1524}, 5.0f, "5'0.0\""},
        {{D, 1, 1000}, 3.28f, "3'3.4\""}, {{L, 1, 1000}, 3.28f, "3'3.4\""},
        {{V, 1, 1000}, 3.28f, "3'3.4\""}, {{D, 1, 0}, 0.0f, "0'0.0\""},
                 // clang-format on
                 {{D, 1, 301.752f}, 0.99f, "0'11.9\""},  // never 12.0 inches
                 {{D, 1, 304.19f}, 1.0f, "1'0.0\""},     // 0.998 ft rounds to a whole foot
                 // clang-format off
        {{D, 1, 3352.8f}, 11.0f, "11'0.0\""}, {{D, 1, -914.4f}, -3.0f, "-3'0.0\""},
        {{D, 1, -152.4f}, -0.5f, "-0'6.0\""}, {{D, 1, -1000}, -3.28f, "-3'3.4\""},
                 // clang-format on
                 {{D, 1, -1.0f}, 0.0f, "0'0.0\""}};
    for (const auto& t : cases) {
        const ParamMirror m = Mirror(t.c.kind, t.c.units);
        EXPECT_FLOAT_EQ(cnv_mm_to_units(m, t.c.mm), t.value) << Name(t.c.kind, t.c.units) << t.c.mm;
        EXPECT_EQ(cnv_mm_to_units_str(m, t.c.mm), t.text) << Name(t.c.kind, t.c.units) << t.c.mm;
    }
}
// rounds to zero: no sign

// An unread or odd unit index behaves as millimetres.
TEST(UnitIndex, OddValuesActAsMillimetres) {
    for (const float units :
         {0.0f, 5.0f, -1.0f, 1.5f, kMissing, std::numeric_limits<float>::quiet_NaN()}) {
        ParamMirror m = Mirror(D, 0);
        m.Units = units;
        EXPECT_EQ(UnitIndex(m), 0) << units;
        EXPECT_FLOAT_EQ(cnv_mm_to_units(m, 1234.5f), 1234.5f) << units;
        EXPECT_FLOAT_EQ(cnv_units_str_to_mm(m, "12.5"), 12.5f) << units;
        EXPECT_EQ(UnitLabel(m), "mm") << units;
    }
}

// ---------------------------------------------------------------- units -> mm

// The value is the number that text stands for, for cnv_units_to_mm.
TEST(Units, TextAndValueToMillimetres) {
    const struct {
        Kind kind;
        int units;
        const char* text;
        float value, mm;
    } cases[] = {{D, 0, "1234.5", 1234.5f, 1234.5f},
                 // clang-format off
                    {D, 0, " -12.25 mm", -12.25f, -12.25f},
                    {V, 0, "1234.5", 1234.5f, 1234.5f}, {L, 0, "1.23", 1.23f, 1230},
                    {L, 0, "1.2345", 1.2345f, 1235}, {D, 2, "1.234", 1.234f, 1234},
                    {L, 2, "-0.5", -0.5f, -500}, {V, 2, "2.5 m/s", 2.5f, 2500},
                    {D, 4, "123.4", 123.4f, 1234}, {D, 4, "  12.3cm", 12.3f, 123},
                    {D, 3, "39.4\"", 39.4f, 1001}, {D, 3, "12", 12.0f, 305},
                    {V, 3, "-1.0\"", -1.0f, -25}, {D, 1, "5'6", 5.5f, 1676},
                    {D, 1, "5'6.0\"", 5.5f, 1676}, {L, 1, "5'6.0\"", 5.5f, 1676},
                    {V, 1, "5'6.0\"", 5.5f, 1676}, {D, 1, "-2'6", -2.5f, -762},
                    {D, 1, "-3'0.0\"", -3.0f, -914},
                    {D, 1, "-0'6.0\"", -0.5f, -152}, {D, 1, " -0'6", -0.5f, -152},
                    {D, 1, "'6", 0.5f, 152}, {D, 1, "3.5", 3.5f, 1067},
                 // clang-format on
                 {D, 1, "5\"6'", 5.0f, 1524},  // inch mark before the apostrophe
                 {D, 1, "abc", 0.0f, 0},
                 {D, 2, "", 0.0f, 0}};
    for (const auto& t : cases) {
        const ParamMirror m = Mirror(t.kind, t.units);
        EXPECT_FLOAT_EQ(cnv_units_str_to_mm(m, t.text), t.mm) << Name(t.kind, t.units) << t.text;
        EXPECT_FLOAT_EQ(cnv_units_to_mm(m, t.value), t.mm) << Name(t.kind, t.units) << t.text;
    }
}

TEST(LongRange, AboveRevision046OnADistanceSensor) {
    struct Case {
        float rev;
        bool velocimeter;
        bool longRange;
    };
    const Case cases[] = {{0.40f, false, false}, {0.46f, false, false}, {0.47f, false, true},
                          {1.51f, false, true},  {1.51f, true, false},  {kMissing, false, false}};
    for (const Case& c : cases) {
        ParamMirror m;
        m.FirmwareRev = c.rev;
        m.VelocimeterMode = c.velocimeter;
        EXPECT_EQ(LongRangeFirmware(m), c.longRange) << c.rev << " " << c.velocimeter;
    }
}

// ---------------------------------------------------------------- the set command's integer

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Whole millimetres, or centimetres for long-range unit 0, clamped before rounding.
TEST(Units, SetCommandInteger) {
    const struct {
        Kind kind;
        int units;
        double mm;
        std::int16_t sent;
    } cases[] = {{L, 0, 1234, 123},
                 {L, 0, 1235, 124},
                 // clang-format off
                    {L, 0, -1234, -123}, {L, 0, -1236, -124},
                    {L, 0, 400000, 32760}, {L, 0, -400000, -32760},
                    {L, 0, 1e30, 32760}, {L, 0, kNaN, 0},
                 // clang-format on
                 {L, 2, 1234, 1234},  // only unit 0 goes out in centimetres
                 // clang-format off
                    {V, 0, 1234, 1234}, {D, 0, 1234, 1234},
                    {D, 0, 1234.4, 1234}, {D, 0, 32760, 32760},
                    {D, 0, 32761, 32760}, {D, 0, -40000, -32760},
                    {D, 1, 1e30, 32760}, {D, 4, -1e30, -32760},
                    {D, 0, kInf, 32760}, {D, 0, -kInf, -32760},
                 // clang-format on
                 {D, 0, kNaN, 0}};
    for (const auto& t : cases)
        EXPECT_EQ(cnv_mm_to_sensor(Mirror(t.kind, t.units), t.mm), t.sent)
            << Name(t.kind, t.units) << t.mm;
}

// What a box shows must read back to the length it stands for, within what the text can show.

TEST(Units, ShownTextReadsBack) {
    const struct {
        Kind kind;
        int units;
        float resolutionMm;
    } cases[] = {{D, 0, 0},
                 {D, 1, 2.54f},
                 {D, 2, 0},
                 // clang-format off
                    {D, 3, 0}, {D, 4, 0}, {L, 0, 0}, {L, 1, 2.54f}, {L, 2, 10}, {L, 3, 0},
                    {L, 4, 0}, {V, 0, 0}, {V, 1, 2.54f},
                 // clang-format on
                 {V, 2, 0},
                 {V, 3, 0},
                 {V, 4, 0}};
    for (const auto& t : cases) {
        const ParamMirror m = Mirror(t.kind, t.units);
        int failures = 0;
        for (int i = -3000; i <= 3000 && failures < 5; ++i) {
            const float mm = static_cast<float>(i) * 3.07f;
            const std::string shown = cnv_mm_to_units_str(m, mm);
            const float back = cnv_units_str_to_mm(m, shown);
            const float meant = cnv_units_to_mm(m, cnv_mm_to_units(m, mm));
            if (std::fabs(back - meant) > t.resolutionMm + std::fabs(meant) * 1e-6f) {
                ++failures;
                ADD_FAILURE() << Name(t.kind, t.units) << ": " << mm << " mm shows \"" << shown
                              << "\", reads back " << back << " mm instead of " << meant;
            }
        }
    }
}

}  // namespace
}  // namespace sondix
