#include "terminal/port_naming.h"

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

}  // namespace sondix
