// A readable text file of one sensor's written parameters, for backing up, restoring and
// comparing its configuration:
//
//   ; Sondix sensor settings
//   [Sensor]
//   Variant=Distance
//   Logo=FMCW RADAR Ver0.47\r\nDISTANCE\r\n
//   SerNum=1047
//   FirmwareRev=0.47
//   Time=2026-12-07 03:12:45
//   [Parameters]
//   Units=0 ; index 18
//   Set__4=500 ; index 23, mm
//
// Lengths are millimetres (per second on a velocimeter) whatever the sensor's unit, so a file
// restores the same lengths after a change of unit or firmware. "\\", "\r" and "\n" stand for a
// backslash, CR and LF in texts; ";" starts a comment.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/gen_datetime.h"
#include "config/param_mirror.h"
#include "config/param_set.h"

namespace sondix {

struct SettingValue {
    std::string name;
    double value = 0;
};

struct SettingsFile {
    bool velocimeter = false;
    std::string logo;
    double serNum = 0;
    double firmwareRev = 0;
    Gen::DateTime time;
    std::vector<SettingValue> values;  // in file order
};

// The sensor's written parameters as the mirror holds them.
SettingsFile SettingsOf(const ParamMirror& m, const Gen::DateTime& now);

std::string FormatSettingsFile(const SettingsFile& f);

// "" on success, else what is wrong and on which line. Unknown parameter names are refused, so a
// mistyped line is never silently skipped.
std::string ParseSettingsFile(std::string_view text, SettingsFile& out);

// "Distance" or "Velocimeter".
std::string VariantName(bool velocimeter);

struct SettingChange {
    const SetParam* param;
    double sensor;  // what the sensor holds now
    double file;    // what the file holds
};

// The file's parameters that differ from the sensor's, in the order a restore writes them.
// Parameters this sensor kind does not have are left out.
std::vector<SettingChange> CompareSettings(const SettingsFile& f, const ParamMirror& m);

// A value as the user reads it: a length in the sensor's unit with its label ("0.50 m"), else
// the number.
std::string SettingShown(const SetParam& p, const ParamMirror& m, double value);

// One line a change: "Set__4: sensor 0.50 m, file 4.00 m\n".
std::string ChangesText(const std::vector<SettingChange>& changes, const ParamMirror& m);

// The whole file as text; "" or the reason it cannot be read.
std::string ReadTextFile(const std::string& path, std::string& text);
// "" or the reason the file cannot be written.
std::string WriteTextFile(const std::string& path, const std::string& text);

}  // namespace sondix
