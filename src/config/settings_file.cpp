#include "config/settings_file.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "common/gen_format.h"
#include "common/gen_number.h"
#include "config/units.h"

namespace sondix {
namespace {

std::string Escape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char n = text[++i];
        out += n == 'r' ? '\r' : n == 'n' ? '\n' : n;
    }
    return out;
}

std::string_view Trim(std::string_view t) {
    const auto first = t.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = t.find_last_not_of(" \t\r");
    return t.substr(first, last - first + 1);
}

// A whole decimal number or one with a fraction; nothing else (no trailing text).
bool ReadNumber(std::string_view text, double& out) {
    text = Trim(text);
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digits = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (!digits) return false;
    out = Gen::Val(text);
    return true;
}

std::string LineError(int line, std::string_view what) {
    return "line " + std::to_string(line) + ": " + std::string(what);
}

// One "Key=Value" of the [Sensor] section; false for an unknown key or a bad value.
bool ReadSensorLine(std::string_view key, std::string_view value, SettingsFile& out) {
    if (key == "Variant") {
        if (value != "Distance" && value != "Velocimeter") return false;
        out.velocimeter = value == "Velocimeter";
        return true;
    }
    if (key == "Logo") {
        out.logo = Unescape(value);
        return true;
    }
    if (key == "SerNum") return ReadNumber(value, out.serNum);
    if (key == "FirmwareRev") return ReadNumber(value, out.firmwareRev);
    if (key == "Time") return Gen::ParseIso(value, out.time);
    return false;
}

}  // namespace

std::string VariantName(bool velocimeter) {
    return velocimeter ? "Velocimeter" : "Distance";
}

SettingsFile SettingsOf(const ParamMirror& m, const Gen::DateTime& now) {
    SettingsFile f;
    f.velocimeter = m.VelocimeterMode;
    f.logo = m.LogoStr;
    f.serNum = m.SerNum;
    f.firmwareRev = m.FirmwareRev;
    f.time = now;
    for (const SetParam* p : WritableParams(m))
        f.values.push_back({p->name, m.*(p->member)});
    return f;
}

std::string FormatSettingsFile(const SettingsFile& f) {
    std::string out = "; Sondix sensor settings\n[Sensor]\n";
    out += "Variant=" + VariantName(f.velocimeter) + "\n";
    out += "Logo=" + Escape(f.logo) + "\n";
    out += "SerNum=" + Gen::CStr(f.serNum) + "\n";
    out += "FirmwareRev=" + Gen::CStrSingle(static_cast<float>(f.firmwareRev)) + "\n";
    out += "Time=" + Gen::FormatGeneral(f.time) + "\n";
    out += "[Parameters]\n";
    for (const SettingValue& v : f.values) {
        out += v.name + "=" + Gen::CStrSingle(static_cast<float>(v.value));
        const SetParam* p = FindSetParam(v.name);
        if (p != nullptr) {
            const std::int16_t index = f.velocimeter ? p->velocimeterIndex : p->distanceIndex;
            out += " ; index " + std::to_string(index);
            if (p->length) out += f.velocimeter ? ", mm/s" : ", mm";
        }
        out += "\n";
    }
    return out;
}

std::string ParseSettingsFile(std::string_view text, SettingsFile& out) {
    SettingsFile f;
    enum { kNone, kSensor, kParameters } section = kNone;
    bool sawVariant = false;
    int lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        // The logo may hold ";": comments are only whole lines there.
        if (section == kParameters) line = line.substr(0, line.find(';'));
        line = Trim(line);
        if (line.empty() || line.front() == ';') continue;
        if (line == "[Sensor]" || line == "[Parameters]") {
            section = line == "[Sensor]" ? kSensor : kParameters;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || section == kNone)
            return LineError(lineNo, "not a setting: " + std::string(line));
        const std::string_view key = Trim(line.substr(0, eq));
        const std::string_view value = Trim(line.substr(eq + 1));
        if (section == kSensor) {
            if (!ReadSensorLine(key, value, f))
                return LineError(lineNo, "bad sensor line: " + std::string(line));
            sawVariant = sawVariant || key == "Variant";
            continue;
        }
        double number = 0;
        if (FindSetParam(key) == nullptr)
            return LineError(lineNo, "unknown parameter " + std::string(key));
        if (!ReadNumber(value, number))
            return LineError(lineNo, "not a number: " + std::string(value));
        f.values.push_back({std::string(key), number});
    }
    if (!sawVariant) return "no Variant line: not a Sondix settings file";
    out = std::move(f);
    return {};
}

std::vector<SettingChange> CompareSettings(const SettingsFile& f, const ParamMirror& m) {
    std::vector<SettingChange> out;
    for (const SetParam* p : WritableParams(m)) {
        for (const SettingValue& v : f.values) {
            if (v.name != p->name) continue;
            const double sensor = m.*(p->member);
            // The listing holds whole numbers; a file value is compared as the sensor keeps it.
            if (std::fabs(sensor - v.value) >= 0.5) out.push_back({p, sensor, v.value});
        }
    }
    return out;
}

std::string SettingShown(const SetParam& p, const ParamMirror& m, double value) {
    if (!p.length) return Gen::CStr(value);
    std::string label = UnitLabel(m);
    while (!label.empty() && label.back() == ' ')
        label.pop_back();
    return cnv_mm_to_units_str(m, static_cast<float>(value)) + " " + label;
}

std::string ChangesText(const std::vector<SettingChange>& changes, const ParamMirror& m) {
    std::string out;
    for (const SettingChange& c : changes)
        out += std::string(c.param->name) + ": sensor " + SettingShown(*c.param, m, c.sensor) +
               ", file " + SettingShown(*c.param, m, c.file) + "\n";
    return out;
}

std::string ReadTextFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::strerror(errno);
    std::ostringstream buf;
    buf << in.rdbuf();
    if (in.bad()) return "read error";
    text = buf.str();
    return {};
}

std::string WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return std::strerror(errno);
    out << text;
    out.close();
    return out ? "" : "write error";
}

}  // namespace sondix
