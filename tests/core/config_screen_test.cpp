// The configuration screen's guards against the user acting inside one of its own waits: a
// second refresh, closing the screen, a second calibration. (Its rules are checked through
// sondix-cli in tests/cli/config_screen_test.cpp.)
#include <gtest/gtest.h>

#include <functional>

#include "common/pauses.h"
#include "config/config_screen.h"
#include "session_fixture.h"
#include "terminal/main_window.h"

namespace sondix {
namespace {

// Runs `act` once, at the first event pass inside a wait of `seconds`.
void DuringWait(test::SessionFixture& f, double seconds, std::function<void()> act) {
    f.clock.onEvents = [&f, seconds, act, done = false]() mutable {
        if (done || f.clock.waits.empty() || f.clock.waits.back() != seconds) return;
        done = true;
        act();
    };
}

TEST(ConfigScreen, SecondRefreshDuringTheFirstIsIgnored) {
    test::SessionFixture f;
    DuringWait(f, Gen::Pauses::kRefresh, [&f] { ConfigClick(f.s, "cmdRefreshPar"); });
    cmdConfig_Click(f.s);
    EXPECT_EQ(f.port.sent, "P");
    EXPECT_EQ(f.s.config.cmdRefreshPar.face, kConfigButtonFace);
}

TEST(ConfigScreen, ClosedDuringItsLoadReadsTheSensorAgainWhenReopened) {
    test::SessionFixture f;
    DuringWait(f, Gen::Pauses::kRefresh, [&f] { cmdConfig_Click(f.s); });
    cmdConfig_Click(f.s);
    EXPECT_FALSE(f.host.configWindow);
    EXPECT_EQ(f.s.mirror.FirstInitDone, 0);
    f.clock.onEvents = nullptr;
    cmdConfig_Click(f.s);
    EXPECT_TRUE(f.host.configWindow);
    EXPECT_EQ(f.port.sent, "PP");
    EXPECT_EQ(f.s.mirror.FirstInitDone, 1);
}

TEST(ConfigScreen, CalibrateClickedDuringThePauseBeforeTheCodeStartsNoSecondCalibration) {
    test::SessionFixture f;
    cmdConfig_Click(f.s);
    f.asker.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    DuringWait(f, Gen::Pauses::kBeforeValue, [&f] { ConfigClick(f.s, "cmdCalibrate"); });
    ConfigClick(f.s, "cmdCalibrate");
    EXPECT_EQ(f.port.sent, "Pc417");
    EXPECT_EQ(f.asker.asked.size(), 1u);
    EXPECT_FALSE(f.s.config.CalibrationBusy);
}

}  // namespace
}  // namespace sondix
