// The sensor's side of the serial line: a queue of output paced like a UART at a baud rate,
// and the faults a bad line or adapter adds (characters garbled or lost, output arriving in
// odd-sized blocks with gaps). Pure logic with the time passed in, so tests need no sleeps.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "rng.h"

namespace sondix::sim {

struct LineConfig {
    int baud = 9600;   // 10 bits a character; 0: as fast as the reader takes it
    int splitMin = 0;  // block sizes for --split; 0: no splitting
    int splitMax = 0;
    double garbleRate = 0;  // share of characters replaced by another printable one
    double dropRate = 0;    // share of characters lost
    std::uint64_t seed = 1;
};

class Transmitter {
  public:
    explicit Transmitter(const LineConfig& config);

    // Queues output; the garble and drop faults act here.
    void Push(std::string_view bytes);
    // Nothing leaves before `t` (the sensor's time to react to a command).
    void HoldUntil(double t) { holdUntil_ = std::max(holdUntil_, t); }
    // Drops everything queued (a stop command, or nobody listening).
    void Clear();
    bool Empty() const { return head_ >= queue_.size(); }
    std::size_t Pending() const { return queue_.size() - head_; }

    // The bytes that may be written at `now`; empty while the line is busy or in a gap.
    std::string_view Ready(double now);
    // `n` bytes of the ready block went out at `now`.
    void Sent(std::size_t n, double now);
    // When Ready may next give something (now or later; a large value when nothing waits).
    double NextTime(double now) const;

  private:
    double CharsPerSecond() const { return config_.baud / 10.0; }
    bool Splitting() const { return config_.splitMax > 0; }

    LineConfig config_;
    Rng rng_;
    std::string queue_;
    std::size_t head_ = 0;
    double lineFree_ = 0;   // when the characters sent so far have left the line
    double holdUntil_ = 0;  // end of the gap after a split block
    std::size_t blockLeft_ = 0;
};

}  // namespace sondix::sim
