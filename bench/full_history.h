// The largest history the sensor gives: 4096 records from the simulator, with lost echoes and
// times out of order, as the answer to "H" without its echo.
#pragma once

#include <string>

#include "sensor.h"

namespace sondix::bench {

inline const std::string& FullHistory() {
    static const std::string answer = [] {
        sondix::sim::Config c;
        c.historyRecords = 4096;
        c.historyLoeEvery = 50;
        c.historyShuffle = true;
        sondix::sim::Sensor sensor(c);
        return sensor.Feed("H", 1e6).substr(1);
    }();
    return answer;
}

}  // namespace sondix::bench
