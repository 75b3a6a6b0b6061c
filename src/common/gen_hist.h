// The history arrays: filled by the history transfer, read by the history window and its dump.
#pragma once

#include <array>
#include <cstdint>

namespace Gen {

inline constexpr int kHistMax = 4096;

// Index 0 is unused; records are 1..kHistMax as the sensor numbers them.
struct HistoryArrays {
    std::array<double, kHistMax + 1> HistTime{};
    std::array<float, kHistMax + 1> HistValue{};
    std::array<float, kHistMax + 1> HistLoopPct{};
    std::array<float, kHistMax + 1> HistSignalPct{};
    std::array<float, kHistMax + 1> HistNoisePct{};
    std::array<float, kHistMax + 1> HistTempC{};
    std::array<float, kHistMax + 1> HistValue2{};
    std::array<float, kHistMax + 1> HistRelays{};
    std::array<std::int32_t, kHistMax + 1> HistStatus{};
    std::array<float, kHistMax + 1> HistStatusChart{};
};

}  // namespace Gen
