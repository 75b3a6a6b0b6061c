#include "short_answers.h"

#include "status_lines.h"
#include "text_fields.h"

namespace sondix::sim {

std::string HelpText() {
    return std::string(kCrLf) +
           "FMCW radar commands:\r\n"
           " P  parameters      L  logo           T  timer\r\n"
           " D  time series     F  spectrum       y  ramp\r\n"
           " [  spectra, ] stop { results, } stop R  stop\r\n"
           " H  history log     E  echo check     ?  this help\r\n"
           " s  set: s NN VVVVVV (index, value)\r\n"
           " c  calibrate: c NNN (access code)\r\n"
           " I  command line, ended by LF\r\n";
}

std::string Acknowledge() {
    return std::string(kCrLf) + "OK" + kCrLf;
}

std::string TimerAnswer(long long ticks) {
    return kCrLf + TimerLine(ticks);
}

std::string SetAnswer(bool accepted) {
    return std::string(kCrLf) + (accepted ? "OK" : "ERR") + kCrLf;
}

std::string CalibrationDone() {
    return std::string(kCrLf) + "Calibration Done" + kCrLf;
}

std::string CalibrationRefused() {
    return std::string(kCrLf) + "Wrong key - no calibration" + kCrLf;
}

std::string CalibrationNoEcho() {
    return std::string(kCrLf) + "No echo - no calibration" + kCrLf;
}

}  // namespace sondix::sim
