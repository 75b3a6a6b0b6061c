#include <gtest/gtest.h>

#include <string>

#include "terminal/comm_settings.h"
#include "terminal/port_naming.h"

namespace sondix {
namespace {

struct GoodText {
    const char* text;
    CommSettings want;
    const char* canonical;
};

class SettingsAccepted : public ::testing::TestWithParam<GoodText> {};

TEST_P(SettingsAccepted, ReadsFieldsAndFormatsCanonically) {
    const auto& c = GetParam();
    CommSettings got{1, 'x', 0, StopBits::Two};
    EXPECT_EQ(ParseCommSettings(c.text, got), "");
    EXPECT_EQ(got, c.want);
    EXPECT_EQ(FormatCommSettings(got), c.canonical);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsAccepted,
    ::testing::Values(
        GoodText{"9600,n,8,1", {9600, 'n', 8, StopBits::One}, "9600,n,8,1"},
        GoodText{"9600,N,8,1", {9600, 'n', 8, StopBits::One}, "9600,n,8,1"},
        GoodText{"19200,E,7,2", {19200, 'e', 7, StopBits::Two}, "19200,e,7,2"},
        GoodText{"110,o,7,1", {110, 'o', 7, StopBits::One}, "110,o,7,1"},
        GoodText{"300,M,6,2", {300, 'm', 6, StopBits::Two}, "300,m,6,2"},
        GoodText{"600,s,8,2", {600, 's', 8, StopBits::Two}, "600,s,8,2"},
        GoodText{"9600,e,5,1.5", {9600, 'e', 5, StopBits::OnePointFive}, "9600,e,5,1.5"},
        GoodText{"1200,n,5,1", {1200, 'n', 5, StopBits::One}, "1200,n,5,1"},
        GoodText{" 115200 , N , 8 , 1 ", {115200, 'n', 8, StopBits::One}, "115200,n,8,1"},
        GoodText{"\t256000,O,8,1\t", {256000, 'o', 8, StopBits::One}, "256000,o,8,1"},
        GoodText{"14400,n,8,1", {14400, 'n', 8, StopBits::One}, "14400,n,8,1"}));

struct BadText {
    const char* text;
    const char* mentions;  // part of the error text naming the faulty field or rule
};

class SettingsRefused : public ::testing::TestWithParam<BadText> {};

TEST_P(SettingsRefused, NamesTheFaultAndLeavesSettingsAlone) {
    const auto& c = GetParam();
    const CommSettings before{4800, 'e', 7, StopBits::One};
    CommSettings s = before;
    const std::string why = ParseCommSettings(c.text, s);
    EXPECT_NE(why.find(std::string("Invalid port settings \"") + c.text + "\""), std::string::npos)
        << why;
    EXPECT_NE(why.find(c.mentions), std::string::npos) << why;
    EXPECT_EQ(s, before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsRefused,
    ::testing::Values(BadText{"9600,x,8,1", "parity must be one of e, m, n, o, s"},
                      BadText{"9600,,8,1", "parity"}, BadText{"9600,no,8,1", "parity"},
                      BadText{"0,n,8,1", "speed"}, BadText{"-9600,n,8,1", "speed"},
                      BadText{"+9600,n,8,1", "speed"}, BadText{"96.00,n,8,1", "speed"},
                      BadText{",n,8,1", "speed"}, BadText{"99999999999,n,8,1", "speed"},
                      BadText{"9600,n,9,1", "data bits"}, BadText{"9600,n,3,1", "data bits"},
                      BadText{"9600,n,88,1", "data bits"}, BadText{"9600,n,8,3", "stop bits"},
                      BadText{"9600,n,8,1.0", "stop bits"}, BadText{"9600,n,8,", "stop bits"},
                      BadText{"9600,n,8", "separated by commas"},
                      BadText{"9600,n,8,1,1", "separated by commas"},
                      BadText{"", "separated by commas"},
                      BadText{"9600 n 8 1", "separated by commas"},
                      BadText{"9600,n,4,1", "4 data bits are not supported"},
                      BadText{"9600,n,4,2", "4 data bits are not supported"},
                      BadText{"9600,n,8,1.5", "1.5 stop bits are only possible with 5 data"},
                      BadText{"9600,e,7,1.5", "1.5 stop bits"},
                      BadText{"9600,n,5,2", "2 stop bits are not possible with 5 data bits"}));

TEST(Handshaking, CodesZeroToThreeOnly) {
    for (int code : {0, 1, 2, 3})
        EXPECT_EQ(ValidateHandshaking(code), "") << code;
    for (int code : {-1, 4, 99}) {
        const std::string why = ValidateHandshaking(code);
        EXPECT_NE(why.find("Invalid handshaking " + std::to_string(code)), std::string::npos);
    }
}

struct NamingCase {
    int port;
    const char* setting;
    const char* env;
    const char* device;
};

class DeviceNaming : public ::testing::TestWithParam<NamingCase> {};

TEST_P(DeviceNaming, EnvironmentThenSettingThenPortNumber) {
    const auto& c = GetParam();
    EXPECT_EQ(DeviceForPort(c.port, c.setting, c.env), c.device);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DeviceNaming,
    ::testing::Values(
        NamingCase{1, "", "", "/dev/ttyS0"}, NamingCase{2, "", "", "/dev/ttyS1"},
        NamingCase{16, "", "", "/dev/ttyS15"}, NamingCase{2, "/dev/ttyUSB0", "", "/dev/ttyUSB0"},
        NamingCase{2, "/dev/ttyUSB0", "/dev/pts/7", "/dev/pts/7"},
        NamingCase{2, "", "/dev/pts/7", "/dev/pts/7"}, NamingCase{3, "  ", " ", "/dev/ttyS2"},
        NamingCase{3, " /dev/ttyACM0 ", "", "/dev/ttyACM0"}, NamingCase{0, "", "", ""},
        NamingCase{0, "/dev/ttyUSB1", "", "/dev/ttyUSB1"}));

}  // namespace
}  // namespace sondix
