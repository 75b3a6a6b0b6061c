// The main window's load: settings, port, start values, service mode and the first contact with
// the sensor.
#include "common/gen_format.h"
#include "common/pauses.h"
#include "config/param_exchange.h"
#include "terminal/main_window.h"

namespace sondix {

namespace {

bool IsArgumentSeparator(char c) {
    return c == ' ' || c == '\t';
}

// Selecting the greeting makes the sensor's first output replace it.
void SelectGreeting(TextBox& term) {
    term.SetSelStart(0);
    term.SetSelLength(static_cast<long long>(term.Text().size()));
}

void HideCalibrate(Session& s) {
    s.cmdCalibrate.visible = false;
    s.cmdCalibrate.enabled = false;
    s.CalibrationPending = false;
    s.SaveColor = s.cmdCalibrate.face;
}

// The access code is compared before any listing has been read, so the mirror's starting
// (negative) password makes the default code the one that unlocks calibration.
void EnterServiceModeIfAsked(Session& s, const std::vector<std::string>& args) {
    // An option ("--log FILE") is never an access code.
    if (args.size() != 1 || args.front().starts_with("--")) return;
    if (args.front() != PasswordText(s)) return;
    s.CalibrateEnabled = true;
    s.cmdCalibrate.visible = true;
    s.cmdCalibrate.enabled = true;
}

}  // namespace

std::vector<std::string> GetCommandLine(std::string_view commandLine, int maxArgs) {
    std::vector<std::string> args;
    std::size_t i = 0;
    while (static_cast<int>(args.size()) < maxArgs) {
        while (i < commandLine.size() && IsArgumentSeparator(commandLine[i]))
            ++i;
        if (i >= commandLine.size()) break;
        const std::size_t start = i;
        while (i < commandLine.size() && !IsArgumentSeparator(commandLine[i]))
            ++i;
        args.emplace_back(commandLine.substr(start, i - start));
    }
    return args;
}

std::string PasswordText(const Session& s) {
    const float password = s.mirror.Password;
    if (!(password >= 0)) return "417";
    return Gen::Format(password, "000");
}

void Startup(Session& s, SettingsStore& store, const std::vector<std::string>& args) {
    s.mirror.FirstInitDone = 0;
    s.mirror.VelocimeterMode = false;
    s.PortCloseAllowed = true;
    s.FaultDialogShown = false;
    SelectGreeting(*s.io.term);

    // A port setting that fails leaves the port closed; the window still gets its working state
    // so that nothing later divides by a zero scale, but nothing is sent.
    const bool portReady = ApplyStoredSettings(s, store);
    if (portReady) PortToggle(s);

    ResetStartValues(s);
    HideCalibrate(s);
    EnterServiceModeIfAsked(s, args);
    s.io.host->ButtonsChanged();

    if (portReady) {
        // A fault box answered Abort during a pause has ended the program: nothing more is sent.
        s.io.clock->Wait(Gen::Pauses::kStartup);
        if (ProgramEnding(s)) return;
        send_cmd(s, "E");
        s.io.clock->Wait(Gen::Pauses::kStartup);
        if (ProgramEnding(s)) return;
    }

    // The window is on the screen during the pauses, so "Results" may have been clicked: closing
    // its window properly stops that stream and restores the button, where clearing the flag
    // alone would leave a window and a "Stop" that nothing could stop any more.
    UnloadResultsWindow(s);
    s.parser.AutoSpect_status = 0;
    s.GraphHeaderStr.clear();

    // Without a port no listing can be read: the label keeps its design text.
    if (portReady) RefreshUnitInfo(s);
}

}  // namespace sondix
