// The two auto-repeat buttons. After "{" or "[" the sensor repeats its output by itself until
// the stop character arrives; the buttons only start and stop it and show which one runs.
#include "config/param_exchange.h"
#include "terminal/main_window.h"

namespace sondix {

namespace {

void SetFace(Session& s, ButtonFace& button, std::string_view caption, Colour face) {
    button.caption = caption;
    button.face = face;
    s.io.host->ButtonsChanged();
}

void OpenResultsWindow(Session& s) {
    s.results = ResultsModel{};
    s.io.host->CreateResultsWindow();
    s.ResultDisp_Loaded = true;
}

}  // namespace

void StopSpectrumStreamForCommand(Session& s) {
    const bool running = s.cmdRptSpect.caption == "StopSpec";
    if (s.D_GraphLoaded && (s.parser.AutoSpect_status != 0 || running)) UnloadGraphWindow(s);
    // Before its first spectrum (or with its chart closed) the stream has no window to stop it.
    if (s.cmdRptSpect.caption == "StopSpec") cmdRptSpect_Click(s);
}

void cmdRptDist_Click(Session& s) {
    if (s.cmdRptDist.caption != "Results") {
        // The window's unload stops the stream and restores the button.
        if (s.ResultDisp_Loaded) UnloadResultsWindow(s);
        return;
    }
    if (!s.io.port->PortOpen()) {
        // Nothing would be sent: a green "Stop" would promise a stream that never comes.
        s.io.host->SetStatusPanel("Status: Port is closed");
        s.io.host->StartStatusResetTimer();
        return;
    }
    StopSpectrumStreamForCommand(s);
    SetFace(s, s.cmdRptDist, "Stop", kActiveStream);
    if (!s.ResultDisp_Loaded) OpenResultsWindow(s);
    send_cmd(s, "{");
}

void cmdRptSpect_Click(Session& s) {
    if (s.cmdRptSpect.caption == "StartSpec") {
        if (s.ResultDisp_Loaded) UnloadResultsWindow(s);
        SetFace(s, s.cmdRptSpect, "StopSpec", kActiveStream);
        send_cmd(s, "[");
        return;
    }
    send_cmd(s, "]");
    SetFace(s, s.cmdRptSpect, "StartSpec", s.SaveColor);
}

}  // namespace sondix
