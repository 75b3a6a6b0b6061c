// The parameter listing ("P") as the listing reader and the status reader take it.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "host_rules.h"
#include "sensor.h"

namespace sondix::sim {
namespace {

using test::GetParValue;
using test::Val;

struct KeyCase {
    Variant variant;
    const char* key;  // exactly as the mirror looks it up
    double value;     // what the reader must get from the default listing
};

std::string ListingOf(Variant v, const std::string& firmware = "") {
    Config c;
    c.variant = v;
    c.firmware = firmware;
    return Sensor(c).Feed("P", 3.0);
}

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << (c.variant == Variant::Velocimeter ? "velocimeter" : "distance") << " \"" << c.key
        << "\"";
}

class ListingKey : public testing::TestWithParam<KeyCase> {};

TEST_P(ListingKey, IsFoundByItsExactTextWithItsValue) {
    const std::string listing = ListingOf(GetParam().variant);
    EXPECT_NEAR(GetParValue(listing, GetParam().key), GetParam().value, 1e-6)
        << "key \"" << GetParam().key << "\"";
}

constexpr Variant D = Variant::Distance;
constexpr Variant V = Variant::Velocimeter;

INSTANTIATE_TEST_SUITE_P(
    Mirror, ListingKey,
    testing::Values(
        KeyCase{D, "SerNum  =", 1047}, KeyCase{D, "Password=", 417}, KeyCase{D, "Units   =", 0},
        KeyCase{D, "Damping =", 3}, KeyCase{D, "Range   =", 80000}, KeyCase{D, "Set  4  =", 500},
        KeyCase{D, "Set 20  =", 15000}, KeyCase{D, "Raw Fmin=", 3}, KeyCase{D, "Raw Fmax=", 500},
        KeyCase{D, "GENfault=", 0}, KeyCase{D, "LOEfault=", 0}, KeyCase{D, "HistLog =", 1},
        KeyCase{D, "BaudRate=", 9600}, KeyCase{D, "CalOffs =", 0}, KeyCase{D, "CalFac  =", 15.36},
        KeyCase{D, "Algoritm=", 2}, KeyCase{D, "CalDist =", 5000}, KeyCase{D, "Log2Nfft=", 11},
        KeyCase{D, "LoopTime=", 100}, KeyCase{D, "SampleT =", 50}, KeyCase{D, "Trim 4  =", 0},
        KeyCase{D, "Trim 20 =", 0}, KeyCase{D, "AmpMin  =", 150}, KeyCase{D, "Gain    =", 3},
        KeyCase{D, "Rly1Dist=", 5200}, KeyCase{D, "Rly2Dist=", -2000}, KeyCase{D, "Rly1Mode=", 0},
        KeyCase{D, "Rly2Mode=", 1}, KeyCase{D, "DistMax =", 75000}, KeyCase{D, "TestFlgs=", 0},
        KeyCase{D, "Tcorrfac=", 12}, KeyCase{D, "Vrampmin=", 500}, KeyCase{D, "Vrampmax=", 5500},
        KeyCase{D, "CalDopplr=", 6.2176}, KeyCase{D, "Vramp0  =", 500},
        KeyCase{D, "Vramp1  =", 1790}, KeyCase{D, "Vramp2  =", 3040}, KeyCase{D, "Vramp3  =", 4270},
        KeyCase{D, "Vramp4  =", 5500}, KeyCase{D, "MargStrt=", 8}, KeyCase{D, "MargEnd =", 8},
        KeyCase{D, "PeakSel =", 0}, KeyCase{D, "Dither  =", 1}, KeyCase{D, "OutSel  =", 2},
        // The velocimeter's own keys and the ones it lacks.
        KeyCase{V, "SerNum  =", 2151}, KeyCase{V, "Password=", 417}, KeyCase{V, "Units   =", 0},
        KeyCase{V, "Damping =", 4}, KeyCase{V, "Range   =", 20000}, KeyCase{V, "Set  4  =", 0},
        KeyCase{V, "Set 20  =", 5000}, KeyCase{V, "Raw Fmin=", 2}, KeyCase{V, "Raw Fmax=", 900},
        KeyCase{V, "HistLog =", 1}, KeyCase{V, "BaudRate=", 9600}, KeyCase{V, "CalFac  =", 6.2176},
        KeyCase{V, "Algor   =", 1}, KeyCase{V, "CalVel  =", 1500}, KeyCase{V, "Log2Nfft=", 11},
        KeyCase{V, "LoopTime=", 200}, KeyCase{V, "SampleT =", 100}, KeyCase{V, "AmpMin  =", 100},
        KeyCase{V, "Gain    =", 4}, KeyCase{V, "Rly2Vel =", 3000}, KeyCase{V, "Rly1Mode=", 0},
        KeyCase{V, "Rly2Mode=", 0}, KeyCase{V, "PkSel   =", 0}, KeyCase{V, "OutSel  =", 0},
        KeyCase{V, "CalDist =", kMissing}, KeyCase{V, "Rly1Dist=", kMissing},
        KeyCase{V, "Algoritm=", kMissing}, KeyCase{V, "PeakSel =", kMissing},
        KeyCase{V, "CalDopplr=", kMissing}, KeyCase{V, "Dist    =", kMissing}));

TEST(Listing, WritesFractionsAndProductsForSomeValues) {
    const std::string d = ListingOf(D);
    for (const char* text :
         {"CalFac  =15360/1000\r\n", "SampleT =5000/100\r\n", "CalDopplr=62176/10000\r\n",
          "BaudRate=96*100\r\n", "Range   =80*1000\r\n"}) {
        EXPECT_NE(d.find(text), std::string::npos) << text;
    }
}

// The echo first, the terminator past the reader's 220th character and last, within 4000; the
// status reader and the listing reader agree on the sample period; the kind of sensor is told by
// "Vramp" and the distance line.
TEST(Listing, FitsTheListingAndStatusReaders) {
    for (Variant v : {D, V}) {
        const std::string listing = ListingOf(v);
        EXPECT_EQ(listing.rfind("P\r\n", 0), 0u);
        const auto t = listing.find("  ***  ");
        ASSERT_NE(t, std::string::npos);
        EXPECT_GE(t + 1, 220u);
        EXPECT_LT(listing.size(), 4000u);
        EXPECT_EQ(listing.substr(t), "  ***  \r\n");
        // The status reader takes the numerator in hundredths of a microsecond.
        EXPECT_DOUBLE_EQ(Val(test::VariableField(listing, "SampleT =")) * 0.01,
                         GetParValue(listing, "SampleT ="));
        EXPECT_EQ(listing.find("Vramp") != std::string::npos, v == D);
        EXPECT_EQ(listing.find("Dist    =") != std::string::npos, v == D);
    }
}

struct LogoCase {
    Variant variant;
    std::string firmware;
    std::string revisionText;  // the four characters after "Ver"
};

class Logo : public testing::TestWithParam<LogoCase> {};

TEST_P(Logo, NamesTheRevisionRightAfterVer) {
    const std::string listing = ListingOf(GetParam().variant, GetParam().firmware);
    const std::string head = "SYSTEM LOGO:\r\n";
    const auto from = listing.find(head) + head.size();
    const std::string logo = listing.substr(from, listing.find("BOARDID") - from);
    // No longer keyword comes first: the reader tries "Version", "Revision", "Ver.", "Rev.".
    for (const char* kw : {"Version", "Revision", "Ver.", "Rev."}) {
        EXPECT_EQ(logo.find(kw), std::string::npos) << kw;
    }
    const auto p = logo.find("Ver");
    ASSERT_NE(p, std::string::npos);
    EXPECT_EQ(logo.substr(p + 3, 4), GetParam().revisionText);
    EXPECT_EQ(logo.substr(0, 10).find("Kurn"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Firmware, Logo,
                         testing::Values(LogoCase{D, "", "0.47"}, LogoCase{V, "", "1.51"},
                                         LogoCase{D, "0.52", "0.52"}, LogoCase{V, "1.4", "1.4\r"}));

struct SetCase {
    Variant variant;
    std::string firmware;
    std::string digits;  // what the host sends one second after "s"
    bool accepted;
    const char* key;
    double listed;  // the next listing's value; unchanged when refused
};

void PrintTo(const SetCase& c, std::ostream* os) {
    *os << (c.variant == V ? "velocimeter" : "distance") << " firmware '" << c.firmware << "' s"
        << c.digits;
}

class SetCommand : public testing::TestWithParam<SetCase> {};

TEST_P(SetCommand, ShowsInTheNextListing) {
    Config c;
    c.variant = GetParam().variant;
    c.firmware = GetParam().firmware;
    Sensor s(c);
    EXPECT_EQ(s.Feed("s", 1.0), "s");
    EXPECT_EQ(s.Feed(GetParam().digits, 2.0),
              GetParam().digits + (GetParam().accepted ? "\r\nOK\r\n" : "\r\nERR\r\n"));
    EXPECT_DOUBLE_EQ(GetParValue(s.Feed("P", 3.0), GetParam().key), GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(
    Indices, SetCommand,
    testing::Values(
        // Long-range firmware (above 0.46, unit 0) takes lengths in centimetres.
        SetCase{D, "", "23000400", true, "Set  4  =", 4000},
        SetCase{D, "0.45", "23000400", true, "Set  4  =", 400},
        SetCase{D, "", "47-01500", true, "Rly1Dist=", -15000},
        SetCase{D, "0.45", "47-01500", true, "Rly1Dist=", -1500},
        SetCase{D, "", "18000002", true, "Units   =", 2},
        SetCase{D, "", "19000013", false, "Damping =", 3},
        SetCase{D, "", "30000003", true, "HistLog =", 3},
        SetCase{D, "", "77000002", true, "PeakSel =", 2},
        SetCase{D, "", "77000003", false, "PeakSel =", 0},
        SetCase{D, "0.49", "77000003", true, "PeakSel =", 3},
        SetCase{D, "0.48", "77000003", false, "PeakSel =", 0},
        SetCase{D, "", "82000001", true, "OutSel  =", 1},
        SetCase{D, "", "26001023", true, "Raw Fmax=", 1023},
        SetCase{D, "", "26001024", false, "Raw Fmax=", 500},
        SetCase{D, "", "16009999", false, "SerNum  =", 1047},
        SetCase{D, "", "99000001", false, "SerNum  =", 1047},
        SetCase{D, "", "2300x400", false, "Set  4  =", 500},
        SetCase{V, "", "36002500", true, "CalVel  =", 2500},
        SetCase{V, "", "48-01000", true, "Rly2Vel =", -1000},
        SetCase{V, "", "49000001", true, "Rly1Mode=", 1},
        SetCase{V, "", "49000005", false, "Rly1Mode=", 0},
        SetCase{V, "", "50000006", true, "Rly2Mode=", 6},
        SetCase{V, "1.50", "50000006", false, "Rly2Mode=", 0},
        SetCase{V, "", "61000003", true, "PkSel   =", 3},
        SetCase{V, "", "63000002", false, "OutSel  =", 0},
        SetCase{V, "", "47001000", false, "Rly2Vel =", 3000}));

}  // namespace
}  // namespace sondix::sim
