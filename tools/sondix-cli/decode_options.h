// The command line of `sondix-cli decode KEY [FILE] [options]`, declared with CLI11.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

#include "common/gen_datetime.h"
#include "config_action.h"
#include "live_options.h"

namespace sondix::cli {

struct DecodeOptions {
    char key = 0;
    std::string file;       // "" or "-": standard input
    std::size_t block = 0;  // bytes per block; 0: the whole input in one block
    std::optional<float> units;
    std::optional<float> firmware;
    bool velocimeter = false;
    std::optional<std::string> headerStr;
    std::optional<Gen::DateTime> now;
    std::string xlsx;       // "" : no workbook
    bool fromFile = false;  // "H": the input is a stored history file, handed over in one call
    bool config = false;    // --config: the configuration screen on the listing
    std::vector<ConfigAction> configActions;
};

// Declares every argument and option of `decode` on its subcommand, storing into `d`: the one
// place where decode's command line is written down (its --help comes from here too).
void AddDecodeOptions(CLI::App& decode, DecodeOptions& d);

struct ParsedCommand {
    bool help = false;
    std::string helpText;  // "" : the whole usage text
    DecodeOptions decode;
    LiveOptions live;   // live.command empty: decode
    std::string error;  // a usage error: the command cannot run
};

// `args` without the program name.
ParsedCommand ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace sondix::cli
