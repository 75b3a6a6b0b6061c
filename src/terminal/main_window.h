// The main window's behaviour: start-up, shutdown, the serial link and its events, the pending
// command, the keyboard terminal and the command buttons. The Qt window forwards its events here.
#pragma once

#include <cstdint>
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
// stays); otherwise the log and, when PortCloseAllowed, the drained port are closed and host
// EndProgram() has been called, by this shutdown or by the one that a fault box's Abort ran
// during its waits.
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

// Sondix's own event code: the serial layer closed the port because the device went away (an
// unplugged USB adapter, a closed pseudo-terminal). The port's LastErrorText() says why.
inline constexpr int kCommDeviceLost = 1100;

// A lost device while AutoReconnect is on: no fault box, the status panel says why and that the
// device is awaited; ReconnectTick (about once a second while ReconnectPending) reopens it when
// it is back, sending nothing. ReconnectTick returns whether to keep ticking.
void AwaitLostDevice(Session& s, std::string_view why);
bool ReconnectTick(Session& s);

// The fault box's Retry: close the port if it is open, then open it, with the toggle's messages.
void ResetPort(Session& s);
// The answer to a fault box (port fault, transfer too long): Abort ends the program without
// draining the output, Retry resets the port, Ignore goes on.
void AnswerFaultBox(Session& s, MsgAnswer answer);
// A port or settings failure: the error text in an exclamation box titled with the program title.
void ShowPortError(Session& s, std::string_view text);
// Waits while the output buffer holds characters, at most `seconds`; true when it drained. Gives
// up at once (false) when the program starts ending during the wait.
bool DrainOutput(Session& s, double seconds);
// A fault box's Abort (the port's, or the parser's for an answer that never ends) has run the
// shutdown that ends the program without draining: it clears PortCloseAllowed first, and only the
// window's start-up or a new close of the window sets it again. Operations that were waiting when
// that happened stop instead of going on with the port.
inline bool ProgramEnding(const Session& s) {
    return !s.PortCloseAllowed;
}

// Start-up pieces. ApplyStoredSettings reads "Settings", "CommPort", "Handshaking" and "Echo"
// from section "Properties"; false when a port setting failed (its box has been shown).
bool ApplyStoredSettings(Session& s, SettingsStore& store);
// A stored boolean: "True"/"False" in any case, or a number (non-zero is true); else false.
bool ParseSettingBool(std::string_view text);
// The window-level and parser state back to the values the window starts with.
void ResetStartValues(Session& s);

void ResetVariables(Session& s);
// The pending command's code of a typed or sent character (Latin-1, 0..255).
std::int16_t KeyCode(char c);
// "[", "]", "{", "}": the stream commands, which leave the answer windows open.
bool IsStreamCommand(std::int16_t commandKey);

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
// The identification label and the chart header text from the mirror (no query).
void ShowUnitInfo(Session& s);
// Before a command whose answer opens a window: the results window and a streaming chart go.
void PrepareForCommand(Session& s);
// A running spectrum stream ends with "]" (its chart closes) before another command is sent.
void StopSpectrumStreamForCommand(Session& s);
void cmdRptDist_Click(Session& s);
void cmdRamp_Click(Session& s);
void cmdScope_Click(Session& s);
void cmdRptSpect_Click(Session& s);
void cmdSpect_Click(Session& s);
void cmdHist_Click(Session& s);
void cmdConfig_Click(Session& s);
void cmdCalibrate_Click(Session& s);

}  // namespace sondix
