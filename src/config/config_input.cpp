// What a user does on the open screen, by control name: typing into a box, moving the up-down,
// clicking a choice, a check box or a button. The window and the command-line tool both come
// through here, so they run the same handlers.
#include <algorithm>
#include <charconv>
#include <span>
#include <string>
#include <string_view>

#include "config/config_screen.h"
#include "terminal/session.h"

namespace sondix {

using namespace config_detail;

namespace {

struct ButtonHandler {
    std::string_view name;
    void (*click)(Session&);
};

constexpr ButtonHandler kButtons[] = {
    {"cmdRefreshPar", cmdRefreshPar_Click},
    {"cmdCaldist", cmdCaldist_Click},
    {"cmdCalibrate", ConfigCalibrate_Click},
    {"cmdSet4", cmdSet4_Click},
    {"cmdSet20", cmdSet20_Click},
    {"cmdSetMinRange", cmdSetMinRange_Click},
    {"cmdSetMaxRange", cmdSetMaxRange_Click},
    {"cmdRelay1Dist", cmdRelay1Dist_Click},
    {"cmdRelay2Dist", cmdRelay2Dist_Click},
    {"cmdSetDamp", cmdSetDamp_Click},
    {"cmdAmpMin", cmdAmpMin_Click},
};

struct TextHandler {
    std::string_view name;
    void (*change)(Session&);
};

constexpr TextHandler kTexts[] = {
    {"txtCaldist", txtCaldist_Change},
    {"txtSet4", txtSet4_Change},
    {"txtSet20", txtSet20_Change},
    {"txtSetMinRange", txtSetMinRange_Change},
    {"txtSetMaxRange", txtSetMaxRange_Change},
    {"txtRelay1Dist", txtRelay1Dist_Change},
    {"txtRelay2Dist", txtRelay2Dist_Change},
    {"txtAmpMin", txtAmpMin_Change},
};

using Group = std::span<ScreenControl> (*)(ConfigScreen&);

struct OptionHandler {
    std::string_view group;
    Group controls;
    void (*click)(Session&, int, By);
};

constexpr OptionHandler kOptions[] = {
    {"optUnits", [](ConfigScreen& c) { return std::span<ScreenControl>(c.optUnits); },
     optUnits_Click},
    {"optRelay1Mode", [](ConfigScreen& c) { return std::span<ScreenControl>(c.optRelay1Mode); },
     optRelay1Mode_Click},
    {"optRelay2Mode", [](ConfigScreen& c) { return std::span<ScreenControl>(c.optRelay2Mode); },
     optRelay2Mode_Click},
    {"optPkSel", [](ConfigScreen& c) { return std::span<ScreenControl>(c.optPkSel); },
     optPkSel_Click},
    {"optOutSel", [](ConfigScreen& c) { return std::span<ScreenControl>(c.optOutSel); },
     optOutSel_Click},
    {"optHist", [](ConfigScreen& c) { return std::span<ScreenControl>(c.optHist); }, optHist_Click},
};

struct CheckHandler {
    std::string_view name;
    void (*click)(Session&, By);
};

constexpr CheckHandler kChecks[] = {
    {"chkRelay1Invert", chkRelay1Invert_Click},
    {"chkRelay2Invert", chkRelay2Invert_Click},
};

bool ParseInt(std::string_view text, int& out) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, out);
    return r.ec == std::errc{} && r.ptr == end;
}

// "optUnits(2)" into its group and index.
bool SplitIndexed(std::string_view name, std::string_view& group, int& index) {
    const std::size_t open = name.find('(');
    if (open == std::string_view::npos || name.size() < open + 3 || name.back() != ')') {
        return false;
    }
    group = name.substr(0, open);
    return ParseInt(name.substr(open + 1, name.size() - open - 2), index);
}

// Clears the rest of the option's group and runs its handler.
bool ClickOption(Session& s, std::string_view name, ScreenControl& option) {
    std::string_view group;
    int index = 0;
    if (!SplitIndexed(name, group, index)) return false;
    for (const OptionHandler& h : kOptions) {
        if (h.group != group) continue;
        for (ScreenControl& o : h.controls(s.config))
            o.value = false;
        option.value = true;
        h.click(s, index, By::User);
        return true;
    }
    return false;
}

bool SetByKind(Session& s, std::string_view name, ScreenControl& c, std::string_view value) {
    int v = 0;
    switch (c.kind) {
        case ControlKind::TextBox:
            for (const TextHandler& h : kTexts) {
                if (h.name != name) continue;
                SetText(s, c, std::string(value), h.change);
                return true;
            }
            return false;
        case ControlKind::UpDown:
            if (!ParseInt(value, v)) return false;
            c.number = std::clamp(v, kDampMin, kDampMax);
            updDamp_Change(s);
            return true;
        case ControlKind::Option:
            if (value != "1") return false;
            return ClickOption(s, name, c);
        case ControlKind::Check:
            if (value != "0" && value != "1") return false;
            for (const CheckHandler& h : kChecks) {
                if (h.name != name) continue;
                if (c.value != (value == "1")) {
                    c.value = value == "1";
                    h.click(s, By::User);
                }
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace

bool ConfigSet(Session& s, std::string_view name, std::string_view value) {
    ScreenControl* c = FindControl(s.config, name);
    if (c == nullptr) return false;
    if (!c->enabled || !c->visible) {
        return c->kind == ControlKind::TextBox || c->kind == ControlKind::UpDown ||
               c->kind == ControlKind::Option || c->kind == ControlKind::Check;
    }
    const bool ok = SetByKind(s, name, *c, value);
    Redraw(s);
    return ok;
}

bool ConfigClick(Session& s, std::string_view name) {
    for (const ButtonHandler& h : kButtons) {
        if (h.name != name) continue;
        const ScreenControl* c = FindControl(s.config, name);
        if (c->enabled && c->visible) h.click(s);
        Redraw(s);
        return true;
    }
    return false;
}

}  // namespace sondix
