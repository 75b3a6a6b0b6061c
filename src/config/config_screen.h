// The "Radar Configuration Screen" as the core keeps it: every control with what it shows, and
// the screen's own state. The window draws this model and forwards clicks and typing through
// ConfigSet / ConfigClick; the rules live in config_load.cpp, config_measure.cpp,
// config_relays.cpp and config_calibration.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform.h"

namespace sondix {

struct Session;

enum class ControlKind { Label, Button, Frame, Option, Check, TextBox, UpDown };

struct ScreenControl {
    ControlKind kind = ControlKind::Label;
    std::string caption;  // labels, buttons, frames, option buttons, check boxes
    std::string text;     // text boxes
    bool value = false;   // option buttons, check boxes
    int number = 0;       // the up-down control
    bool enabled = true;
    bool visible = true;
    std::string tooltip;
    bool tooltipAtRunTime = false;  // the screen rewrites the tool tip on refresh
    Colour face{200, 200, 255};     // button face, or the background of frames and choices
};

inline constexpr Colour kConfigBackground{200, 200, 255};
inline constexpr Colour kConfigButtonFace{180, 180, 235};
inline constexpr int kDampMin = 0;
inline constexpr int kDampMax = 12;

struct ConfigScreen {
    ConfigScreen();

    // Screen state besides the parameter mirror (FirstInitDone lives in the mirror).
    std::int16_t Relay1Choice = -1;
    std::int16_t Relay2Choice = -1;
    bool CalibrationBusy = false;
    bool FourPeakChoices = false;
    std::string caption = "Radar Configuration Screen";
    Colour COLOR_ACTIVEBUTT{250, 100, 100};
    Colour NormalButtonColor = kConfigButtonFace;
    Colour back = kConfigBackground;
    std::array<std::int16_t, 7> RelayModeTable{0, 1, 1, 2, 2, 3, 3};
    std::array<std::int16_t, 2> VelRelay1ModeTable{3, 3};
    bool Shown = false;       // the window is open
    bool Refreshing = false;  // RefreshParameters is running (a second one is ignored)

    ScreenControl lblHeader, cmdRefreshPar, frmUnits;
    std::array<ScreenControl, 5> optUnits;
    ScreenControl txtCaldist, lblCaldist, cmdCaldist, cmdCalibrate;
    ScreenControl txtSet4, lblSet4, cmdSet4, txtSet20, lblSet20, cmdSet20;
    ScreenControl txtSetMinRange, lblSetMinRange, cmdSetMinRange;
    ScreenControl txtSetMaxRange, lblSetMaxRange, cmdSetMaxRange, lblMaxPossibleRange;
    ScreenControl frmRelay1, frmRelay2;
    std::array<ScreenControl, 4> optRelay1Mode, optRelay2Mode;
    ScreenControl chkRelay1Invert, chkRelay2Invert;
    ScreenControl txtRelay1Dist, lblRelay1Dist, cmdRelay1Dist;
    ScreenControl txtRelay2Dist, lblRelay2Dist, cmdRelay2Dist;
    ScreenControl lblDamp, updDamp, lblDampTime, cmdSetDamp;
    ScreenControl lblAmpMinTitle, txtAmpMin, lblAmpMinUnits, cmdAmpMin;
    ScreenControl frmPkSel;
    std::array<ScreenControl, 4> optPkSel;
    ScreenControl frmOutSel;
    std::array<ScreenControl, 3> optOutSel;
    ScreenControl frmHist;
    std::array<ScreenControl, 7> optHist;
    ScreenControl frmCalculated, lblFreq, lblSweep;
};

struct NamedControl {
    std::string name;  // "cmdSet4", "optUnits(2)"
    ScreenControl* control;
};
struct ConstNamedControl {
    std::string name;
    const ScreenControl* control;
};

// Every control in the screen's order (groups as the screen shows them).
std::vector<NamedControl> Controls(ConfigScreen& c);
std::vector<ConstNamedControl> Controls(const ConfigScreen& c);
ScreenControl* FindControl(ConfigScreen& c, std::string_view name);

// Who moved a choice: the user's click sends (once the screen has loaded); the refresh only
// shows what it has just read.
enum class By { User, Program };

// The window's Config button: closes an open screen, otherwise shows and loads it.
void ConfigButton_Click(Session& s);
void Form_Load(Session& s);
// The close box (or Config): hides the screen; the next opening reads the sensor again.
void Form_Unload(Session& s);
void RefreshParameters(Session& s);
void ShowUnitValues(Session& s);
void ShowCalculated(Session& s);
void ShowDampTime(Session& s);
void ShowAlwaysCaptions(Session& s);

// Spectrum bin and distance (mm). Before any listing (T or CalFac not above 0) a bin stands for
// 0 mm and any distance for bin 1.
std::int32_t BinToDistance(const Session& s, std::int32_t f);
std::int16_t DistanceToBin(const Session& s, std::int32_t d);

// Input from the window or the command line. ConfigSet: a text box gets the typed text, the
// up-down its value, an option button "1" (clicked on), a check box "1" or "0". ConfigClick
// presses a button. Both return false for an unknown control or value; a disabled or hidden
// control takes no input (true, nothing happens).
bool ConfigSet(Session& s, std::string_view name, std::string_view value);
bool ConfigClick(Session& s, std::string_view name);

// Pieces shared by the groups' files.
namespace config_detail {
void Redraw(Session& s);
// A choice handler sends only for a user's click once the screen has loaded.
bool MaySend(const Session& s, By by);
// Program writes to a text box run its change handler when the text changes.
void SetText(Session& s, ScreenControl& box, const std::string& text, void (*onChange)(Session&));
// Selects choice i of a group (the others clear); the handler runs when it was not selected.
template <std::size_t N>
void SelectOption(Session& s, std::array<ScreenControl, N>& group, int i,
                  void (*onClick)(Session&, int, By)) {
    if (i < 0 || i >= static_cast<int>(N)) return;
    const bool was = group[static_cast<std::size_t>(i)].value;
    for (ScreenControl& o : group)
        o.value = false;
    group[static_cast<std::size_t>(i)].value = true;
    if (!was) onClick(s, i, By::Program);
}
void SetCheck(Session& s, ScreenControl& box, bool on, void (*onClick)(Session&, By));
// A mirror value that is a whole number within lo..hi, or -1.
int WholeIn(float v, int lo, int hi);
}  // namespace config_detail

// Handlers (each group's file).
void optUnits_Click(Session& s, int i, By by);
void txtSet4_Change(Session& s);
void txtSet20_Change(Session& s);
void cmdSet4_Click(Session& s);
void cmdSet20_Click(Session& s);
void txtSetMinRange_Change(Session& s);
void txtSetMaxRange_Change(Session& s);
void cmdSetMinRange_Click(Session& s);
void cmdSetMaxRange_Click(Session& s);
void updDamp_Change(Session& s);
void cmdSetDamp_Click(Session& s);
void txtAmpMin_Change(Session& s);
void cmdAmpMin_Click(Session& s);
void optPkSel_Click(Session& s, int i, By by);
void optOutSel_Click(Session& s, int i, By by);
void optHist_Click(Session& s, int i, By by);
void ShowMeasurementChoices(Session& s);  // echo and output selection on refresh

void optRelay1Mode_Click(Session& s, int i, By by);
void optRelay2Mode_Click(Session& s, int i, By by);
void chkRelay1Invert_Click(Session& s, By by);
void chkRelay2Invert_Click(Session& s, By by);
void txtRelay1Dist_Change(Session& s);
void txtRelay2Dist_Change(Session& s);
void cmdRelay1Dist_Click(Session& s);
void cmdRelay2Dist_Click(Session& s);
void ShowRelays(Session& s);  // relay choices and invert boxes on refresh
struct RelayChoice {
    int choice = -1;
    bool invert = false;
};
RelayChoice RelayModeToChoice(const Session& s, int relay);

void txtCaldist_Change(Session& s);
void cmdCaldist_Click(Session& s);
// The screen's own "Calibrate" (the main window's button has its own handler).
void ConfigCalibrate_Click(Session& s);
void cmdRefreshPar_Click(Session& s);

}  // namespace sondix
