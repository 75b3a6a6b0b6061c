#include "terminal/comm_settings.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <vector>

namespace sondix {
namespace {

std::string_view Trim(std::string_view s) {
    constexpr std::string_view kBlanks = " \t";
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        fields.push_back(Trim(text.substr(start, comma - start)));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

struct StopBitsName {
    std::string_view text;
    StopBits value;
};
constexpr std::array kStopBitsNames{StopBitsName{"1", StopBits::One},
                                    StopBitsName{"1.5", StopBits::OnePointFive},
                                    StopBitsName{"2", StopBits::Two}};
constexpr std::string_view kParityLetters = "emnos";

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Each reader fills its part of the settings, or says what is wrong with its field.
using FieldReader = std::string (*)(std::string_view field, CommSettings& s);

std::string ReadSpeed(std::string_view field, CommSettings& s) {
    constexpr std::string_view kWhy = "speed must be a positive whole number";
    if (field.empty() || field.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::string(kWhy);
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc{} || end != field.data() + field.size()) return "speed is too large";
    if (value <= 0) return std::string(kWhy);
    s.baud = value;
    return {};
}

std::string ReadParity(std::string_view field, CommSettings& s) {
    if (field.size() != 1 || kParityLetters.find(Lower(field[0])) == std::string_view::npos) {
        return "parity must be one of e, m, n, o, s";
    }
    s.parity = Lower(field[0]);
    return {};
}

std::string ReadDataBits(std::string_view field, CommSettings& s) {
    if (field.size() != 1 || field[0] < '4' || field[0] > '8') {
        return "data bits must be one of 4, 5, 6, 7, 8";
    }
    s.dataBits = field[0] - '0';
    return {};
}

std::string ReadStopBits(std::string_view field, CommSettings& s) {
    for (const auto& name : kStopBitsNames) {
        if (field == name.text) {
            s.stop = name.value;
            return {};
        }
    }
    return "stop bits must be one of 1, 1.5, 2";
}

constexpr std::array<FieldReader, 4> kFieldReaders{ReadSpeed, ReadParity, ReadDataBits,
                                                   ReadStopBits};

// What a UART and the Linux serial driver can put on the line. A UART sends 1.5 stop bits only
// after 5-bit characters (its "2 stop bits" setting becomes 1.5 there), and termios has no
// 4-bit character size at all.
struct LineRule {
    bool (*refuses)(const CommSettings&);
    std::string_view why;
};
constexpr std::array kLineRules{
    LineRule{[](const CommSettings& s) { return s.dataBits == 4; },
             "4 data bits are not supported by the serial driver (use 5 to 8)"},
    LineRule{
        [](const CommSettings& s) { return s.stop == StopBits::OnePointFive && s.dataBits != 5; },
        "1.5 stop bits are only possible with 5 data bits"},
    LineRule{[](const CommSettings& s) { return s.stop == StopBits::Two && s.dataBits == 5; },
             "2 stop bits are not possible with 5 data bits (use 1.5)"},
};

std::string Refusal(std::string_view text, std::string_view why) {
    std::string msg = "Invalid port settings \"";
    msg += text;
    msg += "\": ";
    msg += why;
    return msg;
}

}  // namespace

std::string ParseCommSettings(std::string_view text, CommSettings& out) {
    const auto fields = SplitFields(text);
    if (fields.size() != kFieldReaders.size()) {
        return Refusal(text, "expected speed, parity, data bits and stop bits separated by commas");
    }
    CommSettings read = out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (auto why = kFieldReaders[i](fields[i], read); !why.empty()) return Refusal(text, why);
    }
    for (const auto& rule : kLineRules) {
        if (rule.refuses(read)) return Refusal(text, rule.why);
    }
    out = read;
    return {};
}

std::string FormatCommSettings(const CommSettings& s) {
    std::string text = std::to_string(s.baud);
    text += ',';
    text += s.parity;
    text += ',';
    text += std::to_string(s.dataBits);
    text += ',';
    for (const auto& name : kStopBitsNames) {
        if (name.value == s.stop) text += name.text;
    }
    return text;
}

std::string ValidateHandshaking(int code) {
    if (code >= 0 && code <= 3) return {};
    return "Invalid handshaking " + std::to_string(code) +
           ": it must be 0 (none), 1 (XON/XOFF), 2 (RTS) or 3 (XON/XOFF and RTS)";
}

}  // namespace sondix
