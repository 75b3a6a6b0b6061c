#include "terminal/text_transmit.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "common/pauses.h"
#include "terminal/main_window.h"

namespace sondix {
namespace {

constexpr std::string_view kTitle = "Send Text File";
constexpr std::string_view kFilter = "Text Files (*.TXT)|*.txt|All Files (*.*)|*.*";
constexpr std::string_view kLabel = "Transmitting Text File - ";
// How often the wait for an empty output buffer looks again.
constexpr double kBufferLook = 0.01;

bool Stopping(const Session& s) {
    return s.CancelSend || ProgramEnding(s);
}

// The sensor reads one character at a time: each sent character waits until it has left.
void WaitUntilSent(Session& s) {
    while (s.io.port->OutBufferCount() > 0 && !Stopping(s))
        s.io.clock->Wait(kBufferLook);
}

// Sends one block; "" or the port's error text. Stops before the next character once Cancel
// was pressed, so nothing more reaches the sensor after the user asked to stop.
std::string SendBlock(Session& s, std::string_view block) {
    for (const char c : block) {
        if (Stopping(s)) return {};
        const TextCharRule rule = RuleForTextChar(c);
        if (rule.send) {
            if (auto error = s.io.port->Output(std::string_view(&c, 1)); !error.empty()) {
                return error;
            }
        }
        s.io.clock->Wait(rule.pause);
        if (rule.send) WaitUntilSent(s);
    }
    return {};
}

void SetSending(Session& s, bool sending) {
    s.TextSending = sending;
    s.io.host->PortStateChanged();  // the menu item follows the port and the transmission
}

}  // namespace

TextCharRule RuleForTextChar(char c) {
    const int a = static_cast<unsigned char>(c);
    if ((a >= 33 && a <= 127) || a == '\r' || a == '\n') return {true, Gen::Pauses::kTextChar};
    if (a == ' ') return {false, Gen::Pauses::kTextBlank};
    return {false, Gen::Pauses::kTextOther};
}

void TransmitTextFile(Session& s, const std::string& path, CancelSendWindow& window) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ShowPortError(s, "Cannot open " + path + ": " + std::strerror(errno));
        return;
    }
    s.CancelSend = false;
    window.ShowSending(std::string(kLabel) + path);
    // Read in blocks of the output buffer's size, each exactly what the file holds.
    std::string block(static_cast<std::size_t>(std::max(1, s.io.port->OutBufferSize())), ' ');
    while (!Stopping(s)) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const auto n = static_cast<std::size_t>(in.gcount());
        if (n == 0) break;
        if (auto error = SendBlock(s, std::string_view(block.data(), n)); !error.empty()) {
            ShowPortError(s, error);
            break;
        }
    }
    if (in.bad()) ShowPortError(s, "Cannot read " + path);
}

void mnuSendText_Click(Session& s, FileChooser& chooser, CancelSendWindow& window) {
    if (s.TextSending) return;
    SetSending(s, true);
    for (;;) {
        const auto path = chooser.ChooseOpenFile(kTitle, kFilter);
        if (!path || path->empty()) break;
        std::error_code ec;
        const bool exists = std::filesystem::exists(*path, ec);
        if (ec) {
            ShowPortError(s, *path + ": " + ec.message());
            break;
        }
        if (!exists) {
            s.io.asker->Ask(kProgramTitle, *path + " not found!", MsgButtons::OK,
                            MsgIcon::Exclamation);
            continue;
        }
        TransmitTextFile(s, *path, window);
        window.HideSending();
        s.CancelSend = true;
        SetSending(s, false);
        ResetVariables(s);
        return;
    }
    SetSending(s, false);
}

}  // namespace sondix
