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

}  // namespace sondix
