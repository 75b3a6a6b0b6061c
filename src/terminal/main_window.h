// The main window's behaviour: start-up, shutdown, the serial link and its events, the pending
// command, the keyboard terminal and the command buttons. The Qt window forwards its events here.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "terminal/session.h"
#include "terminal/window_host.h"

namespace sondix {

// The program's command line split into arguments (runs of blanks and tabs separate them).
std::vector<std::string> GetCommandLine(std::string_view commandLine, int maxArgs = 10);

// The access code: the mirror's Password as three digits, or "417" while it is negative.
std::string PasswordText(const Session& s);

// Window load. `args` are the command-line arguments (without the program name).
void Startup(Session& s, SettingsStore& store, const std::vector<std::string>& args);

// Window unload. Returns false when the user chose Abort at "Data cannot be sent" (the window
// stays); otherwise the port and the log are closed and host EndProgram() has been called.
bool Shutdown(Session& s);

// The port toggle of the menu and the lamp.
void PortToggle(Session& s);
// Timer1 tick: the "ConnectTime" panel text, " hh:nn:ss".
std::string ConnectTimeText(const Session& s);
// The "Settings" panel text.
std::string SettingsPanelText(const Session& s);
// Port event with its code (2 = data received: reads Input and runs ShowData).
void OnComm(Session& s, int commEvent);
// The message of an event code: first = EventText (codes 3..7), second = ErrorText.
std::pair<std::string, std::string> CommEventText(int commEvent);

void ResetVariables(Session& s);

// Window unloads that the core runs (they close the Qt window through the host).
void LoadGraphWindow(Session& s);
void UnloadGraphWindow(Session& s);
void UnloadResultsWindow(Session& s);
void UnloadHistWindow(Session& s);

// Keyboard. Returns true when the key is consumed (not inserted into the box).
bool txtTerm_KeyPress(Session& s, char key);
void txtParse_Enter(Session& s, std::string_view text);

// Command buttons.
void cmdRefresh_Click(Session& s);  // RefreshUnitInfo
void RefreshUnitInfo(Session& s);
void cmdRptDist_Click(Session& s);
void cmdRamp_Click(Session& s);
void cmdScope_Click(Session& s);
void cmdRptSpect_Click(Session& s);
void cmdSpect_Click(Session& s);
void cmdHist_Click(Session& s);
void cmdConfig_Click(Session& s);
void cmdCalibrate_Click(Session& s);

}  // namespace sondix
