// The configuration screen's controls as designed: kinds, captions, tool tips and faces, and the
// list of them by name that the window and the command-line tool go through.
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

template <std::size_t N>
void AddGroup(std::vector<NamedControl>& out, const char* base, std::array<ScreenControl, N>& g) {
    for (std::size_t i = 0; i < N; ++i)
        out.push_back({std::string(base) + "(" + std::to_string(i) + ")", &g[i]});
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

std::vector<NamedControl> Controls(ConfigScreen& c) {
    std::vector<NamedControl> out{{"lblHeader", &c.lblHeader},
                                  {"cmdRefreshPar", &c.cmdRefreshPar},
                                  {"frmUnits", &c.frmUnits}};
    AddGroup(out, "optUnits", c.optUnits);
    out.insert(out.end(), {{"txtCaldist", &c.txtCaldist},
                           {"lblCaldist", &c.lblCaldist},
                           {"cmdCaldist", &c.cmdCaldist},
                           {"cmdCalibrate", &c.cmdCalibrate},
                           {"txtSet4", &c.txtSet4},
                           {"lblSet4", &c.lblSet4},
                           {"cmdSet4", &c.cmdSet4},
                           {"txtSet20", &c.txtSet20},
                           {"lblSet20", &c.lblSet20},
                           {"cmdSet20", &c.cmdSet20},
                           {"txtSetMinRange", &c.txtSetMinRange},
                           {"lblSetMinRange", &c.lblSetMinRange},
                           {"cmdSetMinRange", &c.cmdSetMinRange},
                           {"txtSetMaxRange", &c.txtSetMaxRange},
                           {"lblSetMaxRange", &c.lblSetMaxRange},
                           {"cmdSetMaxRange", &c.cmdSetMaxRange},
                           {"lblMaxPossibleRange", &c.lblMaxPossibleRange},
                           {"frmRelay1", &c.frmRelay1},
                           {"frmRelay2", &c.frmRelay2}});
    AddGroup(out, "optRelay1Mode", c.optRelay1Mode);
    AddGroup(out, "optRelay2Mode", c.optRelay2Mode);
    out.insert(out.end(), {{"chkRelay1Invert", &c.chkRelay1Invert},
                           {"chkRelay2Invert", &c.chkRelay2Invert},
                           {"txtRelay1Dist", &c.txtRelay1Dist},
                           {"lblRelay1Dist", &c.lblRelay1Dist},
                           {"cmdRelay1Dist", &c.cmdRelay1Dist},
                           {"txtRelay2Dist", &c.txtRelay2Dist},
                           {"lblRelay2Dist", &c.lblRelay2Dist},
                           {"cmdRelay2Dist", &c.cmdRelay2Dist},
                           {"lblDamp", &c.lblDamp},
                           {"updDamp", &c.updDamp},
                           {"lblDampTime", &c.lblDampTime},
                           {"cmdSetDamp", &c.cmdSetDamp},
                           {"lblAmpMinTitle", &c.lblAmpMinTitle},
                           {"txtAmpMin", &c.txtAmpMin},
                           {"lblAmpMinUnits", &c.lblAmpMinUnits},
                           {"cmdAmpMin", &c.cmdAmpMin},
                           {"frmPkSel", &c.frmPkSel}});
    AddGroup(out, "optPkSel", c.optPkSel);
    out.push_back({"frmOutSel", &c.frmOutSel});
    AddGroup(out, "optOutSel", c.optOutSel);
    out.push_back({"frmHist", &c.frmHist});
    AddGroup(out, "optHist", c.optHist);
    out.insert(
        out.end(),
        {{"frmCalculated", &c.frmCalculated}, {"lblFreq", &c.lblFreq}, {"lblSweep", &c.lblSweep}});
    return out;
}

std::vector<ConstNamedControl> Controls(const ConfigScreen& c) {
    std::vector<ConstNamedControl> out;
    for (const NamedControl& n : Controls(const_cast<ConfigScreen&>(c)))
        out.push_back({n.name, n.control});
    return out;
}

ScreenControl* FindControl(ConfigScreen& c, std::string_view name) {
    for (const NamedControl& n : Controls(c)) {
        if (n.name == name) return n.control;
    }
    return nullptr;
}

}  // namespace sondix
