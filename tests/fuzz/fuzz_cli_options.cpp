// `sondix-cli`'s command line: any words (one a line of the input; byte 1 decides whether
// "decode" comes first). The parser never throws, and a decode command line it accepts has
// everything the decoder relies on: one command character and, when asked for, a positive block
// size and a workbook name.
#include <cstdint>
#include <string>
#include <vector>

#include "decode_options.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sondix::fuzz;
    FuzzInput in(data, size);
    std::vector<std::string> args;
    if ((in.Byte() & 1) != 0) args.emplace_back("decode");
    std::string word;
    for (const char c : in.Rest()) {
        if (c == '\n') {
            args.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) args.push_back(word);

    const sondix::cli::ParsedCommand p = sondix::cli::ParseCommandLine(args);
    if (p.help || !p.error.empty()) return 0;
    // A word is the option itself only as "--name" or "--name=value": "--blockM[" after
    // "--xlsx" is the workbook's name (not an option's word, so CLI11 takes it as the value),
    // and every word after "--" is a positional.
    const auto isOption = [](const std::string& a, const std::string& name) {
        return a == name || a.starts_with(name + "=");
    };
    bool decodeAsked = false, blockAsked = false, xlsxAsked = false;
    for (const std::string& a : args) {
        if (a == "--") break;
        decodeAsked = decodeAsked || a == "decode";
        blockAsked = blockAsked || isOption(a, "--block");
        xlsxAsked = xlsxAsked || isOption(a, "--xlsx");
    }
    // A live command ("ramp", "params", ...) is the other accepted kind.
    if (!p.live.command.empty()) return 0;
    Require(decodeAsked, "a command line without a live command is decode's");
    if (blockAsked) Require(p.decode.block > 0, "an accepted --block is positive");
    if (xlsxAsked) Require(!p.decode.xlsx.empty(), "an accepted --xlsx names a file");
    return 0;
}
