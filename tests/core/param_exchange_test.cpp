// Command letters and parameter writes on the wire, with their pauses.
#include <gtest/gtest.h>

#include "common/pauses.h"
#include "config/param_exchange.h"
#include "session_fixture.h"
#include "tracing_port.h"

namespace sondix::test {
namespace {

namespace P = Gen::Pauses;

TEST(SendSCmd, TwoDigitIndexAndSixCharacterValue) {
    const struct {
        std::int16_t index, value;
        const char* wire;
    } cases[] = {{23, 400, "23000400"},   {47, -1500, "47-01500"}, {30, 3, "30000003"},
                 {5, 0, "05000000"},      {82, -1, "82-00001"},    {0, 32767, "00032767"},
                 {99, -32768, "99-32768"}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatSetValue(c.index, c.value), c.wire);
}

// The letter, a pause, then index and value in one piece; nothing for a bad index or a closed port.
TEST(SendSCmd, LetterPauseThenIndexAndValueInOnePiece) {
    const struct {
        std::int16_t index, value;
        bool portOpen;
        std::vector<std::string> writes;
    } cases[] = {{30, 3, true, {"s", "30000003"}},
                 // clang-format off
                                           {47, -1500, true, {"s", "47-01500"}},
                                           {99, 12, true, {"s", "99000012"}},
                                           {100, 3, true, {}}, {-1, 3, true, {}},
                 // clang-format on
                 {30, 3, false, {}}};
    for (const auto& c : cases) {
        SessionFixture f;
        TracingPort port(f.clock);
        port.open = c.portOpen;
        f.s.io.port = &port;
        const double start = f.clock.now;
        send_s_cmd(f.s, c.index, c.value);
        EXPECT_EQ(port.writes, c.writes) << c.index;
        if (c.writes.empty()) {
            EXPECT_TRUE(f.clock.waits.empty());
            continue;
        }
        EXPECT_EQ(port.writeTimes, (std::vector<double>{start, start + 1.0}));
        EXPECT_EQ(f.clock.waits, (std::vector<double>{P::kBeforeValue, P::kAfterCommand}));
    }
}

TEST(SendSCmd, WriteErrorIsShownAndTheWriteStillFinishes) {
    SessionFixture f;
    f.port.outputError = "Device not ready";
    f.s.parser.GraphState = 2;
    send_s_cmd(f.s, 19, 4);
    ASSERT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.asker.asked[0].text, "send_s_cmd error: Device not ready");
    EXPECT_EQ(f.s.parser.GraphState, 0);
    EXPECT_EQ(f.clock.waits.back(), P::kAfterCommand);
}

TEST(SendCmd, WritesTheFirstLetterAndMakesItPending) {
    SessionFixture f;
    f.s.CommandKey = 'x';
    send_cmd(f.s, "Pxyz");
    EXPECT_EQ(f.port.writes, std::vector<std::string>{"P"});
    EXPECT_EQ(f.s.CommandKey, 'P');
    EXPECT_EQ(f.clock.waits, std::vector<double>{P::kAfterCommand});
}

TEST(SendCmd, ClosedPortDoesNothingAtAll) {
    SessionFixture f;
    f.port.open = false;
    f.s.CommandKey = 'x';
    f.s.parser.GraphState = 2;
    send_cmd(f.s, "P");
    EXPECT_EQ(f.s.CommandKey, 'x');
    EXPECT_EQ(f.s.parser.GraphState, 2);
    EXPECT_TRUE(f.clock.waits.empty());
}

TEST(SendCmd, WriteErrorBoxThenTheCommandStillCounts) {
    SessionFixture f;
    f.port.outputError = "Write timeout";
    send_cmd(f.s, "D");
    ASSERT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.asker.asked[0].text, "send_s_cmd error: Write timeout");
    EXPECT_EQ(f.s.CommandKey, 'D');
}

}  // namespace
}  // namespace sondix::test
