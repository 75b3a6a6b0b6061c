// The service mode's Calibrate button: "c", a pause, then the access code. The parser reads the
// sensor's answer; the next typed key releases the button.
#include "common/pauses.h"
#include "terminal/main_window.h"

namespace sondix {

namespace {

void SetCalibrateFace(Session& s, Colour face, bool enabled) {
    s.cmdCalibrate.face = face;
    s.cmdCalibrate.enabled = enabled;
    s.io.host->ButtonsChanged();
}

}  // namespace

void cmdCalibrate_Click(Session& s) {
    // A disabled button takes no click; the pause below relies on that.
    if (!s.cmdCalibrate.enabled) return;
    Clock& clock = *s.io.clock;
    CommPort& port = *s.io.port;
    clock.DoEvents();
    if (!port.PortOpen()) return;

    // Clicks keep arriving during the pause: a second "c" and code interleaved with these would
    // reach the sensor's command interpreter as stray characters, so the button rests meanwhile.
    const Colour face = s.cmdCalibrate.face;
    SetCalibrateFace(s, face, false);
    port.Output("c");
    clock.Wait(Gen::Pauses::kBeforeValue);
    // A fault box answered Abort during the pause has ended the program: no calibration then.
    if (ProgramEnding(s)) return;
    const std::string error = port.Output(PasswordText(s));
    clock.DoEvents();

    if (!error.empty()) {
        SetCalibrateFace(s, face, true);
        ShowPortError(s, error);
    } else {
        SetCalibrateFace(s, kActiveButton, false);
        s.CalibrationPending = true;
    }
    if (!s.Echo) s.io.term->SetSelStart(static_cast<long long>(s.io.term->Text().size()));
}

}  // namespace sondix
