// The serial line's format as the port's settings text writes it ("9600,n,8,1"): speed, parity
// letter, data bits and stop bits. The port, the properties dialog and the start-up share these
// rules, so a text is refused in one place with one explanation.
#pragma once

#include <string>
#include <string_view>

namespace sondix {

enum class StopBits { One, OnePointFive, Two };

struct CommSettings {
    int baud = 9600;
    char parity = 'n';  // e, m, n, o or s (always small)
    int dataBits = 8;
    StopBits stop = StopBits::One;
    bool operator==(const CommSettings&) const = default;
};

// Reads a settings text such as "9600,n,8,1" or " 9600 , E , 7 , 1.5 " into `out`.
// Returns "" on success; otherwise an error text naming the faulty field, and `out` is untouched.
// Combinations the line cannot carry are refused as well: 1.5 stop bits need 5 data bits, 2 stop
// bits cannot follow 5 data bits, and the serial driver has no 4-bit characters.
std::string ParseCommSettings(std::string_view text, CommSettings& out);

// The canonical text the port reads back: small parity letter, "1", "1.5" or "2" stop bits.
std::string FormatCommSettings(const CommSettings& s);

// Handshaking codes: 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 XON/XOFF and RTS. "" when valid.
std::string ValidateHandshaking(int code);

}  // namespace sondix
