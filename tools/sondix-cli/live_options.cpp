#include "live_options.h"

#include "config/param_set.h"
#include "terminal/comm_settings.h"

namespace sondix::cli {
namespace {

CLI::Validator Check(std::string name, std::function<std::string(const std::string&)> rule) {
    return CLI::Validator(std::move(rule), "", std::move(name));
}

std::string NotEmpty(const std::string& text) {
    return text.empty() ? "needs a value" : "";
}

std::string SettingsText(const std::string& text) {
    CommSettings unused;
    const std::string error = ParseCommSettings(text, unused);
    return error.empty() ? "" : "bad line settings: " + error;
}

std::string ParamName(const std::string& name) {
    if (FindSetParam(name) != nullptr) return "";
    std::string names;
    for (const SetParam& p : SetParams())
        names += std::string(names.empty() ? "" : ", ") + p.name;
    return "unknown parameter " + name + " (one of " + names + ")";
}

// --port and --settings and --timeout: every live command talks over the line.
CLI::App* AddLive(CLI::App& app, LiveOptions& o, const std::string& name, const std::string& what) {
    CLI::App* sub = app.add_subcommand(name, what);
    sub->add_option("--port", o.port,
                    "the serial device (default: the one the program opens: SONDIX_PORT, the "
                    "PortName setting or the CommPort setting)")
        ->type_name("PATH")
        ->check(Check("PATH", NotEmpty));
    sub->add_option("--settings", o.settings,
                    "speed, parity, data bits, stop bits (default: the program's setting)")
        ->type_name("9600,n,8,1")
        ->check(Check("SETTINGS", SettingsText));
    sub->add_option("--timeout", o.timeout,
                    "seconds without a byte from the sensor before it "
                    "counts as not answering")
        ->type_name("S")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    sub->callback([&o, name] { o.command = name; });
    return sub;
}

void AddTableOutput(CLI::App& sub, LiveOptions& o) {
    sub.add_option("--format", o.format, "what goes to standard output")
        ->check(CLI::IsMember({"csv", "json"}))
        ->capture_default_str();
    sub.add_option("--xlsx", o.xlsx, "also write the workbook FILE")
        ->type_name("FILE")
        ->check(Check("FILE", NotEmpty));
}

}  // namespace

void AddLiveCommands(CLI::App& app, LiveOptions& o) {
    CLI::App* params = AddLive(app, o, "params", "print the sensor's parameter listing as JSON");
    params->add_flag("--units", o.unitsTable,
                     "a table of the written parameters in the sensor's unit instead");

    CLI::App* set = AddLive(app, o, "set", "write one parameter, read it back and check it");
    set->add_option("NAME", o.name, "the parameter's name as in the listing's mirror (Set__4)")
        ->required()
        ->check(Check("NAME", ParamName));
    set->add_option("VALUE", o.value,
                    "the new value; a length in the user's unit (5'6\" in feet), else the "
                    "sensor's number")
        ->required();
    set->add_option("--units", o.userUnits,
                    "the unit VALUE is typed in (0 mm, 1 ft, 2 m, 3 in, "
                    "4 cm; default: the sensor's own)")
        ->type_name("U")
        ->check(CLI::Range(0, 4));

    const char* graphs[][2] = {{"scope", "capture the time series (D)"},
                               {"spectrum", "capture the power spectrum (F)"},
                               {"ramp", "capture the frequency-sweep ramp profile (y)"},
                               {"history", "transfer the sensor's history log (H)"}};
    for (const auto& g : graphs)
        AddTableOutput(*AddLive(app, o, g[0], g[1]), o);

    CLI::App* results = AddLive(app, o, "results", "print one result line as JSON");
    results->add_flag("--follow", o.follow,
                      "keep the results stream running, one JSON line a result, until "
                      "interrupted (Ctrl-C)");

    CLI::App* raw = AddLive(app, o, "raw", "send characters and print what the sensor answers");
    raw->add_option("CHARS", o.chars, "the characters to send")->required();
    raw->add_option("--wait", o.wait, "seconds to collect the answer")
        ->type_name("S")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();

    AddLive(app, o, "backup", "write the sensor's settings to FILE")
        ->add_option("FILE", o.file, "the settings file")
        ->required();
    CLI::App* restore = AddLive(app, o, "restore", "write the settings of FILE to the sensor");
    restore->add_option("FILE", o.file, "a file written by backup")->required();
    restore->add_flag("--force", o.force, "also restore a file of the other sensor variant");
    restore->add_flag("--dry-run", o.dryRun, "only show what would change");
    AddLive(app, o, "diff", "compare the sensor's settings with FILE")
        ->add_option("FILE", o.file, "a file written by backup")
        ->required();
}

}  // namespace sondix::cli
