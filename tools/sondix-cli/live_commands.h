// The live commands: each opens the port, runs the program's own commands through the core and
// prints what the windows would have shown. They return the exit status (exit_codes.h).
#pragma once

#include "config/param_set.h"
#include "live_link.h"
#include "live_options.h"

namespace sondix::cli {

// Runs o.command (QtCore's event loop must exist).
int RunLive(const LiveOptions& o);

int RunParams(LiveLink& link, const LiveOptions& o);
int RunSet(LiveLink& link, const LiveOptions& o);
int RunGraph(LiveLink& link, const LiveOptions& o);
int RunHistory(LiveLink& link, const LiveOptions& o);
int RunResults(LiveLink& link, const LiveOptions& o);
int RunRaw(LiveLink& link, const LiveOptions& o);
int RunBackup(LiveLink& link, const LiveOptions& o);
int RunRestore(LiveLink& link, const LiveOptions& o);
int RunDiff(LiveLink& link, const LiveOptions& o);

// One parameter write as the configuration screen sends it, read back and checked; prints
// nothing on success, the reason on standard error otherwise.
int WriteAndCheck(LiveLink& link, const SetParam& p, std::int16_t sent);

}  // namespace sondix::cli
