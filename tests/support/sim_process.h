// A running sondix-sim for end-to-end tests: started with the given options, its device path
// read from the first line of its output, stopped when the object goes.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace sondix::test {

class SimProcess {
  public:
    explicit SimProcess(std::vector<std::string> options);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& device() const { return device_; }
    bool running() const { return pid_ > 0 && !device_.empty(); }
    // SIGTERM, then the exit status.
    int stop();
    // The exit status once it ends by itself within `seconds`; -1 when it is still running.
    int wait(double seconds);

  private:
    pid_t pid_ = -1;
    std::string device_;
};

}  // namespace sondix::test
