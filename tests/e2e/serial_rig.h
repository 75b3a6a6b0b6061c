// The main window on a simulator's link as a user runs it for a long while: the session's log
// open from the start, every block the port delivered kept beside it, waits that sleep in the
// event loop (so the process's CPU time is the program's own), and the process's CPU time and
// resident size.
#pragma once

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "e2e_support.h"
#include "test_files.h"

namespace sondix::test {

inline double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Resident size once the allocator has handed back what is free, so that only memory still
// held (or cut up) counts.
inline long ResidentBytes() {
    malloc_trim(0);
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// The share of one core the process used while it waited `ms` for nothing.
inline double IdleCpuShare(int ms) {
    QElapsedTimer wall;
    wall.start();
    const double cpu = CpuSeconds();
    Pump(ms);
    return (CpuSeconds() - cpu) / (static_cast<double>(wall.elapsed()) * 1e-3);
}

// frmTerminal on the link of a sondix-sim run with `options` (unpaced unless they say
// otherwise); when `keep`, started with "--log" and the port's bytes kept to compare with it.
struct SerialRig {
    std::string link, log;
    std::unique_ptr<SimProcess> sim;
    MemorySettingsStore store;
    RecordingAsker asker;
    QuickClock clock;
    std::unique_ptr<frmTerminal> w;
    std::unique_ptr<ReceiveTap> tap;

    SerialRig(const std::string& name, const std::vector<std::string>& options, bool keep = true)
        : link(OutPath(name + "-sensor")), log(OutPath(name + ".log")) {
        std::filesystem::remove(log);
        StartSim(options);
        setenv("SONDIX_PORT", link.c_str(), 1);
        std::vector<std::string> args;
        if (keep) args = {"--log", log};
        w = std::make_unique<frmTerminal>(args, store, &asker, &clock);
        unsetenv("SONDIX_PORT");
        tap = std::make_unique<ReceiveTap>(s(), keep);
        w->show();
        w->Form_Load();
    }
    void StartSim(std::vector<std::string> options) {
        if (std::find(options.begin(), options.end(), "--baud") == options.end())
            options.insert(options.begin(), {"--baud", "0"});
        options.insert(options.begin(), {"--link", link});
        sim = std::make_unique<SimProcess>(options);
    }
    Session& s() { return w->session(); }
    bool LampGreen() const { return w->LampColour() == Colour{0, 255, 0}; }
};

}  // namespace sondix::test
