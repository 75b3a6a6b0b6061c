// The main window on a simulator's link as a user runs it for a long while: the session's log
// open from the start, every block the port delivered kept beside it, waits that sleep in the
// event loop (so the process's CPU time is the program's own), and the process's CPU time and
// resident size.
#pragma once

#include <malloc.h>
#include <unistd.h>

#include <QEventLoop>
#include <QTimer>
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

// Runs the event loop, asleep between events, until `done` holds or `ms` have passed.
inline bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

// The share of one core the process used while it waited `ms` for nothing.
inline double IdleCpuShare(int ms) {
    QElapsedTimer wall;
    wall.start();
    const double cpu = CpuSeconds();
    WaitFor([] { return false; }, ms);
    return (CpuSeconds() - cpu) / (static_cast<double>(wall.elapsed()) * 1e-3);
}

// The port as the session sees it, counting (and, when `keep`, keeping) what it handed over:
// bytes, line ends and answers' terminators.
class ReadTap : public CommPort {
  public:
    ReadTap(CommPort& inner, bool keep) : in_(inner), keep_(keep) {}
    std::string Input() override {
        std::string block = in_.Input();
        if (keep_) received += block;
        bytes += block.size();
        lines += std::ranges::count(block, '\n');
        const std::string seen = tail_ + block;  // a terminator split between two blocks
        for (auto at = seen.find(kEnd); at != std::string::npos; at = seen.find(kEnd, at + 1))
            ++terminators;
        tail_ = seen.substr(seen.size() - std::min<std::size_t>(seen.size(), kEnd.size() - 1));
        return block;
    }
    bool PortOpen() const override { return in_.PortOpen(); }
    std::string SetPortOpen(bool open) override { return in_.SetPortOpen(open); }
    std::string Output(std::string_view bytes) override { return in_.Output(bytes); }
    int OutBufferCount() const override { return in_.OutBufferCount(); }
    int OutBufferSize() const override { return in_.OutBufferSize(); }
    std::string Settings() const override { return in_.Settings(); }
    std::string SetSettings(std::string_view s) override { return in_.SetSettings(s); }
    int CommPortNumber() const override { return in_.CommPortNumber(); }
    std::string SetCommPortNumber(int n) override { return in_.SetCommPortNumber(n); }
    int Handshaking() const override { return in_.Handshaking(); }
    std::string SetHandshaking(int code) override { return in_.SetHandshaking(code); }
    std::string PortName() const override { return in_.PortName(); }
    std::string SetPortName(std::string_view path) override { return in_.SetPortName(path); }
    std::string LastErrorText() const override { return in_.LastErrorText(); }
    std::string DeviceName() const override { return in_.DeviceName(); }

    std::string received;
    std::size_t bytes = 0, lines = 0, terminators = 0;

  private:
    static constexpr std::string_view kEnd = "  ***  ";
    CommPort& in_;
    bool keep_;
    std::string tail_;
};

// The program's pauses at a quarter of their length: the unpaced simulator answers at once.
class QuickClock : public QtClock {
  public:
    void Wait(double seconds) override { QtClock::Wait(seconds / 4); }
};

// frmTerminal on the link of a sondix-sim run with `options` (unpaced unless they say
// otherwise); when `keep`, started with "--log" and the port's bytes kept to compare with it.
struct SerialRig {
    std::string link, log;
    std::unique_ptr<SimProcess> sim;
    MemorySettingsStore store;
    RecordingAsker asker;
    QuickClock clock;
    std::unique_ptr<frmTerminal> w;
    std::unique_ptr<ReadTap> tap;

    SerialRig(const std::string& name, const std::vector<std::string>& options, bool keep = true)
        : link(OutPath(name + "-sensor")), log(OutPath(name + ".log")) {
        std::filesystem::remove(log);
        StartSim(options);
        setenv("SONDIX_PORT", link.c_str(), 1);
        std::vector<std::string> args;
        if (keep) args = {"--log", log};
        w = std::make_unique<frmTerminal>(args, store, &asker, &clock);
        unsetenv("SONDIX_PORT");
        tap = std::make_unique<ReadTap>(*s().io.port, keep);
        s().io.port = tap.get();
        w->show();
        w->Form_Load();
    }
    ~SerialRig() { s().io.port = &w->port(); }
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
