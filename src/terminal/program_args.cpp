#include "terminal/program_args.h"

#include <CLI/CLI.hpp>

namespace sondix {

ProgramArgs ParseProgramArgs(const std::vector<std::string>& args) {
    ProgramArgs out;
    CLI::App app{"Sondix"};
    app.set_help_flag();  // "-h" may be typed to the sensor: nothing here answers it
    app.allow_extras();
    app.add_option("--log", out.logPath, "append the communications log to FILE from the start");
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        out.error = e.what();
        out.logPath.clear();
    }
    out.rest = app.remaining();
    return out;
}

}  // namespace sondix
