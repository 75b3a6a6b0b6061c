// The main window's behaviour on the headless fakes: start-up, the port toggle and port events
// with the fault box, typed keys and Enter in the parse box, the command and stream buttons, the
// calibration, the window unloads and the shutdown with its drain; port settings texts and the
// device naming.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>

#include "common/pauses.h"
#include "memory_settings_store.h"
#include "session_fixture.h"
#include "terminal/comm_settings.h"
#include "terminal/main_window.h"
#include "terminal/port_naming.h"
#include "tracing_port.h"

namespace sondix::test {
namespace {

namespace P = Gen::Pauses;
using V = std::vector<std::string>;  // writes, traces, titles

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

// Runs act once, at the first event-loop pass of a pause for which when() holds: the window is on
// the screen during pauses, so clicks and port events land there.
void OnceDuring(SessionFixture& f, std::function<bool()> when, std::function<void()> act) {
    f.clock.onEvents = [when, act, done = false]() mutable {
        if (done || !when()) return;
        done = true;
        act();
    };
}

struct SettingsCase {
    const char* name;
    std::string stored;
    std::string portSettingsError;
    std::string message;  // the box; "" when none and the port opens
    std::string port;     // settings, port number, handshaking and " echo" when echoing
    std::vector<std::string> args = {};
};

// An opened port gets "E" then the listing's "P" with the pauses in order; a failed setting
// sends nothing, waits nothing and keeps the greeting selected and the label as designed.
void ExpectStartup(const SettingsCase& c) {
    SCOPED_TRACE(c.name);
    StartupFixture f;
    f.port.settingsError = c.portSettingsError;
    MemorySettingsStore store = Store(c.stored);
    // A failed load must not leave the scales at zero (they divide later).
    f.s.graphHdr.VoltsPerCount = 0;
    f.s.res.VrefCal = 0;

    Startup(f.s, store, c.args);

    const bool opened = c.message.empty();
    ASSERT_EQ(f.asker.asked.size(), opened ? 0u : 1u);
    if (!opened) {
        EXPECT_EQ(f.asker.asked[0].text, c.message);
        EXPECT_EQ(f.term.selStart, 0);
        EXPECT_EQ(f.term.selLength, 20);
    }
    EXPECT_EQ(f.port.open, opened);
    EXPECT_EQ(f.port.writes, (opened ? V{"E", "P"} : V{}));
    using W = std::vector<double>;
    EXPECT_EQ(f.clock.waits,
              (opened ? W{P::kStartup, P::kAfterCommand, P::kStartup, P::kAfterCommand, P::kRefresh}
                      : W{}));
    EXPECT_EQ(f.host.portStateChanges, opened ? 1 : 0);
    EXPECT_EQ(f.host.labelChanges, opened ? 1 : 0);
    EXPECT_DOUBLE_EQ(f.s.StartTime, opened ? 1000.0 : 0.0);  // set by the refresh
    EXPECT_EQ(f.s.CommandKey, opened ? 'P' : 0);
    EXPECT_EQ(f.port.settings + " " + std::to_string(f.port.commPort) + " " +
                  std::to_string(f.port.handshaking) + (f.s.Echo ? " echo" : ""),
              c.port);
    EXPECT_DOUBLE_EQ(f.s.graphHdr.VoltsPerCount, 3.68 / 1024);
    EXPECT_FLOAT_EQ(f.s.res.VrefCal, 3.68f);
    EXPECT_EQ(f.s.graph.NPoints(), 2048);
    EXPECT_EQ(f.s.parser.NWords, 2048);
    EXPECT_EQ(f.s.cmdCalibrate.visible, !c.args.empty());
    EXPECT_EQ(f.s.CalibrateEnabled, !c.args.empty());
}

// A rejected port number still lets the stored handshaking reach the port before the one check;
// the box names the last failure.
const SettingsCase kSettingsCases[] = {
    {"None", "", "", "", "9600,n,8,1 1 0"},
    {"Stored", "Settings=19200,e,7,2 CommPort=3 Handshaking=2 Echo=True", "", "",
     "19200,e,7,2 3 2 echo"},
    {"EchoOne", "Echo=1", "", "", "9600,n,8,1 1 0 echo"},
    {"SettingsRejected",
     "Settings=9600,q,8,1 CommPort=4 Echo=True",
     "Invalid Port Settings",
     "Invalid Port Settings",
     "9600,n,8,1 1 0",
     {"417"}},
    {"CommPortNotANumber", "CommPort=COM3 Handshaking=1", "", "Type mismatch", "9600,n,8,1 1 1"},
    {"CommPortOutOfRange", "CommPort=0 Handshaking=2", "", "Invalid port number", "9600,n,8,1 1 2"},
    {"CommPortAndHandshakingRejected", "CommPort=0 Handshaking=9 Echo=True", "",
     "Invalid handshaking value", "9600,n,8,1 1 0"},
    {"HandshakingRejected", "CommPort=2 Handshaking=7", "", "Invalid handshaking value",
     "9600,n,8,1 2 0"},
};

TEST(Startup, AppliesStoredSettingsOrStopsAtTheFirstFailure) {
    for (const SettingsCase& c : kSettingsCases)
        ExpectStartup(c);
}

// The window is on the screen while the start-up pauses (the click lands in wait n; 0: the
// pause before "E"): a results stream started then is stopped through its window, never left
// running behind a dead "Stop"; a line error answered Abort ends the program there.
TEST(Startup, ClicksAndFaultsDuringItsPauses) {
    for (const auto& [atWait, clickWrites, abortWrites] :
         {std::tuple{0u, V{"{", "E", "}", "P"}, V{}}, {2u, V{"E", "{", "}", "P"}, V{"E"}}}) {
        for (const bool abort : {false, true}) {
            StartupFixture f;
            f.asker.answers = {MsgAnswer::Abort};
            OnceDuring(
                f, [&, at = atWait] { return f.clock.waits.size() == at + 1; },
                [&] { abort ? OnComm(f.s, 1009) : cmdRptDist_Click(f.s); });
            MemorySettingsStore store;
            Startup(f.s, store, {});
            EXPECT_EQ(f.port.writes, abort ? abortWrites : clickWrites) << atWait;
            EXPECT_EQ(f.host.endProgram, abort ? 1 : 0);
            EXPECT_FALSE(f.host.resultsWindow);
            EXPECT_EQ(f.s.cmdRptDist.caption, "Results");
        }
    }
}

TEST(GetCommandLine, SplitsOnRunsOfBlanksAndTabs) {
    EXPECT_EQ(GetCommandLine("  417 \t x\ty  "), (V{"417", "x", "y"}));
    EXPECT_EQ(GetCommandLine("a b c", 2), (V{"a", "b"}));
    EXPECT_EQ(GetCommandLine(" \t "), V{});
}

struct TracedFixture : SessionFixture {
    TracingPort tport{clock};
    TracedFixture() {
        tport.open = true;
        s.io.port = &tport;
    }
};

constexpr const char* kChoices = "  Click Abort(exit prog), Retry(reset port) or Ignore(continue)";

// Events (3..7) go to the status panel, errors to the status panel and the fault box.
TEST(PortEvents, EventsGoToTheStatusPanelErrorsToTheFaultBox) {
    const std::pair<int, const char*> cases[] = {
        {3, "Change in CTS Detected"},  {7, "End of File Detected"},
        {1001, "Break Received"},       {1004, "Framing Error"},
        {1011, "Error retrieving DCB"}, {4242, "Unknown error or event"}};
    for (const auto& [code, text] : cases) {
        SessionFixture f;
        OnComm(f.s, code);
        EXPECT_EQ(f.host.statusPanel, std::string("Status: ") + text) << code;
        EXPECT_EQ(f.host.statusTimerStarts, 1) << code;
        const bool error = code < 3 || code > 7;
        ASSERT_EQ(f.asker.asked.size(), error ? 1u : 0u) << code;
        if (!error) continue;
        EXPECT_EQ(f.asker.asked[0].text, text + std::string(kChoices));
        EXPECT_EQ(f.asker.asked[0].buttons, MsgButtons::AbortRetryIgnore);
        EXPECT_EQ(f.asker.beeps, 1);
        EXPECT_FALSE(f.s.FaultDialogShown);
        EXPECT_TRUE(f.port.open);  // Ignore
    }
}

// Every waiting byte reaches ShowData as one character; an empty buffer still reaches it.
TEST(PortEvents, ReceiveEventHandsEveryWaitingByteToTheParser) {
    for (const std::string input : {"", "a\xE9\xFFz"}) {
        SessionFixture f;
        f.s.CommandKey = 'D';
        f.port.input = input;
        OnComm(f.s, 2);
        EXPECT_EQ(f.term.text, input);
        EXPECT_EQ(f.s.parser.ChunkCount, 1);  // the pending reader counted the block
        EXPECT_TRUE(f.port.input.empty());
        EXPECT_TRUE(f.asker.asked.empty());
        EXPECT_EQ(f.host.statusTimerStarts, 0);
    }
}

TEST(PortEvents, NoSecondFaultBoxWhileOneIsOpen) {
    SessionFixture f;
    f.asker.whileOpen = [&f] {
        f.port.input = "x";
        OnComm(f.s, 2);
        OnComm(f.s, 1006);
    };
    OnComm(f.s, 1004);
    f.asker.whileOpen = nullptr;
    EXPECT_EQ(f.asker.asked.size(), 1u);
    EXPECT_NE(f.term.text.find('x'), std::string::npos);
    OnComm(f.s, 2);  // the error dropped while the box was open does not come back
    EXPECT_EQ(f.asker.asked.size(), 1u);
}

TEST(FaultBox, OnlyARunningStreamGetsR) {
    struct Case {
        char commandKey;
        bool portOpen;
        std::string sent;
        char commandKeyAfter;
    };
    const Case cases[] = {{'{', true, "R", 'R'}, {'[', true, "R", 'R'}, {']', true, "", ']'},
                          {'}', true, "", '}'},  {'F', true, "", 'F'},  {'[', false, "", '['}};
    for (const Case& c : cases) {
        SessionFixture f;
        f.port.open = c.portOpen;
        f.s.CommandKey = KeyCode(c.commandKey);
        OnComm(f.s, 1009);
        EXPECT_EQ(f.port.sent, c.sent) << c.commandKey << c.portOpen;
        EXPECT_EQ(f.s.CommandKey, KeyCode(c.commandKeyAfter)) << c.commandKey << c.portOpen;
    }
}

TEST(FaultBox, RetryClosesAndReopens) {
    TracedFixture f;
    f.asker.answers = {MsgAnswer::Retry};
    OnComm(f.s, 1004);
    EXPECT_EQ(f.tport.trace, (V{"close buffered=0", "open buffered=0"}));
    EXPECT_TRUE(f.tport.open);
    EXPECT_EQ(f.host.portStateChanges, 2);
}

TEST(FaultBox, LostDeviceTurnsTheLampRedFirstAndRetryReopens) {
    TracedFixture f;
    f.tport.open = false;  // the serial layer has closed it
    f.tport.lastError = "No such device";
    f.s.AutoReconnect = false;  // the box, not the quiet wait for the device
    int lampUpdatesBeforeBox = -1;
    f.asker.whileOpen = [&] { lampUpdatesBeforeBox = f.host.portStateChanges; };
    f.asker.answers = {MsgAnswer::Retry};
    OnComm(f.s, kCommDeviceLost);
    ASSERT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.asker.asked[0].text, std::string("Port closed: No such device") + kChoices);
    EXPECT_EQ(lampUpdatesBeforeBox, 1);
    EXPECT_EQ(f.tport.trace, (V{"open buffered=0"}));
    EXPECT_TRUE(f.tport.open);
}

TEST(FaultBox, RetryWhenTheReopenFailsShowsWhyAndLeavesTheLampRed) {
    SessionFixture f;
    f.port.openError = "Port not found";
    f.asker.answers = {MsgAnswer::Retry};
    OnComm(f.s, 1004);
    ASSERT_EQ(f.asker.asked.size(), 2u);
    EXPECT_EQ(f.asker.asked[1].text, "Port not found");
    EXPECT_FALSE(f.port.open);
    EXPECT_EQ(f.host.portStateChanges, 2);
    EXPECT_EQ(SettingsPanelText(f.s), "Settings: ");
}

// A key the pending stream does not take is dropped; one that reaches the sensor ends a pending
// calibration; every key resets the answer.
TEST(TerminalKey, SendsOrDropsAndAlwaysResetsTheAnswer) {
    const struct {
        char pending, key;
        bool echo;
        std::string sent;
        char pendingAfter;
        bool consumed;
    } cases[] = {{'[', 'x', false, "", '[', true},          {'[', ']', false, "]", ']', true},
                 {'[', 'R', false, "R", 'R', true},         {'[', 'r', true, "", '[', false},
                 {0, 'x', false, "x", 'x', true},           {'{', 'x', true, "x", 'x', false},
                 {'F', '\xE9', true, "\xE9", '\xE9', false}};
    for (const auto& c : cases) {
        SessionFixture f;
        f.s.CommandKey = KeyCode(c.pending);
        f.s.Echo = c.echo;
        f.s.parser.GraphState = 2;
        f.s.parser.AnswerText = "partial";
        f.s.CalibrationPending = true;
        f.s.cmdCalibrate.enabled = false;
        SCOPED_TRACE(std::string(1, c.pending) + c.key);
        EXPECT_EQ(txtTerm_KeyPress(f.s, c.key), c.consumed);
        EXPECT_EQ(f.port.sent, c.sent);
        EXPECT_EQ(f.s.CommandKey, KeyCode(c.pendingAfter));
        EXPECT_EQ(f.s.parser.GraphState, 0);
        EXPECT_EQ(f.s.parser.AnswerText, "");
        EXPECT_EQ(f.s.CalibrationPending, c.sent.empty());
        EXPECT_EQ(f.s.cmdCalibrate.enabled, !c.sent.empty());
    }
}

TEST(ParseEnter, DrainsTheIBeforeClosingThenSendsTheLine) {
    TracedFixture f;
    f.tport.outBufferCount = 3;
    f.clock.onEvents = [&f] { f.tport.outBufferCount = std::max(0, f.tport.outBufferCount - 1); };
    txtParse_Enter(f.s, "abc");
    EXPECT_EQ(f.tport.trace, (V{"out I", "close buffered=0", "open buffered=0", "out abc\n"}));
    EXPECT_EQ(f.s.CommandKey, 0);
}

TEST(ParseEnter, ABufferThatNeverDrainsIsClosedAfterTheLimit) {
    TracedFixture f;
    f.tport.outBufferCount = 1;
    const double start = f.clock.now;
    txtParse_Enter(f.s, "x");
    EXPECT_NEAR(f.clock.now - start, 3.0, 0.06);
    EXPECT_EQ(f.tport.writes, (V{"I", "x\n"}));
}

TEST(ParseEnter, ReopenFailureIsShownAndNothingMoreIsWritten) {
    TracedFixture f;
    f.tport.openError = "Port vanished";
    txtParse_Enter(f.s, "abc");
    EXPECT_EQ(f.tport.writes, V{"I"});
    ASSERT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.asker.asked[0].text, "Port vanished");
    EXPECT_EQ(f.host.portStateChanges, 1);
    EXPECT_FALSE(f.tport.open);
}

// The port closed by its lamp, or the program ended by a fault box's Abort, while the "I"
// drains: the line is not sent and the port is not opened again.
TEST(ParseEnter, StopsAfterTheDrainWhenThePortWasClosedOrTheProgramEnded) {
    for (const bool abort : {false, true}) {
        TracedFixture f;
        f.tport.outBufferCount = 3;
        f.asker.answers = {MsgAnswer::Abort};
        OnceDuring(
            f, [] { return true; }, [&] { abort ? OnComm(f.s, 1004) : PortToggle(f.s); });
        txtParse_Enter(f.s, "abc");
        EXPECT_EQ(f.tport.trace, (abort ? V{"out I"} : V{"out I", "close buffered=3"}));
        EXPECT_EQ(f.host.endProgram, abort ? 1 : 0);
    }
}

// Running streams are stopped ("}", "]") and their windows closed before the button's letter.
TEST(CommandButtons, PrepareThenSendTheirLetter) {
    using Click = void (*)(Session&);
    for (const auto& [click, command] : {std::pair<Click, const char*>{cmdRamp_Click, "y"},
                                         {cmdScope_Click, "D"},
                                         {cmdSpect_Click, "F"},
                                         {cmdHist_Click, "H"}}) {
        SessionFixture f;
        f.s.ResultDisp_Loaded = true;
        f.s.cmdRptDist.caption = "Stop";
        f.s.D_GraphLoaded = true;
        f.s.parser.AutoSpect_status = 1;
        f.s.cmdRptSpect.caption = "StopSpec";
        click(f.s);
        EXPECT_EQ(f.port.writes, (V{"}", "]", command}));
        EXPECT_EQ(f.s.CommandKey, KeyCode(command[0]));
        EXPECT_FALSE(f.s.ResultDisp_Loaded || f.s.D_GraphLoaded);
    }
}

// The listing arrives in pieces during the pauses after "P"; the receive events parse it there,
// so the label already names the unit when the refresh ends.
TEST(CommandButtons, RefreshAsksForTheListingAndNamesTheUnitFromIt) {
    std::ifstream in(SONDIX_TEST_DATA "/listing.cap", std::ios::binary);
    const std::string listing{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(listing.size(), 400u);
    SessionFixture f;
    std::size_t fed = 0;
    f.clock.onEvents = [&] {
        if (f.clock.waits.empty() || fed >= listing.size()) return;
        const std::size_t n = std::min<std::size_t>(300, listing.size() - fed);
        f.port.input = listing.substr(fed, n);
        fed += n;
        OnComm(f.s, 2);
    };
    cmdRefresh_Click(f.s);
    EXPECT_EQ(f.port.writes, V{"P"});
    EXPECT_EQ(f.clock.waits, (std::vector<double>{P::kAfterCommand, P::kRefresh}));
    ASSERT_EQ(fed, listing.size());
    EXPECT_FLOAT_EQ(f.s.mirror.SerNum, 1047);
    EXPECT_EQ(f.s.lblVerAndSerialNum, "FMCW RADAR Ver0.47 : S/N= 1047");
    EXPECT_EQ(f.s.GraphHeaderStr, "Unit# 1047,FMCW RADAR Ver0.47");
    EXPECT_EQ(f.host.labelChanges, 1);
}

TEST(StreamButtons, StartAndStopThroughTheWindows) {
    SessionFixture f;
    f.s.results.txtOutputvalue = "old";
    cmdRptDist_Click(f.s);
    EXPECT_TRUE(f.host.resultsWindow);
    EXPECT_EQ(f.s.results.txtOutputvalue, "");  // no value before a reading
    EXPECT_EQ(f.s.CommandKey, '{');
    cmdRptSpect_Click(f.s);  // stops the results first
    cmdRptSpect_Click(f.s);
    EXPECT_EQ(f.port.writes, (V{"{", "}", "[", "]"}));
    EXPECT_EQ(f.s.cmdRptDist.caption, "Results");
    EXPECT_EQ(f.s.cmdRptSpect.caption, "StartSpec");
    EXPECT_FALSE(f.host.resultsWindow);

    SessionFixture closed;
    closed.port.open = false;
    cmdRptSpect_Click(closed.s);
    cmdRptDist_Click(closed.s);
    EXPECT_EQ(closed.s.cmdRptSpect.caption, "StopSpec");
    EXPECT_EQ(closed.s.cmdRptDist.caption, "Results");  // the status panel says the port is closed
    EXPECT_TRUE(closed.port.sent.empty());
    closed.s.cmdRptDist.caption = "Stop";
    closed.s.ResultDisp_Loaded = false;  // Stop without the window does nothing
    cmdRptDist_Click(closed.s);
    EXPECT_EQ(closed.s.cmdRptDist.caption, "Stop");
}

// The code is the password in three digits (417 when none is known), one second after "c".
TEST(Calibrate, SendsCThenTheCodeOneSecondLater) {
    for (const auto& [password, code] : {std::pair{-1.0f, "417"}, {7.0f, "007"}, {815.0f, "815"}}) {
        TracedFixture f;
        f.s.mirror.Password = password;
        f.s.cmdCalibrate = {"Calibrate", f.s.SaveColor, true, true};
        f.term.text = "abc";
        f.s.CommandKey = 'F';
        cmdCalibrate_Click(f.s);
        EXPECT_EQ(f.tport.writes, (V{"c", code}));
        EXPECT_EQ(f.tport.writeTimes[1] - f.tport.writeTimes[0], 1.0);
        EXPECT_FALSE(f.s.cmdCalibrate.enabled);
        EXPECT_TRUE(f.s.CalibrationPending);
        EXPECT_EQ(f.s.CommandKey, 'F');
        EXPECT_EQ(f.term.selStart, 3);
    }
}

// During the pause between "c" and the code: a second click must not start a second sequence
// interleaved with the first (the button is disabled then); a fault box answered Abort sends no
// code.
TEST(Calibrate, ClickOrFaultBoxAbortDuringThePause) {
    for (const bool abort : {false, true}) {
        SessionFixture f;
        f.s.cmdCalibrate = {"Calibrate", f.s.SaveColor, true, true};
        f.asker.answers = {MsgAnswer::Abort};
        bool enabledDuringPause = true;
        OnceDuring(
            f, [&] { return f.port.writes.size() == 1; },
            [&] {
                enabledDuringPause = f.s.cmdCalibrate.enabled;
                abort ? OnComm(f.s, 1004) : cmdCalibrate_Click(f.s);
            });
        cmdCalibrate_Click(f.s);
        SCOPED_TRACE(abort);
        EXPECT_FALSE(enabledDuringPause);  // also: the pause event came
        EXPECT_EQ(f.port.writes, (abort ? V{"c"} : V{"c", "417"}));
        EXPECT_EQ(f.host.endProgram, abort ? 1 : 0);
        EXPECT_EQ(f.s.CalibrationPending, !abort);
    }
}

// The stream state outlives the "]" until the next block arrives; closing the chart then must not
// start the stream again: only a running stream whose button reads "StopSpec" gets "]".
TEST(WindowUnloads, ChartCloseStopsTheSpectrumOnlyWhileTheButtonReadsStopSpec) {
    const struct {
        std::int16_t autoSpect;
        const char *caption, *sent, *captionAfter;
    } cases[] = {{1, "StopSpec", "]", "StartSpec"},
                 {1, "StartSpec", "", "StartSpec"},
                 {0, "StopSpec", "", "StopSpec"},
                 {0, "StartSpec", "", "StartSpec"}};
    for (const auto& c : cases) {
        SessionFixture f;
        f.s.D_GraphLoaded = true;
        f.s.parser.AutoSpect_status = c.autoSpect;
        f.s.cmdRptSpect.caption = c.caption;
        UnloadGraphWindow(f.s);
        EXPECT_EQ(f.port.sent, c.sent) << c.autoSpect << c.caption;
        EXPECT_EQ(f.s.cmdRptSpect.caption, c.captionAfter);
        EXPECT_FALSE(f.s.D_GraphLoaded);
        EXPECT_EQ(f.host.graphCloses, 1);
    }
}

// Stream commands keep the answer windows, every other command closes them; the block count
// restarts and the stream states stay.
TEST(ResetVariables, StreamCommandsKeepTheAnswerWindows) {
    for (const auto& [pending, closes] : {std::pair{'[', false},
                                          {']', false},
                                          {'{', false},
                                          {'}', false},
                                          {'F', true},
                                          {'R', true},
                                          {'\0', true}}) {
        SessionFixture f;
        f.s.CommandKey = KeyCode(pending);
        f.s.D_GraphLoaded = f.s.HistWindowLoaded = f.s.ResultDisp_Loaded = true;
        f.s.parser.AutoSpect_status = 1;
        f.s.parser.AutoResults_status = 3;
        f.s.parser.ChunkCount = 9;
        ResetVariables(f.s);
        EXPECT_EQ(f.s.D_GraphLoaded, !closes) << pending;
        EXPECT_EQ(f.s.HistWindowLoaded, !closes) << pending;
        EXPECT_EQ(f.s.ResultDisp_Loaded, !closes) << pending;
        EXPECT_EQ(f.s.parser.ChunkCount, 0);
        EXPECT_EQ(f.s.parser.AutoSpect_status, 1);
        EXPECT_EQ(f.s.parser.AutoResults_status, 3);
    }
}

TEST(Shutdown, AsksAfterThreeSecondsThenTenMoreOnRetry) {
    using A = MsgAnswer;
    const struct {
        std::vector<MsgAnswer> answers;
        bool ended;
        double askedAfter[2];  // seconds waited before each question
    } cases[] = {{{A::Abort}, false, {3, 0}},
                 {{A::Ignore}, true, {3, 0}},
                 {{A::Retry, A::Abort}, false, {3, 10}},
                 {{A::Retry, A::Ignore}, true, {3, 10}}};
    for (const auto& c : cases) {
        SessionFixture f;
        f.port.outBufferCount = 1;  // never drains
        double since = f.clock.now;
        std::vector<double> askedAt;
        f.asker.whileOpen = [&] {
            askedAt.push_back(f.clock.now - since);
            since = f.clock.now;
        };
        f.asker.answers = {c.answers.begin(), c.answers.end()};
        EXPECT_EQ(Shutdown(f.s), c.ended);
        EXPECT_EQ(f.host.endProgram, c.ended ? 1 : 0);
        EXPECT_EQ(f.port.open, !c.ended);
        ASSERT_EQ(askedAt.size(), c.answers.size());
        for (std::size_t i = 0; i < askedAt.size(); ++i) {
            EXPECT_NEAR(askedAt[i], c.askedAfter[i], P::kDrainSlice + 1e-9);
            EXPECT_EQ(f.asker.asked[i].text, "Data cannot be sent");
        }
    }
}

TEST(Shutdown, UnloadsEveryWindowStopsTheStreamsDrainsAndClosesPortAndLog) {
    SessionFixture f;
    f.port.outBufferCount = 100;
    f.clock.onEvents = [&f] { f.port.outBufferCount = std::max(0, f.port.outBufferCount - 10); };
    f.host.logOpen = true;
    f.s.D_GraphLoaded = true;
    f.s.HistWindowLoaded = true;
    f.s.ResultDisp_Loaded = true;
    f.s.cmdRptDist.caption = "Stop";
    f.s.cmdRptSpect.caption = "StopSpec";
    f.s.parser.AutoSpect_status = 1;
    f.host.configWindow = true;
    EXPECT_TRUE(Shutdown(f.s));
    EXPECT_EQ(f.port.writes, (V{"]", "}"}));
    EXPECT_EQ(f.host.graphCloses, 1);
    EXPECT_EQ(f.host.histCloses, 1);
    EXPECT_EQ(f.host.resultsCloses, 1);
    EXPECT_FALSE(f.host.configWindow);
    EXPECT_FALSE(f.s.D_GraphLoaded || f.s.HistWindowLoaded || f.s.ResultDisp_Loaded);
    EXPECT_EQ(f.s.cmdRptDist.caption, "Results");
    EXPECT_EQ(f.s.cmdRptSpect.caption, "StartSpec");
    EXPECT_TRUE(f.asker.asked.empty());
    EXPECT_FALSE(f.port.open);
    EXPECT_EQ(f.host.logCloses, 1);
    EXPECT_EQ(f.host.endProgram, 1);
}

// A line error arrives during one of the shutdown's waits and its fault box is answered Abort:
// that ends the program by its own shutdown, and the one that was waiting neither asks, nor
// drains, nor closes, nor ends the program a second time.
enum class AbortIn { StreamStop, Drain, Question };

TEST(Shutdown, FaultBoxAbortDuringAWaitEndsOnceWithoutDrainingOrClosing) {
    const std::pair<AbortIn, std::vector<std::string>> cases[] = {
        // titles of the boxes
        {AbortIn::StreamStop, {"MSComm Fault"}},
        {AbortIn::Drain, {"MSComm Fault"}},
        {AbortIn::Question, {kProgramTitle, "MSComm Fault"}}};
    for (const auto& [where, asked] : cases) {
        SessionFixture f;
        f.port.outBufferCount = 1;  // never drains
        f.host.logOpen = true;
        if (where == AbortIn::StreamStop) {
            f.s.ResultDisp_Loaded = true;
            f.s.cmdRptDist.caption = "Stop";
        }
        if (where == AbortIn::Question) {  // the question is the first box
            f.asker.whileOpen = [&] {
                if (f.asker.asked.size() == 1) OnComm(f.s, 1004);
            };
            f.asker.answers = {MsgAnswer::Abort, MsgAnswer::Retry};  // fault box, the question
        } else {
            OnceDuring(
                f, [] { return true; }, [&] { OnComm(f.s, 1004); });
            f.asker.answers = {MsgAnswer::Abort};
        }
        EXPECT_TRUE(Shutdown(f.s));
        std::vector<std::string> titles;
        for (const AskedMessage& m : f.asker.asked)
            titles.push_back(m.title);
        EXPECT_EQ(titles, asked);
        EXPECT_EQ(f.host.endProgram, 1);
        EXPECT_EQ(f.host.logCloses, 1);
        EXPECT_EQ(f.port.closes, 0);
    }
}

TEST(Shutdown, ASecondShutdownAfterTheFaultBoxAbortSendsAndAsksNothing) {
    SessionFixture f;
    f.port.outBufferCount = 3;
    f.host.logOpen = true;
    f.asker.answers = {MsgAnswer::Abort};
    OnComm(f.s, 1004);
    ASSERT_EQ(f.host.endProgram, 1);
    EXPECT_FALSE(f.s.PortCloseAllowed);
    EXPECT_TRUE(Shutdown(f.s));  // e.g. a failure in the parser while the program ends
    EXPECT_EQ(f.asker.asked.size(), 1u);
    EXPECT_TRUE(f.port.sent.empty());
    EXPECT_TRUE(f.clock.waits.empty());
    EXPECT_TRUE(f.port.open);
    EXPECT_EQ(f.host.logCloses, 1);
}

TEST(CommSettings, ReadsFieldsAndFormatsCanonically) {
    const struct {
        const char* text;
        CommSettings want;
        const char* canonical;
    } cases[] = {{"9600,N,8,1", {9600, 'n', 8, StopBits::One}, "9600,n,8,1"},
                 {"19200,E,7,2", {19200, 'e', 7, StopBits::Two}, "19200,e,7,2"},
                 {"300,M,6,2", {300, 'm', 6, StopBits::Two}, "300,m,6,2"},
                 {"9600,e,5,1.5", {9600, 'e', 5, StopBits::OnePointFive}, "9600,e,5,1.5"},
                 {" 115200 , N , 8 , 1 ", {115200, 'n', 8, StopBits::One}, "115200,n,8,1"}};
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
        {"0,n,8,1", "speed"},
        {"99999999999,n,8,1", "speed"},
        {"9600,n,9,1", "data bits"},
        {"9600,n,8,1.0", "stop bits"},
        {"9600,n,8", "separated by commas"},
        {"9600,n,4,1", "4 data bits are not supported"},
        {"9600,n,8,1.5", "1.5 stop bits are only possible with 5 data"},
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

TEST(CommSettings, DeviceFromEnvironmentThenSettingThenPortNumber) {
    const struct {
        int port;
        const char *setting, *env, *device;
    } cases[] = {{1, "", "", "/dev/ttyS0"},
                 {16, "", "", "/dev/ttyS15"},
                 {2, "/dev/ttyUSB0", "/dev/pts/7", "/dev/pts/7"},
                 {3, "  ", " ", "/dev/ttyS2"},
                 {3, " /dev/ttyACM0 ", "", "/dev/ttyACM0"},
                 {0, "", "", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(DeviceForPort(c.port, c.setting, c.env), c.device)
            << c.port << c.setting << c.env;
}

}  // namespace
}  // namespace sondix::test
