// Reading the sensor's parameter listing (the answer to "P") into the parameter mirror.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "config/param_mirror.h"

namespace sondix {

// The number right after `key`: plain ("2"), fraction ("30000/7", rounded to a whole number
// first as the sensor's listing means it: 12345/1000 gives 12.345), or product ("5*100", "5 100").
// kMissing when the key is absent.
float GetParValue(std::string_view buf, std::string_view key);

// The text between `key` and the first `endMarker` after it; "" when the key is absent.
std::string GetParText(std::string_view buf, std::string_view key, std::string_view endMarker);

// 1-based position just after the first of `keywords` found (tried in order); 0 if none.
long long FindAfterKeyword(std::string_view text, std::initializer_list<std::string_view> keywords);

// Fills the mirror from a whole listing (distance sensor or velocimeter, every fallback key).
void ReadPar(ParamMirror& m, std::string_view buf);

}  // namespace sondix
