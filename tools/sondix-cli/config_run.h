// `sondix-cli decode P [FILE] --config`: the configuration screen opened as the Config button
// opens it, the input answering every "P" it sends, then the user's actions on it.
#pragma once

#include <string>

#include "decode_options.h"
#include "decode_run.h"
#include "json_out.h"

namespace sondix::cli {

void RunConfig(DecodeRun& run, const DecodeOptions& o, const std::string& input);

// The decode report with the screen's controls ("config") and state ("screen"), the boxes with
// the buttons that answered them.
std::string ConfigReport(const DecodeRun& run);

}  // namespace sondix::cli
