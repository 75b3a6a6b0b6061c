// The simulator's main loop: the sensor behind a pseudo-terminal, paced and faulted like a
// serial line, until a stop signal arrives or the hang-up time has come.
#pragma once

#include "options.h"
#include "pty_port.h"

namespace sondix::sim {

// Runs until `signalFd` (a signalfd) becomes readable or --hangup-after expires. Clients may
// open and close the device any number of times meanwhile; output made while nobody listens is
// lost, as on a serial line with no one at the other end.
void Serve(const CliOptions& options, PtyPort& port, int signalFd);

}  // namespace sondix::sim
