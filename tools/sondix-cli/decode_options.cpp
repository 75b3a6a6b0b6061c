#include "decode_options.h"

#include <charconv>
#include <string_view>

namespace sondix::cli {
namespace {

// Options that take a value, as "--name VALUE" or "--name=VALUE".
constexpr std::string_view kValueOptions[] = {"--block",      "--units", "--firmware",
                                              "--header-str", "--now",   "--xlsx"};

bool TakesValue(std::string_view name) {
    for (const std::string_view v : kValueOptions) {
        if (v == name) return true;
    }
    return false;
}

bool ParseFloat(const std::string& text, float& out) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, out);
    return r.ec == std::errc{} && r.ptr == end;
}

bool ParseBlock(const std::string& text, std::size_t& out) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, out);
    return r.ec == std::errc{} && r.ptr == end && out > 0;
}

// Applies one option; returns the usage error or "".
std::string ApplyOption(DecodeOptions& d, std::string_view name, const std::string& value) {
    float f = 0;
    if (name == "--block") {
        if (!ParseBlock(value, d.block)) return "--block needs a positive whole number";
    } else if (name == "--units") {
        if (!ParseFloat(value, f)) return "--units needs a number";
        d.units = f;
    } else if (name == "--firmware") {
        if (!ParseFloat(value, f)) return "--firmware needs a number";
        d.firmware = f;
    } else if (name == "--header-str") {
        d.headerStr = value;
    } else if (name == "--now") {
        Gen::DateTime t;
        if (!Gen::ParseIso(value, t)) return "--now needs YYYY-MM-DDThh:mm:ss";
        d.now = t;
    } else if (name == "--xlsx") {
        if (value.empty()) return "--xlsx needs a file name";
        d.xlsx = value;
    }
    return {};
}

}  // namespace

std::string UsageText() {
    return "usage: sondix-cli decode KEY [FILE] [options]\n"
           "  Feeds FILE (or standard input) to the response parser as the answer to the\n"
           "  one-character command KEY and prints one JSON object.\n"
           "options:\n"
           "  --block N            hand the input over in blocks of N bytes\n"
           "  --units U            the unit index of the parameter mirror (0 mm .. 4 cm)\n"
           "  --firmware R         the firmware revision of the parameter mirror\n"
           "  --velocimeter        the sensor is a velocimeter\n"
           "  --header-str TEXT    the unit's identification in chart titles\n"
           "  --now YYYY-MM-DDThh:mm:ss   the clock's date and time\n"
           "  --xlsx OUT           also write the chart's workbook to OUT (for H: the\n"
           "                       history's)\n"
           "  --from-file          H: hand the input over as a stored history file, in one\n"
           "                       call, as \"&Disp Hist File\" does\n";
}

ParsedCommand ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommand out;
    if (args.empty()) {
        out.error = "no command given";
        return out;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out.help = true;
        return out;
    }
    if (args[0] != "decode") {
        out.error = "unknown command: " + args[0];
        return out;
    }
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out.help = true;
            return out;
        }
        if (a == "--velocimeter") {
            out.decode.velocimeter = true;
            continue;
        }
        if (a == "--from-file") {
            out.decode.fromFile = true;
            continue;
        }
        if (a.size() < 2 || a.compare(0, 2, "--") != 0) {
            positional.push_back(a);
            continue;
        }
        const std::size_t eq = a.find('=');
        const std::string name = a.substr(0, eq);
        if (!TakesValue(name)) {
            out.error = "unknown option: " + name;
            return out;
        }
        std::string value;
        if (eq != std::string::npos) {
            value = a.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            out.error = name + " needs a value";
            return out;
        }
        out.error = ApplyOption(out.decode, name, value);
        if (!out.error.empty()) return out;
    }
    if (positional.empty() || positional.size() > 2) {
        out.error = "decode needs KEY and at most one FILE";
        return out;
    }
    if (positional[0].size() != 1) {
        out.error = "KEY must be one character";
        return out;
    }
    out.decode.key = positional[0][0];
    if (positional.size() == 2) out.decode.file = positional[1];
    return out;
}

}  // namespace sondix::cli
