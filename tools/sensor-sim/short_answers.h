// The one-line and small answers of the command interpreter.
#pragma once

#include <string>

namespace sondix::sim {

// "?": the command summary.
std::string HelpText();
// "E": the acknowledgement.
std::string Acknowledge();
// "T": the time counter line.
std::string TimerAnswer(long long ticks);
// After the eight characters of "s": accepted or refused.
std::string SetAnswer(bool accepted);
// After the three digits of "c". A refusal never holds the letter D in either case: the host
// takes a "D" in the answer as the end of a calibration.
std::string CalibrationDone();
std::string CalibrationRefused();
std::string CalibrationNoEcho();

}  // namespace sondix::sim
