// The state of one Sondix session: what the main window keeps between events, the parser's
// state, the parameter mirror and the models the other windows show, with the outside
// interfaces the core works through. One Session lives as long as the main window.
#pragma once

#include <cstdint>
#include <string>

#include "common/gen_hist.h"
#include "common/platform.h"
#include "config/config_screen.h"
#include "config/param_mirror.h"
#include "history/hist_model.h"
#include "history/hist_state.h"
#include "history/results_model.h"
#include "response/graph_model.h"
#include "response/parser_state.h"
#include "terminal/window_host.h"

namespace sondix {

inline constexpr const char* kProgramTitle = "Sondix V3.58";

struct ButtonFace {
    std::string caption;
    Colour face{240, 240, 240};
    bool enabled = true;
    bool visible = true;
};

inline constexpr Colour kActiveStream{200, 255, 200};  // a running auto-repeat button
inline constexpr Colour kActiveButton{250, 100, 100};  // a running action (calibrate, refresh)

struct Outside {
    CommPort* port = nullptr;
    MessageAsker* asker = nullptr;
    Clock* clock = nullptr;
    WindowHost* host = nullptr;
    TextBox* term = nullptr;  // txtTerm
};

struct Session {
    Outside io;

    // Main window state.
    std::int16_t CommandKey = 0;
    bool D_GraphLoaded = false;
    bool ResultDisp_Loaded = false;
    bool HistWindowLoaded = false;
    bool PortCloseAllowed = true;
    bool FaultDialogShown = false;
    bool CalibrateEnabled = false;
    bool CalibrationPending = false;
    bool Echo = false;
    Colour SaveColor{240, 240, 240};
    std::string GraphHeaderStr;
    double VelocityMax = -1.0;
    std::string EventText;
    std::string ErrorText;
    double StartTime = 0;  // monotonic seconds of the last successful open
    std::string lblVerAndSerialNum = "Firmware Ver xxx  :   S/N=";
    bool CancelSend = false;    // raised by frmCancelSend's Cancel, and when a transmission ends
    bool TextSending = false;   // a text file is being transmitted
    bool AutoReconnect = true;  // "AutoReconnect": reopen a lost device when it returns
    bool ReconnectPending = false;  // the device was lost and is looked for every second

    ButtonFace cmdRefresh{"Refresh"};
    ButtonFace cmdRptDist{"Results"};
    ButtonFace cmdRptSpect{"StartSpec"};
    ButtonFace cmdCalibrate{"Calibrate", {240, 240, 240}, false, false};

    // Parser, decoded values and the models the windows show.
    ParserState parser;
    GraphHeaderValues graphHdr;
    ResultFields res;
    SpectrumStats stats;
    ParamMirror mirror;
    ConfigScreen config;  // the configuration screen (frmConfig), loaded or not
    GraphModel graph;
    ResultsModel results;
    Gen::HistoryArrays hist;
    std::int16_t HistCount = 0;
    HistTransferState histRun;
    HistModel histChart;
};

}  // namespace sondix
