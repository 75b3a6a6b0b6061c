// The refresh: ask the sensor for its listing and name the connected unit from it.
#include "common/pauses.h"
#include "config/param_exchange.h"
#include "response/status_lines.h"
#include "terminal/main_window.h"

namespace sondix {

void ShowUnitInfo(Session& s) {
    s.lblVerAndSerialNum = VerAndSerialLabel(s.mirror);
    s.GraphHeaderStr = MakeGraphHeaderStr(s.mirror);
    s.io.host->LabelsChanged();
}

void RefreshUnitInfo(Session& s) {
    const Colour normal = s.cmdRefresh.face;
    s.cmdRefresh.face = kActiveButton;
    s.io.host->ButtonsChanged();

    // The listing is parsed into the mirror while this waits.
    send_cmd(s, "P");
    s.io.clock->Wait(Gen::Pauses::kRefresh);

    s.cmdRefresh.face = normal;
    ShowUnitInfo(s);
    s.io.host->ButtonsChanged();
}

}  // namespace sondix
