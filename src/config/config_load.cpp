// Opening, refreshing and closing the configuration screen: the listing is asked for with "P",
// parsed into the mirror by the main window's parser during the 2-second wait, and then shown in
// the user's unit.
#include <cmath>
#include <string>

#include "common/gen_format.h"
#include "common/gen_number.h"
#include "common/pauses.h"
#include "config/config_screen.h"
#include "config/param_exchange.h"
#include "config/units.h"
#include "terminal/session.h"

namespace sondix {

namespace config_detail {

void Redraw(Session& s) {
    s.io.host->ConfigChanged();
}

bool MaySend(const Session& s, By by) {
    return by == By::User && s.mirror.FirstInitDone != 0;
}

void SetText(Session& s, ScreenControl& box, const std::string& text, void (*onChange)(Session&)) {
    if (box.text == text) return;
    box.text = text;
    if (onChange) onChange(s);
}

void SetCheck(Session& s, ScreenControl& box, bool on, void (*onClick)(Session&, By)) {
    if (box.value == on) return;
    box.value = on;
    onClick(s, By::Program);
}

int WholeIn(float v, int lo, int hi) {
    if (!(v >= static_cast<float>(lo) && v <= static_cast<float>(hi))) return -1;
    if (v != std::floor(v)) return -1;
    return static_cast<int>(v);
}

}  // namespace config_detail

using namespace config_detail;

namespace {

// T, the sweep time in seconds; not above 0 before any listing.
double SweepTime(const ParamMirror& m) {
    return static_cast<double>(m.SampleT) * 1e-6 * m.NumberOfFFTdatapoints;
}

bool CanConvertBins(const ParamMirror& m) {
    return SweepTime(m) > 0 && m.CalFac > 0;
}

// A bin number held in the mirror as a single: clamped before it becomes an integer, so a
// missing key (-2e9) reads as a negative bin, not an overflow.
std::int32_t BinOf(float v) {
    return Gen::ToInt32(v);
}

void SetFace(Session& s, ScreenControl& button, Colour face) {
    button.face = face;
    Redraw(s);
}

void ShowLengthBoxes(Session& s) {
    ConfigScreen& c = s.config;
    const ParamMirror& m = s.mirror;
    const std::string unit = UnitLabel(m);
    SetText(s, c.txtCaldist, cnv_mm_to_units_str(m, m.CalDist), txtCaldist_Change);
    c.lblCaldist.caption = unit;
    SetText(s, c.txtSetMinRange,
            cnv_mm_to_units_str(m, static_cast<float>(BinToDistance(s, BinOf(m.Raw_Fmin)))),
            txtSetMinRange_Change);
    SetText(s, c.txtSetMaxRange,
            cnv_mm_to_units_str(m, static_cast<float>(BinToDistance(s, BinOf(m.Raw_Fmax)))),
            txtSetMaxRange_Change);
    c.lblSetMinRange.caption = unit + " (" + Gen::CStrSingle(m.Raw_Fmin) + ")";
    c.lblSetMaxRange.caption = unit + " (" + Gen::CStrSingle(m.Raw_Fmax) + ")";
    c.lblMaxPossibleRange.caption =
        "Max: " + cnv_mm_to_units_str(m, static_cast<float>(BinToDistance(s, 511))) + " " + unit;
    SetText(s, c.txtSet4, cnv_mm_to_units_str(m, m.Set__4), txtSet4_Change);
    SetText(s, c.txtSet20, cnv_mm_to_units_str(m, m.Set_20), txtSet20_Change);
    c.lblSet4.caption = unit;
    c.lblSet20.caption = unit;
    SetText(s, c.txtRelay1Dist, cnv_mm_to_units_str(m, std::fabs(m.Rly1Dist)),
            txtRelay1Dist_Change);
    SetText(s, c.txtRelay2Dist, cnv_mm_to_units_str(m, std::fabs(m.Rly2Dist)),
            txtRelay2Dist_Change);
    c.lblRelay1Dist.caption = unit;
    c.lblRelay2Dist.caption = unit;
    SetText(s, c.txtAmpMin, Gen::CStrSingle(s.mirror.AmpMin), txtAmpMin_Change);

    const std::string hint = LengthHint(s.mirror);
    for (ScreenControl* box : {&c.txtCaldist, &c.txtSetMinRange, &c.txtSetMaxRange, &c.txtSet4,
                               &c.txtSet20, &c.txtRelay1Dist, &c.txtRelay2Dist})
        box->tooltip = hint;
    c.frmUnits.tooltip = UnitFrameHint(s.mirror);
}

// Step 10 of the refresh: captions and enabled states for the kind of sensor.
void ShowSensorKind(Session& s) {
    ConfigScreen& c = s.config;
    const ParamMirror& m = s.mirror;
    const bool velo = m.VelocimeterMode;
    c.cmdCaldist.caption = velo ? "Update CalVel" : "Update CalDist";
    for (int i = 0; i < 3; ++i)
        c.optRelay1Mode[static_cast<std::size_t>(i)].enabled = !velo;
    c.optRelay1Mode[0].caption = velo ? "VelSwitch" : "DistSwitch";
    c.optRelay2Mode[0].caption = c.optRelay1Mode[0].caption;
    // Older velocimeter firmware has no "always" modes on relay 2.
    c.optRelay2Mode[3].enabled = !velo || m.FirmwareRev >= 1.51f;
    c.optOutSel[2].caption = velo ? "" : "Dist";
    static const char* kDistanceUnits[] = {"mm", "ft", "m", "in", "cm"};
    static const char* kVelocityUnits[] = {"mm/s", "ft/s", "m/s", "in/s", "cm/s"};
    for (std::size_t i = 0; i < c.optUnits.size(); ++i)
        c.optUnits[i].caption = velo ? kVelocityUnits[i] : kDistanceUnits[i];
    if (LongRangeFirmware(m)) c.optUnits[0].caption = "m\r\n(long)";
}

void ColourScreen(ConfigScreen& c) {
    for (const NamedControl& n : Controls(c)) {
        ScreenControl& k = *n.control;
        if (k.kind == ControlKind::Button) k.face = kConfigButtonFace;
        if (k.kind == ControlKind::Frame || k.kind == ControlKind::Option ||
            k.kind == ControlKind::Check)
            k.face = kConfigBackground;
    }
}

}  // namespace

std::int32_t BinToDistance(const Session& s, std::int32_t f) {
    const ParamMirror& m = s.mirror;
    if (f < 0) return 0;
    if (!CanConvertBins(m)) return 0;
    const std::int32_t half = m.NumberOfFFTdatapoints / 2;
    if (f > half) f = half;
    return Gen::FloorToInt32(static_cast<double>(m.CalFac) * f / SweepTime(m) + 0.5);
}

std::int16_t DistanceToBin(const Session& s, std::int32_t d) {
    const ParamMirror& m = s.mirror;
    if (!CanConvertBins(m)) return 1;
    double x = d * 1e-6 * static_cast<double>(m.SampleT) * m.NumberOfFFTdatapoints /
               static_cast<double>(m.CalFac);
    x = std::clamp(x, 1.0, 32766.0);
    std::int32_t f = std::max<std::int32_t>(Gen::FloorToInt32(x + 0.5), 1);
    const std::int32_t top = m.NumberOfFFTdatapoints / 2 - 1;
    if (f > top) f = std::max(top, 1);
    return static_cast<std::int16_t>(f);
}

void ShowUnitValues(Session& s) {
    s.io.clock->Wait(Gen::Pauses::kShowUnitValues);
    ShowLengthBoxes(s);
    Redraw(s);
}

void ShowCalculated(Session& s) {
    ConfigScreen& c = s.config;
    const ParamMirror& m = s.mirror;
    if (m.CalDopplr > 0) {
        c.lblFreq.caption =
            "Transmitter Freq:\r\n" + Gen::Format(300000.0 / (2.0 * m.CalDopplr), "#0.0") + "GHz";
    }
    if (!m.VelocimeterMode && m.CalFac > 0) {
        const double band = 300000.0 * m.SampleT * 1e-9 * m.NumberOfFFTdatapoints /
                            (2.0 * static_cast<double>(m.CalFac));
        c.lblSweep.caption = "Sweep Band:\r\n" + Gen::Format(band, "#0.000") + "GHz";
    } else {
        c.lblSweep.caption.clear();
    }
}

void RefreshParameters(Session& s) {
    ConfigScreen& c = s.config;
    // A second click while the first refresh waits would run a whole refresh inside it.
    if (c.Refreshing) return;
    c.Refreshing = true;
    SetFace(s, c.cmdRefreshPar, c.COLOR_ACTIVEBUTT);
    send_cmd(s, "P");
    s.io.clock->Wait(Gen::Pauses::kRefresh);

    const ParamMirror& m = s.mirror;
    c.lblHeader.caption = m.LogoStr + "S/N = " + Gen::CStrSingle(m.SerNum);
    const int units = WholeIn(m.Units, 0, 4);
    if (units >= 0) SelectOption(s, c.optUnits, units, optUnits_Click);
    ShowRelays(s);
    const int hist = WholeIn(m.HistLog, 0, 6);
    if (hist >= 0) SelectOption(s, c.optHist, hist, optHist_Click);
    const int damping = WholeIn(m.Damping, kDampMin, kDampMax);
    if (damping >= 0) {
        c.updDamp.number = damping;
        ShowDampTime(s);
    }
    ShowUnitValues(s);
    ShowCalculated(s);
    c.FourPeakChoices = m.VelocimeterMode || m.FirmwareRev > 0.48f;
    ShowSensorKind(s);
    ShowMeasurementChoices(s);

    SetFace(s, c.cmdRefreshPar, c.NormalButtonColor);
    c.Refreshing = false;
    delay_after_cmd(s);
}

void Form_Load(Session& s) {
    ConfigScreen& c = s.config;
    ParamMirror& m = s.mirror;
    const bool shown = c.Shown;
    if (m.FirstInitDone == 0) {
        m.Password = -1;
        c.CalibrationBusy = false;
        c.Relay1Choice = c.Relay2Choice = -1;
        m.NumberOfFFTdatapoints = 1024;
        m.CalDopplr = m.CalFac = m.OutSel = -1;
        c.FourPeakChoices = false;
        c.RelayModeTable = {0, 1, 1, 2, 2, 3, 3};
        c.VelRelay1ModeTable = {3, 3};
        RefreshParameters(s);
    }
    c.COLOR_ACTIVEBUTT = Colour{250, 100, 100};
    c.caption = "Radar Configuration Screen";
    c.back = kConfigBackground;
    ColourScreen(c);
    // Closed during the refresh's wait: the next opening must read the sensor again.
    if (!(shown && !c.Shown)) ++m.FirstInitDone;
    c.NormalButtonColor = kConfigButtonFace;
    Redraw(s);
}

void Form_Unload(Session& s) {
    s.mirror.FirstInitDone = 0;
    s.config.Shown = false;
    s.io.host->CloseConfigWindow();
}

// The screen shows at once and then loads, so the lit "Refresh Parameters" tells the user that
// the sensor is being read.
void ConfigButton_Click(Session& s) {
    if (s.config.Shown) {
        Form_Unload(s);
        return;
    }
    s.config.Shown = true;
    s.io.host->ShowConfigWindow();
    Form_Load(s);
}

void cmdRefreshPar_Click(Session& s) {
    RefreshParameters(s);
}

}  // namespace sondix
