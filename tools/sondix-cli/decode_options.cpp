#include "decode_options.h"

#include <algorithm>
#include <memory>

#include "exit_codes.h"

namespace sondix::cli {
namespace {

constexpr const char* kDescription =
    "usage: sondix-cli decode KEY [FILE] [options]\n"
    "  Feeds FILE (or standard input) to the response parser as the answer to the\n"
    "  one-character command KEY and prints one JSON object.\n"
    "usage: sondix-cli COMMAND [--port PATH] [--settings 9600,n,8,1] [options]\n"
    "  Talks to the sensor on a serial device (sondix-cli COMMAND --help for each).";

constexpr const char* kExitStatus =
    "exit status: 0 the decode ran; 3 it ran and a message box reported an error (see\n"
    "  \"messages\"); 1 the input or the workbook could not be read or written; 2 usage error.";

// A CLI11 check: "" when the text is acceptable, else the reason.
CLI::Validator Check(std::string name, std::function<std::string(const std::string&)> rule) {
    return CLI::Validator(std::move(rule), "", std::move(name));
}

std::string IsIsoTime(const std::string& text) {
    Gen::DateTime t;
    return Gen::ParseIso(text, t) ? "" : "needs YYYY-MM-DDThh:mm:ss";
}

std::unique_ptr<CLI::App> MakeApp(DecodeOptions& d, LiveOptions& live) {
    auto app = std::make_unique<CLI::App>(kDescription, "sondix-cli");
    app->require_subcommand(1);
    app->footer(std::string("decode's ") + kExitStatus + "\n" + kExitCodesHelp);
    CLI::App* decode = app->add_subcommand("decode", "decode one command's answer");
    AddDecodeOptions(*decode, d);
    AddLiveCommands(*app, live);
    return app;
}

// The configuration screen's actions keep their command-line order: each is taken as it is
// parsed.
void AddConfigAction(CLI::App& decode, DecodeOptions& d, const char* name, ConfigAction::Kind kind,
                     const char* typeName, const char* help) {
    const auto parse = [kind](const std::string& text, ConfigAction& a) {
        a.kind = kind;
        a.name = text;
        return kind != ConfigAction::Kind::Set || SplitSetArgument(text, a);
    };
    decode
        .add_option_function<std::string>(
            name,
            [&d, parse](const std::string& text) {
                ConfigAction a;
                parse(text, a);
                d.configActions.push_back(a);
            },
            help)
        ->type_name(typeName)
        ->trigger_on_parse()
        ->check(Check(typeName, [parse](const std::string& text) {
            ConfigAction a;
            return parse(text, a) ? CheckConfigAction(a) : std::string("needs NAME=VALUE");
        }));
}

void AddConfigOptions(CLI::App& decode, DecodeOptions& d) {
    decode.add_flag("--config", d.config,
                    "(KEY P) open the configuration screen; the input answers each \"P\" it "
                    "sends; then --set, --click and --answer in the order given");
    AddConfigAction(decode, d, "--set", ConfigAction::Kind::Set, "NAME=VALUE",
                    "type VALUE into a box, set the up-down, click a choice on (1) or a check "
                    "box (1 or 0)");
    AddConfigAction(decode, d, "--click", ConfigAction::Kind::Click, "NAME",
                    "press a button of the configuration screen");
    AddConfigAction(decode, d, "--answer", ConfigAction::Kind::Answer, "BUTTON",
                    "answer the next message box (Yes, No, OK, Cancel, Retry, Abort, Ignore)");
}

// What the options cannot say alone.
std::string CheckConfigUse(const DecodeOptions& d) {
    if (d.config && d.key != 'P') return "--config reads the answer to P";
    if (!d.config && !d.configActions.empty()) return "--set, --click and --answer need --config";
    return {};
}

}  // namespace

void AddDecodeOptions(CLI::App& decode, DecodeOptions& d) {
    decode
        .add_option_function<std::string>(
            "KEY", [&d](const std::string& key) { d.key = key[0]; },
            "the one-character command whose answer FILE holds")
        ->type_name("CHAR")
        ->required()
        ->check(Check("CHAR", [](const std::string& key) {
            return key.size() == 1 ? "" : "KEY must be one character";
        }));
    decode.add_option("FILE", d.file, "the recorded answer; standard input when absent or -")
        ->type_name("PATH");
    decode.add_option("--block", d.block, "hand the input over in blocks of N bytes")
        ->type_name("N")
        ->check(Check("N", [](const std::string& n) {
            return n.find_first_not_of("0123456789") == std::string::npos &&
                           n.find_first_not_of('0') != std::string::npos
                       ? ""
                       : "needs a positive whole number";
        }));
    decode
        .add_option_function<float>(
            "--units", [&d](float u) { d.units = u; },
            "the unit index of the parameter mirror (0 mm .. 4 cm)")
        ->type_name("U");
    decode
        .add_option_function<float>(
            "--firmware", [&d](float r) { d.firmware = r; },
            "the firmware revision of the parameter mirror")
        ->type_name("R");
    decode.add_flag("--velocimeter", d.velocimeter, "the sensor is a velocimeter");
    decode.add_option_function<std::string>(
        "--header-str", [&d](const std::string& h) { d.headerStr = h; },
        "the unit's identification in chart titles");
    decode
        .add_option_function<std::string>(
            "--now",
            [&d](const std::string& text) {
                Gen::DateTime t;
                Gen::ParseIso(text, t);
                d.now = t;
            },
            "the clock's date and time (default: the current time)")
        ->type_name("YYYY-MM-DDThh:mm:ss")
        ->check(Check("TIME", IsIsoTime));
    decode
        .add_option("--xlsx", d.xlsx,
                    "also write the chart's (for H: the history's) workbook to OUT")
        ->type_name("OUT")
        ->check(Check(
            "OUT", [](const std::string& out) { return out.empty() ? "needs a file name" : ""; }));
    decode.add_flag("--from-file", d.fromFile,
                    "H: hand the input over as a stored history file, in one call, as "
                    "\"&Disp Hist File\" does");
    AddConfigOptions(decode, d);
}

ParsedCommand ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommand out;
    if (!args.empty() && args[0] == "help") {
        out.help = true;
        return out;
    }
    const auto app = MakeApp(out.decode, out.live);
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // as CLI11 takes them
    try {
        app->parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out.help = true;
        // "sondix-cli set --help": that command's options (and the exit statuses, the footer).
        if (!app->get_subcommands().empty()) out.helpText = app->help();
    } catch (const CLI::ParseError& e) {
        out.error = e.what();
    }
    if (out.error.empty() && !out.help) out.error = CheckConfigUse(out.decode);
    if (out.error.empty() && out.decode.fromFile && out.decode.key != 'H')
        out.error = "--from-file goes with the key H";
    return out;
}

std::string UsageText() {
    DecodeOptions unused;
    LiveOptions unusedLive;
    return MakeApp(unused, unusedLive)->help("", CLI::AppFormatMode::All);
}

}  // namespace sondix::cli
