// The single entry point for everything the sensor sends.
#pragma once

#include <string>

#include "common/platform.h"

namespace sondix {

struct Session;

// Feeds one received block to the reader of the pending command, shows it in `txt`, restores
// the Calibrate button after a calibration answer and writes it to the log. `s` is edited in
// place by the display step; the log receives the edited text.
void ShowData(Session& session, TextBox& txt, std::string& s);

}  // namespace sondix
