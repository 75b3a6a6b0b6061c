// The main window's unload: windows closed, output drained with its question, port and log
// closed.
#include <gtest/gtest.h>

#include "common/pauses.h"
#include "session_fixture.h"
#include "terminal/main_window.h"

namespace sondix::test {
namespace {

namespace P = Gen::Pauses;

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

TEST(Shutdown, WithoutPortCloseAllowedNeitherDrainsNorCloses) {
    SessionFixture f;
    f.port.outBufferCount = 5;
    f.s.PortCloseAllowed = false;
    EXPECT_TRUE(Shutdown(f.s));
    EXPECT_TRUE(f.clock.waits.empty());
    EXPECT_TRUE(f.port.open);
    EXPECT_EQ(f.host.endProgram, 1);
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
    EXPECT_EQ(f.port.writes, (std::vector<std::string>{"]", "}"}));
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
        bool faulted = false;
        auto fault = [&] {
            if (faulted) return;
            faulted = true;
            OnComm(f.s, 1004);
        };
        if (where == AbortIn::Question) {
            f.asker.whileOpen = [&] {
                if (f.asker.asked.back().text == "Data cannot be sent") fault();
            };
            f.asker.answers = {MsgAnswer::Abort, MsgAnswer::Retry};  // fault box, the question
        } else {
            f.clock.onEvents = fault;
            f.asker.answers = {MsgAnswer::Abort};
        }
        EXPECT_TRUE(Shutdown(f.s));
        ASSERT_TRUE(faulted);
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
    EXPECT_TRUE(Shutdown(f.s));  // e.g. a failure in the parser while the program ends
    EXPECT_EQ(f.asker.asked.size(), 1u);
    EXPECT_TRUE(f.port.sent.empty());
    EXPECT_TRUE(f.clock.waits.empty());
    EXPECT_TRUE(f.port.open);
    EXPECT_EQ(f.host.logCloses, 1);
}

}  // namespace
}  // namespace sondix::test
