// Every figure of the benchmarks as a share of the time the same bytes take on the serial line:
// the fastest line a USB adapter runs, 921600 baud with ten bits a character (start, eight data
// bits, stop). The counter "line%" is the CPU time of one iteration over that line time, in per
// cent; "line115k%" the same at 115200 baud for the history's goal.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

namespace sondix::bench {

inline constexpr double kFastBaud = 921600;
inline constexpr double kUsualBaud = 115200;

inline double LineSeconds(std::size_t bytes, double baud = kFastBaud) {
    return static_cast<double>(bytes) * 10.0 / baud;
}

// Sets the counters after the loop: a rate over CPU time, inverted, is time over line time.
inline void ReportLineShare(benchmark::State& state, std::size_t bytesPerIteration) {
    const double n = static_cast<double>(state.iterations());
    using C = benchmark::Counter;
    state.counters["line%"] =
        C(LineSeconds(bytesPerIteration) * n / 100.0, C::kIsRate | C::kInvert);
    state.counters["line115k%"] =
        C(LineSeconds(bytesPerIteration, kUsualBaud) * n / 100.0, C::kIsRate | C::kInvert);
    state.counters["bytes"] = static_cast<double>(bytesPerIteration);
    state.SetBytesProcessed(static_cast<std::int64_t>(bytesPerIteration) * state.iterations());
}

}  // namespace sondix::bench
