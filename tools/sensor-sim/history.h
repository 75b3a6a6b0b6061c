// The history log answer ("H").
//
// After the echo: CR LF, the logo lines, the "Timer=" line, the status lines, then a line that
// begins "VELHIST", one record a line, and the end-marker line "  ***  " CR LF. A record is 60
// characters and CR LF:
//   1-12 time counter (ticks of 87.381 ms)   13 blank   14-21 status, eight hex digits
//   22-27 value (mm, or mm/s on a velocimeter)   28-33 loop current, uA
//   34-37 signal code   38-41 noise code   42-43 relays 0..3   44-45 blanks
//   46-49 temperature, tenths of a degree   50-60 second value (velocity, or total distance)
#pragma once

#include <cstdint>
#include <string>

#include "answer_context.h"
#include "target.h"

namespace sondix::sim {

struct HistoryPlan {
    int records = 0;
    double interval = 10;  // seconds between records
    int loeEvery = 0;      // every K-th record has lost its echo; 0: none
    bool shuffle = false;  // swap some neighbours so that times are out of order
};

// Seconds between records for the HistLog choice 0..5; 0 for "never" (6) and anything else.
double HistLogSeconds(long long histLog);

// One record line without its line end (exactly 60 characters).
std::string HistoryRecord(long long ticks, std::uint32_t status, double value, long loopUa,
                          int signalCode, int noiseCode, int relays, int temperature,
                          double value2);

// The whole answer after the echo; `c` carries the current reading for the header, the
// records are measured at their own past times.
std::string HistoryAnswer(const AnswerContext& c, const Target& target, double now,
                          const HistoryPlan& plan, std::uint64_t seed);

}  // namespace sondix::sim
