#include "terminal/port_properties.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "common/gen_text.h"
#include "terminal/main_window.h"

namespace sondix {
namespace {

constexpr std::string_view kSection = "Properties";

std::string Trim(std::string_view t) {
    const auto first = t.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(t.substr(first, t.find_last_not_of(" \t") - first + 1));
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// "Com7", "com 7": the port number, or 0.
int ComNumber(std::string_view text) {
    const std::string t = Trim(text);
    if (t.size() < 4 || Lower(t[0]) != 'c' || Lower(t[1]) != 'o' || Lower(t[2]) != 'm') return 0;
    const std::string digits = Trim(std::string_view(t).substr(3));
    int n = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc{} || end != digits.data() + digits.size() || n < 1) return 0;
    return n;
}

std::string ComText(int n) {
    return "Com" + std::to_string(n);
}

// The parity entry whose first letter is `letter`, in either case; "" for none.
std::string ParityEntry(char letter) {
    for (const std::string_view p : kParityList) {
        if (Lower(p.front()) == Lower(letter)) return std::string(p);
    }
    return {};
}

const char* BoolText(bool b) {
    return b ? "True" : "False";
}

// A failed change leaves the old port chosen; the lamp and the menu follow the port, which the
// change has closed.
void RestorePort(Session& s, int number, const std::string& name) {
    s.io.port->SetCommPortNumber(number);
    s.io.port->SetPortName(name);
    s.io.host->PortStateChanged();
}

bool IsCurrentPort(const CommPort& port, const PortEntry& e) {
    return e.commPort == port.CommPortNumber() && e.portName == port.PortName();
}

bool SwitchPort(Session& s, const PortEntry& to) {
    CommPort& port = *s.io.port;
    const int oldNumber = port.CommPortNumber();
    const std::string oldName = port.PortName();
    const bool wasOpen = port.PortOpen();
    if (wasOpen) port.SetPortOpen(false);
    std::string error = port.SetCommPortNumber(to.commPort);
    if (error.empty()) error = port.SetPortName(to.portName);
    if (error.empty() && wasOpen) error = port.SetPortOpen(true);
    if (!error.empty()) {
        ShowPortError(s, error);
        RestorePort(s, oldNumber, oldName);
        return false;
    }
    if (port.PortOpen()) s.StartTime = s.io.clock->Monotonic();
    s.io.host->PortStateChanged();
    return true;
}

}  // namespace

std::vector<PortEntry> PortEntries(const std::vector<SerialDevice>& devices) {
    std::vector<PortEntry> entries;
    for (int n = 1; n <= kListedComPorts; ++n)
        entries.push_back({ComText(n), n, ""});
    for (const SerialDevice& d : devices) {
        const bool isComN = std::any_of(
            entries.begin(), entries.begin() + kListedComPorts,
            [&](const PortEntry& e) { return DeviceForPort(e.commPort, "", "") == d.path; });
        if (!isComN) entries.push_back({DeviceEntryText(d), 1, d.path});
    }
    return entries;
}

PortEntry PortEntryForText(std::string_view text, const std::vector<PortEntry>& entries,
                           int commPort) {
    const std::string t = Trim(text);
    for (const PortEntry& e : entries) {
        if (e.text == t) return e;
    }
    if (const int n = ComNumber(t); n > 0) return {ComText(n), n, ""};
    return {t, commPort, t};
}

PropertyChoices LoadPropertySettings(const Session& s, const std::vector<PortEntry>& entries) {
    const CommPort& port = *s.io.port;
    PropertyChoices c;
    const std::string set = port.Settings();
    const long long d = set.find('.') != std::string::npos ? 2 : 0;
    const long long len = static_cast<long long>(set.size());
    c.speed = Gen::Left(set, std::max(0LL, len - 6 - d));
    const std::string parity = len - 4 - d >= 1 ? Gen::Mid(set, len - 4 - d, 1) : "";
    c.parity = parity.empty() ? "" : ParityEntry(parity.front());
    c.dataBits = len - 2 - d >= 1 ? Gen::Mid(set, len - 2 - d, 1) : "";
    c.stopBits = Gen::Right(set, 1 + d);

    const std::string name = port.PortName();
    const int number = port.CommPortNumber();
    c.port = {ComText(number), number, ""};
    if (!name.empty()) {
        c.port = {name, number, name};
        for (const PortEntry& e : entries) {
            if (e.portName == name) c.port = e;
        }
    }
    c.flow = port.Handshaking();
    c.echo = s.Echo;
    c.autoReconnect = s.AutoReconnect;
    return c;
}

std::string BuildSettingsText(const PropertyChoices& c) {
    const std::string parity = c.parity.empty() ? "" : c.parity.substr(0, 1);
    return Trim(c.speed) + "," + parity + "," + Trim(c.dataBits) + "," + Trim(c.stopBits);
}

bool cmdOK_Click(Session& s, SettingsStore& store, const PropertyChoices& c) {
    CommPort& port = *s.io.port;
    s.Echo = c.echo;
    s.AutoReconnect = c.autoReconnect;
    const bool switching = !IsCurrentPort(port, c.port);
    if (switching && !SwitchPort(s, c.port)) return false;
    if (auto error = port.SetSettings(BuildSettingsText(c)); !error.empty()) {
        ShowPortError(s, error);
        return false;
    }
    if (auto error = port.SetHandshaking(c.flow); !error.empty()) {
        ShowPortError(s, error);
        return false;
    }
    if (port.PortOpen()) s.io.host->PortStateChanged();  // the settings panel shows the new text
    store.Set(kSection, "Settings", port.Settings());
    store.Set(kSection, "CommPort", std::to_string(port.CommPortNumber()));
    store.Set(kSection, "Handshaking", std::to_string(port.Handshaking()));
    store.Set(kSection, "Echo", BoolText(s.Echo));
    // Only a port chosen here: the device of a SONDIX_PORT run is not the user's choice.
    if (switching) store.Set(kSection, "PortName", port.PortName());
    store.Set(kSection, "AutoReconnect", BoolText(s.AutoReconnect));
    return true;
}

}  // namespace sondix
