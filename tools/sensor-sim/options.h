// The simulator's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim_config.h"
#include "transmitter.h"

namespace sondix::sim {

struct CliOptions {
    Config sensor;
    LineConfig line;
    std::string link;        // --link PATH: a symbolic link to the device
    double hangupAfter = 0;  // seconds; 0: never
    bool help = false;
};

// Parses the arguments after the program name; nullopt with `error` set on a bad one.
std::optional<CliOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);

std::string Usage();

}  // namespace sondix::sim
