// Which device file the port number means on this system.
#pragma once

#include <string>
#include <string_view>

namespace sondix {

// The device to open for port number `commPort` (1 = first port). `envPort` is the value of the
// environment variable SONDIX_PORT: when set it wins for this run (the simulator and the tests
// point the program at a pseudo-terminal this way). Otherwise the per-user setting "PortName",
// a device path, when set. Otherwise ComN is /dev/ttyS(N-1). A typed path is used as it stands:
// pseudo-terminals and many USB adapters are never listed by the system, so nothing here checks
// a path against a list of known ports. Blank values count as not set. Returns "" for a port
// number below 1 when neither override is set.
std::string DeviceForPort(int commPort, std::string_view portNameSetting, std::string_view envPort);

// What to add to "permission denied" for `device`: serial devices belong to a group (usually
// "dialout") whose members may use them; the text names the device's own group and the command
// that adds the user to it.
std::string PermissionHint(const std::string& device);

// A serial device the system reports, as the properties dialog lists it.
struct SerialDevice {
    std::string path;  // "/dev/ttyUSB0"
    std::string description;
    int vendorId = -1;  // USB ids, -1 when the system reports none
    int productId = -1;
};
// "/dev/ttyUSB0  FT232R USB UART  [0403:6001]"
std::string DeviceEntryText(const SerialDevice& d);

}  // namespace sondix
