// The main window's load: stored settings, the service-mode argument, the start values and the
// first exchange with the sensor.
#include <gtest/gtest.h>

#include <sstream>

#include "common/pauses.h"
#include "memory_settings_store.h"
#include "session_fixture.h"
#include "terminal/main_window.h"

namespace sondix::test {
namespace {

namespace P = Gen::Pauses;

struct StartupFixture : SessionFixture {
    StartupFixture() {
        port.open = false;  // the port control starts closed
        term.text = "Type ? for help...\r\n";
    }
};

// Stored keys of section "Properties", written "Key=value Key=value".
MemorySettingsStore Store(const std::string& stored) {
    std::map<std::string, std::string> properties;
    std::istringstream in(stored);
    for (std::string pair; in >> pair;)
        properties[pair.substr(0, pair.find('='))] = pair.substr(pair.find('=') + 1);
    return MemorySettingsStore(properties);
}

struct SettingsCase {
    const char* name;
    std::string stored;
    std::string portSettingsError;
    std::string message;  // the box; "" when none and the port opens
    std::string port;     // settings, port number, handshaking and " echo" when echoing
};

class StartupSettings : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(StartupSettings, AppliesStoredSettingsOrStopsAtTheFirstFailure) {
    const SettingsCase& c = GetParam();
    StartupFixture f;
    f.port.settingsError = c.portSettingsError;
    MemorySettingsStore store = Store(c.stored);
    // A failed load must not leave the scales at zero (they divide later).
    f.s.graphHdr.VoltsPerCount = 0;
    f.s.res.VrefCal = 0;

    Startup(f.s, store, {});

    const bool opened = c.message.empty();
    ASSERT_EQ(f.asker.asked.size(), opened ? 0u : 1u);
    if (!opened) {
        EXPECT_EQ(f.asker.asked[0].title, kProgramTitle);
        EXPECT_EQ(f.asker.asked[0].text, c.message);
        EXPECT_EQ(f.asker.asked[0].icon, MsgIcon::Exclamation);
    }
    EXPECT_EQ(f.port.open, opened);
    EXPECT_EQ(f.port.sent, opened ? "EP" : "");
    EXPECT_EQ(f.port.settings + " " + std::to_string(f.port.commPort) + " " +
                  std::to_string(f.port.handshaking) + (f.s.Echo ? " echo" : ""),
              c.port);
    EXPECT_DOUBLE_EQ(f.s.graphHdr.VoltsPerCount, 3.68 / 1024);
    EXPECT_FLOAT_EQ(f.s.res.VrefCal, 3.68f);
    EXPECT_EQ(f.s.graph.NPoints(), 2048);
    EXPECT_EQ(f.s.parser.NWords, 2048);
    EXPECT_EQ(f.s.SaveColor, f.s.cmdCalibrate.face);
    EXPECT_FALSE(f.s.cmdCalibrate.visible);
}

// A rejected port number still lets the stored handshaking reach the port before the one check;
// the box names the last failure.
const SettingsCase kSettingsCases[] = {
    {"None", "", "", "", "9600,n,8,1 1 0"},
    {"Stored", "Settings=19200,e,7,2 CommPort=3 Handshaking=2 Echo=True", "", "",
     "19200,e,7,2 3 2 echo"},
    {"EchoOne", "Echo=1", "", "", "9600,n,8,1 1 0 echo"},
    {"EchoLower", "Echo=true", "", "", "9600,n,8,1 1 0 echo"},
    {"EchoZero", "Echo=0", "", "", "9600,n,8,1 1 0"},
    {"EchoUnreadable", "Echo=yes", "", "", "9600,n,8,1 1 0"},
    {"SettingsRejected", "Settings=9600,q,8,1 CommPort=4 Echo=True", "Invalid Port Settings",
     "Invalid Port Settings", "9600,n,8,1 1 0"},
    {"CommPortNotANumber", "CommPort=COM3 Handshaking=1", "", "Type mismatch", "9600,n,8,1 1 1"},
    {"CommPortOutOfRange", "CommPort=0 Handshaking=2", "", "Invalid port number", "9600,n,8,1 1 2"},
    {"CommPortAndHandshakingRejected", "CommPort=0 Handshaking=9 Echo=True", "",
     "Invalid handshaking value", "9600,n,8,1 1 0"},
    {"HandshakingRejected", "CommPort=2 Handshaking=7", "", "Invalid handshaking value",
     "9600,n,8,1 2 0"},
};

INSTANTIATE_TEST_SUITE_P(Cases, StartupSettings, ::testing::ValuesIn(kSettingsCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ServiceCase {
    const char* name;
    std::vector<std::string> args;
    float password;
    bool enabled;
};

class StartupServiceMode : public ::testing::TestWithParam<ServiceCase> {};

TEST_P(StartupServiceMode, OneArgumentEqualToTheAccessCodeShowsCalibrate) {
    const ServiceCase& c = GetParam();
    StartupFixture f;
    f.s.mirror.Password = c.password;
    MemorySettingsStore store;
    Startup(f.s, store, c.args);
    EXPECT_EQ(f.s.CalibrateEnabled, c.enabled);
    EXPECT_EQ(f.s.cmdCalibrate.visible, c.enabled);
    EXPECT_EQ(f.s.cmdCalibrate.enabled, c.enabled);
}

INSTANTIATE_TEST_SUITE_P(Cases, StartupServiceMode,
                         ::testing::Values(ServiceCase{"NoArgument", {}, -1, false},
                                           ServiceCase{"DefaultCode", {"417"}, -1, true},
                                           ServiceCase{"TwoArguments", {"417", "417"}, -1, false},
                                           ServiceCase{"WrongCode", {"418"}, -1, false},
                                           ServiceCase{"LeadingZero", {"0417"}, -1, false},
                                           ServiceCase{"MirrorCode", {"042"}, 42, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StartupSequence, SendsEThenRefreshesWithThePausesInOrder) {
    StartupFixture f;
    MemorySettingsStore store;
    Startup(f.s, store, {});
    EXPECT_EQ(f.port.writes, (std::vector<std::string>{"E", "P"}));
    EXPECT_EQ(f.clock.waits, (std::vector<double>{P::kStartup, P::kAfterCommand, P::kStartup,
                                                  P::kAfterCommand, P::kRefresh}));
    EXPECT_EQ(f.host.portStateChanges, 1);
    EXPECT_EQ(f.host.labelChanges, 1);
    EXPECT_DOUBLE_EQ(f.s.StartTime, 1000.0);
    EXPECT_EQ(f.s.CommandKey, 'P');
}

TEST(StartupSequence, FailedSettingsKeepTheGreetingSelectedAndTheLabelAsDesigned) {
    StartupFixture f;
    f.port.settingsError = "Invalid Port Settings";
    MemorySettingsStore store = Store("Settings=x");
    Startup(f.s, store, {"417"});
    EXPECT_EQ(f.term.selStart, 0);
    EXPECT_EQ(f.term.selLength, 20);
    EXPECT_TRUE(f.clock.waits.empty());
    EXPECT_EQ(f.host.portStateChanges, 0);
    EXPECT_EQ(f.host.labelChanges, 0);
    EXPECT_TRUE(f.s.CalibrateEnabled);
}

TEST(StartupSequence, ResetsTheWindowStateLeftFromBefore) {
    StartupFixture f;
    f.s.parser.AutoSpect_status = 3;
    f.s.parser.GraphState = 2;
    f.s.ResultDisp_Loaded = true;
    f.s.GraphHeaderStr = "old";
    f.s.mirror.FirstInitDone = 1;
    f.s.mirror.VelocimeterMode = true;
    f.s.hist.HistValue[4096] = 5;
    MemorySettingsStore store;
    f.port.openError = "Port in use";  // the load goes on without a port
    Startup(f.s, store, {});
    EXPECT_EQ(f.s.parser.AutoSpect_status, 0);
    EXPECT_EQ(f.s.parser.GraphState, 0);
    EXPECT_FALSE(f.s.ResultDisp_Loaded);
    EXPECT_EQ(f.s.mirror.FirstInitDone, 0);
    EXPECT_FALSE(f.s.mirror.VelocimeterMode);
    EXPECT_EQ(f.s.hist.HistValue[4096], 0);
    EXPECT_EQ(f.s.res.ModeText, "Distance");
    EXPECT_EQ(f.s.graphHdr.HeaderNumC, 512);
    ASSERT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.asker.asked[0].text, "Port in use");
    EXPECT_TRUE(f.port.sent.empty());
}

struct EarlyClickCase {
    const char* name;
    std::size_t atWait;  // the click lands in this wait of the start-up (0: the pause before "E")
    std::vector<std::string> writes;
};

class StartupEarlyResultsClick : public ::testing::TestWithParam<EarlyClickCase> {};

// The window is on the screen while the start-up pauses: a results stream started then is
// stopped through its window, never left running behind a dead "Stop".
TEST_P(StartupEarlyResultsClick, LeavesNoResultsWindowOrStreamBehind) {
    const EarlyClickCase& c = GetParam();
    StartupFixture f;
    bool clicked = false;
    f.clock.onEvents = [&] {
        if (clicked || f.clock.waits.size() != c.atWait + 1) return;
        clicked = true;
        cmdRptDist_Click(f.s);
    };
    MemorySettingsStore store;
    Startup(f.s, store, {});
    ASSERT_TRUE(clicked);
    EXPECT_EQ(f.port.writes, c.writes);
    EXPECT_FALSE(f.s.ResultDisp_Loaded);
    EXPECT_FALSE(f.host.resultsWindow);
    EXPECT_EQ(f.host.resultsCloses, 1);
    EXPECT_EQ(f.s.cmdRptDist.caption, "Results");
    EXPECT_EQ(f.s.cmdRptDist.face, f.s.SaveColor);
    EXPECT_EQ(f.s.CommandKey, 'P');
}

INSTANTIATE_TEST_SUITE_P(Waits, StartupEarlyResultsClick,
                         ::testing::Values(EarlyClickCase{"BeforeE", 0, {"{", "E", "}", "P"}},
                                           EarlyClickCase{"AfterE", 2, {"E", "{", "}", "P"}}),
                         [](const auto& info) { return std::string(info.param.name); });

class StartupFaultAbort : public ::testing::TestWithParam<EarlyClickCase> {};

// A line error answered Abort during a start-up pause ends the program there.
TEST_P(StartupFaultAbort, SendsNothingMoreAfterThePause) {
    const EarlyClickCase& c = GetParam();
    StartupFixture f;
    f.asker.answers = {MsgAnswer::Abort};
    bool faulted = false;
    f.clock.onEvents = [&] {
        if (faulted || f.clock.waits.size() != c.atWait + 1) return;
        faulted = true;
        OnComm(f.s, 1009);
    };
    MemorySettingsStore store;
    Startup(f.s, store, {});
    ASSERT_TRUE(faulted);
    EXPECT_EQ(f.port.writes, c.writes);
    EXPECT_EQ(f.host.endProgram, 1);
    EXPECT_EQ(f.host.labelChanges, 0);
}

INSTANTIATE_TEST_SUITE_P(Waits, StartupFaultAbort,
                         ::testing::Values(EarlyClickCase{"BeforeE", 0, {}},
                                           EarlyClickCase{"AfterE", 2, {"E"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PasswordText, DefaultsWhileNegativeElseThreeDigits) {
    SessionFixture f;
    const std::pair<float, std::string> cases[] = {
        {-1, "417"}, {kMissing, "417"}, {0, "000"}, {5, "005"}, {123, "123"}};
    for (const auto& [password, text] : cases) {
        f.s.mirror.Password = password;
        EXPECT_EQ(PasswordText(f.s), text) << password;
    }
}

TEST(GetCommandLine, SplitsOnRunsOfBlanksAndTabs) {
    using V = std::vector<std::string>;
    EXPECT_EQ(GetCommandLine("  417 \t x\ty  "), (V{"417", "x", "y"}));
    EXPECT_EQ(GetCommandLine("a b c", 2), (V{"a", "b"}));
    EXPECT_EQ(GetCommandLine(" \t "), V{});
}

}  // namespace
}  // namespace sondix::test
