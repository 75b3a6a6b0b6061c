// The main window's unload: the other windows go, the output drains, the port and the log close.
#include "common/pauses.h"
#include "config/config_screen.h"
#include "terminal/main_window.h"

namespace sondix {

namespace {

enum class DrainOutcome { Drained, GaveUp, Cancelled, Ended };

// Waits for the output buffer, asking the user each time the time allowed has run out. The
// waits and the question let port events run: a fault box answered Abort meanwhile has ended
// the program by its own shutdown, and then there is nothing left to wait or ask for.
DrainOutcome DrainBeforeClose(Session& s) {
    double allowed = Gen::Pauses::kDrainFirst;
    while (!DrainOutput(s, allowed)) {
        if (ProgramEnding(s)) return DrainOutcome::Ended;
        const MsgAnswer answer = s.io.asker->Ask(kProgramTitle, "Data cannot be sent",
                                                 MsgButtons::AbortRetryIgnore, MsgIcon::Question);
        if (ProgramEnding(s)) return DrainOutcome::Ended;
        if (answer == MsgAnswer::Abort) return DrainOutcome::Cancelled;
        if (answer != MsgAnswer::Retry) return DrainOutcome::GaveUp;
        allowed = Gen::Pauses::kDrainRetry;
    }
    return ProgramEnding(s) ? DrainOutcome::Ended : DrainOutcome::Drained;
}

}  // namespace

bool Shutdown(Session& s) {
    const bool draining = s.PortCloseAllowed;
    UnloadGraphWindow(s);
    UnloadHistWindow(s);
    Form_Unload(s);
    UnloadResultsWindow(s);
    // Stopping a stream waits after its command; an Abort in that wait has ended the program.
    if (draining && ProgramEnding(s)) return true;

    if (s.io.port->PortOpen() && s.PortCloseAllowed) {
        switch (DrainBeforeClose(s)) {
            case DrainOutcome::Cancelled:
                return false;
            case DrainOutcome::Ended:
                return true;
            case DrainOutcome::Drained:
            case DrainOutcome::GaveUp:
                break;
        }
        s.io.port->SetPortOpen(false);
    }
    if (s.io.host->LogOpen()) s.io.host->CloseLog();
    s.io.host->EndProgram();
    return true;
}

}  // namespace sondix
