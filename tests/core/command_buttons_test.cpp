// The command buttons: what each sends, how the stream buttons switch, the refresh and the
// calibration, and the window unloads behind them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "common/pauses.h"
#include "session_fixture.h"
#include "terminal/main_window.h"
#include "tracing_port.h"

namespace sondix::test {
namespace {

namespace P = Gen::Pauses;

struct ButtonCase {
    const char* name;
    void (*click)(Session&);
    std::string command;
};

class OneCommandButton : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(OneCommandButton, PreparesThenSendsItsLetter) {
    const ButtonCase& c = GetParam();
    SessionFixture f;
    // A results stream and a spectrum stream are both running with their windows open.
    f.s.ResultDisp_Loaded = true;
    f.s.cmdRptDist.caption = "Stop";
    f.s.D_GraphLoaded = true;
    f.s.parser.AutoSpect_status = 1;
    f.s.cmdRptSpect.caption = "StopSpec";
    c.click(f.s);
    EXPECT_EQ(f.port.writes, (std::vector<std::string>{"}", "]", c.command}));
    EXPECT_EQ(f.s.CommandKey, KeyCode(c.command[0]));
    EXPECT_FALSE(f.s.ResultDisp_Loaded);
    EXPECT_FALSE(f.s.D_GraphLoaded);
    EXPECT_EQ(f.s.cmdRptDist.caption, "Results");
    EXPECT_EQ(f.s.cmdRptSpect.caption, "StartSpec");
}

INSTANTIATE_TEST_SUITE_P(Buttons, OneCommandButton,
                         ::testing::Values(ButtonCase{"Ramp", cmdRamp_Click, "y"},
                                           ButtonCase{"Scope", cmdScope_Click, "D"},
                                           ButtonCase{"Spect", cmdSpect_Click, "F"},
                                           ButtonCase{"Hist", cmdHist_Click, "H"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandButtons, IdleChartStaysThroughPrepareButTheNewCommandClosesIt) {
    SessionFixture f;
    f.s.D_GraphLoaded = true;
    cmdSpect_Click(f.s);
    EXPECT_EQ(f.port.writes, std::vector<std::string>{"F"});
    EXPECT_FALSE(f.s.D_GraphLoaded);
}

// The listing arrives in pieces during the pauses after "P"; the receive events parse it there,
// so the label already names the unit when the refresh ends.
TEST(CommandButtons, RefreshAsksForTheListingInRedAndNamesTheUnitFromIt) {
    std::ifstream in(SONDIX_TEST_DATA "/listing.txt", std::ios::binary);
    const std::string listing{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(listing.size(), 400u);
    SessionFixture f;
    const Colour normal = f.s.cmdRefresh.face;
    Colour faceDuringWait{};
    std::size_t fed = 0;
    f.clock.onEvents = [&] {
        faceDuringWait = f.s.cmdRefresh.face;
        if (f.clock.waits.empty() || fed >= listing.size()) return;
        const std::size_t n = std::min<std::size_t>(300, listing.size() - fed);
        f.port.input = listing.substr(fed, n);
        fed += n;
        OnComm(f.s, 2);
    };
    cmdRefresh_Click(f.s);
    EXPECT_EQ(f.port.writes, std::vector<std::string>{"P"});
    EXPECT_EQ(f.clock.waits, (std::vector<double>{P::kAfterCommand, P::kRefresh}));
    EXPECT_EQ(faceDuringWait, kActiveButton);
    EXPECT_EQ(f.s.cmdRefresh.face, normal);
    ASSERT_EQ(fed, listing.size());
    EXPECT_FLOAT_EQ(f.s.mirror.SerNum, 1047);
    EXPECT_EQ(f.s.lblVerAndSerialNum, "FMCW RADAR Ver0.47 : S/N= 1047");
    EXPECT_EQ(f.s.GraphHeaderStr, "Unit# 1047,FMCW RADAR Ver0.47");
    EXPECT_EQ(f.host.labelChanges, 1);
}

TEST(StreamButtons, ResultsStartsAndStopsThroughTheWindow) {
    SessionFixture f;
    f.s.results.txtOutputvalue = "old";
    cmdRptDist_Click(f.s);
    EXPECT_EQ(f.s.cmdRptDist.caption, "Stop");
    EXPECT_EQ(f.s.cmdRptDist.face, kActiveStream);
    EXPECT_TRUE(f.s.ResultDisp_Loaded);
    EXPECT_TRUE(f.host.resultsWindow);
    EXPECT_EQ(f.s.results.txtOutputvalue, "");
    EXPECT_EQ(f.s.CommandKey, '{');
    cmdRptDist_Click(f.s);
    EXPECT_EQ(f.port.writes, (std::vector<std::string>{"{", "}"}));
    EXPECT_EQ(f.s.cmdRptDist.caption, "Results");
    EXPECT_EQ(f.s.cmdRptDist.face, f.s.SaveColor);
    EXPECT_FALSE(f.host.resultsWindow);
}

TEST(StreamButtons, StopWithoutTheWindowDoesNothing) {
    SessionFixture f;
    f.s.cmdRptDist.caption = "Stop";
    cmdRptDist_Click(f.s);
    EXPECT_TRUE(f.port.sent.empty());
    EXPECT_EQ(f.s.cmdRptDist.caption, "Stop");
}

TEST(StreamButtons, SpectrumStartsAfterStoppingTheResults) {
    SessionFixture f;
    f.s.ResultDisp_Loaded = true;
    f.s.cmdRptDist.caption = "Stop";
    cmdRptSpect_Click(f.s);
    EXPECT_EQ(f.s.cmdRptSpect.caption, "StopSpec");
    EXPECT_EQ(f.s.cmdRptSpect.face, kActiveStream);
    cmdRptSpect_Click(f.s);
    EXPECT_EQ(f.port.writes, (std::vector<std::string>{"}", "[", "]"}));
    EXPECT_EQ(f.s.cmdRptSpect.caption, "StartSpec");
    EXPECT_EQ(f.s.cmdRptSpect.face, f.s.SaveColor);
}

TEST(StreamButtons, ClosedPortSendsNothingAndResultsStaysIdle) {
    SessionFixture f;
    f.port.open = false;
    cmdRptSpect_Click(f.s);
    cmdRptDist_Click(f.s);
    EXPECT_EQ(f.s.cmdRptSpect.caption, "StopSpec");
    EXPECT_EQ(f.s.cmdRptDist.caption, "Results");
    EXPECT_TRUE(f.port.sent.empty());
}

TEST(CommandButtons, ConfigTogglesTheScreen) {
    SessionFixture f;
    cmdConfig_Click(f.s);
    EXPECT_TRUE(f.host.configWindow);
    cmdConfig_Click(f.s);
    EXPECT_FALSE(f.host.configWindow);
    EXPECT_TRUE(f.port.sent.empty());
}

struct CalibrateCase {
    float password;
    std::string code;
};

class Calibrate : public ::testing::TestWithParam<CalibrateCase> {};

TEST_P(Calibrate, SendsCThenTheCodeOneSecondLater) {
    SessionFixture f;
    TracingPort port(f.clock);
    port.open = true;
    f.s.io.port = &port;
    f.s.mirror.Password = GetParam().password;
    f.s.cmdCalibrate = {"Calibrate", f.s.SaveColor, true, true};
    f.term.text = "abc";
    f.s.CommandKey = 'F';
    cmdCalibrate_Click(f.s);
    EXPECT_EQ(port.writes, (std::vector<std::string>{"c", GetParam().code}));
    EXPECT_EQ(port.writeTimes[1] - port.writeTimes[0], 1.0);
    EXPECT_EQ(f.s.cmdCalibrate.face, kActiveButton);
    EXPECT_FALSE(f.s.cmdCalibrate.enabled);
    EXPECT_TRUE(f.s.CalibrationPending);
    EXPECT_EQ(f.s.CommandKey, 'F');
    EXPECT_EQ(f.term.selStart, 3);
}

INSTANTIATE_TEST_SUITE_P(Codes, Calibrate,
                         ::testing::Values(CalibrateCase{-1, "417"}, CalibrateCase{7, "007"},
                                           CalibrateCase{815, "815"}));

TEST(Calibrate, FailedCodeWriteLeavesTheButton) {
    SessionFixture f;
    f.s.cmdCalibrate = {"Calibrate", f.s.SaveColor, true, true};
    f.port.outputError = "Write failed";
    cmdCalibrate_Click(f.s);
    ASSERT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.asker.asked[0].text, "Write failed");
    EXPECT_TRUE(f.s.cmdCalibrate.enabled);
    EXPECT_FALSE(f.s.CalibrationPending);
}

TEST(Calibrate, ClosedPortOrDisabledButtonDoesNothing) {
    for (const bool portOpen : {false, true}) {
        SessionFixture f;
        f.port.open = portOpen;
        const bool enabled = !portOpen;
        f.s.cmdCalibrate = {"Calibrate", f.s.SaveColor, enabled, true};
        cmdCalibrate_Click(f.s);
        EXPECT_TRUE(f.port.sent.empty());
        EXPECT_TRUE(f.clock.waits.empty());
        EXPECT_FALSE(f.s.CalibrationPending);
        EXPECT_EQ(f.s.cmdCalibrate.enabled, enabled);
        EXPECT_EQ(f.s.cmdCalibrate.face, f.s.SaveColor);
    }
}

// Clicks arrive while the button waits between "c" and the code: they must not start a second
// sequence interleaved with the first.
TEST(Calibrate, ASecondClickDuringThePauseSendsNothingMore) {
    SessionFixture f;
    f.s.cmdCalibrate = {"Calibrate", f.s.SaveColor, true, true};
    bool enabledDuringPause = true;
    int clicks = 0;
    f.clock.onEvents = [&] {
        if (f.port.writes.size() != 1 || clicks > 0) return;
        ++clicks;
        enabledDuringPause = f.s.cmdCalibrate.enabled;
        cmdCalibrate_Click(f.s);
    };
    cmdCalibrate_Click(f.s);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(enabledDuringPause);
    EXPECT_EQ(f.port.writes, (std::vector<std::string>{"c", "417"}));
    EXPECT_TRUE(f.s.CalibrationPending);
    EXPECT_EQ(f.s.cmdCalibrate.face, kActiveButton);
}

TEST(Calibrate, AFaultBoxAbortDuringThePauseSendsNoCode) {
    SessionFixture f;
    f.s.cmdCalibrate = {"Calibrate", f.s.SaveColor, true, true};
    f.asker.answers = {MsgAnswer::Abort};
    bool faulted = false;
    f.clock.onEvents = [&] {
        if (faulted || f.port.writes.size() != 1) return;
        faulted = true;
        OnComm(f.s, 1004);
    };
    cmdCalibrate_Click(f.s);
    ASSERT_TRUE(faulted);
    EXPECT_EQ(f.port.writes, std::vector<std::string>{"c"});
    EXPECT_EQ(f.host.endProgram, 1);
    EXPECT_FALSE(f.s.CalibrationPending);
}

struct ChartCloseCase {
    std::int16_t autoSpect;
    const char* caption;
    std::string sent;
    const char* captionAfter;
};

class ChartClose : public ::testing::TestWithParam<ChartCloseCase> {};

// The stream state outlives the "]" until the next block arrives; closing the chart then must not
// start the stream again.
TEST_P(ChartClose, StopsTheSpectrumOnlyWhileTheButtonReadsStopSpec) {
    const ChartCloseCase& c = GetParam();
    SessionFixture f;
    f.s.D_GraphLoaded = true;
    f.s.parser.AutoSpect_status = c.autoSpect;
    f.s.cmdRptSpect.caption = c.caption;
    UnloadGraphWindow(f.s);
    EXPECT_EQ(f.port.sent, c.sent);
    EXPECT_EQ(f.s.cmdRptSpect.caption, c.captionAfter);
    EXPECT_FALSE(f.s.D_GraphLoaded);
    EXPECT_EQ(f.host.graphCloses, 1);
}

INSTANTIATE_TEST_SUITE_P(States, ChartClose,
                         ::testing::Values(ChartCloseCase{1, "StopSpec", "]", "StartSpec"},
                                           ChartCloseCase{1, "StartSpec", "", "StartSpec"},
                                           ChartCloseCase{0, "StopSpec", "", "StopSpec"},
                                           ChartCloseCase{0, "StartSpec", "", "StartSpec"}));

// The Qt windows unload again from their close events.
class ReenteringHost : public RecordingHost {
  public:
    Session* s = nullptr;
    void CloseGraphWindow() override {
        RecordingHost::CloseGraphWindow();
        UnloadGraphWindow(*s);
    }
    void CloseResultsWindow() override {
        RecordingHost::CloseResultsWindow();
        UnloadResultsWindow(*s);
    }
};

TEST(WindowUnloads, RunOncePerLoadEvenWhenReentered) {
    SessionFixture f;
    ReenteringHost host;
    host.s = &f.s;
    f.s.io.host = &host;
    LoadGraphWindow(f.s);
    f.s.parser.AutoSpect_status = 1;
    f.s.cmdRptSpect.caption = "StopSpec";
    f.s.ResultDisp_Loaded = true;
    f.s.cmdRptDist.caption = "Stop";
    UnloadGraphWindow(f.s);
    UnloadResultsWindow(f.s);
    UnloadGraphWindow(f.s);
    UnloadResultsWindow(f.s);
    EXPECT_EQ(f.port.writes, (std::vector<std::string>{"]", "}"}));
    EXPECT_EQ(host.graphCloses, 1);
    EXPECT_EQ(host.resultsCloses, 1);
}

TEST(WindowUnloads, LoadingTheChartStartsFromItsDesign) {
    SessionFixture f;
    f.s.graph.title = "old";
    f.s.graph.SetNPoints(10);
    LoadGraphWindow(f.s);
    EXPECT_TRUE(f.s.D_GraphLoaded);
    EXPECT_EQ(f.host.graphCreates, 1);
    EXPECT_EQ(f.s.graph.title, "");
    EXPECT_EQ(f.s.graph.caption, "T-Graph");
}

struct ResetCase {
    char pending;
    bool closes;
};

class ResetVariablesWindows : public ::testing::TestWithParam<ResetCase> {};

TEST_P(ResetVariablesWindows, StreamCommandsKeepTheAnswerWindows) {
    SessionFixture f;
    f.s.CommandKey = KeyCode(GetParam().pending);
    f.s.D_GraphLoaded = f.s.HistWindowLoaded = f.s.ResultDisp_Loaded = true;
    f.s.parser.AutoSpect_status = 1;
    f.s.parser.AutoResults_status = 3;
    f.s.parser.ChunkCount = 9;
    ResetVariables(f.s);
    const bool closes = GetParam().closes;
    EXPECT_EQ(f.s.D_GraphLoaded, !closes);
    EXPECT_EQ(f.s.HistWindowLoaded, !closes);
    EXPECT_EQ(f.s.ResultDisp_Loaded, !closes);
    EXPECT_EQ(f.s.parser.ChunkCount, 0);
    EXPECT_EQ(f.s.parser.AutoSpect_status, 1);
    EXPECT_EQ(f.s.parser.AutoResults_status, 3);
}

INSTANTIATE_TEST_SUITE_P(Keys, ResetVariablesWindows,
                         ::testing::Values(ResetCase{'[', false}, ResetCase{']', false},
                                           ResetCase{'{', false}, ResetCase{'}', false},
                                           ResetCase{'F', true}, ResetCase{'R', true},
                                           ResetCase{0, true}));

}  // namespace
}  // namespace sondix::test
