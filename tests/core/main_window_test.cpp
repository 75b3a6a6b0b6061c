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
#include "scenario.h"
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
    for (const V& args : {V{"--version"}, V{"--help"}})
        EXPECT_NE(ProgramInfoText(args), "");
    for (const V& args : {V{"417"}, V{"--Version"}, V{"--version", "417"}, V{}})
        EXPECT_EQ(ProgramInfoText(args), "");
}

constexpr const char* kChoices = "  Click Abort(exit prog), Retry(reset port) or Ignore(continue)";

// One scenario a line (the words: scenario.h): the bytes the sensor received, the command left
// pending, the windows.
TEST(Scenarios, BytesSentCommandPendingAndWindows) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        // A command button stops a running stream first, so the sensor sees "}" or "]" before the
        // command and its answer is read (also before the stream's first spectrum).
        {"Results Refresh", "sent={}P key=P"},          {"StartSpec spectrum Refresh", "sent=[]P key=P"},
        {"StartSpec Refresh", "sent=[]P key=P"},        {"StartSpec Scope", "sent=[]D key=D"},
        {"StartSpec spectrum Spect", "sent=[]F key=F"}, {"Results Ramp", "sent={}y key=y"},
        {"StartSpec spectrum Hist", "sent=[]H key=H"},  {"StartSpec Results", "sent=[]{ key={"},
        {"Results StartSpec StartSpec", "sent={}[] key=]"}, {"both Ramp", "sent=}]y key=y"},
        {"both Scope", "sent=}]D key=D"}, {"both Spect", "sent=}]F key=F"}, {"both Hist", "sent=}]H key=H"},
        // With the port closed nothing is sent.
        {"closed Results", "sent= key="},
        // The stream state outlives the "]" until the next block arrives: closing the chart then
        // must not start the stream again; only a running stream whose button reads "StopSpec"
        // gets "]".
        {"StartSpec spectrum closechart", "sent=[] key=]"}, {"StartSpec chart closechart", "sent=[ key=["},
        {"StartSpec spectrum StartSpec closechart", "sent=[] key=]"}, {"chart closechart", "sent= key="},
        // The calibration code is the password in three digits, 417 when none is known.
        {"pending=F Calibrate", "sent=c417 key=F"}, {"password=7 Calibrate", "sent=c007 key="},
        {"password=815 Calibrate", "sent=c815 key="},
        // A key the pending stream does not take is dropped.
        {"pending=[ key=x", "sent= key=["},   {"pending=[ key=]", "sent=] key=]"},
        {"pending=[ key=R", "sent=R key=R"},  {"echo pending=[ key=r", "sent= key=["},
        {"key=x", "sent=x key=x"},            {"echo pending={ key=x", "sent=x key=x"},
        {"echo pending=F key=\xE9", "sent=\xE9 key=\xE9"},
        // A port error stops a running stream with "R"; events and other commands send nothing.
        {"pending={ event=1004", "sent=R key=R boxes=1"}, {"pending=[ event=1011", "sent=R key=R"},
        {"pending=F event=1001", "sent= key=F"},  {"pending=} event=1009", "sent= key=}"},
        {"pending=] event=4242", "sent= key=] boxes=1"},  {"pending={ event=3", "sent= key={ boxes=0"},
        {"closed pending=[ event=1009", "sent= key=["},
        // Every waiting byte reaches ShowData as one character; an empty buffer still reaches it.
        {"pending=D input=a\xE9\xFFz event=2", "term=a\xE9\xFFz chunks=1 boxes=0"},
        {"pending=D event=2", "term= chunks=1 boxes=0"},
        // Stream commands keep the answer windows, every other command closes them; the block
        // count restarts and the stream states stay.
        {"pending=[ windows sstate=1 rstate=3 chunks=9 reset", "windows=3 chunks=0 sstate=1 rstate=3"},
        {"pending=] windows reset", "windows=3"}, {"pending={ windows reset", "windows=3"},
        {"pending=} windows reset", "windows=3"}, {"pending=R windows reset", "windows=0"},
        {"pending=F windows sstate=1 rstate=3 chunks=9 reset", "windows=0 chunks=0 sstate=1 rstate=3"},
        {"windows reset", "windows=0"}};
    // clang-format on
    for (const auto& [actions, expect] : cases) {
        Scenario t;
        t.Run(actions);
        t.Expect(expect, actions);
    }
}

// Results with the port closed says so in the status panel; no value shows before a reading.
TEST(Scenarios, ResultsWithThePortClosedOrOpen) {
    Scenario t;
    t.Run("closed Results");
    EXPECT_EQ(t.host.statusPanel, "Status: Port is closed");
    t.port.open = true;
    t.s.results.txtOutputvalue = "old";
    t.Run("Results");
    EXPECT_TRUE(t.host.resultsWindow);
    EXPECT_EQ(t.s.results.txtOutputvalue, "");
}

// No second fault box while one is open, and the error dropped then does not come back.
TEST(PortEvents, OneFaultBoxAtATime) {
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

// The code goes one second after "c"; during that pause a second click starts nothing (the button
// is disabled) and a fault box answered Abort sends no code.
TEST(Calibrate, TheCodeOneSecondAfterCAndClicksOrFaultsDuringThePause) {
    TracedFixture t;
    t.s.cmdCalibrate = {"Calibrate", t.s.SaveColor, true, true};
    cmdCalibrate_Click(t.s);
    EXPECT_EQ(t.tport.writeTimes.at(1) - t.tport.writeTimes.at(0), 1.0);
    EXPECT_TRUE(t.s.CalibrationPending && !t.s.cmdCalibrate.enabled);
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

// A settings text read and written canonically, or refused with the faulty field or rule named
// ("!" and a part of the error) and the settings left as they were. The device: from the
// environment, then the setting, then the port number.
TEST(CommSettings, ReadCanonicallyOrRefusedWithTheFaultNamed) {
    const std::pair<const char*, const char*> cases[] = {
        {"9600,N,8,1", "9600,n,8,1"},
        {"19200,E,7,2", "19200,e,7,2"},
        {"300,M,6,2", "300,m,6,2"},
        {"9600,e,5,1.5", "9600,e,5,1.5"},
        {" 115200 , N , 8 , 1 ", "115200,n,8,1"},
        {"9600,x,8,1", "!parity must be one of e, m, n, o, s"},
        {"0,n,8,1", "!speed"},
        {"99999999999,n,8,1", "!speed"},
        {"9600,n,9,1", "!data bits"},
        {"9600,n,8,1.0", "!stop bits"},
        {"9600,n,8", "!separated by commas"},
        {"9600,n,4,1", "!4 data bits are not supported"},
        {"9600,n,8,1.5", "!1.5 stop bits are only possible with 5 data"},
        {"9600,n,5,2", "!2 stop bits are not possible with 5 data bits"}};
    for (const auto& [text, expected] : cases) {
        CommSettings s{4800, 'e', 7, StopBits::One};
        const std::string why = ParseCommSettings(text, s);
        if (*expected != '!') {
            EXPECT_EQ(why + FormatCommSettings(s), expected) << text;
            continue;
        }
        EXPECT_TRUE(why.starts_with(std::string("Invalid port settings \"") + text + "\"")) << why;
        EXPECT_NE(why.find(expected + 1), std::string::npos) << why;
        EXPECT_EQ(FormatCommSettings(s), "4800,e,7,1");
    }
    for (const auto& [port, setting, env, device] :
         {std::tuple{1, "", "", "/dev/ttyS0"},
          {16, "", "", "/dev/ttyS15"},
          {2, "/dev/ttyUSB0", "/dev/pts/7", "/dev/pts/7"},
          {3, "  ", " ", "/dev/ttyS2"},
          {3, " /dev/ttyACM0 ", "", "/dev/ttyACM0"},
          {0, "", "", ""}})
        EXPECT_EQ(DeviceForPort(port, setting, env), device) << port << setting << env;
}

}  // namespace
}  // namespace sondix::test
