// What an answer generator needs to know about the sensor at the moment it answers.
#pragma once

#include <string>

#include "params.h"
#include "reading.h"
#include "sim_config.h"

namespace sondix::sim {

struct AnswerContext {
    Variant variant;
    const std::string& firmware;
    const Params& params;
    Reading reading;
    long long ticks = 0;    // the sensor's time counter
    bool rampDown = false;  // direction of the sweep the data was taken on
};

}  // namespace sondix::sim
