#include "options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace sondix::sim {
namespace {

bool ToDouble(const std::string& s, double& v) {
    const char* end = s.data() + s.size();
    const auto r = std::from_chars(s.data(), end, v);
    return r.ec == std::errc() && r.ptr == end && std::isfinite(v);
}

bool ToLong(const std::string& s, long long& v) {
    const char* end = s.data() + s.size();
    const auto r = std::from_chars(s.data(), end, v);
    return r.ec == std::errc() && r.ptr == end;
}

bool ToUnsigned(const std::string& s, std::uint64_t& v) {
    const char* end = s.data() + s.size();
    const auto r = std::from_chars(s.data(), end, v);
    return r.ec == std::errc() && r.ptr == end;
}

bool NonNegative(const std::string& s, double& v) {
    return ToDouble(s, v) && v >= 0;
}
bool Rate(const std::string& s, double& v) {
    return ToDouble(s, v) && v >= 0 && v <= 1;
}

bool IntIn(const std::string& s, long long lo, long long hi, int& out) {
    long long v = 0;
    if (!ToLong(s, v) || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

// "MIN:MAX", 1 <= MIN <= MAX.
bool Split(const std::string& s, LineConfig& line) {
    const auto colon = s.find(':');
    if (colon == std::string::npos) return false;
    int lo = 0;
    int hi = 0;
    if (!IntIn(s.substr(0, colon), 1, 1 << 20, lo) ||
        !IntIn(s.substr(colon + 1), lo, 1 << 20, hi)) {
        return false;
    }
    line.splitMin = lo;
    line.splitMax = hi;
    return true;
}

using ValueOption = std::function<bool(const std::string&, CliOptions&)>;

const std::map<std::string, ValueOption>& ValueOptions() {
    static const std::map<std::string, ValueOption> kOptions = {
        {"--link",
         [](const std::string& s, CliOptions& o) {
             o.link = s;
             return !s.empty();
         }},
        {"--baud",
         [](const std::string& s, CliOptions& o) { return IntIn(s, 0, 4'000'000, o.line.baud); }},
        {"--firmware",
         [](const std::string& s, CliOptions& o) {
             double v = 0;
             o.sensor.firmware = s;
             return ToDouble(s, v) && v >= 0;
         }},
        {"--nwords",
         [](const std::string& s, CliOptions& o) {
             return IntIn(s, 512, 4096, o.sensor.nwords) &&
                    (o.sensor.nwords & (o.sensor.nwords - 1)) == 0;
         }},
        {"--results-interval",
         [](const std::string& s, CliOptions& o) {
             return ToDouble(s, o.sensor.resultsInterval) && o.sensor.resultsInterval > 0;
         }},
        {"--history-records",
         [](const std::string& s, CliOptions& o) {
             return IntIn(s, 0, 100000, o.sensor.historyRecords);
         }},
        {"--history-interval",
         [](const std::string& s, CliOptions& o) {
             return ToDouble(s, o.sensor.historyInterval) && o.sensor.historyInterval > 0;
         }},
        {"--history-loe-every",
         [](const std::string& s, CliOptions& o) {
             return IntIn(s, 0, 100000, o.sensor.historyLoeEvery);
         }},
        {"--split", [](const std::string& s, CliOptions& o) { return Split(s, o.line); }},
        {"--garble",
         [](const std::string& s, CliOptions& o) { return Rate(s, o.line.garbleRate); }},
        {"--drop", [](const std::string& s, CliOptions& o) { return Rate(s, o.line.dropRate); }},
        {"--hangup-after",
         [](const std::string& s, CliOptions& o) {
             return NonNegative(s, o.hangupAfter) && o.hangupAfter > 0;
         }},
        {"--seed",
         [](const std::string& s, CliOptions& o) {
             std::uint64_t v = 0;
             if (!ToUnsigned(s, v)) return false;
             o.sensor.seed = v;
             o.line.seed = v;
             return true;
         }},
    };
    return kOptions;
}

}  // namespace

std::optional<CliOptions> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    CliOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
            continue;
        }
        if (a == "--velocimeter") {
            o.sensor.variant = Variant::Velocimeter;
            continue;
        }
        if (a == "--history-shuffle") {
            o.sensor.historyShuffle = true;
            continue;
        }
        std::string name = a;
        std::string value;
        bool hasValue = false;
        if (const auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
            hasValue = true;
        }
        const auto it = ValueOptions().find(name);
        if (it == ValueOptions().end()) {
            error = "unknown option: " + a;
            return std::nullopt;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                error = "missing value for " + name;
                return std::nullopt;
            }
            value = args[++i];
        }
        if (!it->second(value, o)) {
            error = "bad value for " + name + ": " + value;
            return std::nullopt;
        }
    }
    return o;
}

std::string Usage() {
    return "usage: sondix-sim [options]\n"
           "Simulated FMCW radar sensor on a pseudo-terminal. Prints the device path on the\n"
           "first line of stdout and runs until SIGTERM or SIGINT.\n"
           "  --link PATH                 symbolic link PATH to the device (removed on exit)\n"
           "  --baud N                    pace output like a serial line (default 9600; 0 "
           "unpaced)\n"
           "  --velocimeter               the velocimeter variant (default: distance sensor)\n"
           "  --firmware R                firmware revision in the logo (0.47 / 1.51)\n"
           "  --nwords N                  words of every data graph: 512, 1024, 2048 (4096)\n"
           "  --results-interval S        seconds between '{' results lines (default 2)\n"
           "  --history-records N         records in the history log (default 240)\n"
           "  --history-interval S        seconds between records (default: from HistLog)\n"
           "  --history-loe-every K       every K-th record with loss of echo\n"
           "  --history-shuffle           some records out of time order\n"
           "  --split MIN:MAX             deliver output in blocks of MIN..MAX bytes with gaps\n"
           "  --garble RATE               replace this share of characters\n"
           "  --drop RATE                 lose this share of characters\n"
           "  --hangup-after S            close the device after S seconds and exit\n"
           "  --seed N                    seed of every generator (default 1)\n";
}

}  // namespace sondix::sim
