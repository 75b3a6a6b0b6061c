// Data graph answers: the time series ("D"), the spectrum ("F"), the ramp ("y") and one spectrum
// of the repeating stream ("["). Each is a header that announces the word count with "NWORDS=",
// the words 16 to a line with CR LF, and the terminator line.
//
// Layout after the echo, for "D" and "y":
//   CR LF, status lines, "Timer=" line, "RAMP UP  " / "RAMP DOWN" line,
//   "TIME SERIES DECIMAL " / "RAMP PROFILE DECIMAL " aaa vvvv pppppp NWORDS=nnnn CR LF
//     (aaa at H-27, vvvv at H-23, pppppp at H-18 counted back from that line's CR at H)
//   words of 4 characters, CR LF, "  ***  " (at 2*Int(n/16) + 4n + 3 from the first word), CR LF
// For "F": the same preamble, then
//   "SPECTRUM MODAMP DECIMAL " aaa vvvv pppppp cccc NWORDS=nnnn CR LF
//   words of 3 characters, CR, "  ***  " (at 2*Int(n/16) + 3n + 2), CR LF
// For "[": the result fields line and the ramp line instead of the preamble, then as "F".
#pragma once

#include <string>
#include <vector>

#include "answer_context.h"
#include "rng.h"

namespace sondix::sim {

inline constexpr const char* kSpectrumLabel = "SPECTRUM MODAMP DECIMAL ";

// Words right-aligned in `width` characters, 16 to a line, each line closed by CR LF.
std::string WordLines(const std::vector<int>& words, int width);

// The period field of the headers: the sample period in hundredths of a microsecond.
long long PeriodCode(const Params& p);

std::string TimeSeriesAnswer(const AnswerContext& c, int words, Rng& rng);
std::string RampAnswer(const AnswerContext& c, int words, Rng& rng);
std::string SpectrumAnswer(const AnswerContext& c, int words, Rng& rng);
std::string StreamSpectrumAnswer(const AnswerContext& c, int words, Rng& rng);

}  // namespace sondix::sim
