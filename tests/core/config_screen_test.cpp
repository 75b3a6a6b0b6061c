// The configuration screen's guards against the user acting inside one of its own waits: a
// second refresh, closing the screen, a second calibration; and what Load settings writes to the
// sensor, in which order, and when it writes nothing. (Its rules are checked through sondix-cli
// in tests/cli/config_screen_test.cpp.)
#include <gtest/gtest.h>

#include <functional>

#include "common/pauses.h"
#include "config/config_screen.h"
#include "config/read_par.h"
#include "config/settings_buttons.h"
#include "config/settings_file.h"
#include "core_support.h"
#include "terminal/main_window.h"
#include "test_files.h"

namespace sondix {
namespace {

// A second refresh during the first is ignored; closed during its load, the screen reads the
// sensor again when reopened; "Calibrate" clicked during the pause before the code starts no
// second calibration.
TEST(ConfigScreen, ClicksInsideItsOwnWaits) {
    test::SessionFixture f;
    const auto during = [&f](double wait, std::function<void()> act) {
        test::OnceDuring(
            f, [&f, wait] { return !f.clock.waits.empty() && f.clock.waits.back() == wait; }, act);
    };
    during(Gen::Pauses::kRefresh, [&f] { ConfigClick(f.s, "cmdRefreshPar"); });
    cmdConfig_Click(f.s);
    EXPECT_EQ(f.port.sent, "P");
    EXPECT_EQ(f.s.config.cmdRefreshPar.face, kConfigButtonFace);
    cmdConfig_Click(f.s);  // closed
    during(Gen::Pauses::kRefresh, [&f] { cmdConfig_Click(f.s); });
    cmdConfig_Click(f.s);
    EXPECT_FALSE(f.host.configWindow);
    EXPECT_EQ(f.s.mirror.FirstInitDone, 0);
    f.clock.onEvents = nullptr;
    cmdConfig_Click(f.s);
    EXPECT_TRUE(f.host.configWindow);
    EXPECT_EQ(f.port.sent, "PPP");
    EXPECT_EQ(f.s.mirror.FirstInitDone, 1);
    f.asker.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    during(Gen::Pauses::kBeforeValue, [&f] { ConfigClick(f.s, "cmdCalibrate"); });
    ConfigClick(f.s, "cmdCalibrate");
    EXPECT_EQ(f.port.sent, "PPPc417");
    EXPECT_EQ(f.asker.asked.size(), 1u);
    EXPECT_FALSE(f.s.config.CalibrationBusy);
}

// Long-range firmware in unit 0 takes centimetres, in unit 2 millimetres: the unit goes first,
// lengths in the new unit (4000 mm). No answers Yes to the question, or a file of the other
// variant: nothing is sent. No listing comes back: the box names the settings not taken.
TEST(LoadSettings, WritesTheUnitFirstAndLengthsInTheNewUnit) {
    for (const auto& [otherVariant, answer, sent] :
         {std::tuple{false, MsgAnswer::Yes, "s18000002s19000005s23004000P"},
          {false, MsgAnswer::No, ""},
          {true, MsgAnswer::No, ""}}) {
        test::SessionFixture h;
        ReadPar(h.s.mirror, test::Capture("listing.cap"));
        SettingsFile file = SettingsOf(h.s.mirror, {});
        file.velocimeter = otherVariant;
        for (SettingValue& v : file.values) {
            if (v.name == "Units") v.value = 2;
            if (v.name == "Damping") v.value = 5;
            if (v.name == "Set__4") v.value = 4000;
        }
        const std::string path = test::WriteFile("load_settings.txt", FormatSettingsFile(file));
        h.asker.answers = {answer};
        LoadSettings(h.s, path);
        EXPECT_EQ(h.port.sent, sent);
        EXPECT_EQ(
            h.asker.asked.size() > 1 && h.asker.asked[1].text.find("Set__4") != std::string::npos,
            *sent != 0);
    }
}

}  // namespace
}  // namespace sondix
