#include "decode_run.h"

#include <algorithm>
#include <ctime>

#include "history/hist_transfer.h"
#include "response/show_data.h"
#include "terminal/main_window.h"

namespace sondix::cli {

namespace {

// The local date and time of the run: titles are dated as the program would date them now.
Gen::DateTime LocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace

DecodeRun::DecodeRun() {
    host.logOpen = true;  // the log captures what the logging step writes
    host.onShowGraph = [this] { graphs.push_back(s.graph); };
    host.onResultsChanged = [this] { results.push_back(s.results); };
    host.onShowHist = [this] { histories.push_back(TakeHistorySnapshot(s)); };
}

void RunDecode(DecodeRun& run, const DecodeOptions& o, const std::string& input) {
    Session& s = run.s;
    run.clock.date = o.now ? *o.now : LocalNow();
    if (o.units) s.mirror.Units = *o.units;
    if (o.firmware) s.mirror.FirmwareRev = *o.firmware;
    if (o.velocimeter) s.mirror.VelocimeterMode = true;
    if (o.headerStr) s.GraphHeaderStr = *o.headerStr;

    if (o.fromFile) {
        // "&Disp Hist File": no command is sent; the whole file goes over in one call.
        std::string text = input;
        HistTransfer(s, text, true);
        return;
    }

    // The command has just been sent: its key is pending and the parser starts afresh.
    s.CommandKey = static_cast<std::int16_t>(static_cast<unsigned char>(o.key));
    ResetVariables(s);
    if (o.key == '{') {
        // The results stream feeds the results window, which the Results button opens first.
        s.ResultDisp_Loaded = true;
        run.host.resultsWindow = true;
    }

    const std::size_t block = o.block > 0 ? o.block : std::max<std::size_t>(input.size(), 1);
    for (std::size_t at = 0; at < input.size(); at += block) {
        std::string piece = input.substr(at, block);
        ShowData(s, run.term, piece);
    }
}

}  // namespace sondix::cli
