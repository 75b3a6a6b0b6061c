// Measurement and output settings: unit, 4 mA and 20 mA points, range limits, damping,
// amplitude threshold, echo selection, output variable and history interval. Each writes one
// parameter with send_s_cmd.
#include <algorithm>
#include <cmath>
#include <string>

#include "common/gen_format.h"
#include "common/gen_number.h"
#include "config/config_screen.h"
#include "config/param_exchange.h"
#include "config/units.h"
#include "terminal/session.h"

namespace sondix {

using namespace config_detail;

namespace {

constexpr std::int16_t kIndexUnits = 18;
constexpr std::int16_t kIndexDamping = 19;
constexpr std::int16_t kIndexSet4 = 23;
constexpr std::int16_t kIndexSet20 = 24;
constexpr std::int16_t kIndexFmin = 25;
constexpr std::int16_t kIndexFmax = 26;
constexpr std::int16_t kIndexHistLog = 30;
constexpr std::int16_t kIndexAmpMin = 41;
// The set command carries 16 bits; the sensor keeps the same margin as for lengths.
constexpr double kAmpMinLimit = 32760;

struct PeakChoice {
    const char* caption;
    const char* tooltip;
};

constexpr PeakChoice kDistanceFour[] = {
    {"highest amp", "choose highest amplitude signal"},
    {"smallest dist", "choose smallest distance"},
    {"longest dist", "choose longest distance"},
    {"highest amp/dist ratio", "choose highest amp/dist ratio"}};
constexpr PeakChoice kDistanceThree[] = {
    {"highest amp", "choose highest amplitude signal"},
    {"smallest dist", "choose smallest distance"},
    {"highest amp/dist ratio", "choose highest amp/dist ratio"},
    {"", ""}};
constexpr PeakChoice kVelocimeter[] = {
    {"highest amp", "choose highest amplitude signal"},
    {"smallest vel", "choose smallest velocity"},
    {"highest vel", "choose highest velocity"},
    {"highest amp/vel ratio", "choose highest amp/velocity ratio"}};

// A length box and its button: the typed text in mm, rewritten in its normal form (whose change
// handler stores the displayed value), then sent.
void SetLength(Session& s, ScreenControl& box, float ParamMirror::*member, std::int16_t index,
               void (*onChange)(Session&)) {
    ParamMirror& m = s.mirror;
    m.*member = cnv_units_str_to_mm(m, box.text);
    SetText(s, box, cnv_mm_to_units_str(m, m.*member), onChange);
    send_s_cmd(s, index, cnv_mm_to_sensor(m, m.*member));
}

// The bin of a typed distance: the box snaps to the distance that bin stands for.
void SetRange(Session& s, ScreenControl& box, ScreenControl& label, float ParamMirror::*member,
              std::int16_t index, void (*onChange)(Session&)) {
    ParamMirror& m = s.mirror;
    const std::int32_t d = Gen::ToInt32(cnv_units_str_to_mm(m, box.text));
    const std::int16_t f = DistanceToBin(s, d);
    label.caption = UnitLabel(m) + " (" + std::to_string(f) + ")";
    SetText(s, box, cnv_mm_to_units_str(m, static_cast<float>(BinToDistance(s, f))), onChange);
    send_s_cmd(s, index, f);
    m.*member = f;
}

float AmpMinOf(const std::string& text) {
    return static_cast<float>(std::clamp(Gen::Int(Gen::Val(text)), -kAmpMinLimit, kAmpMinLimit));
}

}  // namespace

void optUnits_Click(Session& s, int i, By by) {
    if (!MaySend(s, by) || i < 0 || i > 4) return;
    send_s_cmd(s, kIndexUnits, static_cast<std::int16_t>(i));
    s.mirror.Units = static_cast<float>(i);
    ShowUnitValues(s);
}

void txtSet4_Change(Session& s) {
    s.mirror.Set__4 = cnv_units_str_to_mm(s.mirror, s.config.txtSet4.text);
}
void txtSet20_Change(Session& s) {
    s.mirror.Set_20 = cnv_units_str_to_mm(s.mirror, s.config.txtSet20.text);
}
void cmdSet4_Click(Session& s) {
    SetLength(s, s.config.txtSet4, &ParamMirror::Set__4, kIndexSet4, txtSet4_Change);
}
void cmdSet20_Click(Session& s) {
    SetLength(s, s.config.txtSet20, &ParamMirror::Set_20, kIndexSet20, txtSet20_Change);
}

void txtSetMinRange_Change(Session& s) {
    const float mm = cnv_units_str_to_mm(s.mirror, s.config.txtSetMinRange.text);
    s.mirror.Raw_Fmin = DistanceToBin(s, Gen::ToInt32(mm));
}
void txtSetMaxRange_Change(Session& s) {
    const float mm = cnv_units_str_to_mm(s.mirror, s.config.txtSetMaxRange.text);
    s.mirror.Raw_Fmax = DistanceToBin(s, Gen::ToInt32(mm));
}
void cmdSetMinRange_Click(Session& s) {
    ConfigScreen& c = s.config;
    SetRange(s, c.txtSetMinRange, c.lblSetMinRange, &ParamMirror::Raw_Fmin, kIndexFmin,
             txtSetMinRange_Change);
}
void cmdSetMaxRange_Click(Session& s) {
    ConfigScreen& c = s.config;
    SetRange(s, c.txtSetMaxRange, c.lblSetMaxRange, &ParamMirror::Raw_Fmax, kIndexFmax,
             txtSetMaxRange_Change);
}

// The filter's time to 50 %: one loop for step 0, else 0.56 loops per power of two.
void ShowDampTime(Session& s) {
    const double p = std::pow(2.0, s.config.updDamp.number);
    const double loop = s.mirror.LoopTime;
    const double t = p >= 2 ? 0.56 * p * loop : loop;
    std::string text;
    if (t >= 60000) {
        text = Gen::Format(t / 60000, "#0.0") + "m";
    } else if (t >= 1000) {
        text = Gen::Format(t * 0.001, "#0.0") + "s";
    } else {
        text = Gen::CStr(Gen::Int(t + 0.5)) + "ms";
    }
    s.config.lblDampTime.caption = text;
}

void updDamp_Change(Session& s) {
    ShowDampTime(s);
}

void cmdSetDamp_Click(Session& s) {
    const int d = s.config.updDamp.number;
    if (d >= kDampMin && d <= kDampMax) s.mirror.Damping = static_cast<float>(d);
    if (s.mirror.FirstInitDone != 0) send_s_cmd(s, kIndexDamping, static_cast<std::int16_t>(d));
}

void txtAmpMin_Change(Session& s) {
    s.mirror.AmpMin = AmpMinOf(s.config.txtAmpMin.text);
}

// A threshold beyond the set command's range would wrap around in the 16-bit value: it is
// clamped, and the box shows what is really sent.
void cmdAmpMin_Click(Session& s) {
    ScreenControl& box = s.config.txtAmpMin;
    const double typed = Gen::Int(Gen::Val(box.text));
    s.mirror.AmpMin = AmpMinOf(box.text);
    if (typed != s.mirror.AmpMin)
        SetText(s, box, Gen::CStrSingle(s.mirror.AmpMin), txtAmpMin_Change);
    send_s_cmd(s, kIndexAmpMin, Gen::ToInt16(s.mirror.AmpMin));
}

void optPkSel_Click(Session& s, int i, By by) {
    s.mirror.PeakSel = static_cast<float>(i);
    if (!MaySend(s, by)) return;
    send_s_cmd(s, s.mirror.VelocimeterMode ? 61 : 77, static_cast<std::int16_t>(i));
}

void optOutSel_Click(Session& s, int i, By by) {
    s.mirror.OutSel = static_cast<float>(i);
    if (!MaySend(s, by)) return;
    send_s_cmd(s, s.mirror.VelocimeterMode ? 63 : 82, static_cast<std::int16_t>(i));
}

void optHist_Click(Session& s, int i, By by) {
    s.mirror.HistLog = static_cast<float>(i);
    if (MaySend(s, by)) send_s_cmd(s, kIndexHistLog, static_cast<std::int16_t>(i));
}

void ShowMeasurementChoices(Session& s) {
    ConfigScreen& c = s.config;
    const ParamMirror& m = s.mirror;
    const bool velo = m.VelocimeterMode;
    const PeakChoice* table = velo                ? kVelocimeter
                              : c.FourPeakChoices ? kDistanceFour
                                                  : kDistanceThree;
    for (std::size_t i = 0; i < c.optPkSel.size(); ++i) {
        c.optPkSel[i].caption = table[i].caption;
        c.optPkSel[i].tooltip = table[i].tooltip;
    }
    const int peak = WholeIn(m.PeakSel, 0, c.FourPeakChoices ? 3 : 2);
    for (std::size_t i = 0; i < c.optPkSel.size(); ++i)
        c.optPkSel[i].enabled = peak >= 0 && (i < 3 || c.FourPeakChoices);
    if (peak >= 0) SelectOption(s, c.optPkSel, peak, optPkSel_Click);

    const int out = WholeIn(m.OutSel, 0, velo ? 1 : 2);
    for (std::size_t i = 0; i < c.optOutSel.size(); ++i)
        c.optOutSel[i].enabled = out >= 0 && (i < 2 || !velo);
    if (out >= 0) SelectOption(s, c.optOutSel, out, optOutSel_Click);
}

}  // namespace sondix
