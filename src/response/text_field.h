// Fixed-position fields of the sensor's answers, addressed 1-based as the sensor's formats are
// described. A field that starts before the text or after its end is empty and so reads as 0.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/gen_number.h"

namespace sondix {

// Up to `len` characters from 1-based `pos`; empty when `pos` lies outside the text.
inline std::string_view FieldAt(std::string_view text, long long pos, long long len) {
    if (pos < 1 || len <= 0 || pos > static_cast<long long>(text.size())) return {};
    return text.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(len));
}

// The leading-number value of a field.
inline double ValueAt(std::string_view text, long long pos, long long len) {
    return Gen::Val(FieldAt(text, pos, len));
}

// The whole value of a field (halves to even), saturated to 16 bits.
inline std::int16_t WholeAt(std::string_view text, long long pos, long long len) {
    return Gen::ToInt16(ValueAt(text, pos, len));
}

}  // namespace sondix
