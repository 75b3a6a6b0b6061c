// The tool's JSON: nlohmann's ordered object, so members print in the order they are added (the
// report's field order is part of its contract).
// Text from the sensor is Latin-1: every byte becomes the code point of the same number, and the
// output escapes everything from 0x7F as \u00XX, so it is plain ASCII.
// A single-precision value prints as the shortest decimal that reads back to the same float
// (0.05, not the 0.05000000074505806 of its widening to double). A whole value prints without a
// fraction (5108, not 5108.0). NaN and infinities print as null.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace sondix::cli {

using Json = nlohmann::ordered_json;

Json Latin1(std::string_view bytes);
Json Float(float v);
Json Double(double v);
std::string Dump(const Json& j);

}  // namespace sondix::cli
