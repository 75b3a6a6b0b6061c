// The main window's unload: the other windows go, the output drains, the port and the log close.
#include "common/pauses.h"
#include "terminal/main_window.h"

namespace sondix {

namespace {

enum class DrainOutcome { Drained, GaveUp, Cancelled };

// Waits for the output buffer, asking the user each time the time allowed has run out.
DrainOutcome DrainBeforeClose(Session& s) {
    double allowed = Gen::Pauses::kDrainFirst;
    while (!DrainOutput(s, allowed)) {
        const MsgAnswer answer = s.io.asker->Ask(kProgramTitle, "Data cannot be sent",
                                                 MsgButtons::AbortRetryIgnore, MsgIcon::Question);
        if (answer == MsgAnswer::Abort) return DrainOutcome::Cancelled;
        if (answer != MsgAnswer::Retry) return DrainOutcome::GaveUp;
        allowed = Gen::Pauses::kDrainRetry;
    }
    return DrainOutcome::Drained;
}

}  // namespace

bool Shutdown(Session& s) {
    UnloadGraphWindow(s);
    UnloadHistWindow(s);
    s.io.host->CloseConfigWindow();
    UnloadResultsWindow(s);

    if (s.io.port->PortOpen() && s.PortCloseAllowed) {
        if (DrainBeforeClose(s) == DrainOutcome::Cancelled) return false;
        s.io.port->SetPortOpen(false);
    }
    if (s.io.host->LogOpen()) s.io.host->CloseLog();
    s.io.host->EndProgram();
    return true;
}

}  // namespace sondix
