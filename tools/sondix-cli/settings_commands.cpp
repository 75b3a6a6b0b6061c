// backup, restore and diff: the sensor's written parameters against a settings file.
#include <iostream>

#include "common/gen_format.h"
#include "config/settings_file.h"
#include "exit_codes.h"
#include "live_commands.h"

namespace sondix::cli {
namespace {

int ReadSettings(const std::string& path, SettingsFile& out) {
    std::string text;
    if (const std::string error = ReadTextFile(path, text); !error.empty()) {
        std::cerr << "sondix-cli: cannot read " << path << ": " << error << "\n";
        return kExitFile;
    }
    const std::string error = ParseSettingsFile(text, out);
    if (error.empty()) return kExitOk;
    std::cerr << "sondix-cli: " << path << ": " << error << "\n";
    return kExitFile;
}

std::string KindName(bool velocimeter) {
    return velocimeter ? "a velocimeter" : "a distance sensor";
}

// One line a difference: "Set__4: sensor 0.50 m, file 4.00 m".
void PrintChanges(const std::vector<SettingChange>& changes, const ParamMirror& m) {
    std::cout << ChangesText(changes, m);
}

}  // namespace

int RunBackup(LiveLink& link, const LiveOptions& o) {
    const ParamMirror& m = link.s().mirror;
    const SettingsFile f = SettingsOf(m, link.clock.Now());
    if (const std::string error = WriteTextFile(o.file, FormatSettingsFile(f)); !error.empty()) {
        std::cerr << "sondix-cli: cannot write " << o.file << ": " << error << "\n";
        return kExitFile;
    }
    std::cout << "saved " << f.values.size() << " settings of S/N " << Gen::CStr(f.serNum) << " to "
              << o.file << "\n";
    return kExitOk;
}

int RunDiff(LiveLink& link, const LiveOptions& o) {
    SettingsFile f;
    if (int status = ReadSettings(o.file, f); status != kExitOk) return status;
    const ParamMirror& m = link.s().mirror;
    const std::vector<SettingChange> changes = CompareSettings(f, m);
    const bool otherKind = f.velocimeter != m.VelocimeterMode;
    if (otherKind)
        std::cout << "Variant: sensor " << VariantName(m.VelocimeterMode) << ", file "
                  << VariantName(f.velocimeter) << "\n";
    PrintChanges(changes, m);
    return changes.empty() && !otherKind ? kExitOk : kExitDiffers;
}

int RunRestore(LiveLink& link, const LiveOptions& o) {
    SettingsFile f;
    if (int status = ReadSettings(o.file, f); status != kExitOk) return status;
    ParamMirror& m = link.s().mirror;
    if (f.velocimeter != m.VelocimeterMode && !o.force) {
        std::cerr << "sondix-cli: " << o.file << " holds the settings of "
                  << KindName(f.velocimeter) << ", the sensor is " << KindName(m.VelocimeterMode)
                  << " (--force restores what both have)\n";
        return kExitVariant;
    }
    const std::vector<SettingChange> changes = CompareSettings(f, m);
    PrintChanges(changes, m);
    if (o.dryRun) return kExitOk;
    for (const SettingChange& c : changes) {
        // The sensor's unit may have changed with an earlier line: lengths follow it.
        const std::optional<std::int16_t> sent = SensorValue(*c.param, m, c.file);
        if (!sent) {
            std::cerr << "sondix-cli: " << c.param->name << "=" << Gen::CStr(c.file)
                      << " is not a value this sensor takes\n";
            return kExitRefused;
        }
        if (int status = WriteAndCheck(link, *c.param, *sent); status != kExitOk) return status;
    }
    std::cout << "restored " << changes.size() << " settings\n";
    return kExitOk;
}

}  // namespace sondix::cli
