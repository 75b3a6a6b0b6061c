// The result texts of the two repeating streams.
//
// Results line of "{" (every interval):
//   NAME=vvvvvvv.v S=ss stat=hhhhhhhh CR LF
//   NAME is Vel, TotDist or Dist by OutSel; the value right-aligned (totals without decimals);
//   S two digits 00..99; stat eight hex digits: bit 0 relay 1, bit 1 relay 2, 0x2000 lost echo.
// Result fields of a "[" spectrum (one line before the ramp line and the label):
//   distance sensor: "Dist=" 6 | " Vel=" 7 | " S=" 3 | " Favr=" 8 | " Fdif=" 9
//   velocimeter:     "Vel =" 7 | " S=" 3 | " f =" 10
//   Each field right-aligned in the width given; the host skips one character after "Vel=" and
//   two after "f =", which therefore always hold blanks.
#pragma once

#include <string>

#include "answer_context.h"

namespace sondix::sim {

std::string ResultsLine(const AnswerContext& c);
std::string StreamResultFields(const AnswerContext& c);

}  // namespace sondix::sim
