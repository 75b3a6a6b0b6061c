// The port settings kept in the user's settings store, applied at start-up.
#include <cctype>
#include <optional>

#include "common/gen_number.h"
#include "terminal/main_window.h"

namespace sondix {

namespace {

constexpr std::string_view kSection = "Properties";
constexpr std::string_view kTypeMismatch = "Type mismatch";

std::string_view Trimmed(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

// A plain decimal number: optional sign, digits, optional point and digits.
bool IsPlainNumber(std::string_view t) {
    t = Trimmed(t);
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) t.remove_prefix(1);
    bool digits = false;
    bool point = false;
    for (const char c : t) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

// The stored text as a whole number (halves to even); nothing when it is not a number.
std::optional<int> ParseSettingInt(std::string_view text) {
    if (!IsPlainNumber(text)) return std::nullopt;
    return Gen::ToInt32(Gen::Val(Trimmed(text)));
}

// One integer setting: empty leaves the port alone; otherwise the port's (or the conversion's)
// error text, "" on success.
template <typename Apply>
std::string ApplyIntSetting(std::string_view text, Apply apply) {
    if (text.empty()) return {};
    const std::optional<int> n = ParseSettingInt(text);
    if (!n) return std::string(kTypeMismatch);
    return apply(*n);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

bool ParseSettingBool(std::string_view text) {
    const std::string_view t = Trimmed(text);
    if (EqualsNoCase(t, "true")) return true;
    if (EqualsNoCase(t, "false")) return false;
    if (!IsPlainNumber(t)) return false;
    return Gen::Val(t) != 0;
}

bool ApplyStoredSettings(Session& s, SettingsStore& store) {
    CommPort& port = *s.io.port;

    const std::string settings = store.Get(kSection, "Settings");
    if (!settings.empty()) {
        const std::string error = port.SetSettings(settings);
        if (!error.empty()) {
            ShowPortError(s, error);
            return false;
        }
    }

    // Both are tried before the one check, so a rejected port number does not keep the stored
    // handshaking off the port; the box names the last failure, as the port reported it.
    const std::string portError = ApplyIntSetting(
        store.Get(kSection, "CommPort"), [&port](int n) { return port.SetCommPortNumber(n); });
    const std::string handshakingError = ApplyIntSetting(
        store.Get(kSection, "Handshaking"), [&port](int n) { return port.SetHandshaking(n); });
    const std::string& error = handshakingError.empty() ? portError : handshakingError;
    if (!error.empty()) {
        ShowPortError(s, error);
        return false;
    }

    s.Echo = ParseSettingBool(store.Get(kSection, "Echo"));
    const std::string reconnect = store.Get(kSection, "AutoReconnect");
    s.AutoReconnect = reconnect.empty() || ParseSettingBool(reconnect);
    return true;
}

}  // namespace sondix
