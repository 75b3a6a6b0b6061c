// The simulated sensor's command interpreter: takes the bytes the host sends and returns the
// bytes the sensor answers, with every piece of its state in one struct. No I/O and no clock of
// its own: the caller passes the time (seconds since start), so tests get byte-exact answers
// in-process.
//
// Every command letter is echoed before its answer. "s" then waits for two index digits and a
// six-character value, "c" for three code digits, "I" for a line ended by LF (the line is
// echoed and then run as commands). Any command that makes its own answer stops a running
// stream; "R" also drops whatever output is still queued.
#pragma once

#include <string>
#include <string_view>

#include "params.h"
#include "rng.h"
#include "sim_config.h"
#include "target.h"

namespace sondix::sim {

enum class InputMode { Command, SetDigits, CodeDigits, Line };

struct Streams {
    bool results = false;
    double resultsNext = 0;
    bool spectra = false;
    double spectrumLast = 0;
    double idleSince = -1;  // when the line last fell quiet; negative: busy
};

struct Input {
    InputMode mode = InputMode::Command;
    std::string text;  // digits or line collected so far
    double since = 0;  // when the collection began
};

struct SensorState {
    Config config;
    std::string firmware;
    double firmwareRev = 0;
    Params params;
    Target target;
    Rng rng;
    Streams streams;
    Input input;
    long long acquisitions = 0;  // sweeps taken for graphs; odd ones ramp down
    bool flushRequested = false;

    explicit SensorState(const Config& c);
};

class Sensor {
  public:
    explicit Sensor(Config config);

    // Bytes from the host; returns the sensor's output (echoes and answers) in order.
    std::string Feed(std::string_view bytes, double now = 0);
    // One byte.
    std::string Handle(char c, double now = 0);
    // Streams and timeouts; `lineIdle` tells that everything sent so far has left the line
    // (the next repeated spectrum waits for a quiet line).
    std::string Tick(double now, bool lineIdle = true);
    // True once after "R": output still queued should be dropped.
    bool TakeFlushRequest();

    // Words in the answers to "D" and "y" (time) or to "F" and "[" (spectrum).
    int TimeWords() const;
    int SpectrumWords() const;

    const SensorState& State() const { return s_; }
    SensorState& MutableState() { return s_; }

  private:
    std::string Command(char c, double now, bool echo);
    std::string Collect(char c, double now, bool echo);
    std::string FinishSet();
    std::string FinishCode(double now);
    std::string FinishLine(double now);
    void StopStreams();
    bool StartsAnswer(char c) const;

    SensorState s_;
};

}  // namespace sondix::sim
