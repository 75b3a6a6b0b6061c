#include "live_commands.h"

#include <QCoreApplication>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "common/gen_datetime.h"
#include "common/gen_format.h"
#include "config/param_exchange.h"
#include "config/settings_file.h"
#include "config/units.h"
#include "decode_run.h"
#include "exit_codes.h"
#include "export/graph_workbook.h"
#include "history_report.h"
#include "json_out.h"
#include "terminal/main_window.h"

namespace sondix::cli {
namespace {

constexpr double kSetReplyWait = 0.5;  // for the "OK" or "ERR" after a parameter write
constexpr double kDrainSeconds = 3;

volatile std::sig_atomic_t gInterrupted = 0;

void OnInterrupt(int) {
    gInterrupted = 1;
}

std::string FloatText(float v) {
    char buf[32];
    const auto end = std::to_chars(std::begin(buf), std::end(buf), v).ptr;
    return std::string(buf, end);
}

// The unit label without the blank that pads "m " in the windows.
std::string Label(const ParamMirror& m) {
    std::string label = UnitLabel(m);
    while (!label.empty() && label.back() == ' ')
        label.pop_back();
    return label;
}

// A plain number and nothing else.
std::optional<double> StrictNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) return std::nullopt;
    return v;
}

bool HasDigit(std::string_view text) {
    return text.find_first_of("0123456789") != std::string_view::npos;
}

// The typed value in the sensor's own terms: millimetres for a length (typed in --units, else in
// the sensor's unit, feet and inches as the screen reads them), else the number itself.
std::optional<double> UserValue(const SetParam& p, const ParamMirror& m, const LiveOptions& o) {
    if (!p.length) return StrictNumber(o.value);
    if (!HasDigit(o.value)) return std::nullopt;
    ParamMirror typed = m;
    if (o.userUnits) typed.Units = static_cast<float>(*o.userUnits);
    const float mm = cnv_units_str_to_mm(typed, o.value);
    // The screen's length buttons first show the value in the sensor's unit and send what they
    // show: the length rounded to that unit's resolution.
    return cnv_units_str_to_mm(m, cnv_mm_to_units_str(m, mm));
}

struct GraphCommand {
    const char* name;
    void (*click)(Session&);
    const char* what;
    int wordWidth;
};

constexpr GraphCommand kGraphCommands[] = {
    {"scope", cmdScope_Click, "the time series (D)", 4},
    {"spectrum", cmdSpect_Click, "the spectrum (F)", 3},
    {"ramp", cmdRamp_Click, "the ramp profile (y)", 4},
};

// About what a data graph answer holds: the header, the words 16 to a line, the terminator.
long long GraphBytes(const Session& s, int wordWidth) {
    constexpr long long kHeaderAndEnd = 420;
    const long long words = s.parser.NWords;
    return kHeaderAndEnd + words * wordWidth + words / 16 * 2;
}

// About what a history answer holds, when its header line says how many records follow
// ("VELHIST N=120 ..."): the lines before it and 62 characters a record. 0 when it does not.
long long HistoryBytes(const std::string& received) {
    constexpr long long kRecordLine = 62;
    const std::size_t header = received.find("VELHIST");
    if (header == std::string::npos) return 0;
    const std::size_t eol = received.find('\n', header);
    const std::size_t n = received.find("N=", header);
    if (n == std::string::npos || (eol != std::string::npos && n > eol)) return 0;
    const long long records = std::atoll(received.c_str() + n + 2);
    return static_cast<long long>(eol == std::string::npos ? header : eol) +
           (records + 1) * kRecordLine;
}

// One line a record in the order received: minutes from the first record, the value, loop
// current, signal and noise in percent, relays, temperature, the second value, the status word.
void PrintHistoryCsv(const Gen::HistoryArrays& a, int count) {
    std::cout << "record,minutes,value,loop_pct,signal_pct,noise_pct,relays,temp_c,value2,status\n";
    char status[16];
    for (int i = 1; i <= count; ++i) {
        std::snprintf(status, sizeof status, "%08X", static_cast<unsigned>(a.HistStatus[i]));
        std::cout << i << "," << Gen::CStr(a.HistTime[i]) << "," << FloatText(a.HistValue[i]) << ","
                  << FloatText(a.HistLoopPct[i]) << "," << FloatText(a.HistSignalPct[i]) << ","
                  << FloatText(a.HistNoisePct[i]) << "," << FloatText(a.HistRelays[i]) << ","
                  << FloatText(a.HistTempC[i]) << "," << FloatText(a.HistValue2[i]) << "," << status
                  << "\n";
    }
}

void PrintCsv(const GraphModel& g) {
    std::cout << g.xAxisTitle << "," << g.yAxisTitle << "\n";
    for (const GraphPoint& pt : g.points)
        std::cout << FloatText(pt.x) << "," << FloatText(pt.y) << "\n";
}

// The relay lamp as on, off or unknown (no "stat=" in the line).
Json RelayState(const Colour& lamp) {
    if (lamp == Colour{85, 85, 85}) return Json(nullptr);
    return Json(lamp.g == 255);
}

Json ResultLine(LiveLink& link) {
    const Session& s = link.s();
    const ResultsModel& m = s.results;
    Json j;
    j["time"] = Gen::FormatGeneral(link.clock.Now());
    j["value"] = Latin1(m.txtOutputvalue);
    j["unit"] = Label(s.mirror);
    j["signal"] = m.pbrSigstrength;
    j["relay1"] = RelayState(m.shpRelay1);
    j["relay2"] = RelayState(m.shpRelay2);
    return j;
}

void WaitForSetReply(LiveLink& link) {
    const double until = link.clock.Monotonic() + kSetReplyWait;
    while (link.clock.Monotonic() < until && link.tap.received.find("OK") == std::string::npos &&
           link.tap.received.find("ERR") == std::string::npos)
        link.clock.Wait(0.02);
}

struct LiveCommand {
    const char* name;
    int (*run)(LiveLink&, const LiveOptions&);
    bool listingFirst;  // the mirror (unit, firmware, the unit's name) is needed
};

constexpr LiveCommand kCommands[] = {
    {"params", RunParams, false},  {"set", RunSet, true},    {"scope", RunGraph, true},
    {"spectrum", RunGraph, true},  {"ramp", RunGraph, true}, {"history", RunHistory, true},
    {"results", RunResults, true}, {"raw", RunRaw, false},   {"backup", RunBackup, true},
    {"restore", RunRestore, true}, {"diff", RunDiff, true},
};

}  // namespace

int WriteAndCheck(LiveLink& link, const SetParam& p, std::int16_t sent) {
    Session& s = link.s();
    const ParamMirror before = s.mirror;
    link.Begin();
    send_s_cmd(s, SetIndex(p, before), sent);
    WaitForSetReply(link);
    const std::string reply = link.tap.received;
    if (int status = link.Await([] { return true; }, p.name); status != kExitOk) return status;
    if (int status = link.ReadListing(); status != kExitOk) return status;

    const std::string wire = "s" + FormatSetValue(SetIndex(p, before), sent);
    if (reply.find("ERR") != std::string::npos) {
        std::cerr << "sondix-cli: the sensor refused " << p.name << " (sent " << wire << ")\n";
        return kExitRefused;
    }
    const double want = ReadBackValue(p, before, sent);
    const double got = s.mirror.*(p.member);
    if (!(std::abs(got - want) < 0.5)) {
        std::cerr << "sondix-cli: " << p.name << " reads back " << Gen::CStr(got) << ", not "
                  << Gen::CStr(want) << " (sent " << wire << ")\n";
        return kExitRefused;
    }
    return kExitOk;
}

int RunParams(LiveLink& link, const LiveOptions& o) {
    if (int status = link.ReadListing(); status != kExitOk) return status;
    const ParamMirror& m = link.s().mirror;
    if (!o.unitsTable) {
        std::cout << Dump(MirrorJson(m)) << "\n";
        return kExitOk;
    }
    std::printf("%-10s %5s  %s\n", "NAME", "INDEX", "VALUE");
    for (const SetParam* p : WritableParams(m))
        std::printf("%-10s %5d  %s\n", p->name, SetIndex(*p, m),
                    SettingShown(*p, m, m.*(p->member)).c_str());
    return kExitOk;
}

int RunSet(LiveLink& link, const LiveOptions& o) {
    const ParamMirror& m = link.s().mirror;
    const SetParam& p = *FindSetParam(o.name);
    if (SetIndex(p, m) < 0) {
        std::cerr << "sondix-cli: a " << (m.VelocimeterMode ? "velocimeter" : "distance sensor")
                  << " has no " << p.name << "\n";
        return kExitUsage;
    }
    const std::optional<double> value = UserValue(p, m, o);
    const std::optional<std::int16_t> sent = value ? SensorValue(p, m, *value) : std::nullopt;
    if (!sent) {
        std::cerr << "sondix-cli: " << o.value << " is not a value " << p.name << " can take\n";
        return kExitUsage;
    }
    const ParamMirror before = m;
    if (int status = WriteAndCheck(link, p, *sent); status != kExitOk) return status;
    Json j;
    j["name"] = p.name;
    j["index"] = SetIndex(p, before);
    j["sent"] = *sent;
    j["wire"] = "s" + FormatSetValue(SetIndex(p, before), *sent);
    j["value"] = Float(m.*(p.member));
    j["shown"] = Latin1(SettingShown(p, m, m.*(p.member)));
    std::cout << Dump(j) << "\n";
    return kExitOk;
}

int RunGraph(LiveLink& link, const LiveOptions& o) {
    const GraphCommand* cmd = nullptr;
    for (const GraphCommand& g : kGraphCommands)
        if (o.command == g.name) cmd = &g;
    Session& s = link.s();
    link.Begin();
    cmd->click(s);
    const int status = link.Await([&link] { return !link.graphs.empty(); }, cmd->what,
                                  [&s, cmd] { return GraphBytes(s, cmd->wordWidth); });
    if (status != kExitOk) return status;
    const GraphModel& g = link.graphs.front();
    if (o.format == "json") {
        std::cout << Dump(GraphJson(g)) << "\n";
    } else {
        PrintCsv(g);
    }
    if (o.xlsx.empty()) return kExitOk;
    const std::string failed = WriteGraphWorkbook(g, s.GraphHeaderStr, link.clock.Now(), o.xlsx);
    if (failed.empty()) return kExitOk;
    std::cerr << "sondix-cli: cannot write " << o.xlsx << ": " << failed << "\n";
    return kExitFile;
}

int RunHistory(LiveLink& link, const LiveOptions& o) {
    Session& s = link.s();
    link.Begin();
    cmdHist_Click(s);
    // The transfer ends with the window shown, or (no record) with the pending command cleared.
    const int status =
        link.Await([&] { return link.histShows > 0 || s.CommandKey != KeyCode('H'); },
                   "the history log (H)", [&link] { return HistoryBytes(link.tap.received); });
    if (status != kExitOk) return status;
    const std::int16_t count = link.histShows > 0 ? s.HistCount : 0;
    if (o.format == "json") {
        std::vector<HistorySnapshot> shown;
        if (count > 0) shown.push_back(TakeHistorySnapshot(s));
        std::cout << Dump(count > 0 ? HistoryReport(shown)[0] : Json::object()) << "\n";
    } else {
        PrintHistoryCsv(s.hist, count);
    }
    if (o.xlsx.empty()) return kExitOk;
    if (count == 0) {
        std::cerr << "sondix-cli: the history log holds no record: no workbook written\n";
        return kExitOk;
    }
    const std::string failed = WriteHistoryWorkbook(s, link.clock.Now(), o.xlsx);
    if (failed.empty()) return kExitOk;
    std::cerr << "sondix-cli: cannot write " << o.xlsx << ": " << failed << "\n";
    return kExitFile;
}

int RunResults(LiveLink& link, const LiveOptions& o) {
    Session& s = link.s();
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    link.Begin();
    cmdRptDist_Click(s);
    std::size_t printed = 0;
    int status = kExitOk;
    while (status == kExitOk && !gInterrupted) {
        status = link.Await([&] { return gInterrupted || link.resultsSeen > printed; },
                            "the results stream ({)");
        if (status != kExitOk || gInterrupted) break;
        printed = link.resultsSeen;
        std::cout << Dump(ResultLine(link)) << std::endl;
        if (!o.follow) break;
    }
    // The window's unload stops the stream ("}") as the Stop button does.
    if (s.ResultDisp_Loaded && link.tap.PortOpen()) UnloadResultsWindow(s);
    return status;
}

int RunRaw(LiveLink& link, const LiveOptions& o) {
    Session& s = link.s();
    link.Begin();
    for (const char c : o.chars) {
        txtTerm_KeyPress(s, c);
        link.clock.DoEvents();
    }
    const double until = link.clock.Monotonic() + o.wait;
    while (link.clock.Monotonic() < until && link.tap.PortOpen())
        link.clock.Wait(0.02);
    std::cout << link.tap.received << std::flush;
    if (!link.asker.asked.empty()) return link.Await([] { return true; }, "raw");
    if (link.tap.received.empty()) {
        std::cerr << "sondix-cli: no answer from the sensor within " << o.wait << " s\n";
        return kExitNoAnswer;
    }
    return kExitOk;
}

int RunLive(const LiveOptions& o) {
    int argc = 1;
    char name[] = "sondix-cli";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("Sondix");
    QCoreApplication::setOrganizationName("Sondix");

    LiveLink link(o);
    if (int status = link.Open(); status != kExitOk) return status;
    int status = kExitUsage;
    for (const LiveCommand& c : kCommands) {
        if (o.command != c.name) continue;
        status = c.listingFirst ? link.ReadListing() : kExitOk;
        if (status == kExitOk) status = c.run(link, o);
    }
    // What is still in the output buffer (a stream's stop) leaves before the port closes.
    if (link.tap.PortOpen()) DrainOutput(link.s(), kDrainSeconds);
    link.tap.SetPortOpen(false);
    return status;
}

}  // namespace sondix::cli
