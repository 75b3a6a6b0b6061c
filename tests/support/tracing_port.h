// A recording port that also keeps one line per operation, in order, with the clock's time of
// each write, so that tests can check what happened before what.
#pragma once

#include <string>
#include <vector>

#include "terminal/headless_io.h"

namespace sondix::test {

class TracingPort : public RecordingPort {
  public:
    explicit TracingPort(const ManualClock& clock) : clock_(clock) {}

    std::string SetPortOpen(bool o) override {
        trace.push_back(std::string(o ? "open" : "close") +
                        " buffered=" + std::to_string(outBufferCount));
        return RecordingPort::SetPortOpen(o);
    }
    std::string Output(std::string_view bytes) override {
        trace.push_back("out " + std::string(bytes));
        writeTimes.push_back(clock_.now);
        return RecordingPort::Output(bytes);
    }
    std::string LastErrorText() const override { return lastError; }

    std::vector<std::string> trace;
    std::vector<double> writeTimes;
    std::string lastError;

  private:
    const ManualClock& clock_;
};

}  // namespace sondix::test
