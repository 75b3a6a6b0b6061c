// The port's settings text ("9600,n,8,1") as the settings store or the properties dialog may
// hold it: any text. A text is either refused with a reason, leaving the settings as they were,
// or read into settings whose canonical text reads back to the same settings.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "terminal/comm_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sondix::fuzz;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const sondix::CommSettings before{1234, 'o', 6, sondix::StopBits::Two};
    sondix::CommSettings s = before;
    const std::string error = sondix::ParseCommSettings(text, s);
    if (!error.empty()) {
        Require(s == before, "a refused text leaves the settings untouched", text);
        return 0;
    }
    Require(s.baud > 0, "an accepted speed is positive", text);
    Require(s.dataBits >= 5 && s.dataBits <= 8, "accepted data bits are 5 to 8", text);
    Require(std::string("emnos").find(s.parity) != std::string::npos,
            "an accepted parity is one small letter", text);
    const std::string canonical = sondix::FormatCommSettings(s);
    sondix::CommSettings again{};
    Require(sondix::ParseCommSettings(canonical, again).empty() && again == s,
            "the canonical text reads back to the same settings", canonical);
    return 0;
}
