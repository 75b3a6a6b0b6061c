// Opening and closing the serial link, and what the status bar shows about it.
#include "common/gen_format.h"
#include "common/gen_number.h"
#include "common/pauses.h"
#include "terminal/main_window.h"

namespace sondix {

void ShowPortError(Session& s, std::string_view text) {
    s.io.asker->Ask(kProgramTitle, text, MsgButtons::OK, MsgIcon::Exclamation);
}

void PortToggle(Session& s) {
    CommPort& port = *s.io.port;
    const std::string error = port.SetPortOpen(!port.PortOpen());
    if (!error.empty()) ShowPortError(s, error);
    // The display follows whatever state the port ended in, failed toggle or not.
    if (port.PortOpen()) s.StartTime = s.io.clock->Monotonic();
    s.io.host->PortStateChanged();
}

void ResetPort(Session& s) {
    // Toggling twice would leave a port that the device's loss already closed shut; close only
    // what is open, then open, so Retry always ends with an attempt to open.
    if (s.io.port->PortOpen()) PortToggle(s);
    if (!s.io.port->PortOpen()) PortToggle(s);
}

void AnswerFaultBox(Session& s, MsgAnswer answer) {
    if (answer == MsgAnswer::Abort) {
        s.PortCloseAllowed = false;
        Shutdown(s);
    } else if (answer == MsgAnswer::Retry) {
        ResetPort(s);
    }
}

std::string SettingsPanelText(const Session& s) {
    if (!s.io.port->PortOpen()) return "Settings: ";
    // The device too: with several adapters the user sees which one is talking.
    const std::string device = s.io.port->DeviceName();
    return "Settings: " + (device.empty() ? "" : device + " ") + s.io.port->Settings();
}

std::string ConnectTimeText(const Session& s) {
    if (!s.io.port->PortOpen()) return {};
    const double elapsed = s.io.clock->Monotonic() - s.StartTime;
    return " " + Gen::FormatHMS(Gen::ToInt64(Gen::Int(elapsed)));
}

bool DrainOutput(Session& s, double seconds) {
    const double deadline = s.io.clock->Monotonic() + seconds;
    while (s.io.port->PortOpen() && s.io.port->OutBufferCount() > 0) {
        // A fault box's Abort during the wait has ended the program without draining.
        if (ProgramEnding(s)) return false;
        if (s.io.clock->Monotonic() >= deadline) return false;
        s.io.clock->Wait(Gen::Pauses::kDrainSlice);
    }
    return true;
}

}  // namespace sondix
