// What the results window shows, written by the results-line step for every line of the stream.
#pragma once

#include <string>

#include "common/platform.h"

namespace sondix {

struct ResultsModel {
    std::string txtOutputvalue;  // no value until a reading arrives
    std::string txtSigstrength;
    int pbrSigstrength = 0;  // 0..99
    Colour SigColor{0, 0, 0};
    Colour shpRelay1{85, 85, 85};
    Colour shpRelay2{85, 85, 85};
    bool stale = false;  // the device was lost: the value shown is the last one, greyed
};

}  // namespace sondix
