// frmProperties ("CommPort Properties") without its window: the lists, what the dialog shows
// for the port as it is, and OK, which applies the choice to the port and keeps it in the
// settings store for the next start.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "terminal/port_naming.h"
#include "terminal/session.h"
#include "terminal/window_host.h"

namespace sondix {

inline constexpr std::array<std::string_view, 16> kSpeedList{
    "110",   "300",   "600",   "1200",  "2400",  "4800",   "9600",   "14400",
    "19200", "28800", "38400", "56000", "57600", "115200", "128000", "256000"};
inline constexpr std::array<std::string_view, 5> kDataBitsList{"4", "5", "6", "7", "8"};
inline constexpr std::array<std::string_view, 5> kParityList{"Even", "Odd", "None", "Mark",
                                                             "Space"};
inline constexpr std::array<std::string_view, 3> kStopBitsList{"1", "1.5", "2"};
inline constexpr std::array<std::string_view, 4> kFlowList{"None", "Xon/Xoff", "RTS", "Xon/RTS"};
inline constexpr int kListedComPorts = 16;

// One entry of cboPort: "Com1".."Com16" (by number), a device the system reports, or a path
// the user typed (by name).
struct PortEntry {
    std::string text;
    int commPort = 1;
    std::string portName;  // "" for ComN
    bool operator==(const PortEntry&) const = default;
};

// Com1..Com16, then the system's devices that are not one of them.
std::vector<PortEntry> PortEntries(const std::vector<SerialDevice>& devices);
// The entry for the text in cboPort: a listed entry, "ComN" for any N, or a device path as
// typed (which keeps the port number `commPort`).
PortEntry PortEntryForText(std::string_view text, const std::vector<PortEntry>& entries,
                           int commPort);

// The dialog's choices; list texts as shown ("" = nothing selected).
struct PropertyChoices {
    PortEntry port;
    std::string speed, parity, dataBits, stopBits;
    int flow = 0;
    bool echo = false;
    bool autoReconnect = true;
    bool operator==(const PropertyChoices&) const = default;
};

// LoadPropertySettings: the port's settings text read by position, as the port writes it;
// the parity letter in either case.
PropertyChoices LoadPropertySettings(const Session& s, const std::vector<PortEntry>& entries);
// "9600,N,8,1": speed, the parity's first letter, data bits and stop bits.
std::string BuildSettingsText(const PropertyChoices& c);
// cmdOK: applies the choice to the port and saves "Settings", "CommPort", "Handshaking",
// "Echo", "PortName" and "AutoReconnect". False (the dialog stays open with the user's
// choices) after a refusal, which has been shown.
bool cmdOK_Click(Session& s, SettingsStore& store, const PropertyChoices& c);

}  // namespace sondix
