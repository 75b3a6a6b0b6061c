#include "options.h"

#include <CLI/CLI.hpp>
#include <cmath>

namespace sondix::sim {
namespace {

constexpr const char* kDescription =
    "Simulated FMCW radar sensor on a pseudo-terminal. Prints the device path on the\n"
    "first line of stdout and runs until SIGTERM or SIGINT.";

// A CLI11 check: "" when the text is acceptable, else the reason.
CLI::Validator Check(std::string name, std::function<std::string(const std::string&)> rule) {
    return CLI::Validator(std::move(rule), "", std::move(name));
}

const CLI::Validator kRate = CLI::Range(0.0, 1.0);

// "MIN:MAX", 1 <= MIN <= MAX.
bool Split(const std::string& s, LineConfig& line) {
    const auto colon = s.find(':');
    if (colon == std::string::npos) return false;
    int lo = 0;
    int hi = 0;
    if (!CLI::detail::lexical_cast(s.substr(0, colon), lo) ||
        !CLI::detail::lexical_cast(s.substr(colon + 1), hi) || lo < 1 || hi < lo ||
        hi > (1 << 20)) {
        return false;
    }
    line.splitMin = lo;
    line.splitMax = hi;
    return true;
}

// The data graphs hold a power of two of words.
std::string PowerOfTwo(const std::string& s) {
    int n = 0;
    return CLI::detail::lexical_cast(s, n) && (n & (n - 1)) == 0 ? "" : "not a power of two";
}

std::string Firmware(const std::string& s) {
    double v = 0;
    return CLI::detail::lexical_cast(s, v) && std::isfinite(v) && v >= 0 ? "" : "not a revision";
}

// Every option of the simulator, storing into `o`.
void AddOptions(CLI::App& app, CliOptions& o) {
    Config& c = o.sensor;
    app.add_option("--link", o.link, "symbolic link PATH to the device (removed on exit)")
        ->type_name("PATH")
        ->check(Check("PATH", [](const std::string& s) { return s.empty() ? "empty" : ""; }));
    app.add_option("--baud", o.line.baud, "pace output like a serial line (0 unpaced)")
        ->type_name("N")
        ->check(CLI::Range(0, 4'000'000))
        ->capture_default_str();
    app.add_flag_callback(
        "--velocimeter", [&c] { c.variant = Variant::Velocimeter; },
        "the velocimeter variant (default: distance sensor)");
    app.add_option("--firmware", c.firmware, "firmware revision in the logo (0.47 / 1.51)")
        ->type_name("R")
        ->check(Check("R", Firmware));
    app.add_option("--nwords", c.nwords, "words of every data graph: 512, 1024, 2048 (4096)")
        ->type_name("N")
        ->check(CLI::Range(512, 4096) & Check("N", PowerOfTwo));
    app.add_option("--results-interval", c.resultsInterval, "seconds between '{' results lines")
        ->type_name("S")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    // The quiet line the sensor waits for before the next spectrum keeps its share of the
    // interval, so a fast stream still leaves the host room to stop it.
    app.add_option_function<double>(
           "--spectrum-interval",
           [&c](double v) {
               c.spectrumGap *= v / c.spectrumInterval;
               c.spectrumInterval = v;
           },
           "shortest time between '[' spectra (default 1)")
        ->type_name("S")
        ->check(CLI::PositiveNumber);
    app.add_option("--history-records", c.historyRecords, "records in the history log")
        ->type_name("N")
        ->check(CLI::Range(0, 100000))
        ->capture_default_str();
    app.add_option("--history-interval", c.historyInterval,
                   "seconds between records (default: from HistLog)")
        ->type_name("S")
        ->check(CLI::PositiveNumber);
    app.add_option("--history-loe-every", c.historyLoeEvery, "every K-th record with loss of echo")
        ->type_name("K")
        ->check(CLI::Range(0, 100000));
    app.add_flag("--history-shuffle", c.historyShuffle, "some records out of time order");
    app.add_option_function<std::string>(
           "--split",
           [&o](const std::string& s) {
               if (!Split(s, o.line)) throw CLI::ValidationError("--split", "needs MIN:MAX");
           },
           "deliver output in blocks of MIN..MAX bytes with gaps")
        ->type_name("MIN:MAX");
    app.add_option("--garble", o.line.garbleRate, "replace this share of characters")
        ->type_name("RATE")
        ->check(kRate);
    app.add_option("--drop", o.line.dropRate, "lose this share of characters")
        ->type_name("RATE")
        ->check(kRate);
    app.add_option("--hangup-after", o.hangupAfter, "close the device after S seconds and exit")
        ->type_name("S")
        ->check(CLI::PositiveNumber);
    app.add_option_function<std::uint64_t>(
           "--seed",
           [&o](std::uint64_t v) {
               o.sensor.seed = v;
               o.line.seed = v;
           },
           "seed of every generator (default 1)")
        ->type_name("N");
}

std::unique_ptr<CLI::App> MakeApp(CliOptions& o) {
    auto app = std::make_unique<CLI::App>(kDescription, "sondix-sim");
    AddOptions(*app, o);
    return app;
}

}  // namespace

std::optional<CliOptions> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    CliOptions o;
    const auto app = MakeApp(o);
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // as CLI11 takes them
    try {
        app->parse(reversed);
    } catch (const CLI::CallForHelp&) {
        o.help = true;
    } catch (const CLI::ParseError& e) {
        error = e.what();
        return std::nullopt;
    }
    return o;
}

std::string Usage() {
    CliOptions unused;
    return MakeApp(unused)->help();
}

}  // namespace sondix::sim
