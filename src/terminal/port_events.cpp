// What the port reports: received blocks go to the parser, line events to the status bar, and
// line errors to the fault box.
#include <utility>

#include "response/show_data.h"
#include "terminal/main_window.h"

namespace sondix {

namespace {

struct CommEventMessage {
    int code;
    const char* eventText;
    const char* errorText;
};

constexpr CommEventMessage kMessages[] = {
    {1, "", ""},
    {2, "", ""},
    {3, "Change in CTS Detected", ""},
    {4, "Change in DSR Detected", ""},
    {5, "Change in CD Detected", ""},
    {6, "The Phone is Ringing", ""},
    {7, "End of File Detected", ""},
    {1001, "", "Break Received"},
    {1002, "", "CTS Timeout"},
    {1003, "", "DSR Timeout"},
    {1004, "", "Framing Error"},
    {1006, "", "Overrun Error"},
    {1007, "", "Carrier Detect Timeout"},
    {1008, "", "Receive Buffer Overflow"},
    {1009, "", "Parity Error"},
    {1010, "", "Transmit Buffer Full"},
    {1011, "", "Error retrieving DCB"},
    {kCommDeviceLost, "", "Port closed: "},
};

constexpr std::string_view kFaultTitle = "MSComm Fault";
constexpr std::string_view kFaultChoices =
    "  Click Abort(exit prog), Retry(reset port) or Ignore(continue)";

void ReceiveBlock(Session& s) {
    std::string block = s.io.port->Input();
    ShowData(s, *s.io.term, block);
}

void ShowEvent(Session& s, std::string_view text) {
    s.io.host->SetStatusPanel("Status: " + std::string(text));
    s.io.host->StartStatusResetTimer();
}

// A running stream would keep flooding a line in trouble; "R" stops either stream.
void StopRunningStream(Session& s) {
    if (!s.io.port->PortOpen()) return;
    if (s.CommandKey != KeyCode('{') && s.CommandKey != KeyCode('[')) return;
    s.io.port->Output("R");
    s.CommandKey = KeyCode('R');
}

// No stream runs on without its device: the buttons return to their idle faces and the results
// window keeps its last value, marked as stale.
void EndStreamsOfLostDevice(Session& s) {
    if (s.cmdRptSpect.caption == "StopSpec") {
        s.cmdRptSpect.caption = "StartSpec";
        s.cmdRptSpect.face = s.SaveColor;
        s.parser.AutoSpect_status = kIdle;
    }
    if (s.cmdRptDist.caption == "Stop") {
        s.cmdRptDist.caption = "Results";
        s.cmdRptDist.face = s.SaveColor;
        s.parser.AutoResults_status = kIdle;
    }
    s.io.host->ButtonsChanged();
    if (!s.ResultDisp_Loaded) return;
    s.results.stale = true;
    s.results.txtSigstrength = "no data";
    s.results.pbrSigstrength = 0;
    s.results.SigColor = Colour{128, 128, 128};
    s.io.host->ResultsChanged();
}

void ShowFault(Session& s, std::string_view errorText) {
    s.FaultDialogShown = true;
    s.io.host->SetStatusPanel("Status: " + std::string(errorText));
    s.io.asker->Beep();
    StopRunningStream(s);

    AnswerFaultBox(s,
                   s.io.asker->Ask(kFaultTitle, std::string(errorText) + std::string(kFaultChoices),
                                   MsgButtons::AbortRetryIgnore, MsgIcon::None));

    s.io.host->StartStatusResetTimer();
    s.FaultDialogShown = false;
}

}  // namespace

std::pair<std::string, std::string> CommEventText(int commEvent) {
    for (const CommEventMessage& m : kMessages) {
        if (m.code == commEvent) return {m.eventText, m.errorText};
    }
    return {"", "Unknown error or event"};
}

void OnComm(Session& s, int commEvent) {
    if (commEvent == 2) ReceiveBlock(s);

    auto [eventText, errorText] = CommEventText(commEvent);
    if (commEvent == kCommDeviceLost) {
        // The lamp turns red before the box explains why.
        errorText += s.io.port->LastErrorText();
        s.io.host->PortStateChanged();
        EndStreamsOfLostDevice(s);
        if (s.AutoReconnect) {
            AwaitLostDevice(s, errorText);
            return;
        }
    }
    if (!eventText.empty()) s.EventText = eventText;
    if (!errorText.empty()) s.ErrorText = errorText;

    // Each message is shown once: kept, it would be posted again by every later event, and an
    // error would reopen the fault box at the next received block.
    if (!s.EventText.empty()) {
        ShowEvent(s, std::exchange(s.EventText, {}));
        return;
    }
    if (s.ErrorText.empty()) return;
    const std::string error = std::exchange(s.ErrorText, {});
    // An error that arrives while the box is open is dropped with it.
    if (!s.FaultDialogShown) ShowFault(s, error);
}

}  // namespace sondix
