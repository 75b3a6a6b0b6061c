#include "terminal/program_info.h"

#include "terminal/session.h"

namespace sondix {

std::string ProgramInfoText(const std::vector<std::string>& args) {
    if (args.size() != 1) return {};
    if (args.front() == "--version") return std::string(kProgramTitle) + "\n";
    if (args.front() != "--help") return {};
    return std::string(kProgramTitle) +
           ": the service terminal for the FMCW radar sensor on a serial line.\n"
           "usage: sondix [ACCESS-CODE]\n"
           "  ACCESS-CODE  the sensor's access code: shows the Calibrate button\n"
           "  --version    print the version and exit\n"
           "  --help       print this text and exit\n"
           "The port and its settings are those of the Properties dialog; the environment\n"
           "variable SONDIX_PORT names a device for one run. sondix-cli talks to the sensor\n"
           "from the shell (sondix-cli --help).\n";
}

}  // namespace sondix
