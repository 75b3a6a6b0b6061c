// What the simulated sensor is: its variant, firmware and the knobs of its generators.
#pragma once

#include <cstdint>
#include <string>

namespace sondix::sim {

enum class Variant { Distance, Velocimeter };

struct Config {
    Variant variant = Variant::Distance;
    // Revision written in the logo right after "Ver"; empty: the variant's default.
    std::string firmware;
    // Words of every data graph answer; 0: from Log2Nfft (time series and ramp 2^Log2Nfft,
    // spectrum half of that, each kept within 512..2048).
    int nwords = 0;
    double resultsInterval = 2.0;   // seconds between "{" lines
    double spectrumInterval = 1.0;  // shortest time from one "[" spectrum to the next
    double spectrumGap = 0.3;       // quiet line before the next "[" spectrum
    int historyRecords = 240;
    double historyInterval = 0;    // seconds; 0: from the HistLog parameter
    int historyLoeEvery = 0;       // every K-th history record has lost the echo; 0: none
    bool historyShuffle = false;   // some history records out of time order
    double collectTimeout = 10.0;  // "s" and "c" wait this long for their digits
    std::uint64_t seed = 1;
};

// The revision the sensor reports when none was asked for.
inline std::string DefaultFirmware(Variant v) {
    return v == Variant::Velocimeter ? "1.51" : "0.47";
}

inline std::string FirmwareOf(const Config& c) {
    return c.firmware.empty() ? DefaultFirmware(c.variant) : c.firmware;
}

}  // namespace sondix::sim
