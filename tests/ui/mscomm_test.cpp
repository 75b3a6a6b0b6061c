// MSComm on the real QSerialPort, with a pseudo-terminal as the line and the test as the sensor:
// settings, bytes, the far side closing, the open device named and held.
#include <gtest/gtest.h>
#include <termios.h>

#include <QTest>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <string>
#include <tuple>
#include <vector>

#include "pty_pair.h"
#include "session_fixture.h"
#include "terminal/main_window.h"
#include "terminal/ui/mscomm.h"

namespace sondix {
namespace {

class MSCommOnPty : public ::testing::Test {
  protected:
    void SetUp() override {
        port.SetEnvironmentPort("");
        port.SetPortNameSetting(pty.slavePath());
        QObject::connect(&port, &MSComm::OnComm, [this](int code) {
            events.push_back(code);
            if (code == MSComm::kEvReceive) received += port.Input();
        });
    }

    int Count(int code) const {
        return static_cast<int>(std::count(events.begin(), events.end(), code));
    }

    test::PtyPair pty;
    MSComm port;
    std::vector<int> events;
    std::string received;
};

// Settings reach the line at open and on the open port. A pseudo-terminal keeps speed and stop
// bits but always reports 8 data bits and no parity (the kernel's pty driver forces them), so the
// other data formats are checked in Qt's terms; handshaking 3 stands for RTS/CTS.
TEST_F(MSCommOnPty, SettingsAndHandshakingReachTheLine) {
    for (const auto& [settings, speed, cstopb] :
         {std::tuple{"9600,n,8,1", B9600, false}, {"115200,N,8,2", B115200, true}}) {
        ASSERT_EQ(port.SetSettings(settings), "");
        ASSERT_EQ(port.SetPortOpen(true), "");
        for (const char* when : {"at open", "on the open port"}) {
            termios tio{};
            tcgetattr(pty.slaveFd(), &tio);
            EXPECT_EQ(cfgetospeed(&tio), speed) << settings << " " << when;
            EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, cstopb) << settings << " " << when;
            ASSERT_EQ(port.SetSettings("1200,n,8,1"), "");
            ASSERT_EQ(port.SetSettings(settings), "");
        }
        EXPECT_EQ(port.SetPortOpen(false), "");
    }
    ASSERT_EQ(port.SetSettings("14400,n,8,1"), "");  // outside the standard table
    ASSERT_EQ(port.SetPortOpen(true), "");
    for (const auto& [code, crtscts, ixon] :
         {std::tuple{0, false, false}, {1, false, true}, {2, true, false}, {3, true, false}}) {
        ASSERT_EQ(port.SetHandshaking(code), "");
        termios tio{};
        tcgetattr(pty.slaveFd(), &tio);
        EXPECT_EQ((tio.c_cflag & CRTSCTS) != 0, crtscts) << code;
        EXPECT_EQ((tio.c_iflag & IXON) != 0, ixon) << code;
    }
    EXPECT_NE(port.SetHandshaking(4), "");
}

TEST_F(MSCommOnPty, EveryByteValueCrossesUnchangedBothWays) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    ASSERT_EQ(port.SetPortOpen(true), "");
    ASSERT_EQ(port.Output(all), "");
    EXPECT_EQ(port.OutBufferCount(), 256);  // queued: Output returned at once
    EXPECT_TRUE(QTest::qWaitFor([&] { return port.OutBufferCount() == 0; }, 1000));
    EXPECT_EQ(pty.readMaster(all.size(), 1000), all);

    ASSERT_TRUE(pty.writeMaster(all));
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() >= all.size(); }, 1000));
    EXPECT_EQ(received, all);
    EXPECT_EQ(port.Input(), "");
    EXPECT_EQ(Count(MSComm::kEvReceive), static_cast<int>(events.size()))
        << "a pseudo-terminal has no modem lines and reports nothing else";
}

// QSerialPort repeats its read error for ever once the far side is gone: one report, then
// nothing, and the CPU stays idle.
TEST_F(MSCommOnPty, FarSideClosingClosesThePortOnceWithoutBusyLoop) {
    ASSERT_EQ(port.SetPortOpen(true), "");
    pty.closeMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Count(MSComm::kErDeviceLost) > 0; }, 1000));
    EXPECT_EQ(port.CommEvent(), MSComm::kErDeviceLost);
    EXPECT_FALSE(port.PortOpen());
    EXPECT_NE(port.LastErrorText().find(pty.slavePath()), std::string::npos);  // names it
    events.clear();
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(50);
    const std::clock_t cpuBefore = std::clock();
    QTest::qWait(500);
    EXPECT_GE(ticks, 5);
    EXPECT_TRUE(events.empty());
    EXPECT_LT(double(std::clock() - cpuBefore) / CLOCKS_PER_SEC, 0.25);
}

// The settings panel names the open device; a second open of it says it is in use.
TEST_F(MSCommOnPty, TheSettingsPanelNamesTheDeviceAndASecondOpenSaysItIsInUse) {
    ASSERT_EQ(port.SetPortOpen(true), "");
    test::SessionFixture f;
    f.s.io.port = &port;
    EXPECT_EQ(SettingsPanelText(f.s), "Settings: " + pty.slavePath() + " 9600,n,8,1");
    MSComm second;
    second.SetEnvironmentPort("");
    second.SetPortNameSetting(pty.slavePath());
    const std::string why = second.SetPortOpen(true);
    EXPECT_NE(why.find("in use by another program"), std::string::npos) << why;
}

}  // namespace
}  // namespace sondix
