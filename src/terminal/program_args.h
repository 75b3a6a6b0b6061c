// The program's command line: "--log FILE" opens the communications log at start-up (appending,
// before the first command is sent); what remains goes to the start-up, where a single argument
// is the access code.
#pragma once

#include <string>
#include <vector>

namespace sondix {

struct ProgramArgs {
    std::string logPath;            // "" = no log at start-up
    std::vector<std::string> rest;  // the other arguments, in order
    std::string error;              // a malformed option ("--log" without a file)
};

ProgramArgs ParseProgramArgs(const std::vector<std::string>& args);

}  // namespace sondix
