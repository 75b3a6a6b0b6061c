// Text helpers with the 1-based positions in which the sensor's answer formats are described.
// One byte is one character (Latin-1); nothing here looks at a locale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Gen {

// Position (1-based) of `needle` in `hay` at or after `start` (1-based); 0 when absent or when
// start is outside the text.
std::size_t InStr(std::string_view hay, std::string_view needle, long long start = 1);

// Up to `len` characters from 1-based `start` (len < 0: to the end). Out-of-range positions are
// clamped, never an error: a start before 1 counts from 1, past the end gives "".
std::string Mid(std::string_view s, long long start, long long len = -1);
std::string Left(std::string_view s, long long n);
std::string Right(std::string_view s, long long n);

// Every occurrence of `from` replaced by `to`.
std::string Replace(std::string_view s, std::string_view from, std::string_view to);

}  // namespace Gen
