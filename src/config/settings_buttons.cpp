#include "config/settings_buttons.h"

#include "config/config_screen.h"
#include "config/param_exchange.h"
#include "config/settings_file.h"
#include "terminal/main_window.h"
#include "terminal/session.h"

namespace sondix {
namespace {

constexpr const char* kSaveTitle = "Save settings";
constexpr const char* kLoadTitle = "Load settings";
constexpr const char* kCompareTitle = "Compare settings";

std::string KindName(bool velocimeter) {
    return velocimeter ? "a velocimeter" : "a distance sensor";
}

void Tell(Session& s, const char* title, const std::string& text, MsgIcon icon) {
    s.io.asker->Ask(title, text, MsgButtons::OK, icon);
}

// The file read and parsed; false (the reason shown) when it cannot be.
bool ReadSettingsFile(Session& s, const char* title, const std::string& path, SettingsFile& f) {
    std::string text;
    std::string error = ReadTextFile(path, text);
    if (error.empty()) error = ParseSettingsFile(text, f);
    if (error.empty()) return true;
    Tell(s, title, path + ": " + error, MsgIcon::Exclamation);
    return false;
}

// The sensor's listing again, so that the mirror and the screen show what it now holds.
void Reread(Session& s) {
    RefreshParameters(s);
}

}  // namespace

void SaveSettings(Session& s, const std::string& path) {
    if (path.empty()) return;
    const SettingsFile f = SettingsOf(s.mirror, s.io.clock->Now());
    const std::string error = WriteTextFile(path, FormatSettingsFile(f));
    if (!error.empty()) Tell(s, kSaveTitle, path + ": " + error, MsgIcon::Exclamation);
}

void CompareSettings(Session& s, const std::string& path) {
    SettingsFile f;
    if (path.empty() || !ReadSettingsFile(s, kCompareTitle, path, f)) return;
    std::string text;
    if (f.velocimeter != s.mirror.VelocimeterMode)
        text = "The file holds the settings of " + KindName(f.velocimeter) + ".\n";
    text += ChangesText(CompareSettings(f, s.mirror), s.mirror);
    if (text.empty()) text = "The sensor has the settings of the file.";
    Tell(s, kCompareTitle, text, MsgIcon::Information);
}

void LoadSettings(Session& s, const std::string& path) {
    SettingsFile f;
    if (path.empty() || !ReadSettingsFile(s, kLoadTitle, path, f)) return;
    ParamMirror& m = s.mirror;
    if (f.velocimeter != m.VelocimeterMode &&
        s.io.asker->Ask(kLoadTitle,
                        "The file holds the settings of " + KindName(f.velocimeter) +
                            ", the sensor is " + KindName(m.VelocimeterMode) +
                            ". Write the settings both have?",
                        MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
        return;
    const std::vector<SettingChange> changes = CompareSettings(f, m);
    if (changes.empty()) {
        Tell(s, kLoadTitle, "The sensor has the settings of the file.", MsgIcon::Information);
        return;
    }
    if (s.io.asker->Ask(kLoadTitle, "Write these settings?\n" + ChangesText(changes, m),
                        MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
        return;
    // The sensor's unit as the writes leave it, for the lengths that follow a change of unit; the
    // mirror itself changes only with the listing read afterwards.
    ParamMirror sensor = m;
    for (const SettingChange& c : changes) {
        if (!s.io.port->PortOpen() || ProgramEnding(s)) return;
        // The unit may have changed with an earlier line: lengths follow the sensor's new unit.
        // A value the sensor cannot take is not sent; it shows among the differences below.
        const std::optional<std::int16_t> sent = SensorValue(*c.param, sensor, c.file);
        if (!sent) continue;
        send_s_cmd(s, SetIndex(*c.param, sensor), *sent);
        if (c.param->member == &ParamMirror::Units) sensor.Units = *sent;
    }
    Reread(s);
    const std::vector<SettingChange> left = CompareSettings(f, m);
    if (!left.empty())
        Tell(s, kLoadTitle, "The sensor did not take:\n" + ChangesText(left, m),
             MsgIcon::Exclamation);
}

}  // namespace sondix
