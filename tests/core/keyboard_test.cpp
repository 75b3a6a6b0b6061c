// Typed keys, the pending command they set, and Enter in the parse box.
#include <gtest/gtest.h>

#include "session_fixture.h"
#include "terminal/main_window.h"
#include "tracing_port.h"

namespace sondix::test {
namespace {

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
    EXPECT_EQ(f.host.portStateChanges, 1);
    EXPECT_FALSE(f.tport.open);
}

// The port closed by its lamp, or the program ended by a fault box's Abort, while the "I"
// drains: the line is not sent and the port is not opened again.
TEST(ParseEnter, StopsAfterTheDrainWhenThePortWasClosedOrTheProgramEnded) {
    using V = std::vector<std::string>;
    for (const bool abort : {false, true}) {
        ParseFixture f;
        f.tport.outBufferCount = 3;
        f.asker.answers = {MsgAnswer::Abort};
        bool ran = false;
        f.clock.onEvents = [&] {
            if (ran) return;
            ran = true;
            if (abort) {
                OnComm(f.s, 1004);
            } else {
                PortToggle(f.s);
            }
        };
        txtParse_Enter(f.s, "abc");
        EXPECT_EQ(f.tport.trace, (abort ? V{"out I"} : V{"out I", "close buffered=3"}));
        EXPECT_EQ(f.host.endProgram, abort ? 1 : 0);
    }
}

TEST(ParseEnter, ClosedPortSendsNothing) {
    ParseFixture f;
    f.tport.open = false;
    txtParse_Enter(f.s, "abc");
    EXPECT_TRUE(f.tport.trace.empty());
}

}  // namespace
}  // namespace sondix::test
