// The open device as the user sees it: named in the settings panel, and a device held by
// another program reported as such.
#include <gtest/gtest.h>

#include "pty_pair.h"
#include "session_fixture.h"
#include "terminal/main_window.h"
#include "terminal/ui/mscomm.h"

namespace sondix {
namespace {

TEST(OpenDevice, TheSettingsPanelNamesItAndASecondOpenSaysItIsInUse) {
    test::PtyPair pty;
    MSComm first, second;
    for (MSComm* port : {&first, &second}) {
        port->SetEnvironmentPort("");
        port->SetPortNameSetting(pty.slavePath());
    }
    ASSERT_EQ(first.SetPortOpen(true), "");
    test::SessionFixture f;
    f.s.io.port = &first;
    EXPECT_EQ(SettingsPanelText(f.s), "Settings: " + pty.slavePath() + " 9600,n,8,1");

    const std::string why = second.SetPortOpen(true);
    EXPECT_NE(why.find("in use by another program"), std::string::npos) << why;
    EXPECT_FALSE(second.PortOpen());
}

}  // namespace
}  // namespace sondix
