// The command line of the live commands, which talk to a sensor on a serial device.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

namespace sondix::cli {

struct LiveOptions {
    std::string command;   // "params", "set", "scope", ...
    std::string port;      // "" : the device the program would open
    std::string settings;  // "" : the program's stored settings
    double timeout = 5;    // seconds without a byte before "no answer"

    bool unitsTable = false;       // params --units
    std::string name, value;       // set NAME VALUE
    std::optional<int> userUnits;  // set --units U
    std::string format = "csv";    // scope, spectrum, ramp, history: csv or json
    std::string xlsx;              // scope, spectrum, ramp, history: also a workbook
    bool follow = false;           // results --follow
    std::string chars;             // raw CHARS
    double wait = 1;               // raw --wait S
    std::string file;              // backup, restore, diff
    bool force = false;            // restore --force
    bool dryRun = false;           // restore --dry-run
};

// Declares the live subcommands on `app`, storing into `o` (o.command: the one given).
void AddLiveCommands(CLI::App& app, LiveOptions& o);

}  // namespace sondix::cli
