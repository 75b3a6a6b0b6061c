// What the core needs from the windows. The Qt windows implement it; tests and the command-line
// tool use fakes. The core decides; these calls only show, create or close.
#pragma once

#include <string>
#include <string_view>

namespace sondix {

class WindowHost {
  public:
    virtual ~WindowHost() = default;

    // Main window.
    virtual void EndProgram() = 0;        // the shutdown has run: quit the event loop
    virtual void PortStateChanged() = 0;  // lamp, menu check mark, settings panel, timer
    virtual void SetStatusPanel(std::string_view text) = 0;
    virtual void StartStatusResetTimer() = 0;  // Timer2: "Status: " again after 2 s
    virtual void ButtonsChanged() = 0;         // captions, colours, enabled and visible states
    virtual void LabelsChanged() = 0;          // lblVerAndSerialNum

    // Communications log (the file itself lives in the window layer).
    virtual bool LogOpen() const = 0;
    virtual std::string WriteLog(std::string_view bytes) = 0;  // "" or the error text
    virtual void CloseLog() = 0;                               // mnuCloseLog_Click

    // Chart window: the core keeps the GraphModel and D_GraphLoaded.
    virtual void CreateGraphWindow() = 0;
    virtual void CloseGraphWindow() = 0;
    virtual void ShowGraph() = 0;  // the model changed: redraw and show, not modal

    // Results window: the core keeps the ResultsModel and ResultDisp_Loaded.
    virtual void CreateResultsWindow() = 0;  // create and show, not modal
    virtual void CloseResultsWindow() = 0;
    virtual void ResultsChanged() = 0;

    // History window: the core keeps the HistModel and HistWindowLoaded.
    virtual void ShowHistWindow() {}  // the model changed: create if needed, draw, show
    virtual void CloseHistWindow() = 0;
    // Configuration screen: the core keeps the ConfigScreen model and decides when it opens.
    virtual void ShowConfigWindow() = 0;   // create (once) and show, not modal
    virtual void CloseConfigWindow() = 0;  // hide; the window object lives on
    virtual void ConfigChanged() = 0;      // the model changed: redraw
};

// The per-user settings store (application "Sondix").
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual std::string Get(std::string_view section, std::string_view key) = 0;  // "" if unset
    virtual void Set(std::string_view section, std::string_view key, std::string_view value) = 0;
};

}  // namespace sondix
