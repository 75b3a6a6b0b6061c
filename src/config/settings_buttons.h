// The configuration screen's "Save settings…", "Load settings…" and "Compare…": the sensor's
// written parameters to and from a settings file (settings_file.h), as sondix-cli's backup,
// restore and diff do. The window asks for the file name; "" means the dialog was cancelled.
#pragma once

#include <string>

namespace sondix {

struct Session;

// The mirror's written parameters, the logo, serial number, firmware and the time into `path`.
void SaveSettings(Session& s, const std::string& path);

// Shows what the file would change and, once the user agrees, writes those parameters with the
// screen's set commands, reads the listing again and names any the sensor did not take. A file
// of the other sensor variant is written only when the user says so.
void LoadSettings(Session& s, const std::string& path);

// The differences between the file and the sensor (its last listing), in a message box.
void CompareSettings(Session& s, const std::string& path);

}  // namespace sondix
