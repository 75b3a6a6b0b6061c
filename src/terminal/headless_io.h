// Headless implementations of the outside interfaces: the command-line tool runs the core with
// them, and the tests script and inspect them. They record what the core did and answer message
// boxes with their default button unless told otherwise.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/platform.h"
#include "terminal/session.h"
#include "terminal/window_host.h"

namespace sondix {

struct AskedMessage {
    std::string title;
    std::string text;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    MsgAnswer answer = MsgAnswer::OK;  // the button that closed it
};

// The default button: OK, Ignore for Abort/Retry/Ignore, No for Yes/No, Cancel for
// Retry/Cancel (so that a failing write is never retried for ever), Cancel for OK/Cancel.
MsgAnswer DefaultAnswer(MsgButtons buttons);

class RecordingAsker : public MessageAsker {
  public:
    MsgAnswer Ask(std::string_view title, std::string_view text, MsgButtons buttons,
                  MsgIcon icon) override;
    void Beep() override { ++beeps; }

    std::vector<AskedMessage> asked;
    std::deque<MsgAnswer> answers;  // scripted answers, taken in order before the defaults
    // Called while a box is "open", as the event loop keeps running under a real one.
    std::function<void()> whileOpen;
    int beeps = 0;
};

// A clock that only moves when the core waits. onEvents runs at every event-processing pass,
// so a test can deliver received data in the middle of a wait.
class ManualClock : public Clock {
  public:
    double Monotonic() override { return now; }
    Gen::DateTime Now() override { return date; }
    void DoEvents() override;
    void Wait(double seconds) override;

    double now = 1000.0;
    Gen::DateTime date{2026, 12, 6, 12, 0, 0};
    double waited = 0;  // total of all waits
    std::vector<double> waits;
    std::function<void()> onEvents;
};

class StringTextBox : public TextBox {
  public:
    std::string Text() const override { return text; }
    std::size_t TextLength() const override { return text.size(); }
    void SetText(std::string_view t) override;
    void SetSelStart(long long pos) override;
    void SetSelLength(long long len) override;
    void SetSelText(std::string_view t) override;

    std::string text;
    long long selStart = 0;
    long long selLength = 0;
};

class RecordingPort : public CommPort {
  public:
    bool PortOpen() const override { return open; }
    std::string SetPortOpen(bool o) override;
    std::string Output(std::string_view bytes) override;
    std::string Input() override;
    int OutBufferCount() const override { return outBufferCount; }
    int OutBufferSize() const override { return 512; }
    std::string Settings() const override { return settings; }
    std::string SetSettings(std::string_view s) override;
    int CommPortNumber() const override { return commPort; }
    std::string SetCommPortNumber(int n) override;
    int Handshaking() const override { return handshaking; }
    std::string SetHandshaking(int code) override;
    std::string PortName() const override { return portName; }
    std::string SetPortName(std::string_view path) override;

    bool open = false;
    std::string sent;                 // everything written, in order
    std::vector<std::string> writes;  // each Output call
    std::string input;                // what Input() returns next
    int outBufferCount = 0;
    std::string settings = "9600,n,8,1";
    int commPort = 1;
    int handshaking = 0;
    std::string portName;
    std::string openError;    // returned by the next opens while set
    std::string outputError;  // returned by Output while set
    std::string settingsError;
    int opens = 0, closes = 0;
};

class RecordingHost : public WindowHost {
  public:
    void EndProgram() override { ++endProgram; }
    void PortStateChanged() override { ++portStateChanges; }
    void SetStatusPanel(std::string_view text) override { statusPanel = text; }
    void StartStatusResetTimer() override { ++statusTimerStarts; }
    void ButtonsChanged() override { ++buttonChanges; }
    void LabelsChanged() override { ++labelChanges; }

    bool LogOpen() const override { return logOpen; }
    std::string WriteLog(std::string_view bytes) override;
    void CloseLog() override {
        logOpen = false;
        ++logCloses;
    }

    void CreateGraphWindow() override {
        graphWindow = true;
        ++graphCreates;
    }
    void CloseGraphWindow() override {
        graphWindow = false;
        ++graphCloses;
    }
    void ShowGraph() override;

    void CreateResultsWindow() override {
        resultsWindow = true;
        ++resultsCreates;
    }
    void CloseResultsWindow() override {
        resultsWindow = false;
        ++resultsCloses;
    }
    void ResultsChanged() override;

    void ShowHistWindow() override;
    void CloseHistWindow() override {
        histWindow = false;
        ++histCloses;
    }
    void ShowConfigWindow() override { configWindow = true; }
    void CloseConfigWindow() override { configWindow = false; }
    void ConfigChanged() override { ++configChanges; }

    int endProgram = 0, portStateChanges = 0, statusTimerStarts = 0, buttonChanges = 0;
    int labelChanges = 0;
    std::string statusPanel;
    bool logOpen = false;
    std::string log;
    std::string logError;  // returned by WriteLog while set
    int logCloses = 0;
    bool graphWindow = false;
    int graphCreates = 0, graphCloses = 0, graphShows = 0;
    bool resultsWindow = false;
    int resultsCreates = 0, resultsCloses = 0, resultsUpdates = 0;
    bool histWindow = false;
    int histShows = 0, histCloses = 0;
    bool configWindow = false;
    int configChanges = 0;
    // Called at every ShowGraph / ResultsChanged, e.g. to keep a copy of each chart.
    std::function<void()> onShowGraph;
    std::function<void()> onResultsChanged;
    std::function<void()> onShowHist;
};

// A Session wired to the headless fakes, its port open.
struct HeadlessSession {
    RecordingPort port;
    RecordingAsker asker;
    ManualClock clock;
    RecordingHost host;
    StringTextBox term;
    Session s;

    HeadlessSession() {
        s.io = Outside{&port, &asker, &clock, &host, &term};
        port.open = true;
    }
    HeadlessSession(const HeadlessSession&) = delete;
    HeadlessSession& operator=(const HeadlessSession&) = delete;
};

}  // namespace sondix
