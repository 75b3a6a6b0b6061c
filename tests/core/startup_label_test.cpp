// A start-up that stops at a refused stored setting reads no listing: the identification label
// keeps its design text.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "memory_settings_store.h"
#include "session_fixture.h"
#include "terminal/main_window.h"

namespace sondix {
namespace {

TEST(StartupLabel, ARefusedSettingLeavesTheLabelAsDesigned) {
    for (const char* key : {"Settings", "CommPort", "Handshaking"}) {
        test::SessionFixture f;
        f.port.open = false;
        f.port.settingsError = "Invalid Port Settings";
        test::MemorySettingsStore store(std::map<std::string, std::string>{{key, "99999"}});
        Startup(f.s, store, {});
        ASSERT_EQ(f.asker.asked.size(), 1U) << key;
        EXPECT_EQ(f.s.lblVerAndSerialNum, Session{}.lblVerAndSerialNum) << key;
        EXPECT_EQ(f.s.GraphHeaderStr, "") << key;
    }
}

}  // namespace
}  // namespace sondix
