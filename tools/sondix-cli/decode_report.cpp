// The JSON report of a decode run. Field names and their order are fixed: scripts rely on them.
#include <string>

#include "config/param_mirror.h"
#include "decode_run.h"
#include "json_out.h"

namespace sondix::cli {
namespace {

Json Messages(const RecordingAsker& asker) {
    Json a = Json::array();
    for (const AskedMessage& m : asker.asked)
        a.push_back(Json{{"title", Latin1(m.title)}, {"text", Latin1(m.text)}});
    return a;
}

Json State(const Session& s) {
    const ParserState& p = s.parser;
    const ResultFields& r = s.res;
    const SpectrumStats& st = s.stats;
    Json j;
    j["CommandKey"] = s.CommandKey;
    j["GraphState"] = p.GraphState;
    j["AutoSpect_status"] = p.AutoSpect_status;
    j["AutoResults_status"] = p.AutoResults_status;
    j["NWords"] = p.NWords;
    j["ResultVel"] = Float(r.ResultVel);
    j["ResultDist"] = Float(r.ResultDist);
    j["ResultFreq"] = Float(r.ResultFreq);
    j["ResultFdif"] = Float(r.ResultFdif);
    j["ResultSignal"] = r.ResultSignal;
    j["ModeVelocity"] = r.ModeVelocity;
    j["ModeText"] = Latin1(r.ModeText);
    j["SamplePeriodUs"] = Float(r.SamplePeriodUs);
    j["SamplePeriodMs"] = Double(r.SamplePeriodMs);
    j["VrefCal"] = Float(r.VrefCal);
    j["UnitTimeDays"] = Double(r.UnitTimeDays);
    j["RampText"] = Latin1(r.RampText);
    j["StatMean"] = Float(st.StatMean);
    j["StatSd"] = Float(st.StatSd);
    j["StatRel"] = Float(st.StatRel);
    j["StatCount"] = st.StatCount;
    return j;
}

Json Rgb(const Colour& c) {
    return Json::array({c.r, c.g, c.b});
}

Json Results(const ResultsModel& m) {
    Json j;
    j["txtOutputvalue"] = Latin1(m.txtOutputvalue);
    j["txtSigstrength"] = Latin1(m.txtSigstrength);
    j["pbrSigstrength"] = m.pbrSigstrength;
    j["SigColor"] = Rgb(m.SigColor);
    j["shpRelay1"] = Rgb(m.shpRelay1);
    j["shpRelay2"] = Rgb(m.shpRelay2);
    return j;
}

}  // namespace

Json MirrorJson(const ParamMirror& m) {
    Json j;
    j["LogoStr"] = Latin1(m.LogoStr);
    for (const MirrorNumber& n : kMirrorNumbers)
        j[std::string(n.name)] = Float(m.*(n.member));
    j["NumberOfFFTdatapoints"] = m.NumberOfFFTdatapoints;
    j["FirstInitDone"] = m.FirstInitDone;
    j["VelocimeterMode"] = m.VelocimeterMode;
    return j;
}

Json GraphJson(const GraphModel& g) {
    Json points = Json::array();
    for (const GraphPoint& pt : g.points)
        points.push_back(Json::array({Float(pt.x), Float(pt.y)}));
    Json j;
    j["kind"] = Latin1(g.kind == 0 ? std::string() : std::string(1, g.kind));
    j["npoints"] = g.NPoints();
    j["points"] = std::move(points);
    j["XAxisScaleFact"] = Float(g.XAxisScaleFact);
    j["label_step"] = Float(g.labelStep);
    j["divisions_per_label"] = g.divisionsPerLabel;
    j["divisions_per_tick"] = g.divisionsPerTick;
    j["y_axis"] = g.yAxisSetByTransfer ? Json{{"min", Double(g.yAxis.min)},
                                              {"max", Double(g.yAxis.max)},
                                              {"major", g.yAxis.major}}
                                       : Json(nullptr);
    j["title"] = Latin1(g.title);
    j["caption"] = Latin1(g.caption);
    j["footnote"] = Latin1(g.footnote);
    return j;
}

Json DecodeReportObject(const DecodeRun& run) {
    Json j;
    j["terminal"] = Latin1(run.term.text);
    j["log"] = Latin1(run.host.log);
    j["sent"] = Latin1(run.port.sent);
    j["messages"] = Messages(run.asker);
    j["state"] = State(run.s);
    j["mirror"] = MirrorJson(run.s.mirror);
    j["graphs"] = Json::array();
    for (const GraphModel& g : run.graphs)
        j["graphs"].push_back(GraphJson(g));
    j["results"] = Json::array();
    for (const ResultsModel& m : run.results)
        j["results"].push_back(Results(m));
    j["history"] = HistoryReport(run.histories);
    return j;
}

std::string DecodeReport(const DecodeRun& run) {
    return Dump(DecodeReportObject(run));
}

}  // namespace sondix::cli
