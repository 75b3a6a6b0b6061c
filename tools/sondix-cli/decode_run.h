// `sondix-cli decode`: a recorded byte stream fed to the same ShowData the program runs, as the
// answer to one command, with the headless outside world recording what happened.
#pragma once

#include <string>
#include <vector>

#include "decode_options.h"
#include "history/results_model.h"
#include "history_report.h"
#include "json_out.h"
#include "response/graph_model.h"
#include "terminal/headless_io.h"
#include "terminal/session.h"

namespace sondix::cli {

// Everything the run leaves behind, for the report.
struct DecodeRun : HeadlessSession {
    std::vector<GraphModel> graphs;          // the chart at each ShowGraph
    std::vector<ResultsModel> results;       // the results window at each ResultsChanged
    std::vector<HistorySnapshot> histories;  // the history window at each display

    DecodeRun();
    DecodeRun(const DecodeRun&) = delete;
    DecodeRun& operator=(const DecodeRun&) = delete;
};

// Sets the session up as if `o.key` had just been sent, then feeds `input` in blocks.
void RunDecode(DecodeRun& run, const DecodeOptions& o, const std::string& input);

// The parameter mirror and one chart as the report writes them (the live commands print the same).
Json MirrorJson(const ParamMirror& m);
Json GraphJson(const GraphModel& g);

// The one JSON object the tool prints; later parts of the report add their members to it.
Json DecodeReportObject(const DecodeRun& run);
std::string DecodeReport(const DecodeRun& run);

}  // namespace sondix::cli
