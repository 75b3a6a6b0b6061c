// Sending commands and parameter writes to the sensor.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sondix {

struct Session;

// Writes the first character of `cmd` (port open only), makes it the pending command, runs
// ResetVariables and waits delay_after_cmd with events processed.
void send_cmd(Session& s, std::string_view cmd);

// "s", a one-second pause, then the two-digit index and the six-character value in one piece.
// Indexes outside 0..99 are not sent.
void send_s_cmd(Session& s, std::int16_t index, std::int16_t value);

// The wire text of a parameter write after the "s": "23000400", "47-01500".
std::string FormatSetValue(std::int16_t index, std::int16_t value);

void delay_after_cmd(Session& s);

}  // namespace sondix
