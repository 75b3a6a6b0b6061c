// The port toggle, the status bar texts and the port event handler with its fault box.
#include <gtest/gtest.h>

#include "session_fixture.h"
#include "terminal/main_window.h"
#include "tracing_port.h"

namespace sondix::test {
namespace {

constexpr const char* kChoices = "  Click Abort(exit prog), Retry(reset port) or Ignore(continue)";

struct EventCase {
    int code;
    std::string eventText;
    std::string errorText;
};

class PortEventMessages : public ::testing::TestWithParam<EventCase> {};

TEST_P(PortEventMessages, EventsGoToTheStatusPanelErrorsToTheFaultBox) {
    const EventCase& c = GetParam();
    SessionFixture f;
    OnComm(f.s, c.code);
    if (!c.eventText.empty()) {
        EXPECT_EQ(f.host.statusPanel, "Status: " + c.eventText);
        EXPECT_EQ(f.host.statusTimerStarts, 1);
        EXPECT_TRUE(f.asker.asked.empty());
        return;
    }
    EXPECT_EQ(f.host.statusPanel, "Status: " + c.errorText);
    ASSERT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.asker.asked[0].title, "MSComm Fault");
    EXPECT_EQ(f.asker.asked[0].text, c.errorText + kChoices);
    EXPECT_EQ(f.asker.asked[0].buttons, MsgButtons::AbortRetryIgnore);
    EXPECT_EQ(f.asker.beeps, 1);
    EXPECT_EQ(f.host.statusTimerStarts, 1);
    EXPECT_FALSE(f.s.FaultDialogShown);
    EXPECT_TRUE(f.port.open);  // Ignore
}

INSTANTIATE_TEST_SUITE_P(
    Codes, PortEventMessages,
    ::testing::Values(
        EventCase{3, "Change in CTS Detected", ""}, EventCase{4, "Change in DSR Detected", ""},
        EventCase{5, "Change in CD Detected", ""}, EventCase{6, "The Phone is Ringing", ""},
        EventCase{7, "End of File Detected", ""}, EventCase{1001, "", "Break Received"},
        EventCase{1002, "", "CTS Timeout"}, EventCase{1003, "", "DSR Timeout"},
        EventCase{1004, "", "Framing Error"}, EventCase{1005, "", "Unknown error or event"},
        EventCase{1006, "", "Overrun Error"}, EventCase{1007, "", "Carrier Detect Timeout"},
        EventCase{1008, "", "Receive Buffer Overflow"}, EventCase{1009, "", "Parity Error"},
        EventCase{1010, "", "Transmit Buffer Full"}, EventCase{1011, "", "Error retrieving DCB"},
        EventCase{0, "", "Unknown error or event"}, EventCase{4242, "", "Unknown error or event"}));

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

TEST(PortEvents, SendAndReceiveEventsShowNothingAndMessagesAreNotRepeated) {
    SessionFixture f;
    OnComm(f.s, 1);
    OnComm(f.s, 3);
    OnComm(f.s, 1004);
    f.port.input = "Hello";
    OnComm(f.s, 2);
    EXPECT_EQ(f.host.statusTimerStarts, 2);  // one for the event, one after the box
    EXPECT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.host.statusPanel, "Status: Framing Error");
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

TEST(FaultBox, AbortEndsWithoutDrainingOrClosing) {
    SessionFixture f;
    f.port.outBufferCount = 10;
    f.asker.answers = {MsgAnswer::Abort};
    OnComm(f.s, 1004);
    EXPECT_FALSE(f.s.PortCloseAllowed);
    EXPECT_EQ(f.host.endProgram, 1);
    EXPECT_EQ(f.asker.asked.size(), 1u);
    EXPECT_TRUE(f.clock.waits.empty());
}

TEST(FaultBox, RetryClosesAndReopens) {
    SessionFixture f;
    TracingPort port(f.clock);
    port.open = true;
    f.s.io.port = &port;
    f.asker.answers = {MsgAnswer::Retry};
    OnComm(f.s, 1004);
    EXPECT_EQ(port.trace, (std::vector<std::string>{"close buffered=0", "open buffered=0"}));
    EXPECT_TRUE(port.open);
    EXPECT_EQ(f.host.portStateChanges, 2);
}

TEST(FaultBox, LostDeviceTurnsTheLampRedFirstAndRetryReopens) {
    SessionFixture f;
    TracingPort port(f.clock);
    port.open = false;  // the serial layer has closed it
    port.lastError = "No such device";
    f.s.io.port = &port;
    f.s.AutoReconnect = false;  // the box, not the quiet wait for the device
    int lampUpdatesBeforeBox = -1;
    f.asker.whileOpen = [&] { lampUpdatesBeforeBox = f.host.portStateChanges; };
    f.asker.answers = {MsgAnswer::Retry};
    OnComm(f.s, kCommDeviceLost);
    ASSERT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.asker.asked[0].text, std::string("Port closed: No such device") + kChoices);
    EXPECT_EQ(lampUpdatesBeforeBox, 1);
    EXPECT_EQ(port.trace, (std::vector<std::string>{"open buffered=0"}));
    EXPECT_TRUE(port.open);
}

TEST(FaultBox, RetryWhenTheReopenFailsShowsWhyAndLeavesTheLampRed) {
    SessionFixture f;
    f.port.openError = "Port not found";
    f.asker.answers = {MsgAnswer::Retry};
    OnComm(f.s, 1004);
    ASSERT_EQ(f.asker.asked.size(), 2u);
    EXPECT_EQ(f.asker.asked[1].title, kProgramTitle);
    EXPECT_EQ(f.asker.asked[1].text, "Port not found");
    EXPECT_EQ(f.asker.asked[1].icon, MsgIcon::Exclamation);
    EXPECT_FALSE(f.port.open);
    EXPECT_EQ(f.host.portStateChanges, 2);
    EXPECT_EQ(SettingsPanelText(f.s), "Settings: ");
}

TEST(PortToggle, OpeningStartsTheConnectTime) {
    SessionFixture f;
    f.port.open = false;
    PortToggle(f.s);
    EXPECT_TRUE(f.port.open);
    EXPECT_EQ(SettingsPanelText(f.s), "Settings: 9600,n,8,1");
    f.clock.now += 3725.9;
    EXPECT_EQ(ConnectTimeText(f.s), " 01:02:05");
    f.clock.now += 86400;
    EXPECT_EQ(ConnectTimeText(f.s), " 01:02:05");
    PortToggle(f.s);
    EXPECT_FALSE(f.port.open);
    EXPECT_EQ(ConnectTimeText(f.s), "");
    EXPECT_EQ(f.host.portStateChanges, 2);
}

}  // namespace
}  // namespace sondix::test
