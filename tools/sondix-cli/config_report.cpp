// The configuration screen's part of the report: one member per control with the properties
// the screen sets or a user sees, and the screen's own state.
#include <string>

#include "config/config_screen.h"
#include "config_run.h"

namespace sondix::cli {
namespace {

const char* AnswerText(MsgAnswer a) {
    switch (a) {
        case MsgAnswer::OK:
            return "OK";
        case MsgAnswer::Cancel:
            return "Cancel";
        case MsgAnswer::Yes:
            return "Yes";
        case MsgAnswer::No:
            return "No";
        case MsgAnswer::Retry:
            return "Retry";
        case MsgAnswer::Abort:
            return "Abort";
        case MsgAnswer::Ignore:
            return "Ignore";
    }
    return "";
}

Json Control(const ScreenControl& c) {
    Json j;
    switch (c.kind) {
        case ControlKind::TextBox:
            j["text"] = Latin1(c.text);
            break;
        case ControlKind::UpDown:
            j["value"] = c.number;
            break;
        case ControlKind::Option:
        case ControlKind::Check:
            j["caption"] = Latin1(c.caption);
            j["value"] = c.value;
            break;
        default:
            j["caption"] = Latin1(c.caption);
            break;
    }
    j["enabled"] = c.enabled;
    j["visible"] = c.visible;
    if (c.tooltipAtRunTime) j["tooltip"] = Latin1(c.tooltip);
    if (c.kind == ControlKind::Button) j["face"] = Json::array({c.face.r, c.face.g, c.face.b});
    return j;
}

}  // namespace

std::string ConfigReport(const DecodeRun& run) {
    Json j = DecodeReportObject(run);
    Json boxes = Json::array();
    for (const AskedMessage& m : run.asker.asked) {
        boxes.push_back(Json{{"title", Latin1(m.title)},
                             {"text", Latin1(m.text)},
                             {"answer", AnswerText(m.answer)}});
    }
    j["messages"] = std::move(boxes);

    const ConfigScreen& c = run.s.config;
    Json controls;
    for (const ConstNamedControl& n : Controls(c))
        controls[n.name] = Control(*n.control);
    j["config"] = std::move(controls);
    j["screen"] = Json{{"FirstInitDone", run.s.mirror.FirstInitDone},
                       {"Relay1Choice", c.Relay1Choice},
                       {"Relay2Choice", c.Relay2Choice},
                       {"CalibrationBusy", c.CalibrationBusy},
                       {"FourPeakChoices", c.FourPeakChoices},
                       {"caption", Latin1(c.caption)}};
    return Dump(j);
}

}  // namespace sondix::cli
