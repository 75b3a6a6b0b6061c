// Typed keys, the pending command they set, and Enter in the parse box.
#include <gtest/gtest.h>

#include "session_fixture.h"
#include "terminal/main_window.h"
#include "tracing_port.h"

namespace sondix::test {
namespace {

struct KeyCase {
    char pending;
    char key;
    bool echo;
    // Expected:
    std::string sent;
    char pendingAfter;
    bool consumed;
};

class TerminalKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(TerminalKey, SendsOrDropsAndAlwaysResetsTheAnswer) {
    const KeyCase& c = GetParam();
    SessionFixture f;
    f.s.CommandKey = KeyCode(c.pending);
    f.s.Echo = c.echo;
    f.s.parser.GraphState = 2;
    f.s.parser.AnswerText = "partial";
    f.s.CalibrationPending = true;
    f.s.cmdCalibrate.enabled = false;
    f.s.cmdCalibrate.face = kActiveButton;

    EXPECT_EQ(txtTerm_KeyPress(f.s, c.key), c.consumed);
    EXPECT_EQ(f.port.sent, c.sent);
    EXPECT_EQ(f.s.CommandKey, KeyCode(c.pendingAfter));
    EXPECT_EQ(f.s.parser.GraphState, 0);
    EXPECT_EQ(f.s.parser.AnswerText, "");
    // A key that reaches the sensor ends a pending calibration.
    EXPECT_EQ(f.s.CalibrationPending, c.sent.empty());
    EXPECT_EQ(f.s.cmdCalibrate.enabled, !c.sent.empty());
    EXPECT_EQ(f.s.cmdCalibrate.face, c.sent.empty() ? kActiveButton : f.s.SaveColor);
}

INSTANTIATE_TEST_SUITE_P(Keys, TerminalKey,
                         ::testing::Values(KeyCase{'[', 'x', false, "", '[', true},
                                           KeyCase{'[', ']', false, "]", ']', true},
                                           KeyCase{'[', 'R', false, "R", 'R', true},
                                           KeyCase{'[', 'r', true, "", '[', false},
                                           KeyCase{0, 'x', false, "x", 'x', true},
                                           KeyCase{'{', 'x', true, "x", 'x', false},
                                           KeyCase{'F', '\xE9', true, "\xE9", '\xE9', false}));

TEST(TerminalKey, ClosedPortLeavesEverythingAlone) {
    SessionFixture f;
    f.port.open = false;
    f.s.CommandKey = 'F';
    f.s.parser.GraphState = 2;
    EXPECT_FALSE(txtTerm_KeyPress(f.s, 'x'));
    EXPECT_EQ(f.s.CommandKey, 'F');
    EXPECT_EQ(f.s.parser.GraphState, 2);
}

TEST(TerminalKey, NonStreamKeyClosesTheAnswerWindowsAndMovesTheCaret) {
    SessionFixture f;
    f.term.text = "abc";
    f.s.D_GraphLoaded = true;
    f.s.HistWindowLoaded = true;
    txtTerm_KeyPress(f.s, 'D');
    EXPECT_EQ(f.host.graphCloses, 1);
    EXPECT_EQ(f.host.histCloses, 1);
    EXPECT_EQ(f.term.selStart, 3);
}

struct ParseFixture : SessionFixture {
    TracingPort tport{clock};
    ParseFixture() {
        tport.open = true;
        s.io.port = &tport;
    }
};

TEST(ParseEnter, DrainsTheIBeforeClosingThenSendsTheLine) {
    ParseFixture f;
    f.tport.outBufferCount = 3;
    f.clock.onEvents = [&f] { f.tport.outBufferCount = std::max(0, f.tport.outBufferCount - 1); };
    txtParse_Enter(f.s, "abc");
    EXPECT_EQ(f.tport.trace, (std::vector<std::string>{"out I", "close buffered=0",
                                                       "open buffered=0", "out abc\n"}));
    EXPECT_EQ(f.s.CommandKey, 0);
}

TEST(ParseEnter, ABufferThatNeverDrainsIsClosedAfterTheLimit) {
    ParseFixture f;
    f.tport.outBufferCount = 1;
    const double start = f.clock.now;
    txtParse_Enter(f.s, "x");
    EXPECT_NEAR(f.clock.now - start, 3.0, 0.06);
    EXPECT_EQ(f.tport.writes, (std::vector<std::string>{"I", "x\n"}));
}

TEST(ParseEnter, ReopenFailureIsShownAndNothingMoreIsWritten) {
    ParseFixture f;
    f.tport.openError = "Port vanished";
    txtParse_Enter(f.s, "abc");
    EXPECT_EQ(f.tport.writes, std::vector<std::string>{"I"});
    ASSERT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.asker.asked[0].text, "Port vanished");
    EXPECT_EQ(f.asker.asked[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(f.host.portStateChanges, 1);
    EXPECT_FALSE(f.tport.open);
}

struct DrainEventCase {
    const char* name;
    void (*during)(Session&);  // what the event loop runs while the "I" drains
    std::vector<std::string> trace;
    bool ended;
};

class ParseEnterDuringDrain : public ::testing::TestWithParam<DrainEventCase> {};

// The port closed by its lamp, or the program ended by a fault box's Abort, while the "I"
// drains: the line is not sent and the port is not opened again.
TEST_P(ParseEnterDuringDrain, StopsAfterTheDrain) {
    const DrainEventCase& c = GetParam();
    ParseFixture f;
    f.tport.outBufferCount = 3;
    f.asker.answers = {MsgAnswer::Abort};
    bool ran = false;
    f.clock.onEvents = [&] {
        if (ran) return;
        ran = true;
        c.during(f.s);
    };
    txtParse_Enter(f.s, "abc");
    EXPECT_EQ(f.tport.trace, c.trace);
    EXPECT_EQ(f.host.endProgram, c.ended ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Events, ParseEnterDuringDrain,
    ::testing::Values(DrainEventCase{"LampClick", [](Session& s) { PortToggle(s); },
                                     std::vector<std::string>{"out I", "close buffered=3"}, false},
                      DrainEventCase{"FaultAbort", [](Session& s) { OnComm(s, 1004); },
                                     std::vector<std::string>{"out I"}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseEnter, ClosedPortSendsNothing) {
    ParseFixture f;
    f.tport.open = false;
    txtParse_Enter(f.s, "abc");
    EXPECT_TRUE(f.tport.trace.empty());
}

}  // namespace
}  // namespace sondix::test
