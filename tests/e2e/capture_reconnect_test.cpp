// The program against the simulated sensor: "sondix --log FILE" records the session from its
// first answer, complete even when the program is killed; an unplugged device is reopened by
// itself when it returns.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "e2e_support.h"
#include "terminal/main_window.h"

extern char** environ;

namespace sondix::test {
namespace {

std::string Out(const std::string& name) {
    std::filesystem::create_directories(SONDIX_TEST_OUT);
    return std::string(SONDIX_TEST_OUT) + "/" + name;
}

std::string Slurp(const std::string& path) {
    std::ostringstream b;
    b << std::ifstream(path, std::ios::binary).rdbuf();
    return b.str();
}

TEST(CaptureWithSimulator, LogFromTheCommandLineIsCompleteWhenTheProgramIsKilled) {
    SimProcess sim({"--baud", "0"});
    const std::string log = Out("capture.log"), config = Out("capture-config");
    std::ofstream(log, std::ios::binary) << "earlier\r\n";
    std::vector<std::string> env{"SONDIX_PORT=" + sim.device(), "QT_QPA_PLATFORM=offscreen",
                                 "XDG_CONFIG_HOME=" + config};
    std::vector<std::string> args{SONDIX_APP_PATH, "--log", log};
    std::vector<char*> argv, envp;
    for (auto& a : args)
        argv.push_back(a.data());
    for (auto& e : env)
        envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()), 0);

    // The start-up's "E" and the identification's listing, the last block its terminator line.
    const bool listed = PumpUntil([&] { return Slurp(log).ends_with("  ***  \r\n"); }, 10000);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    ASSERT_TRUE(listed) << Slurp(log);
    const std::string text = Slurp(log);
    EXPECT_TRUE(text.starts_with("earlier\r\nE\r\nOK\r\nP\r\n")) << text;
    EXPECT_NE(text.find("SYSTEM LOGO:\r\n"), std::string::npos);
    EXPECT_EQ(text.find("\n\n"), std::string::npos);  // LF never doubled: in the terminal's form
}

TEST(ReconnectWithSimulator, UnplugReportedOnceAndTheReturningDeviceReopenedQuietly) {
    const std::string link = Out("reconnect-sensor");
    SimProcess first({"--baud", "0", "--link", link, "--hangup-after", "2"});
    MemorySettingsStore store;
    RecordingAsker asker;
    setenv("SONDIX_PORT", link.c_str(), 1);
    frmTerminal w({}, store, &asker);
    unsetenv("SONDIX_PORT");
    w.show();
    w.Form_Load();
    const auto red = [&] { return w.LampColour() == Colour{255, 0, 0}; };
    ASSERT_TRUE(PumpUntil(red, 6000));
    Pump(1500);  // a second and more with the device away
    EXPECT_TRUE(asker.asked.empty()) << asker.asked.front().text;
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
    EXPECT_TRUE(asker.asked.empty());
}

}  // namespace
}  // namespace sondix::test
