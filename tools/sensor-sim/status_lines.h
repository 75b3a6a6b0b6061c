// The short key lines every larger answer starts with: the status listing (keys of nine
// characters, value right after), the time counter, the sweep direction and the logo.
#pragma once

#include <string>

#include "answer_context.h"

namespace sondix::sim {

// Reference amplitude of the signal and noise codes, millivolts (the A/D's 3.68 V full scale).
inline constexpr int kVrefCalMv = 3680;

// "Vel     =", "Dist    =" (distance sensor only: its absence marks the velocimeter),
// "Freq    =" (hundredths of a hertz), "Quality =", "Vrefcal =" and, when asked,
// "SampleT =" as a fraction whose numerator is hundredths of a microsecond.
std::string StatusLines(const AnswerContext& c, bool withSampleT);

// "Timer=" and the counter right-aligned in 11 characters.
std::string TimerLine(long long ticks);

// "RAMP UP  " or "RAMP DOWN" on a line of its own.
std::string RampLine(bool down);

// The logo lines: the first names the firmware as "Ver" followed at once by the revision.
std::string LogoLines(Variant v, const std::string& firmware);

}  // namespace sondix::sim
