// The service mode's Calibrate button: "c", a pause, then the access code. The parser reads the
// sensor's answer; the next typed key releases the button.
#include "common/pauses.h"
#include "terminal/main_window.h"

namespace sondix {

void cmdCalibrate_Click(Session& s) {
    Clock& clock = *s.io.clock;
    CommPort& port = *s.io.port;
    clock.DoEvents();
    if (!port.PortOpen()) return;

    port.Output("c");
    clock.Wait(Gen::Pauses::kBeforeValue);
    const std::string error = port.Output(PasswordText(s));
    clock.DoEvents();

    if (!error.empty()) {
        ShowPortError(s, error);
    } else {
        s.cmdCalibrate.face = kActiveButton;
        s.cmdCalibrate.enabled = false;
        s.CalibrationPending = true;
        s.io.host->ButtonsChanged();
    }
    if (!s.Echo) s.io.term->SetSelStart(static_cast<long long>(s.io.term->Text().size()));
}

}  // namespace sondix
