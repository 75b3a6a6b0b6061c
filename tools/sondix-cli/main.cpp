// sondix-cli: the response parser without a window. `sondix-cli decode KEY [FILE]` feeds a
// recorded byte stream to ShowData as the answer to the command KEY and prints one JSON object
// with what the program would have shown, logged, sent, asked and charted. The live commands
// (params, set, scope, ..., backup, restore, diff) run the same core on a serial device.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "config_run.h"
#include "decode_options.h"
#include "decode_run.h"
#include "export/graph_workbook.h"
#include "live_commands.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kFileError = 1;
constexpr int kBoxReported = 3;  // the decode ran, and a message box reported an error

// The whole input as bytes; false (with the reason) when it cannot be read.
bool ReadInput(const std::string& file, std::string& out, std::string& error) {
    if (file.empty() || file == "-") {
        out.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = std::strerror(errno);
        return false;
    }
    std::ostringstream buf;
    buf << in.rdbuf();
    if (in.bad()) {
        error = "read error";
        return false;
    }
    out = buf.str();
    return true;
}

// A box that asks the user something (Yes/No, a question) reports no error.
bool ReportsError(const sondix::AskedMessage& m) {
    using sondix::MsgButtons;
    return m.icon != sondix::MsgIcon::Question && m.buttons != MsgButtons::YesNo &&
           m.buttons != MsgButtons::YesNoCancel;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace sondix;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const cli::ParsedCommand cmd = cli::ParseCommandLine(args);
    if (cmd.help) {
        std::cout << (cmd.helpText.empty() ? cli::UsageText() : cmd.helpText);
        return 0;
    }
    if (!cmd.error.empty()) {
        std::cerr << "sondix-cli: " << cmd.error << "\nRun sondix-cli --help for the options.\n";
        return kUsageError;
    }
    if (!cmd.live.command.empty()) return cli::RunLive(cmd.live);

    const cli::DecodeOptions& o = cmd.decode;
    std::string input;
    std::string error;
    if (!ReadInput(o.file, input, error)) {
        std::cerr << "sondix-cli: cannot read " << o.file << ": " << error << "\n";
        return kFileError;
    }

    cli::DecodeRun run;
    if (o.config) {
        cli::RunConfig(run, o, input);
        std::cout << cli::ConfigReport(run) << "\n";
    } else {
        cli::RunDecode(run, o, input);
        std::cout << cli::DecodeReport(run) << "\n";
    }

    if (!o.xlsx.empty()) {
        const std::string failed =
            o.key == 'H'
                ? cli::WriteHistoryWorkbook(run.s, run.clock.date, o.xlsx)
                : WriteGraphWorkbook(run.s.graph, run.s.GraphHeaderStr, run.clock.date, o.xlsx);
        if (!failed.empty()) {
            std::cerr << "sondix-cli: cannot write " << o.xlsx << ": " << failed << "\n";
            return kFileError;
        }
    }
    return std::any_of(run.asker.asked.begin(), run.asker.asked.end(), ReportsError) ? kBoxReported
                                                                                     : 0;
}
