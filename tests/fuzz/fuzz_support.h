// What every fuzz target shares: a reader that takes its choices from the front of the input,
// and the rule check that turns a broken rule into a crash (so libFuzzer keeps the input and
// the regression driver fails).
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace sondix::fuzz {

// Ends the run with the rule that broke; the input that led here is what the engine saves.
[[noreturn]] inline void Fail(std::string_view rule, std::string_view detail = {}) {
    std::fprintf(stderr, "fuzz: rule broken: %.*s\n", static_cast<int>(rule.size()), rule.data());
    if (!detail.empty()) {
        std::fprintf(stderr, "fuzz: detail: %.*s\n", static_cast<int>(detail.size()),
                     detail.data());
    }
    std::abort();
}

inline void Require(bool ok, std::string_view rule, std::string_view detail = {}) {
    if (!ok) Fail(rule, detail);
}

// Choices from the front of the input, the rest as text. Past the end every choice reads 0,
// so a short input is still a valid one.
class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    // The next eight bytes as a double, any bit pattern (NaN and infinities included).
    double Double() {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = (bits << 8) | Byte();
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }

    float Float() {
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i)
            bits = (bits << 8) | Byte();
        float v = 0;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }

    // Up to `n` bytes as Latin-1 text.
    std::string Text(std::size_t n) {
        const std::size_t take = n < size_ - pos_ ? n : size_ - pos_;
        std::string s(reinterpret_cast<const char*>(data_ + pos_), take);
        pos_ += take;
        return s;
    }

    std::string Rest() { return Text(size_ - pos_); }
    bool Empty() const { return pos_ >= size_; }
    std::size_t Left() const { return size_ - pos_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Equal as bit patterns matter here only through their values; two NaNs count as equal.
inline bool SameValue(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

}  // namespace sondix::fuzz

// The entry point every target defines; libFuzzer or the regression driver calls it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
