#include "transmitter.h"

#include <algorithm>

namespace sondix::sim {
namespace {

constexpr double kChunkSeconds = 0.01;  // paced output leaves in slices of this length
constexpr double kNever = 1e300;
constexpr std::size_t kMaxQueued = 1 << 20;

}  // namespace

Transmitter::Transmitter(const LineConfig& config)
    : config_(config), rng_(MixSeed(config.seed, 0x54)) {
    if (config_.splitMin < 1) config_.splitMin = 1;
    if (config_.splitMax < config_.splitMin && config_.splitMax > 0) {
        config_.splitMax = config_.splitMin;
    }
}

void Transmitter::Push(std::string_view bytes) {
    // A reader that never reads: the sensor's buffer overflows and output is lost.
    if (Pending() > kMaxQueued) return;
    for (char c : bytes) {
        if (rng_.Chance(config_.dropRate)) continue;
        if (rng_.Chance(config_.garbleRate)) {
            char other = c;
            while (other == c)
                other = static_cast<char>(rng_.Between(0x21, 0x7E));
            c = other;
        }
        queue_ += c;
    }
}

void Transmitter::Clear() {
    queue_.clear();
    head_ = 0;
    blockLeft_ = 0;
}

std::string_view Transmitter::Ready(double now) {
    if (Empty() || now < holdUntil_) return {};
    const bool paced = config_.baud > 0;
    if (paced && now < lineFree_) return {};
    std::size_t n = Pending();
    if (Splitting()) {
        if (blockLeft_ == 0) {
            blockLeft_ = static_cast<std::size_t>(rng_.Between(config_.splitMin, config_.splitMax));
        }
        n = std::min(n, blockLeft_);
    } else if (paced) {
        const auto slice = static_cast<std::size_t>(CharsPerSecond() * kChunkSeconds);
        n = std::min(n, std::max<std::size_t>(1, slice));
    }
    return std::string_view(queue_).substr(head_, n);
}

void Transmitter::Sent(std::size_t n, double now) {
    n = std::min(n, Pending());
    head_ += n;
    if (config_.baud > 0) lineFree_ = std::max(lineFree_, now) + n / CharsPerSecond();
    if (Splitting()) {
        blockLeft_ -= std::min(blockLeft_, n);
        if (blockLeft_ == 0) {
            // A short pause after each block, so that the reader sees it as a read of its own.
            const double gap = 0.005 + 0.02 * rng_.Uniform();
            holdUntil_ = std::max(lineFree_, now) + gap;
        }
    }
    if (Empty()) Clear();
    // Keep the queue from growing without bound while its front is being consumed.
    if (head_ > 65536) {
        queue_.erase(0, head_);
        head_ = 0;
    }
}

double Transmitter::NextTime(double now) const {
    if (Empty()) return kNever;
    double t = std::max(now, holdUntil_);
    if (config_.baud > 0) t = std::max(t, lineFree_);
    return t;
}

}  // namespace sondix::sim
