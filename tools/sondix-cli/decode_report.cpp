// The JSON report of a decode run. Field names are fixed: scripts rely on them.
#include <string>

#include "config/param_mirror.h"
#include "decode_run.h"
#include "json_writer.h"

namespace sondix::cli {
namespace {

void WriteMessages(JsonWriter& w, const RecordingAsker& asker) {
    w.BeginArray();
    for (const AskedMessage& m : asker.asked) {
        w.BeginObject();
        w.Key("title");
        w.String(m.title);
        w.Key("text");
        w.String(m.text);
        w.EndObject();
    }
    w.EndArray();
}

void WriteState(JsonWriter& w, const Session& s) {
    const ParserState& p = s.parser;
    const ResultFields& r = s.res;
    const SpectrumStats& st = s.stats;
    w.BeginObject();
    w.Key("CommandKey");
    w.Int(s.CommandKey);
    w.Key("GraphState");
    w.Int(p.GraphState);
    w.Key("AutoSpect_status");
    w.Int(p.AutoSpect_status);
    w.Key("AutoResults_status");
    w.Int(p.AutoResults_status);
    w.Key("NWords");
    w.Int(p.NWords);
    w.Key("ResultVel");
    w.Float(r.ResultVel);
    w.Key("ResultDist");
    w.Float(r.ResultDist);
    w.Key("ResultFreq");
    w.Float(r.ResultFreq);
    w.Key("ResultFdif");
    w.Float(r.ResultFdif);
    w.Key("ResultSignal");
    w.Int(r.ResultSignal);
    w.Key("ModeVelocity");
    w.Bool(r.ModeVelocity);
    w.Key("ModeText");
    w.String(r.ModeText);
    w.Key("SamplePeriodUs");
    w.Float(r.SamplePeriodUs);
    w.Key("SamplePeriodMs");
    w.Double(r.SamplePeriodMs);
    w.Key("VrefCal");
    w.Float(r.VrefCal);
    w.Key("UnitTimeDays");
    w.Double(r.UnitTimeDays);
    w.Key("RampText");
    w.String(r.RampText);
    w.Key("StatMean");
    w.Float(st.StatMean);
    w.Key("StatSd");
    w.Float(st.StatSd);
    w.Key("StatRel");
    w.Float(st.StatRel);
    w.Key("StatCount");
    w.Int(st.StatCount);
    w.EndObject();
}

void WriteMirror(JsonWriter& w, const ParamMirror& m) {
    w.BeginObject();
    w.Key("LogoStr");
    w.String(m.LogoStr);
    for (const MirrorNumber& n : kMirrorNumbers) {
        w.Key(n.name);
        w.Float(m.*(n.member));
    }
    w.Key("NumberOfFFTdatapoints");
    w.Int(m.NumberOfFFTdatapoints);
    w.Key("FirstInitDone");
    w.Int(m.FirstInitDone);
    w.Key("VelocimeterMode");
    w.Bool(m.VelocimeterMode);
    w.EndObject();
}

void WriteGraph(JsonWriter& w, const GraphModel& g) {
    w.BeginObject();
    w.Key("kind");
    w.String(g.kind == 0 ? std::string() : std::string(1, g.kind));
    w.Key("npoints");
    w.Int(g.NPoints());
    w.Key("points");
    w.BeginArray();
    for (const GraphPoint& pt : g.points) {
        w.BeginArray();
        w.Float(pt.x);
        w.Float(pt.y);
        w.EndArray();
    }
    w.EndArray();
    w.Key("XAxisScaleFact");
    w.Float(g.XAxisScaleFact);
    w.Key("label_step");
    w.Float(g.labelStep);
    w.Key("divisions_per_label");
    w.Int(g.divisionsPerLabel);
    w.Key("divisions_per_tick");
    w.Int(g.divisionsPerTick);
    w.Key("y_axis");
    if (g.yAxisSetByTransfer) {
        w.BeginObject();
        w.Key("min");
        w.Double(g.yAxis.min);
        w.Key("max");
        w.Double(g.yAxis.max);
        w.Key("major");
        w.Int(g.yAxis.major);
        w.EndObject();
    } else {
        w.Null();
    }
    w.Key("title");
    w.String(g.title);
    w.Key("caption");
    w.String(g.caption);
    w.Key("footnote");
    w.String(g.footnote);
    w.EndObject();
}

void WriteColour(JsonWriter& w, const Colour& c) {
    w.BeginArray();
    w.Int(c.r);
    w.Int(c.g);
    w.Int(c.b);
    w.EndArray();
}

void WriteResults(JsonWriter& w, const ResultsModel& m) {
    w.BeginObject();
    w.Key("txtOutputvalue");
    w.String(m.txtOutputvalue);
    w.Key("txtSigstrength");
    w.String(m.txtSigstrength);
    w.Key("pbrSigstrength");
    w.Int(m.pbrSigstrength);
    w.Key("SigColor");
    WriteColour(w, m.SigColor);
    w.Key("shpRelay1");
    WriteColour(w, m.shpRelay1);
    w.Key("shpRelay2");
    WriteColour(w, m.shpRelay2);
    w.EndObject();
}

}  // namespace

std::string DecodeReport(const DecodeRun& run) {
    JsonWriter w;
    w.BeginObject();
    w.Key("terminal");
    w.String(run.term.text);
    w.Key("log");
    w.String(run.host.log);
    w.Key("sent");
    w.String(run.port.sent);
    w.Key("messages");
    WriteMessages(w, run.asker);
    w.Key("state");
    WriteState(w, run.s);
    w.Key("mirror");
    WriteMirror(w, run.s.mirror);
    w.Key("graphs");
    w.BeginArray();
    for (const GraphModel& g : run.graphs)
        WriteGraph(w, g);
    w.EndArray();
    w.Key("results");
    w.BeginArray();
    for (const ResultsModel& m : run.results)
        WriteResults(w, m);
    w.EndArray();
    w.EndObject();
    return w.Text();
}

}  // namespace sondix::cli
