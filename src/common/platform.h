// The small interfaces through which the core reaches the outside world. The windows implement
// them with Qt; the tests and the command-line tool implement them with fakes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/gen_datetime.h"

namespace sondix {

struct Colour {
    int r = 0, g = 0, b = 0;
    bool operator==(const Colour&) const = default;
};

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgIcon { None, Exclamation, Question, Critical, Information };
enum class MsgAnswer { OK, Cancel, Yes, No, Retry, Abort, Ignore };

// Message boxes: the core says what to ask, the asker shows it and returns the answer.
class MessageAsker {
  public:
    virtual ~MessageAsker() = default;
    virtual MsgAnswer Ask(std::string_view title, std::string_view text, MsgButtons buttons,
                          MsgIcon icon) = 0;
    virtual void Beep() {}
};

// Time and waiting. Wait() keeps the user interface processing events (received data is parsed
// during it); DoEvents() is one such pass. Tests advance a fake clock instead of sleeping.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual double Monotonic() = 0;  // seconds, never goes back
    virtual Gen::DateTime Now() = 0;
    virtual void DoEvents() = 0;
    virtual void Wait(double seconds) = 0;
};

// The serial port as the program uses it. Bytes travel as Latin-1 characters both ways.
// Operations that can fail return the port's error text ("" on success).
class CommPort {
  public:
    virtual ~CommPort() = default;
    virtual bool PortOpen() const = 0;
    virtual std::string SetPortOpen(bool open) = 0;
    virtual std::string Output(std::string_view bytes) = 0;
    virtual std::string Input() = 0;  // all waiting bytes, removed from the input buffer
    virtual int OutBufferCount() const = 0;
    virtual int OutBufferSize() const = 0;
    virtual std::string Settings() const = 0;
    virtual std::string SetSettings(std::string_view settings) = 0;
    virtual int CommPortNumber() const = 0;
    virtual std::string SetCommPortNumber(int n) = 0;
    virtual int Handshaking() const = 0;
    virtual std::string SetHandshaking(int code) = 0;
    // A device path that stands for the port instead of its number ("" = the number decides).
    // Set only while the port is closed.
    virtual std::string PortName() const { return {}; }
    virtual std::string SetPortName(std::string_view path) { return {}; }
    // The text of the last error the port reported by itself through its event (the device was
    // lost and the port closed, or a write failed); "" until then, cleared when the port opens.
    virtual std::string LastErrorText() const { return {}; }
    // The device the open port uses ("/dev/ttyUSB0"); "" when unknown.
    virtual std::string DeviceName() const { return {}; }
};

// The terminal's multi-line text box, with the operations the display step uses.
class TextBox {
  public:
    virtual ~TextBox() = default;
    virtual std::string Text() const = 0;
    // The text's length without copying it (every received block asks).
    virtual std::size_t TextLength() const { return Text().size(); }
    virtual void SetText(std::string_view text) = 0;
    virtual void SetSelStart(long long pos) = 0;  // 0-based caret position
    virtual void SetSelLength(long long len) = 0;
    virtual void SetSelText(std::string_view text) = 0;  // replaces the selection
};

}  // namespace sondix
