// The main window on the headless fakes, as tables of scenarios (buttons pressed, events and
// bytes fed -> bytes sent, pauses, boxes, state): start-up, port events and the fault box, typed
// keys and Enter, the command and stream buttons, the calibration, the window unloads, the
// shutdown with its drain; port settings texts, device naming and the program's info words.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include "common/pauses.h"
#include "core_support.h"
#include "memory_settings_store.h"
#include "terminal/comm_settings.h"
#include "terminal/main_window.h"
#include "terminal/port_naming.h"
#include "terminal/program_info.h"
#include "tracing_port.h"

namespace sondix::test {
namespace {

namespace P = Gen::Pauses;
using W = std::vector<double>;
using A = MsgAnswer;
using Click = void (*)(Session&);

struct TracedFixture : SessionFixture {
    TracingPort tport{clock};
    TracedFixture() {
        tport.open = true;
        s.io.port = &tport;
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

// An opened port gets "E" then the listing's "P" with the pauses in order; a failed setting
// sends nothing, waits nothing and leaves the label as designed. A rejected port number still
// lets the stored handshaking reach the port before the one check; the box names the last
// failure. (stored, the port's refusal, box, port: settings number handshaking [echo], args)
TEST(Startup, AppliesStoredSettingsOrStopsAtTheFirstFailure) {
    // clang-format off
    const std::tuple<std::string, std::string, std::string, std::string, V> cases[] = {
        {"", "", "", "9600,n,8,1 1 0", {}},
        {"Settings=19200,e,7,2 CommPort=3 Handshaking=2 Echo=True", "", "", "19200,e,7,2 3 2 echo", {}},
        {"Echo=1", "", "", "9600,n,8,1 1 0 echo", {}},
        {"Settings=9600,q,8,1 CommPort=4 Echo=True", "Invalid Port Settings", "Invalid Port Settings", "9600,n,8,1 1 0", {"417"}},
        {"CommPort=COM3 Handshaking=1", "", "Type mismatch", "9600,n,8,1 1 1", {}},
        {"CommPort=0 Handshaking=2", "", "Invalid port number", "9600,n,8,1 1 2", {}},
        {"CommPort=0 Handshaking=9 Echo=True", "", "Invalid handshaking value", "9600,n,8,1 1 0", {}},
        {"CommPort=2 Handshaking=7", "", "Invalid handshaking value", "9600,n,8,1 2 0", {}}};
    // clang-format on
    for (const auto& [stored, refusal, box, port, args] : cases) {
        SCOPED_TRACE(stored);
        SessionFixture f;
        f.port.open = false;
        f.port.settingsError = refusal;
        MemorySettingsStore store = Store(stored);
        f.s.graphHdr.VoltsPerCount = 0;  // a failed load must not leave the scales at zero
        f.s.res.VrefCal = 0;
        Startup(f.s, store, args);
        const bool opened = box.empty();
        ASSERT_EQ(f.asker.asked.size(), opened ? 0u : 1u);
        if (!opened) {
            EXPECT_EQ(f.asker.asked[0].text, box);
        }
        EXPECT_EQ(f.port.writes, (opened ? V{"E", "P"} : V{}));
        EXPECT_EQ(f.clock.waits, (opened ? W{P::kStartup, P::kAfterCommand, P::kStartup,
                                             P::kAfterCommand, P::kRefresh}
                                         : W{}));
        if (!opened) {
            EXPECT_EQ(f.s.lblVerAndSerialNum, Session{}.lblVerAndSerialNum);
        }
        EXPECT_EQ(f.port.settings + " " + std::to_string(f.port.commPort) + " " +
                      std::to_string(f.port.handshaking) + (f.s.Echo ? " echo" : ""),
                  port);
        EXPECT_DOUBLE_EQ(f.s.graphHdr.VoltsPerCount, 3.68 / 1024);
        EXPECT_FLOAT_EQ(f.s.res.VrefCal, 3.68f);
        EXPECT_EQ(f.s.parser.NWords, 2048);
        EXPECT_EQ(f.s.CalibrateEnabled, !args.empty());
    }
}

// The window is on the screen while the start-up pauses (the click lands in wait n; 0: the
// pause before "E"): a results stream started then is stopped through its window, never left
// running; a line error answered Abort ends the program there.
TEST(Startup, ClicksAndFaultsDuringItsPauses) {
    for (const auto& [atWait, clickWrites, abortWrites] :
         {std::tuple{0u, V{"{", "E", "}", "P"}, V{}}, {2u, V{"E", "{", "}", "P"}, V{"E"}}}) {
        for (const bool abort : {false, true}) {
            SessionFixture f;
            f.port.open = false;
            f.asker.answers = {A::Abort};
            OnceDuring(
                f, [&, at = atWait] { return f.clock.waits.size() == at + 1; },
                [&] { abort ? OnComm(f.s, 1009) : cmdRptDist_Click(f.s); });
            MemorySettingsStore store;
            Startup(f.s, store, {});
            EXPECT_EQ(f.port.writes, abort ? abortWrites : clickWrites) << atWait;
            EXPECT_EQ(f.host.endProgram, abort ? 1 : 0);
            EXPECT_FALSE(f.host.resultsWindow);
        }
    }
}

TEST(Startup, CommandLineWords) {
    EXPECT_EQ(GetCommandLine("  417 \t x\ty  "), (V{"417", "x", "y"}));
    EXPECT_EQ(GetCommandLine("a b c", 2), (V{"a", "b"}));
    EXPECT_EQ(GetCommandLine(" \t "), V{});
    // Only "--version" or "--help" alone asks for the info; anything else is the access code.
    for (const auto& [args, info] : {std::pair{V{"--version"}, true},
                                     {V{"--help"}, true},
                                     {V{"417"}, false},
                                     {V{"--Version"}, false},
                                     {V{"--version", "417"}, false},
                                     {V{}, false}})
        EXPECT_EQ(!ProgramInfoText(args).empty(), info) << args.size();
}

constexpr const char* kChoices = "  Click Abort(exit prog), Retry(reset port) or Ignore(continue)";

// Events (3..7) go to the status panel, errors also to the fault box (answered Ignore here);
// only a running stream gets "R" then.
TEST(PortEvents, StatusPanelFaultBoxAndTheStreamStop) {
    const std::tuple<int, char, std::string, std::string> cases[] = {
        {3, '{', "Change in CTS Detected", ""},   {7, '[', "End of File Detected", ""},
        {1001, 'F', "Break Received", ""},        {1004, '{', "Framing Error", "R"},
        {1011, '[', "Error retrieving DCB", "R"}, {4242, ']', "Unknown error or event", ""},
        {1009, '}', "Parity Error", ""}};
    for (const auto& [code, pending, text, sent] : cases) {
        SessionFixture f;
        f.s.CommandKey = KeyCode(pending);
        OnComm(f.s, code);
        EXPECT_EQ(f.host.statusPanel, "Status: " + text) << code;
        const bool error = code > 7;
        EXPECT_EQ(Boxes(f), error ? "MSComm Fault: " + text + kChoices + "\n" : "") << code;
        EXPECT_EQ(f.port.sent, sent) << code;
        EXPECT_EQ(f.s.CommandKey, KeyCode(sent.empty() ? pending : 'R')) << code;
        EXPECT_TRUE(f.port.open);
    }
    SessionFixture closed;  // a closed port gets nothing
    closed.port.open = false;
    closed.s.CommandKey = '[';
    OnComm(closed.s, 1009);
    EXPECT_EQ(closed.port.sent, "");
}

// Every waiting byte reaches ShowData as one character; an empty buffer still reaches it. No
// second fault box while one is open, and the error dropped then does not come back.
TEST(PortEvents, ReceiveHandsEveryByteOnAndOneFaultBoxAtATime) {
    for (const std::string input : {"", "a\xE9\xFFz"}) {
        SessionFixture f;
        f.s.CommandKey = 'D';
        f.port.input = input;
        OnComm(f.s, 2);
        EXPECT_EQ(f.term.text, input);
        EXPECT_EQ(f.s.parser.ChunkCount, 1);  // the pending reader counted the block
        EXPECT_EQ(Boxes(f) + f.port.input, "");
    }
    SessionFixture f;
    f.asker.whileOpen = [&f] {
        f.port.input = "x";
        OnComm(f.s, 2);
        OnComm(f.s, 1006);
    };
    OnComm(f.s, 1004);
    f.asker.whileOpen = nullptr;
    EXPECT_EQ(f.term.text, "x");
    OnComm(f.s, 2);
    EXPECT_EQ(f.asker.asked.size(), 1u);
}

// Retry closes and reopens; a device the serial layer has lost turns the lamp red before the box
// (AutoReconnect off) and only reopens; a failing reopen shows why and leaves the port closed.
// The stream buttons go idle on a lost device and the results value turns stale.
TEST(FaultBox, RetryAndTheLostDevice) {
    TracedFixture f;
    f.asker.answers = {A::Retry};
    OnComm(f.s, 1004);
    EXPECT_EQ(f.tport.trace, (V{"close buffered=0", "open buffered=0"}));
    EXPECT_EQ(f.host.portStateChanges, 2);

    TracedFixture lost;
    lost.tport.open = false;
    lost.tport.lastError = "No such device";
    lost.s.AutoReconnect = false;
    int lampUpdatesBeforeBox = -1;
    lost.asker.whileOpen = [&] { lampUpdatesBeforeBox = lost.host.portStateChanges; };
    lost.asker.answers = {A::Retry};
    OnComm(lost.s, kCommDeviceLost);
    EXPECT_EQ(Boxes(lost),
              std::string("MSComm Fault: Port closed: No such device") + kChoices + "\n");
    EXPECT_EQ(lampUpdatesBeforeBox, 1);
    EXPECT_EQ(lost.tport.trace, (V{"open buffered=0"}));

    SessionFixture failing;
    failing.port.openError = "Port not found";
    failing.asker.answers = {A::Retry};
    OnComm(failing.s, 1004);
    ASSERT_EQ(failing.asker.asked.size(), 2u);
    EXPECT_EQ(failing.asker.asked[1].text, "Port not found");
    EXPECT_FALSE(failing.port.open);
    EXPECT_EQ(failing.host.portStateChanges, 2);
    EXPECT_EQ(SettingsPanelText(failing.s), "Settings: ");

    for (const Click start : {cmdRptDist_Click, cmdRptSpect_Click}) {
        SessionFixture g;
        start(g.s);
        g.port.open = false;
        OnComm(g.s, kCommDeviceLost);
        EXPECT_EQ(g.s.cmdRptSpect.caption + g.s.cmdRptDist.caption,
                  Session{}.cmdRptSpect.caption + Session{}.cmdRptDist.caption);
        EXPECT_EQ(g.s.results.stale, g.s.ResultDisp_Loaded);
    }
}

// A key the pending stream does not take is dropped; one that reaches the sensor ends a pending
// calibration; every key resets the answer. (pending, key, echo, sent, pending after, consumed)
TEST(TerminalKey, SendsOrDropsAndAlwaysResetsTheAnswer) {
    const std::tuple<char, char, bool, std::string, char, bool> cases[] = {
        {'[', 'x', false, "", '[', true},          {'[', ']', false, "]", ']', true},
        {'[', 'R', false, "R", 'R', true},         {'[', 'r', true, "", '[', false},
        {0, 'x', false, "x", 'x', true},           {'{', 'x', true, "x", 'x', false},
        {'F', '\xE9', true, "\xE9", '\xE9', false}};
    for (const auto& [pending, key, echo, sent, after, consumed] : cases) {
        SessionFixture f;
        f.s.CommandKey = KeyCode(pending);
        f.s.Echo = echo;
        f.s.parser.GraphState = 2;
        f.s.parser.AnswerText = "partial";
        f.s.CalibrationPending = true;
        SCOPED_TRACE(std::string(1, pending) + key);
        EXPECT_EQ(txtTerm_KeyPress(f.s, key), consumed);
        EXPECT_EQ(f.port.sent, sent);
        EXPECT_EQ(f.s.CommandKey, KeyCode(after));
        EXPECT_EQ(f.s.parser.GraphState, 0);
        EXPECT_EQ(f.s.parser.AnswerText, "");
        EXPECT_EQ(f.s.CalibrationPending, sent.empty());
    }
}

// Enter sends "I", waits until it has drained (3 s at most), closes and reopens the port, then
// sends the line. The port closed by its lamp or the program ended by a fault box's Abort while
// the "I" drains: the line is not sent and the port is not opened again.
TEST(ParseEnter, DrainsTheIThenReopensAndSendsTheLine) {
    enum During { kNothing, kToggle, kAbort };
    const std::tuple<int, bool, During, const char*, V, double> cases[] = {
        // buffered, drains, during the drain, reopen error, trace, seconds
        {3, true, kNothing, "", {"out I", "close buffered=0", "open buffered=0", "out abc\n"}, 0},
        {1, false, kNothing, "", {"out I", "close buffered=1", "open buffered=1", "out abc\n"}, 3},
        {0, true, kNothing, "Port vanished", {"out I", "close buffered=0", "open buffered=0"}, 0},
        {3, false, kToggle, "", {"out I", "close buffered=3"}, 0},
        {3, false, kAbort, "", {"out I"}, 0}};
    for (const auto& [buffered, drains, during, openError, trace, seconds] : cases) {
        TracedFixture f;
        f.tport.outBufferCount = buffered;
        f.tport.openError = openError;
        if (during == kAbort) f.asker.answers = {A::Abort};
        f.clock.onEvents = [&, drains = drains, during = during, done = false]() mutable {
            if (drains) f.tport.outBufferCount = std::max(0, f.tport.outBufferCount - 1);
            if (during == kNothing || done) return;
            done = true;
            during == kAbort ? OnComm(f.s, 1004) : PortToggle(f.s);
        };
        const double start = f.clock.now;
        txtParse_Enter(f.s, "abc");
        SCOPED_TRACE(trace.size());
        EXPECT_EQ(f.tport.trace, trace);
        if (seconds > 0) {
            EXPECT_NEAR(f.clock.now - start, seconds, 0.06);
        }
        EXPECT_EQ(f.host.endProgram, during == kAbort ? 1 : 0);
        EXPECT_EQ(f.tport.open, *openError == 0 && during != kToggle);
        if (*openError) {
            EXPECT_EQ(f.asker.asked.at(0).text, openError);
        }
    }
}

// A command button pressed while a stream runs stops the stream first, so the sensor sees "}" or
// "]" before the command and its answer is read; the answer windows of other commands close.
TEST(CommandButtons, StopTheRunningStreamsThenSendTheirLetter) {
    enum Stream { kResults, kSpectrum, kBeforeFirstSpectrum, kBoth };
    // clang-format off
    const std::tuple<Click, Stream, const char*> cases[] = {
        {cmdRefresh_Click, kResults, "}P"}, {cmdRefresh_Click, kSpectrum, "]P"},
        {cmdRefresh_Click, kBeforeFirstSpectrum, "]P"}, {cmdScope_Click, kBeforeFirstSpectrum, "]D"},
        {cmdSpect_Click, kSpectrum, "]F"}, {cmdRamp_Click, kResults, "}y"},
        {cmdHist_Click, kSpectrum, "]H"}, {cmdRptDist_Click, kBeforeFirstSpectrum, "]{"},
        {cmdRptSpect_Click, kResults, "}["}, {cmdRamp_Click, kBoth, "}]y"},
        {cmdScope_Click, kBoth, "}]D"}, {cmdSpect_Click, kBoth, "}]F"}, {cmdHist_Click, kBoth, "}]H"}};
    // clang-format on
    for (const auto& [click, stream, sent] : cases) {
        SessionFixture f;
        if (stream == kBoth) {
            f.s.ResultDisp_Loaded = f.s.D_GraphLoaded = true;
            f.s.cmdRptDist.caption = "Stop";
            f.s.parser.AutoSpect_status = 1;
            f.s.cmdRptSpect.caption = "StopSpec";
        } else {
            (stream == kResults ? cmdRptDist_Click : cmdRptSpect_Click)(f.s);
        }
        if (stream == kSpectrum) {
            LoadGraphWindow(f.s);
            f.s.parser.AutoSpect_status = kWaitHeader;
        }
        f.port.sent.clear();
        click(f.s);
        EXPECT_EQ(f.port.sent, sent);
        EXPECT_EQ(f.s.CommandKey, KeyCode(std::string(sent).back())) << sent;
        if (stream == kBoth) {
            EXPECT_FALSE(f.s.ResultDisp_Loaded || f.s.D_GraphLoaded) << sent;
        }
    }
}

// The listing arrives in pieces during the pauses after "P"; the receive events parse it there,
// so the label already names the unit when the refresh ends.
TEST(CommandButtons, RefreshAsksForTheListingAndNamesTheUnitFromIt) {
    const std::string listing = Capture("listing.cap");
    SessionFixture f;
    std::size_t fed = 0;
    f.clock.onEvents = [&] {
        if (f.clock.waits.empty() || fed >= listing.size()) return;
        f.port.input = listing.substr(fed, 300);
        fed += f.port.input.size();
        OnComm(f.s, 2);
    };
    cmdRefresh_Click(f.s);
    EXPECT_EQ(f.port.writes, V{"P"});
    EXPECT_EQ(f.clock.waits, (W{P::kAfterCommand, P::kRefresh}));
    EXPECT_EQ(f.s.lblVerAndSerialNum, "FMCW RADAR Ver0.47 : S/N= 1047");
    EXPECT_EQ(f.s.GraphHeaderStr, "Unit# 1047,FMCW RADAR Ver0.47");
}

// Results then StartSpec twice: "{", the results stopped, "[", "]". With the port closed nothing
// is sent, the status panel says so and the Results button stays idle; no value shows before a
// reading.
TEST(StreamButtons, StartAndStopThroughTheWindows) {
    SessionFixture f;
    f.s.results.txtOutputvalue = "old";
    cmdRptDist_Click(f.s);
    EXPECT_TRUE(f.host.resultsWindow);
    EXPECT_EQ(f.s.results.txtOutputvalue, "");
    cmdRptSpect_Click(f.s);
    cmdRptSpect_Click(f.s);
    EXPECT_EQ(f.port.writes, (V{"{", "}", "[", "]"}));
    EXPECT_EQ(f.s.cmdRptDist.caption + f.s.cmdRptSpect.caption,
              Session{}.cmdRptDist.caption + Session{}.cmdRptSpect.caption);
    EXPECT_FALSE(f.host.resultsWindow);

    SessionFixture closed;
    closed.port.open = false;
    cmdRptDist_Click(closed.s);
    EXPECT_EQ(closed.s.cmdRptDist.caption, Session{}.cmdRptDist.caption);
    EXPECT_NE(closed.host.statusPanel.find("closed"), std::string::npos);
    EXPECT_EQ(closed.port.sent, "");
}

// The code is the password in three digits (417 when none is known), one second after "c";
// during that pause a second click starts nothing (the button is disabled) and a fault box
// answered Abort sends no code.
TEST(Calibrate, SendsCThenTheCodeOneSecondLater) {
    for (const auto& [password, code] : {std::pair{-1.0f, "417"}, {7.0f, "007"}, {815.0f, "815"}}) {
        TracedFixture f;
        f.s.mirror.Password = password;
        f.s.cmdCalibrate = {"Calibrate", f.s.SaveColor, true, true};
        f.s.CommandKey = 'F';
        cmdCalibrate_Click(f.s);
        EXPECT_EQ(f.tport.writes, (V{"c", code}));
        EXPECT_EQ(f.tport.writeTimes[1] - f.tport.writeTimes[0], 1.0);
        EXPECT_TRUE(f.s.CalibrationPending && !f.s.cmdCalibrate.enabled);
        EXPECT_EQ(f.s.CommandKey, 'F');
    }
    for (const bool abort : {false, true}) {
        SessionFixture f;
        f.s.cmdCalibrate = {"Calibrate", f.s.SaveColor, true, true};
        f.asker.answers = {A::Abort};
        OnceDuring(
            f, [&] { return f.port.writes.size() == 1; },
            [&] { abort ? OnComm(f.s, 1004) : cmdCalibrate_Click(f.s); });
        cmdCalibrate_Click(f.s);
        EXPECT_EQ(f.port.writes, (abort ? V{"c"} : V{"c", "417"}));
        EXPECT_EQ(f.host.endProgram, abort ? 1 : 0);
    }
}

// The stream state outlives the "]" until the next block arrives; closing the chart then must not
// start the stream again: only a running stream whose button reads "StopSpec" gets "]". Stream
// commands keep the answer windows, every other command closes them; the block count restarts
// and the stream states stay.
TEST(WindowUnloads, ChartCloseAndResetVariables) {
    for (const auto& [autoSpect, caption, sent, after] :
         {std::tuple{1, "StopSpec", "]", "StartSpec"},
          {1, "StartSpec", "", "StartSpec"},
          {0, "StopSpec", "", "StopSpec"},
          {0, "StartSpec", "", "StartSpec"}}) {
        SessionFixture f;
        f.s.D_GraphLoaded = true;
        f.s.parser.AutoSpect_status = static_cast<std::int16_t>(autoSpect);
        f.s.cmdRptSpect.caption = caption;
        UnloadGraphWindow(f.s);
        EXPECT_EQ(f.port.sent + f.s.cmdRptSpect.caption, std::string(sent) + after) << caption;
        EXPECT_EQ(f.host.graphCloses, 1);
    }
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
        const int open = f.s.D_GraphLoaded + f.s.HistWindowLoaded + f.s.ResultDisp_Loaded;
        EXPECT_EQ(open, closes ? 0 : 3) << pending;
        EXPECT_EQ(f.s.parser.ChunkCount, 0);
        EXPECT_EQ(f.s.parser.AutoSpect_status * 10 + f.s.parser.AutoResults_status, 13);
    }
}

// A buffer that never drains: the question after 3 s, 10 s more on each Retry; Abort keeps the
// program running with its port open, Ignore ends it.
TEST(Shutdown, AsksAfterThreeSecondsThenTenMoreOnRetry) {
    const std::tuple<std::vector<A>, bool, W> cases[] = {{{A::Abort}, false, {3}},
                                                         {{A::Ignore}, true, {3}},
                                                         {{A::Retry, A::Abort}, false, {3, 10}},
                                                         {{A::Retry, A::Ignore}, true, {3, 10}}};
    for (const auto& [answers, ended, askedAfter] : cases) {
        SessionFixture f;
        f.port.outBufferCount = 1;
        double since = f.clock.now;
        W askedAt;
        f.asker.whileOpen = [&] {
            askedAt.push_back(f.clock.now - since);
            since = f.clock.now;
        };
        f.asker.answers = {answers.begin(), answers.end()};
        EXPECT_EQ(Shutdown(f.s), ended);
        EXPECT_EQ(f.host.endProgram, ended ? 1 : 0);
        EXPECT_EQ(f.port.open, !ended);
        ASSERT_EQ(askedAt.size(), askedAfter.size());
        for (std::size_t i = 0; i < askedAt.size(); ++i)
            EXPECT_NEAR(askedAt[i], askedAfter[i], P::kDrainSlice + 1e-9);
    }
}

TEST(Shutdown, UnloadsEveryWindowStopsTheStreamsDrainsAndClosesPortAndLog) {
    SessionFixture f;
    f.port.outBufferCount = 100;
    f.clock.onEvents = [&f] { f.port.outBufferCount = std::max(0, f.port.outBufferCount - 10); };
    f.host.logOpen = f.host.configWindow = true;
    f.s.D_GraphLoaded = f.s.HistWindowLoaded = f.s.ResultDisp_Loaded = true;
    f.s.cmdRptDist.caption = "Stop";
    f.s.cmdRptSpect.caption = "StopSpec";
    f.s.parser.AutoSpect_status = 1;
    EXPECT_TRUE(Shutdown(f.s));
    EXPECT_EQ(f.port.writes, (V{"]", "}"}));
    EXPECT_EQ(f.host.graphCloses + f.host.histCloses + f.host.resultsCloses, 3);
    EXPECT_FALSE(f.host.configWindow || f.port.open);
    EXPECT_EQ(Boxes(f), "");
    EXPECT_EQ(f.host.logCloses + f.host.endProgram, 2);
}

// A line error arrives during one of the shutdown's waits (or is already answered Abort before
// it) and its fault box is answered Abort: that ends the program by its own shutdown, and the one
// that was waiting neither asks, drains, sends, closes, nor ends the program a second time.
TEST(Shutdown, FaultBoxAbortEndsOnceWithoutDrainingOrClosing) {
    enum AbortIn { kStreamStop, kDrain, kQuestion, kBefore };
    const std::pair<AbortIn, V> cases[] = {{kStreamStop, {"MSComm Fault"}},
                                           {kDrain, {"MSComm Fault"}},
                                           {kQuestion, {kProgramTitle, "MSComm Fault"}},
                                           {kBefore, {"MSComm Fault"}}};
    for (const auto& [where, titles] : cases) {
        SessionFixture f;
        f.port.outBufferCount = 1;  // never drains
        f.host.logOpen = true;
        f.asker.answers = {A::Abort, A::Retry};
        if (where == kStreamStop) {
            f.s.ResultDisp_Loaded = true;
            f.s.cmdRptDist.caption = "Stop";
        }
        if (where == kQuestion) {
            f.asker.whileOpen = [&] {
                if (f.asker.asked.size() == 1) OnComm(f.s, 1004);
            };
        } else if (where == kBefore) {
            OnComm(f.s, 1004);
        } else {
            OnceDuring(
                f, [] { return true; }, [&] { OnComm(f.s, 1004); });
        }
        EXPECT_TRUE(Shutdown(f.s));
        V asked;
        for (const AskedMessage& m : f.asker.asked)
            asked.push_back(m.title);
        EXPECT_EQ(asked, titles) << where;
        EXPECT_EQ(f.host.logCloses, 1) << where;
        EXPECT_EQ(f.host.endProgram, where == kBefore ? 2 : 1) << where;  // asked again by then
        EXPECT_EQ(f.port.closes, 0) << where;
        if (where == kBefore) {
            EXPECT_EQ(f.port.sent + std::to_string(f.clock.waits.size()), "0");
        }
    }
}

TEST(CommSettings, ReadsFieldsAndFormatsCanonically) {
    const std::pair<const char*, const char*> cases[] = {{"9600,N,8,1", "9600,n,8,1"},
                                                         {"19200,E,7,2", "19200,e,7,2"},
                                                         {"300,M,6,2", "300,m,6,2"},
                                                         {"9600,e,5,1.5", "9600,e,5,1.5"},
                                                         {" 115200 , N , 8 , 1 ", "115200,n,8,1"}};
    for (const auto& [text, canonical] : cases) {
        CommSettings got{1, 'x', 0, StopBits::Two};
        EXPECT_EQ(ParseCommSettings(text, got), "") << text;
        EXPECT_EQ(FormatCommSettings(got), canonical);
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
        EXPECT_TRUE(why.starts_with(std::string("Invalid port settings \"") + text + "\"")) << why;
        EXPECT_NE(why.find(mentions), std::string::npos) << why;
        EXPECT_EQ(s, before);
    }
}

TEST(CommSettings, DeviceFromEnvironmentThenSettingThenPortNumber) {
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        {1, "", "", "/dev/ttyS0"},
        {16, "", "", "/dev/ttyS15"},
        {2, "/dev/ttyUSB0", "/dev/pts/7", "/dev/pts/7"},
        {3, "  ", " ", "/dev/ttyS2"},
        {3, " /dev/ttyACM0 ", "", "/dev/ttyACM0"},
        {0, "", "", ""}};
    for (const auto& [port, setting, env, device] : cases)
        EXPECT_EQ(DeviceForPort(port, setting, env), device) << port << setting << env;
}

}  // namespace
}  // namespace sondix::test
