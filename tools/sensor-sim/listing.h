// The parameter listing ("P") and the logo answer ("L").
#pragma once

#include <string>

#include "answer_context.h"

namespace sondix::sim {

// "SYSTEM LOGO:", the logo lines, "BOARDID" line.
std::string LogoBlock(Variant v, const std::string& firmware);

// Every parameter as key and value, one a line, in the sensor's order.
std::string ParameterLines(const Params& p);

// The answer to "P" after the echo: status lines, timer, logo, parameters, terminator line.
std::string ParameterListing(const AnswerContext& c);

// The answer to "L" after the echo: the logo block and the terminator line.
std::string LogoAnswer(Variant v, const std::string& firmware);

}  // namespace sondix::sim
