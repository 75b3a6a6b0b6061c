// Calibration from the configuration screen: the calibration distance (a velocity on a
// velocimeter) is written with index 36; "Calibrate" sends "c", waits a second, sends the access
// code and then gives the sensor 10 seconds, during which its answers reach the terminal.
#include <string>

#include "common/pauses.h"
#include "config/config_screen.h"
#include "config/param_exchange.h"
#include "config/units.h"
#include "terminal/main_window.h"
#include "terminal/session.h"

namespace sondix {

using namespace config_detail;

namespace {

constexpr std::int16_t kIndexCalDist = 36;

void SetCalibrateFace(Session& s, Colour face) {
    s.config.cmdCalibrate.face = face;
    Redraw(s);
}

// "c", the pause, the code; the port's error text or "".
std::string SendCalibration(Session& s) {
    CommPort& port = *s.io.port;
    std::string error = port.Output("c");
    s.io.clock->Wait(Gen::Pauses::kBeforeValue);
    // A fault box answered Abort during the pause has ended the program: no code then.
    if (ProgramEnding(s)) return {};
    const std::string codeError = port.Output(PasswordText(s));
    if (error.empty()) error = codeError;
    s.io.clock->DoEvents();
    return error;
}

}  // namespace

void txtCaldist_Change(Session& s) {
    s.mirror.CalDist = cnv_units_str_to_mm(s.mirror, s.config.txtCaldist.text);
}

void cmdCaldist_Click(Session& s) {
    ParamMirror& m = s.mirror;
    m.CalDist = cnv_units_str_to_mm(m, s.config.txtCaldist.text);
    SetText(s, s.config.txtCaldist, cnv_mm_to_units_str(m, m.CalDist), txtCaldist_Change);
    send_s_cmd(s, kIndexCalDist, cnv_mm_to_sensor(m, m.CalDist));
}

void ConfigCalibrate_Click(Session& s) {
    ConfigScreen& c = s.config;
    s.io.clock->DoEvents();
    if (c.CalibrationBusy) return;
    const MsgAnswer answer = s.io.asker->Ask(
        "Confirm", "This may erase existing calibration, are you sure you want to re-calibrate?",
        MsgButtons::YesNo, MsgIcon::None);
    if (answer != MsgAnswer::Yes) return;
    if (s.io.port->PortOpen()) {
        SetCalibrateFace(s, c.COLOR_ACTIVEBUTT);
        ResetVariables(s);
        // Busy from the first byte: a click during the one-second pause must not start a second
        // "c" inside this one.
        c.CalibrationBusy = true;
        const std::string error = SendCalibration(s);
        if (!error.empty()) {
            s.io.asker->Ask(kProgramTitle, "CmdCalibrate error: " + error, MsgButtons::OK,
                            MsgIcon::Exclamation);
        } else if (!ProgramEnding(s)) {
            s.io.clock->Wait(Gen::Pauses::kCalibration);
        }
        if (!s.Echo) s.io.term->SetSelStart(static_cast<long long>(s.io.term->Text().size()));
        SetCalibrateFace(s, c.NormalButtonColor);
    }
    c.CalibrationBusy = false;
}

}  // namespace sondix
