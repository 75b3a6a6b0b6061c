#include <gtest/gtest.h>

#include <string>

#include "terminal/comm_settings.h"
#include "terminal/port_naming.h"

namespace sondix {
namespace {

TEST(CommSettings, ReadsFieldsAndFormatsCanonically) {
    const struct {
        const char* text;
        CommSettings want;
        const char* canonical;
    } cases[] = {{"9600,n,8,1", {9600, 'n', 8, StopBits::One}, "9600,n,8,1"},
                 // clang-format off
        {"9600,N,8,1", {9600, 'n', 8, StopBits::One}, "9600,n,8,1"},
        {"19200,E,7,2", {19200, 'e', 7, StopBits::Two}, "19200,e,7,2"},
        {"110,o,7,1", {110, 'o', 7, StopBits::One}, "110,o,7,1"},
        {"300,M,6,2", {300, 'm', 6, StopBits::Two}, "300,m,6,2"},
        {"600,s,8,2", {600, 's', 8, StopBits::Two}, "600,s,8,2"},
        {"9600,e,5,1.5", {9600, 'e', 5, StopBits::OnePointFive}, "9600,e,5,1.5"},
        {"1200,n,5,1", {1200, 'n', 5, StopBits::One}, "1200,n,5,1"},
        {" 115200 , N , 8 , 1 ", {115200, 'n', 8, StopBits::One}, "115200,n,8,1"},
        {"\t256000,O,8,1\t", {256000, 'o', 8, StopBits::One}, "256000,o,8,1"},
                 // clang-format on
                 {"14400,n,8,1", {14400, 'n', 8, StopBits::One}, "14400,n,8,1"}};
    for (const auto& c : cases) {
        CommSettings got{1, 'x', 0, StopBits::Two};
        EXPECT_EQ(ParseCommSettings(c.text, got), "") << c.text;
        EXPECT_EQ(got, c.want) << c.text;
        EXPECT_EQ(FormatCommSettings(got), c.canonical);
    }
}

// The error names the faulty field or rule, and the settings stay as they were.
TEST(CommSettings, RefusedWithTheFaultNamed) {
    const std::pair<const char*, const char*> cases[] = {
        {"9600,x,8,1", "parity must be one of e, m, n, o, s"},
        // clang-format off
                      {"9600,,8,1", "parity"}, {"9600,no,8,1", "parity"},
                      {"0,n,8,1", "speed"}, {"-9600,n,8,1", "speed"},
                      {"+9600,n,8,1", "speed"}, {"96.00,n,8,1", "speed"},
                      {",n,8,1", "speed"}, {"99999999999,n,8,1", "speed"},
                      {"9600,n,9,1", "data bits"}, {"9600,n,3,1", "data bits"},
                      {"9600,n,88,1", "data bits"}, {"9600,n,8,3", "stop bits"},
                      {"9600,n,8,1.0", "stop bits"}, {"9600,n,8,", "stop bits"},
                      {"9600,n,8", "separated by commas"}, {"9600,n,8,1,1", "separated by commas"},
                      {"", "separated by commas"}, {"9600 n 8 1", "separated by commas"},
                      {"9600,n,4,1", "4 data bits are not supported"},
                      {"9600,n,4,2", "4 data bits are not supported"},
                      {"9600,n,8,1.5", "1.5 stop bits are only possible with 5 data"},
                      {"9600,e,7,1.5", "1.5 stop bits"},
        // clang-format on
        {"9600,n,5,2", "2 stop bits are not possible with 5 data bits"}};
    for (const auto& [text, mentions] : cases) {
        const CommSettings before{4800, 'e', 7, StopBits::One};
        CommSettings s = before;
        const std::string why = ParseCommSettings(text, s);
        EXPECT_NE(why.find(std::string("Invalid port settings \"") + text + "\""),
                  std::string::npos)
            << why;
        EXPECT_NE(why.find(mentions), std::string::npos) << why;
        EXPECT_EQ(s, before);
    }
}

TEST(Handshaking, CodesZeroToThreeOnly) {
    for (int code : {0, 1, 2, 3})
        EXPECT_EQ(ValidateHandshaking(code), "") << code;
    for (int code : {-1, 4, 99}) {
        const std::string why = ValidateHandshaking(code);
        EXPECT_NE(why.find("Invalid handshaking " + std::to_string(code)), std::string::npos);
    }
}

TEST(CommSettings, DeviceFromEnvironmentThenSettingThenPortNumber) {
    const struct {
        int port;
        const char *setting, *env, *device;
    } cases[] = {{1, "", "", "/dev/ttyS0"},
                 {2, "", "", "/dev/ttyS1"},
                 // clang-format off
        {16, "", "", "/dev/ttyS15"}, {2, "/dev/ttyUSB0", "", "/dev/ttyUSB0"},
        {2, "/dev/ttyUSB0", "/dev/pts/7", "/dev/pts/7"},
        {2, "", "/dev/pts/7", "/dev/pts/7"}, {3, "  ", " ", "/dev/ttyS2"},
        {3, " /dev/ttyACM0 ", "", "/dev/ttyACM0"}, {0, "", "", ""},
                 // clang-format on
                 {0, "/dev/ttyUSB1", "", "/dev/ttyUSB1"}};
    for (const auto& c : cases)
        EXPECT_EQ(DeviceForPort(c.port, c.setting, c.env), c.device)
            << c.port << c.setting << c.env;
}

}  // namespace
}  // namespace sondix
