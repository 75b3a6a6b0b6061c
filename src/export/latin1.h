// The core keeps every text as Latin-1 bytes (one byte, one character); the workbook format
// wants UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace sondix {

std::string Latin1ToUtf8(std::string_view latin1);

}  // namespace sondix
