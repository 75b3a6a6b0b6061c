#include "terminal/port_naming.h"

#include <grp.h>
#include <sys/stat.h>

#include <cstdio>

namespace sondix {
namespace {

std::string_view Trim(std::string_view s) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::string DeviceForPort(int commPort, std::string_view portNameSetting,
                          std::string_view envPort) {
    if (const auto env = Trim(envPort); !env.empty()) return std::string(env);
    if (const auto name = Trim(portNameSetting); !name.empty()) return std::string(name);
    if (commPort < 1) return {};
    return "/dev/ttyS" + std::to_string(commPort - 1);
}

std::string PermissionHint(const std::string& device) {
    struct stat st {};
    const struct group* g = ::stat(device.c_str(), &st) == 0 ? ::getgrgid(st.st_gid) : nullptr;
    if (g == nullptr || g->gr_gid == 0) {
        // Owned by root alone: the usual arrangement gives serial devices to "dialout".
        return "\n\nOnly root may use " + device +
               " here. Serial devices usually belong to the group \"dialout\": ask for the "
               "device to be given to it and add your user (sudo usermod -aG dialout $USER), "
               "then log out and in again.";
    }
    const std::string name = g->gr_name;
    return "\n\n" + device + " belongs to the group \"" + name +
           "\". Add your user to it (sudo usermod -aG " + name +
           " $USER), then log out and in "
           "again.";
}

std::string DeviceEntryText(const SerialDevice& d) {
    std::string text = d.path;
    if (!d.description.empty()) text += "  " + d.description;
    if (d.vendorId >= 0 && d.productId >= 0) {
        char ids[16];
        std::snprintf(ids, sizeof ids, "[%04x:%04x]", d.vendorId & 0xffff, d.productId & 0xffff);
        text += "  ";
        text += ids;
    }
    return text;
}

}  // namespace sondix
