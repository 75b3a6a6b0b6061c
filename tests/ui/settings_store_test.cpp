// The per-user settings file: "Settings" written by hand without quotes (read by QSettings as a
// list), written by the program (quoted), or unusable, reaches the port or its error box.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "session_fixture.h"
#include "terminal/comm_settings.h"
#include "terminal/main_window.h"
#include "terminal/ui/qt_platform.h"

namespace sondix {
namespace {

// A port that refuses what the serial line cannot carry, as the real one does.
class CheckingPort : public RecordingPort {
  public:
    std::string SetSettings(std::string_view text) override {
        CommSettings parsed;
        const std::string error = ParseCommSettings(text, parsed);
        if (error.empty()) settings = text;
        return error;
    }
};

struct StoredCase {
    const char* line;      // as written in Sondix.conf
    const char* settings;  // what the port gets; "" when refused
};

const StoredCase kStored[] = {
    {"Settings=19200,o,7,1", "19200,o,7,1"},  // the README's form: a list to QSettings
    {"Settings=\"2400,e,8,2\"", "2400,e,8,2"},
    {"Settings=@Rect(1 2 3 4)", ""},
};

TEST(SettingsStore, AStoredSettingReachesThePortOrItsErrorBox) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QDir(dir.path()).mkpath("Sondix");
    for (const StoredCase& c : kStored) {
        QFile file(dir.path() + "/Sondix/Sondix.conf");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("[Properties]\n") + c.line + "\n");
        file.close();
        QtSettingsStore store;
        test::SessionFixture f;
        CheckingPort port;
        port.settings.clear();
        f.s.io.port = &port;
        const bool usable = *c.settings != 0;
        EXPECT_EQ(ApplyStoredSettings(f.s, store), usable) << c.line;
        EXPECT_EQ(f.asker.asked.size(), usable ? 0U : 1U) << c.line;
        if (!usable) continue;
        EXPECT_EQ(port.settings, c.settings) << c.line;

        // What the program writes reads back the same.
        store.Set("Properties", "Settings", c.settings);
        QtSettingsStore again;
        EXPECT_EQ(again.Get("Properties", "Settings"), c.settings) << c.line;
    }
}

}  // namespace
}  // namespace sondix
