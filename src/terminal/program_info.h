// `sondix --version` and `sondix --help`. The program's one argument is otherwise the access
// code that shows the Calibrate button, so only these two words alone on the command line ask for
// information; any other single argument is still an access code.
#pragma once

#include <string>
#include <vector>

namespace sondix {

// The text to print and exit with, or "" when the program starts as usual. `args` without the
// program name.
std::string ProgramInfoText(const std::vector<std::string>& args);

}  // namespace sondix
