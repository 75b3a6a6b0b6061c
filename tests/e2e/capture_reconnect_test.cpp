// The program against the simulated sensor: "sondix --log FILE" records the session from its
// first answer, complete even when the program is killed; an unplugged device is reopened by
// itself when it returns.
#include <gtest/gtest.h>

#include <QProcess>

#include "e2e_support.h"
#include "terminal/main_window.h"
#include "test_files.h"

namespace sondix::test {
namespace {

TEST(CaptureWithSimulator, LogFromTheCommandLineIsCompleteWhenTheProgramIsKilled) {
    SimProcess sim({"--baud", "0"});
    const std::string log = WriteFile("capture.log", "earlier\r\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SONDIX_PORT", QString::fromStdString(sim.device()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(OutPath("capture-config")));
    QProcess app;
    app.setProcessEnvironment(env);
    app.start(SONDIX_APP_PATH, {"--log", QString::fromStdString(log)});
    // The start-up's "E" and the identification's listing, the last block its terminator line.
    const bool listed = PumpUntil([&] { return Slurp(log).ends_with("  ***  \r\n"); }, 10000);
    app.kill();  // SIGKILL
    app.waitForFinished();
    ASSERT_TRUE(listed) << Slurp(log);
    const std::string text = Slurp(log);
    EXPECT_TRUE(text.starts_with("earlier\r\nE\r\nOK\r\nP\r\n")) << text;
    EXPECT_NE(text.find("SYSTEM LOGO:\r\n"), std::string::npos);
    EXPECT_EQ(text.find("\n\n"), std::string::npos);  // LF never doubled: in the terminal's form
}

TEST(ReconnectWithSimulator, UnplugReportedOnceAndTheReturningDeviceReopenedQuietly) {
    const std::string link = OutPath("reconnect-sensor");
    SimulatedSession t({"--link", link, "--hangup-after", "4"}, {}, nullptr, link);
    frmTerminal& w = *t.w;
    const auto red = [&] { return w.LampColour() == Colour{255, 0, 0}; };
    ASSERT_TRUE(PumpUntil(red, 8000));
    Pump(1500);  // a second and more with the device away
    EXPECT_TRUE(t.asker.asked.empty()) << t.asker.asked.front().text;
    EXPECT_TRUE(w.StatusPanelText(0).contains("reconnecting"))
        << w.StatusPanelText(0).toStdString();

    SimProcess second({"--baud", "0", "--link", link});
    ASSERT_TRUE(PumpUntil([&] { return !red(); }, 4000));
    const QString shown = w.Terminal()->toPlainText();
    Pump(1200);
    EXPECT_EQ(w.Terminal()->toPlainText(), shown);  // nothing was sent to the sensor
    // The port works again: a typed "T" brings the sensor's timer line.
    const auto timers = [&] { return w.Terminal()->toPlainText().count("Timer="); };
    const auto before = timers();
    txtTerm_KeyPress(w.session(), 'T');
    EXPECT_TRUE(PumpUntil([&] { return timers() > before; }, 2000));
    EXPECT_TRUE(t.asker.asked.empty());
}

}  // namespace
}  // namespace sondix::test
