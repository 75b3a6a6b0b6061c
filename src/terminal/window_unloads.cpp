// Loading and unloading the windows that show answers. The Qt windows call these from their
// close events too, so each runs once per load and ignores a call for a window already gone.
#include "config/param_exchange.h"
#include "terminal/main_window.h"

namespace sondix {

void LoadGraphWindow(Session& s) {
    s.graph.Setup();
    s.io.host->CreateGraphWindow();
    s.D_GraphLoaded = true;
}

void UnloadGraphWindow(Session& s) {
    if (!s.D_GraphLoaded) return;
    s.D_GraphLoaded = false;
    s.io.host->CloseGraphWindow();
    // The stream state clears only when a block arrives after "]"; until then the button may
    // already read "StartSpec", and clicking it would start the stream again.
    if (s.parser.AutoSpect_status != 0 && s.cmdRptSpect.caption == "StopSpec") {
        cmdRptSpect_Click(s);
    }
}

void UnloadResultsWindow(Session& s) {
    if (!s.ResultDisp_Loaded) return;
    s.ResultDisp_Loaded = false;
    s.io.host->CloseResultsWindow();
    if (s.cmdRptDist.caption == "Results") return;
    send_cmd(s, "}");
    s.cmdRptDist.caption = "Results";
    s.cmdRptDist.face = s.SaveColor;
    s.io.host->ButtonsChanged();
}

void UnloadHistWindow(Session& s) {
    if (!s.HistWindowLoaded) return;
    s.HistWindowLoaded = false;
    s.io.host->CloseHistWindow();
}

}  // namespace sondix
