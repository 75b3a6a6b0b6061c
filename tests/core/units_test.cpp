// Lengths between millimetres and the display units, in both directions, for both sensor kinds
// and both firmware generations, and the round trip of what the boxes show.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
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

struct ToUnitsCase {
    Case c;
    float value;
    const char* text;
};
std::ostream& operator<<(std::ostream& os, const ToUnitsCase& t) {
    return os << Name(t.c.kind, t.c.units) << " " << t.c.mm << " mm";
}

class ToUnitsTest : public testing::TestWithParam<ToUnitsCase> {};

TEST_P(ToUnitsTest, ValueAndText) {
    const ToUnitsCase& t = GetParam();
    EXPECT_FLOAT_EQ(cnv_mm_to_units(Mirror(t.c.kind, t.c.units), t.c.mm), t.value);
    EXPECT_EQ(cnv_mm_to_units_str(Mirror(t.c.kind, t.c.units), t.c.mm), t.text);
}

constexpr Kind D = Kind::Distance;
constexpr Kind L = Kind::LongRange;
constexpr Kind V = Kind::Velocimeter;

INSTANTIATE_TEST_SUITE_P(
    Table, ToUnitsTest,
    testing::Values(
        ToUnitsCase{{D, 0, 1234.5f}, 1234.5f, "1234.5"},
        ToUnitsCase{{D, 0, -20.25f}, -20.25f, "-20.25"}, ToUnitsCase{{L, 0, 999.96f}, 1.0f, "1.00"},
        ToUnitsCase{{L, 0, 1234}, 1.23f, "1.23"}, ToUnitsCase{{L, 0, 1235}, 1.24f, "1.24"},
        ToUnitsCase{{L, 0, -1236}, -1.24f, "-1.24"},
        ToUnitsCase{{V, 0, 1234.5f}, 1234.5f, "1234.5"},  // a velocimeter is never long-range
        ToUnitsCase{{D, 2, 999.96f}, 1.0f, "1"}, ToUnitsCase{{D, 2, 1234.4f}, 1.234f, "1.234"},
        ToUnitsCase{{D, 2, -1234.4f}, -1.234f, "-1.234"}, ToUnitsCase{{L, 2, 1234}, 1.234f, "1.23"},
        ToUnitsCase{{V, 2, 2500}, 2.5f, "2.5"}, ToUnitsCase{{D, 4, 0.5f}, 0.1f, "0.1"},
        ToUnitsCase{{D, 4, 1234}, 123.4f, "123.4"}, ToUnitsCase{{D, 4, 1000}, 100.0f, "100.0"},
        // Int(x + 0.5) is exact: just below a half rounds down, an odd whole number above 2^23
        // stays odd
        ToUnitsCase{{D, 4, 0.49999997f}, 0.0f, "0.0"}, ToUnitsCase{{D, 2, 0.49999997f}, 0.0f, "0"},
        ToUnitsCase{{D, 2, 8388609.0f}, 8388.609f, "8388.609"},
        ToUnitsCase{{D, 4, 8388609.0f}, 838860.9f, "838860.9"},
        ToUnitsCase{{L, 4, 1234}, 123.4f, "123.4"}, ToUnitsCase{{V, 4, -55}, -5.5f, "-5.5"},
        ToUnitsCase{{D, 3, 1000}, 39.4f, "39.4"}, ToUnitsCase{{D, 3, 0}, 0.0f, "0.0"},
        ToUnitsCase{{V, 3, 25.4f}, 1.0f, "1.0"}, ToUnitsCase{{D, 1, 1524}, 5.0f, "5'0.0\""},
        ToUnitsCase{{D, 1, 1000}, 3.28f, "3'3.4\""}, ToUnitsCase{{L, 1, 1000}, 3.28f, "3'3.4\""},
        ToUnitsCase{{V, 1, 1000}, 3.28f, "3'3.4\""}, ToUnitsCase{{D, 1, 0}, 0.0f, "0'0.0\""},
        ToUnitsCase{{D, 1, 301.752f}, 0.99f, "0'11.9\""},  // never 12.0 inches
        ToUnitsCase{{D, 1, 304.19f}, 1.0f, "1'0.0\""},     // 0.998 ft rounds to a whole foot
        ToUnitsCase{{D, 1, 3352.8f}, 11.0f, "11'0.0\""},
        ToUnitsCase{{D, 1, -914.4f}, -3.0f, "-3'0.0\""},
        ToUnitsCase{{D, 1, -152.4f}, -0.5f, "-0'6.0\""},
        ToUnitsCase{{D, 1, -1000}, -3.28f, "-3'3.4\""},
        ToUnitsCase{{D, 1, -1.0f}, 0.0f, "0'0.0\""}));  // rounds to zero: no sign

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

struct ToMmCase {
    Kind kind;
    int units;
    const char* text;
    float value;  // the number that text stands for, for cnv_units_to_mm
    float mm;
};
std::ostream& operator<<(std::ostream& os, const ToMmCase& t) {
    return os << Name(t.kind, t.units) << " \"" << t.text << "\"";
}

class ToMmTest : public testing::TestWithParam<ToMmCase> {};

TEST_P(ToMmTest, FromTextAndFromValue) {
    const ToMmCase& t = GetParam();
    EXPECT_FLOAT_EQ(cnv_units_str_to_mm(Mirror(t.kind, t.units), t.text), t.mm);
    EXPECT_FLOAT_EQ(cnv_units_to_mm(Mirror(t.kind, t.units), t.value), t.mm);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ToMmTest,
    testing::Values(ToMmCase{D, 0, "1234.5", 1234.5f, 1234.5f},
                    ToMmCase{D, 0, " -12.25 mm", -12.25f, -12.25f},
                    ToMmCase{V, 0, "1234.5", 1234.5f, 1234.5f}, ToMmCase{L, 0, "1.23", 1.23f, 1230},
                    ToMmCase{L, 0, "1.2345", 1.2345f, 1235}, ToMmCase{D, 2, "1.234", 1.234f, 1234},
                    ToMmCase{L, 2, "-0.5", -0.5f, -500}, ToMmCase{V, 2, "2.5 m/s", 2.5f, 2500},
                    ToMmCase{D, 4, "123.4", 123.4f, 1234}, ToMmCase{D, 4, "  12.3cm", 12.3f, 123},
                    ToMmCase{D, 3, "39.4\"", 39.4f, 1001}, ToMmCase{D, 3, "12", 12.0f, 305},
                    ToMmCase{V, 3, "-1.0\"", -1.0f, -25}, ToMmCase{D, 1, "5'6", 5.5f, 1676},
                    ToMmCase{D, 1, "5'6.0\"", 5.5f, 1676}, ToMmCase{L, 1, "5'6.0\"", 5.5f, 1676},
                    ToMmCase{V, 1, "5'6.0\"", 5.5f, 1676}, ToMmCase{D, 1, "-2'6", -2.5f, -762},
                    ToMmCase{D, 1, "-3'0.0\"", -3.0f, -914},
                    ToMmCase{D, 1, "-0'6.0\"", -0.5f, -152}, ToMmCase{D, 1, " -0'6", -0.5f, -152},
                    ToMmCase{D, 1, "'6", 0.5f, 152}, ToMmCase{D, 1, "3.5", 3.5f, 1067},
                    ToMmCase{D, 1, "5\"6'", 5.0f, 1524},  // inch mark before the apostrophe
                    ToMmCase{D, 1, "abc", 0.0f, 0}, ToMmCase{D, 2, "", 0.0f, 0}));

// ---------------------------------------------------------------- labels and hints

constexpr const char* kDistHint = "type in the distance";
constexpr const char* kVelHint = "type in velocity";
constexpr const char* kDistFeet = "type distance as feet and inches: fff'ii.i\"";
constexpr const char* kVelFeet = "type velocity as feet and inches: fff'ii.i per second\"";

TEST(UnitLabel, LabelAndHints) {
    struct Case {
        Kind kind;
        int units;
        const char* label;
        const char* hint;
    };
    const Case cases[] = {
        {D, 0, "mm", kDistHint}, {D, 1, "ft", kDistFeet},  {D, 2, "m ", kDistHint},
        {D, 3, "in", kDistHint}, {D, 4, "cm", kDistHint},  {L, 0, "m", kDistHint},
        {L, 1, "ft", kDistFeet}, {L, 2, "m ", kDistHint},  {L, 3, "in", kDistHint},
        {L, 4, "cm", kDistHint}, {V, 0, "mm/s", kVelHint}, {V, 1, "ft/s", kVelFeet},
        {V, 2, "m/s", kVelHint}, {V, 3, "in/s", kVelHint}, {V, 4, "cm/s", kVelHint}};
    for (const Case& c : cases) {
        SCOPED_TRACE(Name(c.kind, c.units));
        const ParamMirror m = Mirror(c.kind, c.units);
        EXPECT_EQ(UnitLabel(m), c.label);
        EXPECT_EQ(LengthHint(m), c.hint);
        EXPECT_EQ(UnitFrameHint(m), c.kind == V ? "select velocity unit" : "select distance unit");
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

struct SensorCase {
    Kind kind;
    int units;
    double mm;
    std::int16_t sent;
};
std::ostream& operator<<(std::ostream& os, const SensorCase& t) {
    return os << Name(t.kind, t.units) << " " << t.mm << " mm";
}

class ToSensorTest : public testing::TestWithParam<SensorCase> {};

TEST_P(ToSensorTest, WholeMillimetresOrCentimetresClamped) {
    const SensorCase& t = GetParam();
    EXPECT_EQ(cnv_mm_to_sensor(Mirror(t.kind, t.units), t.mm), t.sent);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, ToSensorTest,
    testing::Values(SensorCase{L, 0, 1234, 123}, SensorCase{L, 0, 1235, 124},
                    SensorCase{L, 0, -1234, -123}, SensorCase{L, 0, -1236, -124},
                    SensorCase{L, 0, 400000, 32760}, SensorCase{L, 0, -400000, -32760},
                    SensorCase{L, 0, 1e30, 32760}, SensorCase{L, 0, kNaN, 0},
                    SensorCase{L, 2, 1234, 1234},  // only unit 0 goes out in centimetres
                    SensorCase{V, 0, 1234, 1234}, SensorCase{D, 0, 1234, 1234},
                    SensorCase{D, 0, 1234.4, 1234}, SensorCase{D, 0, 32760, 32760},
                    SensorCase{D, 0, 32761, 32760}, SensorCase{D, 0, -40000, -32760},
                    SensorCase{D, 1, 1e30, 32760}, SensorCase{D, 4, -1e30, -32760},
                    SensorCase{D, 0, kInf, 32760}, SensorCase{D, 0, -kInf, -32760},
                    SensorCase{D, 0, kNaN, 0}));

// ---------------------------------------------------------------- round trip of the shown text

// What a box shows must read back to the length it stands for, within what the text can show.
struct RoundTripCase {
    Kind kind;
    int units;
    float resolutionMm;
};
std::ostream& operator<<(std::ostream& os, const RoundTripCase& t) {
    return os << Name(t.kind, t.units);
}

class RoundTripTest : public testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTripTest, ShownTextReadsBack) {
    const RoundTripCase& t = GetParam();
    const ParamMirror m = Mirror(t.kind, t.units);
    int failures = 0;
    for (int i = -3000; i <= 3000 && failures < 5; ++i) {
        const float mm = static_cast<float>(i) * 3.07f;
        const std::string shown = cnv_mm_to_units_str(m, mm);
        const float back = cnv_units_str_to_mm(m, shown);
        const float meant = cnv_units_to_mm(m, cnv_mm_to_units(m, mm));
        const float tolerance = t.resolutionMm + std::fabs(meant) * 1e-6f;
        if (std::fabs(back - meant) > tolerance) {
            ++failures;
            ADD_FAILURE() << mm << " mm shows \"" << shown << "\", reads back " << back
                          << " mm instead of " << meant;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryUnit, RoundTripTest,
    testing::Values(RoundTripCase{D, 0, 0}, RoundTripCase{D, 1, 2.54f}, RoundTripCase{D, 2, 0},
                    RoundTripCase{D, 3, 0}, RoundTripCase{D, 4, 0}, RoundTripCase{L, 0, 0},
                    RoundTripCase{L, 1, 2.54f}, RoundTripCase{L, 2, 10}, RoundTripCase{L, 3, 0},
                    RoundTripCase{L, 4, 0}, RoundTripCase{V, 0, 0}, RoundTripCase{V, 1, 2.54f},
                    RoundTripCase{V, 2, 0}, RoundTripCase{V, 3, 0}, RoundTripCase{V, 4, 0}));

}  // namespace
}  // namespace sondix
