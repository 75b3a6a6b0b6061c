// A lost device ends the streams as the user sees them: the buttons return to their idle faces
// and the results window's last value is marked stale.
#include <gtest/gtest.h>

#include "session_fixture.h"
#include "terminal/main_window.h"

namespace sondix {
namespace {

TEST(LostDevice, StreamButtonsGoIdleAndTheResultsValueIsStale) {
    const Session idle;
    for (void (*start)(Session&) : {cmdRptDist_Click, cmdRptSpect_Click}) {
        test::SessionFixture f;
        start(f.s);
        f.s.results.txtOutputvalue = "5112.5";
        f.port.open = false;
        OnComm(f.s, kCommDeviceLost);
        EXPECT_EQ(f.s.cmdRptSpect.caption, idle.cmdRptSpect.caption);
        EXPECT_EQ(f.s.cmdRptDist.caption, idle.cmdRptDist.caption);
        EXPECT_EQ(f.s.cmdRptDist.face, f.s.SaveColor);
        EXPECT_EQ(f.s.cmdRptSpect.face, f.s.SaveColor);
        EXPECT_EQ(f.s.results.stale, f.s.ResultDisp_Loaded);
        EXPECT_EQ(f.s.results.txtOutputvalue, "5112.5");
        EXPECT_EQ(f.asker.asked.size(), 1U);
    }
}

}  // namespace
}  // namespace sondix
