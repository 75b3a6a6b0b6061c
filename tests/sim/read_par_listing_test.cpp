// The simulated sensor's "P" listing, read by the host's listing reader: every parameter the
// sensor lists lands in its mirror member with the value the listing's notation carries.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "answer_context.h"
#include "config/read_par.h"
#include "listing.h"
#include "params.h"
#include "text_fields.h"

namespace sondix::sim {
namespace {

float ParamMirror::*MemberOf(std::string_view name) {
    // The simulator names its parameters after the mirror's members.
    for (const MirrorNumber& m : kMirrorNumbers) {
        if (m.name == name) return m.member;
    }
    return nullptr;
}

// The value as the listing writes it: fractions keep their denominator's precision.
double AsListed(const ParamDef& def, double value) {
    if (def.notation == Notation::Fraction) {
        return static_cast<double>(RoundSat(value * def.scale)) / def.scale;
    }
    return static_cast<double>(RoundSat(value));
}

struct ListingCase {
    Variant variant;
    const char* firmware;
    float rev;
};
std::ostream& operator<<(std::ostream& os, const ListingCase& c) {
    return os << (c.variant == Variant::Velocimeter ? "velocimeter " : "distance ") << c.firmware;
}

class SimListingTest : public testing::TestWithParam<ListingCase> {
  protected:
    SimListingTest() : params_(GetParam().variant, GetParam().rev) {
        // Odd values where the notation matters: a signed length, a product, a fraction.
        params_.Put("Rly2Dist", -2000);
        params_.Put("Range", 45000);
    }

    ParamMirror Read() const {
        const std::string firmware = GetParam().firmware;
        const AnswerContext ctx{GetParam().variant, firmware, params_, Reading{}, 123456, false};
        ParamMirror m;
        ReadPar(m, ParameterListing(ctx));
        return m;
    }

    Params params_;
};

TEST_P(SimListingTest, KindRevisionAndEveryListedParameterReachTheMirror) {
    const ParamMirror m = Read();
    EXPECT_EQ(m.VelocimeterMode, GetParam().variant == Variant::Velocimeter);
    EXPECT_FLOAT_EQ(m.FirmwareRev, GetParam().rev);
    EXPECT_NE(m.LogoStr.find(std::string("Ver") + GetParam().firmware), std::string::npos);
    EXPECT_EQ(m.NumberOfFFTdatapoints, params_.FftSize());
    for (const Param& p : params_.All()) {
        const auto member = MemberOf(p.def->name);
        ASSERT_NE(member, nullptr) << p.def->name;
        EXPECT_FLOAT_EQ(m.*member, static_cast<float>(AsListed(*p.def, p.value)))
            << p.def->key << ValueText(*p.def, p.value);
    }
    // Members that depend on the kind of sensor.
    if (GetParam().variant == Variant::Velocimeter) {
        EXPECT_FLOAT_EQ(m.Rly1Dist, 0);
        EXPECT_FLOAT_EQ(m.CalDopplr, m.CalFac);
        EXPECT_FLOAT_EQ(m.DistMax, 0);  // not read from a velocimeter's listing
    } else {
        EXPECT_GT(m.CalDopplr, 0);
        EXPECT_NE(m.CalDopplr, m.CalFac);
    }
}

INSTANTIATE_TEST_SUITE_P(Firmware, SimListingTest,
                         testing::Values(ListingCase{Variant::Distance, "0.40", 0.40f},
                                         ListingCase{Variant::Distance, "0.47", 0.47f},
                                         ListingCase{Variant::Distance, "1.51", 1.51f},
                                         ListingCase{Variant::Velocimeter, "0.40", 0.40f},
                                         ListingCase{Variant::Velocimeter, "0.47", 0.47f},
                                         ListingCase{Variant::Velocimeter, "1.51", 1.51f}));

}  // namespace
}  // namespace sondix::sim
