// The configuration screen's controls as designed: kinds, captions, tool tips and faces, and the
// list of them by name that the window and the command-line tool go through.
#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_screen.h"

namespace sondix {
namespace {

using K = ControlKind;

ScreenControl Make(K kind, std::string caption = {}, std::string tooltip = {}) {
    ScreenControl c;
    c.kind = kind;
    c.caption = std::move(caption);
    c.tooltip = std::move(tooltip);
    if (kind == K::Button) c.face = kConfigButtonFace;
    return c;
}

// A length box: the refresh gives it the typing hint of the current unit.
ScreenControl Box(std::string tooltip = {}) {
    ScreenControl c = Make(K::TextBox, {}, std::move(tooltip));
    c.tooltipAtRunTime = true;
    return c;
}

}  // namespace

ConfigScreen::ConfigScreen() {
    lblHeader = Make(K::Label);
    cmdRefreshPar = Make(K::Button, "Refresh Parameters", "refresh if the sensor was reconnected");
    frmUnits = Make(K::Frame, "Units", "select distance unit");
    frmUnits.tooltipAtRunTime = true;
    const char* units[] = {"mm", "ft", "m", "in", "cm"};
    for (std::size_t i = 0; i < optUnits.size(); ++i)
        optUnits[i] = Make(K::Option, units[i], i == 0 ? "" : "select mm");

    txtCaldist = Box("type in the calibration distance");
    lblCaldist = Make(K::Label);
    cmdCaldist = Make(K::Button, "Update Caldist");
    cmdCalibrate = Make(K::Button, "Calibrate");

    txtSet4 = Box();
    lblSet4 = Make(K::Label);
    cmdSet4 = Make(K::Button, "Set 4mA", "good choices are 40cm,40\",4ft or 4m");
    txtSet20 = Box();
    lblSet20 = Make(K::Label);
    cmdSet20 = Make(K::Button, "Set 20mA", "good choices are 200cm,200\",20ft or 20m");
    txtSetMinRange = Box();
    lblSetMinRange = Make(K::Label, {}, "(Fmin)");
    cmdSetMinRange = Make(K::Button, "Set Min Range",
                          "typ >0.5m, below 0.5m use 2nd or 3rd Target Echo Selection ");
    txtSetMaxRange = Box();
    lblSetMaxRange = Make(K::Label, {}, "(Fmax) and max possible distance");
    cmdSetMaxRange =
        Make(K::Button, "Set Max Range", "max range is inverse to  the vmax-vmin ramp span");
    lblMaxPossibleRange =
        Make(K::Label, "Max:", "max possible distance depends on Vrampmax-Vrampmin span");

    frmRelay1 = Make(K::Frame, "R E L A Y   1");
    frmRelay2 = Make(K::Frame, "R E L A Y   2");
    const char* modes[] = {"DistSwitch", "LossOfEcho", "SysFault", "Always ON"};
    const char* modeTips[] = {"relay trips on exceeding the distance given below",
                              "relay trips on loss of echo", "relay trips on system fault",
                              "use invert to toggle ON/OFF"};
    for (std::size_t i = 0; i < 4; ++i) {
        optRelay1Mode[i] = Make(K::Option, modes[i], modeTips[i]);
        optRelay2Mode[i] = Make(K::Option, modes[i], modeTips[i]);
    }
    chkRelay1Invert = Make(K::Check, "Invert?", "invert relay status");
    chkRelay2Invert = Make(K::Check, "Invert?", "invert relay status");
    txtRelay1Dist = Box();
    lblRelay1Dist = Make(K::Label);
    cmdRelay1Dist = Make(K::Button, "Set Switch Dist", "apply switch dist value");
    txtRelay2Dist = Box();
    lblRelay2Dist = Make(K::Label);
    cmdRelay2Dist = Make(K::Button, "Set Switch Dist", "apply switch dist value");

    lblDamp = Make(K::Label, "Damping Filter Time (T50%)",
                   "to smooth out noise and lower the response time");
    updDamp = Make(K::UpDown);
    lblDampTime = Make(K::Label, "60ms");
    cmdSetDamp = Make(K::Button, "SetDamp", "apply the new value");
    lblAmpMinTitle = Make(K::Label, "Set amplitude detection threshold",
                          "Noise is typ ~50mV, typical targets are above 500mV  ");
    txtAmpMin = Make(K::TextBox);
    lblAmpMinUnits = Make(K::Label, "mV");
    cmdAmpMin = Make(K::Button, "AmpMin", "peak detection amplitude threshold");

    frmPkSel = Make(K::Frame, "Target Peak Echo Select",
                    "method of target echo selection when multiple echos are present above "
                    "AmpMin");
    for (ScreenControl& o : optPkSel) {
        o = Make(K::Option);
        o.tooltipAtRunTime = true;
    }
    frmOutSel = Make(K::Frame, "Output Select",
                     "Select out variable to be used on '{' and 'V' cmd and in \"Results\" window");
    const char* outs[] = {"Vel", "TotalDist", "Dist"};
    for (std::size_t i = 0; i < optOutSel.size(); ++i)
        optOutSel[i] = Make(K::Option, outs[i]);
    frmHist = Make(K::Frame, "History Data Log Interval",
                   "sensor output and status are automatically recorded \\n in internal memory at "
                   "the given time intervals");
    const char* hist[] = {"2s", "10s", "1m", "10m", "1h", "3h", "never"};
    const char* histTips[] = {"Stops logging after 33.6m",
                              "rolls over after 2.8h",
                              "rolls over after 16.8h",
                              "rolls over after 7d",
                              "rolls over after 42d",
                              "rolls over after 4.1months",
                              ""};
    for (std::size_t i = 0; i < optHist.size(); ++i)
        optHist[i] = Make(K::Option, hist[i], histTips[i]);

    frmCalculated = Make(K::Frame, "Calculated  ",
                         "estimated transmitter carrier frequency and sweep (approximate)");
    lblFreq = Make(K::Label, "Transmitter Freq", "center frequency");
    lblSweep = Make(K::Label, "Sweep Freq", "Sweep freq band  (FM modulation)");
}

namespace {

// Every control in the screen's order: `out.One(name, control)` and, for a group,
// `out.Group(base, controls)` (named "base(0)", "base(1)", ...).
template <typename Sink>
void ListControls(ConfigScreen& c, Sink& out) {
    out.One("lblHeader", c.lblHeader);
    out.One("cmdRefreshPar", c.cmdRefreshPar);
    out.One("frmUnits", c.frmUnits);
    out.Group("optUnits", c.optUnits);
    out.One("txtCaldist", c.txtCaldist);
    out.One("lblCaldist", c.lblCaldist);
    out.One("cmdCaldist", c.cmdCaldist);
    out.One("cmdCalibrate", c.cmdCalibrate);
    out.One("txtSet4", c.txtSet4);
    out.One("lblSet4", c.lblSet4);
    out.One("cmdSet4", c.cmdSet4);
    out.One("txtSet20", c.txtSet20);
    out.One("lblSet20", c.lblSet20);
    out.One("cmdSet20", c.cmdSet20);
    out.One("txtSetMinRange", c.txtSetMinRange);
    out.One("lblSetMinRange", c.lblSetMinRange);
    out.One("cmdSetMinRange", c.cmdSetMinRange);
    out.One("txtSetMaxRange", c.txtSetMaxRange);
    out.One("lblSetMaxRange", c.lblSetMaxRange);
    out.One("cmdSetMaxRange", c.cmdSetMaxRange);
    out.One("lblMaxPossibleRange", c.lblMaxPossibleRange);
    out.One("frmRelay1", c.frmRelay1);
    out.One("frmRelay2", c.frmRelay2);
    out.Group("optRelay1Mode", c.optRelay1Mode);
    out.Group("optRelay2Mode", c.optRelay2Mode);
    out.One("chkRelay1Invert", c.chkRelay1Invert);
    out.One("chkRelay2Invert", c.chkRelay2Invert);
    out.One("txtRelay1Dist", c.txtRelay1Dist);
    out.One("lblRelay1Dist", c.lblRelay1Dist);
    out.One("cmdRelay1Dist", c.cmdRelay1Dist);
    out.One("txtRelay2Dist", c.txtRelay2Dist);
    out.One("lblRelay2Dist", c.lblRelay2Dist);
    out.One("cmdRelay2Dist", c.cmdRelay2Dist);
    out.One("lblDamp", c.lblDamp);
    out.One("updDamp", c.updDamp);
    out.One("lblDampTime", c.lblDampTime);
    out.One("cmdSetDamp", c.cmdSetDamp);
    out.One("lblAmpMinTitle", c.lblAmpMinTitle);
    out.One("txtAmpMin", c.txtAmpMin);
    out.One("lblAmpMinUnits", c.lblAmpMinUnits);
    out.One("cmdAmpMin", c.cmdAmpMin);
    out.One("frmPkSel", c.frmPkSel);
    out.Group("optPkSel", c.optPkSel);
    out.One("frmOutSel", c.frmOutSel);
    out.Group("optOutSel", c.optOutSel);
    out.One("frmHist", c.frmHist);
    out.Group("optHist", c.optHist);
    out.One("frmCalculated", c.frmCalculated);
    out.One("lblFreq", c.lblFreq);
    out.One("lblSweep", c.lblSweep);
}

// The names with their controls, for the window and the report.
struct NameSink {
    std::vector<NamedControl> out;
    void One(const char* name, ScreenControl& c) { out.push_back({name, &c}); }
    template <std::size_t N>
    void Group(const char* base, std::array<ScreenControl, N>& g) {
        for (std::size_t i = 0; i < N; ++i)
            out.push_back({std::string(base) + "(" + std::to_string(i) + ")", &g[i]});
    }
};

// Only the controls, in the same order: a lookup by name needs no names built.
struct PointerSink {
    std::vector<ScreenControl*> out;
    void One(const char*, ScreenControl& c) { out.push_back(&c); }
    template <std::size_t N>
    void Group(const char*, std::array<ScreenControl, N>& g) {
        for (ScreenControl& c : g)
            out.push_back(&c);
    }
};

}  // namespace

std::vector<NamedControl> Controls(ConfigScreen& c) {
    NameSink names;
    ListControls(c, names);
    return std::move(names.out);
}

std::vector<ConstNamedControl> Controls(const ConfigScreen& c) {
    std::vector<ConstNamedControl> out;
    for (const NamedControl& n : Controls(const_cast<ConfigScreen&>(c)))
        out.push_back({n.name, n.control});
    return out;
}

// The names are the same for every screen: their places in the list are found once, and only the
// controls are listed for each lookup (the command line and the window look names up often).
ScreenControl* FindControl(ConfigScreen& c, std::string_view name) {
    static const std::map<std::string, std::size_t, std::less<>> places = [] {
        ConfigScreen model;
        std::map<std::string, std::size_t, std::less<>> m;
        const std::vector<NamedControl> all = Controls(model);
        for (std::size_t i = 0; i < all.size(); ++i)
            m.emplace(all[i].name, i);
        return m;
    }();
    const auto it = places.find(name);
    if (it == places.end()) return nullptr;
    PointerSink controls;
    controls.out.reserve(places.size());
    ListControls(c, controls);
    return controls.out[it->second];
}

}  // namespace sondix
