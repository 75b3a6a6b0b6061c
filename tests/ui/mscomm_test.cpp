// MSComm on the real QSerialPort, with a pseudo-terminal as the line and the test as the sensor.
#include <gtest/gtest.h>
#include <termios.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "pty_pair.h"
#include "terminal/ui/mscomm.h"
#include "terminal/ui/mscomm_mapping.h"

namespace sondix {
namespace {

// Runs the event loop until `done` holds or `ms` have passed; true when it holds.
bool RunUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() >= ms) return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void RunFor(int ms) {
    RunUntil([] { return false; }, ms);
}

termios LineSettings(const test::PtyPair& pty) {
    termios tio{};
    tcgetattr(pty.slaveFd(), &tio);
    return tio;
}

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

// A pseudo-terminal keeps speed and stop bits but always reports 8 data bits and no parity
// (the kernel's pty driver forces them), so the line table uses 8,n; the mapping table below
// covers the other data formats.
struct LineCase {
    const char* settings;
    speed_t speed;
    bool cstopb;  // the UART's second stop bit
};

class SettingsReachTheLine : public MSCommOnPty, public ::testing::WithParamInterface<LineCase> {};

TEST_P(SettingsReachTheLine, WhenOpeningAndWhenChangedWhileOpen) {
    const auto& c = GetParam();
    const auto check = [&](const char* when) {
        const termios tio = LineSettings(pty);
        EXPECT_EQ(cfgetospeed(&tio), c.speed) << when;
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.cstopb) << when;
    };
    ASSERT_EQ(port.SetSettings(c.settings), "");
    ASSERT_EQ(port.SetPortOpen(true), "");
    EXPECT_TRUE(port.PortOpen());
    check("applied at open");

    ASSERT_EQ(port.SetSettings("1200,n,8,1"), "");
    ASSERT_EQ(port.SetSettings(c.settings), "");
    check("applied to the open port");
    EXPECT_EQ(port.SetPortOpen(false), "");
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsReachTheLine,
                         ::testing::Values(LineCase{"9600,n,8,1", B9600, false},
                                           LineCase{"19200,N,8,2", B19200, true},
                                           LineCase{"110,n,8,1", B110, false},
                                           LineCase{"115200,n,8,2", B115200, true}));

using Qsp = QSerialPort;

struct MappingCase {
    const char* settings;
    Qsp::DataBits dataBits;
    Qsp::Parity parity;
    Qsp::StopBits stop;
};

class SettingsInQtTerms : public ::testing::TestWithParam<MappingCase> {};

TEST_P(SettingsInQtTerms, EachFieldMapsToItsQSerialPortValue) {
    const auto& c = GetParam();
    CommSettings s;
    ASSERT_EQ(ParseCommSettings(c.settings, s), "");
    EXPECT_EQ(ToDataBits(s.dataBits), c.dataBits);
    EXPECT_EQ(ToParity(s.parity), c.parity);
    EXPECT_EQ(ToStopBits(s.stop), c.stop);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsInQtTerms,
    ::testing::Values(MappingCase{"9600,n,8,1", Qsp::Data8, Qsp::NoParity, Qsp::OneStop},
                      MappingCase{"9600,E,7,1", Qsp::Data7, Qsp::EvenParity, Qsp::OneStop},
                      MappingCase{"9600,o,6,2", Qsp::Data6, Qsp::OddParity, Qsp::TwoStop},
                      MappingCase{"9600,M,8,2", Qsp::Data8, Qsp::MarkParity, Qsp::TwoStop},
                      MappingCase{"9600,s,7,1", Qsp::Data7, Qsp::SpaceParity, Qsp::OneStop},
                      // The UART's second stop bit is 1.5 stop bits after 5-bit characters.
                      MappingCase{"9600,n,5,1.5", Qsp::Data5, Qsp::NoParity, Qsp::TwoStop},
                      MappingCase{"9600,n,5,1", Qsp::Data5, Qsp::NoParity, Qsp::OneStop}));

struct LinesCase {
    Qsp::PinoutSignals before;
    Qsp::PinoutSignals now;
    std::vector<int> codes;
};

class ModemLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(ModemLines, ChangesBecomeEvents) {
    EXPECT_EQ(ModemLineEvents(GetParam().before, GetParam().now), GetParam().codes);
}

constexpr auto kCts = Qsp::ClearToSendSignal;
constexpr auto kDsr = Qsp::DataSetReadySignal;
constexpr auto kCd = Qsp::DataCarrierDetectSignal;
constexpr auto kRing = Qsp::RingIndicatorSignal;
constexpr auto kRts = Qsp::RequestToSendSignal;

INSTANTIATE_TEST_SUITE_P(
    Table, ModemLines,
    ::testing::Values(LinesCase{{}, {}, {}}, LinesCase{kCts | kDsr, kCts | kDsr, {}},
                      LinesCase{{}, kCts, {3}}, LinesCase{kCts, {}, {3}},
                      LinesCase{kCts, kDsr, {3, 4}}, LinesCase{{}, kCd, {5}},
                      LinesCase{{}, kRing, {6}}, LinesCase{kRing, {}, {}},
                      LinesCase{kCd | kRing, kCts, {3, 5}},
                      LinesCase{{}, kRts, {}}));  // our own output lines raise nothing

// Settings that do not parse, and settings the device refuses on the open port (the pty driver
// cannot carry 7 data bits or parity): the port keeps the settings it had, and reports no event.
TEST_F(MSCommOnPty, RefusedSettingsOnTheOpenPortKeepTheOldOnes) {
    ASSERT_EQ(port.SetSettings("9600,n,8,1"), "");
    ASSERT_EQ(port.SetPortOpen(true), "");
    for (const char* bad : {"9600,x,8,1", "9600,n,4,2", "9600,n,8,1.5", "fast", "4800,e,7,1"}) {
        EXPECT_NE(port.SetSettings(bad), "") << bad;
        EXPECT_EQ(port.Settings(), "9600,n,8,1") << bad;
    }
    EXPECT_NE(port.SetSettings("4800,e,7,1").find("Cannot apply port settings \"4800,e,7,1\""),
              std::string::npos);
    const termios tio = LineSettings(pty);
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B9600));
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(tio.c_cflag & PARENB, tcflag_t(0));
    EXPECT_TRUE(port.PortOpen());
    RunFor(20);
    EXPECT_TRUE(events.empty()) << "a refused setting is no port event";
}

// A speed outside the standard table opens; settings read back in their canonical form.
TEST_F(MSCommOnPty, OpensWithSettingsReadBackCanonical) {
    for (const auto& [given, canonical] : {std::pair{"14400,n,8,1", "14400,n,8,1"},
                                           std::pair{" 9600 , E , 5 , 1.5 ", "9600,e,5,1.5"}}) {
        ASSERT_EQ(port.SetSettings(given), "");
        EXPECT_EQ(port.SetPortOpen(true), "") << given;
        EXPECT_TRUE(port.PortOpen());
        EXPECT_EQ(port.Settings(), canonical);
        EXPECT_EQ(port.SetPortOpen(false), "");
    }
}

TEST_F(MSCommOnPty, EveryByteValueCrossesUnchangedBothWays) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    ASSERT_EQ(port.SetSettings("9600,n,8,1"), "");
    ASSERT_EQ(port.SetPortOpen(true), "");

    ASSERT_EQ(port.Output(all), "");
    EXPECT_EQ(port.OutBufferCount(), 256);  // queued: Output returned at once
    EXPECT_TRUE(RunUntil([&] { return port.OutBufferCount() == 0; }, 1000));
    EXPECT_EQ(pty.readMaster(all.size(), 1000), all);

    ASSERT_TRUE(pty.writeMaster(all));
    EXPECT_TRUE(RunUntil([&] { return received.size() >= all.size(); }, 1000));
    EXPECT_EQ(received, all);
    EXPECT_GE(Count(MSComm::kEvReceive), 1);
    EXPECT_EQ(Count(MSComm::kEvReceive), static_cast<int>(events.size()))
        << "a pseudo-terminal has no modem lines and reports nothing else";
}

TEST_F(MSCommOnPty, ReceiveEventFindsTheWholeBlockWaiting) {
    ASSERT_EQ(port.SetPortOpen(true), "");
    ASSERT_TRUE(pty.writeMaster("  ***  \r\n"));
    ASSERT_TRUE(RunUntil([&] { return !events.empty(); }, 1000));
    EXPECT_EQ(events.front(), MSComm::kEvReceive);
    EXPECT_EQ(port.CommEvent(), MSComm::kEvReceive);
    EXPECT_EQ(received, "  ***  \r\n");
    EXPECT_EQ(port.Input(), "");
}

TEST_F(MSCommOnPty, MissingDeviceGivesItsErrorText) {
    port.SetPortNameSetting("/dev/sondix-no-such-port");
    const std::string why = port.SetPortOpen(true);
    EXPECT_NE(why.find("/dev/sondix-no-such-port"), std::string::npos) << why;
    EXPECT_GT(why.size(), std::string("Cannot open port /dev/sondix-no-such-port: ").size());
    EXPECT_FALSE(port.PortOpen());
    EXPECT_EQ(port.Output("E"), "Operation valid only when the port is open");
    RunFor(50);
    EXPECT_TRUE(events.empty());
}

TEST_F(MSCommOnPty, FarSideClosingClosesThePortOnceWithoutBusyLoop) {
    ASSERT_EQ(port.SetPortOpen(true), "");
    ASSERT_TRUE(pty.writeMaster("last words"));
    ASSERT_TRUE(RunUntil([&] { return received == "last words"; }, 1000));

    pty.closeMaster();
    ASSERT_TRUE(RunUntil([&] { return Count(MSComm::kErDeviceLost) > 0; }, 1000));
    EXPECT_EQ(Count(MSComm::kErDeviceLost), 1);
    EXPECT_EQ(port.CommEvent(), MSComm::kErDeviceLost);
    EXPECT_FALSE(port.PortOpen());
    EXPECT_EQ(port.LastErrorText(), "Connection to " + pty.slavePath() +
                                        " lost: the device hung up (unplugged, or its far end "
                                        "closed)");

    // The event loop keeps turning, nothing more is reported and the CPU stays idle.
    events.clear();
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(50);
    const std::clock_t cpuBefore = std::clock();
    RunFor(500);
    const double cpuSeconds = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_GE(ticks, 5);
    EXPECT_TRUE(events.empty());
    EXPECT_LT(cpuSeconds, 0.25);
    EXPECT_EQ(port.Output("R"), "Operation valid only when the port is open");
}

TEST_F(MSCommOnPty, PortNumberChangesOnlyWhileClosedAndNamesTheDevice) {
    ASSERT_EQ(port.SetCommPortNumber(2), "");
    ASSERT_EQ(port.SetPortOpen(true), "");
    EXPECT_NE(port.SetCommPortNumber(3), "");
    EXPECT_EQ(port.CommPortNumber(), 2);
    ASSERT_EQ(port.SetPortOpen(false), "");
    EXPECT_EQ(port.SetCommPortNumber(3), "");
    EXPECT_EQ(port.CommPortNumber(), 3);
    EXPECT_NE(port.SetCommPortNumber(0), "");
    EXPECT_EQ(port.CommPortNumber(), 3);
    // Without a named device the number names it.
    port.SetPortNameSetting("");
    ASSERT_EQ(port.SetCommPortNumber(4), "");
    EXPECT_EQ(port.DevicePath(), "/dev/ttyS3");
    port.SetEnvironmentPort(pty.slavePath());
    EXPECT_EQ(port.DevicePath(), pty.slavePath());
}

struct FlowCase {
    int code;
    bool crtscts;
    bool ixon;
};

class HandshakingReachesTheLine : public MSCommOnPty,
                                  public ::testing::WithParamInterface<FlowCase> {};

TEST_P(HandshakingReachesTheLine, OnTheOpenPort) {
    const auto& c = GetParam();
    ASSERT_EQ(port.SetPortOpen(true), "");
    ASSERT_EQ(port.SetHandshaking(c.code), "");
    EXPECT_EQ(port.Handshaking(), c.code);
    const termios tio = LineSettings(pty);
    EXPECT_EQ((tio.c_cflag & CRTSCTS) != 0, c.crtscts);
    EXPECT_EQ((tio.c_iflag & IXON) != 0, c.ixon);
}

INSTANTIATE_TEST_SUITE_P(Table, HandshakingReachesTheLine,
                         ::testing::Values(FlowCase{0, false, false}, FlowCase{1, false, true},
                                           FlowCase{2, true, false},
                                           FlowCase{3, true, false}));  // RTS/CTS stands for both

TEST_F(MSCommOnPty, HandshakingOutsideZeroToThreeIsRefused) {
    ASSERT_EQ(port.SetHandshaking(2), "");
    EXPECT_NE(port.SetHandshaking(4), "");
    EXPECT_NE(port.SetHandshaking(-1), "");
    EXPECT_EQ(port.Handshaking(), 2);
}

}  // namespace
}  // namespace sondix
