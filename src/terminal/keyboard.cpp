// The terminal keyboard: typed characters go straight to the sensor.
#include "common/pauses.h"
#include "terminal/main_window.h"

namespace sondix {

namespace {

// While the spectrum stream runs, only its stop and the general stop reach the sensor.
bool KeyPasses(const Session& s, char key) {
    return key == 'R' || key == ']' || s.CommandKey != KeyCode('[');
}

// Any command the user types ends a pending calibration.
void ReleaseCalibrate(Session& s) {
    s.cmdCalibrate.face = s.SaveColor;
    s.cmdCalibrate.enabled = true;
    s.CalibrationPending = false;
    s.io.host->ButtonsChanged();
}

}  // namespace

bool txtTerm_KeyPress(Session& s, char key) {
    if (!s.io.port->PortOpen()) return false;
    if (KeyPasses(s, key)) {
        s.io.port->Output(std::string(1, key));
        s.CommandKey = KeyCode(key);
        ReleaseCalibrate(s);
    }
    ResetVariables(s);
    return !s.Echo;
}

void txtParse_Enter(Session& s, std::string_view text) {
    CommPort& port = *s.io.port;
    if (!port.PortOpen()) return;
    port.Output("I");
    // Closing discards what has not left yet: the "I" must be out before the port closes.
    DrainOutput(s, Gen::Pauses::kDrainFirst);
    // Events ran during the drain: a port the user closed stays closed (reopening it here would
    // leave the lamp red over an open port), and a program that is ending sends nothing more.
    if (!port.PortOpen() || ProgramEnding(s)) return;

    std::string error = port.SetPortOpen(false);
    if (error.empty()) error = port.SetPortOpen(true);
    if (!error.empty() || !port.PortOpen()) {
        if (!error.empty()) ShowPortError(s, error);
        s.io.host->PortStateChanged();
        return;
    }
    port.Output(std::string(text) + '\n');
}

}  // namespace sondix
