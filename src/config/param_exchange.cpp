// Commands and parameter writes to the sensor. Nothing here reads the port: the answers arrive
// through the receive event, which runs during the pauses.
#include "config/param_exchange.h"

#include "common/gen_format.h"
#include "common/pauses.h"
#include "terminal/main_window.h"
#include "terminal/session.h"

namespace sondix {

namespace {

void ShowSendError(Session& s, std::string_view error) {
    s.io.asker->Ask(kProgramTitle, "send_s_cmd error: " + std::string(error), MsgButtons::OK,
                    MsgIcon::Exclamation);
}

}  // namespace

std::string FormatSetValue(std::int16_t index, std::int16_t value) {
    return Gen::Format(index, "00") + Gen::Format(value, value >= 0 ? "000000" : "#00000");
}

void delay_after_cmd(Session& s) {
    s.io.clock->Wait(Gen::Pauses::kAfterCommand);
}

void send_cmd(Session& s, std::string_view cmd) {
    if (!s.io.port->PortOpen() || cmd.empty()) return;
    const std::string error = s.io.port->Output(cmd.substr(0, 1));
    s.CommandKey = KeyCode(cmd.front());
    s.io.clock->DoEvents();
    if (!error.empty()) ShowSendError(s, error);
    ResetVariables(s);
    delay_after_cmd(s);
}

void send_s_cmd(Session& s, std::int16_t index, std::int16_t value) {
    if (index < 0 || index > 99) return;
    const std::string setValue = FormatSetValue(index, value);
    if (!s.io.port->PortOpen()) return;

    std::string error = s.io.port->Output("s");
    // The sensor needs a moment after "s" before it takes the index and value.
    s.io.clock->Wait(Gen::Pauses::kBeforeValue);
    const std::string valueError = s.io.port->Output(setValue);
    if (error.empty()) error = valueError;
    s.io.clock->DoEvents();
    if (!error.empty()) ShowSendError(s, error);
    ResetVariables(s);
    delay_after_cmd(s);
}

}  // namespace sondix
