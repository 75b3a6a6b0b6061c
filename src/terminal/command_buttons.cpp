// The one-command buttons: each sends its letter and clears the way for the window that will
// show the answer.
#include "config/config_screen.h"
#include "config/param_exchange.h"
#include "terminal/main_window.h"

namespace sondix {

namespace {

void PrepareAndSend(Session& s, std::string_view command) {
    PrepareForCommand(s);
    send_cmd(s, command);
}

}  // namespace

// A running stream is stopped before the command goes out: the sensor must see "}" or "]"
// first, or the command's answer ends in the stop and is never read.
void PrepareForCommand(Session& s) {
    if (s.ResultDisp_Loaded) UnloadResultsWindow(s);
    StopSpectrumStreamForCommand(s);
}

void cmdRefresh_Click(Session& s) {
    PrepareForCommand(s);
    RefreshUnitInfo(s);
}
void cmdRamp_Click(Session& s) {
    PrepareAndSend(s, "y");
}
void cmdScope_Click(Session& s) {
    PrepareAndSend(s, "D");
}
void cmdSpect_Click(Session& s) {
    PrepareAndSend(s, "F");
}
void cmdHist_Click(Session& s) {
    PrepareAndSend(s, "H");
}
void cmdConfig_Click(Session& s) {
    ConfigButton_Click(s);
}

}  // namespace sondix
