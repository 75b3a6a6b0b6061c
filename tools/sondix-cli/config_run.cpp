// The configuration screen run headless: the Config button's load with the capture as the
// sensor's answer to each "P", then the actions in their order.
#include "config_run.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "common/pauses.h"
#include "config/config_screen.h"
#include "config_action.h"
#include "response/show_data.h"
#include "terminal/main_window.h"

namespace sondix::cli {
namespace {

struct AnswerName {
    std::string_view name;
    MsgAnswer answer;
};

constexpr AnswerName kAnswers[] = {
    {"OK", MsgAnswer::OK},         {"Cancel", MsgAnswer::Cancel}, {"Yes", MsgAnswer::Yes},
    {"No", MsgAnswer::No},         {"Retry", MsgAnswer::Retry},   {"Abort", MsgAnswer::Abort},
    {"Ignore", MsgAnswer::Ignore},
};

const AnswerName* FindAnswer(std::string_view name) {
    for (const AnswerName& a : kAnswers) {
        if (a.name == name) return &a;
    }
    return nullptr;
}

bool IsWhole(const std::string& v) {
    int n = 0;
    const auto r = std::from_chars(v.data(), v.data() + v.size(), n);
    return r.ec == std::errc{} && r.ptr == v.data() + v.size();
}

std::string CheckSet(const ScreenControl& c, const ConfigAction& a) {
    switch (c.kind) {
        case ControlKind::TextBox:
            return {};
        case ControlKind::UpDown:
            return IsWhole(a.value) ? "" : a.name + " takes a whole number";
        case ControlKind::Option:
            return a.value == "1" ? "" : a.name + " can only be clicked on (1)";
        case ControlKind::Check:
            return a.value == "0" || a.value == "1" ? "" : a.name + " takes 0 or 1";
        default:
            return a.name + " takes no input";
    }
}

// Feeds the capture as the answer to every "P" the screen sends; it arrives during the
// refresh's 2-second wait, as on the line.
class ListingAnswerer {
  public:
    ListingAnswerer(DecodeRun& run, const std::string& input, std::size_t block)
        : run_(run),
          input_(input),
          block_(block > 0 ? block : std::max<std::size_t>(input.size(), 1)) {}

    void OnEvents() {
        const std::vector<std::string>& writes = run_.port.writes;
        for (; seen_ < writes.size(); ++seen_) {
            if (writes[seen_] == "P") pending_ = true;
        }
        const std::vector<double>& waits = run_.clock.waits;
        if (!pending_ || feeding_ || waits.empty() || waits.back() != Gen::Pauses::kRefresh) return;
        pending_ = false;
        feeding_ = true;
        for (std::size_t at = 0; at < input_.size(); at += block_) {
            std::string piece = input_.substr(at, block_);
            ShowData(run_.s, run_.term, piece);
        }
        feeding_ = false;
    }

  private:
    DecodeRun& run_;
    const std::string& input_;
    std::size_t block_;
    std::size_t seen_ = 0;
    bool pending_ = false;
    bool feeding_ = false;
};

}  // namespace

bool SplitSetArgument(const std::string& arg, ConfigAction& out) {
    const std::size_t eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    out.kind = ConfigAction::Kind::Set;
    out.name = arg.substr(0, eq);
    out.value = arg.substr(eq + 1);
    return true;
}

std::string CheckConfigAction(const ConfigAction& a) {
    if (a.kind == ConfigAction::Kind::Answer) {
        return FindAnswer(a.name) ? "" : "unknown message box button: " + a.name;
    }
    ConfigScreen screen;
    const ScreenControl* c = FindControl(screen, a.name);
    if (c == nullptr) return "no control " + a.name + " on the configuration screen";
    if (a.kind == ConfigAction::Kind::Click) {
        return c->kind == ControlKind::Button ? "" : a.name + " is not a button";
    }
    return CheckSet(*c, a);
}

void RunConfig(DecodeRun& run, const DecodeOptions& o, const std::string& input) {
    Session& s = run.s;
    if (o.now) run.clock.date = *o.now;
    if (o.units) s.mirror.Units = *o.units;
    if (o.firmware) s.mirror.FirmwareRev = *o.firmware;
    if (o.velocimeter) s.mirror.VelocimeterMode = true;
    if (o.headerStr) s.GraphHeaderStr = *o.headerStr;

    ListingAnswerer answerer(run, input, o.block);
    run.clock.onEvents = [&answerer] { answerer.OnEvents(); };
    // A box gets the answers in the order given; without one left, its safe button.
    for (const ConfigAction& a : o.configActions) {
        if (a.kind == ConfigAction::Kind::Answer)
            run.asker.answers.push_back(FindAnswer(a.name)->answer);
    }

    cmdConfig_Click(s);
    for (const ConfigAction& a : o.configActions) {
        if (a.kind == ConfigAction::Kind::Set) ConfigSet(s, a.name, a.value);
        if (a.kind == ConfigAction::Kind::Click) ConfigClick(s, a.name);
    }
    run.clock.onEvents = nullptr;
}

}  // namespace sondix::cli
