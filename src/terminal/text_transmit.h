// "&Transmit Text File...": a text file sent to the sensor character by character, paced so
// that its command interpreter keeps up, while a small window offers Cancel.
#pragma once

#include <string>
#include <string_view>

#include "terminal/file_chooser.h"
#include "terminal/session.h"

namespace sondix {

// frmCancelSend as the core drives it.
class CancelSendWindow {
  public:
    virtual ~CancelSendWindow() = default;
    virtual void ShowSending(std::string_view label) = 0;  // Label1, then shown (not modal)
    virtual void HideSending() = 0;
};

// What one character of the file does: sent or not, and the pause after it.
struct TextCharRule {
    bool send = false;
    double pause = 0;
};
TextCharRule RuleForTextChar(char c);

// The whole menu command: the dialog (repeated while the chosen file does not exist), the
// transmission, the menu item and ResetVariables at the end.
void mnuSendText_Click(Session& s, FileChooser& chooser, CancelSendWindow& window);

// Sends the file at `path` (the part after the dialog).
void TransmitTextFile(Session& s, const std::string& path, CancelSendWindow& window);

}  // namespace sondix
