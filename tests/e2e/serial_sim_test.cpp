// The program's serial port against the simulated sensor: a "P" brings the whole listing.
#include <gtest/gtest.h>

#include "e2e_support.h"
#include "terminal/ui/mscomm.h"

namespace sondix::test {
namespace {

// The port open on a fresh simulator's device, keeping what it receives.
struct PortOnSim {
    SimProcess sim;
    MSComm port;
    std::string received;

    explicit PortOnSim(const char* baud) : sim({"--baud", baud}) {
        port.SetEnvironmentPort(sim.device());
        QObject::connect(&port, &MSComm::OnComm, [this](int code) {
            if (code == MSComm::kEvReceive) received += port.Input();
        });
    }
    // The listing reader looks for its terminator from the 220th character on.
    bool ListingDone() const { return received.find("  ***  ", 219) != std::string::npos; }
};

TEST(SerialToSimulator, ListingArrivesComplete) {
    PortOnSim t("0");
    ASSERT_TRUE(t.sim.running());
    ASSERT_EQ(t.port.SetPortOpen(true), "");
    ASSERT_EQ(t.port.Output("P"), "");
    ASSERT_TRUE(PumpUntil([&] { return t.ListingDone(); }, 5000)) << t.received;
    EXPECT_NE(t.received.find("SYSTEM LOGO:\r\n"), std::string::npos);
    EXPECT_NE(t.received.find("BOARDID"), std::string::npos);
    EXPECT_NE(t.received.find("Password="), std::string::npos);
    EXPECT_LT(t.received.size(), 4000u);
}

TEST(SerialToSimulator, PacedAtTheLineSpeed) {
    PortOnSim t("9600");
    ASSERT_EQ(t.port.SetPortOpen(true), "");
    QElapsedTimer timer;
    timer.start();
    t.port.Output("P");
    ASSERT_TRUE(PumpUntil([&] { return t.ListingDone(); }, 10000));
    // 960 characters a second at 9600 baud; loosely, as the machine may be busy.
    const double expected = static_cast<double>(t.received.size()) / 960.0;
    EXPECT_GT(timer.elapsed() / 1000.0, expected * 0.7);
}

}  // namespace
}  // namespace sondix::test
