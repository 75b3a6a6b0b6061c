// A lost device (an unplugged adapter) without a fault box: the lamp turns red, the status
// panel says what happened, and the same device is tried once a second until it is back. The
// sensor is not asked anything on reopening; the user decides when to refresh.
#include "terminal/main_window.h"

namespace sondix {

void AwaitLostDevice(Session& s, std::string_view why) {
    s.ReconnectPending = true;
    // Kept on the panel (no reset timer) while the device is away.
    s.io.host->SetStatusPanel("Status: " + std::string(why) + " - reconnecting when it returns");
}

bool ReconnectTick(Session& s) {
    if (!s.ReconnectPending) return false;
    CommPort& port = *s.io.port;
    if (!s.AutoReconnect || port.PortOpen()) {  // turned off, or opened by the user meanwhile
        s.ReconnectPending = false;
        return false;
    }
    if (!port.SetPortOpen(true).empty()) return true;  // not back yet
    s.ReconnectPending = false;
    s.StartTime = s.io.clock->Monotonic();
    s.io.host->PortStateChanged();
    s.io.host->SetStatusPanel("Status: Reconnected - press Refresh to read the sensor");
    s.io.host->StartStatusResetTimer();
    return false;
}

}  // namespace sondix
