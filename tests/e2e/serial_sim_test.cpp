// The program's serial port against the simulated sensor: a "P" brings the whole listing.
#include <gtest/gtest.h>

#include "e2e_support.h"
#include "terminal/ui/mscomm.h"

namespace sondix::test {
namespace {

TEST(SerialToSimulator, ListingArrivesComplete) {
    SimProcess sim({"--baud", "0"});
    ASSERT_TRUE(sim.running());
    MSComm port;
    port.SetEnvironmentPort(sim.device());
    ASSERT_EQ(port.SetPortOpen(true), "");
    std::string received;
    QObject::connect(&port, &MSComm::OnComm, [&](int code) {
        if (code == MSComm::kEvReceive) received += port.Input();
    });
    ASSERT_EQ(port.Output("P"), "");
    const auto complete = [&] {
        const auto p = received.find("  ***  ", 219);
        return p != std::string::npos;
    };
    ASSERT_TRUE(PumpUntil(complete, 5000)) << received;
    EXPECT_NE(received.find("SYSTEM LOGO:\r\n"), std::string::npos);
    EXPECT_NE(received.find("BOARDID"), std::string::npos);
    EXPECT_NE(received.find("Password="), std::string::npos);
    EXPECT_LT(received.size(), 4000u);
}

TEST(SerialToSimulator, PacedAtTheLineSpeed) {
    SimProcess sim({"--baud", "9600"});
    MSComm port;
    port.SetEnvironmentPort(sim.device());
    ASSERT_EQ(port.SetPortOpen(true), "");
    std::string received;
    QObject::connect(&port, &MSComm::OnComm, [&](int code) {
        if (code == MSComm::kEvReceive) received += port.Input();
    });
    QElapsedTimer t;
    t.start();
    port.Output("P");
    ASSERT_TRUE(
        PumpUntil([&] { return received.find("  ***  ", 219) != std::string::npos; }, 10000));
    // 960 characters a second at 9600 baud; loosely, as the machine may be busy.
    const double expected = static_cast<double>(received.size()) / 960.0;
    EXPECT_GT(t.elapsed() / 1000.0, expected * 0.7);
}

}  // namespace
}  // namespace sondix::test
