// The command line of `sondix-cli decode KEY [FILE] [options]`.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/gen_datetime.h"

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
};

struct ParsedCommand {
    bool help = false;
    DecodeOptions decode;
    std::string error;  // a usage error: the command cannot run
};

// `args` without the program name.
ParsedCommand ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace sondix::cli
