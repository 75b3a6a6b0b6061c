// The two relays: the sensor's mode code and signed switch length to (choice, invert) and back.
// Choice 0 carries its invert in the sign of the length; the other choices in the mode code.
// A velocimeter's relay 1 has only the "always" choice, with codes of its own (0 on, 1 off).
#include <cmath>
#include <string>

#include "common/gen_number.h"
#include "common/pauses.h"
#include "config/config_screen.h"
#include "config/param_exchange.h"
#include "config/units.h"
#include "terminal/session.h"

namespace sondix {

using namespace config_detail;

namespace {

struct Relay {
    std::array<ScreenControl, 4>& choices;
    ScreenControl& invert;
    ScreenControl& box;
    std::int16_t& lastChoice;
    float& mode;
    float& dist;
    std::int16_t modeIndex;
    std::int16_t distIndex;
};

Relay RelayOf(Session& s, int relay) {
    ConfigScreen& c = s.config;
    ParamMirror& m = s.mirror;
    if (relay == 1) {
        return {c.optRelay1Mode,
                c.chkRelay1Invert,
                c.txtRelay1Dist,
                c.Relay1Choice,
                m.Rly1Mode,
                m.Rly1Dist,
                49,
                47};
    }
    return {c.optRelay2Mode,
            c.chkRelay2Invert,
            c.txtRelay2Dist,
            c.Relay2Choice,
            m.Rly2Mode,
            m.Rly2Dist,
            50,
            48};
}

bool VelocimeterRelay1(const Session& s, int relay) {
    return relay == 1 && s.mirror.VelocimeterMode;
}

void SetRelayMode(Session& s, int relay, int mode) {
    Relay r = RelayOf(s, relay);
    // The velocimeter's relay 1 counts its "always" modes from 0.
    const int code = VelocimeterRelay1(s, relay) ? mode - 5 : mode;
    send_s_cmd(s, r.modeIndex, static_cast<std::int16_t>(code));
    r.mode = static_cast<float>(code);
}

// The length goes out in the sensor's integer (centimetres on long-range firmware with unit 0);
// the mirror keeps millimetres, which is what every display of it expects.
void SetRelayDist(Session& s, int relay, float mm) {
    Relay r = RelayOf(s, relay);
    const std::int16_t sent = cnv_mm_to_sensor(s.mirror, mm);
    send_s_cmd(s, r.distIndex, sent);
    r.dist = SensorTakesCentimetres(s.mirror) ? static_cast<float>(Gen::WholeValue(mm))
                                              : static_cast<float>(sent);
}

void SetRelayChoice(Session& s, int relay, int choice, bool invert) {
    const float d = RelayOf(s, relay).dist;
    switch (choice) {
        case 0:
            SetRelayMode(s, relay, 0);
            // A length of 0 cannot carry the invert.
            if ((invert && d >= 1) || (!invert && d < 0)) SetRelayDist(s, relay, -d);
            break;
        case 1:
            SetRelayMode(s, relay, invert ? 2 : 1);
            break;
        case 2:
            SetRelayMode(s, relay, invert ? 4 : 3);
            break;
        case 3:
            SetRelayMode(s, relay, invert ? 6 : 5);
            ShowAlwaysCaptions(s);
            break;
        default:
            break;
    }
}

void ModeClick(Session& s, int relay, int i, By by) {
    Relay r = RelayOf(s, relay);
    r.lastChoice = static_cast<std::int16_t>(i);
    if (MaySend(s, by)) SetRelayChoice(s, relay, i, r.invert.value);
}

void InvertClick(Session& s, int relay, By by) {
    Relay r = RelayOf(s, relay);
    if (MaySend(s, by)) SetRelayChoice(s, relay, r.lastChoice, r.invert.value);
}

void DistChange(Session& s, int relay) {
    Relay r = RelayOf(s, relay);
    const float mm = std::fabs(cnv_units_str_to_mm(s.mirror, r.box.text));
    r.dist = r.invert.value ? -mm : mm;
}

void DistClick(Session& s, int relay, void (*onChange)(Session&)) {
    Relay r = RelayOf(s, relay);
    const bool invert = r.invert.value;
    const float mm = std::fabs(cnv_units_str_to_mm(s.mirror, r.box.text));
    r.dist = invert ? -mm : mm;
    SetText(s, r.box, cnv_mm_to_units_str(s.mirror, r.dist), onChange);
    SetRelayDist(s, relay, r.dist);
}

void ShowRelay(Session& s, int relay, int code, void (*onClick)(Session&, int, By),
               void (*onInvert)(Session&, By)) {
    Relay r = RelayOf(s, relay);
    const std::size_t at = static_cast<std::size_t>(code);
    r.lastChoice =
        VelocimeterRelay1(s, relay) ? s.config.VelRelay1ModeTable[at] : s.config.RelayModeTable[at];
    const RelayChoice rc = RelayModeToChoice(s, relay);
    if (rc.choice < 0) return;
    SelectOption(s, r.choices, rc.choice, onClick);
    SetCheck(s, r.invert, rc.invert, onInvert);
}

}  // namespace

RelayChoice RelayModeToChoice(const Session& s, int relay) {
    const ParamMirror& m = s.mirror;
    const float mode = relay == 1 ? m.Rly1Mode : m.Rly2Mode;
    const float dist = relay == 1 ? m.Rly1Dist : m.Rly2Dist;
    if (VelocimeterRelay1(s, relay)) {
        const int code = WholeIn(mode, 0, 1);
        if (code < 0) return {};
        return {3, code == 1};
    }
    const int code = WholeIn(mode, 0, 6);
    if (code < 0) return {};
    if (code == 0) return {0, dist < 0};
    return {s.config.RelayModeTable[static_cast<std::size_t>(code)], code % 2 == 0};
}

void ShowRelays(Session& s) {
    const ParamMirror& m = s.mirror;
    const int code1 = WholeIn(m.Rly1Mode, 0, m.VelocimeterMode ? 1 : 6);
    if (code1 >= 0) ShowRelay(s, 1, code1, optRelay1Mode_Click, chkRelay1Invert_Click);
    const int code2 = WholeIn(m.Rly2Mode, 0, 6);
    if (code2 >= 0) ShowRelay(s, 2, code2, optRelay2Mode_Click, chkRelay2Invert_Click);
    ShowAlwaysCaptions(s);
}

void ShowAlwaysCaptions(Session& s) {
    ConfigScreen& c = s.config;
    const ParamMirror& m = s.mirror;
    const auto caption = [](float code, int on, int off, std::string& text) {
        if (code == static_cast<float>(on)) text = "Always ON";
        if (code == static_cast<float>(off)) text = "Always OFF";
    };
    caption(m.Rly2Mode, 5, 6, c.optRelay2Mode[3].caption);
    if (m.VelocimeterMode) {
        caption(m.Rly1Mode, 0, 1, c.optRelay1Mode[3].caption);
    } else {
        caption(m.Rly1Mode, 5, 6, c.optRelay1Mode[3].caption);
    }
    s.io.clock->Wait(Gen::Pauses::kAlwaysCaptions);
}

void optRelay1Mode_Click(Session& s, int i, By by) {
    ModeClick(s, 1, i, by);
}
void optRelay2Mode_Click(Session& s, int i, By by) {
    ModeClick(s, 2, i, by);
}
void chkRelay1Invert_Click(Session& s, By by) {
    InvertClick(s, 1, by);
}
void chkRelay2Invert_Click(Session& s, By by) {
    InvertClick(s, 2, by);
}
void txtRelay1Dist_Change(Session& s) {
    DistChange(s, 1);
}
void txtRelay2Dist_Change(Session& s) {
    DistChange(s, 2);
}
void cmdRelay1Dist_Click(Session& s) {
    DistClick(s, 1, txtRelay1Dist_Change);
}
void cmdRelay2Dist_Click(Session& s) {
    DistClick(s, 2, txtRelay2Dist_Change);
}

}  // namespace sondix
