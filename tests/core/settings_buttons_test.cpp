// The configuration screen's Load settings: what it writes to the sensor, in which order, and
// when it writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/read_par.h"
#include "config/settings_buttons.h"
#include "config/settings_file.h"
#include "terminal/headless_io.h"

namespace sondix {
namespace {

std::string Listing() {
    std::ostringstream buf;
    buf << std::ifstream(std::string(SONDIX_TEST_DATA) + "/listing.cap", std::ios::binary).rdbuf();
    return buf.str();
}

std::string SettingsPath(const ParamMirror& m, bool velocimeter) {
    SettingsFile f = SettingsOf(m, {});
    f.velocimeter = velocimeter;
    for (SettingValue& v : f.values) {
        if (v.name == "Units") v.value = 2;
        if (v.name == "Damping") v.value = 5;
        if (v.name == "Set__4") v.value = 4000;
    }
    std::filesystem::create_directories(SONDIX_TEST_OUT);
    const std::string path = std::string(SONDIX_TEST_OUT) + "/load_settings.txt";
    std::ofstream(path, std::ios::binary) << FormatSettingsFile(f);
    return path;
}

TEST(LoadSettings, WritesTheUnitFirstAndLengthsInTheNewUnit) {
    const struct {
        bool otherVariant;
        std::vector<MsgAnswer> answers;
        const char* sent;
    } cases[] = {
        // Long-range firmware in unit 0 takes centimetres, in unit 2 millimetres: 4000 mm.
        {false, {MsgAnswer::Yes}, "s18000002s19000005s23004000P"},
        {false, {MsgAnswer::No}, ""},
        {true, {MsgAnswer::No}, ""},
    };
    for (const auto& c : cases) {
        HeadlessSession h;
        ReadPar(h.s.mirror, Listing());
        const std::string path = SettingsPath(h.s.mirror, c.otherVariant);
        h.asker.answers.assign(c.answers.begin(), c.answers.end());
        LoadSettings(h.s, path);
        EXPECT_EQ(h.port.sent, c.sent);
        if (*c.sent != 0) {
            // No listing came back: the box names the three settings the sensor did not take.
            ASSERT_EQ(h.asker.asked.size(), 2u);
            EXPECT_NE(h.asker.asked[1].text.find("Set__4"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace sondix
