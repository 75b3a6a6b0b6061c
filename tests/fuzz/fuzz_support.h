// What every fuzz target shares: a reader that takes its choices from the front of the input,
// and the rule check that turns a broken rule into a crash (so libFuzzer keeps the input and
// the regression driver fails).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace sondix::fuzz {

// Ends the run with the rule that broke; the input that led here is what the engine saves.
inline void Require(bool ok, std::string_view rule, std::string_view detail = {}) {
    if (ok) return;
    std::fprintf(stderr, "fuzz: rule broken: %s\nfuzz: detail: %s\n", std::string(rule).c_str(),
                 std::string(detail).c_str());
    std::abort();
}

// Choices from the front of the input, the rest as text. Past the end every choice reads 0,
// so a short input is still a valid one.
class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    // The next sizeof(T) bytes as a float or double, any bit pattern (NaN and infinities too).
    template <typename T,
              typename Bits = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>>
    T Number() {
        Bits bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bits = static_cast<Bits>((bits << 8) | Byte());
        T v = 0;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }

    std::string Rest() {
        std::string s(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
        pos_ = size_;
        return s;
    }
    bool Empty() const { return pos_ >= size_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Two NaNs count as equal.
inline bool SameValue(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

}  // namespace sondix::fuzz

// The entry point every target defines; libFuzzer or the regression driver calls it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
