#include "history_report.h"

#include "export/hist_workbook.h"
#include "terminal/session.h"

namespace sondix::cli {

namespace {

Json Record(const Gen::HistoryArrays& a, int i) {
    Json j;
    j["HistTime"] = Double(a.HistTime[i]);
    j["HistValue"] = Float(a.HistValue[i]);
    j["HistLoopPct"] = Float(a.HistLoopPct[i]);
    j["HistSignalPct"] = Float(a.HistSignalPct[i]);
    j["HistNoisePct"] = Float(a.HistNoisePct[i]);
    j["HistTempC"] = Float(a.HistTempC[i]);
    j["HistValue2"] = Float(a.HistValue2[i]);
    j["HistRelays"] = Float(a.HistRelays[i]);
    j["HistStatus"] = a.HistStatus[i];
    j["HistStatusChart"] = Float(a.HistStatusChart[i]);
    return j;
}

Json Scale(const HistAxis& axis, const char* lo, const char* hi) {
    Json j;
    j[lo] = Float(axis.min);
    j[hi] = Float(axis.max);
    j["ndivs"] = axis.ndivs;
    j["title"] = Latin1(axis.title);
    return j;
}

// The SetData arguments: i, t, vel, iloop, anerr, amp, noise, tempc.
Json Points(const HistModel& m) {
    Json points = Json::array();
    int i = 0;
    for (const HistPoint& p : m.points) {
        points.push_back(Json::array({++i, Float(p.t), Float(p.vel), Float(p.iloop), Float(p.anerr),
                                      Float(p.amp), Float(p.noise), Float(p.tempc)}));
    }
    return points;
}

Json History(const HistorySnapshot& h) {
    const HistTransferState& r = h.run;
    Json records = Json::array();
    for (int i = 1; i <= h.HistCount; ++i)
        records.push_back(Record(h.arrays.front(), i));
    Json legends = Json::array();
    for (const std::string& l : h.chart.legends)
        legends.push_back(Latin1(l));
    Json j;
    j["HistCount"] = h.HistCount;
    j["records"] = std::move(records);
    j["HistN"] = r.HistN;
    j["HistMean"] = Float(r.HistMean);
    j["HistSd"] = Float(r.HistSd);
    j["HistRel"] = Float(r.HistRel);
    j["Vmax100"] = Double(r.Vmax100);
    j["TimeUnit"] = Double(r.TimeUnit);
    j["YScale"] = Double(r.YScale);
    j["SetScaleX"] = Scale(h.chart.x, "xmin", "xmax");
    j["SetScaleY"] = Scale(h.chart.y, "ymin", "ymax");
    j["order"] = r.HistOrder;
    j["points"] = Points(h.chart);
    j["legends"] = std::move(legends);
    j["title"] = Latin1(h.chart.title);
    j["caption"] = Latin1(h.chart.caption);
    j["footnote"] = Latin1(h.chart.footnote);
    return j;
}

}  // namespace

HistorySnapshot TakeHistorySnapshot(const Session& s) {
    HistorySnapshot h;
    h.HistCount = s.HistCount;
    h.arrays.push_back(s.hist);
    h.run = s.histRun;
    h.chart = s.histChart;
    h.modeVelocity = s.res.ModeVelocity;
    return h;
}

Json HistoryReport(const std::vector<HistorySnapshot>& histories) {
    Json a = Json::array();
    for (const HistorySnapshot& h : histories)
        a.push_back(History(h));
    return a;
}

std::string WriteHistoryWorkbook(const Session& s, const Gen::DateTime& now,
                                 const std::string& path) {
    return WriteHistWorkbook(s.hist, s.histChart.NPoints(), s.res.ModeVelocity, s.GraphHeaderStr,
                             now, path);
}

}  // namespace sondix::cli
